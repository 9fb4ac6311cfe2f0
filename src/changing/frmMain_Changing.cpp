// Commands of the main window that apply icons to Windows, rebuild the icon cache and restart Windows.
#include "mainwindow/FrmMain.h"

#include <string>
#include <utility>

#include "common/ResultEntry.h"
#include "common/ShortcutOrigin.h"
#include "changing/FrmChange.h"
#include "changing/WindowsRestart.h"
#include "core/ErrorBox.h"
#include "core/Global.h"
#include "core/IconCache.h"
#include "core/OSVersion.h"
#include "core/SaveOnExit.h"
#include "ui/App.h"

ExitWindowsCall gExitWindows = ExitWindowsEx;

namespace {

constexpr const char* kRestartTitle = "Restart Windows";

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

namespace {

// The system icon row of lstChange named `name` (its text before the first ";"); "" when none is.
std::string SystemIconRowOf(const HiddenList& rows, const std::string& name) {
    for (int i = 0; i < rows.ListCount(); ++i) {
        const std::string row = rows.List(i);
        if (row.substr(0, row.find(';')) == name) return row;
    }
    return {};
}

// The file-type line of lstChange for the extension in a file-type entry's label
// ("Text Document (*.txt)" gives the line that begins ".txt:"); "" when none is.
std::string FileTypeLineOf(const HiddenList& lines, const std::string& entryText) {
    const std::optional<ResultEntry> entry = ParseEntry(entryText);
    if (!entry) return {};
    const size_t open = entry->label.rfind("(*");
    if (open == std::string::npos || entry->label.back() != ')') return {};
    const std::string key = entry->label.substr(open + 2, entry->label.size() - open - 3) + ":";
    for (int i = 0; i < lines.ListCount(); ++i) {
        const std::string line = lines.List(i);
        if (line.compare(0, key.size(), key) == 0) return line;
    }
    return {};
}

}  // namespace

void FrmMain::mnuFileChange_Click() {
    const ListItem* item = pnlResult.SelectedItem();
    if (!item) return;
    ChangeRequest request{item->SubItem(1), item->Tag, {}, {}};
    const std::string& kind = request.kind;
    if (kind == "System Icon") {
        request.target = SystemIconRowOf(lstChange, item->Text());
    } else if (kind == "File Type Icon") {
        request.target = FileTypeLineOf(lstChange, item->Tag);
    } else if (kind == "Current Cursor" || kind == "Animated Cursor") {
        request.target = item->Tag;
    } else if (kind == "Shortcut Icon") {
        request.target = ShortcutLinkPath(item->SubItem(2), item->Text(), gWinDir);
        request.shortcutEntry = item->Tag;
    }
    frmChange.procHandOver(*item, std::move(request));
}


void FrmMain::mnuToolsRebuild_Click() { RebuildIconCache(); }

void FrmMain::mnuToolsRestart_Click() {
    const MsgBoxResult answer =
        MsgBox("Windows will restart now. Ornavale saves its settings and closes; every other program "
               "is asked to close and may ask you to save your work first.\r\rRestart Windows now?",
               MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation, kRestartTitle, hwnd());
    if (answer != MsgBoxResult::Yes) return;
    // The restart unloads every window, the one whose command asked for it too: it runs once that
    // command has returned.
    PostMessageA(hwnd(), kRestartWindowsMessage, 0, 0);
}

void FrmMain::procRestartWindows() {
    SaveSettingsAndUnload();
    QuitHeldBack quit;
    // Every system of the NT family refuses the restart without the privilege, later ones too, which
    // have no OS code of their own. The privilege steps tell of their own failures; Windows may then
    // refuse the restart.
    if (gOSVersionSource().platformId == VER_PLATFORM_WIN32_NT) EnableShutdownPrivilege();
    SetLastError(0);
    if (gExitWindows(EWX_REBOOT, SHTDN_REASON_MAJOR_OPERATINGSYSTEM | SHTDN_REASON_MINOR_RECONFIG |
                                     SHTDN_REASON_FLAG_PLANNED))
        return;
    const DWORD code = GetLastError();
    MsgBox("Windows did not restart: error " + std::to_string(code) + ", " + SystemErrorText(code) +
               "\r\rPlease restart Windows yourself.",
           MsgBoxStyle::Exclamation, kRestartTitle);
}
