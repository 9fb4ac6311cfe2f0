// Shared pieces of the window tests.
#include "UiTest.h"

void EnsureApp() {
    static bool done = [] {
        InitApp(GetModuleHandleA(nullptr));
        gEndWhenNoForms = false;
        return true;
    }();
    (void)done;
}

void Pump() { DoEvents(); }

FormSpec TestForm::Spec() const {
    FormSpec s;
    s.caption = "Test";
    s.border = BorderStyle::Sizable;
    s.width = 9000;
    s.height = 7000;
    return s;
}

std::string WindowText(HWND window) {
    char buffer[512] = {};
    GetWindowTextA(window, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

void ClickAt(HWND window, int x, int y, bool right) {
    // Controls read where a click was from the queued message, so the pointer goes there first.
    POINT screen{x, y};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    LPARAM at = MAKELPARAM(x, y);
    PostMessageA(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
    // Controls that watch for a drag wait for the release in their own loop; it is already queued.
    PostMessageA(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    Pump();
}
