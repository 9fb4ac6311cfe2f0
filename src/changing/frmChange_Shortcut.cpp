// The shortcut change: the window's new picture becomes the shortcut's icon, as a copy of its own.
#include "changing/FrmChange.h"

#include "common/OpenPaths.h"
#include "common/ShellLink.h"
#include "changing/ShortcutIcon.h"
#include "core/IconCache.h"
#include "core/ScopedValue.h"
#include "mainwindow/FrmMain.h"
#include "output/WorkSurfaces.h"

namespace {

// The depth every shortcut copy made in the change window is written at.
constexpr int32_t kShortcutBitCount = 16;

}  // namespace

void FrmChange::procApplyShortcut() {
    const std::string link = request_.target;
    // A shortcut that cannot be read is left alone, and no copy is made for it.
    const std::optional<ShortcutFields> fields = ReadShortcutOrTell(link);
    if (!fields) return;
    // The default of a link whose target has no icon: no icon of its own, and no copy.
    if (state_.defaultShown && state_.noIconDefault) {
        if (!TakeShortcutIcon(link, fields->iconFile)) return;
        picImport.SetPictureFrom(picIcon);
        gCacheDirty = true;
        return;
    }
    std::optional<std::vector<uint8_t>> bytes;
    {
        ScopedValue changeMode(gChangeMode, true);
        frmMain.procMask();
        bytes = SurfaceIconBytes(kShortcutBitCount);
    }
    if (!bytes) return;
    // Only the icon changes: target, folder, arguments, show command, description, hot key and the
    // target's item list stay as they are.
    const std::optional<std::string> copy = GiveShortcutIcon(fields->iconFile, *bytes, [&](const std::string& path) {
        ShellLinkObject().ChangeLinkIcon(link, path, 0);
    });
    if (!copy) return;
    picImport.SetPictureFrom(picIcon);
    gCacheDirty = true;
    // Windows goes on showing the picture it cached for an unchanged path. A copy never takes the
    // name of a file that exists, so this happens only when the copy the link named was gone.
    if (LowerAnsi(fields->iconFile) == LowerAnsi(*copy)) state_.cacheReminderShown = RemindShortcutCache(Caption());
}
