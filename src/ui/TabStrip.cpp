#include "ui/TabStrip.h"

#include <commctrl.h>

void TabStrip::Create(Bounds bounds) {
    tabs_.clear();
    selected_ = 0;
    Define(WC_TABCONTROLA, WS_TABSTOP | WS_CLIPSIBLINGS | TCS_TOOLTIPS, 0, bounds);
}

void TabStrip::InsertTab(int position) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(tabs_[static_cast<size_t>(position)].caption.c_str());
    Send(TCM_INSERTITEMA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&item));
}

void TabStrip::AddTab(const std::string& caption, const std::string& key, const std::string& toolTip) {
    tabs_.push_back({caption, key, toolTip});
    if (hwnd()) InsertTab(TabCount() - 1);
    if (selected_ == 0) selected_ = 1;
}

std::string TabStrip::TabCaption(int index) const {
    return index >= 1 && index <= TabCount() ? tabs_[static_cast<size_t>(index - 1)].caption : std::string();
}
std::string TabStrip::TabKey(int index) const {
    return index >= 1 && index <= TabCount() ? tabs_[static_cast<size_t>(index - 1)].key : std::string();
}
std::string TabStrip::TabToolTip(int index) const {
    return index >= 1 && index <= TabCount() ? tabs_[static_cast<size_t>(index - 1)].toolTip : std::string();
}

int TabStrip::SelectedIndex() const {
    if (!hwnd()) return selected_;
    return static_cast<int>(Send(TCM_GETCURSEL)) + 1;
}

void TabStrip::SetSelectedIndex(int index) {
    if (index < 1 || index > TabCount()) return;
    selected_ = index;
    if (hwnd()) Send(TCM_SETCURSEL, static_cast<WPARAM>(index - 1));
    if (Click) Click();
}

void TabStrip::AfterCreate() {
    for (int i = 0; i < TabCount(); ++i) InsertTab(i);
    if (selected_ > 0) Send(TCM_SETCURSEL, static_cast<WPARAM>(selected_ - 1));
}

void TabStrip::BeforeDestroy() {
    selected_ = SelectedIndex();
    Control::BeforeDestroy();
}

bool TabStrip::OwnsWindow(HWND window) const {
    if (!window) return false;
    if (window == hwnd()) return true;
    return hwnd() && window == reinterpret_cast<HWND>(Send(TCM_GETTOOLTIPS));
}

std::optional<LRESULT> TabStrip::OnNotify(NMHDR* header) {
    if (header->code == TCN_SELCHANGE) {
        selected_ = SelectedIndex();
        if (Click) Click();
        return 0;
    }
    if (header->code == TTN_GETDISPINFOA) {
        // The tab control's tool tip asks with the tab's position as the tool id.
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        static std::string text;
        text = TabToolTip(static_cast<int>(header->idFrom) + 1);
        info->lpszText = const_cast<char*>(text.c_str());
        return 0;
    }
    return std::nullopt;
}

void ShowTabPage(const TabStrip& strip, int page, const TabPageControls& controls) {
    for (int i = 1; i <= strip.TabCount(); ++i)
        if (i != page)
            for (Control* c : controls(i)) c->SetVisible(false);
    for (Control* c : controls(page)) c->SetVisible(true);
}

void SwitchTabPage(const TabStrip& strip, int16_t& current, const TabPageControls& controls) {
    const int selected = strip.SelectedIndex();
    if (selected < 1 || selected > strip.TabCount() || selected == current) return;
    for (Control* c : controls(selected)) c->SetVisible(true);
    for (Control* c : controls(current)) c->SetVisible(false);
    current = static_cast<int16_t>(selected);
}
