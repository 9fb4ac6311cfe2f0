// Tools > Change Any Folder Icon and Tools > Default Folder Icon: a folder's own icon, named by
// the folder's desktop.ini and shown by the shell while the folder carries the System attribute.
#include "mainwindow/FrmMain.h"

#include <string>

#include "changing/DesktopIni.h"
#include "changing/IconCopies.h"
#include "core/ErrorBox.h"
#include "core/Files.h"
#include "core/FolderWalk.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/IconCache.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "formats/IconEncode.h"
#include "output/IconWriter.h"
#include "output/WorkSurfaces.h"
#include "ui/App.h"

namespace {

constexpr const char* kTitle = "Change Any Folder";
constexpr const char* kCacheReminder =
    "You need to Rebuild the Windows Icon Cache before these changes take effect. Restarting Windows will not "
    "rebuild the Icon Cache. You can always rebuild the Icon Cache later by selecting Tools, Rebuild Icon Cache "
    "from the main Ornavale menu.";
// The attributes SetFileAttributesA takes; the others are the system's to keep.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The folder the user picks in the folder icon mode, starting at the current folder; "" when cancelled.
std::string PickFolder() {
    ScopedValue<bool> mode(gBrowseFolderIcon, true);
    gStrTemp.clear();
    char current[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof current, current);
    BrowseForFolder(current);
    return TrimAtNull(gStrTemp);
}

// Adds or removes the System attribute alone: a hidden folder stays hidden.
void SetSystemAttribute(const std::string& folder, bool system) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    DWORD code = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
    if (code == 0) {
        DWORD wanted = attributes & kSettableAttributes;
        wanted = system ? wanted | FILE_ATTRIBUTE_SYSTEM : wanted & ~DWORD{FILE_ATTRIBUTE_SYSTEM};
        if (!SetFileAttributesA(folder.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL)) code = GetLastError();
    }
    if (code != 0)
        ShowError(static_cast<int32_t>(code), kTitle,
                  "The attributes of " + folder + " could not be changed: " + SystemErrorText(code));
}

// The shell shows the folder's new icon once its icon cache is rebuilt.
void RemindOfRebuild() {
    gCacheDirty = true;
    if (ReadStoredSetting(setting::FolderCache).Number().value_or(0) != 0) {
        gResult = false;
        return;
    }
    if (ShowMessage(kCacheReminder, "FolderCache", kTitle, "Rebuild Icon Cache Now!")) RebuildIconCache();
}

}  // namespace

void FrmMain::mnuToolsChangeFolder_Click() {
    const std::string folder = PickFolder();
    if (folder.empty()) return;
    const std::string ini = DesktopIniOf(folder);
    const std::string current = ReadProfileText(ini, kShellClassInfo, "IconFile");

    // A picture that no longer reads from the item's source is not given to the folder as the
    // placeholder the page shows for it.
    if (const ListItem* item = pnlResult.SelectedItem(); item && !HandedOnIcon(*item)) {
        MsgBox("Ornavale could not read the selected icon from its file.\r\rThe folder keeps its icon.",
               MsgBoxStyle::Exclamation, kTitle);
        return;
    }
    procMask();
    procGetBitCount();
    const auto bytes = EncodeWorkSurfaces(pctColor.hDC(), pctMask.hDC(), gBitCount, formats::IconKind::Icon);
    if (!bytes) {
        MsgBox("Ornavale could not make the folder's new icon: " + bytes.error() + ".\r\rThe folder keeps its icon.",
               MsgBoxStyle::Exclamation, kTitle);
        return;
    }
    const auto copy = MakeIconCopy(".ico", *bytes, {CopyKind::Icon}, current, [&](const std::string& path) {
        return RewriteProfile(ini, kShellClassInfo, {{"IconFile", path}, {"IconIndex", "0"}}).empty();
    });
    if (!copy) return;
    SetSystemAttribute(folder, true);
    RemindOfRebuild();
}

void FrmMain::mnuToolsDefaultFolder_Click() {
    const std::string folder = PickFolder();
    if (folder.empty()) return;
    const std::string ini = DesktopIniOf(folder);
    const std::string current = ReadProfileText(ini, kShellClassInfo, "IconFile");

    // The copy the folder used goes only once desktop.ini no longer names it.
    const std::string failure = RewriteProfile(ini, kShellClassInfo, {{"IconFile", ""}, {"IconIndex", ""}});
    if (!failure.empty()) {
        MsgBox(failure + ".\r\rThe folder keeps its icon.", MsgBoxStyle::Exclamation, kTitle);
        return;
    }
    DeleteWinIconsFile(current);
    SetSystemAttribute(folder, false);
    RemindOfRebuild();
}
