// File > Change in the running program, with the real keyboard and mouse: the change window opens
// for the clicked system icon and names it, and a later start while a box waits over the main
// window, read from outside.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "IconMaker.h"
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

// The program started and File > Change given the clicked system icon Find.
class ChangeWindow : public testing::Test {
  protected:
    void SetUp() override {
        window = program.Main();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(program.ClickTreeItem({"Your Icons", "System", "Start"}));
        HWND list = FindChildOfClass(window, WC_LISTVIEWA);
        ASSERT_NE(list, nullptr);
        int find = -1;
        WaitUntil(15000, [&] { return (find = FindListItem(program.process(), list, "Find")) >= 0; });
        ASSERT_GE(find, 0);
        ASSERT_EQ(program.SelectListItem(find), list);
        TypeKeys({VK_MENU, 'F', 'H'});
        change = program.WaitForWindow("Change System Icon", 10000);
        ASSERT_NE(change, nullptr);
    }
    bool OnTop() const { return GetWindowLongA(change, GWL_EXSTYLE) & WS_EX_TOPMOST; }

    QuietStore store;
    StartedProgram program;
    HWND window = nullptr, change = nullptr;
};

}  // namespace

TEST_F(ChangeWindow, FileChangeOnAClickedSystemIconOpensItsChangeWindow) {
    EXPECT_NE(FindWindowExA(change, nullptr, "Static", "Find"), nullptr);
    EXPECT_TRUE(OnTop());
    PostMessageA(change, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Close());
}

TEST_F(ChangeWindow, ALaterStartBringsUpTheBoxTheMainWindowWaitsForAndLeavesItOnTop) {
    TempDir dir;
    const std::string icon = dir.path() + "a.ico";
    ASSERT_TRUE(WriteIconFile(icon, 0x3366CC));
    ASSERT_TRUE(BringToFront(window));
    TypeKeys({VK_F1});
    HWND box = program.WaitForWindow("Help error", 10000);
    ASSERT_NE(box, nullptr);
    ASSERT_FALSE(IsWindowEnabled(window));
    // The change window, also the program's and enabled, is the active one when the start comes.
    for (const std::string& arguments : {std::string(), icon}) {
        SCOPED_TRACE(arguments);
        ASSERT_TRUE(BringToFront(change));
        StartedProgram second(arguments);
        ASSERT_TRUE(second.started());
        EXPECT_TRUE(second.WaitForEnd(15000));
        EXPECT_TRUE(WaitUntil(5000, [&] { return GetForegroundWindow() == box; }));
        EXPECT_TRUE(IsAbove(box, window));
        EXPECT_TRUE(OnTop());
    }

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntilGone(box, 5000));
    // The path opens, and the main window comes up under the change window.
    EXPECT_EQ(program.WaitForShownItems(1, 15000), 1);
    EXPECT_TRUE(WaitUntil(5000, [&] { return GetForegroundWindow() == window; }));
    EXPECT_TRUE(OnTop());
    PostMessageA(change, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Close());
}
