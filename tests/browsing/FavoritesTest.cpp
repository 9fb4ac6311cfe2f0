// The favorites commands on real temporary folders: create (with a collision, bad names and an
// empty answer), remove with sub-folders, delete, refresh, organise.
#include "MainFixture.h"

#include "browsing/Favorites.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "mainwindow/Selection.h"
#include "ui/InputBox.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool IsFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

class FavoritesTest : public MainFixture {
  protected:
    static inline std::deque<std::string> answers;
    static inline std::vector<std::string> asked;
    static inline std::vector<std::string> started;
    static inline std::vector<std::string> clicked;

    void SetUp() override {
        MainFixture::SetUp();
        answers.clear();
        asked.clear();
        started.clear();
        clicked.clear();
        gInputBoxHook = [](const std::string& prompt, const std::string& title, const std::string& def) {
            asked.push_back(title + "|" + prompt + "|" + def);
            if (answers.empty()) return std::string();
            std::string a = answers.front();
            answers.pop_front();
            return a;
        };
        systemStarter = gStartProgram;
        gStartProgram = [](const std::string& line) -> DWORD {
            started.push_back(line);
            return 1234;
        };
        frmMain.pnlNav.NodeClick = [](Node& n) { clicked.push_back(n.key); };
        fav = dir.Folder("Favorites");
        dir.Folder("Favorites\\A\\B");
        dir.Folder("Favorites\\Zed");
        savedFavDir = gFavDir;
        gFavDir = fav;
        frmMain.mnuFavoriteRefresh_Click();
    }
    void TearDown() override {
        gInputBoxHook = nullptr;
        gStartProgram = systemStarter;
        frmMain.pnlNav.NodeClick = nullptr;
        gFavDir = savedFavDir;
        gFavNode.clear();
        gFavFolderNode.clear();
        MainFixture::TearDown();
    }
    static std::vector<std::string> ChildKeys(const std::string& key) {
        std::vector<std::string> keys;
        for (Node* n : frmMain.pnlNav.Children(key)) keys.push_back(n->key);
        return keys;
    }
    std::string fav, savedFavDir;
    ProgramStarter systemStarter = nullptr;
};

using Keys = std::vector<std::string>;

}  // namespace

TEST_F(FavoritesTest, RefreshShowsTheFolderStructureOnDiskAndAnEmptyResult) {
    EXPECT_EQ(ChildKeys("favori"), (Keys{"favori\\A", "favori\\Zed"}));
    EXPECT_EQ(ChildKeys("favori\\A"), (Keys{"favori\\A\\B"}));
    // The root stands directly before the references.
    Keys roots = ChildKeys("your");
    ASSERT_GE(roots.size(), 2u);
    EXPECT_EQ(roots[0], "favori");
    EXPECT_EQ(roots[1], "reference");

    RemoveDirectoryA((fav + "\\Zed").c_str());
    dir.Folder("Favorites\\Mid\\Inner");
    frmMain.cmbResult.AddItem("C:\\x\\a.ico;0;x;2open");
    frmMain.mnuFavoriteRefresh_Click();
    EXPECT_EQ(ChildKeys("favori"), (Keys{"favori\\A", "favori\\Mid"}));
    EXPECT_EQ(ChildKeys("favori\\Mid"), (Keys{"favori\\Mid\\Inner"}));
    EXPECT_EQ(frmMain.cmbResult.ListCount(), 0);
    EXPECT_EQ(Panel("count"), "0 Icon(s)");
    EXPECT_FALSE(gFavoritesMode);
    EXPECT_FALSE(gScanSubDirs);
}

TEST_F(FavoritesTest, CreateAsksAgainAfterACollisionOrABadNameAndAddsOneNode) {
    struct Case {
        const char* name;
        const char* node;
        std::deque<std::string> answers;
        std::vector<std::string> messages;  // the start of each box shown
        const char* created;                // "" for none
        Keys children;
    } cases[] = {
        {"on the root", "favori", {"New"}, {}, "New", {"favori\\A", "favori\\New", "favori\\Zed"}},
        {"collision, then a new name", "favori", {"a", "Other"},
         {"A Favorite Folder named 'a' in the 'Favorites' Folder already excists.\rPlease choose another Folder Name."},
         "Other", {"favori\\A", "favori\\Other", "favori\\Zed"}},
        {"bad names, then nothing", "favori", {"x\\y", "..", "bad|name", ""},
         {"A Favorite Folder cannot be named 'x\\y'", "A Favorite Folder cannot be named '..'",
          "A Favorite Folder cannot be named 'bad|name'"},
         "", {"favori\\A", "favori\\Zed"}},
        {"empty answer", "favori", {""}, {}, "", {"favori\\A", "favori\\Zed"}},
        {"nested", "favori\\A", {"C"}, {}, "A\\C", {"favori\\A\\B", "favori\\A\\C"}},
    };
    for (Case& c : cases) {
        for (const char* made : {"New", "Other", "A\\C"}) RemoveDirectoryA((fav + "\\" + made).c_str());
        frmMain.mnuFavoriteRefresh_Click();
        boxes.clear();
        asked.clear();
        gFavNode = c.node;
        answers = c.answers;
        frmMain.mnuFavoriteGroupAdd_Click();
        EXPECT_EQ(asked.size(), c.answers.size()) << c.name;
        EXPECT_EQ(asked.at(0), "Create Favorite Folder|Give the Name of the Favorite Folder.|") << c.name;
        ASSERT_EQ(boxes.size(), c.messages.size()) << c.name;
        for (size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_EQ(boxes[i].text.compare(0, c.messages[i].size(), c.messages[i]), 0)
                << c.name << ": " << boxes[i].text;
            EXPECT_EQ(boxes[i].title, "Create Favorite Folder") << c.name;
            EXPECT_EQ(boxes[i].style, static_cast<UINT>(MB_ICONHAND)) << c.name;
        }
        if (*c.created) {
            EXPECT_TRUE(Exists(fav + "\\" + c.created)) << c.name;
        }
        EXPECT_EQ(ChildKeys(c.node), c.children) << c.name;
        EXPECT_FALSE(Exists(fav + "\\x")) << c.name;
    }
}

TEST_F(FavoritesTest, RemoveDeletesTheFolderWithItsSubFoldersOnYesOnly) {
    dir.File("Favorites\\A\\one.ico");
    const std::string ro = dir.File("Favorites\\A\\B\\two.ico");
    SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
    gFavNode = "favori\\A";

    boxAnswers = {IDNO};
    frmMain.mnuFavoriteGroupDel_Click();
    EXPECT_TRUE(Exists(ro));
    EXPECT_TRUE(frmMain.pnlNav.Exists("favori\\A"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "Are you sure you want to remove the 'A' Favorite Folder and all of it's subgroups?.\rAll icons present "
              "in this folder and all it's subfolders will be permanently deleted from your harddisk!");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
    EXPECT_EQ(boxes[0].title, "Remove Favorite Folder");

    boxAnswers = {IDYES};
    frmMain.mnuFavoriteGroupDel_Click();
    EXPECT_FALSE(Exists(fav + "\\A"));
    EXPECT_FALSE(frmMain.pnlNav.Exists("favori\\A"));
    EXPECT_FALSE(frmMain.pnlNav.Exists("favori\\A\\B"));
    EXPECT_TRUE(Exists(fav + "\\Zed"));
    EXPECT_FALSE(MenuEnabled(ID_mnuFavoriteGroupDel));
    EXPECT_EQ(boxes.size(), 2u);

    // The root is never removed, and nothing is asked.
    gFavNode = "favori";
    frmMain.mnuFavoriteGroupDel_Click();
    EXPECT_TRUE(Exists(fav));
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(FavoritesTest, ARemovalThatFailsIsReportedAndTheNodeStays) {
    const std::string held = dir.File("Favorites\\Zed\\held.ico");
    HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    gFavNode = "favori\\Zed";
    boxAnswers = {IDYES};
    frmMain.mnuFavoriteGroupDel_Click();
    CloseHandle(h);
    EXPECT_TRUE(Exists(fav + "\\Zed"));
    EXPECT_TRUE(frmMain.pnlNav.Exists("favori\\Zed"));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].title, "Error");
    EXPECT_NE(boxes[1].text.find("Remove Favorite Folder"), std::string::npos);
    EXPECT_NE(boxes[1].text.find(fav + "\\Zed"), std::string::npos) << boxes[1].text;
}

TEST_F(FavoritesTest, DeleteRemovesOnlyFavoritesAndListsTheFolderAgain) {
    const std::string favorite = dir.File("Favorites\\A\\star.ico");
    const std::string outside = dir.File("Elsewhere\\star.ico");
    gFavFolderNode = "favori\\A";
    frmMain.pnlNav.SetSelectedItem("favori\\A");

    struct Case {
        const char* name;
        std::string folder, file;
        bool deleted;
        Keys clicks;
    } cases[] = {
        {"outside the favorites", dir.path() + "Elsewhere\\", "star.ico", false, {}},
        {"a way out of the favorites", fav + "\\A\\..\\..\\Elsewhere\\", "star.ico", false, {}},
        {"a favorite", fav + "\\A\\", "star.ico", true, {"favori\\A"}},
        {"already gone", fav + "\\A\\", "star.ico", false, {}},
    };
    for (const Case& c : cases) {
        clicked.clear();
        const bool before = Exists(c.folder + c.file);
        gSelDir = c.folder;
        gSelFile = c.file;
        frmMain.mnuFavoriteDel_Click();
        EXPECT_EQ(before && !Exists(c.folder + c.file), c.deleted) << c.name;
        EXPECT_EQ(clicked, c.clicks) << c.name;
    }
    EXPECT_TRUE(Exists(outside));
    EXPECT_FALSE(Exists(favorite));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FavoritesTest, OrganizeAsksUntilToldNotToThenOpensTheExplorer) {
    static int step = 0;
    static bool tick = false, act = false;
    // Plays the user once the message window is open.
    auto play = [](HWND, UINT, UINT_PTR id, DWORD) {
        if (!frmMessage.Visible()) return;
        KillTimer(nullptr, id);
        ++step;
        if (tick) frmMessage.chkNoShow.SetValue(1);
        SendMessageA((act ? frmMessage.cmdRestart : frmMessage.cmdOK).hwnd(), BM_CLICK, 0, 0);
    };
    // Both paths quoted: a Windows folder with a blank in its path starts no other program.
    const ScopedValue<std::string> winDir{gWinDir, "C:\\Program Files\\Win"};
    const std::string command = "\"C:\\Program Files\\Win\\Explorer.exe\" /n,/e,\"" + fav + "\"";
    struct Case {
        bool tick, act;
        int shown;
        size_t starts;
    } cases[] = {{false, false, 1, 0}, {false, true, 2, 1}, {true, true, 3, 2}, {false, false, 3, 3}};
    for (const Case& c : cases) {
        tick = c.tick;
        act = c.act;
        UINT_PTR timer = SetTimer(nullptr, 0, 30, play);
        frmMain.mnuFavoriteOrganize_Click();
        KillTimer(nullptr, timer);
        EXPECT_EQ(step, c.shown);
        EXPECT_EQ(started.size(), c.starts);
    }
    for (const std::string& s : started) EXPECT_EQ(s, command);
    EXPECT_EQ(gResult, Variant(1234));
    EXPECT_EQ(ReadStoredSetting(setting::OrganizeFav), Variant("1"));
}

TEST_F(FavoritesTest, AddAndRefreshMakeTheFavoritesFolderGoneMeanwhileAgainOrSayWhyNot) {
    struct Case {
        const char* name;
        void (FrmMain::*command)();
        const char* selected;  // the tree's node
        bool fileInItsPlace;
        std::string made;  // the folder there afterwards; "" for none
    } cases[] = {
        {"Add, into a folder of the tree", &FrmMain::mnuFavoriteAdd_Click, "favori\\A\\B", false, fav + "\\A\\B"},
        {"Refresh", &FrmMain::mnuFavoriteRefresh_Click, "favori", false, fav},
        {"Add, a file in its place", &FrmMain::mnuFavoriteAdd_Click, "favori", true, ""},
        {"Refresh, a file in its place", &FrmMain::mnuFavoriteRefresh_Click, "favori", true, ""},
    };
    for (const Case& c : cases) {
        frmMain.pnlNav.SetSelectedItem(c.selected);
        DeleteFolderTree(fav);
        if (c.fileInItsPlace) dir.File("Favorites");
        boxes.clear();
        (frmMain.*c.command)();
        if (c.fileInItsPlace) {
            ASSERT_EQ(boxes.size(), 1u) << c.name;
            EXPECT_EQ(boxes[0].text, "The Favorites folder " + fav + " cannot be made: a file of that name is in its place.")
                << c.name;
            EXPECT_TRUE(Exists(fav) && !IsFolder(fav)) << c.name;
            DeleteFileA(fav.c_str());
        } else {
            EXPECT_TRUE(boxes.empty()) << c.name;
            EXPECT_TRUE(IsFolder(c.made)) << c.name;
        }
    }
    EXPECT_FALSE(gFavoritesMode);
}
