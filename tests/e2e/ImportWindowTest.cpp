// Tools > Glyphwright in the running program, by real keys: a bitmap opened through the system's
// open dialog and saved through its save dialog, the icon read back from disk.
#include <gtest/gtest.h>

#include "FormatsTestSupport.h"
#include "StartedProgram.h"
#include "formats/Bmp.h"
#include "formats/FileBytes.h"
#include "formats/IconFile.h"

TEST(ImportWindow, OpenedBitmapIsSavedAsAnIconThroughTheRealDialogs) {
    QuietStore store;
    TempDir dir;
    const std::string picture = dir.path() + "sunset.bmp";
    formats::Image image(64, 48, {0, 128, 255, 255});
    const auto bytes = formats::WriteBmp24(image);
    ASSERT_TRUE(bytes && formats::WriteFileBytes(picture, *bytes));

    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(BringToFront(window));
    TypeKeys({VK_MENU, 'T', 'G'});
    HWND import = program.WaitForWindow("Glyphwright", 10000);
    ASSERT_NE(import, nullptr);
    ASSERT_TRUE(BringToFront(import));

    TypeKeys({VK_MENU, 'F', 'O'});
    HWND open = program.WaitForWindow("Open", 10000);
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(WaitForFocus(open, "Edit", 10000));
    TypeKeys(KeysOf(picture + "\r"));
    ASSERT_TRUE(WaitUntilGone(open, 10000));

    ASSERT_TRUE(BringToFront(import));
    TypeKeys({VK_MENU, 'F', 'A'});
    HWND save = program.WaitForWindow("Save As", 10000);
    ASSERT_NE(save, nullptr);
    ASSERT_TRUE(WaitForFocus(save, "Edit", 10000));
    // The dialog offers the picture's name; a new one replaces it.
    TypeKeys(KeysOf(dir.path() + "made\r"));
    const std::string icon = dir.path() + "made.ico";
    ASSERT_TRUE(WaitForFile(icon, 10000, [](const std::string& bytes) {
        return formats::ReadIconDirectory(formats::ByteSpan(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())).ok();
    }));

    const auto written = formats::ReadFileBytes(icon, 1 << 20);
    ASSERT_TRUE(written);
    const auto directory = formats::ReadIconDirectory(*written);
    ASSERT_TRUE(directory);
    EXPECT_EQ(directory->kind, formats::IconKind::Icon);
    EXPECT_EQ(directory->images[0].width, 32);
    EXPECT_EQ(written->size(), 766u) << "16 colours, the dialog's first filter";

    PostMessageA(import, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Close());
}
