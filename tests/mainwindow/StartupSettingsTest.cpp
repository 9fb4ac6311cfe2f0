// The main window's start-up applies every stored setting, and its defaults on an empty registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "BoxRecorder.h"
#include "TestSupport.h"
#include "common/OpenPaths.h"
#include "common/Paging.h"
#include "core/Global.h"
#include "core/Instance.h"
#include "core/Settings.h"
#include "core/ShellFolders.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "ui/App.h"

namespace {

struct Stored {
    const SettingDef* def;
    Variant value;
};

class StartupSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static bool once = (InitApp(GetModuleHandleA(nullptr)), gEndWhenNoForms = false, true);
        (void)once;
    }
    void Load(std::initializer_list<Stored> stored) {
        CleanStore::Wipe();
        PresetQuietStart();
        for (const Stored& s : stored) WriteSetting(*s.def, s.value);
        frmMain.Load();
    }
    void TearDown() override {
        frmMain.Unload();
        CleanStore::Wipe();
    }
    bool Checked(int id) { return frmMain.Menus().Find(id)->checked; }
};

// Whether the window's whole caption lies on the screen.
bool OnTheScreen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
           r.top + GetSystemMetrics(SM_CYCAPTION) <= GetSystemMetrics(SM_CYSCREEN);
}

// Whether the tree and the result list each show at least 100 px inside the window, side by side.
void ExpectPanesInside() {
    const int inside = frmMain.ScaleWidth();
    const Control& nav = frmMain.pnlNav;
    const Control& result = frmMain.pnlResult;
    EXPECT_GE(std::min(nav.Left() + nav.Width(), inside) - std::max(nav.Left(), 0), 100 * gTwipsX);
    EXPECT_GE(std::min(result.Left() + result.Width(), inside) - std::max(result.Left(), 0), 100 * gTwipsX);
    EXPECT_GE(result.Left(), nav.Left() + nav.Width());
}

}  // namespace

TEST_F(StartupSettingsTest, DefaultsOnAnEmptyRegistry) {
    Load({});
    EXPECT_EQ(gIconsPerPage, 200);
    EXPECT_EQ(frmMain.pnlResult.View(), 0);
    EXPECT_TRUE(Checked(ID_mnuViewLargeIcons));
    EXPECT_TRUE(Checked(ID_mnuViewToolbarTextLabels));
    EXPECT_TRUE(Checked(ID_mnuViewStatusBar));
    for (int band = 1; band <= 3; ++band) EXPECT_TRUE(frmMain.pnlCoolBar.BandVisible(band)) << band;
    EXPECT_TRUE(frmMain.pnlCoolBar.BandNewRow(2));
    EXPECT_TRUE(frmMain.pnlCoolBar.BandNewRow(3));
    EXPECT_EQ(gDCAction, "None");
    EXPECT_EQ(gDCZoom, 4);
    EXPECT_FALSE(frmMain.pnlResult.HotTracking());
    EXPECT_FALSE(gSearchFav);
}

TEST_F(StartupSettingsTest, StoredSettingsApplied) {
    struct Case {
        const char* name;
        std::initializer_list<Stored> stored;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"page size not a number", {{&setting::IconsPerPage, "lots"}}, [] { EXPECT_EQ(gIconsPerPage, 200); }},
        {"page size 0", {{&setting::IconsPerPage, "0"}}, [] { EXPECT_EQ(gIconsPerPage, 200); }},
        {"page size 50", {{&setting::IconsPerPage, "50"}}, [] { EXPECT_EQ(gIconsPerPage, 50); }},
        {"list view", {{&setting::ViewType, "2"}}, [] { EXPECT_EQ(frmMain.pnlResult.View(), 2); }},
        {"details view", {{&setting::ViewType, "3"}}, [this] {
             EXPECT_EQ(frmMain.pnlResult.View(), 3);
             EXPECT_TRUE(Checked(ID_mnuViewDetails));
             EXPECT_FALSE(Checked(ID_mnuViewLargeIcons));
         }},
        {"labels other than True", {{&setting::TextLabel, "true"}}, [this] { EXPECT_FALSE(Checked(ID_mnuViewToolbarTextLabels)); }},
        {"status bar off", {{&setting::Statusbar, "False"}}, [this] {
             EXPECT_FALSE(Checked(ID_mnuViewStatusBar));
             EXPECT_FALSE(frmMain.pnlStatusbar.Visible());
         }},
        {"your bar hidden skips its row and width",
         {{&setting::YourToolbar, "False"}, {&setting::YourPos, "False"}, {&setting::StandardToolbarWidth, "1500"}},
         [] {
             EXPECT_FALSE(frmMain.pnlCoolBar.BandVisible(2));
             EXPECT_TRUE(frmMain.pnlCoolBar.BandNewRow(2));
         }},
        {"keyword bar on the same row", {{&setting::KeywordPos, "False"}}, [] {
             EXPECT_FALSE(frmMain.pnlCoolBar.BandNewRow(3));
         }},
        {"zoom 0 stays 0", {{&setting::DCZoom, int32_t{0}}}, [] { EXPECT_EQ(gDCZoom, 0); }},
        {"double-click options", {{&setting::DCAction, "Copy"}, {&setting::DCPlay, "1"}, {&setting::SearchFav, "1"}},
         [] {
             EXPECT_EQ(gDCAction, "Copy");
             EXPECT_TRUE(gDCPlay);
             EXPECT_TRUE(gSearchFav);
         }},
        {"hot tracking", {{&setting::HotTracking, "True"}}, [] { EXPECT_TRUE(frmMain.pnlResult.HotTracking()); }},
        {"maximised", {{&setting::MainState, int32_t{2}}},
         [] { EXPECT_EQ(frmMain.WindowState(), FormWindowState::Maximized); }},
        {"position at 0", {{&setting::MainLeft, int32_t{0}}, {&setting::MainTop, int32_t{0}}}, [] {
             EXPECT_EQ(gWinLeft, 0);
             EXPECT_EQ(gWinTop, 0);
         }},
        {"place off every screen", {{&setting::MainLeft, int32_t{-100000}}, {&setting::MainTop, int32_t{2147483647}}},
         [] { EXPECT_TRUE(OnTheScreen(frmMain.hwnd())); }},
        {"splitter far right", {{&setting::Splitter, "999999"}}, [] { ExpectPanesInside(); }},
        {"splitter far left", {{&setting::Splitter, "-5000"}}, [] { ExpectPanesInside(); }},
        {"column widths below the least",
         {{&setting::Colwidth1, "0"}, {&setting::Colwidth2, "-15"}, {&setting::Colwidth3, "3000"}}, [] {
             for (ListView* list : {&frmMain.pnlResult, &frmMain.pnlDummy}) {
                 EXPECT_EQ(list->ColumnWidth(1), 40 * gTwipsX);
                 EXPECT_EQ(list->ColumnWidth(2), 40 * gTwipsX);
                 EXPECT_EQ(list->ColumnWidth(3), 3000);
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.stored);
        c.check();
        frmMain.Unload();
    }
}

namespace {

// Band `band` of the cool bar in pixels, and the height of its tool bar's buttons.
int BandHeightPx(int band) {
    HWND bar = frmMain.pnlCoolBar.hwnd();
    RECT r{};
    SendMessageA(bar, RB_GETRECT, static_cast<WPARAM>(SendMessageA(bar, RB_IDTOINDEX, static_cast<WPARAM>(band), 0)),
                 reinterpret_cast<LPARAM>(&r));
    return r.bottom - r.top;
}
int ButtonHeightPx(ToolBar& bar) { return HIWORD(SendMessageA(bar.hwnd(), TB_GETBUTTONSIZE, 0, 0)); }

// Whether each tool bar's band and window hold its buttons whole.
void ExpectBandsHoldTheirButtons() {
    ToolBar* bars[] = {&frmMain.pnlToolbar, &frmMain.pnlToolbarYour};
    for (int band = 1; band <= 2; ++band) {
        ToolBar& bar = *bars[band - 1];
        RECT r{};
        GetClientRect(bar.hwnd(), &r);
        EXPECT_GE(BandHeightPx(band), ButtonHeightPx(bar)) << "band " << band;
        EXPECT_GE(r.bottom, ButtonHeightPx(bar)) << "band " << band;
    }
}

}  // namespace

TEST_F(StartupSettingsTest, EachToolBarsBandHoldsItsButtonsWhateverIsStored) {
    struct Case {
        const char* name;
        std::initializer_list<Stored> stored;
        bool labels;
    };
    const Case cases[] = {
        {"first start: nothing stored", {}, true},
        {"as an exit stores them",
         {{&setting::TextLabel, "True"}, {&setting::Toolbar, "True"}, {&setting::YourToolbar, "True"},
          {&setting::YourPos, "True"}, {&setting::Keywordbar, "True"}, {&setting::KeywordPos, "True"}},
         true},
        {"your bar beside the standard one", {{&setting::YourPos, "False"}, {&setting::StandardToolbarWidth, "5430"}}, true},
        {"keyword bar beside your bar", {{&setting::KeywordPos, "False"}, {&setting::YourToolbarWidth, "3000"}}, true},
        {"labels off", {{&setting::TextLabel, "False"}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.stored);
        frmMain.Show();
        ExpectBandsHoldTheirButtons();
        // A picture of 24 pixels with a line of text below it, or the picture alone (with its margins).
        EXPECT_EQ(ButtonHeightPx(frmMain.pnlToolbarYour) > 24 + 12, c.labels);
        frmMain.Unload();
    }
}

TEST_F(StartupSettingsTest, LabelsInALargerFontMakeTheButtonsAndTheirBandHigher) {
    Load({});
    LOGFONTA big{};
    big.lfHeight = -30;
    std::strcpy(big.lfFaceName, "Tahoma");
    HFONT font = CreateFontIndirectA(&big);
    ASSERT_TRUE(font);
    for (ToolBar* bar : {&frmMain.pnlToolbar, &frmMain.pnlToolbarYour})
        SendMessageA(bar->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    frmMain.mnuViewToolbarTextLabels_Click();  // off
    frmMain.mnuViewToolbarTextLabels_Click();  // on again, measured in the new font
    EXPECT_GE(ButtonHeightPx(frmMain.pnlToolbarYour), 24 + 30);
    ExpectBandsHoldTheirButtons();
    frmMain.Unload();
    DeleteObject(font);
}

TEST_F(StartupSettingsTest, TheFavoritesFolderBecomesTheCurrentDirectoryAfterTheCommandLineIsOpened) {
    auto current = [] {
        char path[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, path);
        std::string s = path;
        if (s.back() != '\\') s += '\\';
        return s;
    };
    TempDir start, stored;
    start.File("Icons\\relative.ico");
    BoxRecorder recorder;
    BoxRecorder::onShow = [](const ShownBox& box) { ADD_FAILURE() << box; };
    struct Case {
        const char* name;
        const TempDir* favDir;  // stored as FavDir, or none
        bool existing;          // the program folder's favorites folder is there before
    } cases[] = {{"first start", nullptr, false}, {"folder there", nullptr, true}, {"stored folder", &stored, false}};
    // The program folder's own favorites folder, named after the shell's.
    std::string shell = GetSpecialFolder(CSIDL_FAVORITES);
    while (!shell.empty() && shell.back() == '\\') shell.pop_back();
    const std::string name = shell.empty() ? "Favorites" : shell.substr(shell.rfind('\\') + 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CleanStore::Wipe();
        PresetQuietStart();
        const std::string own = gAppPath + name + "\\";
        ASSERT_TRUE(SetCurrentDirectoryA(start.path().c_str()));
        RemoveDirectoryA(own.c_str());
        if (c.existing) CreateDirectoryA(own.c_str(), nullptr);
        if (c.favDir) WriteSetting(setting::FavDir, c.favDir->path());
        gStartArguments = [] { return std::string("Icons\\relative.ico"); };
        frmMain.lstFiles.Clear();
        frmMain.Load();

        ASSERT_EQ(frmMain.lstFiles.ListCount(), 1);
        EXPECT_EQ(frmMain.lstFiles.List(0), LowerAnsi(start.path() + "Icons\\relative.ico"));
        if (c.favDir) {
            EXPECT_EQ(_stricmp(current().c_str(), start.path().c_str()), 0) << current();
        } else {
            EXPECT_EQ(_stricmp(current().c_str(), own.c_str()), 0) << current();
        }
        frmMain.Unload();
    }
}
