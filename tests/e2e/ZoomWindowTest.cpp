// Tools > Zoom in the running program, with the real keyboard and mouse: the window opens on the
// selected icon at the chosen factor and a double-click puts the enlarged picture on the clipboard,
// read back from outside.
#include <gtest/gtest.h>

#include "StartedProgram.h"

TEST(ZoomWindow, ToolsZoomShowsTheSelectedIconAndADoubleClickCopiesIt) {
    QuietStore store;
    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(program.ShowCurrentCursors());
    ASSERT_NE(program.SelectListItem(0), nullptr);

    TypeKeys({VK_MENU, 'T', 'Z', '5'});
    HWND zoom = program.WaitForWindow("Zoom 5:1", 10000);
    ASSERT_NE(zoom, nullptr);
    HWND picture = FindWindowExA(zoom, nullptr, "OrnavalePicture", nullptr);
    ASSERT_NE(picture, nullptr);
    RECT client{};
    GetClientRect(picture, &client);
    EXPECT_EQ(client.right, 160);
    EXPECT_EQ(client.bottom, 160);

    POINT middle{80, 80};
    ClientToScreen(picture, &middle);
    ASSERT_TRUE(BringToFront(zoom));
    // The picture may still be in the making as the window shows: the double-click then comes again.
    ClipboardPicture copied;
    WaitUntil(10000, [&] {
        copied = PictureCopiedBy(
            [&] {
                ClickAt(middle);
                ClickAt(middle);
            },
            1500);
        return copied.width != 0;
    });
    EXPECT_EQ(copied.width, 160);
    EXPECT_EQ(copied.height, 160);

    PostMessageA(zoom, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Close());
}
