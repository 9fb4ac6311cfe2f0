// The pane arithmetic and the shortened path of the message panel.
#include <gtest/gtest.h>

#include "mainwindow/MainLayout.h"

namespace {

// A 760 x 540 px window, a 42 px cool bar, the tree 200 px wide.
MainLayoutInput Window(LayoutEvent event, int twips = 15) {
    MainLayoutInput in{event, 11400, 8100, twips, twips, true, 345, 195, 0, 630, 0, 1840, 1440, 1800, {}};
    in.current = {{0, 675, 3000, 6000}, {0, 675, 3060, 6000}, {3060, 660, 8000, 6030}, {3060, 660, 8000, 6030}, 1440};
    return in;
}

TEST(MainLayout, Resize) {
    struct {
        int width, height, twips;
        bool statusBar;
        int navHeight, resultWidth, resultHeight, messageWidth, navWidth = 3000;
    } cases[] = {
        {11400, 8100, 15, true, 6345, 8235, 6375, 6170},   // two status bar heights off, 7 px margin
        {11400, 8100, 15, false, 6690, 8235, 6720, 6170},  // one
        {11400, 8100, 12, true, 6345, 8256, 6369, 6200},   // 120 dpi
        {4500, 8100, 15, true, 6345, 1500, 6375, 1440, 2835},  // the splitter moves left, the list keeps 100 px
        {1500, 900, 15, true, 6000, 8000, 6030, 1440, 1500},  // sizes below zero keep the old ones; the tree 100 px
    };
    for (const auto& c : cases) {
        MainLayoutInput in = Window(LayoutEvent::Resize, c.twips);
        in.windowWidth = c.width;
        in.windowHeight = c.height;
        in.statusBarShown = c.statusBar;
        MainLayout out = ComputeMainLayout(in);
        MainLayout want = in.current;
        want.nav.height = want.split.height = c.navHeight;
        want.result.width = want.dummy.width = c.resultWidth;
        want.result.height = want.dummy.height = c.resultHeight;
        want.messageWidth = c.messageWidth;
        want.nav.width = c.navWidth;
        if (c.navWidth != 3000) {
            want.split.width = c.navWidth + 4 * c.twips;
            want.result.left = want.dummy.left = c.navWidth + 4 * c.twips;
        }
        EXPECT_EQ(out, want) << c.width << " x " << c.height << " at " << c.twips;
    }
}

TEST(MainLayout, SplitterDrag) {
    struct {
        double x;
        int splitWidth, navWidth, resultLeft, resultWidth;
    } cases[] = {
        {3000, 3060, 3000, 3060, 8220},     // 8 px margin, one more than a resize leaves
        {2400.5, 2460, 2400, 2460, 8820},   // whole twips, halves to even
        {2401.5, 2462, 2402, 2462, 8818},
        {11400, 9780, 9720, 9780, 1500},    // far right: the list keeps 100 px
        {999999, 9780, 9720, 9780, 1500},
        {1e12, 9780, 9720, 9780, 1500},
        {-30, 1560, 1500, 1560, 9720},      // left of the edge: the tree keeps 100 px
        {-5000, 1560, 1500, 1560, 9720},
    };
    for (const auto& c : cases) {
        MainLayoutInput in = Window(LayoutEvent::SplitterDrag);
        in.splitX = c.x;
        MainLayout want = in.current;
        want.split.width = c.splitWidth;
        want.nav.width = c.navWidth;
        want.result.left = want.dummy.left = c.resultLeft;
        want.result.width = want.dummy.width = c.resultWidth;
        EXPECT_EQ(ComputeMainLayout(in), want) << c.x;
    }
}

TEST(MainLayout, BelowCoolBar) {
    struct {
        int coolTop, coolHeight, twips, navTop, resultTop;
    } cases[] = {{0, 630, 15, 675, 660}, {60, 900, 12, 996, 984}};
    for (const auto& c : cases) {
        MainLayoutInput in = Window(LayoutEvent::BelowCoolBar, c.twips);
        in.coolBarTop = c.coolTop;
        in.coolBarHeight = c.coolHeight;
        MainLayout want = in.current;
        want.nav.top = want.split.top = c.navTop;
        want.result.top = want.dummy.top = c.resultTop;
        EXPECT_EQ(ComputeMainLayout(in), want) << c.coolHeight;
    }
}

TEST(MainLayout, PanelPathText) {
    const std::string dir = "C:\\Program Files\\Icons\\";  // 23 characters of 60 twips
    struct {
        std::string dir;
        int panel, itemPath;
        std::optional<std::string> text;
    } cases[] = {
        {dir, 3000, 2600, dir + "a.ico"},                     // fits with the ww margin
        {dir, 2900, 2600, dir + "...\\a.ico"},                // just not: cut, but all of the folder fits
        {dir, 1800, 2600, "C:\\Program Files\\Ico...\\a.ico"},
        {dir, 1290, 2600, "C:\\Program F...\\a.ico"},          // 11.5 gives 12
        {dir, 1230, 2600, "C:\\Program...\\a.ico"},            // 10.5 gives 10
        {dir, 600, 2600, "...\\a.ico"},
        {dir, 540, 2600, std::nullopt},                        // not even the file fits
        {"", 100, 300, std::nullopt},                          // no folder
    };
    for (const auto& c : cases) {
        PathWidths w{c.panel, 300, c.itemPath, static_cast<int>(c.dir.size()) * 60};
        EXPECT_EQ(PanelPathText(c.dir + "a.ico", c.dir, "a.ico", w), c.text) << c.panel;
    }
}

}  // namespace
