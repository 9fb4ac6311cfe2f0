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
    HWND tree = FindChildOfClass(window, WC_TREEVIEWA);
    ASSERT_NE(tree, nullptr);
    HTREEITEM current = FindTreeItem(program.pi.hProcess, tree, {"Your Icons", "Cursors", "Current"});
    ASSERT_NE(current, nullptr);
    ASSERT_TRUE(ClickTreeItem(program.pi.hProcess, tree, current));
    ASSERT_EQ(WaitForShownItems(window, 14, 15000), 14);

    HWND list = FindChildOfClass(window, WC_LISTVIEWA);
    ASSERT_NE(list, nullptr);
    const RECT rect = SettledItemIconRect(program.pi.hProcess, list, 1);
    ASSERT_FALSE(IsRectEmpty(&rect));
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &centre);
    EXPECT_EQ(WaitForPopupMenu(program.pi.dwProcessId, 0), nullptr);

    SetForegroundWindow(window);
    ClickAt(centre, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
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
