// The running program's result list, right-clicked with the real mouse: the item menu opens as a
// popup menu window of the program, and Esc closes it.
#include <gtest/gtest.h>

#include "ProgramProcess.h"

namespace {

// A shown popup menu window of the process; nullptr when there is none within `timeoutMs`.
HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu;
             menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(menu, &owner);
            if (owner == processId && IsWindowVisible(menu)) return menu;
        }
        Sleep(50);
    }
    return nullptr;
}

}  // namespace

TEST(ContextMenu, RightClickOnAnItemOpensThePopupMenuAndEscClosesIt) {
    CleanStore clean;
    QuietProgramStart();
    Process program("");
    ASSERT_TRUE(program.started);
    HWND window = MainWindowAfterNotice(program);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ShowCurrentCursors(program.pi.hProcess, window));
    EXPECT_EQ(WaitForPopupMenu(program.pi.dwProcessId, 0), nullptr);
    HWND list = ClickListItem(program.pi.hProcess, window, 1, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_NE(list, nullptr);
    HWND menu = WaitForPopupMenu(program.pi.dwProcessId, 5000);
    ASSERT_NE(menu, nullptr);
    // The right-clicked item (the second) is now the selected one.
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);

    TypeKeys({VK_ESCAPE});
    bool closed = false;
    for (int i = 0; i < 100 && !closed; ++i, Sleep(50)) closed = !IsWindow(menu) || !IsWindowVisible(menu);
    EXPECT_TRUE(closed);

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.pi.hProcess, 20000), WAIT_OBJECT_0);
}
