// File > Change in the running program, with the real keyboard and mouse: the change window opens
// for the clicked system icon and names it, read from outside.
#include <gtest/gtest.h>

#include <cstring>

#include "ProgramProcess.h"

namespace {

// The index of the item with this text in another process's list view; -1 while there is none.
int FindListItem(HANDLE process, HWND list, const char* text) {
    RemoteMemory remote(process, sizeof(LVFINDINFOA) + 64);
    LVFINDINFOA find{};
    find.flags = LVFI_STRING;
    find.psz = remote.at(sizeof find);
    remote.Write(&find, sizeof find);
    remote.Write(text, std::strlen(text) + 1, sizeof find);
    return static_cast<int>(
        SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remote.at())));
}

}  // namespace

TEST(ChangeWindow, FileChangeOnAClickedSystemIconOpensItsChangeWindow) {
    CleanStore clean;
    QuietProgramStart();
    Process program("");
    ASSERT_TRUE(program.started);
    HWND window = MainWindowAfterNotice(program);
    ASSERT_NE(window, nullptr);
    HWND tree = FindChildOfClass(window, WC_TREEVIEWA);
    ASSERT_NE(tree, nullptr);
    HTREEITEM start = FindTreeItem(program.pi.hProcess, tree, {"Your Icons", "System", "Start"});
    ASSERT_NE(start, nullptr);
    ASSERT_TRUE(ClickTreeItem(program.pi.hProcess, tree, start));
    HWND list = FindChildOfClass(window, WC_LISTVIEWA);
    ASSERT_NE(list, nullptr);
    int find = -1;
    for (int i = 0; i < 150 && find < 0; ++i, Sleep(100)) find = FindListItem(program.pi.hProcess, list, "Find");
    ASSERT_GE(find, 0);
    ASSERT_NE(ClickListItem(program.pi.hProcess, window, find), nullptr);
    Sleep(300);
    ASSERT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), find);

    TypeKeys({VK_MENU, 'F', 'H'});
    HWND change = WaitForWindow(program.pi.dwProcessId, "Change System Icon", 10000);
    ASSERT_NE(change, nullptr);
    EXPECT_NE(FindWindowExA(change, nullptr, "Static", "Find"), nullptr);
    EXPECT_TRUE(GetWindowLongA(change, GWL_EXSTYLE) & WS_EX_TOPMOST);

    PostMessageA(change, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.pi.hProcess, 20000), WAIT_OBJECT_0);
}
