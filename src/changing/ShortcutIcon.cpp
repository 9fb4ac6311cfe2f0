// Shortcut icons: read the link, make the copy, point the link at it.
#include "changing/ShortcutIcon.h"

#include "changing/IconCopies.h"
#include "common/ShellLink.h"
#include "core/Errors.h"
#include "core/FrmMessage.h"
#include "core/IconCache.h"
#include "core/Settings.h"
#include "formats/IconEncode.h"
#include "mainwindow/FrmMain.h"
#include "output/IconWriter.h"
#include "ui/App.h"

namespace {

constexpr const char* kErrorTitle = "Change Shortcut";
constexpr const char* kCacheReminder =
    "Because Ornavale replaces the shortcut icon file with the new icon file, you need to Rebuild the Windows "
    "Icon Cache before the new shortcut icon becomes active. You can always rebuild the Icon Cache later by "
    "selecting Tools, Rebuild Icon Cache from the main Ornavale menu.";

}  // namespace

std::optional<ShortcutFields> ReadShortcutOrTell(const std::string& lnkFile) {
    ShortcutFields f;
    try {
        ShellLinkObject().ReadLink(lnkFile, f.target, f.folder, f.arguments, f.iconFile, f.iconIndex, f.showCommand);
    } catch (const RuntimeError& e) {
        MsgBox("The shortcut " + lnkFile + " could not be read, so its icon was not changed.\r\r" + e.what(),
               MsgBoxStyle::Exclamation, kErrorTitle);
        return std::nullopt;
    }
    return f;
}

std::optional<std::vector<uint8_t>> SurfaceIconBytes(int32_t bitCount) {
    auto bytes = EncodeWorkSurfaces(frmMain.pctColor.hDC(), frmMain.pctMask.hDC(), bitCount, formats::IconKind::Icon);
    if (!bytes) {
        MsgBox("The new icon could not be made (" + bytes.error() + "), so no shortcut was changed.",
               MsgBoxStyle::Exclamation, kErrorTitle);
        return std::nullopt;
    }
    return std::move(*bytes);
}

std::optional<std::string> GiveShortcutIcon(const std::string& previousIcon, const std::vector<uint8_t>& bytes,
                                            const std::function<void(const std::string& copyPath)>& writeLink) {
    return MakeIconCopy(".ico", bytes, {CopyKind::Icon}, previousIcon, [&](const std::string& copy) {
        try {
            writeLink(copy);
            return true;
        } catch (const RuntimeError&) {
            return false;
        }
    });
}

bool TakeShortcutIcon(const std::string& lnkFile, const std::string& previousIcon) {
    try {
        ShellLinkObject().ChangeLinkIcon(lnkFile, "", 0);
    } catch (const RuntimeError& e) {
        MsgBox("The shortcut " + lnkFile + " could not be written, so its icon stays as it was.\r\r" + e.what(),
               MsgBoxStyle::Exclamation, kErrorTitle);
        return false;
    }
    DeleteWinIconsFile(previousIcon);
    return true;
}

bool RemindShortcutCache(const std::string& caption) {
    if (ReadStoredSetting(setting::ShortcutCache).Number().value_or(0) != 0) return false;
    if (ShowMessage(kCacheReminder, setting::ShortcutCache.name, caption, "Rebuild Icon Cache Now!"))
        RebuildIconCache();
    return true;
}
