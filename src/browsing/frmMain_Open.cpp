// Opening the user's icon files and folders: the open dialog, a path list and the disk scan window.
#include "mainwindow/FrmMain.h"

#include "browsing/FrmScan.h"
#include "common/OpenPaths.h"
#include "core/FolderWalk.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "ui/App.h"

namespace {

constexpr const char* kOpenFilter =
    "All Icons (*.ani;*.cur;*.dll;*.exe;*.icl;*.ico)|*.ani;*.cur;*.dll;*.exe;*.icl;*.ico|"
    "Animated Icons (*.ani)|*.ani|Applications (*.exe)|*.exe|Cursors (*.cur)|*.cur|"
    "Dynamic Link Libraries (*.dll)|*.dll|Icon Libraries (*.icl)|*.icl|Icons (*.ico)|*.ico";
constexpr FileDialogFlags kOpenFlags = FileDialogFlags::AllowMultiSelect | FileDialogFlags::Explorer |
                                       FileDialogFlags::LongNames | FileDialogFlags::HideReadOnly;

void SetMessage(const std::string& text) {
    if (gPanelMessage) gPanelMessage->SetText(text);
}

}  // namespace

void FrmMain::mnuFileOpen_Click() {
    const std::string startFolder = ReadStoredSetting(setting::ScanDirectory).Text();
    dlgIcon.Flags = kOpenFlags;
    dlgIcon.Filter = kOpenFilter;
    dlgIcon.FileName.clear();
    dlgIcon.DialogTitle = "Open by File";
    dlgIcon.InitDir = startFolder;

    SetMessage("Use CTRL or SHIFT to Multiselect");
    if (!dlgIcon.ShowOpen(hwnd())) {
        SetMessage({});  // the result on screen stays
        return;
    }

    procClearResult();
    cmbResult.Clear();
    lstFiles.Clear();
    const OpenSelection selection = ParseOpenSelection(dlgIcon.FileName);
    for (const std::string& file : selection.files) lstFiles.AddItem(file);
    if (selection.folder != startFolder) WriteSetting(setting::ScanDirectory, selection.folder);

    // The listing lets events run after each file: nothing but the abort button may start meanwhile.
    procSetAbort(false);
    procSearchOpen();
    cmbSearch.SetText({});
    SetMessage({});
}

void FrmMain::procOpenPathList(int lSep) {
    SetMessage("Searching for icon libraries, please wait...");
    pnlStatusbar.Refresh();
    DoEvents();

    procClearResult();
    cmbResult.Clear();
    // lstFiles is not emptied: the paths are added to what it holds. Whoever shows a result that
    // refers to lstFiles by position empties both before a path list is opened.
    procSetAbort(false);
    gScanSubDirs = true;

    const std::vector<std::string> items = SplitPathList(gPathList, static_cast<char>(lSep));
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        // Listed whole: the start-up opens its list before it changes the current directory, and
        // the pages read the files later. A path that cannot be examined is listed as a file; it
        // gives no icons later.
        if (procIsFolder(item).value_or(false)) {
            int32_t files = 0, folders = 0;
            std::string folder = FullPath(item);
            ScanFolderTree(folder, "*.*", files, folders);
        } else {
            lstFiles.AddItem(LowerAnsi(FullPath(item)));
        }
        if (gAbort) break;
        if (i + 1 < items.size()) DoEvents();
        if (gAbort) break;
    }
    if (!gAbort) KeepFiles(lstFiles, IsIconFileName);

    const bool aborted = gAbort;
    if (!aborted) procSearchOpen();

    gPathList.clear();
    gScanSubDirs = false;
    SetMessage({});
    if (aborted) {
        procSetAbort(true);
        if (gPanelCount) gPanelCount->SetText("Aborted!");
        // Left set, it would stop the next walk, such as a favorites refresh, before it begins.
        gAbort = false;
    }
    SetScreenMousePointer(PointerShape::Default);
}

void FrmMain::mnuFileOpenDir_Click() { frmScan.ShowModal(); }
