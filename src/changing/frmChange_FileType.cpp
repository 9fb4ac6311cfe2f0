// The file-type change: a class's "DefaultIcon" pointed at an icon copy of the new picture, or put
// back to the icon the class had before the program first changed it, kept under "OrDefault", or to
// no icon at all when that is what it had.
#include "changing/FrmChange.h"

#include "common/IconLocation.h"
#include "changing/IconCopies.h"
#include "changing/NewIcon.h"
#include "core/Files.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "ui/App.h"
#include "ui/Unique.h"

namespace {

constexpr const char* kRestartReminder = "You may need to Restart Windows before File Type changes take effect.";

// The icon file a "DefaultIcon" text names, environment strings expanded; a text without an index
// is the file whole.
std::string IconFileOf(const std::string& text) { return ReadIconLocation(ExpandEnvironment(text)).file; }

// No icon of its own: no value, or an empty text.
bool IsNoIcon(const std::optional<StoredRegValue>& value) {
    return !value || ((value->type == REG_SZ || value->type == REG_EXPAND_SZ) && value->Text().empty());
}

// Removes the key's unnamed value; one that is already gone, or its key, counts as removed.
LONG RemoveUnnamedValue(HKEY hive, const std::string& key) {
    UniqueKey open;
    LONG rc = RegOpenKeyExA(hive, key.c_str(), 0, KEY_SET_VALUE, open.put());
    if (rc == ERROR_SUCCESS) rc = RegDeleteValueA(open.get(), "");
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

}  // namespace

void FrmChange::procApplyFileType() {
    // The class: the target line's text after its first ":" up to the next ";".
    const std::string& line = request_.target;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return;
    state_.keyName = line.substr(colon + 1, line.find(';', colon + 1) - colon - 1);
    if (state_.keyName.empty()) return;
    const std::string iconKey = state_.keyName + "\\DefaultIcon";
    const std::string keptKey = state_.keyName + "\\OrDefault";

    // What the class shows now, read from the class itself: the listing's line may be older than an
    // earlier Apply.
    const std::optional<StoredRegValue> current = ReadStoredRegValue(HKEY_CLASSES_ROOT, iconKey, "");
    const std::string currentText = current ? current->Text() : std::string();
    const IconLocation location = ReadIconLocation(ExpandEnvironment(currentText));
    state_.iconPath = location.file;
    state_.iconIndex = std::to_string(location.index);

    // The icon before the first change is kept once, as stored: its type and unexpanded text, or the
    // record that the class had none. A copy of the program's own is never kept, since a later change
    // removes it.
    std::optional<StoredRegValue> kept = ReadStoredRegValue(HKEY_CLASSES_ROOT, keptKey, "");
    if (!IsNoIconRecord(kept) && (!kept || kept->Text().empty())) {
        std::optional<StoredRegValue> keep;
        if (IsNoIcon(current)) keep = NoIconRecord();
        else if (!currentText.empty() && !IsIconCopyPath(state_.iconPath)) keep = current;
        if (keep && WriteStoredRegValue(HKEY_CLASSES_ROOT, keptKey, "", *keep) == ERROR_SUCCESS) kept = keep;
    }

    if (!state_.defaultShown) {
        const std::optional<std::vector<uint8_t>> bytes = NewIconBytes();
        if (!bytes) return;
        const std::optional<std::string> copy =
            MakeIconCopy(".ico", *bytes, {CopyKind::Icon}, state_.iconPath, [&iconKey](const std::string& path) {
                return CreateRegKey(iconKey, HKEY_CLASSES_ROOT) == ERROR_SUCCESS &&
                       WriteRegValue(iconKey, "", Variant(path + ",0"), REG_SZ) == ERROR_SUCCESS;
            });
        if (!copy) return;
        state_.iconPath = *copy;
    } else if (IsNoIconRecord(kept)) {
        // Back to no icon of its own: the value goes, then the copy in use.
        if (RemoveUnnamedValue(HKEY_CLASSES_ROOT, iconKey) != ERROR_SUCCESS) {
            MsgBox("The icon of " + state_.keyName + " could not be put back, so it stays as it was.",
                   MsgBoxStyle::Exclamation, "Error");
            return;
        }
        DeleteWinIconsFile(state_.iconPath);
        state_.iconPath.clear();
    } else if (kept && !kept->Text().empty()) {
        if (WriteStoredRegValue(HKEY_CLASSES_ROOT, iconKey, "", *kept) != ERROR_SUCCESS) {
            MsgBox("The icon of " + state_.keyName + " could not be put back, so it stays as it was.",
                   MsgBoxStyle::Exclamation, "Error");
            return;
        }
        // The copy in use goes once nothing names it.
        if (!SameFile(IconFileOf(kept->Text()), state_.iconPath)) DeleteWinIconsFile(state_.iconPath);
        state_.iconPath = kept->Text();
    }

    picImport.SetPictureFrom(picIcon);
    procRemind(kRestartReminder, setting::SysFileTypeRestart.name, "Restart Windows Now!");
}
