// The loaded main window: panes that follow the splitter and the selection, busy mode, page clearing.
#include <gtest/gtest.h>

#include "TestSupport.h"

#include <string_view>
#include <vector>

#include "core/FolderWalk.h"
#include "core/OSVersion.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/NavIcons.h"
#include "mainwindow/Selection.h"
#include "ui/App.h"

namespace {

const int kBusyMenus[] = {ID_mnuFile, ID_mnuEdit,  ID_mnuView, ID_mnuGo,   ID_mnuFavorite,
                          ID_mnuRef,  ID_mnuTools, ID_mnuHelp, ID_mnuGoBar};
const char* const kBusyButtons[] = {"view", "open", "create", "help", "favedit", "favrefresh", "refedit"};
const char* const kIdleButtons[] = {"firstpage", "prevpage", "nextpage", "lastpage", "save",   "copy",
                                    "play",      "prop",     "zoom",     "close",    "change", "favadd",
                                    "favdel",    "favgroupadd", "favgroupdel", "refadd", "refdel"};
// Page commands, then a sample of the item commands: a context item disabled, one hidden, one without.
const std::pair<int, const char*> kCommands[] = {
    {ID_mnuGoFirstPage, "firstpage"}, {ID_mnuGoPrevPage, "prevpage"}, {ID_mnuGoNextPage, "nextpage"},
    {ID_mnuGoLastPage, "lastpage"},   {ID_mnuFileProperties, "prop"}, {ID_mnuResultClickCopy, "copy"},
    {ID_mnuResultClickPlay, "play"},  {ID_mnuToolsChangeFolder, "changefolder"}};

// The user tool bar's keys are those of favorites, references and changes.
ToolBar& BarOf(std::string_view key) {
    bool your = key.starts_with("fav") || key.starts_with("ref") || key.starts_with("change");
    return your ? frmMain.pnlToolbarYour : frmMain.pnlToolbar;
}
ToolButton& Button(const char* key) { return BarOf(key).Buttons(key); }
MenuItem& Menu(int id) {
    if (!frmMain.Menus().Find(id)) frmMain.Menus().Add(0, MenuItem{id, "item", true, true, false, {}});
    return *frmMain.Menus().Find(id);
}

// Buttons, menu items and pictures that other parts of the window have not made yet are made here,
// so that the code runs against real ones.
class PanesAndBusyModeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        InitApp(GetModuleHandleA(nullptr));
        gEndWhenNoForms = false;
        PresetQuietStart();
        frmMain.Load();
        std::vector<const char*> keys = {"abort", "changefolder"};
        keys.insert(keys.end(), std::begin(kBusyButtons), std::end(kBusyButtons));
        keys.insert(keys.end(), std::begin(kIdleButtons), std::end(kIdleButtons));
        for (const char* key : keys)
            if (!BarOf(key).Find(key)) BarOf(key).Add(key);
        for (int id : kBusyMenus) Menu(id);
        for (auto [id, key] : kCommands) Menu(id);
        for (const char* key : {"redledon", "redledoff", "empty"})
            if (frmMain.imlNav.IndexOf(key) < 0)
                frmMain.imlNav.Add(key, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    }
    static void TearDownTestSuite() { frmMain.Unload(); }
    void TearDown() override { SetScreenMousePointer(PointerShape::Default); }
};

TEST_F(PanesAndBusyModeTest, ResizeShowsThePathOfAFileButNotOfACatalogueIcon) {
    gItemPath = "C:\\Icons\\a.ico";
    gSelDir = "C:\\Icons\\";
    gSelFile = "a.ico";
    for (auto [origin, text] : {std::pair{"Ornavale", "kept"}, std::pair{"File", "C:\\Icons\\a.ico"}}) {
        ListItem& item = frmMain.pnlResult.Add(-1, "", "a.ico");
        item.SetSubItem(2, origin);
        frmMain.pnlResult.SetSelectedItem(&item);
        gPanelMessage->SetText("kept");
        frmMain.HandleMessage(WM_SIZE, 0, 0);
        EXPECT_EQ(gPanelMessage->Text(), text) << origin;
    }
}

TEST_F(PanesAndBusyModeTest, SplitterFollowsTheMouseOnlyWhileHeld) {
    HWND split = frmMain.picSplitV.hwnd();
    SendMessageA(split, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(frmMain.pnlNav.Width() / 15 + 2, 10));
    SendMessageA(split, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 10));
    EXPECT_EQ(frmMain.picSplitV.MousePointer(), PointerShape::SizeWE);
    EXPECT_EQ(frmMain.pnlNav.Width(), 250 * 15);
    EXPECT_EQ(frmMain.picSplitV.Width(), 254 * 15);
    EXPECT_EQ(frmMain.pnlDummy.Left(), 254 * 15);
    SendMessageA(split, WM_LBUTTONUP, 0, MAKELPARAM(250, 10));
    SendMessageA(split, WM_MOUSEMOVE, 0, MAKELPARAM(300, 10));
    EXPECT_EQ(frmMain.pnlNav.Width(), 250 * 15);
}

TEST_F(PanesAndBusyModeTest, TheTreeKeepsItsWidthThroughAMinimise) {
    const int width = frmMain.pnlNav.Width();
    ShowWindow(frmMain.hwnd(), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(frmMain.hwnd()));
    frmMain.HandleMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    ShowWindow(frmMain.hwnd(), SW_RESTORE);
    EXPECT_EQ(frmMain.pnlNav.Width(), width);
    ShowWindow(frmMain.hwnd(), SW_HIDE);
}

TEST_F(PanesAndBusyModeTest, BusyModeSwitchesExactlyItsControls) {
    gFolderIconSupport = false;
    bool on = false;
    for (const char* key : kIdleButtons) Button(key).SetEnabled(on = !on);
    Button("changefolder").SetEnabled(true);
    frmMain.Menus().SetEnabled(ID_mnuTools, false);  // off before, on after
    // Twice in, once out: no count is kept.
    for (bool bSet : {false, false, true}) {
        SetScreenMousePointer(PointerShape::Default);
        frmMain.procSetAbort(bSet);
        EXPECT_EQ(ScreenMousePointer(), PointerShape::ArrowHourglass);
        EXPECT_EQ(Button("abort").Enabled(), !bSet);
        EXPECT_EQ(IsWindowEnabled(frmMain.picSplitV.hwnd()) != FALSE, bSet);
        EXPECT_EQ(IsWindowEnabled(frmMain.pnlNav.hwnd()) != FALSE, bSet);
        EXPECT_TRUE(IsWindowEnabled(frmMain.pnlResult.hwnd()));
        for (int id : kBusyMenus) EXPECT_EQ(Menu(id).enabled, bSet) << id;
        for (const char* key : kBusyButtons) EXPECT_EQ(Button(key).Enabled(), bSet) << key;
        on = false;
        for (const char* key : kIdleButtons) EXPECT_EQ(Button(key).Enabled(), on = !on) << key;
        EXPECT_TRUE(Button("changefolder").Enabled());  // without folder icons
    }
    gFolderIconSupport = true;
    Button("changefolder").SetEnabled(false);
    frmMain.procSetAbort(false);
    frmMain.procSetAbort(true);
    EXPECT_TRUE(Button("changefolder").Enabled());
}

TEST_F(PanesAndBusyModeTest, ClearEmptiesThePageAndWithdrawsTheAbort) {
    frmMain.pnlResult.Add(-1, "", "b");
    frmMain.pnlResult.SetSortKey(1);
    frmMain.pnlResult.SetSorted(true);
    frmMain.imlResult32.Add("", LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    frmMain.pnlResult.SetIcons(&frmMain.imlResult32);
    frmMain.pnlResult.SetSmallIcons(&frmMain.imlResult32);
    frmMain.pnlProgressBar.SetValue(40);
    gPanelArea->SetText("Page 1 of 3");
    gPanelType->SetText("Hi-Color Icon");
    frmMain.tmrLed.SetInterval(500);
    frmMain.tmrLed.SetTimerEnabled(true);
    gAbort = gFilmMode = true;

    frmMain.procClearResult();
    HWND list = frmMain.pnlResult.hwnd();
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    EXPECT_FALSE(frmMain.pnlResult.Sorted());
    EXPECT_EQ(frmMain.pnlResult.SortKey(), 1);
    EXPECT_EQ(ListView_GetImageList(list, LVSIL_NORMAL), nullptr);
    EXPECT_EQ(ListView_GetImageList(list, LVSIL_SMALL), nullptr);
    EXPECT_EQ(frmMain.imlResult32.Count(), 0);
    EXPECT_EQ(frmMain.pnlProgressBar.Value(), 0);
    EXPECT_EQ(gPanelArea->Text() + gPanelType->Text(), "");
    EXPECT_EQ(gPanelType->Picture(), NavIcon("empty"));
    EXPECT_FALSE(frmMain.tmrLed.TimerEnabled());
    EXPECT_EQ(gPanelArea->Picture(), NavIcon("redledoff"));
    EXPECT_FALSE(gAbort || gFilmMode);

    // A stopped light keeps its picture.
    gPanelArea->SetPicture(NavIcon("redledon"));
    frmMain.procClearResult();
    EXPECT_EQ(gPanelArea->Picture(), NavIcon("redledon"));
}

TEST_F(PanesAndBusyModeTest, ClearTurnsItemCommandsOffOnlyWhilePropertiesIsOn) {
    for (bool propertiesOn : {true, false}) {
        for (auto [id, key] : kCommands) {
            Menu(id).enabled = Menu(id).visible = true;
            Button(key).SetEnabled(true);
        }
        Menu(ID_mnuFileProperties).enabled = propertiesOn;
        frmMain.procClearResult();
        for (int i = 0; i < 8; ++i) {
            bool page = i < 4;
            EXPECT_EQ(Button(kCommands[i].second).Enabled(), !page && !propertiesOn) << i << propertiesOn;
        }
        EXPECT_EQ(Menu(ID_mnuToolsChangeFolder).enabled, !propertiesOn);
        EXPECT_EQ(Menu(ID_mnuResultClickCopy).enabled, !propertiesOn);
        EXPECT_EQ(Menu(ID_mnuResultClickPlay).visible, !propertiesOn);
        EXPECT_FALSE(Menu(ID_mnuGoNextPage).enabled);
    }
}

}  // namespace
