// The folder walker on real temporary trees, and the folder picker with its dialog replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "browsing/FrmScan.h"
#include "core/FolderWalk.h"
#include "core/ScopedValue.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/FrmOptions.h"
#include "ui/App.h"
#include "ui/TreeView.h"

namespace {

class FolderWalkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gEndWhenNoForms = false;
        frmMain.lstFiles.Clear();
        frmMain.pnlNav.Clear();
        gFavoritesMode = gScanSubDirs = gAbort = gBrowseFolderIcon = false;
        gFileCount = gDirCount = 0;
    }
    void TearDown() override {
        gFavoritesMode = gScanSubDirs = gAbort = gBrowseFolderIcon = false;
        gDoEventsHook = nullptr;
        gFolderPicker = &SHBrowseForFolderA;
    }
    std::set<std::string> Listed() const {
        std::set<std::string> s;
        for (int i = 0; i < frmMain.lstFiles.ListCount(); ++i) s.insert(frmMain.lstFiles.List(i));
        return s;
    }
    TempDir dir;
};

}  // namespace

TEST_F(FolderWalkTest, PatternsSubFoldersAndTheTrailingBackslash) {
    dir.File("a.ico");
    dir.File("b.cur");
    dir.File("notes.txt");
    dir.File("sub\\c.ico");
    dir.File("sub\\deeper\\d.ico");
    dir.Folder("empty.ico");  // a folder that matches the pattern

    struct Case {
        const char* pattern;
        bool subDirs;
        std::set<std::string> files;
        int dirs;
    } cases[] = {
        {"*.ico", false, {"a.ico", "empty.ico"}, 2},
        {"*.ico", true, {"a.ico", "empty.ico", "sub\\c.ico", "sub\\deeper\\d.ico"}, 3},
        {"*.*", false, {"a.ico", "b.cur", "notes.txt", "sub", "empty.ico"}, 2},
        {"avb.avb", true, {}, 3},
    };
    for (const auto& c : cases) {
        frmMain.lstFiles.Clear();
        gScanSubDirs = c.subDirs;
        std::string path = dir.path().substr(0, dir.path().size() - 1);
        int32_t files = 0, dirs = 0;
        ScanFolderTree(path, c.pattern, files, dirs);
        EXPECT_EQ(path, dir.path()) << "the caller's path gets its trailing backslash";
        std::set<std::string> expected;
        for (const auto& f : c.files) expected.insert(dir.path() + f);
        EXPECT_EQ(Listed(), expected) << c.pattern;
        EXPECT_EQ(files, static_cast<int32_t>(c.files.size())) << c.pattern;
        EXPECT_EQ(dirs, c.dirs) << c.pattern;
    }
}

namespace {

// Records what the picker and the walk hand over, in place of the program's windows.
struct RecordingVisitor final : FolderWalkVisitor {
    HWND owner = reinterpret_cast<HWND>(0x1234);
    std::vector<PickerMode> ownerAsked;
    std::vector<std::pair<PickerMode, std::string>> chosen;
    std::vector<std::string> listed;
    std::vector<std::string> favoritesKeys;
    HWND PickerOwner(PickerMode mode) override {
        ownerAsked.push_back(mode);
        return owner;
    }
    void FolderChosen(PickerMode mode, const std::string& folder) override { chosen.emplace_back(mode, folder); }
    void EntryListed(const std::string& path) override { listed.push_back(path); }
    void FavoritesFolder(const FavoritesNodeKeys& keys, const std::string& name) override {
        favoritesKeys.push_back(keys.key + "|" + name);
    }
};

HWND gOwnerSeen = nullptr;
PIDLIST_ABSOLUTE PickerChoosing(BROWSEINFOA* info) {
    gOwnerSeen = info->hwndOwner;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return ILCreateFromPathA(temp);
}

}  // namespace

// Core reaches no window of its own accord: the walk and the picker go only to the registered visitor.
TEST_F(FolderWalkTest, TheRegisteredVisitorGetsWhatTheWalkFinds) {
    dir.File("Fav\\a.ico");
    dir.File("Fav\\Tools\\b.ico");
    RecordingVisitor visitor;
    SetFolderWalkVisitor(&visitor);

    gFavDir = dir.path() + "Fav";
    gFavoritesMode = true;
    gScanSubDirs = true;
    std::string path = gFavDir;
    int32_t files = 0, dirs = 0;
    ScanFolderTree(path, "*.ico", files, dirs);
    EXPECT_EQ(visitor.listed, (std::vector<std::string>{path + "a.ico", path + "Tools\\b.ico"}));
    EXPECT_EQ(visitor.favoritesKeys, std::vector<std::string>{"favori\\Tools|Tools"});
    EXPECT_EQ(frmMain.lstFiles.ListCount(), 0);
    EXPECT_EQ(frmMain.pnlNav.Count(), 0);

    gFolderPicker = &PickerChoosing;
    struct Case {
        bool favorites, folderIcon;
        PickerMode mode;
        bool handedOver;
    } cases[] = {
        {false, false, PickerMode::Scan, true},
        {true, false, PickerMode::Favorites, true},
        {false, true, PickerMode::FolderIcon, false},  // that folder goes to gStrTemp instead
    };
    for (const auto& c : cases) {
        visitor.ownerAsked.clear();
        visitor.chosen.clear();
        gFavoritesMode = c.favorites;
        gBrowseFolderIcon = c.folderIcon;
        std::string folder = BrowseForFolder("");
        EXPECT_FALSE(folder.empty());
        EXPECT_EQ(visitor.ownerAsked, std::vector<PickerMode>{c.mode});
        EXPECT_EQ(gOwnerSeen, visitor.owner);
        EXPECT_EQ(visitor.chosen.size(), c.handedOver ? 1u : 0u);
        if (c.handedOver) {
            EXPECT_EQ(visitor.chosen[0], std::make_pair(c.mode, folder));
        }
    }

    // Without a visitor the walk still counts and sums.
    SetFolderWalkVisitor(nullptr);
    gFavoritesMode = false;
    path = dir.path();
    files = dirs = 0;
    EXPECT_EQ(ScanFolderTree(path, "*.ico", files, dirs), 2u);
    EXPECT_EQ(files, 2);
    EXPECT_EQ(dirs, 2);
    EXPECT_EQ(frmMain.lstFiles.ListCount(), 0);
    RegisterCoreHooks();
}

TEST_F(FolderWalkTest, SizesAddUpPast4GB) {
    std::string big = dir.File("big.ico");
    HANDLE h = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 5LL * 1024 * 1024 * 1024;
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    dir.File("small.ico", "12345");
    std::string path = dir.path();
    int32_t files = 0, dirs = 0;
    EXPECT_EQ(ScanFolderTree(path, "*.ico", files, dirs), 5ULL * 1024 * 1024 * 1024 + 5);
}

TEST_F(FolderWalkTest, FavoritesNodesByKey) {
    dir.Folder("Fav\\Animals\\Cats");
    dir.Folder("Fav\\Animals\\Dogs");
    dir.Folder("Fav\\Tools");
    dir.File("Fav\\Tools\\hammer.ico");

    for (std::string root : {dir.path() + "Fav\\", dir.path() + "Fav"}) {
        frmMain.pnlNav.Clear();
        frmMain.pnlNav.Add("", tvwLast, "favori", "Favorites", "favorite");
        gFavDir = root;
        gFavoritesMode = true;
        gScanSubDirs = false;
        std::string path = gFavDir;
        ScanFolderTree(path, "avb.avb", gFileCount, gDirCount);
        // Only the first level without sub-folders, and no file listed.
        EXPECT_TRUE(frmMain.pnlNav.Exists("favori\\Animals")) << root;
        EXPECT_TRUE(frmMain.pnlNav.Exists("favori\\Tools"));
        EXPECT_FALSE(frmMain.pnlNav.Exists("favori\\Animals\\Cats"));
        EXPECT_EQ(frmMain.lstFiles.ListCount(), 0);

        std::string sub = dir.path() + "Fav\\Animals";
        ScanFolderTree(sub, "avb.avb", gFileCount, gDirCount);
        ASSERT_TRUE(frmMain.pnlNav.Exists("favori\\Animals\\Cats"));
        Node& cats = frmMain.pnlNav.Item("favori\\Animals\\Cats");
        EXPECT_EQ(cats.text, "Cats");
        EXPECT_EQ(cats.image, "bookfav");
        EXPECT_EQ(cats.selectedImage, "openbook");
        auto children = frmMain.pnlNav.Children("favori\\Animals");
        ASSERT_EQ(children.size(), 2u);
        EXPECT_EQ(children[0]->key, "favori\\Animals\\Cats");
        EXPECT_EQ(children[1]->key, "favori\\Animals\\Dogs");
    }

    // The whole tree at once, as the start-up builds it.
    frmMain.pnlNav.Clear();
    frmMain.pnlNav.Add("", tvwLast, "favori", "Favorites", "favorite");
    gFavDir = dir.path() + "Fav";
    gScanSubDirs = true;
    ScanFolderTree(gFavDir, "avb.avb", gFileCount, gDirCount);
    EXPECT_EQ(gFavDir, dir.path() + "Fav\\");
    EXPECT_EQ(frmMain.pnlNav.Count(), 5);
    EXPECT_TRUE(frmMain.pnlNav.Exists("favori\\Animals\\Dogs"));
}

TEST_F(FolderWalkTest, KeysTable) {
    struct Case {
        const char* favDir;
        const char* walked;
        const char* parent;
        const char* key;
    } cases[] = {
        {"C:\\Fav\\", "C:\\Fav\\", "favori", "favori\\A"},
        {"C:\\Fav", "C:\\Fav\\", "favori", "favori\\A"},
        {"C:\\Fav\\", "C:\\Fav\\B\\", "favori\\B", "favori\\B\\A"},
        {"C:\\Fav\\", "c:\\fav\\B\\C\\", "favori\\B\\C", "favori\\B\\C\\A"},
    };
    for (const auto& c : cases) {
        auto keys = FavoritesKeys(c.favDir, c.walked, "A");
        EXPECT_EQ(keys.parent, c.parent) << c.walked;
        EXPECT_EQ(keys.key, c.key) << c.walked;
    }
}

TEST_F(FolderWalkTest, AbortStopsEveryLevelAndKeepsThePartialList) {
    for (int d = 0; d < 6; ++d)
        for (int f = 0; f < 200; ++f) dir.File("level" + std::to_string(d) + "\\f" + std::to_string(f) + ".ico");
    gScanSubDirs = true;
    const ScopedValue<unsigned long> everyEntry(gWalkEventsMs, 0);
    // The user presses Esc once 100 files are listed (the press is seen at the next event pump).
    gDoEventsHook = [] {
        if (frmMain.lstFiles.ListCount() >= 100) gAbort = true;
    };
    std::string path = dir.path();
    int32_t files = 0, dirs = 0;
    ScanFolderTree(path, "*.ico", files, dirs);
    EXPECT_TRUE(gAbort);
    EXPECT_GE(frmMain.lstFiles.ListCount(), 100);
    EXPECT_LT(frmMain.lstFiles.ListCount(), 140);
    EXPECT_EQ(frmMain.lstFiles.ListCount(), files);
}

TEST_F(FolderWalkTest, MoreThan32767Files) {
    // Spread over folders: Wine slows down a lot when one folder holds tens of thousands of files.
    const int folders = 66, perFolder = 500;
    for (int d = 0; d < folders; ++d)
        for (int i = 0; i < perFolder; ++i)
            dir.File("many\\" + std::to_string(d) + "\\" + std::to_string(i) + ".ico", "");
    std::string path = dir.path() + "many";
    gScanSubDirs = true;
    int32_t files = 0, dirs = 0;
    ScanFolderTree(path, "*.ico", files, dirs);
    EXPECT_EQ(files, folders * perFolder);
    EXPECT_GT(files, 32767);
    EXPECT_EQ(dirs, folders);
    EXPECT_EQ(frmMain.lstFiles.ListCount(), folders * perFolder);
}

namespace {

struct PickerCall {
    HWND owner = nullptr;
    std::string title;
    std::string start;
    int calls = 0;
};
PickerCall gCall;
std::string gPickPath;  // "" cancels; "::printers" picks the printers
PIDLIST_ABSOLUTE FakePicker(BROWSEINFOA* info) {
    ++gCall.calls;
    gCall.owner = info->hwndOwner;
    gCall.title = info->lpszTitle;
    gCall.start = reinterpret_cast<const char*>(info->lParam);
    if (gPickPath.empty()) return nullptr;
    if (gPickPath == "::printers") {
        PIDLIST_ABSOLUTE pidl = nullptr;
        SHGetSpecialFolderLocation(nullptr, CSIDL_PRINTERS, &pidl);
        return pidl;
    }
    return ILCreateFromPathA(gPickPath.c_str());
}

}  // namespace

TEST_F(FolderWalkTest, PickerModesAndTargets) {
    gFolderPicker = &FakePicker;
    std::string folder = dir.Folder("Chosen Folder");
    frmScan.Load();
    frmOptions.Load();
    PresetQuietStart();
    frmMain.Load();

    // Scan window mode.
    frmScan.cmdStart.SetEnabled(false);
    gPickPath = folder;
    EXPECT_EQ(BrowseForFolder("C:\\start"), folder);
    EXPECT_EQ(gCall.start, "C:\\start");
    EXPECT_EQ(gCall.owner, frmScan.hwnd());
    EXPECT_NE(gCall.title.find("Network Folders are allowed."), std::string::npos);
    EXPECT_EQ(frmScan.txtDir.Text(), folder);
    EXPECT_TRUE(frmScan.cmdStart.Enabled());

    // Cancel changes no target.
    frmScan.cmdStart.SetEnabled(false);
    gPickPath = "";
    EXPECT_EQ(BrowseForFolder(folder), "");
    EXPECT_EQ(frmScan.txtDir.Text(), folder);
    EXPECT_FALSE(frmScan.cmdStart.Enabled());

    // An item without a file-system path gives "" and still enables Start.
    gPickPath = "::printers";
    EXPECT_EQ(BrowseForFolder(folder), "");
    EXPECT_EQ(frmScan.txtDir.Text(), "");
    EXPECT_TRUE(frmScan.cmdStart.Enabled());

    // Favorites mode writes the options' field.
    gFavoritesMode = true;
    gPickPath = folder;
    EXPECT_EQ(BrowseForFolder(""), folder);
    EXPECT_EQ(gCall.owner, frmOptions.hwnd());
    EXPECT_EQ(gCall.title, "Select a valid Folder. Do not select system objects like Printers, Control Panel etc.");
    EXPECT_EQ(frmOptions.txtFavHomeDir.Text(), folder);
    gFavoritesMode = false;

    // Folder icon mode leaves the folder in gStrTemp.
    gBrowseFolderIcon = true;
    gStrTemp.clear();
    EXPECT_EQ(BrowseForFolder(""), folder);
    EXPECT_EQ(gCall.owner, frmMain.hwnd());
    EXPECT_EQ(gStrTemp, folder);
    gBrowseFolderIcon = false;

    frmScan.Unload();
    frmOptions.Unload();
    frmMain.Unload();
}

namespace {
std::string gSelected;
WPARAM gSelectedFlag = 0;
LRESULT CALLBACK FakePickerWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == BFFM_SETSELECTIONA) {
        gSelectedFlag = wParam;
        gSelected = reinterpret_cast<const char*>(lParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
}  // namespace

TEST_F(FolderWalkTest, CallbackPreselectsTheStartFolder) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FakePickerWindow;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FakePicker";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, "FakePicker", "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    const char start[] = "C:\\Icons Folder";
    EXPECT_EQ(BrowseCallbackProc(w, BFFM_INITIALIZED, 0, reinterpret_cast<LPARAM>(start)), 0);
    EXPECT_EQ(gSelected, start);
    EXPECT_NE(gSelectedFlag, 0u);
    gSelected.clear();
    EXPECT_EQ(BrowseCallbackProc(w, BFFM_SELCHANGED, 0, reinterpret_cast<LPARAM>(start)), 0);
    EXPECT_EQ(gSelected, "");
    DestroyWindow(w);
}
