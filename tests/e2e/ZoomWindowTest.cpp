// Tools > Zoom in the running program, with the real keyboard and mouse: the window opens on the
// selected icon at the chosen factor and a double-click puts the enlarged picture on the clipboard,
// read back from outside.
#include <gtest/gtest.h>

#include "ProgramProcess.h"

TEST(ZoomWindow, ToolsZoomShowsTheSelectedIconAndADoubleClickCopiesIt) {
    CleanStore clean;
    QuietProgramStart();
    Process program("");
    ASSERT_TRUE(program.started);
    HWND window = MainWindowAfterNotice(program);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ShowCurrentCursors(program.pi.hProcess, window));
    HWND list = ClickListItem(program.pi.hProcess, window, 0);
    ASSERT_NE(list, nullptr);
    Sleep(300);
    ASSERT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);

    TypeKeys({VK_MENU, 'T', 'Z', '5'});
    HWND zoom = WaitForWindow(program.pi.dwProcessId, "Zoom 5:1", 10000);
    ASSERT_NE(zoom, nullptr);
    HWND picture = FindWindowExA(zoom, nullptr, "OrnavalePicture", nullptr);
    ASSERT_NE(picture, nullptr);
    RECT client{};
    GetClientRect(picture, &client);
    EXPECT_EQ(client.right, 160);
    EXPECT_EQ(client.bottom, 160);

    POINT middle{80, 80};
    ClientToScreen(picture, &middle);
    SetForegroundWindow(zoom);
    Sleep(200);
    const ClipboardPicture copied = PictureCopiedBy(
        [&] {
            ClickAt(middle);
            ClickAt(middle);
        },
        5000);
    EXPECT_EQ(copied.width, 160);
    EXPECT_EQ(copied.height, 160);

    PostMessageA(zoom, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.pi.hProcess, 20000), WAIT_OBJECT_0);
}
