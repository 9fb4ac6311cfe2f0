// Tools > Glyphwright in the running program, by real keys: a bitmap opened through the system's
// open dialog and saved through its save dialog, the icon read back from disk.
#include <gtest/gtest.h>

#include "FormatsTestSupport.h"
#include "ProgramProcess.h"
#include "TestSupport.h"
#include "formats/Bmp.h"
#include "formats/FileBytes.h"
#include "formats/IconFile.h"

namespace {

bool WaitForFile(const std::string& file, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100, Sleep(100))
        if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    return false;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100, Sleep(100))
        if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    return false;
}

}  // namespace

TEST(ImportWindow, OpenedBitmapIsSavedAsAnIconThroughTheRealDialogs) {
    CleanStore clean;
    QuietProgramStart();
    TempDir dir;
    const std::string picture = dir.path() + "sunset.bmp";
    formats::Image image(64, 48, {0, 128, 255, 255});
    const auto bytes = formats::WriteBmp24(image);
    ASSERT_TRUE(bytes && formats::WriteFileBytes(picture, *bytes));

    Process program("");
    ASSERT_TRUE(program.started);
    HWND window = MainWindowAfterNotice(program);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    Sleep(300);
    TypeKeys({VK_MENU, 'T', 'G'});
    HWND import = WaitForWindow(program.pi.dwProcessId, "Glyphwright", 10000);
    ASSERT_NE(import, nullptr);
    SetForegroundWindow(import);
    Sleep(300);

    TypeKeys({VK_MENU, 'F', 'O'});
    HWND open = WaitForWindow(program.pi.dwProcessId, "Open", 10000);
    ASSERT_NE(open, nullptr);
    Sleep(500);
    TypeKeys(KeysOf(picture + "\r"));
    ASSERT_TRUE(WaitUntilGone(open, 10000));
    Sleep(500);

    SetForegroundWindow(import);
    Sleep(300);
    TypeKeys({VK_MENU, 'F', 'A'});
    HWND save = WaitForWindow(program.pi.dwProcessId, "Save As", 10000);
    ASSERT_NE(save, nullptr);
    Sleep(500);
    // The dialog offers the picture's name; a new one replaces it.
    TypeKeys(KeysOf(dir.path() + "made\r"));
    const std::string icon = dir.path() + "made.ico";
    ASSERT_TRUE(WaitForFile(icon, 10000));
    Sleep(300);

    const auto written = formats::ReadFileBytes(icon, 1 << 20);
    ASSERT_TRUE(written);
    const auto directory = formats::ReadIconDirectory(*written);
    ASSERT_TRUE(directory);
    EXPECT_EQ(directory->kind, formats::IconKind::Icon);
    EXPECT_EQ(directory->images[0].width, 32);
    EXPECT_EQ(written->size(), 766u) << "16 colours, the dialog's first filter";

    PostMessageA(import, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.pi.hProcess, 20000), WAIT_OBJECT_0);
}
