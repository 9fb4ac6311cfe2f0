// Handing the selected icon on: Copy puts it on the clipboard, Run starts the program its entry
// names.
#include "mainwindow/FrmMain.h"

#include "browsing/Favorites.h"
#include "browsing/ResultEntry.h"
#include "core/ErrorBox.h"
#include "core/Global.h"
#include "mainwindow/Options.h"
#include "ui/Unique.h"

namespace {

constexpr int kPicture = 32;
constexpr uint32_t kWindowColour = 0x80000000 | COLOR_WINDOW;

void ShowSystemError(DWORD error, const std::string& source) {
    ShowError(static_cast<int32_t>(error), source, SystemErrorText(error));
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

}  // namespace

void FrmMain::mnuEditCopy_Click() {
    ListItem* item = pnlResult.SelectedItem();
    if (!item) return;
    picOpen.SetBackColor(gUseMask ? gMaskColor : pnlResult.BackColor().value_or(kWindowColour));
    picOpen.SetIcon(imlResult32.GetIcon(item->Icon()).release());
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
    if (!entry || entry->kind == SourceKind::Book || entry->label.find_first_not_of(' ') == std::string::npos) {
        ShowError(5, "Run", "The item names no program to run.");
        return;
    }
    // Started as one path, quoted, so that a blank in it does not cut it short; a path holds no quote.
    if (entry->label.find('"') != std::string::npos) {
        ShowSystemError(ERROR_INVALID_NAME, "Run");
        return;
    }
    const DWORD task = gStartProgram("\"" + entry->label + "\"");
    gResult = static_cast<int32_t>(task);
    if (task == 0) {
        const DWORD error = GetLastError();
        ShowSystemError(error ? error : ERROR_FILE_NOT_FOUND, "Run");
    }
}
