// The shortcut listing on links written by the shell-link component in a folder of the test's own
// under the Start Menu: which shortcuts give an entry and what it holds, damaged links, an abort
// during the walk, the Desktop, a non-ASCII name, and Run on a target whose folder holds ";".
#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "MainFixture.h"
#include "browsing/Favorites.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "common/ShellLink.h"
#include "common/ShortcutOrigin.h"
#include "core/Files.h"
#include "core/Global.h"
#include "core/ScopedValue.h"
#include "core/ShellFolders.h"
#include "mainwindow/MainShared.h"

namespace {

class ShortcutsTest : public MainFixture {
  protected:
    void SetUp() override {
        MainFixture::SetUp();
        links = GetSpecialFolder(CSIDL_STARTMENU) + "Ornavale test " + std::to_string(GetCurrentProcessId()) + "\\";
        std::filesystem::create_directories(WidePath(links + "Sub"));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(WidePath(links), ignored);
        MainFixture::TearDown();
    }
    static void Link(const std::string& lnk, const std::string& target, const std::string& icon, int32_t index = 0) {
        ShellLinkObject().WriteLink(lnk, target, "", "", icon, index, 1);
    }
    // The entries of this test's links, by the link's path below the test folder.
    std::map<std::string, std::string> Entries(const std::string& root) const {
        std::map<std::string, std::string> found;
        for (int i = 0; i < frmMain.cmbResult.ListCount(); ++i) {
            const std::string& lnk = frmMain.lstFiles.List(frmMain.cmbResult.ItemData(i));
            if (lnk.compare(0, root.size(), root) == 0) found[lnk.substr(root.size())] = frmMain.cmbResult.List(i);
        }
        return found;
    }

    std::string links;
};

}  // namespace

TEST_F(ShortcutsTest, ListsTheIconOfEachShortcutThatHasOne) {
    const std::string app = dir.path() + "app.exe";
    const std::string tool = dir.path() + "tool.exe";
    char systemRoot[MAX_PATH] = {};
    GetEnvironmentVariableA("SystemRoot", systemRoot, MAX_PATH);
    Link(links + "NoIcon.lnk", app, "");
    Link(links + "Bare.lnk", tool, "shell32.dll", 3);
    Link(links + "BareDocument.lnk", dir.path() + "readme.txt", "shell32.dll", 3);
    Link(links + "Folder.lnk", dir.path(), "");
    Link(links + "Sub\\Icon.lnk", app, "C:\\icons\\a.ico", 2);
    Link(links + "Sub\\Environment.lnk", app, "%SystemRoot%\\system32\\shell32.dll", -5);
    Link(links + "Caf\xe9 cr\xe8me.lnk", app, "C:\\icons\\caf\xe9.ico", 1);
    dir.File("x");
    std::filesystem::copy_file(WidePath(dir.path() + "x"), WidePath(links + "Damaged.lnk"));
    frmMain.lstFiles.AddItem("C:\\earlier\\listing.ico");
    frmMain.cmbSearch.SetText("star");

    frmMain.procSearchShortcuts("Start Menu");

    EXPECT_EQ(Entries(links), (std::map<std::string, std::string>{
                                  {"NoIcon.lnk", ShortcutEntry(app, 0, app)},
                                  {"Bare.lnk", ShortcutEntry(tool, 3, tool)},
                                  {"Sub\\Icon.lnk", ShortcutEntry("C:\\icons\\a.ico", 2, app)},
                                  {"Sub\\Environment.lnk",
                                   ShortcutEntry(std::string(systemRoot) + "\\system32\\shell32.dll", -5, app)},
                                  {"Caf\xe9 cr\xe8me.lnk", ShortcutEntry("C:\\icons\\caf\xe9.ico", 1, app)},
                              }));
    EXPECT_EQ(Panel("count"), std::to_string(frmMain.cmbResult.ListCount()) + " Icon(s)");
    EXPECT_EQ(frmMain.pnlResult.Count(), frmMain.cmbResult.ListCount());
    EXPECT_TRUE(frmMain.pnlNav.Enabled()) << "the damaged link ends nothing";
    EXPECT_FALSE(IsBusy(frmMain));
    EXPECT_EQ(Panel("message"), "");
    EXPECT_EQ(frmMain.cmbSearch.Text(), "");
    EXPECT_FALSE(gScanSubDirs) << "the sub-folder flag as it was";
    EXPECT_FALSE(gAbort);
    EXPECT_EQ(gPageNr, 1);
}

// A ";" in a target's folder: the entry still reads, and Run starts that target and nothing else.
TEST_F(ShortcutsTest, ATargetWithASemicolonIsTheProgramRunStarts) {
    const std::string target = dir.Folder("a;b") + "\\tool.exe";
    Link(links + "Semi.lnk", target, "");
    frmMain.procSearchShortcuts("Start Menu");
    const std::string entry = Entries(links)["Semi.lnk"];
    const std::optional<ResultEntry> read = ParseEntry(entry);
    ASSERT_TRUE(read) << entry;
    EXPECT_EQ(read->file, target);
    EXPECT_EQ(read->IndexNumber(), 0);

    ListItem* item = nullptr;
    for (int i = 1; i <= frmMain.pnlResult.Count() && !item; ++i)
        if (frmMain.pnlResult.Item(i).Tag == entry) item = &frmMain.pnlResult.Item(i);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Text(), "Semi");
    frmMain.pnlResult.SetSelectedItem(item);
    static std::vector<std::string> started;
    started.clear();
    ScopedValue<ProgramStarter> start(gStartProgram, [](const std::string& line) -> DWORD {
        started.push_back(line);
        return 4321;
    });
    frmMain.mnuFileRun_Click();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(started, std::vector<std::string>{"\"" + target + "\""});
}

TEST_F(ShortcutsTest, AnAbortDuringTheWalkKeepsTheResultSetOnShow) {
    for (int i = 0; i < 40; ++i) dir.File("x");
    for (int i = 0; i < 40; ++i)
        std::filesystem::copy_file(WidePath(dir.path() + "x"), WidePath(links + "n" + std::to_string(i) + ".lnk"));
    frmMain.cmbResult.AddItem(ShortcutEntry("C:\\a.ico", 0, "C:\\a.exe"), 1);
    frmMain.cmbResult.AddItem(ShortcutEntry("C:\\b.ico", 0, "C:\\b.exe"), 0);
    frmMain.lstFiles.AddItem(links + "b.lnk");
    frmMain.lstFiles.AddItem(links + "a.lnk");
    gScanSubDirs = true;
    gDoEventsHook = [] {
        if (IsBusy(frmMain)) gAbort = true;
    };
    frmMain.procSearchShortcuts("Start Menu");
    gDoEventsHook = nullptr;

    ASSERT_EQ(frmMain.lstFiles.ListCount(), 2);
    EXPECT_EQ(frmMain.lstFiles.List(0), links + "b.lnk");
    EXPECT_EQ(frmMain.lstFiles.List(1), links + "a.lnk");
    ASSERT_EQ(frmMain.cmbResult.ListCount(), 2);
    EXPECT_EQ(frmMain.cmbResult.ItemData(0), 1);
    EXPECT_EQ(frmMain.pnlResult.Count(), 2) << "page 1 shown again";
    EXPECT_TRUE(frmMain.pnlNav.Enabled());
    EXPECT_FALSE(IsBusy(frmMain));
    EXPECT_FALSE(gAbort);
    EXPECT_TRUE(gScanSubDirs);
}

// Change, Properties and Run find an item's link by its name and origin: after a scan of another
// folder aborted during its walk, each names its own link again.
TEST_F(ShortcutsTest, AScanAbortedDuringItsWalkLeavesEachItemItsOwnLink) {
    for (int i = 0; i < 40; ++i) dir.File("Other\\icon" + std::to_string(i) + ".ico");
    const std::map<std::string, std::string> targets = {
        {"One", dir.path() + "one.exe"}, {"Two", dir.path() + "two.exe"}, {"Three", dir.path() + "three.exe"}};
    Link(links + "One.lnk", targets.at("One"), "");
    Link(links + "Sub\\Two.lnk", targets.at("Two"), "");
    Link(links + "Three.lnk", targets.at("Three"), "C:\\icons\\3.ico", 1);
    // Each item's name and origin, and the target of the link they lead to.
    const auto shown = [] {
        std::map<std::string, std::string> items;
        for (int i = 1; i <= frmMain.pnlResult.Count(); ++i) {
            ListItem& item = frmMain.pnlResult.Item(i);
            std::string target, workDir, arguments, iconFile;
            int32_t iconIndex = 0, showCmd = 0;
            try {
                ShellLinkObject().ReadLink(ShortcutLinkPath(item.SubItem(2), item.Text(), gWinDir), target, workDir,
                                           arguments, iconFile, iconIndex, showCmd);
            } catch (const std::exception&) {
                target = "no link";
            }
            items[item.Text() + " | " + item.SubItem(2)] = target;
        }
        return items;
    };
    frmMain.procSearchShortcuts("Start Menu");
    const std::map<std::string, std::string> before = shown();
    for (const auto& [name, target] : targets)
        EXPECT_EQ(std::count_if(before.begin(), before.end(),
                                [&](const auto& item) { return item.first.starts_with(name + " | ") && item.second == target; }),
                  1)
            << name;

    ScanAbortedDuringTheWalk(dir.path() + "Other");

    EXPECT_EQ(shown(), before);
}

TEST_F(ShortcutsTest, ListsTheDesktop) {
    const std::string desktop = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(desktop.empty());
    const std::string notes = desktop + "Notes.lnk";
    Link(notes, dir.path() + "notes.exe", "");
    frmMain.procSearchShortcuts("Desktop");
    std::filesystem::remove(WidePath(notes));

    EXPECT_EQ(Entries(desktop)["Notes.lnk"], ShortcutEntry(dir.path() + "notes.exe", 0, dir.path() + "notes.exe"));
    EXPECT_TRUE(Entries(links).empty()) << "nothing of the Start Menu";
}
