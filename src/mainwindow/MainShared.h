// What the main window's parts ask of the window as a whole: busy mode and the stop of the running
// fill, and the shell's open and the colour dialog they show.
#pragma once

#include <optional>

#include "mainwindow/FrmMain.h"

// The program is filling or scanning (busy mode): the File menu is off. Only the abort button acts then.
bool IsBusy(FrmMain& form);

// Stops the running fill: the standard tool bar's abort button, and Esc while the program is busy.
void RequestAbort(FrmMain& form);

// The shell's open (ShellExecuteA) and the colour dialog (ChooseColorA); tests replace them so that no
// browser, mail program or dialog appears.
using ShellOpen = HINSTANCE (*)(HWND owner, const char* verb, const char* file, const char* parameters,
                                const char* folder, int show);
extern ShellOpen gShellOpen;
using ColorPicker = bool (*)(CHOOSECOLORA& choice);
extern ColorPicker gColorPicker;
// The colour dialog owned by the window, opened with its custom colours shown; the custom colours
// are kept for the run. Nothing when the user cancels.
std::optional<COLORREF> PickColor(HWND owner);
