// Commands of the main window that apply icons to Windows, rebuild the icon cache and restart Windows.
#include "mainwindow/FrmMain.h"

#include <string>

#include "changing/WindowsRestart.h"
#include "core/ErrorBox.h"
#include "core/IconCache.h"
#include "core/OSVersion.h"
#include "core/SaveOnExit.h"
#include "ui/App.h"

ExitWindowsCall gExitWindows = ExitWindowsEx;

namespace {

constexpr const char* kRestartTitle = "Restart Windows";
constexpr UINT kYesNoQuestion = 52;
constexpr int kYes = 6;

// Unloading the last window asks the program to end. The boxes after the unload would close as
// soon as they open while that request waits, so it is held back while they show and then made
// again.
class QuitHeldBack {
  public:
    QuitHeldBack() {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            held_ = true;
            code_ = static_cast<int>(msg.wParam);
        }
    }
    ~QuitHeldBack() {
        if (held_) PostQuitMessage(code_);
    }
    QuitHeldBack(const QuitHeldBack&) = delete;
    QuitHeldBack& operator=(const QuitHeldBack&) = delete;

  private:
    bool held_ = false;
    int code_ = 0;
};

}  // namespace

void FrmMain::mnuFileChange_Click() {}

void FrmMain::mnuToolsRebuild_Click() { RebuildIconCache(); }

void FrmMain::mnuToolsRestart_Click() {
    const int answer = MsgBox("Windows will restart now. Ornavale saves its settings and closes; every other program "
                              "is asked to close and may ask you to save your work first.\r\rRestart Windows now?",
                              kYesNoQuestion, kRestartTitle, hwnd());
    if (answer != kYes) return;
    // The restart unloads every window, the one whose command asked for it too: it runs once that
    // command has returned.
    PostMessageA(hwnd(), kRestartWindowsMessage, 0, 0);
}

void FrmMain::procRestartWindows() {
    SaveSettingsAndUnload();
    QuitHeldBack quit;
    // The privilege steps tell of their own failures; Windows may then refuse the restart.
    if (gOSCode == "NT4" || gOSCode == "NT3") EnableShutdownPrivilege();
    SetLastError(0);
    if (gExitWindows(EWX_REBOOT, SHTDN_REASON_MAJOR_OPERATINGSYSTEM | SHTDN_REASON_MINOR_RECONFIG |
                                     SHTDN_REASON_FLAG_PLANNED))
        return;
    const DWORD code = GetLastError();
    MsgBox("Windows did not restart: error " + std::to_string(code) + ", " + SystemErrorText(code) +
               "\r\rPlease restart Windows yourself.",
           48, kRestartTitle);
}
