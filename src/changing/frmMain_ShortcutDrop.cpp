// Files dropped on the result list from another program: on an item, each gets a shortcut with that
// item's icon (a dropped shortcut gets the icon itself); beside the items, they are opened.
#include "mainwindow/FrmMain.h"

#include "common/OpenPaths.h"
#include "common/ShellLink.h"
#include "changing/ShortcutIcon.h"
#include "core/Global.h"
#include "core/ShellFolders.h"
#include "mainwindow/MainShared.h"
#include "output/WorkSurfaces.h"
#include "ui/App.h"

namespace {

constexpr const char* kReminderCaption = "Change Shortcut";
constexpr FileDialogFlags kCreateFlags = FileDialogFlags::OverwritePrompt | FileDialogFlags::HideReadOnly |
                                         FileDialogFlags::ExtensionDifferent | FileDialogFlags::PathMustExist |
                                         FileDialogFlags::LongNames;

// The path's folder with its closing "\"; "" when it has none.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void FrmMain::pnlResult_OLEDragDrop(DragData& data, int& /*effect*/, int /*button*/, int /*shift*/, POINT screen) {
    if (IsBusy(*this)) return;
    if (!data.GetFormat(vbCFFiles)) {
        SetScreenMousePointer(PointerShape::Default);
        return;
    }
    const std::vector<std::string> files = data.Files();
    ListItem* item = pnlResult.HitTestScreen(screen);
    pnlResult.SetSelectedItem(item);
    if (!item) {
        // Opened as the result set, in place of whatever was opened before.
        gPathList.clear();
        for (const std::string& file : files) gPathList += file + '\0';
        if (!gPathList.empty()) gPathList.pop_back();
        lstFiles.Clear();
        procOpenPathList(0);
        return;
    }
    procItemSelected();
    // A picture that no longer reads from the item's source is not given to the shortcuts as the
    // placeholder the page shows for it.
    if (!HandedOnIcon(*item)) {
        MsgBox("Ornavale could not read the icon from its file, so no shortcut was made or changed.",
               MsgBoxStyle::Exclamation, kReminderCaption);
        return;
    }
    Hourglass hourglass;
    procMask();
    procGetBitCount();
    const std::optional<std::vector<uint8_t>> bytes = SurfaceIconBytes(gBitCount);
    bool rebuild = false;
    for (size_t i = 0; bytes && i < files.size(); ++i) {
        const std::string& dropped = files[i];
        std::string link;
        ShortcutFields fields;
        const bool inPlace = ExtensionOf(dropped) == ".lnk";
        if (inPlace) {
            // One that cannot be read is told of and left; the other files go on.
            std::optional<ShortcutFields> read = ReadShortcutOrTell(dropped);
            if (!read) continue;
            link = dropped;
            fields = std::move(*read);
        } else {
            dlgIcon.DialogTitle = "Create Shortcut";
            dlgIcon.Filter = "Shortcut (*.lnk)|*.lnk";
            dlgIcon.FilterIndex = 1;
            dlgIcon.DefaultExt = "lnk";
            dlgIcon.Flags = kCreateFlags;
            dlgIcon.InitDir = GetSpecialFolder(CSIDL_STARTMENU);
            // The name alone: with its folder the dialog would start there instead.
            dlgIcon.FileName = dropped.substr(FolderOf(dropped).size());
            if (!dlgIcon.ShowSave(hwnd())) return;
            link = dlgIcon.FileName;
            if (ExtensionOf(link) != ".lnk") link += ".lnk";
            fields.target = dropped;
            fields.folder = FolderOf(dropped);
        }
        const std::optional<std::string> copy = GiveShortcutIcon(fields.iconFile, *bytes, [&](const std::string& path) {
            if (inPlace) ShellLinkObject().ChangeLinkIcon(link, path, 0);
            else ShellLinkObject().WriteLink(link, fields.target, fields.folder, fields.arguments, path, 0,
                                             fields.showCommand);
        });
        if (copy && *copy == fields.iconFile) rebuild = true;
    }
    hourglass.Done();
    if (rebuild) RemindShortcutCache(kReminderCaption);
}
