// The icons of the user's shortcuts.
#include "mainwindow/FrmMain.h"

#include <exception>
#include <string>
#include <string_view>

#include "browsing/ListingPace.h"
#include "common/OpenPaths.h"
#include "common/ResultEntry.h"
#include "common/ShortcutOrigin.h"
#include "common/ShellLink.h"
#include "core/FolderWalk.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "mainwindow/MainShared.h"
#include "ui/App.h"
#include "ui/StatusBar.h"

namespace {

constexpr const char* kSearchingShortcuts = "Searching for shortcuts, please wait...";

// The icon file of a shortcut as it will be listed: the one it records, with environment strings
// expanded, or its target when it records none or one without a folder (a bare "shell32.dll").
std::string ShortcutIconFile(const std::string& iconFile, const std::string& target) {
    const std::string icon = ExpandEnvironment(iconFile);
    return icon.find('\\') == std::string::npos ? target : icon;
}

void SetPanel(Panel* panel, const std::string& text) {
    if (panel) panel->SetText(text);
}

}  // namespace

std::string ShortcutTarget(std::string_view label, const std::string& link) {
    if (IsWholeTarget(label)) return std::string(label);
    std::string target, workDir, arguments, iconFile;
    int32_t iconIndex = 0, showCmd = 0;
    try {
        ShellLinkObject().ReadLink(link, target, workDir, arguments, iconFile, iconIndex, showCmd);
    } catch (const std::exception&) {
        return {};  // gone or damaged since it was listed
    }
    return target;
}

void FrmMain::procSearchShortcuts(const std::string& sFolder) {
    Hourglass hourglass;
    SetPanel(gPanelMessage, kSearchingShortcuts);
    if (pnlStatusbar.hwnd()) UpdateWindow(pnlStatusbar.hwnd());
    DoEvents();
    if (!IsLoaded()) return;

    // The result set on show reads its shortcuts' paths from lstFiles: an aborted walk puts them back.
    const HiddenList shownFiles = lstFiles;
    lstFiles.Clear();
    procClearResult();
    procSetAbort(false);

    std::string folder = ShortcutFolder(sFolder);
    if (!folder.empty()) {  // an empty path would walk the drive's root
        ScopedValue<bool> withSubFolders(gScanSubDirs, true);
        ScanFolderTree(folder, "*.lnk", gFileCount, gDirCount);
    }
    if (!IsLoaded()) return;

    if (gAbort) {
        lstFiles = shownFiles;
    } else {
        cmbResult.Clear();
        DoEvents();
        // No mask colour to set: the page draws the shortcuts' icons on the list's own colour.
        EventsRan();
        for (int i = 0; i < lstFiles.ListCount() && IsLoaded(); ++i) {
            std::string target, workDir, arguments, iconFile;
            int32_t iconIndex = 0, showCmd = 0;
            bool read = true;
            try {
                ShellLinkObject().ReadLink(lstFiles.List(i), target, workDir, arguments, iconFile, iconIndex, showCmd);
            } catch (const std::exception&) {
                read = false;  // damaged, empty, locked or gone: the listing goes on without it
            }
            if (read) {
                const std::string icon = ShortcutIconFile(iconFile, target);
                if (IsIconFileName(icon)) cmbResult.AddItem(ShortcutEntry(icon, iconIndex, target), i);
            }
            if (CountDue()) SetPanel(gPanelCount, std::to_string(cmbResult.ListCount()) + " Icon(s)");
            if (EventsDue()) DoEvents();
            if (gAbort) break;
        }
        if (!IsLoaded()) return;
        SetPanel(gPanelCount, std::to_string(cmbResult.ListCount()) + " Icon(s)");
    }

    gAbort = false;
    EndFill(*this);
    cmbSearch.SetText({});
}
