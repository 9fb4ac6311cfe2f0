// The basic control wrappers.
#include "ui/Control.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>

#include "ui/App.h"
#include "ui/DragDrop.h"
#include "ui/Form.h"
#include "ui/Keys.h"
#include "ui/Units.h"

Control::Control(Form& owner, int id) : owner_(owner), id_(id) { owner.Register(this); }

LRESULT Control::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ ? SendMessageA(hwnd_, msg, wParam, lParam) : 0;
}

void Control::PostEvent(LPARAM data) {
    if (owner_.hwnd()) PostMessageA(owner_.hwnd(), kControlEventMessage, static_cast<WPARAM>(id_), data);
}

void Control::Define(const char* windowClass, DWORD style, DWORD exStyle, Bounds bounds, const std::string& text) {
    class_ = windowClass;
    style_ = style;
    exStyle_ = exStyle;
    left_ = bounds.left;
    top_ = bounds.top;
    width_ = bounds.width;
    height_ = bounds.height;
    text_ = text;
    enabled_ = true;
    visible_ = true;
    if (owner_.hwnd()) Create();
}

void Control::Create() {
    if (!class_ || !owner_.hwnd()) return;
    if (hwnd_) {
        if (dropTarget_) dropTarget_->Detach();
        DestroyWindow(hwnd_);
    }
    DWORD style = style_ | WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
    hwnd_ = CreateWindowExA(exStyle_, class_, text_.c_str(), style, TwipsToPxX(left_), TwipsToPxY(top_),
                            TwipsToPxX(width_), TwipsToPxY(WindowHeight()), owner_.hwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), AppInstance(), this);
    if (!hwnd_) return;
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(owner_.Font()), FALSE);
    AfterCreate();
    ApplyToolTip();
    if (dropTarget_) dropTarget_->Attach(hwnd_);
}

void Control::SaveState() {
    BeforeDestroy();
    // Revoked while the window still exists, as OLE needs.
    if (dropTarget_) dropTarget_->Detach();
}

void Control::SetDropTarget(OleDropTarget* target) {
    if (dropTarget_ && dropTarget_ != target) dropTarget_->Detach();
    dropTarget_ = target;
    if (dropTarget_ && hwnd_) dropTarget_->Attach(hwnd_);
}

void Control::BeforeDestroy() {
    if (!hwnd_ || !class_) return;
    text_ = Text();
}

void Control::Destroyed() {
    if (dropTarget_) dropTarget_->Detach();
    hwnd_ = nullptr;
    backBrush_.reset();
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (!hwnd_) return;
    // The keyboard never stays on a control that cannot take it.
    if (!enabled && HasFocus()) owner_.PassFocusOn(*this);
    EnableWindow(hwnd_, enabled);
    if (enabled) owner_.TakeFocusBack(*this);
}

void Control::SetVisible(bool visible) {
    visible_ = visible;
    if (!hwnd_) return;
    if (!visible && HasFocus()) owner_.PassFocusOn(*this);
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    if (visible) owner_.TakeFocusBack(*this);
}

void Control::ShowOnTop() {
    visible_ = true;
    if (!hwnd_) return;
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    owner_.TakeFocusBack(*this);
}

std::string Control::Text() const {
    if (!hwnd_) return text_;
    int n = GetWindowTextLengthA(hwnd_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    int got = GetWindowTextA(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(got, 0)));
    return s;
}

void Control::SetText(const std::string& text) {
    text_ = text;
    if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

void Control::Move(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    if (width >= 0) width_ = width;
    if (height >= 0) height_ = height;
    if (hwnd_)
        SetWindowPos(hwnd_, nullptr, TwipsToPxX(left_), TwipsToPxY(top_), TwipsToPxX(width_), TwipsToPxY(WindowHeight()),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetFocus() {
    if (hwnd_) ::SetFocus(hwnd_);
}

bool Control::HasFocus() const {
    HWND focus = GetFocus();
    return hwnd_ && focus && (focus == hwnd_ || IsChild(hwnd_, focus));
}

void Control::SetBackColor(std::optional<uint32_t> color) {
    backColor_ = color;
    backBrush_.reset();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::SetToolTipText(const std::string& text) {
    if (text == toolTip_) return;
    toolTip_ = text;
    ApplyToolTip();
}

void Control::ApplyToolTip() {
    if (!hwnd_) return;
    HWND tips = owner_.ToolTipWindow(!toolTip_.empty());
    if (!tips) return;
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner_.hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    const bool known = SendMessageA(tips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
    if (toolTip_.empty()) {
        if (known) SendMessageA(tips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    // The tip window keeps its own copy of the text.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.lpszText = const_cast<char*>(toolTip_.c_str());
    SendMessageA(tips, known ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

std::optional<LRESULT> Control::OnCtlColor(HDC dc) {
    if (!backColor_) return std::nullopt;
    COLORREF c = ToColorRef(*backColor_);
    if (!backBrush_) backBrush_.reset(CreateSolidBrush(c));
    SetBkColor(dc, c);
    return reinterpret_cast<LRESULT>(backBrush_.get());
}

// ---- Label, Frame, Button

void Label::Create(const std::string& caption, Bounds bounds, Alignment alignment, LabelOptions options) {
    DWORD align = alignment == Alignment::RightJustify ? SS_RIGHT
                  : alignment == Alignment::Center     ? SS_CENTER
                                                       : SS_LEFT;
    Define("STATIC", align | SS_NOTIFY | (options.ellipsis ? SS_ENDELLIPSIS : 0), 0, bounds, caption);
}

std::optional<LRESULT> Label::OnCtlColor(HDC dc) {
    if (transparent_) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    return Control::OnCtlColor(dc);
}

void Frame::Create(const std::string& caption, Bounds bounds) {
    Define("BUTTON", BS_GROUPBOX, 0, bounds, caption);
}

namespace {
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_ERASEBKGND) {
        // A group box draws only its edge and caption.
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, FrameProc, 0);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}
}  // namespace

void Frame::AfterCreate() {
    SetWindowSubclass(hwnd(), FrameProc, 0, 0);
}

// ---- painting off the screen

namespace {

std::unique_ptr<MemoryBitmap> MakeOffScreenBitmap(int width, int height) {
    return std::make_unique<MemoryBitmap>(width, height, MemoryBitmap::Format::Rgb32, true);
}

}  // namespace

OffScreenBitmapMaker gMakeOffScreenBitmap = MakeOffScreenBitmap;

namespace {

// A window that paints off the screen. Its own procedure is kept here rather than through the
// common controls' subclassing, which under Wine reads a window property, a round trip to the
// server, for every message the window gets.
struct OffScreenState {
    WNDPROC base = nullptr;
    bool redraw = true;     // WM_SETREDRAW: the control paints nothing while it is off
    // The bitmap of the last paint, kept for the next while it is large enough: a new one costs
    // more than the painting of a small part.
    std::unique_ptr<MemoryBitmap> buffer;
    int width = 0, height = 0;
};

// Never destroyed: a form left loaded when the program ends destroys its controls after every
// object made since the program started, this table among them.
std::unordered_map<HWND, OffScreenState>& OffScreenWindows() {
    static auto* windows = new std::unordered_map<HWND, OffScreenState>;
    return *windows;
}

// The control's own painting of the part of its client area that BeginPaint names, done in a
// bitmap of memory and copied to the screen in one piece. The copy leaves out its child windows
// (a list's header), which paint themselves. The control's style is left as it is: a list view
// given a new style lays out its items afresh. Without a bitmap the control paints on the screen,
// and the next paint asks for one again.
void PaintOffScreen(HWND hwnd, OffScreenState& state) {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(hwnd, &ps);
    if (!screen) return;
    RECT client;
    GetClientRect(hwnd, &client);
    const RECT& r = ps.rcPaint;
    if (!IsRectEmpty(&client) && (!state.buffer || state.width < client.right || state.height < client.bottom)) {
        const int width = std::max<int>(state.width, client.right), height = std::max<int>(state.height, client.bottom);
        state.buffer = gMakeOffScreenBitmap(width, height);
        if (state.buffer && *state.buffer) {
            state.width = width;
            state.height = height;
        } else {
            state.buffer.reset();
            state.width = state.height = 0;
        }
    }
    if (!IsRectEmpty(&r)) {
        // The DC outlives the paint: whatever the control selects or sets in it goes with the paint.
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child)) continue;
            RECT c;
            GetWindowRect(child, &c);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&c), 2);
            ExcludeClipRect(screen, c.left, c.top, c.right, c.bottom);
        }
        HDC dc = state.buffer ? state.buffer->dc() : screen;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        HBRUSH back = reinterpret_cast<HBRUSH>(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND));
        FillRect(dc, &r, back ? back : GetSysColorBrush(COLOR_WINDOW));
        CallWindowProcW(state.base, hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        CallWindowProcW(state.base, hwnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
        if (dc != screen) BitBlt(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, dc, r.left, r.top, SRCCOPY);
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK OffScreenProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto found = OffScreenWindows().find(hwnd);
    if (found == OffScreenWindows().end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
    OffScreenState& state = found->second;
    const WNDPROC base = state.base;
    switch (msg) {
        case WM_SETREDRAW:
            state.redraw = wParam != 0;
            break;
        case WM_ERASEBKGND:
            // The paint that follows draws the background in its bitmap; erasing the screen
            // first would only make it flicker, and cost a second drawing of a themed parent.
            if (state.redraw) return TRUE;
            break;
        case WM_PRINT:
        case WM_PRINTCLIENT:
            // Printed into a DC of somebody else's, the background must be drawn there.
            if (lParam & PRF_ERASEBKGND) {
                CallWindowProcW(base, hwnd, WM_ERASEBKGND, wParam, 0);
                lParam &= ~static_cast<LPARAM>(PRF_ERASEBKGND);
            }
            break;
        case WM_PAINT:
            if (wParam || !state.redraw) break;
            PaintOffScreen(hwnd, state);
            return 0;
        case WM_NCDESTROY:
            OffScreenWindows().erase(found);
            break;
        default:
            break;
    }
    return CallWindowProcW(base, hwnd, msg, wParam, lParam);
}

}  // namespace

void PaintOffScreen(HWND window) {
    if (!window || OffScreenWindows().contains(window)) return;
    OffScreenState& state = OffScreenWindows()[window];
    state.base = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OffScreenProc)));
    if (!state.base) OffScreenWindows().erase(window);
}

void Button::Create(const std::string& caption, Bounds bounds, ButtonOptions options) {
    Define("BUTTON", WS_TABSTOP | (options.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, bounds, caption);
}

std::optional<LRESULT> Button::OnCommand(int code) {
    if (code == BN_CLICKED && Click) Click();
    return 0;
}

// ---- CheckBox, OptionButton

void CheckBox::Create(const std::string& caption, Bounds bounds) {
    value_ = 0;
    Define("BUTTON", WS_TABSTOP | BS_3STATE, 0, bounds, caption);
}

void CheckBox::AfterCreate() { Send(BM_SETCHECK, static_cast<WPARAM>(value_)); }
void CheckBox::BeforeDestroy() {
    value_ = Value();
    Control::BeforeDestroy();
}

int CheckBox::Value() const {
    if (!hwnd()) return value_;
    auto v = Send(BM_GETCHECK);
    return v == BST_CHECKED ? 1 : v == BST_INDETERMINATE ? 2 : 0;
}

void CheckBox::SetValue(int value) {
    value = std::clamp(value, 0, 2);
    bool changed = value != Value();
    value_ = value;
    Send(BM_SETCHECK, static_cast<WPARAM>(value));
    // VB raises Click when the value changes from code.
    if (changed && Click) Click();
}

std::optional<LRESULT> CheckBox::OnCommand(int code) {
    if (code != BN_CLICKED) return 0;
    // A user's click toggles between checked and unchecked; grey is only ever set from code.
    value_ = Value() == 1 ? 0 : 1;
    Send(BM_SETCHECK, static_cast<WPARAM>(value_));
    if (Click) Click();
    return 0;
}

void OptionButton::Create(const std::string& caption, Bounds bounds, OptionButtonOptions options) {
    value_ = false;
    Define("BUTTON", WS_TABSTOP | BS_AUTORADIOBUTTON | (options.group ? WS_GROUP : 0), 0, bounds, caption);
}

void OptionButton::AfterCreate() { Send(BM_SETCHECK, value_ ? BST_CHECKED : BST_UNCHECKED); }
void OptionButton::BeforeDestroy() {
    value_ = Value();
    Control::BeforeDestroy();
}

namespace {
bool IsButton(HWND window) {
    char name[16] = {};
    return GetClassNameA(window, name, sizeof name) > 0 && lstrcmpiA(name, "Button") == 0;
}
}  // namespace

bool OptionButton::Value() const { return hwnd() ? Send(BM_GETCHECK) == BST_CHECKED : value_; }

void OptionButton::SetValue(bool value) {
    value_ = value;
    if (!hwnd()) return;
    if (value) {
        // Clear the other buttons of the group, as a click would.
        HWND parent = GetParent(hwnd());
        HWND first = hwnd();
        while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
            HWND prev = GetWindow(first, GW_HWNDPREV);
            if (!prev) break;
            first = prev;
        }
        // Only the option buttons among them: a check box in the same group keeps its check.
        for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
            const LONG style = GetWindowLongA(w, GWL_STYLE);
            if (w != first && (style & WS_GROUP)) break;
            const LONG kind = style & BS_TYPEMASK;
            if (w != hwnd() && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON) && IsButton(w))
                SendMessageA(w, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        (void)parent;
    }
    Send(BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED);
    if (value && Click) Click();
}

std::optional<LRESULT> OptionButton::OnCommand(int code) {
    if (code == BN_CLICKED) {
        value_ = true;
        if (Click) Click();
    }
    return 0;
}

// ---- TextBox

void TextBox::Create(const std::string& text, Bounds bounds, TextBoxOptions options) {
    DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
    if (options.multiLine) style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
    if (options.readOnly) style |= ES_READONLY;
    Define("EDIT", style, WS_EX_CLIENTEDGE, bounds, text);
}

std::optional<LRESULT> TextBox::OnCommand(int code) {
    if (code == EN_CHANGE && Change) Change();
    else if (code == EN_SETFOCUS && GotFocus) GotFocus();
    else if (code == EN_KILLFOCUS && LostFocus) LostFocus();
    return 0;
}

std::optional<LRESULT> TextBox::OnCtlColor(HDC dc) {
    // A read-only edit asks as a static; without a back colour of its own it keeps the system's.
    return Control::OnCtlColor(dc);
}

// ---- ListControl, ListBox, ComboBox

void ListControl::AddItem(const std::string& item, int index) {
    if (index < 0 || index > ListCount()) index = ListCount();
    items_.insert(items_.begin() + index, Item{item, 0});
    if (hwnd()) Send(InsertMsg(), static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.c_str()));
    if (listIndex_ >= index) ++listIndex_;
}

void ListControl::AddItems(std::span<const std::string_view> texts, std::span<const int32_t> data) {
    const size_t first = items_.size();
    items_.reserve(first + texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        items_.push_back(Item{std::string(texts[i]), i < data.size() ? data[i] : 0});
    if (hwnd()) AddToWindow(first);
}

void ListControl::AddToWindow(size_t first) {
    if (first >= items_.size()) return;
    size_t bytes = 0;
    for (size_t i = first; i < items_.size(); ++i) bytes += items_[i].text.size() + 1;
    // Without redrawing, the list does not repaint its scroll bar for every item.
    Send(WM_SETREDRAW, FALSE);
    Send(InitStorageMsg(), items_.size() - first, static_cast<LPARAM>(bytes));
    for (size_t i = first; i < items_.size(); ++i)
        Send(AddMsg(), 0, reinterpret_cast<LPARAM>(items_[i].text.c_str()));
    Send(WM_SETREDRAW, TRUE);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListControl::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) return;
    items_.erase(items_.begin() + index);
    if (hwnd()) Send(DeleteMsg(), static_cast<WPARAM>(index));
    if (listIndex_ == index) listIndex_ = -1;
    else if (listIndex_ > index) --listIndex_;
}

int ListControl::AddSorted(const std::string& item, int32_t data) {
    int index = 0;
    while (index < ListCount() && CompareTextNoCase(items_[static_cast<size_t>(index)].text, item) <= 0) ++index;
    AddItem(item, index);
    SetItemData(index, data);
    return index;
}

void ListControl::Clear() {
    items_.clear();
    listIndex_ = -1;
    if (hwnd()) Send(ResetMsg());
}

std::string ListControl::List(int index) const {
    return index >= 0 && index < ListCount() ? items_[static_cast<size_t>(index)].text : std::string();
}

int32_t ListControl::ItemData(int index) const {
    return index >= 0 && index < ListCount() ? items_[static_cast<size_t>(index)].data : 0;
}

void ListControl::SetItemData(int index, int32_t data) {
    if (index >= 0 && index < ListCount()) items_[static_cast<size_t>(index)].data = data;
}

int ListControl::ListIndex() const {
    if (!hwnd()) return listIndex_;
    auto sel = static_cast<int>(Send(GetSelMsg()));
    return sel < 0 ? -1 : sel;
}

void ListControl::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) index = -1;
    listIndex_ = index;
    Send(SetSelMsg(), static_cast<WPARAM>(index));
    // The list sends nothing for a selection made from code; VB raised Click.
    if (Click) Click();
}

void ListControl::AfterCreate() {
    AddToWindow(0);
    if (listIndex_ >= 0) Send(SetSelMsg(), static_cast<WPARAM>(listIndex_));
}

void ListControl::BeforeDestroy() {
    listIndex_ = ListIndex();
    Control::BeforeDestroy();
}

void ListBox::Create(Bounds bounds, ListBoxOptions options) {
    items_.clear();
    listIndex_ = -1;
    Define("LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | (options.sorted ? LBS_SORT : 0),
           WS_EX_CLIENTEDGE, bounds);
}

std::optional<LRESULT> ListBox::OnCommand(int code) {
    if (code == LBN_SELCHANGE) {
        listIndex_ = ListIndex();
        if (Click) Click();
    } else if (code == LBN_DBLCLK && DblClick) {
        DblClick();
    } else if (code == LBN_SETFOCUS && GotFocus) {
        GotFocus();
    } else if (code == LBN_KILLFOCUS && LostFocus) {
        LostFocus();
    }
    return 0;
}

int ComboBox::ListIndex() const { return listIndex_ >= 0 && listIndex_ < ListCount() ? listIndex_ : -1; }

void ComboBox::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) index = -1;
    const bool changed = index != ListIndex();
    listIndex_ = index;
    Send(CB_SETCURSEL, static_cast<WPARAM>(index));
    if (changed && Click) Click();
}

void ComboBox::OnKeyPress(int& keyAscii) {
    if (KeyPress) KeyPress(keyAscii);
}

void ComboBox::Create(Bounds bounds, ComboBoxOptions options) {
    items_.clear();
    listIndex_ = -1;
    Define("COMBOBOX",
           WS_TABSTOP | WS_VSCROLL | (options.dropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN) | CBS_AUTOHSCROLL, 0,
           bounds);
}

std::optional<LRESULT> ComboBox::OnCommand(int code) {
    if (code == CBN_SELCHANGE) {
        auto sel = static_cast<int>(Send(CB_GETCURSEL));
        listIndex_ = sel < 0 ? -1 : sel;
        if (Click) Click();
    } else if (code == CBN_EDITCHANGE && Change) {
        Change();
    } else if (code == CBN_DBLCLK && DblClick) {
        DblClick();
    } else if (code == CBN_SETFOCUS && GotFocus) {
        GotFocus();
    }
    return 0;
}

// ---- PictureBox

namespace {

int MouseButtons(WPARAM keys) {
    return (keys & MK_LBUTTON ? 1 : 0) | (keys & MK_RBUTTON ? 2 : 0) | (keys & MK_MBUTTON ? 4 : 0);
}

int MouseShift(WPARAM keys) {
    return (keys & MK_SHIFT ? 1 : 0) | (keys & MK_CONTROL ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

// Raises a mouse event with the point in twips; a held mouse reports points outside the box too.
void RaiseMouse(const std::function<void(int, int, float, float)>& event, int button, WPARAM keys, LPARAM at) {
    if (!event) return;
    int x = static_cast<short>(LOWORD(at));
    int y = static_cast<short>(HIWORD(at));
    event(button, MouseShift(keys), static_cast<float>(PxToTwipsX(x)), static_cast<float>(PxToTwipsY(y)));
}

}  // namespace

LRESULT CALLBACK PictureWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    PictureBox* box = nullptr;
    if (msg == WM_NCCREATE) {
        box = static_cast<PictureBox*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
    } else {
        box = reinterpret_cast<PictureBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!box) return DefWindowProcA(hwnd, msg, wParam, lParam);
    try {
        switch (msg) {
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT: {
                PaintScope paint(hwnd);
                RECT r;
                GetClientRect(hwnd, &r);
                box->Paint(paint.dc(), r);
                return 0;
            }
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                SetCapture(hwnd);
                if (msg == WM_LBUTTONDOWN) box->TakeClickAfterDoubleClick();  // a new click
                RaiseMouse(box->MouseDown, msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4, wParam, lParam);
                return 0;
            case WM_MOUSEMOVE:
                RaiseMouse(box->MouseMove, MouseButtons(wParam), wParam, lParam);
                return 0;
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
            case WM_MBUTTONUP: {
                if (!MouseButtons(wParam) && GetCapture() == hwnd) ReleaseCapture();
                RaiseMouse(box->MouseUp, msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4, wParam, lParam);
                // Held mice report releases outside the box too; a click is a release on it.
                RECT r;
                GetClientRect(hwnd, &r);
                POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                const bool afterDoubleClick = msg == WM_LBUTTONUP && box->TakeClickAfterDoubleClick();
                if (msg == WM_LBUTTONUP && !afterDoubleClick && PtInRect(&r, at) && box->Click) box->Click();
                return 0;
            }
            case WM_LBUTTONDBLCLK:
                SetCapture(hwnd);
                box->RaiseDblClick();
                return 0;
            case WM_SETCURSOR:
                if (HCURSOR pointer = box->PointerCursor(); pointer && LOWORD(lParam) == HTCLIENT && !ScreenCursor()) {
                    SetCursor(pointer);
                    return TRUE;
                }
                break;
            case WM_NCDESTROY:
                SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
                break;
            default:
                break;
        }
    } catch (const std::exception& e) {
        ReportException("PictureBox", e);
        return 0;
    } catch (...) {
        ReportUnknownException("PictureBox");
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void PictureBox::Create(Bounds bounds, PictureBoxOptions options) {
    Define(kPictureClass, 0, options.border ? WS_EX_CLIENTEDGE : 0, bounds);
}

void PictureBox::SetPicture(HBITMAP bitmap) {
    if (bitmap != picture_.get()) picture_.reset(bitmap);
    icon_.reset();
    PictureChanged();
}

void PictureBox::SetIcon(HICON icon) {
    if (icon != icon_.get()) icon_.reset(icon);
    picture_.reset();
    PictureChanged();
}

void PictureBox::SetPictureFrom(const PictureBox& source) {
    if (&source == this) return;
    if (source.Icon()) SetIcon(CopyIcon(source.Icon()));
    else SetPicture(source.CopyPicture());
}

void PictureBox::PictureChanged() {
    if (image_) Cls();
    Refresh();
}

HBITMAP PictureBox::CopyPicture() const {
    return picture_ ? static_cast<HBITMAP>(CopyImage(picture_.get(), IMAGE_BITMAP, 0, 0, 0)) : nullptr;
}

void PictureBox::Refresh() {
    if (hwnd()) {
        InvalidateRect(hwnd(), nullptr, FALSE);
        UpdateWindow(hwnd());
    }
}

void PictureBox::DrawBackground(HDC dc, int width, int height) const {
    COLORREF back = BackColor() ? ToColorRef(*BackColor()) : GetSysColor(COLOR_BTNFACE);
    RECT all{0, 0, width, height};
    UniqueBrush brush(CreateSolidBrush(back));
    FillRect(dc, &all, brush.get());
    if (icon_) {
        DrawIconEx(dc, 0, 0, icon_.get(), 0, 0, 0, nullptr, DI_NORMAL);
    } else if (picture_) {
        BITMAP bm{};
        GetObjectA(picture_.get(), sizeof bm, &bm);
        UniqueMemDC mem(CreateCompatibleDC(dc));
        SelectInDC shown(mem.get(), picture_.get());
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, SRCCOPY);
    }
}

HDC PictureBox::hDC() {
    const int width = std::max(TwipsToPxX(Width()), 1);
    const int height = std::max(TwipsToPxY(Height()), 1);
    if (image_ && width == imageWidth_ && height == imageHeight_) return imageDC_.get();
    // First use, or the box changed size: the image starts again from the back colour and picture.
    if (!imageDC_) imageDC_.reset(CreateCompatibleDC(nullptr));
    WindowDC screen(nullptr);
    UniqueBitmap fresh(CreateCompatibleBitmap(screen.get(), width, height));
    if (!imageDC_ || !fresh) return imageDC_.get();
    SelectObject(imageDC_.get(), fresh.get());  // gives back the old image or the context's own
    image_ = std::move(fresh);
    imageWidth_ = width;
    imageHeight_ = height;
    DrawBackground(imageDC_.get(), width, height);
    return imageDC_.get();
}

void PictureBox::Cls() {
    HDC dc = hDC();
    if (dc && image_) DrawBackground(dc, imageWidth_, imageHeight_);
    Refresh();
}

COLORREF PictureBox::Point(int x, int y) {
    HDC dc = hDC();
    if (!dc || !image_ || x < 0 || y < 0 || x >= imageWidth_ || y >= imageHeight_) return CLR_INVALID;
    return GetPixel(dc, x, y);
}

void PictureBox::PaintPicture(HICON icon, int x, int y, int width, int height) {
    HDC dc = hDC();
    if (!dc || !icon || width <= 0 || height <= 0) return;
    DrawIconEx(dc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
}

void PictureBox::PaintPicture(HBITMAP bitmap, int x, int y, int width, int height) {
    HDC dc = hDC();
    if (!dc || !bitmap || width <= 0 || height <= 0) return;
    BITMAP bm{};
    if (!GetObjectA(bitmap, sizeof bm, &bm)) return;
    UniqueMemDC mem(CreateCompatibleDC(dc));
    SelectInDC source(mem.get(), bitmap);
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, width, height, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

HCURSOR PictureBox::PointerCursor() const {
    switch (mousePointer_) {
        case PointerShape::SizeWE: return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEWE));
        case PointerShape::Custom: return mouseIcon_;
        default: return nullptr;
    }
}

void PictureBox::RaiseDblClick() {
    afterDoubleClick_ = true;
    if (DblClick) DblClick();
}

void PictureBox::Paint(HDC dc, const RECT& client) {
    if (!image_) {
        DrawBackground(dc, client.right, client.bottom);
        return;
    }
    COLORREF back = BackColor() ? ToColorRef(*BackColor()) : GetSysColor(COLOR_BTNFACE);
    UniqueBrush brush(CreateSolidBrush(back));
    FillRect(dc, &client, brush.get());
    BitBlt(dc, 0, 0, imageWidth_, imageHeight_, imageDC_.get(), 0, 0, SRCCOPY);
}

// ---- Timer

void Timer::SetInterval(int ms) {
    interval_ = std::max(ms, 0);
    Apply();
}

void Timer::SetTimerEnabled(bool on) {
    on_ = on;
    Apply();
}

void Timer::Apply() {
    HWND form = owner().hwnd();
    if (!form) return;
    if (on_ && interval_ > 0) {
        SetTimer(form, static_cast<UINT_PTR>(id()), static_cast<UINT>(interval_), nullptr);
        running_ = true;
    } else if (running_) {
        KillTimer(form, static_cast<UINT_PTR>(id()));
        running_ = false;
    }
}

void Timer::Fire() {
    if (on_ && interval_ > 0 && Tick) Tick();
}

void Timer::Destroyed() {
    // The form's window is gone and its timers with it; a loaded form sets its timers anew.
    running_ = false;
    on_ = false;
}
