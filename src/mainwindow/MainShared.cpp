// Busy mode, the stop of the running fill, the shell's open and the colour dialog.
#include "mainwindow/MainShared.h"

#include "core/FolderWalk.h"

namespace {

HINSTANCE SystemShellOpen(HWND owner, const char* verb, const char* file, const char* parameters,
                          const char* folder, int show) {
    return ShellExecuteA(owner, verb, file, parameters, folder, show);
}

bool SystemColorPicker(CHOOSECOLORA& choice) { return ChooseColorA(&choice) != FALSE; }

}  // namespace

ShellOpen gShellOpen = SystemShellOpen;
ColorPicker gColorPicker = SystemColorPicker;

std::optional<COLORREF> PickColor(HWND owner) {
    static COLORREF custom[16] = {};
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.lpCustColors = custom;
    choice.Flags = CC_FULLOPEN;
    if (!gColorPicker(choice)) return std::nullopt;
    return choice.rgbResult;
}

bool IsBusy(FrmMain& form) {
    const MenuItem* file = form.Menus().Find(ID_mnuFile);
    return file && !file->enabled;
}

void RequestAbort(FrmMain&) { gAbort = true; }
