// The user references in the loaded main window: filing one through the reference window (the
// entry, the duplicate test, the place of the new pair), deleting the one an item shows, the
// positions that point at references staying right through both, and the window's placement and
// closing; the window driven with real keys last.
#include "PageFixture.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "IconMaker.h"
#include "browsing/FrmAdd.h"
#include "common/ResultEntry.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/Options.h"
#include "ui/Units.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;

constexpr const char* kWords[] = {"moon", "sun"};
constexpr int kFirstSlot = 7;

class ReferencesTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        gSearchFav = false;
        for (auto* list : {&frmMain.cmbResult, &frmMain.lstUser, &frmMain.cmbUser}) list->Clear();
        frmMain.cmbSearch.Clear();
        for (int i = 0; i < 2; ++i) {
            gKeywords[kFirstSlot + i] = kWords[i];
            gRefs[kFirstSlot + i].clear();
            frmMain.cmbSearch.AddItem(kWords[i]);
            frmMain.cmbSearch.SetItemData(i, kFirstSlot + i);
        }
        gRefsChanged = false;
        for (const char* name : {"x.ico", "a.ico", "b.ico", "c.ico", "d.ico", "e.ico"})
            ASSERT_TRUE(WriteIconFile(dir.path() + name, 0x3080C0));
    }
    void TearDown() override {
        frmAdd.Unload();
        for (auto* list : {&frmMain.lstUser, &frmMain.cmbUser}) list->Clear();
        for (int i = 0; i < 2; ++i) gKeywords[kFirstSlot + i].clear();
        gRefsChanged = false;
        PagesTest::TearDown();
    }

    std::string Open(const std::string& name, char typeCode = '2') const {
        return OpenEntry(dir.path() + name, 0, "x", typeCode);
    }
    std::string Ref(const std::string& name, char digit = '2') const {
        return dir.path() + name + ";0;x;" + digit + "user";
    }
    // The references as the catalogue load leaves them: each pair linked to its own position.
    static void Load(const Pairs& refs) {
        frmMain.lstUser.Clear();
        frmMain.cmbUser.Clear();
        for (const auto& [keyword, entry] : refs) {
            frmMain.lstUser.AddItem(keyword, frmMain.lstUser.ListCount());
            frmMain.cmbUser.AddItem(entry, frmMain.cmbUser.ListCount());
        }
    }
    static Pairs References() {
        Pairs refs;
        for (int i = 0; i < frmMain.lstUser.ListCount(); ++i)
            refs.emplace_back(frmMain.lstUser.List(i), frmMain.cmbUser.List(i));
        return refs;
    }
    // Every pair points at its twin, and every reference of the result set and the page at its pair.
    static void ExpectLinked() {
        EXPECT_EQ(frmMain.lstUser.ListCount(), frmMain.cmbUser.ListCount());
        for (int i = 0; i < frmMain.lstUser.ListCount(); ++i) {
            EXPECT_EQ(frmMain.lstUser.ItemData(i), i);
            EXPECT_EQ(frmMain.cmbUser.ItemData(i), i);
        }
        for (int i = 0; i < frmMain.cmbResult.ListCount(); ++i)
            if (frmMain.cmbResult.List(i).ends_with("user")) {
                EXPECT_EQ(frmMain.cmbUser.List(frmMain.cmbResult.ItemData(i)), frmMain.cmbResult.List(i)) << i;
            }
        for (int i = 1; i <= frmMain.pnlResult.Count(); ++i) {
            const ListItem& item = frmMain.pnlResult.Item(i);
            if (!item.Tag.ends_with("user")) continue;
            const int position = std::stoi(item.Key().substr(3));
            EXPECT_EQ(frmMain.cmbUser.List(position), item.Tag) << i;
        }
    }
    // A result set with its item data, shown from page 1.
    static void Show(const std::vector<std::pair<std::string, int32_t>>& entries) {
        frmMain.cmbResult.Clear();
        for (const auto& [text, data] : entries) frmMain.cmbResult.AddItem(text, data);
        gPageNr = 1;
        gPageCount = PageCountFor(frmMain.cmbResult.ListCount(), gIconsPerPage);
        frmMain.procGetPage();
    }
    static void Select(int index) {
        frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(index));
        frmMain.procItemSelected();
    }
    static void Search(int word) {
        frmMain.cmbSearch.SetListIndex(word);
        frmMain.procSearchOrnavale();
    }
    // The selected icon filed under the keyword; option -1 clicks no type option.
    static void FileUnder(const std::string& keyword, int option = -1) {
        frmAdd.Load();
        frmAdd.cmbSearch.SetListIndex(-1);
        for (int i = 0; i < frmAdd.cmbSearch.ListCount(); ++i)
            if (frmAdd.cmbSearch.List(i) == keyword) frmAdd.cmbSearch.SetListIndex(i);
        EXPECT_TRUE(frmAdd.cmdAdd.Enabled());
        if (option >= 0) frmAdd.optType[static_cast<size_t>(option)].SetValue(true);
        frmAdd.cmdAdd_Click();
    }
    static std::vector<std::string> PageTexts() {
        std::vector<std::string> texts;
        for (int i = 1; i <= frmMain.pnlResult.Count(); ++i) texts.push_back(frmMain.pnlResult.Item(i).Text());
        return texts;
    }
    static std::vector<std::string> PageTags() {
        std::vector<std::string> tags;
        for (int i = 1; i <= frmMain.pnlResult.Count(); ++i) tags.push_back(frmMain.pnlResult.Item(i).Tag);
        return tags;
    }
};

TEST_F(ReferencesTest, FilingGivesOneReferencePerKeywordAndDigitAndRefusesARepeat) {
    struct Filing {
        const char* keyword;
        int option;
    };
    struct Case {
        const char* what;
        char typeCode;  // of the icon on the page
        std::vector<Filing> filings;
        Pairs expected;
        bool refused;
    };
    const Case cases[] = {
        {"one icon under two keywords", '2', {{"moon", -1}, {"sun", -1}}, {{"sun", Ref("x.ico")}, {"moon", Ref("x.ico")}},
         false},
        {"one keyword, two digits", '2', {{"moon", -1}, {"moon", 0}},
         {{"moon", Ref("x.ico", '0')}, {"moon", Ref("x.ico")}}, false},
        {"no option clicked: the item's preset digit", '1', {{"sun", -1}}, {{"sun", Ref("x.ico", '1')}}, false},
        {"a repeat", '2', {{"moon", -1}, {"moon", -1}}, {{"moon", Ref("x.ico")}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load({});
        gBoxes.clear();
        gRefsChanged = false;
        Show({{Open("x.ico", c.typeCode), 0}});
        Select(1);
        for (const Filing& f : c.filings) FileUnder(f.keyword, f.option);
        EXPECT_EQ(References(), c.expected);
        ExpectLinked();
        EXPECT_TRUE(gRefsChanged);
        EXPECT_FALSE(frmAdd.cmdAdd.Enabled());
        EXPECT_FALSE(frmAdd.Visible());
        ASSERT_EQ(gBoxes.size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(gBoxes[0].text, "This reference already excists.");
            EXPECT_EQ(gBoxes[0].title, "Error saving reference");
            EXPECT_EQ(gBoxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
        }
    }
}

TEST_F(ReferencesTest, ANewReferenceComesFirstAndEveryPositionFollowsIt) {
    Load({{"moon", Ref("a.ico")}, {"sun", Ref("b.ico")}, {"moon", Ref("c.ico")}});
    Show({{Open("x.ico"), 0}, {Ref("a.ico"), 0}, {Ref("c.ico"), 2}});
    EXPECT_EQ(PageTexts(), (std::vector<std::string>{"x.ico", "moon", "moon"}));
    Select(1);
    FileUnder("sun");
    EXPECT_EQ(References(), (Pairs{{"sun", Ref("x.ico")}, {"moon", Ref("a.ico")}, {"sun", Ref("b.ico")},
                                   {"moon", Ref("c.ico")}}));
    ExpectLinked();

    // The page drawn again shows each reference under its own keyword.
    frmMain.procGetPage();
    EXPECT_EQ(PageTexts(), (std::vector<std::string>{"x.ico", "moon", "moon"}));
    ExpectLinked();

    // Deleted from this page: the pair of that item, and the other items stay.
    Select(3);
    frmMain.mnuRefDelete_Click();
    EXPECT_EQ(References(), (Pairs{{"sun", Ref("x.ico")}, {"moon", Ref("a.ico")}, {"sun", Ref("b.ico")}}));
    EXPECT_EQ(PageTexts(), (std::vector<std::string>{"x.ico", "moon"}));
    EXPECT_EQ(Panel("count"), "2 icon(s)");
    ExpectLinked();

    // The next search lists the new reference before the older ones of its keyword.
    Search(1);
    EXPECT_EQ(PageTags(), (std::vector<std::string>{Ref("x.ico"), Ref("b.ico")}));
    EXPECT_EQ(PageTexts(), (std::vector<std::string>{"sun", "sun"}));
    ExpectLinked();
}

TEST_F(ReferencesTest, DeleteRemovesThePairTheSelectedItemShows) {
    struct Case {
        const char* what;
        Pairs before;
        int search;  // 0 moon, 1 sun
        int selected;
        Pairs after;
        std::vector<std::string> page;  // the tags left, in their places
        const char* count;
    };
    const Case cases[] = {
        {"the only reference of a search", {{"moon", Ref("a.ico")}}, 0, 1, {}, {}, "0 Icon(s)"},
        {"one of five",
         {{"moon", Ref("a.ico")}, {"moon", Ref("b.ico")}, {"moon", Ref("c.ico")}, {"moon", Ref("d.ico")},
          {"moon", Ref("e.ico")}},
         0,
         3,
         {{"moon", Ref("a.ico")}, {"moon", Ref("b.ico")}, {"moon", Ref("d.ico")}, {"moon", Ref("e.ico")}},
         {Ref("a.ico"), Ref("b.ico"), Ref("d.ico"), Ref("e.ico")},
         "4 icon(s)"},
        // One icon filed under "moon", then under "sun": the "sun" pair stands first.
        {"deleted from a sun search", {{"sun", Ref("x.ico")}, {"moon", Ref("x.ico")}}, 1, 1,
         {{"moon", Ref("x.ico")}}, {}, "0 Icon(s)"},
        {"deleted from a moon search", {{"sun", Ref("x.ico")}, {"moon", Ref("x.ico")}}, 0, 1, {{"sun", Ref("x.ico")}},
         {}, "0 Icon(s)"},
        {"the other keyword's pairs around it",
         {{"sun", Ref("a.ico")}, {"moon", Ref("b.ico")}, {"sun", Ref("c.ico")}, {"moon", Ref("d.ico")}},
         0,
         1,
         {{"sun", Ref("a.ico")}, {"sun", Ref("c.ico")}, {"moon", Ref("d.ico")}},
         {Ref("d.ico")},
         "1 icon(s)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.before);
        gRefsChanged = false;
        Search(-1);
        Search(c.search);
        Select(c.selected);
        frmMain.mnuRefDelete_Click();
        EXPECT_EQ(References(), c.after);
        EXPECT_EQ(PageTags(), c.page);
        EXPECT_EQ(frmMain.cmbResult.ListCount(), static_cast<int>(c.page.size()));
        EXPECT_EQ(Panel("count"), c.count);
        EXPECT_TRUE(gRefsChanged);
        ExpectLinked();
    }
}

TEST_F(ReferencesTest, DeleteWithNothingSelectedDoesNothingAndOnAnotherItemOnlyMarksTheReferences) {
    Load({{"moon", Ref("a.ico")}});
    Show({});
    frmMain.mnuRefDelete_Click();
    EXPECT_FALSE(gRefsChanged);

    Show({{Open("x.ico"), 0}, {Ref("a.ico"), 0}});
    Select(1);
    frmMain.mnuRefDelete_Click();
    EXPECT_TRUE(gRefsChanged);
    EXPECT_EQ(References(), (Pairs{{"moon", Ref("a.ico")}}));
    EXPECT_EQ(PageTags(), (std::vector<std::string>{Open("x.ico"), Ref("a.ico")}));
    EXPECT_EQ(frmMain.cmbResult.ListCount(), 2);
}

TEST_F(ReferencesTest, PagesDrawnAfterADeleteShowEachReferenceUnderItsKeyword) {
    gIconsPerPage = 2;
    Load({{"sun", Ref("a.ico")}, {"moon", Ref("b.ico")}, {"moon", Ref("c.ico")}, {"sun", Ref("d.ico")},
          {"moon", Ref("e.ico")}});
    Show({{Ref("a.ico"), 0}, {Ref("b.ico"), 1}, {Ref("c.ico"), 2}, {Ref("d.ico"), 3}, {Ref("e.ico"), 4}});
    Select(2);
    frmMain.mnuRefDelete_Click();
    EXPECT_EQ(Panel("count"), "4 icon(s)");
    frmMain.mnuGoNextPage_Click();
    EXPECT_EQ(PageTexts(), (std::vector<std::string>{"sun", "moon"}));
    EXPECT_EQ(PageTags(), (std::vector<std::string>{Ref("d.ico"), Ref("e.ico")}));
    frmMain.mnuGoLastPage_Click();
    EXPECT_EQ(frmMain.pnlResult.Count(), 0);
    frmMain.mnuGoFirstPage_Click();
    EXPECT_EQ(PageTexts(), (std::vector<std::string>{"sun", "moon"}));
    EXPECT_EQ(PageTags(), (std::vector<std::string>{Ref("a.ico"), Ref("c.ico")}));
    ExpectLinked();
}

TEST_F(ReferencesTest, TheWindowIsPlacedFromItsStoredPlaceOrCentredAndItsLoadKeepsTheMark) {
    struct Case {
        const char* what;
        std::optional<int> left, top;
    };
    const Case cases[] = {{"both stored", 1500, 900}, {"no top", 1500, std::nullopt}, {"no left", std::nullopt, 900},
                          {"none", std::nullopt, std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CleanStore::Wipe();
        if (c.left) WriteSetting(setting::AddLeft, *c.left);
        if (c.top) WriteSetting(setting::AddTop, *c.top);
        gRefsChanged = true;
        frmAdd.Load();
        EXPECT_TRUE(gRefsChanged);
        const int centreLeft = (PxToTwipsX(GetSystemMetrics(SM_CXSCREEN)) - frmAdd.Width()) / 2;
        const int centreTop = (PxToTwipsY(GetSystemMetrics(SM_CYSCREEN)) - frmAdd.Height()) / 2;
        EXPECT_NEAR(frmAdd.Left(), c.left.value_or(centreLeft), 15);
        EXPECT_NEAR(frmAdd.Top(), c.top.value_or(centreTop), 15);
        frmAdd.Unload();
    }
    CleanStore::Wipe();
}

TEST_F(ReferencesTest, TheCloseBoxHidesTheWindowAndTheListsStay) {
    Load({{"moon", Ref("a.ico")}});
    frmAdd.Show();
    frmAdd.cmbSearch.SetListIndex(1);
    SendMessageA(frmAdd.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(frmAdd.IsLoaded());
    EXPECT_FALSE(frmAdd.Visible());
    frmAdd.Show();
    EXPECT_EQ(frmAdd.cmbSearch.ListCount(), 2);
    EXPECT_EQ(frmAdd.cmbSearch.Text(), "sun");
    EXPECT_EQ(References(), (Pairs{{"moon", Ref("a.ico")}}));
}

// ---- the window with real keys, opened from the References menu

std::vector<std::function<void()>> gSteps;
size_t gStep = 0;
int gIdle = 0;

// One step of the script each tick while the window is open; a window still open long after the
// script ended is closed, so that a failing case ends.
void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    if (!frmAdd.Visible()) return;
    if (gStep < gSteps.size()) {
        gSteps[gStep++]();
    } else if (++gIdle > 40) {
        frmAdd.Hide();
    }
}

class ReferenceWindowKeys : public ReferencesTest {
  protected:
    void SetUp() override {
        ReferencesTest::SetUp();
        frmMain.Show();
        ASSERT_TRUE(SetForegroundWindow(frmMain.hwnd()));
        DoEvents();
    }
    // Opens the window as References > Add does and runs the steps in it.
    static void AddWithSteps(std::vector<std::function<void()>> steps) {
        gSteps = std::move(steps);
        gStep = 0;
        gIdle = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 60, RunStep);
        frmMain.mnuRefAdd_Click();
        KillTimer(nullptr, timer);
        EXPECT_EQ(gStep, gSteps.size());
    }
};

TEST_F(ReferenceWindowKeys, AKeywordTypedAndEnterFileTheReferenceAndEscClosesTheWindow) {
    Show({{Open("x.ico"), 0}});
    Select(1);
    std::vector<bool> addOn;
    auto noteAdd = [&] { addOn.push_back(frmAdd.cmdAdd.Enabled()); };
    auto keys = [](const std::string& text) { return [text] { TypeKeys(KeysOf(text)); }; };

    // Closed with nothing chosen: Add opens off again.
    AddWithSteps({noteAdd, keys("\x1b")});
    EXPECT_FALSE(frmAdd.cmdAdd.Enabled());
    AddWithSteps({noteAdd, keys("\x1b")});
    EXPECT_TRUE(References().empty());

    // "s" chooses "sun" in the box, Enter files the icon under it.
    AddWithSteps({noteAdd, [] { frmAdd.cmbSearch.SetFocus(); }, keys("s"), noteAdd, keys("\r")});
    EXPECT_EQ(References(), (Pairs{{"sun", Ref("x.ico")}}));
    EXPECT_TRUE(gBoxes.empty());
    // The keyword stays chosen: Add opens on, and a repeat is refused and turns it off.
    AddWithSteps({noteAdd, keys("\r"), noteAdd, keys("\x1b")});
    EXPECT_EQ(References(), (Pairs{{"sun", Ref("x.ico")}}));
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0].text, "This reference already excists.");
    EXPECT_EQ(addOn, (std::vector<bool>{false, false, false, true, true, false}));
    EXPECT_TRUE(frmAdd.cmdAdd.Enabled());
}

}  // namespace
