// Starts Ornavale.exe under Wine: the first start's windows, and a second start's hand-over to a
// running instance (played here by the test itself, which holds the mutex and the marked window).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "StartedProgram.h"

namespace {

const char* kMutex = "Ornavale_APPLICATION_MUTEX";
const char* kProp = "Ornavale_APPLICATION";


// Waits for the process to end while answering this thread's messages (the hand-over blocks the
// sender until the receiver has handled it). Answers whether it ended; notes any visible window.
bool PumpUntilExit(const StartedProgram& p, DWORD timeoutMs, bool* showedWindow = nullptr) {
    DWORD start = GetTickCount();
    for (;;) {
        if (showedWindow && p.ShowsWindowOtherThan(nullptr)) *showedWindow = true;
        DWORD left = timeoutMs - (GetTickCount() - start);
        if (GetTickCount() - start >= timeoutMs) return false;
        HANDLE process = p.process();
        DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, std::min<DWORD>(left, 50), QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// A stand-in for the running first instance.
struct FirstInstance {
    static inline std::vector<std::vector<char>> received;
    HANDLE mutex = nullptr;
    HWND window = nullptr;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_COPYDATA) {
            auto* cds = reinterpret_cast<COPYDATASTRUCT*>(lParam);
            const char* data = static_cast<const char*>(cds->lpData);
            received.emplace_back(data, data + cds->cbData);
            return TRUE;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

    explicit FirstInstance(bool marked = true) {
        received.clear();
        mutex = CreateMutexA(nullptr, TRUE, kMutex);
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FakeOrnavale";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "FakeOrnavale", "Fake Ornavale", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (marked) SetPropA(window, kProp, reinterpret_cast<HANDLE>(1));
    }
    ~FirstInstance() {
        RemovePropA(window, kProp);
        DestroyWindow(window);
        CloseHandle(mutex);
    }
};


std::vector<char> Bytes(const std::string& s) { return {s.begin(), s.end()}; }


}  // namespace

TEST(SecondStart, HandsOverItsArgumentsExactly) {
    struct Case {
        std::string arguments;
        std::vector<char> expected;
    } cases[] = {
        {"C:\\icons\\a.ico D:\\lib\\b.dll", Bytes("C:\\icons\\a.ico D:\\lib\\b.dll")},
        {"\"C:\\My Icons\\smile.ico\"", Bytes("\"C:\\My Icons\\smile.ico\"")},
        {"C:\\Bilder\\\xC4pfel.ico", Bytes("C:\\Bilder\\\xC4pfel.ico")},
    };
    for (const auto& c : cases) {
        FirstInstance first;
        ShowWindow(first.window, SW_SHOWNORMAL);
        StartedProgram second(c.arguments);
        ASSERT_TRUE(second.started());
        bool showed = false;
        EXPECT_TRUE(PumpUntilExit(second, 15000, &showed)) << c.arguments;
        EXPECT_FALSE(showed);
        ASSERT_EQ(FirstInstance::received.size(), 1u) << c.arguments;
        EXPECT_EQ(FirstInstance::received[0], c.expected) << c.arguments;
    }
}

TEST(SecondStart, WithoutArgumentsToAHiddenWindowSendsOneZeroByte) {
    FirstInstance first;
    StartedProgram second;
    ASSERT_TRUE(second.started());
    EXPECT_TRUE(PumpUntilExit(second, 15000));
    ASSERT_EQ(FirstInstance::received.size(), 1u);
    EXPECT_EQ(FirstInstance::received[0], std::vector<char>{'\0'});
}

TEST(SecondStart, WithoutArgumentsRestoresAMinimisedWindow) {
    FirstInstance first;
    ShowWindow(first.window, SW_SHOWMINIMIZED);
    ASSERT_TRUE(IsIconic(first.window));
    StartedProgram second;
    ASSERT_TRUE(second.started());
    EXPECT_TRUE(PumpUntilExit(second, 15000));
    EXPECT_TRUE(FirstInstance::received.empty());
    EXPECT_FALSE(IsIconic(first.window));
    EXPECT_FALSE(GetWindowLongA(first.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(SecondStart, DuringTheFirstOnesSplashDoesNothing) {
    FirstInstance first(/*marked=*/false);
    StartedProgram second("C:\\icons\\lost.ico");
    ASSERT_TRUE(second.started());
    bool showed = false;
    EXPECT_TRUE(PumpUntilExit(second, 15000, &showed));
    EXPECT_FALSE(showed);
    EXPECT_TRUE(FirstInstance::received.empty());
}

TEST(FirstStart, SplashThenMarkedMainWindowThenCleanEnd) {
    QuietStore store;
    StartedProgram first;
    HWND window = first.Main();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(window, kProp)), 1);

    // The program folder is published in "Path".
    char path[MAX_PATH] = {};
    DWORD size = sizeof path;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", "Path", RRF_RT_REG_SZ, nullptr, path,
                           &size),
              ERROR_SUCCESS);
    char full[MAX_PATH] = {};
    GetFullPathNameA(ProgramPath().c_str(), MAX_PATH, full, nullptr);
    std::string expected = full;
    expected = expected.substr(0, expected.rfind('\\') + 1);
    EXPECT_EQ(_stricmp(path, expected.c_str()), 0) << path;

    ASSERT_TRUE(first.Close());
    EXPECT_EQ(first.ExitCode(), 0u);
}

namespace {

void StorePos(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ornavale\\Pos", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

// The part of a child window that shows inside its top-level window's client area, in pixels.
LONG WidthInside(HWND window, HWND child) {
    RECT client{}, pane{}, shown{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(child, &pane);
    IntersectRect(&shown, &client, &pane);
    return shown.right - shown.left;
}

DWORD ReadPos(const char* name, bool* found) {
    DWORD value = 0, size = sizeof value;
    *found = RegGetValueA(HKEY_CURRENT_USER, "Software\\Ornavale\\Pos", name, RRF_RT_REG_DWORD, nullptr, &value,
                          &size) == ERROR_SUCCESS;
    return value;
}

}  // namespace



TEST(FirstStart, EmptyRegistryThenTheSavedPlace) {
    CleanStore clean;
    char full[MAX_PATH] = {};
    GetFullPathNameA((ProgramExeFolder() + "Favorites").c_str(), MAX_PATH, full, nullptr);
    const std::string favorites = full;
    RemoveDirectoryA(favorites.c_str());

    RECT placed{};
    {
        // Without the catalogue's archives the notice comes first; closing it lets the start go on.
        StartedProgram first;
        HWND window = first.Main();
        ASSERT_NE(window, nullptr);

        RECT r;
        GetWindowRect(window, &r);
        EXPECT_EQ(r.right - r.left, 860);
        EXPECT_EQ(r.bottom - r.top, 540);
        EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
        EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
        DWORD attributes = GetFileAttributesA(favorites.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << favorites;

        SetWindowPos(window, nullptr, 0, 37, 700, 500, SWP_NOZORDER);
        GetWindowRect(window, &placed);
        ASSERT_TRUE(first.Close());
    }
    bool found = false;
    EXPECT_EQ(ReadPos("MainLeft", &found), 0u);
    EXPECT_TRUE(found) << "a window at x = 0 keeps its place";
    EXPECT_EQ(ReadPos("MainTop", &found), 37u * 15);
    EXPECT_EQ(ReadPos("MainWidth", &found), 700u * 15);

    // The notice (when there is one) was closed without its box ticked, so it comes again.
    StartedProgram second;
    HWND window = second.Main();
    ASSERT_NE(window, nullptr);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, placed.left);
    EXPECT_EQ(r.top, placed.top);
    EXPECT_EQ(r.right, placed.right);
    EXPECT_EQ(r.bottom, placed.bottom);
    EXPECT_TRUE(second.Close());
}

TEST(FirstStart, StoredPlacesThatNoLongerFitAreBroughtBack) {
    struct Case {
        const char* splitter;
        bool offScreen;  // MainLeft -100,000 and MainTop 2^31 - 1 twips
    } cases[] = {{"999999", true}, {"-5000", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.splitter);
        QuietStore store;
        StorePos("Splitter", REG_SZ, c.splitter, static_cast<DWORD>(strlen(c.splitter) + 1));
        if (c.offScreen) {
            const DWORD left = static_cast<DWORD>(-100000), top = 0x7FFFFFFF;
            StorePos("MainLeft", REG_DWORD, &left, sizeof left);
            StorePos("MainTop", REG_DWORD, &top, sizeof top);
        }
        StartedProgram program;
        HWND window = program.Main();
        ASSERT_NE(window, nullptr);
        RECT r{};
        GetWindowRect(window, &r);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_LE(r.top + GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYSCREEN));
        HWND tree = FindChildOfClass(window, WC_TREEVIEWA), list = FindChildOfClass(window, WC_LISTVIEWA);
        ASSERT_TRUE(tree && list);
        EXPECT_GE(WidthInside(window, tree), 100);
        EXPECT_GE(WidthInside(window, list), 100);
        RECT treeRect{}, listRect{};
        GetWindowRect(tree, &treeRect);
        GetWindowRect(list, &listRect);
        EXPECT_GE(listRect.left, treeRect.right);
        EXPECT_TRUE(program.Close());
    }
}
