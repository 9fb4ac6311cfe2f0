// Handing the selected icon on: Copy puts it on the clipboard, Run starts the program its entry
// names, Edit With writes it to a temporary file and starts the user's icon editor on it.
#include "mainwindow/FrmMain.h"

#include "browsing/Favorites.h"
#include "common/ResultEntry.h"
#include "common/ShortcutOrigin.h"
#include "core/ErrorBox.h"
#include "core/Errors.h"
#include "core/Global.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "mainwindow/Options.h"
#include "output/SaveAs.h"
#include "ui/App.h"
#include "ui/Unique.h"

namespace {

constexpr int kPicture = 32;

void ShowSystemError(DWORD error, const std::string& source, const std::string& title = "Error") {
    ShowError(static_cast<int32_t>(error), source, SystemErrorText(error), title);
}

// A copy of the box's kept image, 32 x 32 pixels, that the caller owns.
HBITMAP CopyOfImage(PictureBox& box) {
    HDC image = box.hDC();
    if (!image) return nullptr;
    MemoryBitmap copy(kPicture, kPicture);
    if (!copy) return nullptr;
    BitBlt(copy.dc(), 0, 0, kPicture, kPicture, image, 0, 0, SRCCOPY);
    return copy.Release();
}

constexpr const char* kEditWithTitle = "Edit With Error";
constexpr const char* kEditorSteps =
    "\r\rselect Options from the main menu.\rselect the Double Click Icon tab\rselect an Icon Editor executable "
    "with the Browse button.";

// The warning box of an editor that is not set, or not one that starts.
void AskForEditor(bool valid) {
    const std::string first =
        valid ? "Please specify a valid External Icon Editor:" : "Please specify an External Icon Editor:";
    gResult = MsgBox(first + kEditorSteps, MsgBoxStyle::Exclamation, kEditWithTitle);
}

// The system errors that mean the editor's file is not there.
bool IsNoSuchFile(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY: return true;
        default: return false;
    }
}

}  // namespace

void FrmMain::mnuEditCopy_Click() {
    ListItem* item = pnlResult.SelectedItem();
    if (!item) return;
    // A picture that no longer reads from the item's source is not copied as the placeholder the
    // page shows for it; the clipboard keeps what it holds.
    UniqueIcon icon = HandedOnIcon(*item);
    if (!icon) {
        MsgBox("An error occurred while copying.", MsgBoxStyle::Exclamation, "Error");
        return;
    }
    picOpen.SetBackColor(gUseMask ? gMaskColor : pnlResult.ShownBackColor());
    picOpen.SetIcon(icon.release());
    UniqueBitmap picture(CopyOfImage(picOpen));
    if (!picture) {
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY, "Copy");
        return;
    }
    if (!OpenClipboard(hwnd())) {
        // Another program holds the clipboard.
        const DWORD error = GetLastError();
        ShowSystemError(error ? error : ERROR_ACCESS_DENIED, "Copy");
        return;
    }
    EmptyClipboard();
    DWORD error = 0;
    if (SetClipboardData(CF_BITMAP, picture.get())) picture.release();  // the clipboard owns it now
    else error = GetLastError() ? GetLastError() : ERROR_ACCESS_DENIED;
    CloseClipboard();
    if (error) ShowSystemError(error, "Copy");
}

void FrmMain::mnuFileRun_Click() {
    ListItem* item = pnlResult.SelectedItem();
    if (!item) return;
    // The third field is the program: a shortcut's target. Catalogue entries have none.
    const std::optional<ResultEntry> entry = ParseEntry(item->Tag);
    std::string program;
    if (entry && entry->kind == SourceKind::Shor)
        program = ShortcutTarget(entry->label, ShortcutLinkPath(item->SubItem(2), item->Text(), gWinDir));
    else if (entry && entry->kind != SourceKind::Book)
        program = entry->label;
    if (program.find_first_not_of(' ') == std::string::npos) {
        ShowError(5, "Run", "The item names no program to run.");
        return;
    }
    // Started as one path, quoted, so that a blank in it does not cut it short; a path holds no quote.
    if (program.find('"') != std::string::npos) {
        ShowSystemError(ERROR_INVALID_NAME, "Run");
        return;
    }
    const DWORD task = gStartProgram("\"" + program + "\"");
    gResult = static_cast<int32_t>(task);
    if (task == 0) {
        const DWORD error = GetLastError();
        ShowSystemError(error ? error : ERROR_FILE_NOT_FOUND, "Run");
    }
}

void FrmMain::mnuFileEditWith_Click() {
    if (ReadStoredSetting(setting::ExtEditFile).IsEmpty()) {
        AskForEditor(false);
        return;
    }
    // Save As writes the icon to the temporary file without its dialog and leaves its path in dlgIcon.
    bool written = false;
    {
        ScopedValue<bool> mode(gEditWithMode, true);
        gResult = false;
        try {
            mnuFileSaveAs_Click();
            written = gResult.Truth();
        } catch (const RuntimeError& e) {
            ShowError(e.number(), e.source(), e.what(), kEditWithTitle);
        } catch (const std::exception& e) {
            ShowError(5, "Edit With", e.what(), kEditWithTitle);
        }
    }
    // An icon that was not written leaves the editor alone, rather than open an older file.
    if (!written) return;

    const std::string file = ReadStoredSetting(setting::ExtEditFile).Text();
    const std::string editor = ReadStoredSetting(setting::ExtEditFolder).Text() + file;
    // Both paths quoted, since either may hold blanks; a path holds no quote.
    if (file.empty() || editor.find('"') != std::string::npos) {
        AskForEditor(true);
        return;
    }
    const DWORD task = gStartProgram("\"" + editor + "\" \"" + dlgIcon.FileName + "\"");
    gResult = static_cast<int32_t>(task);
    if (task != 0) return;
    const DWORD error = GetLastError();
    if (IsNoSuchFile(error) || error == 0) AskForEditor(true);
    else ShowSystemError(error, "Edit With", kEditWithTitle);
}
