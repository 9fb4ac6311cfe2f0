// The status bar and the layout of its panels.
#include "ui/StatusBar.h"

#include <algorithm>
#include <stdexcept>

#include "ui/Form.h"
#include "ui/Unique.h"

std::vector<int> StatusPanelEdges(const std::vector<PanelLayout>& panels, int clientWidthPx, const Units& units) {
    std::vector<int> widths(panels.size(), 0);
    int taken = 0;
    int springMin = 0;
    int springs = 0;
    for (size_t i = 0; i < panels.size(); ++i) {
        const PanelLayout& p = panels[i];
        int minPx = std::max(TwipsToPxX(p.minWidth, units), 0);
        switch (p.autoSize) {
            case sbrSpring:
                widths[i] = minPx;
                springMin += minPx;
                ++springs;
                continue;
            case sbrContents:
                widths[i] = std::max(p.contentWidthPx, minPx);
                break;
            default:
                widths[i] = std::max(TwipsToPxX(p.width, units), 0);
                break;
        }
        taken += widths[i];
    }
    int extra = clientWidthPx - taken - springMin;
    if (springs > 0 && extra > 0) {
        int share = extra / springs;
        int rest = extra - share * springs;
        int seen = 0;
        for (size_t i = 0; i < panels.size(); ++i) {
            if (panels[i].autoSize != sbrSpring) continue;
            widths[i] += share + (++seen == springs ? rest : 0);
        }
    }
    std::vector<int> edges;
    int right = 0;
    for (int w : widths) edges.push_back(right += w);
    if (!edges.empty()) edges.back() = -1;
    return edges;
}

// ---- Panel

void Panel::SetText(const std::string& text) {
    text_ = text;
    if (!owner_) return;
    owner_->ShowText(*this);
    if (autoSize_ == sbrContents) owner_->Layout();
}

void Panel::SetWidth(int width) {
    width_ = std::max(width, 0);
    if (owner_) owner_->Layout();
}

void Panel::SetMinWidth(int width) {
    minWidth_ = std::max(width, 0);
    if (owner_) owner_->Layout();
}

void Panel::SetAutoSize(int autoSize) {
    autoSize_ = autoSize;
    if (owner_) owner_->Layout();
}

void Panel::SetPicture(HICON icon) {
    picture_ = icon;
    if (!owner_) return;
    owner_->ShowPicture(*this);
    if (autoSize_ == sbrContents) owner_->Layout();
}

void Panel::SetBevel(int bevel) {
    bevel_ = bevel;
    if (owner_) owner_->ShowText(*this);
}

// ---- StatusBar

void StatusBar::Create(Bounds bounds) {
    for (auto& p : panels_) {
        p->owner_ = nullptr;
        retired_.push_back(std::move(p));
    }
    panels_.clear();
    // A grip only where the form can be sized.
    HWND form = owner().hwnd();
    bool sizable = form && (GetWindowLongA(form, GWL_STYLE) & WS_THICKFRAME);
    Define(STATUSCLASSNAMEA, sizable ? SBARS_SIZEGRIP : 0, 0, bounds);
}

Panel& StatusBar::AddPanel(const std::string& key, const std::string& text, int width, int autoSize) {
    if (!key.empty() && FindPanel(key)) throw KeyError("Key is not unique in collection: " + key);
    panels_.push_back(std::unique_ptr<Panel>(new Panel(this, key, PanelCount() + 1)));
    Panel& panel = *panels_.back();
    panel.text_ = text;
    panel.width_ = std::max(width, 0);
    panel.autoSize_ = autoSize;
    if (hwnd()) {
        Layout();
        ShowText(panel);
    }
    return panel;
}

Panel* StatusBar::FindPanel(const std::string& key) {
    if (key.empty()) return nullptr;
    std::string folded = FoldKey(key);
    for (auto& p : panels_)
        if (FoldKey(p->key_) == folded) return p.get();
    return nullptr;
}

Panel& StatusBar::Panels(const std::string& key) {
    if (Panel* p = FindPanel(key)) return *p;
    throw KeyError("Element not found: " + key);
}

Panel& StatusBar::Panels(int index) {
    if (index < 1 || index > PanelCount()) throw std::out_of_range("Index out of bounds");
    return *panels_[static_cast<size_t>(index) - 1];
}

int StatusBar::Height() const {
    if (!hwnd()) return Control::Height();
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return PxToTwipsY(r.bottom - r.top);
}

void StatusBar::Refresh() {
    if (!hwnd()) return;
    InvalidateRect(hwnd(), nullptr, TRUE);
    UpdateWindow(hwnd());
}

void StatusBar::Layout() {
    if (!hwnd()) return;
    std::vector<PanelLayout> layout;
    WindowDC dc(hwnd());
    SelectInDC font(dc.get(), reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
    for (const auto& p : panels_) {
        PanelLayout l{p->width_, p->minWidth_, p->autoSize_, 0};
        if (p->autoSize_ == sbrContents) {
            SIZE size{};
            GetTextExtentPoint32A(dc.get(), p->text_.c_str(), static_cast<int>(p->text_.size()), &size);
            // Room for the borders and the text's margins, and for the picture beside it.
            l.contentWidthPx = size.cx + 4 * GetSystemMetrics(SM_CXEDGE) + 4;
            if (p->picture_) l.contentWidthPx += GetSystemMetrics(SM_CXSMICON) + 2;
        }
        layout.push_back(l);
    }
    font.Undo();
    RECT client{};
    GetClientRect(hwnd(), &client);
    std::vector<int> edges = StatusPanelEdges(layout, client.right, ScreenUnits());
    if (edges.empty()) edges.push_back(-1);
    Send(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::ShowText(const Panel& panel) {
    if (!hwnd()) return;
    WPARAM style = panel.bevel_ == sbrNoBevel ? SBT_NOBORDERS : panel.bevel_ == sbrRaised ? SBT_POPOUT : 0;
    Send(SB_SETTEXTA, static_cast<WPARAM>(panel.index_ - 1) | style, reinterpret_cast<LPARAM>(panel.text_.c_str()));
}

void StatusBar::ShowPicture(const Panel& panel) {
    if (hwnd()) Send(SB_SETICON, static_cast<WPARAM>(panel.index_ - 1), reinterpret_cast<LPARAM>(panel.picture_));
}

void StatusBar::AfterCreate() {
    PaintOffScreen(hwnd());
    Send(WM_SIZE);
    Layout();
    for (const auto& p : panels_) {
        ShowText(*p);
        if (p->picture_) ShowPicture(*p);
    }
}

void StatusBar::OnParentResize() {
    if (!hwnd()) return;
    // The bar moves itself to the form's bottom edge on WM_SIZE.
    Send(WM_SIZE);
    Layout();
}

std::optional<LRESULT> StatusBar::OnNotify(NMHDR* header) {
    if (header->code != NM_CLICK) return std::nullopt;
    auto* mouse = reinterpret_cast<NMMOUSE*>(header);
    if (mouse->dwItemSpec < panels_.size() && PanelClick) PanelClick(*panels_[mouse->dwItemSpec]);
    return 0;
}
