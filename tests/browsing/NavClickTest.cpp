// Clicks on the navigation tree's nodes in the loaded main window: which source each node lists,
// the page it ends on, the favorites folder commands and what a failing source leaves.
#include <gtest/gtest.h>

#include "PageFixture.h"

#include <string>
#include <vector>

#include "browsing/Favorites.h"
#include "browsing/Library.h"
#include "common/ResultEntry.h"
#include "core/Global.h"
#include "core/OSVersion.h"
#include "core/Registry.h"
#include "mainwindow/Options.h"

namespace {

constexpr const char* kSchemes = "Control Panel\\Cursors\\Schemes";

class NavClickTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        savedOS = gOSCode;
        for (auto* list : {&frmMain.cmbResult, &frmMain.lstFiles, &frmMain.lstChange}) list->Clear();
    }
    void TearDown() override {
        gOSCode = savedOS;
        DeleteRegTree(HKEY_CURRENT_USER, kSchemes);
        gFavNode.clear();
        gFavFolderNode.clear();
        for (int slot : {kSlotA, kSlotB, kSlotC}) gKeywords[slot].clear();
        frmMain.lstFiles.Clear();
        PagesTest::TearDown();
    }
    static void Click(const std::string& key) { frmMain.pnlNav_NodeClick(frmMain.pnlNav.Item(key)); }
    static std::vector<std::string> Result() {
        std::vector<std::string> entries;
        for (int i = 0; i < frmMain.cmbResult.ListCount(); ++i) entries.push_back(frmMain.cmbResult.List(i));
        return entries;
    }
    // The names of the files in lstFiles.
    static std::vector<std::string> Listed() {
        std::vector<std::string> names;
        for (int i = 0; i < frmMain.lstFiles.ListCount(); ++i) {
            const std::string path = frmMain.lstFiles.List(i);
            names.push_back(path.substr(path.rfind('\\') + 1));
        }
        return names;
    }
    static void SetScheme(const std::string& name, const std::string& value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSchemes, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
    static bool GroupCommands(bool add, bool del) {
        return Enabled(ID_mnuFavoriteGroupAdd) == add && frmMain.pnlToolbarYour.Buttons("favgroupadd").Enabled() == add &&
               Enabled(ID_mnuFavoriteGroupDel) == del && frmMain.pnlToolbarYour.Buttons("favgroupdel").Enabled() == del;
    }
    // The keyword box holding the keywords in order, with the catalogue slot of each; the tree's
    // design groups built from it.
    static void Keywords(const std::vector<std::pair<std::string, int>>& keywords) {
        frmMain.cmbSearch.Clear();
        for (const auto& [text, slot] : keywords) {
            frmMain.cmbSearch.AddItem(text);
            frmMain.cmbSearch.SetItemData(frmMain.cmbSearch.ListCount() - 1, slot);
        }
        gCatalogName = "Ornavale";
        frmMain.procBuildNavTree();
    }

    static constexpr int kSlotA = 11, kSlotB = 12, kSlotC = 13;
    std::string savedOS;
};

}  // namespace

TEST_F(NavClickTest, SchemeFieldsGoInOrderAndAnEmptyFieldIsTheDefaultOfItsPosition) {
    struct Case {
        const char* what;
        const char* value;  // nullptr: no value at all
        std::vector<std::string> expected;
    };
    const std::string s = "Control Panel\\Cursors\\Schemes\\S:";
    const Case cases[] = {
        {"three fields, the middle one empty", "a.cur,,w.cur",
         {"a.cur;0;" + s + "1;tsytu", "default;0;" + s + "2;tsytu", "w.cur;0;" + s + "3;tsytu"}},
        {"an empty value", "", {}},
        {"no value", nullptr, {}},
        {"a trailing comma", "a.cur,", {"a.cur;0;" + s + "1;tsytu", "default;0;" + s + "2;tsytu"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteRegTree(HKEY_CURRENT_USER, kSchemes);
        if (c.value) SetScheme("S", c.value);
        else SetScheme("Other", "x.cur");
        frmMain.procBuildNavTree();
        frmMain.cmbResult.AddItem("left over;0;x;copen");
        Click("ctheme" + std::string(c.value ? "S" : "Other"));
        if (!c.value) {
            // The scheme went after the tree was built.
            DeleteRegTree(HKEY_CURRENT_USER, kSchemes);
            frmMain.cmbResult.AddItem("left over;0;x;copen");
            frmMain.pnlNav.Add("SysCur", tvwChild, "cthemeS", "S");
            Click("cthemeS");
        }
        EXPECT_EQ(Result(), c.expected);
        EXPECT_EQ(gPageNr, 1);
        EXPECT_EQ(gPageCount, 1);
        EXPECT_EQ(Panel("area"), c.expected.empty() ? "" : "Page 1 of 1");
        EXPECT_EQ(Panel("message"), "");
    }
}

TEST_F(NavClickTest, CurrentCursorsWithNoValuesAreTheFourteenDefaultsAndPageLikeAnyResult) {
    // Wine's prefix sets no cursor values; the tests' own prefix is left that way.
    gIconsPerPage = 7;
    Click("SysCurCurrent");
    const std::vector<std::string> expected = {
        "default;0;32650;csycu", "default;0;32512;csycu", "default;0;32515;csycu", "default;0;32651;csycu",
        "default;0;32513;csycu", "default;0;32648;csycu", "default;0;32631;csycu", "default;0;32646;csycu",
        "default;0;32643;csycu", "default;0;32645;csycu", "default;0;32642;csycu", "default;0;32644;csycu",
        "default;0;32516;csycu", "default;0;32514;csycu"};
    EXPECT_EQ(Result(), expected);
    // Fourteen at seven a page: two full pages and the empty third of an exact multiple.
    EXPECT_EQ(gPageCount, 3);
    EXPECT_EQ(Panel("area"), "Page 1 of 3");
    EXPECT_EQ(frmMain.pnlResult.Count(), 7);
    EXPECT_EQ(Panel("message"), "");
}

TEST_F(NavClickTest, SystemGroupOfAnUnknownWindowsListsNothing) {
    for (const char* os : {"", "2000", "nt4"}) {
        SCOPED_TRACE(os);
        gOSCode = os;
        frmMain.cmbResult.AddItem("left over;0;x;copen");
        frmMain.lstChange.AddItem("left over");
        Click("SysDesktop");
        EXPECT_EQ(frmMain.cmbResult.ListCount(), 0);
        EXPECT_EQ(frmMain.lstChange.ListCount(), 0);
        EXPECT_EQ(gPageCount, 1);
        EXPECT_EQ(Panel("count"), "0 Icon(s)");
    }
}

TEST_F(NavClickTest, BranchAndUnknownNodesKeepTheResult) {
    frmMain.pnlNav.Add("your", tvwChild, "mystery", "Mystery");
    struct Case {
        const char* key;
        const char* message;  // a node without children says it searches, and nothing takes that back
    } const cases[] = {{"your", ""}, {"system", ""}, {"mystery", "Searching for icons, please wait..."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Fill({"C:\\a.ico;0;x;2open"});
        gPanelMessage->SetText("");
        Click(c.key);
        EXPECT_EQ(Result(), std::vector<std::string>{"C:\\a.ico;0;x;2open"});
        EXPECT_EQ(frmMain.pnlResult.Count(), 1);
        EXPECT_EQ(Panel("message"), c.message);
    }
}

TEST_F(NavClickTest, FavoritesNodesSwitchTheFolderCommandsAndListOnlyTheFolderOwnIconFiles) {
    gFavDir = dir.Folder("Favorites") + "\\";
    dir.File("Favorites\\top.ico", "x");
    dir.File("Favorites\\Sub\\A.ICO", "x");
    dir.File("Favorites\\Sub\\notes.txt", "x");
    dir.File("Favorites\\Sub\\prog.exe", "x");
    dir.File("Favorites\\Sub\\Deeper\\deep.ico", "x");
    frmMain.procBuildNavTree();
    ASSERT_TRUE(frmMain.pnlNav.Exists("favori\\Sub"));

    gScanSubDirs = true;  // as the disk scan window may have left it
    Click("favori\\Sub");
    EXPECT_TRUE(GroupCommands(true, true));
    EXPECT_EQ(gFavNode, "favori\\Sub");
    EXPECT_EQ(gFavFolderNode, "favori\\Sub");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A.ICO", "prog.exe"}));
    EXPECT_TRUE(gScanSubDirs);
    EXPECT_FALSE(gFavoritesMode);
    EXPECT_TRUE(frmMain.pnlNav.Enabled());
    EXPECT_EQ(frmMain.cmbSearch.Text(), "");

    gScanSubDirs = false;
    Click("favori");
    EXPECT_TRUE(GroupCommands(true, false));
    EXPECT_EQ(gFavNode, "favori");
    EXPECT_EQ(Listed(), std::vector<std::string>{"top.ico"});

    // Any other node: no favorites folder is listed any more, the folder commands go off, and the
    // node they act on stays the last favorites node.
    Click("SysDesktop");
    EXPECT_TRUE(GroupCommands(false, false));
    EXPECT_EQ(gFavFolderNode, "");
    EXPECT_EQ(gFavNode, "favori");
}

TEST_F(NavClickTest, KeywordGroupSearchesItsOwnKeywordOncePerClickWhereverItNowStands) {
    gKeywords[kSlotA] = "group arrows";
    gKeywords[kSlotB] = "group arrow";
    gRefs[kSlotA] = "1:1:x02;";
    gRefs[kSlotB] = "1:2:x02;";
    Keywords({{"group arrow", kSlotB}, {"group arrows", kSlotA}});
    ASSERT_TRUE(frmMain.pnlNav.Exists("groups1"));
    EXPECT_EQ(frmMain.pnlNav.Item("groups1").text, "Arrows");
    EXPECT_EQ(frmMain.pnlNav.Item("groups1").tag, "group arrows");

    // The box's prefix search would find "group arrow" first; the node lists its own keyword.
    for (int click = 1; click <= 2; ++click) {
        SCOPED_TRACE(click);
        frmMain.cmbResult.Clear();
        Click("groups1");
        EXPECT_EQ(frmMain.cmbSearch.ListIndex(), 1);
        EXPECT_EQ(Result(), std::vector<std::string>{"1:1:x02book"});
    }

    // A keyword added since moves the group's keyword down the sorted box.
    frmMain.cmbSearch.Clear();
    for (auto [text, slot] : {std::pair{"group anchors", kSlotC}, {"group arrow", kSlotB}, {"group arrows", kSlotA}}) {
        frmMain.cmbSearch.AddItem(text);
        frmMain.cmbSearch.SetItemData(frmMain.cmbSearch.ListCount() - 1, slot);
    }
    frmMain.cmbResult.Clear();
    Click("groups1");
    EXPECT_EQ(frmMain.cmbSearch.List(frmMain.cmbSearch.ListIndex()), "group arrows");
    EXPECT_EQ(Result(), std::vector<std::string>{"1:1:x02book"});

    // A keyword that is gone lists nothing.
    frmMain.cmbSearch.RemoveItem(2);
    Fill({"C:\\a.ico;0;x;2open"});
    Click("groups1");
    EXPECT_EQ(frmMain.cmbResult.ListCount(), 0);
    EXPECT_EQ(Panel("count"), "0 Icon(s)");
}

TEST_F(NavClickTest, WhileBusyAClickListsNothing) {
    Fill({"C:\\a.ico;0;x;2open"});
    frmMain.procSetAbort(false);
    Click("SysCurCurrent");
    EXPECT_EQ(Result(), std::vector<std::string>{"C:\\a.ico;0;x;2open"});
    frmMain.procSetAbort(true);
}

TEST_F(NavClickTest, CatalogueAndReferenceNodesListTheirClassesLettersAndColours) {
    gKeywords[kSlotA] = "Apple";
    gRefs[kSlotA] = "1:1:x01;1:2:x02;2:5:x04;";
    gKeywords[kSlotB] = "bird";
    gRefs[kSlotB] = "4:4:x07;";
    Keywords({{"Apple", kSlotA}, {"bird", kSlotB}});
    const std::string refA = "C:\\i\\a.ico;0;x;1user", refB = "C:\\i\\b.ico;0;x;4user", refC = "C:\\i\\c.ico;0;x;7user";
    frmMain.lstUser.Clear();
    frmMain.cmbUser.Clear();
    for (const auto& [keyword, entry] : {std::pair{"apple", refA}, {"Bird", refB}, {"Avocado", refC}}) {
        frmMain.lstUser.AddItem(keyword, frmMain.cmbUser.ListCount());
        frmMain.cmbUser.AddItem(entry, frmMain.lstUser.ListCount() - 1);
    }
    struct Case {
        const char* key;
        std::vector<std::string> expected;
    } const cases[] = {
        {"Icon256", {"1:1:x01book", refA}},
        {"IconHi", {"1:2:x02book"}},
        {"Ani256", {"2:5:x04book", refB}},
        {"Cursor256", {"4:4:x07book", refC}},
        {"Reference16", {}},
        {"Reference256", {refA, refB, refC}},
        {"A", {"1:1:x01book", "1:2:x02book", "2:5:x04book", refA, refC}},
        {"B", {"4:4:x07book", refB}},
        {"Q", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        frmMain.cmbResult.AddItem("left over;0;x;copen");
        Click(c.key);
        EXPECT_EQ(Result(), c.expected);
        EXPECT_EQ(gPageNr, 1);
        EXPECT_EQ(gPageCount, 1);
        EXPECT_EQ(frmMain.pnlResult.Count(), static_cast<int>(c.expected.size()));
        EXPECT_TRUE(frmMain.pnlNav.Enabled());
    }
    frmMain.lstUser.Clear();
    frmMain.cmbUser.Clear();
}
