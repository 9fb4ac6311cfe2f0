// The navigation tree as the start-up builds it.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "BoxRecorder.h"
#include "TestSupport.h"
#include "core/FolderWalk.h"
#include "core/Global.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "ui/App.h"
#include "ui/Keys.h"

namespace {

std::vector<std::string> ChildKeys(const std::string& key) {
    std::vector<std::string> keys;
    for (Node* n : frmMain.pnlNav.Children(key)) keys.push_back(n->key);
    return keys;
}

class NavTreeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gEndWhenNoForms = false;
        frmMain.pnlNav.Clear();
        frmMain.cmbSearch.Clear();
        DeleteRegTree(HKEY_CURRENT_USER, "Control Panel\\Cursors\\Schemes");
        gFavDir = dir.Folder("Fav");
        gFavoritesName = "Favorites";
    }
    void TearDown() override {
        DeleteRegTree(HKEY_CURRENT_USER, "Control Panel\\Cursors\\Schemes");
        gCatalogName = "Ornavale";
    }
    TempDir dir;
};

// The favorites walk of the build spoilt at its first folder: it fails, or it adds a node under a key
// that a later addition of the build then finds taken.
class SpoiltWalk : public FolderWalkVisitor {
  public:
    explicit SpoiltWalk(std::string taken) : taken_(std::move(taken)) {}
    HWND PickerOwner(PickerMode) override { return nullptr; }
    void FolderChosen(PickerMode, const std::string&) override {}
    void EntryListed(const std::string&) override {}
    void FavoritesFolder(const FavoritesNodeKeys&, const std::string& name) override {
        if (taken_.empty()) throw std::runtime_error("the walk failed");
        frmMain.pnlNav.Add("favori", tvwChild, taken_, name, "bookfav");
    }

  private:
    std::string taken_;
};

}  // namespace

TEST_F(NavTreeTest, AFailingAdditionIsReportedAndTheBuildGoesOn) {
    gCatalogName.clear();
    dir.Folder("Fav\\Animals");
    BoxRecorder recorder;
    auto& boxes = recorder.boxes;
    struct Case {
        const char* taken;  // "" for a walk that fails
        const char* reported;
    } const cases[] = {
        {"", "the walk failed"},
        {"reference", "reference"},
        {"SysDesktop", "SysDesktop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reported);
        boxes.clear();
        SpoiltWalk walk(c.taken);
        {
            struct OwnWalkAgain {
                ~OwnWalkAgain() { RegisterCoreHooks(); }
            } restore;
            SetFolderWalkVisitor(&walk);
            frmMain.procBuildNavTree();
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find(c.reported), std::string::npos) << boxes[0];
        // Every node after the failure is there.
        for (const char* key : {"Reference16", "ReferenceHi", "SysShortStart", "SysCurCurrent", "SysFiles"})
            EXPECT_TRUE(frmMain.pnlNav.Exists(key)) << key;
        EXPECT_EQ(ChildKeys("your").back(), "SysAso");
        EXPECT_TRUE(frmMain.pnlNav.Item("your").expanded);
    }
}

TEST_F(NavTreeTest, WithoutTheCatalogueOnlyYourIcons) {
    gCatalogName.clear();
    frmMain.cmbSearch.AddItem("group kitchen");
    frmMain.procBuildNavTree();
    EXPECT_EQ(ChildKeys(""), std::vector<std::string>{"your"});
    EXPECT_EQ(ChildKeys("your"),
              (std::vector<std::string>{"favori", "reference", "system", "SysShort", "SysCur", "SysAso"}));
    EXPECT_EQ(ChildKeys("SysCur"), std::vector<std::string>{"SysCurCurrent"});
    EXPECT_TRUE(ChildKeys("favori").empty());
    EXPECT_EQ(frmMain.pnlNav.Item("favori").text, "Favorites");
    EXPECT_EQ(gFavDir.back(), '\\');
}

TEST_F(NavTreeTest, CatalogueGroupsLettersAndSchemes) {
    gCatalogName = "Ornavale";
    for (const char* k : {"apple", "group kitchen", "groupsiMac", "group", "grouping tools", "zebra"})
        frmMain.cmbSearch.AddItem(k);
    HKEY k;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors\\Schemes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                    nullptr);
    RegSetValueExA(k, "Windows Standard", 0, REG_SZ, reinterpret_cast<const BYTE*>("a.cur"), 6);
    RegCloseKey(k);
    dir.Folder("Fav\\Animals");

    frmMain.procBuildNavTree();
    EXPECT_EQ(ChildKeys(""), (std::vector<std::string>{"ornavale", "your"}));
    EXPECT_EQ(ChildKeys("icon"), (std::vector<std::string>{"Icon256", "IconHi"}));
    struct Group {
        const char* key;
        const char* text;
    } groups[] = {{"groups1", "Kitchen"}, {"groups2", "iMac"}, {"groups3", ""}, {"groups4", "Ng tools"}};
    ASSERT_EQ(ChildKeys("group").size(), 4u);
    for (const auto& g : groups) EXPECT_EQ(frmMain.pnlNav.Item(g.key).text, g.text) << g.key;
    EXPECT_EQ(ChildKeys("alfa").size(), 26u);
    EXPECT_EQ(frmMain.pnlNav.Item("Z").text, "Z");
    EXPECT_EQ(ChildKeys("SysCur"), (std::vector<std::string>{"SysCurCurrent", "cthemeWindows Standard"}));
    EXPECT_EQ(ChildKeys("favori"), std::vector<std::string>{"favori\\Animals"});
    EXPECT_EQ(frmMain.pnlNav.Item("Icon256").selectedImage, "openbook");
}

TEST_F(NavTreeTest, EveryNodePictureIsInTheTreeImages) {
    gCatalogName = "Ornavale";
    frmMain.cmbSearch.AddItem("group kitchen");
    dir.Folder("Fav\\Animals");
    frmMain.SetUpImageLists();
    frmMain.procBuildNavTree();
    std::vector<Node*> pending = frmMain.pnlNav.Children("");
    int seen = 0;
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        ++seen;
        for (const std::string* picture : {&node->image, &node->selectedImage}) {
            if (!picture->empty()) {
                EXPECT_GE(frmMain.imlNav.ImageIndex(*picture), 0) << node->key << " " << *picture;
            }
        }
        EXPECT_FALSE(node->image.empty()) << node->key;
        pending.insert(pending.end(), node->children.begin(), node->children.end());
    }
    EXPECT_EQ(seen, frmMain.pnlNav.Count());
}

TEST_F(NavTreeTest, WithoutDesignGroupsTheGroupBranchIsEmpty) {
    gCatalogName = "Ornavale";
    for (const char* k : {"apple", "grape", "zebra"}) frmMain.cmbSearch.AddItem(k);
    frmMain.procBuildNavTree();
    EXPECT_TRUE(ChildKeys("group").empty());
    EXPECT_EQ(ChildKeys("alfa").size(), 26u);
}

TEST_F(NavTreeTest, SchemesInRegistryOrderWithLongNamesAndOneNodeForNamesThatDifferByCase) {
    const std::string longName(3000, 'L');
    HKEY k;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors\\Schemes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                    nullptr);
    for (const std::string& name : {std::string("Zulu"), std::string("alpha"), longName, std::string("ALPHA"),
                                     std::string("Mike")})
        RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("a.cur"), 6);
    RegCloseKey(k);
    // The registry's own order (Wine keeps values sorted by name, Windows in the order written),
    // the second of two names that differ only by case left out.
    std::vector<std::string> expected = {"SysCurCurrent"};
    std::set<std::string> folded;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors\\Schemes", 0, KEY_READ, &k);
    for (DWORD i = 0;; ++i) {
        char name[4096];
        DWORD length = sizeof name;
        if (RegEnumValueA(k, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (!folded.insert(FoldKey(std::string(name, length))).second) continue;
        expected.push_back("ctheme" + std::string(name, length));
    }
    RegCloseKey(k);
    ASSERT_EQ(expected.size(), 5u);
    frmMain.procBuildNavTree();
    const std::vector<std::string> keys = ChildKeys("SysCur");
    EXPECT_TRUE(keys == expected) << keys.size() << " nodes";
    EXPECT_EQ(frmMain.pnlNav.Item("ctheme" + longName).text.size(), longName.size());
}
