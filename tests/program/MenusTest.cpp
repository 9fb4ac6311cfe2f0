// Menus, tool bars and context menu: every button, drop-down item and menu item reaches a handler, the
// default zoom, busy mode, the page light, the Go and Help commands and the saved tool bar layout.
#include <set>

#include "MainWindowFixture.h"
#include "TestSupport.h"
#include "core/FolderWalk.h"
#include "core/Global.h"
#include "program/MainCommands.h"

namespace {

std::set<std::string_view> Keys(std::span<const MainKeyCommand> table) {
    std::set<std::string_view> keys;
    for (const MainKeyCommand& c : table) keys.insert(c.key);
    return keys;
}

void Leaves(const std::vector<MenuItem>& items, std::vector<const MenuItem*>& out) {
    for (const MenuItem& m : items) {
        if (m.children.empty()) out.push_back(&m);
        Leaves(m.children, out);
    }
}

}  // namespace

TEST_F(MainWindowTest, EveryButtonAndDropDownItemHasItsCommandAndPicture) {
    std::set<std::string_view> dropDownKeys;
    using Bar = std::pair<ToolBar*, std::span<const MainKeyCommand>>;
    for (auto [bar, commands] : {Bar{&frmMain.pnlToolbar, kStandardButtonCommands},
                                 Bar{&frmMain.pnlToolbarYour, kYourButtonCommands}}) {
        std::set<std::string_view> onBar;
        for (int i = 1; i <= bar->ButtonCount(); ++i) {
            ToolButton& b = bar->Buttons(i);
            onBar.insert(b.Key());
            EXPECT_EQ(b.Tag, b.Caption()) << b.Key();
            for (const ButtonMenu& m : b.ButtonMenus()) dropDownKeys.insert(m.key);
            TBBUTTONINFOA info{};
            info.cbSize = sizeof info;
            info.dwMask = TBIF_IMAGE;
            SendMessageA(bar->hwnd(), TB_GETBUTTONINFOA, static_cast<WPARAM>(b.Id()), reinterpret_cast<LPARAM>(&info));
            EXPECT_GE(info.iImage, 0) << b.Key();
        }
        EXPECT_EQ(onBar, Keys(commands));
    }
    EXPECT_EQ(dropDownKeys, Keys(kButtonMenuCommands));
    for (const char* unknown : {"", "stop", "View", "zoom11"}) {
        EXPECT_FALSE(FindKeyAction(kStandardButtonCommands, unknown)) << unknown;
        EXPECT_FALSE(FindKeyAction(kButtonMenuCommands, unknown)) << unknown;
    }
}

TEST_F(MainWindowTest, EveryMenuItemRunsAHandlerAndEveryHandlerHasItsItem) {
    std::vector<const MenuItem*> leaves;
    Leaves(frmMain.Menus().Items(), leaves);
    for (const MenuItem* m : leaves) EXPECT_EQ(HasMenuCommand(m->id), !m->IsSeparator()) << m->id << m->caption;
    for (const auto& c : kMenuCommands) EXPECT_TRUE(frmMain.Menus().Find(c.id)) << c.id;
    for (const auto& r : kMenuCommandRanges) EXPECT_TRUE(frmMain.Menus().Find(r.first)) << r.first;
    // Page 1 of both page menus is there from the start.
    EXPECT_EQ(frmMain.Menus().Find(ID_mnuGoToPageNr_First + 1)->caption, "1");
    EXPECT_EQ(frmMain.Menus().ArrayUBound(ID_mnuGoBarToPageNr_First), 1);
}

TEST(ZoomByDefault, FactorOfTheDefaultIndex) {
    struct Case {
        int index;
        bool fallback;
        int factor;
    };
    const Case cases[] = {{0, false, 2}, {3, false, 5}, {4, true, 10}, {4, false, 10},
                          {5, true, 10}, {5, false, 0}, {-1, true, 10}, {-1, false, 0}};
    for (Case c : cases) EXPECT_EQ(DefaultZoomFactor(c.index, c.fallback), c.factor) << c.index << c.fallback;
}

TEST_F(MainWindowTest, WhileBusyOnlyTheAbortButtonActs) {
    SetBusy(true);
    frmMain.pnlToolbar.Buttons("abort").SetEnabled(true);
    Click(frmMain.pnlToolbar, "close");
    EXPECT_TRUE(frmMain.IsLoaded());
    gPopupHook = [](HMENU, int, int) { return static_cast<int>(ID_mnuResultClickViewDetails); };
    frmMain.PopupMenu(ID_mnuWhite);
    EXPECT_TRUE(Checked(ID_mnuViewLargeIcons));
    Click(frmMain.pnlToolbar, "abort");
    EXPECT_TRUE(gAbort);

    SetBusy(false);
    frmMain.PopupMenu(ID_mnuWhite);
    gPopupHook = nullptr;
    EXPECT_TRUE(Checked(ID_mnuViewDetails));
    Click(frmMain.pnlToolbar, "close");
    EXPECT_FALSE(frmMain.IsLoaded());
}

TEST_F(MainWindowTest, PageLightBlinksBetweenItsTwoPictures) {
    EXPECT_EQ(frmMain.tmrLed.Interval(), 1500);
    EXPECT_FALSE(frmMain.tmrLed.TimerEnabled());
    frmMain.mLedOn = false;
    for (const char* picture : {"redledon", "redledoff", "redledon"}) {
        frmMain.tmrLed_Timer();
        ASSERT_TRUE(NavPicture(picture));
        EXPECT_EQ(gPanelArea->Picture(), NavPicture(picture)) << picture;
    }
    gPanelArea = nullptr;  // before the status bar has its panels
    frmMain.tmrLed_Timer();
    EXPECT_FALSE(frmMain.mLedOn);
}

TEST_F(MainWindowTest, GoAndHelpCommands) {
    static std::string opened;
    ShellOpen shell = gShellOpen;
    gShellOpen = [](HWND, const char*, const char* file, const char*, const char* folder, int show) {
        opened = std::string(file) + "|" + folder + "|" + std::to_string(show);
        return reinterpret_cast<HINSTANCE>(42);
    };
    frmMain.mnuGoHomePage_Click();
    EXPECT_EQ(opened, "https://ornavale.example/|c:\\|1");
    EXPECT_EQ(gResult, Variant(42));
    Command(ID_mnuGoMail);
    EXPECT_EQ(opened, "mailto:support@ornavale.example|c:\\|1");
    gShellOpen = shell;

    Command(ID_mnuHelpTopics);
    Command(ID_mnuHelpSearch);
    Click(frmMain.pnlToolbar, "help");
    const std::string text = "The Ornavale Help file could not be found.";
    EXPECT_EQ(boxes, (std::vector<ShownBox>{{text, MB_ICONINFORMATION, "Help error"}, {text, MB_ICONINFORMATION, "Help Error"}, {text, MB_ICONINFORMATION, "Help error"}}));
}

TEST_F(MainWindowTest, ChangedToolbarSavesItsLayoutAtOnce) {
    DeleteRegTree(HKEY_CURRENT_USER, "Ornavale");
    frmMain.pnlToolbar_Change();
    DWORD size = 0;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Ornavale\\Settings", "Toolbar", RRF_RT_ANY, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_GT(size, 0u);
    DeleteRegTree(HKEY_CURRENT_USER, "Ornavale");
}
