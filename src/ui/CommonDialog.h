// The system's open and save dialogs with the settings a form keeps from one use to the next.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Win.h"

// The open and save dialogs' flags, combined with |. The numbers are VB's, which are the system's
// own (OFN_HIDEREADONLY...).
enum class FileDialogFlags : DWORD {
    None = 0,
    OverwritePrompt = 0x2,       // asks before a file is replaced
    HideReadOnly = 0x4,          // no read-only box
    AllowMultiSelect = 0x200,
    ExtensionDifferent = 0x400,  // the extension may differ from the default one
    PathMustExist = 0x800,
    FileMustExist = 0x1000,
    Explorer = 0x80000,          // Explorer style
    LongNames = 0x200000,
};
constexpr FileDialogFlags operator|(FileDialogFlags a, FileDialogFlags b) {
    return static_cast<FileDialogFlags>(static_cast<DWORD>(a) | static_cast<DWORD>(b));
}
constexpr FileDialogFlags operator&(FileDialogFlags a, FileDialogFlags b) {
    return static_cast<FileDialogFlags>(static_cast<DWORD>(a) & static_cast<DWORD>(b));
}

class CommonDialog {
  public:
    // Kept between uses, as the form's dialog control keeps them.
    std::string DialogTitle;
    // "Text|pattern|Text|pattern...": pairs of a shown name and its patterns, joined by "|".
    std::string Filter;
    int FilterIndex = 1;
    std::string InitDir;
    std::string DefaultExt;
    FileDialogFlags Flags = FileDialogFlags::None;
    // In: the file name offered. Out: what the dialog returned; with several files chosen the
    // folder and each name, separated by zero characters.
    std::string FileName;

    // Shows the open dialog owned by the window; answers false when the user cancels or the dialog
    // fails, and then leaves FileName as it was. With AllowMultiSelect the buffer holds
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
