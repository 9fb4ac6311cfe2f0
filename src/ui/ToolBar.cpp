// The tool bar over its button records.
#include "ui/ToolBar.h"

#include <algorithm>
#include <stdexcept>

#include "ui/Form.h"
#include "ui/ImageList.h"
#include "ui/Menu.h"
#include "ui/Unique.h"
#include "ui/Units.h"

namespace {

BYTE WindowStyle(int style) {
    switch (style) {
        case tbrCheck:
            return BTNS_CHECK;
        case tbrButtonGroup:
            return BTNS_CHECKGROUP;
        case tbrSeparator:
        case tbrPlaceholder:
            return BTNS_SEP;
        case tbrDropdown:
            return BTNS_DROPDOWN;
        default:
            return BTNS_BUTTON;
    }
}

bool IsCheck(int style) { return style == tbrCheck || style == tbrButtonGroup; }

}  // namespace

// ---- ToolButton

void ToolButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (owner_) owner_->ShowCaption(*this);
}

// Each message to a tool bar repaints it, and an auto-size lays out the cool bar: busy mode and
// every page switch many buttons, so only what changes is sent.
void ToolButton::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (owner_) owner_->ShowState(*this, false);
}

void ToolButton::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (owner_) owner_->ShowState(*this, true);
}

bool ToolButton::Value() const {
    if (owner_ && owner_->hwnd() && IsCheck(style_))
        return owner_->Send(TB_ISBUTTONCHECKED, static_cast<WPARAM>(id_)) != 0;
    return value_;
}

void ToolButton::SetValue(bool pressed) {
    value_ = pressed;
    if (owner_) owner_->ShowState(*this, false);
}

void ToolButton::SetImage(const std::string& key) {
    image_ = key;
    if (owner_) owner_->ShowImage(*this);
}

ButtonMenu& ToolButton::AddMenu(const std::string& key, const std::string& text) {
    for (const auto& m : menus_)
        if (!key.empty() && FoldKey(m.key) == FoldKey(key)) throw KeyError("Key is not unique in collection: " + key);
    menus_.push_back(ButtonMenu{key, text, {}, true, true});
    return menus_.back();
}

ButtonMenu& ToolButton::Menus(const std::string& key) {
    for (auto& m : menus_)
        if (!key.empty() && FoldKey(m.key) == FoldKey(key)) return m;
    throw KeyError("Element not found: " + key);
}

// ---- ToolBar

void ToolBar::Create(Bounds bounds) {
    for (auto& b : buttons_) {
        b->owner_ = nullptr;
        retired_.push_back(std::move(b));
    }
    buttons_.clear();
    Define(TOOLBARCLASSNAMEA, TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN, 0, bounds);
}

ToolButton& ToolBar::Add(const std::string& key, const std::string& caption, int style, const std::string& image,
                         int commandId) {
    if (!key.empty() && Find(key)) throw KeyError("Key is not unique in collection: " + key);
    if (commandId && ById(commandId)) throw KeyError("Button id is not unique: " + std::to_string(commandId));
    int id = commandId ? commandId : nextAutoId_++;
    buttons_.push_back(std::unique_ptr<ToolButton>(new ToolButton(this, id)));
    ToolButton& b = *buttons_.back();
    b.key_ = key;
    b.caption_ = caption;
    b.style_ = style;
    b.image_ = image;
    if (hwnd()) {
        TBBUTTON tb = Describe(b, b.caption_);
        Send(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb));
        Resize();
    }
    return b;
}

ToolButton* ToolBar::Find(const std::string& key) {
    if (key.empty()) return nullptr;
    std::string folded = FoldKey(key);
    for (auto& b : buttons_)
        if (FoldKey(b->key_) == folded) return b.get();
    return nullptr;
}

ToolButton& ToolBar::Buttons(const std::string& key) {
    if (ToolButton* b = Find(key)) return *b;
    throw KeyError("Element not found: " + key);
}

ToolButton& ToolBar::Buttons(int index) {
    if (index < 1 || index > ButtonCount()) throw std::out_of_range("Index out of bounds");
    return *buttons_[static_cast<size_t>(index) - 1];
}

ToolButton* ToolBar::ById(int id) {
    for (auto& b : buttons_)
        if (b->id_ == id) return b.get();
    return nullptr;
}

TBBUTTON ToolBar::Describe(const ToolButton& button, const std::string& caption) const {
    TBBUTTON tb{};
    int image = images_ ? images_->ImageIndex(button.image_) : -1;
    tb.iBitmap = WindowStyle(button.style_) == BTNS_SEP ? 0 : image >= 0 ? image : I_IMAGENONE;
    tb.idCommand = button.id_;
    tb.fsState = static_cast<BYTE>((button.enabled_ ? TBSTATE_ENABLED : 0) | (button.visible_ ? 0 : TBSTATE_HIDDEN) |
                                   (button.value_ ? (IsCheck(button.style_) ? TBSTATE_CHECKED : TBSTATE_PRESSED) : 0));
    tb.fsStyle = WindowStyle(button.style_);
    // The window copies the caption.
    tb.iString = textLabels_ && !caption.empty() ? reinterpret_cast<INT_PTR>(caption.c_str()) : -1;
    return tb;
}

void ToolBar::Realise() {
    while (Send(TB_BUTTONCOUNT) > 0) Send(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> all;
    for (const auto& b : buttons_) all.push_back(Describe(*b, b->caption_));
    if (!all.empty()) Send(TB_ADDBUTTONSA, all.size(), reinterpret_cast<LPARAM>(all.data()));
    if (buttonWidth_ || buttonHeight_) {
        LRESULT size = Send(TB_GETBUTTONSIZE);
        int w = buttonWidth_ ? TwipsToPxX(buttonWidth_) : LOWORD(size);
        int h = buttonHeight_ ? TwipsToPxY(buttonHeight_) : HIWORD(size);
        Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(w, h));
    }
    Resize();
}

void ToolBar::AfterCreate() {
    PaintOffScreen(hwnd());
    Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    Send(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    if (images_) Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->handle()));
    if (hotImages_) Send(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages_->handle()));
    Realise();
}

void ToolBar::BeforeDestroy() {
    for (auto& b : buttons_) b->value_ = b->Value();
}

void ToolBar::Resize() {
    if (hwnd()) Send(TB_AUTOSIZE);
}

void ToolBar::ShowCaption(const ToolButton& button) {
    if (!hwnd()) return;
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    std::string text = textLabels_ ? button.caption_ : std::string();
    info.pszText = text.data();
    Send(TB_SETBUTTONINFOA, static_cast<WPARAM>(button.id_), reinterpret_cast<LPARAM>(&info));
    Resize();
}

void ToolBar::ShowState(const ToolButton& button, bool layout) {
    if (!hwnd()) return;
    WPARAM id = static_cast<WPARAM>(button.id_);
    Send(TB_ENABLEBUTTON, id, MAKELPARAM(button.enabled_ ? TRUE : FALSE, 0));
    Send(TB_HIDEBUTTON, id, MAKELPARAM(button.visible_ ? FALSE : TRUE, 0));
    Send(IsCheck(button.style_) ? TB_CHECKBUTTON : TB_PRESSBUTTON, id, MAKELPARAM(button.value_ ? TRUE : FALSE, 0));
    if (layout) Resize();
}

void ToolBar::ShowImage(const ToolButton& button) {
    if (!hwnd()) return;
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE;
    int image = images_ ? images_->ImageIndex(button.image_) : -1;
    info.iImage = image >= 0 ? image : I_IMAGENONE;
    Send(TB_SETBUTTONINFOA, static_cast<WPARAM>(button.id_), reinterpret_cast<LPARAM>(&info));
}

void ToolBar::SetImageList(ImageList* list) {
    images_ = list;
    if (!hwnd()) return;
    Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list ? list->handle() : nullptr));
    for (const auto& b : buttons_) ShowImage(*b);
    Resize();
}

void ToolBar::SetHotImageList(ImageList* list) {
    hotImages_ = list;
    if (hwnd()) Send(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(list ? list->handle() : nullptr));
}

void ToolBar::SetTextLabels(bool on) {
    textLabels_ = on;
    for (const auto& b : buttons_) ShowCaption(*b);
}

int ToolBar::ButtonHeight() const {
    if (!hwnd()) return buttonHeight_;
    return PxToTwipsY(HIWORD(Send(TB_GETBUTTONSIZE)));
}

int ToolBar::ButtonWidth() const {
    if (!hwnd()) return buttonWidth_;
    return PxToTwipsX(LOWORD(Send(TB_GETBUTTONSIZE)));
}

void ToolBar::SetButtonHeight(int height) {
    buttonHeight_ = std::max(height, 0);
    if (!hwnd() || !buttonHeight_) return;
    Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(LOWORD(Send(TB_GETBUTTONSIZE)), TwipsToPxY(buttonHeight_)));
    Resize();
}

void ToolBar::SetButtonWidth(int width) {
    buttonWidth_ = std::max(width, 0);
    if (!hwnd() || !buttonWidth_) return;
    Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(TwipsToPxX(buttonWidth_), HIWORD(Send(TB_GETBUTTONSIZE))));
    Resize();
}

int ToolBar::Height() const {
    if (!hwnd()) return Control::Height();
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return PxToTwipsY(r.bottom - r.top);
}

void ToolBar::Customize() {
    if (hwnd()) Send(TB_CUSTOMIZE);
}

bool ToolBar::SaveToolbar(const std::string& key, const std::string& subkey, const std::string& value) {
    if (!hwnd()) return false;
    std::string path = subkey.empty() ? key : key + "\\" + subkey;
    TBSAVEPARAMSA params{HKEY_CURRENT_USER, path.c_str(), value.c_str()};
    return Send(TB_SAVERESTOREA, TRUE, reinterpret_cast<LPARAM>(&params)) != 0;
}

bool ToolBar::OwnsWindow(HWND window) const {
    if (!window || !hwnd()) return false;
    return window == hwnd() || window == reinterpret_cast<HWND>(Send(TB_GETTOOLTIPS));
}

std::optional<LRESULT> ToolBar::OnItemCommand(int id, int /*code*/) {
    ToolButton* button = ById(id);
    if (!button) return std::nullopt;
    if (IsCheck(button->style_)) button->value_ = button->Value();
    if (ButtonClick) ButtonClick(*button);
    return 0;
}

void ToolBar::DropDown(ToolButton& button) {
    UniqueMenu menu(CreatePopupMenu());
    for (size_t i = 0; i < button.menus_.size(); ++i) {
        const ButtonMenu& m = button.menus_[i];
        if (m.visible)
            AppendMenuA(menu.get(), MF_STRING | (m.enabled ? 0 : MF_GRAYED), i + 1, m.text.c_str());
    }
    if (GetMenuItemCount(menu.get()) <= 0) return;
    int id = button.id_;
    RECT r{};
    Send(TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    int chosen = TrackPopup(menu.get(), r.left, r.bottom, owner().hwnd());
    menu.reset();
    // The menu runs its own loop: look the button up again in case the bar changed or went meanwhile.
    ToolButton* still = hwnd() ? ById(id) : nullptr;
    if (chosen <= 0 || !still || static_cast<size_t>(chosen) > still->menus_.size()) return;
    if (ButtonMenuClick) ButtonMenuClick(*still, still->menus_[static_cast<size_t>(chosen) - 1]);
}

std::optional<LRESULT> ToolBar::OnNotify(NMHDR* header) {
    switch (header->code) {
        case TBN_DROPDOWN: {
            auto* nm = reinterpret_cast<NMTOOLBARA*>(header);
            if (ToolButton* button = ById(nm->iItem)) DropDown(*button);
            return TBDDRET_DEFAULT;
        }
        case TTN_GETDISPINFOA: {
            auto* di = reinterpret_cast<NMTTDISPINFOA*>(header);
            ToolButton* button = ById(static_cast<int>(header->idFrom));
            tipText_ = button ? button->ToolTipText : std::string();
            di->lpszText = tipText_.data();
            di->hinst = nullptr;
            return 0;
        }
        case TTN_GETDISPINFOW: {
            auto* di = reinterpret_cast<NMTTDISPINFOW*>(header);
            ToolButton* button = ById(static_cast<int>(header->idFrom));
            std::string text = button ? button->ToolTipText : std::string();
            tipTextW_.assign(text.size() + 1, L'\0');
            int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), tipTextW_.data(),
                                        static_cast<int>(text.size()));
            tipTextW_.resize(static_cast<size_t>(std::max(n, 0)));
            di->lpszText = tipTextW_.data();
            di->hinst = nullptr;
            return 0;
        }
        // The Customize dialog: every button may move or go, and the dialog lists ours.
        case TBN_QUERYINSERT:
        case TBN_QUERYDELETE:
            return TRUE;
        case TBN_INITCUSTOMIZE:
            return TBNRF_HIDEHELP;
        case TBN_GETBUTTONINFOA: {
            auto* nm = reinterpret_cast<NMTOOLBARA*>(header);
            if (nm->iItem < 0 || nm->iItem >= ButtonCount()) return FALSE;
            const ToolButton& b = *buttons_[static_cast<size_t>(nm->iItem)];
            nm->tbButton = Describe(b, b.caption_);
            const std::string& text = b.Description.empty() ? b.caption_ : b.Description;
            if (nm->pszText && nm->cchText > 0) lstrcpynA(nm->pszText, text.c_str(), nm->cchText);
            return TRUE;
        }
        case TBN_RESET:
            Realise();
            return 0;
        case TBN_TOOLBARCHANGE:
            if (Change) Change();
            return 0;
        default:
            return std::nullopt;
    }
}
