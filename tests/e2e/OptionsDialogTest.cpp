// View > Options in the running program, with the real keyboard and mouse: another tab, a changed
// choice, Apply and Close, and the settings read from outside.
#include <gtest/gtest.h>

#include <string>

#include "IconMaker.h"
#include "StartedProgram.h"

namespace {

std::string StoredText(const char* name) {
    char data[256] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return "(missing)";
    return data;
}

// Clicks the middle of a control of another process's window with the real mouse.
void ClickControl(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// Clicks a check box or option button on the box itself, left of its caption; answers whether its
// check changed.
bool ClickBox(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    const LRESULT before = SendMessageA(control, BM_GETCHECK, 0, 0);
    // Now and then the slot's X server drops a click that follows the one before it at once; a
    // click that changed nothing within seconds is given once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        SetForegroundWindow(GetAncestor(control, GA_ROOT));
        ClickAt({rect.left + 6, (rect.top + rect.bottom) / 2});
        if (WaitUntil(3000, [&] { return SendMessageA(control, BM_GETCHECK, 0, 0) != before; })) return true;
    }
    return false;
}

}  // namespace

// The program started and View > Options opened with the keyboard.
class OptionsDialog : public testing::Test {
  protected:
    void SetUp() override {
        window = program.Main();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(BringToFront(window));
        TypeKeys({VK_MENU, 'V', 'O'});
        options = program.WaitForWindow("Options", 10000);
        ASSERT_NE(options, nullptr);
    }
    QuietStore store;
    StartedProgram program;
    HWND window = nullptr, options = nullptr;
};

TEST_F(OptionsDialog, ChoicesMadeWithTheMouseAreStoredByApplyAndClose) {
    // The third tab, clicked where the tab strip draws it.
    HWND tabs = FindChildOfClass(options, WC_TABCONTROLA);
    ASSERT_NE(tabs, nullptr);
    RemoteMemory remote(program.process(), sizeof(RECT));
    ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(remote.at())));
    RECT tab{};
    remote.Read(&tab, sizeof tab);
    POINT centre{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
    ClientToScreen(tabs, &centre);
    SetForegroundWindow(options);
    ClickAt(centre);
    WaitUntil(5000, [&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 2; });
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);

    HWND copy = FindWindowExA(options, nullptr, "Button", "&Copy to Clipboard");
    HWND play = FindWindowExA(options, nullptr, "Button", "&Play if Animated Icon");
    ASSERT_TRUE(copy && play);
    ASSERT_TRUE(IsWindowVisible(copy));
    ClickBox(copy);
    ClickBox(play);
    EXPECT_EQ(SendMessageA(copy, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(play, BM_GETCHECK, 0, 0), BST_CHECKED);

    ClickControl(FindWindowExA(options, nullptr, "Button", "A&pply"));
    WaitUntil(5000, [] { return StoredText("DCPlay") == "1"; });
    EXPECT_EQ(StoredText("DCAction"), "Copy");
    EXPECT_EQ(StoredText("DCPlay"), "1");
    EXPECT_TRUE(IsWindowVisible(options));

    // Close stores again and ends the dialog.
    ClickBox(play);
    ClickControl(FindWindowExA(options, nullptr, "Button", "&Close"));
    EXPECT_TRUE(WaitUntil(5000, [&] { return !IsWindow(options); }));
    EXPECT_EQ(StoredText("DCPlay"), "0");

    ASSERT_TRUE(program.Close());
}

TEST_F(OptionsDialog, ALaterStartWaitsUntilItIsClosed) {
    TempDir dir;
    const std::string icon = dir.path() + "a.ico";
    ASSERT_TRUE(WriteIconFile(icon, 0x3366CC));

    // Without arguments the program is only raised; with a path the path waits for the window. Each
    // start finds the disabled main window over Options and brings Options up.
    for (const std::string& arguments : {std::string(), icon}) {
        SCOPED_TRACE(arguments);
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitUntil(5000, [&] { return IsAbove(window, options); }));
        StartedProgram second(arguments);
        ASSERT_TRUE(second.started());
        EXPECT_TRUE(second.WaitForEnd(15000));
        EXPECT_FALSE(WaitUntil(1000, [&] { return program.ShownItems() != 0; }));
        EXPECT_FALSE(IsAbove(window, options));
    }

    ClickControl(FindWindowExA(options, nullptr, "Button", "C&ancel"));
    EXPECT_TRUE(WaitUntilGone(options, 5000));
    EXPECT_EQ(program.WaitForShownItems(1, 15000), 1);
    ASSERT_TRUE(program.Close());
}
