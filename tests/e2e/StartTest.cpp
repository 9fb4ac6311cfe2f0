// Starts Ornavale.exe, finds its window and closes it the way a user does.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

std::string ProgramPath() { return TestProgramDir() + "..\\Ornavale\\Ornavale.exe"; }

HWND WaitForWindow(DWORD processId, const char* title, DWORD timeoutMs) {
    struct Search {
        DWORD pid;
        const char* title;
        HWND found;
    } search{processId, title, nullptr};
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                char text[256] = {};
                GetWindowTextA(hwnd, text, sizeof text);
                if (pid == s->pid && IsWindowVisible(hwnd) && std::string(text) == s->title) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(100);
    }
    return nullptr;
}

}  // namespace

TEST(Start, OpensItsWindowAndEndsWhenClosed) {
    std::string command = "\"" + ProgramPath() + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << ProgramPath();
    HWND window = WaitForWindow(pi.dwProcessId, "Ornavale", 20000);
    EXPECT_NE(window, nullptr);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD waited = WaitForSingleObject(pi.hProcess, 20000);
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
