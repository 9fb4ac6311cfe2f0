// View > Options in the running program, with the real keyboard and mouse: another tab, a changed
// choice, Apply and Close, and the settings read from outside.
#include <gtest/gtest.h>

#include "ProgramProcess.h"

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
    Sleep(300);
}

// Clicks a check box or option button on the box itself, left of its caption.
void ClickBox(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    ClickAt({rect.left + 6, (rect.top + rect.bottom) / 2});
    Sleep(300);
}

}  // namespace

TEST(OptionsDialog, ChoicesMadeWithTheMouseAreStoredByApplyAndClose) {
    CleanStore clean;
    QuietProgramStart();
    Process program("");
    ASSERT_TRUE(program.started);
    HWND window = MainWindowAfterNotice(program);
    ASSERT_NE(window, nullptr);

    SetForegroundWindow(window);
    Sleep(300);
    TypeKeys({VK_MENU, 'V', 'O'});
    HWND options = WaitForWindow(program.pi.dwProcessId, "Options", 10000);
    ASSERT_NE(options, nullptr);

    // The third tab, clicked where the tab strip draws it.
    HWND tabs = FindChildOfClass(options, WC_TABCONTROLA);
    ASSERT_NE(tabs, nullptr);
    RemoteMemory remote(program.pi.hProcess, sizeof(RECT));
    ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(remote.at())));
    RECT tab{};
    remote.Read(&tab, sizeof tab);
    POINT centre{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
    ClientToScreen(tabs, &centre);
    SetForegroundWindow(options);
    ClickAt(centre);
    Sleep(300);
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
    EXPECT_EQ(StoredText("DCAction"), "Copy");
    EXPECT_EQ(StoredText("DCPlay"), "1");
    EXPECT_TRUE(IsWindowVisible(options));

    // Close stores again and ends the dialog.
    ClickBox(play);
    ClickControl(FindWindowExA(options, nullptr, "Button", "&Close"));
    for (int i = 0; i < 50 && IsWindow(options); ++i) Sleep(100);
    EXPECT_FALSE(IsWindow(options));
    EXPECT_EQ(StoredText("DCPlay"), "0");

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.pi.hProcess, 20000), WAIT_OBJECT_0);
}
