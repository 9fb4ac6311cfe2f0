// The running program's result list, right-clicked with the real mouse: the item menu opens as a
// popup menu window of the program, and Esc closes it.
#include <gtest/gtest.h>

#include "StartedProgram.h"

TEST(ContextMenu, RightClickOnAnItemOpensThePopupMenuAndEscClosesIt) {
    QuietStore store;
    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(program.ShowCurrentCursors());
    EXPECT_EQ(program.WaitForPopupMenu(0), nullptr);
    HWND list = program.ClickListItem(1, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_NE(list, nullptr);
    HWND menu = program.WaitForPopupMenu(5000);
    ASSERT_NE(menu, nullptr);
    // The right-clicked item (the second) is now the selected one.
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);

    TypeKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntilGone(menu, 5000));

    ASSERT_TRUE(program.Close());
}
