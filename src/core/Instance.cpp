// Single instance and the hand-over of a second start's command line.
#include "core/Instance.h"

#include "core/FrmSplash.h"
#include "ui/Form.h"

HANDLE gMutex = nullptr;
HWND gPrevWnd = nullptr;

bool IsFirstInstance(const std::string& name) {
    SetLastError(0);
    gMutex = CreateMutexA(nullptr, TRUE, name.c_str());
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (gMutex) CloseHandle(gMutex);
        gMutex = nullptr;
        return false;
    }
    return true;
}

bool IsAppWindow(HWND hwnd) {
    return reinterpret_cast<INT_PTR>(GetPropA(hwnd, kAppWindowProp)) == 1;
}

void SetAppWindowProp(HWND hwnd) { SetPropA(hwnd, kAppWindowProp, reinterpret_cast<HANDLE>(1)); }

BOOL CALLBACK EnumWindowsProc(HWND hwnd, LPARAM) {
    if (IsAppWindow(hwnd)) {
        gPrevWnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

void FindPrevInstance() {
    gPrevWnd = nullptr;
    EnumWindows(EnumWindowsProc, 0);
}

namespace {

// Above all other windows and in front, its always-on-top as it was: a window kept on top stays
// so; another one is lifted over the windows kept on top and let go again.
void RaiseWindow(HWND hwnd) {
    const bool onTop = (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (!onTop) SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd);
}

// The window a disabled main window waits for; nullptr when it does not wait. A message box or a
// file dialog is a pop-up the main window owns: the one of them active last. Else a modal form of
// the program, which leaves every other window disabled: the uppermost shown and enabled window of
// its thread that is a form or a dialog. A modeless window stays enabled beside an owned pop-up
// (the change window, always on top): it is never the one waited for.
HWND ModalWindowOver(HWND mainWindow) {
    if (IsWindowEnabled(mainWindow)) return nullptr;
    HWND popup = GetLastActivePopup(mainWindow);
    if (popup && popup != mainWindow && IsWindowVisible(popup) && IsWindowEnabled(popup)) return popup;
    HWND found = nullptr;
    EnumThreadWindows(
        GetWindowThreadProcessId(mainWindow, nullptr),
        [](HWND w, LPARAM lp) -> BOOL {
            char name[32] = {};
            if (!IsWindowVisible(w) || !IsWindowEnabled(w) || !GetClassNameA(w, name, sizeof name)) return TRUE;
            if (lstrcmpA(name, kFormClass) != 0 && lstrcmpA(name, "#32770") != 0) return TRUE;
            *reinterpret_cast<HWND*>(lp) = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

void RestoreAppWindow(HWND hwnd) {
    if (IsIconic(hwnd)) SendMessageA(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    // A main window that waits for a modal window brings that one up over it, or the program
    // would look hung: the modal window comes to the top and the main window right under it.
    HWND modal = ModalWindowOver(hwnd);
    RaiseWindow(modal ? modal : hwnd);
    if (modal) SetWindowPos(hwnd, modal, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ReleaseInstanceMutex() {
    if (gMutex) CloseHandle(gMutex);
    gMutex = nullptr;
}

std::vector<char> HandoverBytes(const std::string& arguments) {
    if (arguments.empty()) return {'\0'};
    return {arguments.begin(), arguments.end()};
}

std::string ArgumentsOf(const std::string& commandLine) {
    size_t i = 0;
    const size_t n = commandLine.size();
    while (i < n && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
    if (i < n && commandLine[i] == '"') {
        auto close = commandLine.find('"', i + 1);
        i = close == std::string::npos ? n : close + 1;
    }
    while (i < n && commandLine[i] != ' ' && commandLine[i] != '\t') ++i;
    while (i < n && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
    return commandLine.substr(i);
}

std::string (*gStartArguments)() = [] { return ArgumentsOf(GetCommandLineA()); };

bool Main() {
    if (IsFirstInstance(kMutexName)) {
        frmSplash.Show();
        return true;
    }
    FindPrevInstance();
    // No marked window yet (the first instance is still in its splash): the arguments are lost.
    if (!gPrevWnd) return false;
    std::string arguments = ArgumentsOf(GetCommandLineA());
    if (!arguments.empty() || !IsWindowVisible(gPrevWnd)) {
        std::vector<char> bytes = HandoverBytes(arguments);
        COPYDATASTRUCT cds{};
        cds.dwData = 0;
        cds.cbData = static_cast<DWORD>(bytes.size());
        cds.lpData = bytes.data();
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(gPrevWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL,
                            kHandoverTimeoutMs, &ignored);
    } else {
        RestoreAppWindow(gPrevWnd);
    }
    return false;
}
