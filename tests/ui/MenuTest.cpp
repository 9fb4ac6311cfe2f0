// Menus with hidden items: realisation from the model, which commands may run, menu control
// arrays, the bar and its popups in a window, and popup menus that run their command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTest.h"
#include "ui/Keys.h"
#include "ui/Menu.h"

namespace {

enum : int {
    kFile = 40100, kOpen, kSep1, kExit,
    kEdit = 40200, kCopy,
    kGo = 40300, kPage = 40310,  // kPage + k: the page items
    kWhite = 40400, kLarge, kList, kDetails,
};

MenuItem Item(int id, const char* caption, bool visible = true, bool enabled = true, bool checked = false) {
    return MenuItem{id, caption, visible, enabled, checked, {}};
}

MenuItem Menu(int id, const char* caption, std::vector<MenuItem> children, bool visible = true) {
    MenuItem m = Item(id, caption, visible);
    m.children = std::move(children);
    return m;
}

std::vector<MenuItem> Design() {
    return {
        Menu(kFile, "&File", {Item(kOpen, "&Open...\tCtrl+O"), Item(kSep1, "-"), Item(kExit, "&Close")}),
        Menu(kEdit, "&Edit", {Item(kCopy, "&Copy\tCtrl+C")}),
        Menu(kGo, "&Go", {Menu(kGo + 1, "&To Page", {Item(kPage, "1")})}),
        Menu(kWhite, "White", {Item(kLarge, "Lar&ge Icons"), Item(kList, "&List"), Item(kDetails, "&Details")},
             false),
    };
}

RealisedEntry Cmd(int id, const char* caption, bool enabled = true, bool checked = false) {
    return RealisedEntry{RealisedEntry::Command, id, caption, enabled, checked};
}
RealisedEntry Sep() { return RealisedEntry{RealisedEntry::Separator, 0, "", true, false}; }

}  // namespace

TEST(Menu, RealisedEntriesFollowTheModel) {
    struct Case {
        const char* what;
        std::vector<MenuItem> items;
        std::vector<RealisedEntry> entries;
    };
    const Case cases[] = {
        {"hidden items are left out", {Item(1, "a"), Item(2, "b", false), Item(3, "c")}, {Cmd(1, "a"), Cmd(3, "c")}},
        {"states carry over", {Item(1, "a", true, false), Item(2, "b", true, true, true)},
         {Cmd(1, "a", false), Cmd(2, "b", true, true)}},
        {"separators show as their own flags say, even side by side or at the end",
         {Item(0, "-"), Item(1, "a"), Item(5, "-"), Item(6, "-", false), Item(7, "-")},
         {Sep(), Cmd(1, "a"), Sep(), Sep()}},
        {"a separator's states do not matter", {Item(5, "-", true, false, true)}, {Sep()}},
        {"items with children open submenus", {Menu(9, "&Sub", {Item(10, "x")})},
         {RealisedEntry{RealisedEntry::Submenu, 9, "&Sub", true, false}}},
        {"nothing visible", {Item(1, "a", false)}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(RealiseEntries(c.items), c.entries) << c.what;
}

TEST(Menu, CommandsRunOnlyWhenVisibleAndEnabledUnderEnabledMenus) {
    MenuModel m;
    m.Define(Design());
    struct Case {
        const char* what;
        int id;
        bool runs;
    };
    m.SetVisible(kCopy, false);
    m.SetEnabled(kGo, false);
    const Case cases[] = {
        {"a plain item", kOpen, true},
        {"a hidden item (its accelerator still fires)", kCopy, false},
        {"under a disabled menu", kPage, false},
        {"in a popup-only menu, hidden at the top", kLarge, true},
        {"a separator", kSep1, false},
        {"an id outside the menus", 12345, true},
    };
    for (const Case& c : cases) EXPECT_EQ(m.CanRun(c.id), c.runs) << c.what;
    m.SetEnabled(kExit, false);
    EXPECT_FALSE(m.CanRun(kExit));
}

TEST(Menu, ControlArraysLoadInIndexOrderAndKeepElementZero) {
    MenuModel m;
    m.Define(Design());
    auto pageIds = [&] {
        std::vector<int> ids;
        for (const auto& item : m.Find(kGo + 1)->children) ids.push_back(item.id - kPage);
        return ids;
    };
    m.SetChecked(kPage, true);
    m.LoadArrayItem(kPage, 3).caption = "3";
    m.LoadArrayItem(kPage, 1).caption = "1b";
    m.LoadArrayItem(kPage, 2);
    EXPECT_EQ(pageIds(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(m.ArrayUBound(kPage), 3);
    const MenuItem* two = m.Find(kPage + 2);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->caption, "1");  // copied from element 0, with its states
    EXPECT_TRUE(two->checked);
    EXPECT_EQ(&m.LoadArrayItem(kPage, 3), m.Find(kPage + 3));  // loading again answers the element
    m.UnloadArrayItem(kPage, 3);
    m.UnloadArrayItem(kPage, 0);
    m.UnloadArrayItem(kPage, 7);
    EXPECT_EQ(pageIds(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(m.ArrayUBound(kPage), 2);
    EXPECT_THROW(m.LoadArrayItem(kPage + 50, 1), KeyError);
    EXPECT_THROW(m.Add(kFile, Item(kOpen, "again")), KeyError);
}

namespace {

struct MenuForm : TestForm {
    std::vector<int> ran;
    MenuForm() {
        build = [this] { Menus().Define(Design()); };
        onMenu = [this](int id) {
            ran.push_back(id);
            return true;
        };
    }
    HMENU Bar() const { return GetMenu(hwnd()); }
    // Opens a popup of the bar as Windows does before showing it; answers its item count.
    int Open(HMENU popup) {
        SendMessageA(hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        return GetMenuItemCount(popup);
    }
};

std::vector<std::string> Captions(HMENU menu) {
    std::vector<std::string> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
        out.push_back(text);
    }
    return out;
}

}  // namespace

TEST(Menu, BarShowsVisibleTopLevelItemsAndPopupsRealiseWhenOpened) {
    MenuForm form;
    form.Load();
    ASSERT_NE(form.Bar(), nullptr);
    EXPECT_EQ(Captions(form.Bar()), (std::vector<std::string>{"&File", "&Edit", "&Go"}));
    form.Menus().SetVisible(kEdit, false);
    EXPECT_EQ(Captions(form.Bar()), (std::vector<std::string>{"&File", "&Go"}));
    form.Menus().SetVisible(kEdit, true);
    EXPECT_EQ(GetMenuItemCount(form.Bar()), 3);

    HMENU file = GetSubMenu(form.Bar(), 0);
    EXPECT_EQ(form.Open(file), 3);
    form.Menus().SetVisible(kOpen, false);
    form.Menus().SetEnabled(kExit, false);
    EXPECT_EQ(form.Open(file), 2);
    EXPECT_EQ(GetMenuState(file, 0, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_TRUE(GetMenuState(file, kExit, MF_BYCOMMAND) & MF_GRAYED);

    // Page items loaded at run time show in the submenu once it opens; hidden ones do not.
    HMENU go = GetSubMenu(form.Bar(), 2);
    form.Open(go);
    for (int k = 1; k <= 4; ++k) form.Menus().LoadArrayItem(kPage, k).caption = std::to_string(k + 1);
    form.Menus().SetVisible(kPage + 4, false);
    HMENU toPage = GetSubMenu(go, 0);
    EXPECT_EQ(form.Open(toPage), 4);
    EXPECT_EQ(Captions(toPage), (std::vector<std::string>{"1", "2", "3", "4"}));
    form.Unload();
}

TEST(Menu, HiddenOrDisabledCommandsDoNotRun) {
    MenuForm form;
    form.Load();
    form.Menus().SetVisible(kCopy, false);
    form.Menus().SetEnabled(kFile, false);
    for (int id : std::vector<int>{kCopy, kOpen, kExit, kLarge, 12345})
        SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(id, 1), 0);  // as accelerators send them
    EXPECT_EQ(form.ran, (std::vector<int>{kLarge, 12345}));
    form.Unload();
}

namespace {

struct PopupSeen {
    std::vector<std::string> captions;
    int defaultId = 0;
    int pick = 0;
    int calls = 0;
} gPopup;

int PickFromPopup(HMENU menu, int, int) {
    ++gPopup.calls;
    gPopup.captions = Captions(menu);
    gPopup.defaultId = static_cast<int>(GetMenuDefaultItem(menu, FALSE, 0));
    return gPopup.pick;
}

}  // namespace

TEST(Menu, PopupMenuRunsTheChosenCommandBeforeItReturns) {
    MenuForm form;
    form.Load();
    gPopupHook = PickFromPopup;
    gPopup = {};
    gPopup.pick = kDetails;
    form.Menus().SetVisible(kList, false);
    form.PopupMenu(kWhite, 100, 100, kLarge);
    EXPECT_EQ(gPopup.captions, (std::vector<std::string>{"Lar&ge Icons", "&Details"}));
    EXPECT_EQ(gPopup.defaultId, kLarge);
    EXPECT_EQ(form.ran, (std::vector<int>{kDetails}));

    // A disabled menu shows nothing; a hidden command chosen anyway does not run.
    form.Menus().SetEnabled(kWhite, false);
    form.PopupMenu(kWhite);
    EXPECT_EQ(gPopup.calls, 1);
    form.Menus().SetEnabled(kWhite, true);
    gPopup.pick = kList;
    form.PopupMenu(kWhite);
    EXPECT_EQ(form.ran, (std::vector<int>{kDetails}));
    gPopupHook = nullptr;
    form.Unload();
}
