// The system icon change: the registry value a system icon row names pointed at an icon copy of
// the new picture, or put back to the row's Windows default.
#include "changing/FrmChange.h"

#include "common/IconLocation.h"
#include "common/SystemIconRows.h"
#include "changing/IconCopies.h"
#include "changing/NewIcon.h"
#include "core/Files.h"
#include "core/IconCache.h"
#include "core/OSVersion.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "ui/App.h"

namespace {

constexpr const char* kCacheReminder =
    "You need to Rebuild the Windows Icon Cache before these changes take effect. Restarting Windows will not "
    "rebuild the Icon Cache. You can always rebuild the Icon Cache later by selecting Tools, Rebuild Icon Cache "
    "from the main Ornavale menu.";

// The text of a value that holds one, as stored; nothing when it is missing, empty or no text.
std::optional<StoredRegValue> TextValue(HKEY hive, const std::string& key, const std::string& valueName) {
    std::optional<StoredRegValue> value = ReadStoredRegValue(hive, key, valueName);
    if (value && value->Text().empty()) value.reset();
    return value;
}

StoredRegValue TextOf(const std::string& text) {
    StoredRegValue value{REG_SZ, std::vector<uint8_t>(text.begin(), text.end())};
    value.bytes.push_back(0);
    return value;
}

}  // namespace

void FrmChange::procApplySystemIcon() {
    // This change tells of the icon cache itself, once per Apply.
    state_.cacheReminderShown = true;
    // A row naming a hive of none of the four throws here, before anything is written.
    const SystemIconPlace place = ReadSystemIconRow(request_.target);
    state_.targetRef = place.defaultIcon;
    state_.hiveName = place.hiveName;
    state_.keyName = place.key;
    state_.valueName = place.valueName;
    state_.hive = place.hive;
    // The Recycle Bin's "Empty" icon is also its key's unnamed value, the file alone.
    const bool recycleBinEmpty = state_.valueName == "Empty" && state_.hiveName + "\\" + state_.keyName == RecycleBinIconKey(gOSCode);

    // What the row's value names now, read from the value itself: the item's entry may be older
    // than an earlier Apply. A value that is not there is not made.
    const std::optional<StoredRegValue> before = TextValue(state_.hive, state_.keyName, state_.valueName);
    const std::optional<StoredRegValue> unnamed =
        recycleBinEmpty ? TextValue(state_.hive, state_.keyName, "") : std::optional<StoredRegValue>();
    if (!before) {
        // Nothing is written, so the icon cache stays as it is and no rebuild is offered.
        MsgBox("Ornavale cannot change the icon of " + place.name + ": Windows keeps none in " + state_.hiveName + "\\" +
                   state_.keyName + (state_.valueName.empty() ? std::string() : ", value \"" + state_.valueName + "\"") +
                   ", so nothing was changed.",
               MsgBoxStyle::Exclamation, "Error");
        return;
    }
    const std::string currentFile = ReadIconLocation(ExpandEnvironment(before->Text())).file;

    // Both values, or neither: a failed second write puts the first back.
    auto point = [&](const std::string& iconText, const std::string& fileText) {
        if (WriteStoredRegValue(state_.hive, state_.keyName, state_.valueName, TextOf(iconText)) != ERROR_SUCCESS) return false;
        if (!unnamed || WriteStoredRegValue(state_.hive, state_.keyName, "", TextOf(fileText)) == ERROR_SUCCESS) return true;
        WriteStoredRegValue(state_.hive, state_.keyName, state_.valueName, *before);
        return false;
    };

    if (!state_.defaultShown) {
        const std::optional<std::vector<uint8_t>> bytes = NewIconBytes();
        if (!bytes) return;
        const std::optional<std::string> copy =
            MakeIconCopy(".ico", *bytes, {CopyKind::Icon}, currentFile,
                         [&point](const std::string& path) { return point(path + ",0", path); });
        if (!copy) return;
        state_.iconPath = *copy;
        const size_t semicolon = request_.entry.find(';');
        if (semicolon != std::string::npos) request_.entry = state_.iconPath + request_.entry.substr(semicolon);
        picImport.SetPictureFrom(picIcon);
    } else {
        if (!point(state_.targetRef, state_.targetRef)) {
            MsgBox("The icon of " + place.name + " could not be put back, so it stays as it was.",
                   MsgBoxStyle::Exclamation, "Error");
            return;
        }
        // The copy in use goes once nothing names it.
        if (!SameFile(ReadIconLocation(state_.targetRef).file, currentFile)) DeleteWinIconsFile(currentFile);
        procShowSystemDefault(picIcon);
    }

    gCacheDirty = true;
    procRemind(kCacheReminder, setting::SysCache.name, "Rebuild Icon Cache Now!");
}
