// The main window's pane arithmetic.
#include "mainwindow/MainLayout.h"

#include <cmath>

namespace {

// A size below zero is refused, as the window would refuse it; the old one stays.
void SetSize(int& size, long long value) {
    if (value >= 0) size = static_cast<int>(value);
}

double RoundHalfEven(double v) {
    double below = std::floor(v);
    double rest = v - below;
    if (rest > 0.5) return below + 1;
    if (rest < 0.5) return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

void Resize(const MainLayoutInput& in, MainLayout& l) {
    long long px = in.twipsX, py = in.twipsY;
    int bars = in.statusBarShown ? 2 : 1;
    SetSize(l.nav.height, 1LL * in.windowHeight - l.nav.top - 1LL * bars * in.statusBarHeight - 2LL * in.textHeight);
    SetSize(l.result.width, 1LL * in.windowWidth - l.result.left - 7 * px);
    SetSize(l.result.height, 1LL * l.nav.height + 2 * py);
    l.dummy.width = l.result.width;
    l.dummy.height = l.result.height;
    l.split.height = l.nav.height;
    SetSize(l.messageWidth, 1LL * in.windowWidth - in.countPanelWidth - in.areaPanelWidth - in.typePanelWidth -
                                10 * px);
}

void SplitterDrag(const MainLayoutInput& in, MainLayout& l) {
    long long px = in.twipsX;
    double rounded = RoundHalfEven(in.splitX);
    // Far beyond any screen: refuse rather than overflow.
    if (!(std::fabs(rounded) < 1e9)) return;
    long long x = static_cast<long long>(rounded);
    SetSize(l.split.width, x + 4 * px);
    SetSize(l.nav.width, x);
    l.result.left = static_cast<int>(x + 4 * px);
    // One pixel more than a resize leaves; the next resize gives it back.
    SetSize(l.result.width, 1LL * in.windowWidth - l.result.left - 8 * px);
    l.dummy.left = l.result.left;
    l.dummy.width = l.result.width;
}

void BelowCoolBar(const MainLayoutInput& in, MainLayout& l) {
    l.nav.top = in.coolBarTop + in.coolBarHeight + 3 * in.twipsY;
    // The list stands a pixel higher than the tree (and, after a resize, a pixel lower).
    l.result.top = l.nav.top - in.twipsY;
    l.dummy.top = l.result.top;
    l.split.top = l.nav.top;
}

}  // namespace

MainLayout ComputeMainLayout(const MainLayoutInput& in) {
    MainLayout l = in.current;
    switch (in.event) {
        case LayoutEvent::Resize:
            Resize(in, l);
            break;
        case LayoutEvent::SplitterDrag:
            SplitterDrag(in, l);
            break;
        case LayoutEvent::BelowCoolBar:
            BelowCoolBar(in, l);
            break;
    }
    return l;
}

std::optional<std::string> PanelPathText(const std::string& itemPath, const std::string& selDir,
                                         const std::string& selFile, const PathWidths& w) {
    if (w.panel - w.ww > w.itemPath) return itemPath;
    if (selDir.empty() || w.selDir <= 0) return std::nullopt;
    double average = static_cast<double>(w.selDir) / static_cast<double>(selDir.size());
    double n = RoundHalfEven(w.panel / average - static_cast<double>(selFile.size() + 5));
    if (n < 0) return std::nullopt;
    size_t keep = n >= static_cast<double>(selDir.size()) ? selDir.size() : static_cast<size_t>(n);
    return selDir.substr(0, keep) + "...\\" + selFile;
}
