// The zoom window over the loaded main window: its size, title and place for each factor, the
// picture it enlarges, the double-click copy, and the hotspot picker with its reminder. The modal
// picker is driven from a timer inside its loop, with mouse messages posted to its picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "IconMaker.h"
#include "LentPictures.h"
#include "PageFixture.h"
#include "TestSupport.h"
#include "common/ResultEntry.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "output/FrmZoom.h"
#include "output/WorkSurfaces.h"
#include "ui/App.h"
#include "ui/Unique.h"

namespace {

constexpr COLORREF kResult = RGB(0xC0, 0x30, 0x90);
constexpr COLORREF kImport = RGB(0, 200, 0), kChange = RGB(0, 0, 200);
constexpr int kTwips = 15;

// Runs `tick` every 20 ms inside whatever modal loop the body enters, until the body returns; a
// watchdog closes anything still open after 10 s so that no case waits for a person.
void WhileModal(const std::function<void()>& tick, const std::function<void()>& body) {
    static std::function<void()> current;
    current = tick;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        if (current) current();
    });
    static bool timedOut;
    timedOut = false;
    UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        timedOut = true;
        frmMessage.Unload();
        frmZoom.Unload();
    });
    body();
    KillTimer(nullptr, timer);
    KillTimer(nullptr, watchdog);
    current = nullptr;
    EXPECT_FALSE(timedOut) << "a window was left open";
}

// A press and release of the left button at a pixel of the picture.
void PostClick(int x, int y) {
    HWND picture = frmZoom.picZoom.hwnd();
    PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

bool Showing(const Form& form) { return form.IsLoaded() && IsWindowVisible(form.hwnd()); }

class ZoomTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        ClearSettings();
        gImportMode = gChangeApplying = false;
        const std::string file = dir.File("result.ico", "");
        ASSERT_TRUE(WriteIconFile(file, 0xC03090));
        Fill({OpenEntry(file, 0, "x", '2')});
        ASSERT_EQ(frmMain.pnlResult.Count(), 1);
        frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(1));
    }
    void TearDown() override {
        frmZoom.Unload();
        gImportMode = gChangeApplying = gHotSpotMode = false;
        SetImportPicture(nullptr);
        SetChangePicture(nullptr);
        ClearSettings();
        PagesTest::TearDown();
    }
    static void ClearSettings() {
        for (const SettingDef* def : {&setting::ZoomTop, &setting::ZoomLeft, &setting::NoCursorChange}) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, StoreKey(def->store), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueA(key, def->name);
                RegCloseKey(key);
            }
        }
    }
    // The picker with the reminder turned off; `act` runs once it is open.
    static void PickWith(const std::function<void()>& act) {
        WriteSetting(setting::NoCursorChange, std::string("1"));
        bool acted = false;
        WhileModal(
            [&] {
                if (!acted && Showing(frmZoom)) {
                    acted = true;
                    act();
                }
            },
            [] { frmMain.procSetHotSpot(); });
        EXPECT_TRUE(acted);
        EXPECT_FALSE(gHotSpotMode);
        EXPECT_FALSE(frmZoom.IsLoaded());
    }
    Lender lender;
};

}  // namespace

TEST_F(ZoomTest, EachFactorSizesTitlesAndFillsTheWindow) {
    const COLORREF back = RGB(250, 240, 200);
    frmMain.pnlResult.SetBackColor(back);
    struct Case {
        void (FrmMain::*command)();
        int factor;
    } cases[] = {
        {&FrmMain::mnuToolsZoom2_Click, 2}, {&FrmMain::mnuToolsZoom5_Click, 5},  {&FrmMain::mnuToolsZoom3_Click, 3},
        {&FrmMain::mnuToolsZoom4_Click, 4}, {&FrmMain::mnuToolsZoom10_Click, 10},
    };
    // Each command runs while the window of the one before is still open.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.factor);
        frmMain.imlResult32.SetMaskColor(RGB(1, 2, 3));
        (frmMain.*c.command)();
        ASSERT_TRUE(Showing(frmZoom));
        EXPECT_FALSE(frmZoom.IsModal());
        EXPECT_EQ(gZoomFactor, c.factor);
        EXPECT_EQ(frmZoom.Caption(), "Zoom " + std::to_string(c.factor) + ":1");
        const int side = 32 * c.factor;
        EXPECT_EQ(frmZoom.picZoom.Left(), 13 * kTwips);
        EXPECT_EQ(frmZoom.picZoom.Top(), 13 * kTwips);
        EXPECT_EQ(frmZoom.picZoom.Width(), side * kTwips);
        EXPECT_EQ(frmZoom.picZoom.Height(), side * kTwips);
        // A window with a title bar is never narrower than the system allows (2:1 is).
        EXPECT_EQ(frmZoom.Width(), std::max(32 + side, GetSystemMetrics(SM_CXMIN)) * kTwips);
        EXPECT_EQ(frmZoom.Height(), (55 + side) * kTwips);
        EXPECT_EQ(frmZoom.picZoom.MousePointer(), PointerShape::Default);
        EXPECT_EQ(frmMain.imlResult32.MaskColor(), RGB(0x80, 0x40, 0x40));
        // The icon's clear frame of two pixels shows the list's back colour; each source pixel
        // is a block.
        const int f = c.factor;
        EXPECT_EQ(frmZoom.picZoom.Point(0, 0), back);
        EXPECT_EQ(frmZoom.picZoom.Point(2 * f - 1, 2 * f - 1), back);
        EXPECT_EQ(frmZoom.picZoom.Point(2 * f, 2 * f), kResult);
        EXPECT_EQ(frmZoom.picZoom.Point(30 * f - 1, side / 2), kResult);
        EXPECT_EQ(frmZoom.picZoom.Point(30 * f, side / 2), back);
    }
}

TEST_F(ZoomTest, WithoutAColourOfItsOwnTheListShowsTheWindowColour) {
    frmMain.pnlResult.SetBackColor(std::nullopt);
    frmMain.mnuToolsZoom2_Click();
    EXPECT_EQ(frmZoom.picZoom.Point(0, 0), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(frmZoom.picZoom.Point(8, 8), kResult);
}

TEST_F(ZoomTest, PlaceIsRestoredAndKept) {
    const int designWidth = (32 + 320) * kTwips, designHeight = (55 + 320) * kTwips;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN) * kTwips, screenHeight = GetSystemMetrics(SM_CYSCREEN) * kTwips;
    // Missing: centred by the window's size before it fits the picture.
    frmMain.mnuToolsZoom2_Click();
    EXPECT_NEAR(frmZoom.Left(), (screenWidth - designWidth) / 2, kTwips);
    EXPECT_NEAR(frmZoom.Top(), (screenHeight - designHeight) / 2, kTwips);

    frmZoom.Move(1500, 1200);
    frmZoom.Unload();
    EXPECT_EQ(ReadStoredSetting(setting::ZoomTop).Number(), 1200);
    EXPECT_EQ(ReadStoredSetting(setting::ZoomLeft).Number(), 1500);

    frmMain.mnuToolsZoom4_Click();
    EXPECT_EQ(frmZoom.Left(), 1500);
    EXPECT_EQ(frmZoom.Top(), 1200);

    // A minimised window keeps the place stored before.
    frmZoom.Move(3000, 2400);
    frmZoom.SetWindowState(FormWindowState::Minimized);
    frmZoom.Unload();
    EXPECT_EQ(ReadStoredSetting(setting::ZoomTop).Number(), 1200);
    EXPECT_EQ(ReadStoredSetting(setting::ZoomLeft).Number(), 1500);
}

TEST_F(ZoomTest, DoubleClickCopiesTheEnlargedPicture) {
    frmMain.pnlResult.SetBackColor(RGB(255, 255, 255));
    frmMain.mnuToolsZoom5_Click();
    // The test programs share the clipboard; they take turns through one lock.
    UniqueHandle lock(CreateMutexA(nullptr, FALSE, "OrnavaleTestClipboard"));
    ASSERT_EQ(WaitForSingleObject(lock.get(), 30000), WAIT_OBJECT_0);
    HWND picture = frmZoom.picZoom.hwnd();
    // A click in the plain zoom does nothing; the second click of a double-click copies.
    SendMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    SendMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    EXPECT_TRUE(Showing(frmZoom));
    SendMessageA(picture, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 40));
    SendMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    EXPECT_TRUE(Showing(frmZoom));

    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    auto copied = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP bm{};
    ASSERT_TRUE(copied && GetObjectA(copied, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 160);
    EXPECT_EQ(bm.bmHeight, 160);
    {
        UniqueMemDC dc(CreateCompatibleDC(nullptr));
        SelectInDC in(dc.get(), copied);
        EXPECT_EQ(GetPixel(dc.get(), 2, 2), RGB(255, 255, 255));
        EXPECT_EQ(GetPixel(dc.get(), 80, 80), kResult);
        EXPECT_EQ(GetPixel(dc.get(), 12, 140), kResult);
    }
    EmptyClipboard();
    CloseClipboard();
    ReleaseMutex(lock.get());
}

TEST_F(ZoomTest, ShowsTheImportOrChangePictureUnderTheirFlags) {
    lender.picImport.SetIcon(OneColourIcon(32, kImport));
    lender.picChange.SetIcon(OneColourIcon(32, kChange));
    SetImportPicture(&lender.picImport);
    SetChangePicture(&lender.picChange);
    struct Case {
        bool import, applying;
        COLORREF shown;
    } cases[] = {
        {false, false, kResult},
        {true, false, kImport},
        {false, true, kChange},
        {true, true, kChange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "import " << c.import << " applying " << c.applying);
        gImportMode = c.import;
        gChangeApplying = c.applying;
        frmMain.mnuToolsZoom2_Click();
        EXPECT_EQ(frmZoom.picZoom.Point(32, 32), c.shown);
        // The picker shows the same picture.
        PickWith([&] {
            EXPECT_EQ(frmZoom.picZoom.Point(160, 160), c.shown);
            frmZoom.Unload(UnloadMode::FormControlMenu);
        });
    }
}

TEST_F(ZoomTest, PickerSetsTheHotSpotFromTheSourcePixelUnderTheClick) {
    struct Case {
        const char* what;
        int x, y;  // the pixel clicked; negative: closed by its close box
        int32_t hotX, hotY;
    } cases[] = {
        {"left half of a pixel", 165, 40, 16, 4},
        {"right and lower half of the last pixels", 175, 319, 17, 31},
        {"top left", 0, 0, 0, 0},
        {"no click", -1, -1, 16, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gHotSpotX = gHotSpotY = 7;
        PickWith([&] {
            EXPECT_TRUE(gHotSpotMode);
            EXPECT_TRUE(frmZoom.IsModal());
            EXPECT_EQ(frmZoom.Caption(), "Set the Cursor's Hotspot");
            EXPECT_EQ(gZoomFactor, 10);
            EXPECT_EQ(frmZoom.picZoom.Width(), 320 * kTwips);
            EXPECT_EQ(frmZoom.picZoom.MousePointer(), PointerShape::Custom);
            EXPECT_TRUE(frmZoom.picZoom.MouseIcon());
            if (c.x < 0) PostMessageA(frmZoom.hwnd(), WM_CLOSE, 0, 0);
            else PostClick(c.x, c.y);
        });
        EXPECT_EQ(gHotSpotX, c.hotX);
        EXPECT_EQ(gHotSpotY, c.hotY);
    }
    // The picker's cross-hair points with its centre.
    ICONINFO pointer{};
    ASSERT_TRUE(GetIconInfo(frmZoom.picZoom.MouseIcon(), &pointer));
    UniqueBitmap pointerMask(pointer.hbmMask), pointerColour(pointer.hbmColor);
    EXPECT_FALSE(pointer.fIcon);
    EXPECT_EQ(pointer.xHotspot, 16u);
    EXPECT_EQ(pointer.yHotspot, 15u);
    // The next plain zoom has the ordinary pointer and its own factor.
    frmMain.mnuToolsZoom3_Click();
    EXPECT_EQ(frmZoom.picZoom.MousePointer(), PointerShape::Default);
    EXPECT_EQ(gZoomFactor, 3);
}

TEST(HotSpotPixel, RoundsDownInsideThePicture) {
    struct Case {
        float twips;
        int factor;
        int32_t pixel;
    } cases[] = {
        {2475, 10, 16}, {2625, 10, 17}, {4785, 10, 31}, {600, 10, 4}, {149, 10, 0},
        {-30, 10, 0},   {4800, 10, 31}, {9000, 10, 31}, {74, 5, 0},   {75, 5, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(HotSpotPixel(c.twips, c.factor, 15), c.pixel) << c.twips << " at " << c.factor;
}

TEST_F(ZoomTest, ReminderComesFirstUntilTurnedOff) {
    struct Seen {
        bool message = false, picker = false, okShown = true;
        std::string caption, button, text;
    };
    auto run = [](Seen& seen, bool tickNoShow) {
        WhileModal(
            [&seen, tickNoShow] {
                if (Showing(frmMessage) && !seen.message) {
                    seen.message = true;
                    seen.caption = frmMessage.Caption();
                    seen.button = frmMessage.cmdRestart.Text();
                    seen.text = frmMessage.txtMessage.Text();
                    seen.okShown = frmMessage.cmdOK.Visible();
                    if (tickNoShow) frmMessage.chkNoShow.SetValue(1);
                    SendMessageA(frmMessage.cmdRestart.hwnd(), BM_CLICK, 0, 0);
                } else if (Showing(frmZoom) && !seen.picker) {
                    seen.picker = true;
                    EXPECT_FALSE(frmMessage.IsLoaded());
                    PostClick(50, 60);
                }
            },
            [] { frmMain.procSetHotSpot(); });
    };
    Seen first;
    run(first, false);
    EXPECT_TRUE(first.message);
    EXPECT_TRUE(first.picker);
    EXPECT_EQ(first.caption, "Change Cursors");
    EXPECT_EQ(first.button, "Define Hotspot Now");
    EXPECT_FALSE(first.okShown);
    EXPECT_EQ(first.text,
              "Due to the compressed Icon storage format of Ornavale, a cursor's Hotspot is lost. Please set the "
              "Cursor's Hotpot again. I.e the Hotspot of a mouse pointer would be the arrow top.");
    EXPECT_EQ(gHotSpotX, 5);
    EXPECT_EQ(gHotSpotY, 6);

    Seen ticked;
    run(ticked, true);
    EXPECT_TRUE(ticked.message);
    EXPECT_EQ(ReadStoredSetting(setting::NoCursorChange).Text(), "1");

    Seen after;
    run(after, false);
    EXPECT_FALSE(after.message);
    EXPECT_TRUE(after.picker);
}

TEST_F(ZoomTest, PickerReplacesAnOpenPlainZoom) {
    frmMain.mnuToolsZoom5_Click();
    ASSERT_TRUE(Showing(frmZoom));
    PickWith([] {
        EXPECT_TRUE(frmZoom.IsModal());
        EXPECT_EQ(frmZoom.Caption(), "Set the Cursor's Hotspot");
        PostClick(100, 100);
    });
    EXPECT_EQ(gHotSpotX, 10);
    EXPECT_EQ(gHotSpotY, 10);
}
