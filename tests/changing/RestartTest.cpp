// Tools > Restart Windows in the loaded main window, with the call that restarts Windows and the
// privilege steps replaced by recorders.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "changing/WindowsRestart.h"
#include "core/ErrorBox.h"
#include "core/FrmTip.h"
#include "core/IconCache.h"
#include "core/OSVersion.h"
#include "BoxRecorder.h"
#include "core/SaveOnExit.h"
#include "core/ScopedValue.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"

namespace {

std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;
std::vector<bool> gQuitWaiting;  // for each box: the program's end was waiting while it showed
std::vector<std::string> gCalls;
BOOL gRestartAnswer = TRUE;
DWORD gRestartError = 0;
int gSaves = 0;
DWORD gPlatform = VER_PLATFORM_WIN32_NT;

class RestartTest : public testing::Test {
  protected:
    void SetUp() override {
        static bool started = (InitApp(GetModuleHandleA(nullptr)), gEndWhenNoForms = false, true);
        (void)started;
        gQuitWaiting.clear();
        gCalls.clear();
        gSaves = 0;
        BoxRecorder::onShow = [](const ShownBox&) {
            MSG msg;
            gQuitWaiting.push_back(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE);
        };
        gExitWindows = [](UINT flags, DWORD) -> BOOL {
            gCalls.push_back("restart " + std::to_string(flags));
            SetLastError(gRestartError);
            return gRestartAnswer;
        };
        gTokenCalls.lookupPrivilegeValue = [](LPCSTR system, LPCSTR name, PLUID luid) -> BOOL {
            gCalls.push_back(std::string("privilege ") + name);
            return LookupPrivilegeValueA(system, name, luid);
        };
        gTokenCalls.adjustTokenPrivileges = [](HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD) -> BOOL {
            SetLastError(0);
            return TRUE;
        };
        RegisterExitStep(frmTip, [] { ++gSaves; });
        savedVersion = std::exchange(gOSVersionSource, [] { return OSVersion{gPlatform, 4, 0}; });
        PresetQuietStart();
        frmMain.Load();
        gSettingsSaved = false;
        gCacheDirty = false;
    }
    void TearDown() override {
        RegisterExitStep(frmTip);
        frmMain.Unload();
        gTokenCalls = {GetCurrentProcess, OpenProcessToken, LookupPrivilegeValueA, AdjustTokenPrivileges};
        gExitWindows = nullptr;
        gOSVersionSource = savedVersion;
        gPlatform = VER_PLATFORM_WIN32_NT;
        gSettingsSaved = false;
    }
    CleanStore store;
    BoxRecorder recorder{IDNO};
    OSVersionSource savedVersion = nullptr;
};

// Lets the posted messages run, as the message loop does once a command has returned.
void RunPosted() {
    for (int i = 0; i < 5; ++i) DoEvents();
}

}  // namespace

TEST_F(RestartTest, AsksThenRestartsAfterTheCommand) {
    struct Case {
        const char* what;
        const char* os;
        DWORD platform;
        int answer;
        BOOL restarted;
        std::vector<std::string> calls;
        size_t boxes;  // the question and, when Windows refused, the one box telling so
    } cases[] = {
        {"No", "NT4", VER_PLATFORM_WIN32_NT, IDNO, TRUE, {}, 1},
        {"Yes on NT 4", "NT4", VER_PLATFORM_WIN32_NT, IDYES, TRUE, {"privilege SeShutdownPrivilege", "restart 2"}, 1},
        {"Yes on 98", "98", VER_PLATFORM_WIN32_WINDOWS, IDYES, TRUE, {"restart 2"}, 1},
        {"Yes, refused", "NT4", VER_PLATFORM_WIN32_NT, IDYES, FALSE, {"privilege SeShutdownPrivilege", "restart 2"}, 2},
        // A later NT has no code of its own, and needs the privilege all the same.
        {"Yes on a later NT", "", VER_PLATFORM_WIN32_NT, IDYES, TRUE, {"privilege SeShutdownPrivilege", "restart 2"}, 1},
        {"Yes on a later NT, refused", "", VER_PLATFORM_WIN32_NT, IDYES, FALSE,
         {"privilege SeShutdownPrivilege", "restart 2"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!frmMain.IsLoaded()) frmMain.Load();
        gSettingsSaved = false;
        gBoxes.clear();
        gCalls.clear();
        gSaves = 0;
        const ScopedValue<std::string> os(gOSCode, c.os);
        gPlatform = c.platform;
        BoxRecorder::answer = c.answer;
        gRestartAnswer = c.restarted;
        gRestartError = c.restarted ? 0 : ERROR_PRIVILEGE_NOT_HELD;

        frmMain.mnuToolsRestart_Click();
        ASSERT_GE(gBoxes.size(), 1u);
        EXPECT_EQ(gBoxes[0].style, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_EQ(gBoxes[0].title, "Restart Windows");
        // Nothing of the restart runs inside the command.
        EXPECT_EQ(gSaves, 0);
        EXPECT_TRUE(gCalls.empty());
        EXPECT_TRUE(frmMain.IsLoaded());

        RunPosted();
        const bool yes = c.answer == IDYES;
        EXPECT_EQ(gSaves, yes ? 1 : 0);
        EXPECT_EQ(gCalls, c.calls);
        EXPECT_EQ(frmMain.IsLoaded(), !yes);
        ASSERT_EQ(gBoxes.size(), c.boxes);
        if (c.boxes == 2) {
            EXPECT_NE(gBoxes[1].text.find(std::to_string(ERROR_PRIVILEGE_NOT_HELD)), std::string::npos) << gBoxes[1].text;
            EXPECT_NE(gBoxes[1].text.find(SystemErrorText(ERROR_PRIVILEGE_NOT_HELD)), std::string::npos) << gBoxes[1].text;
        }
    }
}

TEST_F(RestartTest, TheEndWaitsForTheBoxOfARefusal) {
    // With the last window gone the program ends; the box telling of the refusal must still show.
    const ScopedValue<bool> endWithLastWindow(gEndWhenNoForms, true);
    const ScopedValue<std::string> os(gOSCode, std::string("98"));
    gPlatform = VER_PLATFORM_WIN32_WINDOWS;
    BoxRecorder::answer = IDYES;
    gRestartAnswer = FALSE;
    gRestartError = ERROR_ACCESS_DENIED;
    frmMain.mnuToolsRestart_Click();
    RunPosted();
    ASSERT_EQ(gBoxes.size(), 2u);
    EXPECT_FALSE(gQuitWaiting[1]);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(LoadedFormCount(), 0);
}
