// The keyword editor in the loaded main window: typing follows the list, Add and Delete keep the
// keyword slots, the main window's and the reference window's keyword boxes and the editor's own
// list in step, and the window keeps its lists when it is closed.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "MainFixture.h"
#include "browsing/FrmAdd.h"
#include "browsing/FrmKey.h"
#include "common/Paging.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/Options.h"
#include "ui/Units.h"

namespace {

constexpr const char* kPresent = "This Keyword is already present in\nthe Ornavale Keyword list.";
constexpr const char* kCaption = "Edit Custom Keywords";

std::vector<std::string> Items(const ListControl& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.ListCount(); ++i) items.push_back(list.List(i));
    return items;
}

int FindExactIn(const ListControl& list, const std::string& text) {
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == text) return i;
    return -1;
}

// What a list or combo box window itself shows.
std::vector<std::string> WindowItems(const ListControl& list, bool combo) {
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageA(list.hwnd(), combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(list.hwnd(), combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

void Deliver() {
    Sleep(20);
    for (int i = 0; i < 5; ++i) DoEvents();
}

// Catalogue keywords "apple" (slot 0) and "flower" (1); user keywords "Flower" (2) and "Moon" (3),
// with one reference filed under "Flower".
class KeyEditorTest : public MainFixture {
  protected:
    void SetUp() override {
        MainFixture::SetUp();
        gAppPath = dir.Folder("prog") + "\\";
        dir.File("prog\\Icondata.dat", "apple;1:1:x00\r\nflower;1:2:x00\r\n");
        dir.File("prog\\Keyuser.dat", "Flower\r\nMoon\r\n");
        dir.File("prog\\Iconuser.dat", "Flower;C:\\a.ico;0;x;1user\r\n");
        frmMain.procFillSearch();
        gKeysChanged = gRefsChanged = false;
    }
    void TearDown() override {
        MainFixture::TearDown();
        gAppPath.clear();
        gKeysChanged = gRefsChanged = false;
    }
    // Shown, with the focus in the text box, as the user types into it.
    static void ShowTyping() {
        frmKey.Show();
        frmKey.txtKey.SetFocus();
        ASSERT_TRUE(frmKey.mTextHasFocus);
    }
    static void Type(const std::string& text) { frmKey.txtKey.SetText(text); }
    static void Add(const std::string& text) {
        Type(text);
        frmKey.cmdAdd_Click();
    }
    static std::string Selected() { return frmKey.lstKey.List(frmKey.lstKey.ListIndex()); }
};

TEST_F(KeyEditorTest, TypingSelectsTheListedKeywordWhateverItsCase) {
    struct Case {
        const char* what;
        const char* before;  // typed first
        const char* typed;
        const char* selected;  // "" none
        bool add, del;
    };
    const Case cases[] = {
        {"a case variant of a user keyword", "", "moon", "Moon", false, true},
        {"a catalogue keyword is not in the list", "", "apple", "", true, false},
        {"a new keyword", "", "comet", "", true, false},
        {"emptied after a selection: Delete stays", "Moon", "", "Moon", false, true},
        {"emptied after a new keyword: Delete stays off", "comet", "", "", false, false},
        {"blanks alone are no keyword", "comet", "  ", "", false, false},
    };
    ShowTyping();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Type(c.before);
        Type(c.typed);
        // The text box had the focus: the list's Click does not overwrite what was typed.
        EXPECT_EQ(frmKey.txtKey.Text(), c.typed);
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(frmKey.cmdAdd.Enabled(), c.add);
        EXPECT_EQ(frmKey.cmdDelete.Enabled(), c.del);
    }
}

TEST_F(KeyEditorTest, AddRefusesKeywordsAlreadyPresentAndThoseNotFitForTheFiles) {
    struct Case {
        const char* what;
        const char* typed;
        const char* message;
        UINT style;
    };
    const Case cases[] = {
        {"catalogue keyword", "apple", kPresent, MB_ICONINFORMATION},
        {"user keyword", "Moon", kPresent, MB_ICONINFORMATION},
        {"separator", "sun;moon", "A keyword may not contain \";\".", MB_ICONEXCLAMATION},
    };
    frmAdd.Load();
    ShowTyping();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        Add(c.typed);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_EQ(boxes[0].style, c.style);
        EXPECT_EQ(boxes[0].title, kCaption);
        EXPECT_FALSE(gKeysChanged);
        EXPECT_EQ(gKeywordSlotsUsed, 4);
        EXPECT_EQ(frmMain.cmbSearch.ListCount(), 4);
        EXPECT_EQ(frmAdd.cmbSearch.ListCount(), 4);
        EXPECT_EQ(Items(frmKey.lstKey), (std::vector<std::string>{"Flower", "Moon"}));
    }
}

TEST_F(KeyEditorTest, AddStopsAtTheLastSlot) {
    ShowTyping();
    gKeywordSlotsUsed = kKeywordSlots - 1;
    Add("last");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(gKeywords[kKeywordSlots - 1], "last");
    Add("one too many");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The Ornavale Keyword list is full:\nno more keywords can be added.");
    EXPECT_EQ(gKeywordSlotsUsed, kKeywordSlots);
    EXPECT_EQ(FindExactIn(frmMain.cmbSearch, "one too many"), -1);
    EXPECT_EQ(frmKey.lstKey.ListCount(), 3);
    gKeywords[kKeywordSlots - 1].clear();
}

TEST_F(KeyEditorTest, AddedKeywordsTakeNewSlotsAndTheirSortedPlaceInAllThreeLists) {
    frmAdd.Load();
    ShowTyping();
    for (const char* k : {"zebra", "Comet", "banana"}) Add(k);

    const std::vector<std::string> all = {"apple", "banana", "Comet", "flower", "Flower", "Moon", "zebra"};
    EXPECT_EQ(Items(frmMain.cmbSearch), all);
    EXPECT_EQ(WindowItems(frmMain.cmbSearch, true), all);
    EXPECT_EQ(Items(frmAdd.cmbSearch), all);
    EXPECT_EQ(WindowItems(frmAdd.cmbSearch, true), all);
    const std::vector<std::string> mine = {"banana", "Comet", "Flower", "Moon", "zebra"};
    EXPECT_EQ(Items(frmKey.lstKey), mine);
    EXPECT_EQ(WindowItems(frmKey.lstKey, false), mine);

    // Slots follow the loaded ones in the order added; the main box and the list lead to them.
    const std::pair<const char*, int> slots[] = {{"zebra", 4}, {"Comet", 5}, {"banana", 6}};
    for (auto [text, slot] : slots) {
        SCOPED_TRACE(text);
        EXPECT_EQ(gKeywords[static_cast<size_t>(slot)], text);
        EXPECT_EQ(gRefs[static_cast<size_t>(slot)], "");
        EXPECT_EQ(frmMain.cmbSearch.ItemData(FindExactIn(frmMain.cmbSearch, text)), slot);
        EXPECT_EQ(frmKey.lstKey.ItemData(FindExactIn(frmKey.lstKey, text)), slot);
    }
    EXPECT_EQ(gKeywordSlotsUsed, 7);
    EXPECT_TRUE(gKeysChanged);
    // The last one added is selected, and is not added twice.
    EXPECT_EQ(Selected(), "banana");
    EXPECT_FALSE(frmKey.cmdAdd.Enabled());
    EXPECT_TRUE(frmKey.cmdDelete.Enabled());
}

TEST_F(KeyEditorTest, DeleteTakesOutExactlyThatKeywordAndLeavesItsReferencesAndSlot) {
    frmAdd.Load();
    frmKey.Show();
    frmKey.lstKey.SetFocus();  // as a click in the list
    frmKey.lstKey.SetListIndex(FindExactIn(frmKey.lstKey, "Flower"));
    EXPECT_EQ(frmKey.txtKey.Text(), "Flower");
    frmKey.cmdDelete_Click();

    // The catalogue's "flower" stays in both boxes.
    const std::vector<std::string> left = {"apple", "flower", "Moon"};
    EXPECT_EQ(Items(frmMain.cmbSearch), left);
    EXPECT_EQ(Items(frmAdd.cmbSearch), left);
    EXPECT_EQ(WindowItems(frmAdd.cmbSearch, true), left);
    EXPECT_EQ(Items(frmKey.lstKey), std::vector<std::string>{"Moon"});
    EXPECT_EQ(frmMain.cmbSearch.ItemData(1), 1);
    EXPECT_EQ(frmKey.txtKey.Text(), "");
    EXPECT_FALSE(frmKey.cmdDelete.Enabled());
    EXPECT_TRUE(gKeysChanged);
    EXPECT_EQ(frmMain.lstUser.ListCount(), 1);
    EXPECT_EQ(frmMain.lstUser.List(0), "Flower");
    EXPECT_FALSE(gRefsChanged);

    // Added again: no longer present, and in a new slot.
    ShowTyping();
    Add("Flower");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(frmMain.cmbSearch.ItemData(FindExactIn(frmMain.cmbSearch, "Flower")), 4);
    EXPECT_EQ(Items(frmKey.lstKey), (std::vector<std::string>{"Flower", "Moon"}));
}

TEST_F(KeyEditorTest, AListClickDoesNotSearchTheListAgain) {
    // Two user keywords of the same letters: the typed text would select the first.
    ShowTyping();
    Add("moon");
    frmKey.lstKey.SetFocus();
    ASSERT_TRUE(frmKey.mListHasFocus);
    ASSERT_FALSE(frmKey.mTextHasFocus);
    const int first = FindExactIn(frmKey.lstKey, "Moon");
    const int second = FindExactIn(frmKey.lstKey, "moon");
    ASSERT_GT(second, first);
    frmKey.lstKey.SetListIndex(first);
    EXPECT_EQ(frmKey.txtKey.Text(), "Moon");
    frmKey.lstKey.SetListIndex(second);
    EXPECT_EQ(frmKey.txtKey.Text(), "moon");
    EXPECT_EQ(frmKey.lstKey.ListIndex(), second);
}

TEST_F(KeyEditorTest, StoredPlaceOrCentredOnEachAxis) {
    struct Case {
        const char* what;
        std::optional<int> left, top;
    };
    const Case cases[] = {
        {"both stored", 1500, 1200},
        {"left missing", std::nullopt, 900},
        {"top missing", 600, std::nullopt},
        {"neither", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CleanStore::Wipe();
        if (c.left) WriteSetting(setting::KeyLeft, *c.left);
        if (c.top) WriteSetting(setting::KeyTop, *c.top);
        frmKey.Load();
        const int centreLeft = (PxToTwipsX(GetSystemMetrics(SM_CXSCREEN)) - frmKey.Width()) / 2;
        const int centreTop = (PxToTwipsY(GetSystemMetrics(SM_CYSCREEN)) - frmKey.Height()) / 2;
        EXPECT_NEAR(frmKey.Left(), c.left.value_or(centreLeft), 15);
        EXPECT_NEAR(frmKey.Top(), c.top.value_or(centreTop), 15);
        frmKey.Unload();
    }
}

TEST_F(KeyEditorTest, TheCloseBoxHidesAndTheListsAndFlagsStay) {
    gKeysChanged = gRefsChanged = true;
    frmKey.Show();
    EXPECT_TRUE(gKeysChanged);
    EXPECT_TRUE(gRefsChanged);
    SendMessageA(frmKey.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(frmKey.IsLoaded());
    EXPECT_FALSE(frmKey.Visible());
    frmKey.Show();
    EXPECT_EQ(WindowItems(frmKey.lstKey, false), (std::vector<std::string>{"Flower", "Moon"}));
    EXPECT_TRUE(gKeysChanged);

    // The menu command shows it modally until it is closed.
    PostMessageA(frmKey.hwnd(), WM_CLOSE, 0, 0);
    frmKey.Hide();
    frmMain.mnuRefKey_Click();
    EXPECT_TRUE(frmKey.IsLoaded());
    EXPECT_FALSE(frmKey.Visible());
}

// Real key input: the text typed into the box and Enter on the default Add button.
class KeyEditorKeys : public KeyEditorTest {};

TEST_F(KeyEditorKeys, TypedKeywordAddedWithEnter) {
    frmKey.Show();
    frmKey.txtKey.SetFocus();
    TypeKeys(KeysOf("moo"));
    Deliver();
    EXPECT_EQ(frmKey.lstKey.ListIndex(), -1);
    EXPECT_TRUE(frmKey.cmdAdd.Enabled());
    TypeKeys(KeysOf("N"));
    Deliver();
    // The case variant selects "Moon" and keeps what was typed.
    EXPECT_EQ(frmKey.txtKey.Text(), "mooN");
    EXPECT_EQ(Selected(), "Moon");
    EXPECT_FALSE(frmKey.cmdAdd.Enabled());

    TypeKeys({VK_BACK});
    TypeKeys(KeysOf("nlight\r"));
    Deliver();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Items(frmKey.lstKey), (std::vector<std::string>{"Flower", "Moon", "moonlight"}));
    EXPECT_EQ(Selected(), "moonlight");
    EXPECT_EQ(frmMain.cmbSearch.List(frmMain.cmbSearch.ListCount() - 1), "moonlight");
    EXPECT_FALSE(frmKey.cmdAdd.Enabled());
    EXPECT_TRUE(frmKey.cmdDelete.Enabled());
}

TEST_F(KeyEditorKeys, AKeywordAddedByItsAccessKeyLeavesTheKeyboardInTheText) {
    frmKey.Show();
    frmKey.txtKey.SetFocus();
    TypeKeys(KeysOf("comet"));
    Deliver();
    TypeKeys({'A' | 0x400});
    Deliver();
    ASSERT_EQ(FindExactIn(frmKey.lstKey, "comet"), 0);
    EXPECT_FALSE(frmKey.cmdAdd.Enabled());
    TypeKeys(KeysOf("star"));
    Deliver();
    EXPECT_EQ(frmKey.txtKey.Text(), "star");
    EXPECT_TRUE(frmKey.cmdAdd.Enabled());
}

}  // namespace
