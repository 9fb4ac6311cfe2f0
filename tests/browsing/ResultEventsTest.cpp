// The events of the tree, the result list and the status bar: the double-click actions, the item
// menu with its bold item and the menu beside the items, sorting by a column, the Delete key by
// origin, the page panel's menu, Esc in the tree only while busy, and a busy window that ignores
// all but Esc.
// The mouse and the keys are real input.
#include "PageFixture.h"

#include <string>
#include <vector>

#include "IconMaker.h"
#include "browsing/Favorites.h"
#include "browsing/ResultActions.h"
#include "common/ResultEntry.h"
#include "core/Files.h"
#include "core/Global.h"
#include "core/ScopedValue.h"
#include "program/MainCommands.h"
#include "mainwindow/Options.h"
#include "mainwindow/Selection.h"
#include "mainwindow/SelectionPolicy.h"
#include "output/FrmZoom.h"

namespace {

// What a popup menu was shown with: its menu (the model's id) and its bold item (-1: none).
struct Popup {
    int menu = 0;
    int bold = -1;
};
std::vector<Popup> gPopups;

int RecordPopup(HMENU menu, int, int) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    GetMenuInfo(menu, &info);
    gPopups.push_back({static_cast<int>(info.dwMenuData), static_cast<int>(GetMenuDefaultItem(menu, FALSE, 0))});
    return 0;
}

std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;

class ResultEvents : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        gPopups.clear();
        gPopupHook = RecordPopup;
        saved = {gDCAction, gDCPlay, gDCRef, gDCRun, gDCChange};
        gDCPlay = gDCRef = gDCRun = gDCChange = false;
        gDCAction = "Copy";
        gFavDir = dir.Folder("Favorites");
        for (const char* name : {"b.ico", "a.ico", "c.ico"}) ASSERT_TRUE(WriteIconFile(dir.path() + name, 0x336699));
    }
    void TearDown() override {
        if (frmMain.IsLoaded()) frmMain.procSetAbort(true);
        gPopupHook = nullptr;
        gAbort = false;
        gDCAction = saved.action;
        gDCPlay = saved.play;
        gDCRef = saved.ref;
        gDCRun = saved.run;
        gDCChange = saved.change;
        PagesTest::TearDown();
    }
    // Three file icons: "b.ico" 16 colours, "a.ico" hi-colour, "c.ico" 256 colours.
    void FillThree() {
        Fill({OpenEntry(dir.path() + "b.ico", 0, "x", '0'), OpenEntry(dir.path() + "a.ico", 0, "x", '2'),
              OpenEntry(dir.path() + "c.ico", 0, "x", '1')});
    }
    static std::string Names() {
        std::string names;
        for (int k = 1; k <= frmMain.pnlResult.Count(); ++k) names += frmMain.pnlResult.Item(k).Text()[0];
        return names;
    }
    DoubleClickOptions saved;
};

// Pumps until the window has handled the input sent.
void Deliver() {
    for (int i = 0; i < 10; ++i) {
        Sleep(10);
        DoEvents();
    }
}

// The screen point at the middle of an item's picture.
POINT ItemPoint(int index) {
    RECT rect{};
    ListView_GetItemRect(frmMain.pnlResult.hwnd(), index - 1, &rect, LVIR_ICON);
    POINT pt{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(frmMain.pnlResult.hwnd(), &pt);
    return pt;
}

// A point of the list beside every item: its lower right corner.
POINT BesideItems() {
    RECT client{};
    GetClientRect(frmMain.pnlResult.hwnd(), &client);
    POINT pt{client.right - 10, client.bottom - 10};
    ClientToScreen(frmMain.pnlResult.hwnd(), &pt);
    return pt;
}

void Mouse(POINT at, std::initializer_list<DWORD> flags) {
    SetCursorPos(at.x, at.y);
    std::vector<INPUT> input;
    for (DWORD f : flags) {
        INPUT i{};
        i.type = INPUT_MOUSE;
        i.mi.dwFlags = f;
        input.push_back(i);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    Deliver();
}

void RightClick(POINT at) { Mouse(at, {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}); }
void LeftClick(POINT at) { Mouse(at, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}); }
void DoubleClick(POINT at) {
    Mouse(at, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

// The mouse and keys need the shown window in front.
class ResultEventsInput : public ResultEvents {
  protected:
    void SetUp() override {
        ResultEvents::SetUp();
        frmMain.Show();
        ASSERT_TRUE(SetForegroundWindow(frmMain.hwnd()));
        Deliver();
    }
};

}  // namespace

TEST(ResultActions, EachActionHasItsCommandAndNoneOrAnyOtherTextNothing) {
    using Handler = void (FrmMain::*)();
    struct Case {
        const char* action;
        Handler handler;
    } const cases[] = {
        {"Copy", &FrmMain::mnuResultClickCopy_Click},
        {"Save", &FrmMain::mnuResultClickSaveAs_Click},
        {"Zoom", &FrmMain::mnuResultClickZoom_Click},
        {"Play", &FrmMain::mnuResultClickPlay_Click},
        {"Ref", &FrmMain::mnuResultClickAddRef_Click},
        {"Run", &FrmMain::mnuResultClickRun_Click},
        {"Prop", &FrmMain::mnuResultClickProperties_Click},
        {"Change", &FrmMain::mnuResultClickChange_Click},
        {"EditWith", &FrmMain::mnuResultClickEditWith_Click},
    };
    for (const Case& c : cases) {
        const int item = ResultActionItem(c.action);
        Handler ran = nullptr;
        for (const auto& command : kMenuCommands)
            if (command.id == item) ran = command.handler;
        EXPECT_TRUE(ran == c.handler) << c.action;
    }
    for (const char* other : {"None", "", "copy", "Properties", "Save "}) EXPECT_EQ(ResultActionItem(other), 0) << other;
}

TEST_F(ResultEvents, ColumnClicksSortByThatColumnTogglingFromTheLastOrder) {
    FillThree();
    ASSERT_EQ(Names(), "bac");
    frmMain.pnlResult.SetSortOrder(lvwAscending);
    struct Step {
        int column;
        const char* names;
    } const steps[] = {
        {1, "cba"},  // descending by name
        {1, "abc"},
        {2, "acb"},  // "Hi-Color", "256 Color", "16 Color": descending by type
        {2, "bca"},
    };
    for (const Step& s : steps) {
        frmMain.pnlResult.ColumnClick(s.column);
        EXPECT_EQ(Names(), s.names) << s.column;
        EXPECT_EQ(frmMain.pnlResult.SortKey(), s.column - 1);
    }
    // A new page comes unsorted; its first click goes against the last order (ascending).
    FillThree();
    EXPECT_EQ(Names(), "bac");
    frmMain.pnlResult.ColumnClick(1);
    EXPECT_EQ(Names(), "cba");
    EXPECT_EQ(frmMain.pnlResult.SortOrder(), lvwDescending);
}

TEST_F(ResultEvents, PagePanelShowsThePageMenuUnlessThereIsOnePageOrNone) {
    Fill(std::vector<std::string>(450, OpenEntry(dir.path() + "a.ico", 0, "x", '2')));
    ::Panel& area = *frmMain.pnlStatusbar.FindPanel("area");
    ASSERT_EQ(area.Text(), "Page 1 of 3");
    struct Case {
        const char* panel;
        const char* text;
        bool menu;
    } const cases[] = {
        {"area", "Page 1 of 3", true}, {"area", "Page 3 of 3", true}, {"area", "Page 1 of 1", false},
        {"area", "", false},           {"count", "Page 1 of 3", false},
    };
    for (const Case& c : cases) {
        gPopups.clear();
        ::Panel& clicked = *frmMain.pnlStatusbar.FindPanel(c.panel);
        const std::string before = clicked.Text();
        clicked.SetText(c.text);
        frmMain.pnlStatusbar.PanelClick(clicked);
        ASSERT_EQ(gPopups.size(), c.menu ? 1u : 0u) << c.panel << " " << c.text;
        if (c.menu) {
            EXPECT_EQ(gPopups[0].menu, ID_mnuGoBar);
        }
        clicked.SetText(before);
    }
}

TEST_F(ResultEvents, WhileBusyOnlyEscInTheTreeActs) {
    FillThree();
    frmMain.pnlResult.SetSortOrder(lvwAscending);
    gDCActionNow = "None";
    frmMain.procSetAbort(false);
    frmMain.pnlResult.ColumnClick(1);
    frmMain.pnlResult.DblClick();
    frmMain.pnlResult.MouseDown(2, 0, 0, 0);
    frmMain.pnlResult.ItemClick(frmMain.pnlResult.Item(2));
    frmMain.pnlStatusbar.PanelClick(*frmMain.pnlStatusbar.FindPanel("area"));
    EXPECT_EQ(Names(), "bac");
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_TRUE(gPopups.empty());
    EXPECT_EQ(gDCActionNow, "None");  // the item click did not select
    int esc = 27, other = 'a';
    frmMain.pnlNav.KeyPress(other);
    EXPECT_FALSE(gAbort);
    frmMain.pnlNav.KeyPress(esc);
    EXPECT_TRUE(gAbort);
}

TEST_F(ResultEventsInput, RightClickSelectsTheItemAndShowsTheItemMenuWithTheActionInBold) {
    FillThree();
    struct Case {
        const char* action;
        bool refFirst;
        int bold;
    } const cases[] = {
        {"Copy", false, ID_mnuResultClickCopy},
        {"Prop", false, ID_mnuResultClickProperties},
        {"EditWith", false, ID_mnuResultClickEditWith},
        {"Copy", true, ID_mnuResultClickAddRef},  // a file icon with references first: "Ref"
        {"None", false, -1},
        {"Nothing", false, -1},
    };
    int item = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        gDCAction = c.action;
        gDCRef = c.refFirst;
        gPopups.clear();
        item = item % 3 + 1;
        RightClick(ItemPoint(item));
        ASSERT_EQ(gPopups.size(), 1u);
        EXPECT_EQ(gPopups[0].menu, ID_mnuResultClick);
        EXPECT_EQ(gPopups[0].bold, c.bold);
        EXPECT_EQ(frmMain.pnlResult.SelectedItem(), &frmMain.pnlResult.Item(item));
        EXPECT_EQ(frmMain.pnlStatusbar.FindPanel("type")->Text(), frmMain.pnlResult.Item(item).SubItem(1));
    }
}

TEST_F(ResultEventsInput, RightClickBesideTheItemsShowsTheWhiteMenuAndChangesNothing) {
    FillThree();
    gDCRef = true;
    RightClick(ItemPoint(3));  // "c.ico", 256 colours: the reference window presets option 1
    ASSERT_EQ(gDCActionNow, "Ref");
    gDCRef = false;
    gPopups.clear();
    RightClick(BesideItems());
    ASSERT_EQ(gPopups.size(), 1u);
    EXPECT_EQ(gPopups[0].menu, ID_mnuWhite);
    EXPECT_EQ(frmMain.pnlResult.SelectedItem(), &frmMain.pnlResult.Item(3));
    EXPECT_EQ(gDCActionNow, "Ref");
    EXPECT_TRUE(frmMain.Menus().Find(ID_mnuResultClickAddRef)->visible);
}

TEST_F(ResultEventsInput, ItemClickSelectsAndDoubleClickRunsTheAction) {
    FillThree();
    LeftClick(ItemPoint(2));
    EXPECT_EQ(frmMain.pnlStatusbar.FindPanel("type")->Text(), "Hi-Color Icon");
    EXPECT_EQ(frmMain.pnlResult.Tag, "a.ico");

    struct Case {
        const char* action;
        bool box;
    } const cases[] = {{"None", true}, {"Nothing", false}, {"Copy", false}, {"none", false}};
    int item = 2;
    for (const Case& c : cases) {
        gDCAction = c.action;
        gBoxes.clear();
        // Its first click selects the other item, which takes up the action.
        item = 5 - item;
        DoubleClick(ItemPoint(item));
        EXPECT_EQ(gDCActionNow, c.action);
        ASSERT_EQ(gBoxes.size(), c.box ? 1u : 0u) << c.action;
        if (!c.box) continue;
        EXPECT_EQ(gBoxes[0].text,
                  "You have not specified a user defined double click action.\n\nSelect View, Options, Double "
                  "Click tab to select a double click action.");
        EXPECT_EQ(gBoxes[0].title, "Ornavale");
        EXPECT_EQ(gBoxes[0].style, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
        EXPECT_EQ(gResult.Number().value_or(0), IDOK);
    }
}

TEST_F(ResultEventsInput, ADoubleClickOnAnItemRunsTheCommandOfItsAction) {
    static std::vector<std::string> started;
    started.clear();
    ScopedValue<ProgramStarter> starter(gStartProgram, [](const std::string& line) -> DWORD {
        started.push_back(line);
        return 42;
    });
    const std::string target = dir.path() + "tool.exe";
    struct Case {
        const char* name;
        const char* action;
        bool run;  // DCRun
        std::string entry;
        bool zoomed;
        std::vector<std::string> started;
    } const cases[] = {
        {"Zoom on a file icon", "Zoom", false, OpenEntry(dir.path() + "a.ico", 0, "x", '2'), true, {}},
        {"Run on a shortcut", "None", true, ShortcutEntry(dir.path() + "b.ico", 0, target), false,
         {"\"" + target + "\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gDCAction = c.action;
        gDCRun = c.run;
        started.clear();
        Fill({c.entry});
        DoubleClick(ItemPoint(1));
        EXPECT_EQ(frmZoom.IsLoaded() && frmZoom.Visible(), c.zoomed);
        EXPECT_EQ(started, c.started);
        EXPECT_TRUE(gBoxes.empty());
        frmZoom.Unload();
    }
}

TEST_F(ResultEventsInput, DeleteKeyDeletesOnlyAFavoriteAndNothingOnAnEmptyList) {
    const std::string fav = gFavDir + "\\f.ico";
    for (const char* origin : {"File", "Ornavale", "Reference", "File Favorite"}) {
        SCOPED_TRACE(origin);
        ASSERT_TRUE(WriteIconFile(fav, 0x0000FF));
        Fill({OpenEntry(fav, 0, "x", '1')});
        ASSERT_EQ(frmMain.pnlResult.Item(1).SubItem(2), "File Favorite");
        frmMain.pnlResult.Item(1).SetSubItem(2, origin);
        frmMain.pnlResult.SetFocus();
        TypeKeys({VK_DELETE});
        Deliver();
        EXPECT_EQ(FileExists(fav), std::string(origin) != "File Favorite");
    }
    // An empty list: the path of the last selected favorite is still known, and kept.
    ASSERT_TRUE(WriteIconFile(fav, 0x0000FF));
    Fill({OpenEntry(fav, 0, "x", '1')});
    Fill({});
    ASSERT_EQ(frmMain.pnlResult.Count(), 0);
    ASSERT_EQ(gSelDir + gSelFile, fav);
    frmMain.pnlResult.SetFocus();
    TypeKeys({VK_DELETE});
    Deliver();
    EXPECT_TRUE(FileExists(fav));
}

TEST_F(ResultEventsInput, EscInTheTreeWhileNothingRunsLeavesNoRequestForTheNextListing) {
    frmMain.pnlNav.SetFocus();
    ASSERT_TRUE(frmMain.pnlNav.HasFocus());
    TypeKeys(KeysOf("a\x1b"));
    Deliver();
    EXPECT_FALSE(gAbort);
}
