// Two real Ornavale.exe: a later start hands its paths to the running one and ends; and every way
// of ending the program saves once, without a box when Windows ends the session.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "IconMaker.h"
#include "StartedProgram.h"
#include "mainwindow/FrmMainIds.h"

namespace {

std::optional<std::string> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The user files of the program folder as they were before the test, put back after it.
class KeptUserFiles {
  public:
    KeptUserFiles() {
        for (const char* name : kNames) kept_.push_back(FileBytes(ProgramExeFolder() + name));
    }
    ~KeptUserFiles() {
        for (size_t i = 0; i < std::size(kNames); ++i) {
            const std::string path = ProgramExeFolder() + kNames[i];
            if (kept_[i]) WriteBytes(path, *kept_[i]);
            else DeleteFileA(path.c_str());
        }
    }

  private:
    static constexpr const char* kNames[] = {"Iconuser.dat", "Iconuser.bak", "Keyuser.dat", "Keyuser.bak"};
    std::vector<std::optional<std::string>> kept_;
};

// A folder whose walk with its sub-folders takes many seconds: the machine's /usr under Wine, the
// Windows folder elsewhere.
std::string LargeFolder() {
    using ToDosName = WCHAR*(CDECL*)(const char*);
    const auto toDos =
        reinterpret_cast<ToDosName>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name"));
    if (WCHAR* dos = toDos ? toDos("/usr") : nullptr) {
        char path[MAX_PATH] = {};
        WideCharToMultiByte(CP_ACP, 0, dos, -1, path, MAX_PATH, nullptr, nullptr);
        HeapFree(GetProcessHeap(), 0, dos);
        return path;
    }
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return windows;
}

// Open by Folder started on the large folder with its sub-folders and every type, with the real
// mouse on Start; true once the window has gone and the walk runs.
bool StartLargeScan(const StartedProgram& program, HWND window) {
    PostMessageA(window, WM_COMMAND, ID_mnuFileOpenDir, 0);
    HWND scan = program.WaitForWindow("Open by Folder");
    HWND start = scan ? FindWindowExA(scan, nullptr, "Button", "S&tart") : nullptr;
    if (!start || !BringToFront(scan)) return false;
    RECT r{};
    GetWindowRect(start, &r);
    ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    return WaitUntilGone(scan, 5000);
}

bool StoredSettingExists(const char* name) {
    return RegGetValueA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", name, RRF_RT_ANY, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

}  // namespace

TEST(HandOver, ALaterStartsPathsOpenInTheMinimisedFirstWhichComesBack) {
    QuietStore store;
    TempDir dir;
    for (const char* name : {"a.ico", "b.ico", "c d.ico"}) ASSERT_TRUE(WriteIconFile(dir.path() + name, 0x3366CC));

    StartedProgram first;
    HWND window = first.Main();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(first.ShownItems(), 0);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));

    struct Case {
        std::string arguments;
        int items;
    };
    // The first into an empty result set, the second replaces it; a quoted path with a blank is one.
    const Case cases[] = {
        {dir.path() + "a.ico " + dir.path() + "b.ico", 2},
        {"\"" + dir.path() + "c d.ico\"", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        StartedProgram second(c.arguments);
        ASSERT_TRUE(second.started());
        bool showed = false;
        EXPECT_TRUE(second.EndsWithoutWindow(15000, &showed));
        EXPECT_FALSE(showed);
        EXPECT_EQ(first.WaitForShownItems(c.items, 15000), c.items);
        EXPECT_FALSE(IsIconic(window));
        EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        ShowWindow(window, SW_MINIMIZE);
    }

    EXPECT_TRUE(first.Close());
}

TEST(SessionEnd, TheQuestionAndTheEndFromOutsideSaveWithoutABox) {
    QuietStore store;
    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(StoredSettingExists("ViewType"));

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    // Saved at the question, with the program still there.
    EXPECT_TRUE(StoredSettingExists("ViewType"));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(program.ShowsWindowOtherThan(window));

    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 10000, &answer);
    bool showed = false;
    EXPECT_TRUE(program.EndsWithoutWindow(10000, &showed, window));
    EXPECT_FALSE(showed);
}

TEST(SessionEnd, ACancelledEndLeavesTheProgramRunning) {
    QuietStore store;
    TempDir dir;
    ASSERT_TRUE(WriteIconFile(dir.path() + "a.ico", 0x3366CC));
    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer));
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 10000, &answer));
    EXPECT_FALSE(program.WaitForEnd(1000));
    // It still takes a later start's paths.
    StartedProgram second(dir.path() + "a.ico");
    ASSERT_TRUE(second.started());
    EXPECT_TRUE(second.WaitForEnd(15000));
    EXPECT_EQ(program.WaitForShownItems(1, 15000), 1);

    // A later close saves again.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", "ViewType");
    ASSERT_TRUE(program.Close());
    EXPECT_TRUE(StoredSettingExists("ViewType"));
}

// A user reference deleted with the real keyboard and mouse, then the program closed: the
// references file is rewritten once, its old bytes kept as the backup.
TEST(ExitSaveInput, EachCloseSavesTheReferencesOnce) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        int references;
        bool scanning = false;  // closed while Open by Folder walks a large folder
        DWORD endsWithinMs = 5000;
    };
    const Case cases[] = {
        {"close box", WM_CLOSE, 0, 3},
        {"File > Close", WM_COMMAND, ID_mnuFileExit, 3},
        {"close box, 20,000 references", WM_CLOSE, 0, 20000},
        {"close box during a scan", WM_CLOSE, 0, 3, true, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuietStore store;
        KeptUserFiles kept;
        TempDir dir;
        const std::string icon = dir.path() + "a.ico";
        ASSERT_TRUE(WriteIconFile(icon, 0x3366CC));
        // Lines ended by a bare line feed, as another editor may leave them; the last one by nothing.
        std::string original = "zzlifecycle;" + icon + ";0;x;1user\n";
        std::string rest;
        for (int i = 1; i < c.references; ++i) {
            const std::string line = "zzfiller;" + icon + ";0;x;" + std::to_string(i + 1) + "user";
            original += line + (i + 1 < c.references ? "\n" : "");
            rest += line + "\r\n";
        }
        WriteBytes(ProgramExeFolder() + "Iconuser.dat", original);
        // The references' keywords are the user's own.
        WriteBytes(ProgramExeFolder() + "Keyuser.dat", "zzfiller\r\nzzlifecycle\r\n");
        DeleteFileA((ProgramExeFolder() + "Iconuser.bak").c_str());

        if (c.scanning) {
            StoreSetting("ScanDirectory", LargeFolder());
            StoreSetting("ScanAll", "1");
            StoreSetting("ScanSubDir", "1");
        }

        StartedProgram program;
        HWND window = program.Main();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(program.TypeIntoKeywordBox("zzlifecycle\r"));
        ASSERT_EQ(program.WaitForShownItems(1, 20000), 1);

        // The reference's item clicked and deleted.
        ASSERT_NE(program.SelectListItem(0), nullptr);
        TypeKeys({VK_DELETE});
        EXPECT_EQ(program.WaitForShownItems(0, 10000), 0);
        if (c.scanning) ASSERT_TRUE(StartLargeScan(program, window));

        const DWORD start = GetTickCount();
        PostMessageA(window, c.message, c.wParam, 0);
        bool showed = false;
        ASSERT_TRUE(program.EndsWithoutWindow(20000, &showed, window));
        const DWORD took = GetTickCount() - start;
        EXPECT_FALSE(showed);
        EXPECT_LT(took, c.endsWithinMs);
        EXPECT_EQ(FileBytes(ProgramExeFolder() + "Iconuser.bak"), original);
        const std::optional<std::string> saved = FileBytes(ProgramExeFolder() + "Iconuser.dat");
        ASSERT_TRUE(saved);
        EXPECT_TRUE(*saved == rest) << saved->substr(0, 200);
        EXPECT_TRUE(StoredSettingExists("ViewType"));
    }
}
