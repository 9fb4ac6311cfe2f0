// The system's open and save dialogs with the settings a form keeps from one use to the next.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Win.h"

class CommonDialog {
  public:
    // Kept between uses, as the form's dialog control keeps them.
    std::string DialogTitle;
    // "Text|pattern|Text|pattern...": pairs of a shown name and its patterns, joined by "|".
    std::string Filter;
    int FilterIndex = 1;
    std::string InitDir;
    std::string DefaultExt;
    DWORD Flags = 0;
    // In: the file name offered. Out: what the dialog returned; with several files chosen the
    // folder and each name, separated by zero characters.
    std::string FileName;

    // Shows the open dialog owned by the window; answers false when the user cancels or the dialog
    // fails, and then leaves FileName as it was. With OFN_ALLOWMULTISELECT the buffer holds
    // several hundred long file names.
    bool ShowOpen(HWND owner);
    // The save dialog, as ShowOpen; FilterIndex then holds the filter the user chose.
    bool ShowSave(HWND owner);

  private:
    bool Show(HWND owner, bool (*dialog)(OPENFILENAMEA&));
};

// The filter in the system's form: each "|" a zero character, ending with two zeros.
std::string SystemFilter(const std::string& filter);

// The dialogs themselves (GetOpenFileNameA, GetSaveFileNameA); tests replace them so that nobody
// has to choose.
using FileDialog = bool (*)(OPENFILENAMEA& ofn);
extern FileDialog gOpenFileDialog;
extern FileDialog gSaveFileDialog;
