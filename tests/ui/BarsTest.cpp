// Status bar panel layout and clicks, the cool bar's bands, and the progress bar's range.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "UiTest.h"
#include "ui/Control.h"
#include "ui/ProgressBar.h"
#include "ui/ReBar.h"
#include "ui/StatusBar.h"
#include "ui/ToolBar.h"
#include "ui/Units.h"

namespace {

struct StatusForm : TestForm {
    StatusBar bar{*this, 1001};
    StatusForm() {
        build = [this] {
            bar.Create({0, 0, 9000, 300});
            bar.AddPanel("message", "Ready", 1500, sbrSpring);
            bar.AddPanel("count", "12 Icon(s)", 600, sbrContents);
            bar.AddPanel("area", "Page 1 of 3", 1800);
        };
    }
};

std::vector<int> Parts(HWND bar) {
    int edges[16] = {};
    int n = static_cast<int>(SendMessageA(bar, SB_GETPARTS, std::size(edges), reinterpret_cast<LPARAM>(edges)));
    return std::vector<int>(edges, edges + n);
}

std::string PanelText(HWND bar, int index) {
    char text[256] = {};
    SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

}  // namespace

TEST(StatusBar, PanelEdges) {
    const Units u{15, 15};  // 100 px = 1500 twips
    auto fixed = [](int twips) { return PanelLayout{twips, 0, sbrNoAutoSize, 0}; };
    auto spring = [](int minTwips) { return PanelLayout{0, minTwips, sbrSpring, 0}; };
    auto contents = [](int minTwips, int px) { return PanelLayout{0, minTwips, sbrContents, px}; };
    struct Case {
        const char* what;
        std::vector<PanelLayout> panels;
        int client;
        std::vector<int> edges;
    };
    const Case cases[] = {
        {"none", {}, 400, {}},
        {"one panel reaches the right end", {fixed(1500)}, 400, {-1}},
        {"fixed widths", {fixed(1500), fixed(750), fixed(750)}, 400, {100, 150, -1}},
        {"a spring takes what is left", {fixed(1500), spring(0), fixed(750)}, 400, {100, 350, -1}},
        {"springs share what is left above their minimums",
         {spring(1500), spring(4500), fixed(750)}, 650, {200, 600, -1}},
        {"the odd pixel goes to the last spring", {spring(0), spring(0), fixed(750)}, 151, {50, 101, -1}},
        {"springs never shrink below their minimums", {fixed(1500), spring(1500), fixed(750)}, 120, {100, 200, -1}},
        {"contents fit their text, not below the minimum",
         {contents(1500, 80), contents(1500, 130), fixed(750)}, 400, {100, 230, -1}},
    };
    for (const Case& c : cases) EXPECT_EQ(StatusPanelEdges(c.panels, c.client, u), c.edges) << c.what;
}

TEST(StatusBar, KeepsToTheBottomAndLaysOutAgainWhenTheFormResizes) {
    StatusForm form;
    form.Load();
    HWND bar = form.bar.hwnd();
    EXPECT_EQ(Parts(bar).size(), 3u);
    EXPECT_EQ(Parts(bar).back(), -1);
    EXPECT_EQ(PanelText(bar, 0), "Ready");
    EXPECT_EQ(PanelText(bar, 2), "Page 1 of 3");
    int springBefore = Parts(bar)[0];

    RECT w{};
    GetWindowRect(form.hwnd(), &w);
    SetWindowPos(form.hwnd(), nullptr, 0, 0, w.right - w.left + 120, w.bottom - w.top + 40,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Parts(bar)[0], springBefore + 120);
    RECT client{}, rb{};
    GetClientRect(form.hwnd(), &client);
    GetWindowRect(bar, &rb);
    MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&rb), 2);
    EXPECT_EQ(rb.bottom, client.bottom);
    EXPECT_EQ(form.bar.Height(), PxToTwipsY(rb.bottom - rb.top));

    // A contents panel grows with its text.
    int countWidth = Parts(bar)[1] - Parts(bar)[0];
    form.bar.Panels("COUNT").SetText("1234567 Icon(s) on 9999 pages");
    EXPECT_GT(Parts(bar)[1] - Parts(bar)[0], countWidth);
    EXPECT_EQ(PanelText(bar, 1), "1234567 Icon(s) on 9999 pages");
    form.Unload();
}

TEST(StatusBar, ClickOnAPanelNamesIt) {
    StatusForm form;
    std::vector<std::string> clicked;
    form.bar.PanelClick = [&](Panel& p) { clicked.push_back(p.Key()); };
    form.Load();
    RECT r{};
    SendMessageA(form.bar.hwnd(), SB_GETRECT, 2, reinterpret_cast<LPARAM>(&r));
    ClickAt(form.bar.hwnd(), r.left + 5, (r.top + r.bottom) / 2);
    EXPECT_EQ(clicked, (std::vector<std::string>{"area"}));
    form.Unload();
}

TEST(StatusBar, PanelsHeldFromAnEarlierLoadStaySafe) {
    StatusForm form;
    form.Load();
    Panel& old = form.bar.Panels("message");
    form.Unload();
    form.Load();  // the design adds its panels afresh
    old.SetText("stale");
    EXPECT_EQ(PanelText(form.bar.hwnd(), 0), "Ready");
    EXPECT_NE(&form.bar.Panels("message"), &old);
    EXPECT_EQ(form.bar.PanelCount(), 3);
    form.Unload();
}

namespace {

struct CoolForm : TestForm {
    ToolBar tools{*this, 1001};
    Button go{*this, 1002};
    ReBar cool{*this, 1003};
    CoolForm() {
        build = [this] {
            tools.Create({0, 0, 3000, 400});
            tools.Add("one", "One");
            tools.Add("two", "Two");
            // Wider than the narrowest the form can be made.
            for (const char* key : {"three", "four", "five", "six"}) tools.Add(key, key);
            go.Create("Go", {0, 0, 1200, 330});
            cool.Create({0, 0, 9000, 800});
            cool.AddBand(tools, 4500, 540);
            cool.AddBand(go, 1500, 330, true, "Keyword");
        };
    }
};

}  // namespace

TEST(ReBar, BandsHoldTheirControlsAndReportHeightChanges) {
    CoolForm form;
    form.Load();
    HWND cool = form.cool.hwnd();
    EXPECT_EQ(SendMessageA(cool, RB_GETBANDCOUNT, 0, 0), 2);
    EXPECT_EQ(GetParent(form.go.hwnd()), cool);
    EXPECT_TRUE(form.cool.BandNewRow(2));
    EXPECT_EQ(form.cool.BandWidth(1), 4500);

    int changes = 0;
    form.cool.HeightChanged = [&] { ++changes; };
    int twoRows = form.cool.Height();
    form.cool.SetBandVisible(2, false);
    REBARBANDINFOA info{};
    info.cbSize = REBARBANDINFOA_V6_SIZE;
    info.fMask = RBBIM_STYLE;
    SendMessageA(cool, RB_GETBANDINFOA, 1, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(info.fStyle & RBBS_HIDDEN);
    EXPECT_LT(form.cool.Height(), twoRows);
    EXPECT_GE(changes, 1);
    form.cool.SetBandVisible(2, true);
    form.cool.SetBandNewRow(2, false);
    EXPECT_FALSE(form.cool.BandNewRow(2));
    EXPECT_LT(form.cool.Height(), twoRows);

    // The bar stretches along the top of the form.
    RECT client{}, bar{};
    GetClientRect(form.hwnd(), &client);
    GetClientRect(cool, &bar);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_THROW(form.cool.BandVisible(3), std::out_of_range);
    form.Unload();
}

TEST(ReBar, ABandDraggedBeforeAnotherKeepsItsPlace) {
    CoolForm form;
    form.Load();
    HWND cool = form.cool.hwnd();
    EXPECT_TRUE(GetWindowLongA(cool, GWL_STYLE) & RBS_FIXEDORDER);
    // Band 2, on its own row, taken by its gripper and dragged above the first row.
    RECT second{};
    SendMessageA(cool, RB_GETRECT, 1, reinterpret_cast<LPARAM>(&second));
    const int x = second.left + 3, y = (second.top + second.bottom) / 2;
    SendMessageA(cool, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    for (int to = y; to >= -10; to -= 4) SendMessageA(cool, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 40, static_cast<WORD>(to)));
    SendMessageA(cool, WM_LBUTTONUP, 0, MAKELPARAM(x + 40, static_cast<WORD>(-10)));
    EXPECT_EQ(SendMessageA(cool, RB_IDTOINDEX, 1, 0), 0);
    EXPECT_EQ(SendMessageA(cool, RB_IDTOINDEX, 2, 0), 1);
    form.Unload();
}

TEST(ReBar, ToolBarFollowsTheFormThroughEverySizeAndState) {
    CoolForm form;
    form.Load();
    form.Show();
    HWND tools = form.tools.hwnd();
    auto width = [&] {
        RECT r{};
        GetWindowRect(tools, &r);
        return r.right - r.left;
    };
    RECT last{};
    SendMessageA(tools, TB_GETITEMRECT, static_cast<WPARAM>(form.tools.ButtonCount() - 1),
                 reinterpret_cast<LPARAM>(&last));
    struct Step {
        const char* name;
        std::function<void()> away, back;
    } steps[] = {
        {"narrow, then wide", [&] { SetWindowPos(form.hwnd(), nullptr, 0, 0, 60, 300, SWP_NOMOVE | SWP_NOZORDER); },
         [&] { SetWindowPos(form.hwnd(), nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER); }},
        {"minimised, then restored", [&] { ShowWindow(form.hwnd(), SW_MINIMIZE); },
         [&] { ShowWindow(form.hwnd(), SW_RESTORE); }},
    };
    for (const Step& step : steps) {
        step.away();
        Pump();
        step.back();
        Pump();
        EXPECT_GE(width(), last.right) << step.name;
    }
    form.Unload();
}

TEST(ReBar, ControlsInBandsStillRaiseTheirEvents) {
    CoolForm form;
    int goClicks = 0;
    std::vector<std::string> buttons;
    form.go.Click = [&] { ++goClicks; };
    form.tools.ButtonClick = [&](ToolButton& b) { buttons.push_back(b.Key()); };
    form.Load();
    SendMessageA(form.go.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(goClicks, 1);
    RECT r{};
    SendMessageA(form.tools.hwnd(), TB_GETRECT, static_cast<WPARAM>(form.tools.Buttons("two").Id()),
                 reinterpret_cast<LPARAM>(&r));
    ClickAt(form.tools.hwnd(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(buttons, (std::vector<std::string>{"two"}));
    form.Unload();
}

TEST(ProgressBar, ValueStaysInRange) {
    struct ProgressForm : TestForm {
        ProgressBar progress{*this, 1001};
        ProgressForm() {
            build = [this] { progress.Create({0, 0, 3000, 300}); };
        }
    } form;
    ProgressBar& p = form.progress;
    p.SetMax(50);
    p.SetValue(80);
    EXPECT_EQ(p.Value(), 50);
    p.SetValue(-3);
    EXPECT_EQ(p.Value(), 0);
    p.SetValue(20);
    form.Load();
    EXPECT_EQ(SendMessageA(p.hwnd(), PBM_GETPOS, 0, 0), 20);
    EXPECT_EQ(SendMessageA(p.hwnd(), PBM_GETRANGE, FALSE, 0), 50);
    p.SetMax(10);
    EXPECT_EQ(p.Value(), 10);
    EXPECT_EQ(SendMessageA(p.hwnd(), PBM_GETPOS, 0, 0), 10);
    form.Unload();
}
