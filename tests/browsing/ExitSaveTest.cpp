// The exit save with the loaded main window: the rebuild question, the keyword editor's and the
// reference window's places, the user keywords file, the end of the hand-over, a Windows shutdown;
// and the safe rewrite of a user file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "IconMaker.h"
#include "BoxRecorder.h"
#include "TestSupport.h"
#include "browsing/FrmAdd.h"
#include "browsing/FrmKey.h"
#include "core/IconCache.h"
#include "core/Global.h"
#include "core/SaveOnExit.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "ui/App.h"

namespace {

std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;
int& gAnswer = BoxRecorder::answer;

std::optional<std::string> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ExitSaveTest : public testing::Test {
  protected:
    void SetUp() override {
        static bool started = (InitApp(GetModuleHandleA(nullptr)), gEndWhenNoForms = false, true);
        (void)started;
        Reload();
    }
    // The main window loaded as at a start, this test's folder as the program folder.
    void Reload() const {
        if (!frmMain.IsLoaded()) {
            gAppPath.clear();
            PresetQuietStart();
            frmMain.Load();
        }
        gAppPath = dir.Folder("prog") + "\\";
        gBoxes.clear();
        gCacheDirty = gKeysChanged = gRefsChanged = false;
        gSettingsSaved = false;
    }
    void TearDown() override {
        gDoEventsHook = nullptr;
        frmAdd.Unload();
        frmKey.Unload();
        frmMain.Unload();
        gAppPath.clear();
        gCatalogName = "Ornavale";
        gCacheDirty = gKeysChanged = gRefsChanged = false;
    }
    BoxRecorder recorder;
    std::string Path(const char* name) const { return gAppPath + name; }
    void Write(const char* name, const std::string& content) const { dir.File(std::string("prog\\") + name, content); }
    // The user keywords "u1", "u2" loaded, the editor made and "new" added.
    void AddKeyword() const {
        Write("Keyuser.dat", "u2\r\nu1\r\n");
        frmMain.procFillSearch();
        gBoxes.clear();
        frmKey.Load();
        frmKey.txtKey.SetText("new");
        frmKey.cmdAdd_Click();
    }

    CleanStore store;
    TempDir dir;
};

}  // namespace

TEST_F(ExitSaveTest, ToolWindowPlacesAreKeptForWindowsMadeAndNotMinimised) {
    enum class Made { No, Yes, Minimised };
    for (Made made : {Made::No, Made::Yes, Made::Minimised}) {
        SCOPED_TRACE(static_cast<int>(made));
        CleanStore::Wipe();
        Reload();
        std::optional<int> keyTop, keyLeft, addTop, addLeft;
        if (made != Made::No) {
            frmKey.Load();
            frmAdd.Load();
            frmKey.Move(600, 900, frmKey.Width(), frmKey.Height());
            frmAdd.Move(1200, 1500, frmAdd.Width(), frmAdd.Height());
            if (made == Made::Minimised) {
                frmKey.SetWindowState(FormWindowState::Minimized);
                frmAdd.SetWindowState(FormWindowState::Minimized);
            } else {
                keyTop = frmKey.Top(), keyLeft = frmKey.Left(), addTop = frmAdd.Top(), addLeft = frmAdd.Left();
            }
        }
        SaveSettingsAndUnload();
        EXPECT_EQ(ReadStoredSetting(setting::KeyTop).Number(), keyTop);
        EXPECT_EQ(ReadStoredSetting(setting::KeyLeft).Number(), keyLeft);
        EXPECT_EQ(ReadStoredSetting(setting::AddTop).Number(), addTop);
        EXPECT_EQ(ReadStoredSetting(setting::AddLeft).Number(), addLeft);
        EXPECT_FALSE(gKeysChanged);
        EXPECT_FALSE(gRefsChanged);
    }
}

namespace {

std::optional<std::string> Stored(const SettingDef& def) {
    const Variant v = ReadStoredSetting(def);
    if (v.IsEmpty()) return std::nullopt;
    return v.Text();
}

}  // namespace

TEST_F(ExitSaveTest, TheBandsAsShown) {
    enum Width { None, Standard, Yours };
    struct Case {
        const char* name;
        bool yours, keyword;              // band 2 and band 3 shown
        bool yourNewRow, keywordNewRow;  // each on a row of its own
        std::optional<std::string> yourPos, keywordPos;
        Width standardWidth, yourWidth;  // the width written as "StandardToolbarWidth", "YourToolbarWidth"
    };
    const Case cases[] = {
        // A hidden band writes neither its row nor the width of the band before it.
        {"your bar hidden", false, true, false, true, std::nullopt, "True", None, None},
        {"your bar beside the standard one", true, false, false, true, "False", std::nullopt, Standard, None},
        {"keyword bar beside your bar", true, true, true, false, "True", "False", None, Yours},
        {"each on its own row", true, true, true, true, "True", "True", None, None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CleanStore::Wipe();
        Reload();
        ReBar& bar = frmMain.pnlCoolBar;
        bar.SetBandVisible(2, c.yours);
        bar.SetBandVisible(3, c.keyword);
        if (c.yours) bar.SetBandNewRow(2, c.yourNewRow);
        if (c.keyword) bar.SetBandNewRow(3, c.keywordNewRow);
        const std::string widths[] = {"", std::to_string(bar.BandWidth(1)), std::to_string(bar.BandWidth(2))};
        auto width = [&](Width w) { return w == None ? std::nullopt : std::optional<std::string>(widths[w]); };
        const std::string keywordbarPos = bar.BandNewRow(2) ? "True" : "False";
        SaveSettingsAndUnload();
        EXPECT_EQ(Stored(setting::Toolbar), "True");
        EXPECT_EQ(Stored(setting::YourToolbar), c.yours ? "True" : "False");
        EXPECT_EQ(Stored(setting::Keywordbar), c.keyword ? "True" : "False");
        EXPECT_EQ(Stored(setting::YourPos), c.yourPos);
        EXPECT_EQ(Stored(setting::KeywordPos), c.keywordPos);
        EXPECT_EQ(Stored(setting::StandardToolbarWidth), width(c.standardWidth));
        EXPECT_EQ(Stored(setting::YourToolbarWidth), width(c.yourWidth));
        EXPECT_EQ(Stored(setting::KeywordbarPos), keywordbarPos);
    }
}

TEST_F(ExitSaveTest, TheMainWindowsStateAndPlace) {
    struct Case {
        FormWindowState state;
        std::optional<int> storedState;
        bool place;  // "MainTop", "MainLeft", "MainWidth", "MainHeight" written
    };
    for (const Case& c : {Case{FormWindowState::Normal, 0, true}, Case{FormWindowState::Maximized, 2, false},
                          Case{FormWindowState::Minimized, std::nullopt, false}}) {
        SCOPED_TRACE(static_cast<int>(c.state));
        CleanStore::Wipe();
        Reload();
        frmMain.Show();
        frmMain.Move(450, 600, 9000, 6000);
        const int top = frmMain.Top(), left = frmMain.Left(), width = frmMain.Width(), height = frmMain.Height();
        frmMain.SetWindowState(c.state);
        SaveSettingsAndUnload();
        EXPECT_EQ(ReadStoredSetting(setting::MainState).Number(), c.storedState);
        auto expected = [&](int v) { return c.place ? std::optional<int>(v) : std::nullopt; };
        EXPECT_EQ(ReadStoredSetting(setting::MainTop).Number(), expected(top));
        EXPECT_EQ(ReadStoredSetting(setting::MainLeft).Number(), expected(left));
        EXPECT_EQ(ReadStoredSetting(setting::MainWidth).Number(), expected(width));
        EXPECT_EQ(ReadStoredSetting(setting::MainHeight).Number(), expected(height));
        // The splitter's place is kept in every state.
        EXPECT_TRUE(ReadStoredSetting(setting::Splitter).Number());
    }
}

TEST_F(ExitSaveTest, OnlyTheProgramsOwnLibraryPicturesAreDeleted) {
    const ScopedValue temp(gTempDir, dir.Folder("temp") + "\\");
    const std::string own = ExtractedLibraryFolder();
    for (const char* name : {"12.lib", "7.lib", "notes.txt"})
        dir.File(std::string("temp\\ornavale-libraries\\") + name);
    dir.File("temp\\x.lib", "foreign");
    SaveSettingsAndUnload();
    EXPECT_FALSE(Bytes(own + "12.lib"));
    EXPECT_FALSE(Bytes(own + "7.lib"));
    EXPECT_EQ(Bytes(own + "notes.txt"), "x");
    EXPECT_EQ(Bytes(gTempDir + "x.lib"), "foreign");
}

TEST_F(ExitSaveTest, AReferencesFileThatCannotBeReplacedIsToldOnceAndKept) {
    // (A read-only attribute on the folder hinders nothing, on Windows as under Wine.)
    enum class Hindrance { HeldOpen, NoNewFile };
    const std::string old = "k;C:\\a.ico;0;x;1user\r\nm;C:\\b.ico;0;x;2user\r\n";
    for (Hindrance h : {Hindrance::HeldOpen, Hindrance::NoNewFile}) {
        SCOPED_TRACE(static_cast<int>(h));
        Reload();
        DeleteFileA(Path("Iconuser.bak").c_str());
        Write("Iconuser.dat", old);
        frmMain.procFillSearch();
        gBoxes.clear();
        ASSERT_EQ(frmMain.lstUser.ListCount(), 2);
        frmMain.lstUser.RemoveItem(1);
        frmMain.cmbUser.RemoveItem(1);
        gRefsChanged = true;
        HANDLE held = INVALID_HANDLE_VALUE;
        if (h == Hindrance::HeldOpen) {
            // Shared for reading and writing, not for deleting or renaming.
            held = CreateFileA(Path("Iconuser.dat").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
        } else {
            // A folder where the new text would go first, as a folder the user may not write to.
            ASSERT_TRUE(CreateDirectoryA(Path("Iconuser.dat.new").c_str(), nullptr));
        }
        SaveSettingsAndUnload();
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        EXPECT_EQ(GetFileAttributesA(Path("Iconuser.dat.new").c_str()),
                  h == Hindrance::NoNewFile ? FILE_ATTRIBUTE_DIRECTORY : INVALID_FILE_ATTRIBUTES);
        RemoveDirectoryA(Path("Iconuser.dat.new").c_str());
        ASSERT_EQ(gBoxes.size(), 1u);
        EXPECT_NE(gBoxes[0].text.find("Iconuser.dat"), std::string::npos);
        EXPECT_EQ(Bytes(Path("Iconuser.dat")), old);
        EXPECT_FALSE(Bytes(Path("Iconuser.bak")));
        // Still to be saved by a later exit.
        EXPECT_TRUE(gRefsChanged);
    }
}

TEST_F(ExitSaveTest, TheRebuildQuestion) {
    const std::string question =
        "You have changed System Icons but did not Rebuild the Windows Icon Cache.\r"
        "Rebuilding the Icon Cache must be performed in order to show the new System Icons.\r\r"
        "Do you want to Rebuild the Windows Icon Cache Now?";
    struct Case {
        bool dirty;
        int answer;
    };
    for (const Case& c : {Case{true, IDYES}, Case{true, IDNO}, Case{false, IDYES}}) {
        SCOPED_TRACE(testing::Message() << c.dirty << " " << c.answer);
        Reload();
        gCacheDirty = c.dirty;
        gAnswer = c.answer;
        SaveSettingsAndUnload();
        EXPECT_FALSE(gCacheDirty);
        if (!c.dirty) {
            EXPECT_TRUE(gBoxes.empty());
            continue;
        }
        // The rebuild itself may have something to say after the question.
        ASSERT_FALSE(gBoxes.empty());
        EXPECT_EQ(gBoxes[0].text, question);
        EXPECT_EQ(gBoxes[0].style, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_EQ(gBoxes[0].title, "Rebuild Windows Icon Cache");
        EXPECT_EQ(gResult, c.answer);
    }
}

TEST_F(ExitSaveTest, UserKeywordsFile) {
    struct Case {
        const char* name;
        bool editorMade;
        bool changed;
        bool written;
    };
    const Case cases[] = {
        {"unchanged", true, false, false},
        {"changed", true, true, true},
        {"editor never made", false, true, false},
    };
    const std::string old = "u2\r\nu1\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reload();
        Write("Keyuser.bak", "older");
        if (c.editorMade) {
            AddKeyword();
        } else {
            Write("Keyuser.dat", old);
        }
        gKeysChanged = c.changed;
        SaveSettingsAndUnload();
        EXPECT_TRUE(gBoxes.empty());
        EXPECT_EQ(Bytes(Path("Keyuser.dat")), c.written ? "new\r\nu2\r\nu1\r\n" : old);
        EXPECT_EQ(Bytes(Path("Keyuser.bak")), c.written ? old : "older");
    }
}

TEST_F(ExitSaveTest, ASecondCallChangesNothing) {
    AddKeyword();
    SaveSettingsAndUnload();
    DeleteFileA(Path("Keyuser.dat").c_str());
    Reload();
    frmKey.Load();
    gSettingsSaved = true;
    gKeysChanged = gCacheDirty = true;
    gBoxes.clear();
    SaveSettingsAndUnload();
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_FALSE(Bytes(Path("Keyuser.dat")));
    EXPECT_TRUE(frmKey.IsLoaded());
    EXPECT_TRUE(frmMain.IsLoaded());
}

TEST_F(ExitSaveTest, AKeywordsFileHeldOpenIsToldAndKept) {
    AddKeyword();
    const HANDLE held = CreateFileA(Path("Keyuser.dat").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SaveSettingsAndUnload();
    CloseHandle(held);
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_NE(gBoxes[0].text.find("Keyuser.dat"), std::string::npos);
    EXPECT_EQ(Bytes(Path("Keyuser.dat")), "u2\r\nu1\r\n");
    EXPECT_FALSE(Bytes(Path("Keyuser.dat.new")));
}

TEST_F(ExitSaveTest, AHandOverDuringTheSaveOpensNothing) {
    for (const char* name : {"a.ico", "b.ico", "c.ico"}) WriteIconFile(dir.path() + name, 0x3366CC);
    static std::string later;
    later = dir.path() + "b.ico " + dir.path() + "c.ico";
    static auto handOver = [](const std::string& line) {
        COPYDATASTRUCT cds{};
        cds.cbData = static_cast<DWORD>(line.size());
        cds.lpData = const_cast<char*>(line.data());
        SendMessageA(frmMain.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    };
    // Before the close, a hand-over opens.
    handOver(dir.path() + "a.ico");
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000 && frmMain.cmbResult.ListCount() != 1;) {
        DoEvents();
        Sleep(20);
    }
    ASSERT_EQ(frmMain.cmbResult.ListCount(), 1);

    AddKeyword();
    gRefsChanged = true;
    // One waits from before the save, the other comes while the save lets events run.
    handOver(later);
    static int calls;
    static int most;
    calls = most = 0;
    gDoEventsHook = [] {
        if (!frmMain.IsLoaded()) return;
        most = std::max(most, frmMain.cmbResult.ListCount());
        if (calls++ == 0) handOver(later);
    };
    SaveSettingsAndUnload();
    for (int i = 0; i < 5; ++i) DoEvents();
    EXPECT_GE(calls, 2);
    EXPECT_EQ(most, 1);
    ASSERT_EQ(frmMain.cmbResult.ListCount(), 1);
    EXPECT_NE(frmMain.cmbResult.List(0).find("a.ico"), std::string::npos);
}

TEST_F(ExitSaveTest, AWindowsShutdownSavesWithoutAsking) {
    AddKeyword();
    gCacheDirty = true;
    const HWND main = frmMain.hwnd();
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_FALSE(gCacheDirty);
    EXPECT_TRUE(gSettingsSaved);
    EXPECT_EQ(Bytes(Path("Keyuser.dat")), "new\r\nu2\r\nu1\r\n");
    EXPECT_FALSE(frmMain.IsLoaded());
    EXPECT_FALSE(frmKey.IsLoaded());
    EXPECT_EQ(CurrentExitReason(), ExitReason::SessionEnd);
}

TEST_F(ExitSaveTest, AShutdownCancelledAfterItsSaveLeavesTheProgramAsItWas) {
    const std::string original = "u2\r\nu1\r\n";
    const std::string atQuery = "new\r\nu2\r\nu1\r\n";
    struct Case {
        const char* name;
        const char* addedLater;  // a keyword added after the cancelled shutdown
        std::string datAfter, bakAfter;
    };
    const Case cases[] = {
        // The later close finds nothing new: the backup keeps the bytes from before the run.
        {"nothing changed later", nullptr, atQuery, original},
        {"a keyword added later", "later", "later\r\n" + atQuery, atQuery},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reload();
        DeleteFileA(Path("Keyuser.bak").c_str());
        AddKeyword();
        gCacheDirty = true;
        const HWND main = frmMain.hwnd();
        EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), TRUE);
        EXPECT_EQ(SendMessageA(frmKey.hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
        EXPECT_TRUE(gBoxes.empty());
        EXPECT_EQ(Bytes(Path("Keyuser.dat")), atQuery);
        EXPECT_TRUE(frmMain.IsLoaded());
        EXPECT_TRUE(frmKey.IsLoaded());

        // Another program refused: every window hears that the session goes on.
        SendMessageA(main, WM_ENDSESSION, FALSE, 0);
        SendMessageA(frmKey.hwnd(), WM_ENDSESSION, FALSE, 0);
        EXPECT_TRUE(frmMain.IsLoaded());
        EXPECT_FALSE(gSettingsSaved);
        EXPECT_TRUE(gCacheDirty);
        EXPECT_TRUE(frmKey.lstKey.Enabled());

        // Later starts are opened again.
        WriteIconFile(dir.path() + "a.ico", 0x3366CC);
        const std::string line = dir.path() + "a.ico";
        COPYDATASTRUCT cds{};
        cds.cbData = static_cast<DWORD>(line.size());
        cds.lpData = const_cast<char*>(line.data());
        SendMessageA(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
        for (DWORD start = GetTickCount(); GetTickCount() - start < 2000 && frmMain.cmbResult.ListCount() != 1;) {
            DoEvents();
            Sleep(20);
        }
        EXPECT_EQ(frmMain.cmbResult.ListCount(), 1);

        if (c.addedLater) {
            frmKey.txtKey.SetText(c.addedLater);
            frmKey.cmdAdd_Click();
        }
        gBoxes.clear();
        gAnswer = IDNO;
        SaveSettingsAndUnload();
        // The rebuild question the shutdown left out comes now.
        ASSERT_EQ(gBoxes.size(), 1u);
        EXPECT_EQ(gBoxes[0].title, "Rebuild Windows Icon Cache");
        EXPECT_FALSE(frmMain.IsLoaded());
        EXPECT_EQ(Bytes(Path("Keyuser.dat")), c.datAfter);
        EXPECT_EQ(Bytes(Path("Keyuser.bak")), c.bakAfter);
    }
}

TEST_F(ExitSaveTest, AShutdownThatGoesOnUnloadsWithoutASecondSave) {
    AddKeyword();
    const HWND main = frmMain.hwnd();
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), TRUE);
    // Changed between the question and the end: the end does not save again.
    Write("Keyuser.dat", "edited elsewhere");
    SendMessageA(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_EQ(Bytes(Path("Keyuser.dat")), "edited elsewhere");
    EXPECT_FALSE(frmMain.IsLoaded());
    EXPECT_FALSE(frmKey.IsLoaded());
}

TEST_F(ExitSaveTest, EndingTheSessionWithoutTheQuestionFirst) {
    // Windows may end a session without asking: the keyword editor hears it first here.
    AddKeyword();
    SendMessageA(frmKey.hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_EQ(Bytes(Path("Keyuser.dat")), "new\r\nu2\r\nu1\r\n");
    EXPECT_FALSE(frmMain.IsLoaded());
}

TEST_F(ExitSaveTest, RewriteUserFile) {
    struct Case {
        const char* name;
        std::optional<std::string> dat, bak;
        std::optional<std::string> bakAfter;
    };
    const Case cases[] = {
        {"old file and backup", "old\r\n", "older", "old\r\n"},
        {"old file only", "old\r\n", std::nullopt, "old\r\n"},
        {"no old file", std::nullopt, std::nullopt, std::nullopt},
        // Not this file's backup: it stays as it was.
        {"backup only", std::nullopt, "older", "older"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(Path("x.dat").c_str());
        DeleteFileA(Path("x.bak").c_str());
        if (c.dat) Write("x.dat", *c.dat);
        if (c.bak) Write("x.bak", *c.bak);
        ASSERT_TRUE(RewriteUserFile(Path("x.dat"), Path("x.bak"), {"a", "", "b c"}));
        EXPECT_EQ(Bytes(Path("x.dat")), "a\r\n\r\nb c\r\n");
        EXPECT_EQ(Bytes(Path("x.bak")), c.bakAfter);
        EXPECT_FALSE(Bytes(Path("x.dat.new")));
    }
}
