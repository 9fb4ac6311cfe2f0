// The main window's pane arithmetic.
#include "mainwindow/MainLayout.h"

#include <algorithm>
#include <cmath>

namespace {

// Each pane keeps at least this much of the window's width, in pixels.
constexpr long long kLeastPanePx = 100;
// And each column of the result list this much.
constexpr int kLeastColumnPx = 40;

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

// The tree's width for a splitter at x, in whole twips: the tree and the list that stands right of the
// splitter strip, `margin` short of the window's edge, each at least their least width; where the window
// has no room for both, the tree keeps its least.
long long SplitWithinWindow(double x, const MainLayoutInput& in, long long margin) {
    const long long px = in.twipsX;
    const long long least = kLeastPanePx * px;
    const long long most = std::max(least, 1LL * in.windowWidth - 4 * px - margin - least);
    return static_cast<long long>(std::clamp(x, static_cast<double>(least), static_cast<double>(most)));
}

void PlaceSplitter(MainLayout& l, long long x, long long px) {
    SetSize(l.split.width, x + 4 * px);
    SetSize(l.nav.width, x);
    l.result.left = static_cast<int>(x + 4 * px);
    l.dummy.left = l.result.left;
}

void Resize(const MainLayoutInput& in, MainLayout& l) {
    long long px = in.twipsX, py = in.twipsY;
    // A narrower window moves the splitter left rather than the list out of the window.
    if (const long long x = SplitWithinWindow(l.nav.width, in, 7 * px); x != l.nav.width) PlaceSplitter(l, x, px);
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
    if (std::isnan(rounded)) return;
    // One pixel more than a resize leaves; the next resize gives it back.
    PlaceSplitter(l, SplitWithinWindow(rounded, in, 8 * px), px);
    SetSize(l.result.width, 1LL * in.windowWidth - l.result.left - 8 * px);
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

int StoredColumnWidth(int32_t stored, int twipsX) { return std::max(stored, kLeastColumnPx * twipsX); }

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
