// File > Change in the running program, with the real keyboard and mouse: the change window opens
// for the clicked system icon and names it, read from outside.
#include <gtest/gtest.h>

#include <cstring>

#include "StartedProgram.h"

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
    QuietStore store;
    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(program.ClickTreeItem({"Your Icons", "System", "Start"}));
    HWND list = FindChildOfClass(window, WC_LISTVIEWA);
    ASSERT_NE(list, nullptr);
    int find = -1;
    WaitUntil(15000, [&] { return (find = FindListItem(program.process(), list, "Find")) >= 0; });
    ASSERT_GE(find, 0);
    ASSERT_EQ(program.SelectListItem(find), list);

    TypeKeys({VK_MENU, 'F', 'H'});
    HWND change = program.WaitForWindow("Change System Icon", 10000);
    ASSERT_NE(change, nullptr);
    EXPECT_NE(FindWindowExA(change, nullptr, "Static", "Find"), nullptr);
    EXPECT_TRUE(GetWindowLongA(change, GWL_EXSTYLE) & WS_EX_TOPMOST);

    PostMessageA(change, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Close());
}
