// The default views of the change window: what the target looked like before the program changed
// it, or the Windows default, drawn in "New" so that Apply puts it back.
#include "changing/FrmChange.h"

#include "common/CursorKinds.h"
#include "common/FileIconReader.h"
#include "common/IconLocation.h"
#include "common/OpenPaths.h"
#include "common/ResultEntry.h"
#include "common/ShortcutOrigin.h"
#include "changing/NewIcon.h"
#include "core/Global.h"
#include "core/Registry.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/MainShared.h"

namespace {

constexpr const char* kCursorKeyPrefix = "Control Panel\\Cursors\\";

// The n-th ";" field of a text, from 0; "" when it has fewer.
std::string Field(const std::string& text, int n) {
    size_t start = 0;
    for (int i = 0; i < n; ++i) {
        start = text.find(';', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    return text.substr(start, text.find(';', start) - start);
}

// The cursor id a cursor entry's key names: the kind of "Control Panel\Cursors\<name>", or the id
// itself; 0 when it names neither.
int32_t CursorIdOfKey(const std::string& key) {
    if (key.compare(0, std::char_traits<char>::length(kCursorKeyPrefix), kCursorKeyPrefix) == 0) {
        const CursorKind* kind = CursorKindByValueName(key.substr(std::char_traits<char>::length(kCursorKeyPrefix)));
        return kind ? kind->cursorId : 0;
    }
    const std::optional<int32_t> id = CurrentCursorId(key);
    return id.value_or(0);
}

}  // namespace

void FrmChange::mnuViewDefault_Click() {
    if (IsBusy(frmMain)) return;
    state_.defaultShown = true;
    if (request_.target.empty()) return;
    if (request_.kind == "Current Cursor" || request_.kind == "Animated Cursor") procShowCursorDefault();
    else if (request_.kind == "System Icon") procShowSystemDefault(picIcon);
    else if (request_.kind == "Shortcut Icon") procShowShortcutDefault();
    else if (request_.kind == "File Type Icon") procShowFileTypeDefault();
}

bool FrmChange::procShowIconFromFile(const std::string& sFile, int32_t lIndex) {
    // The file reaches the system's extraction only once the program's own reader took its headers.
    const std::string path = OnSearchPath(sFile);
    HICON large = nullptr, small = nullptr;
    gResult = ReadFileIconCount(path).count > 0 ? static_cast<int32_t>(ExtractIconExA(path.c_str(), lIndex, &large, &small, 1)) : 0;
    if (small) DestroyIcon(small);
    const bool shown = gResult.Number().value_or(0) > 0 && large;
    if (shown) {
        picIcon.SetIcon(large);
        SetStatus("Choose File, Apply to Change");
    } else {
        if (large) DestroyIcon(large);
        picIcon.SetPictureFrom(frmMain.picNoIcon);
        SetStatus("Could not Retrieve Default!");
    }
    picIcon.Refresh();
    procEnableApply(true);
    return shown;
}

void FrmChange::procShowFileTypeDefault() {
    const std::string& line = request_.target;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return;
    state_.keyName = line.substr(colon + 1, line.find(';', colon + 1) - colon - 1);
    // A class changed while it had no icon of its own goes back to none, which Windows shows by a
    // picture of its own: the placeholder stands for it, not the copy in use.
    if (IsNoIconRecord(ReadStoredRegValue(HKEY_CLASSES_ROOT, state_.keyName + "\\OrDefault", ""))) {
        state_.targetRef.clear();
        picIcon.SetPictureFrom(frmMain.picNoIcon);
        picIcon.Refresh();
        SetStatus("Choose File, Apply to Change");
        procEnableApply(true);
        return;
    }
    // The value the class had before its first change, else its current one.
    for (const char* key : {"\\OrDefault", "\\DefaultIcon"}) {
        const Variant value = ReadRegValue(HKEY_CLASSES_ROOT, state_.keyName + key, "");
        if (value.IsBlank() || value.Text().empty()) continue;
        const IconLocation location = ReadIconLocation(value.Text());
        state_.targetRef = location.file;
        procShowIconFromFile(state_.targetRef, location.index);
        return;
    }
}

void FrmChange::procShowSystemDefault(PictureBox& /*box*/) {
    const IconLocation location = ReadIconLocation(Field(request_.target, 1));
    state_.targetRef = location.file;
    procShowIconFromFile(state_.targetRef, location.index);
}

void FrmChange::procShowShortcutDefault() {
    // A shortcut without an icon of its own shows its target's first icon. A target without one
    // shows the shell's own picture, which Apply gives back by taking the link's icon away.
    const std::optional<ResultEntry> entry = ParseEntry(request_.shortcutEntry);
    const std::string target = entry ? ShortcutTarget(entry->label, request_.target) : std::string();
    state_.noIconDefault = !procShowIconFromFile(target, 0);
}

void FrmChange::procShowCursorDefault() {
    const std::optional<ResultEntry> entry = ParseEntry(request_.target);
    state_.defaultMarker = entry ? entry->file : std::string();
    state_.targetRef = entry ? entry->label : std::string();
    const int32_t id = CursorIdOfKey(state_.targetRef);
    state_.targetRef = id ? std::to_string(id) : std::string();
    state_.defaultCursorId = state_.targetRef;
    // Shared by the system: the picture takes a copy.
    HCURSOR cursor = id > 0 && id <= 0xFFFF ? LoadCursorA(nullptr, MAKEINTRESOURCEA(id)) : nullptr;
    HICON copy = cursor ? CopyIcon(cursor) : nullptr;
    gResult = copy != nullptr;
    if (copy) {
        picIcon.SetIcon(copy);
        SetStatus("Choose File, Apply to Change");
    } else {
        picIcon.SetPictureFrom(frmMain.picNoIcon);
        SetStatus("Could not Retrieve Windows Default");
    }
    picIcon.Refresh();
    procEnableApply(true);
}
