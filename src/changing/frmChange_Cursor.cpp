// The cursor change: a still icon becomes a cursor with the hotspot the user clicks, an animation
// an animated cursor of all its frames; the copy is named as one of the current user's cursor kinds
// under "Control Panel\Cursors". The way back writes the kind's value empty, the Windows default.
// Windows is not told: the user is reminded that a restart or a new log-on may be needed.
#include "changing/FrmChange.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "common/CursorKinds.h"
#include "common/ResultEntry.h"
#include "changing/ChangeFrames.h"
#include "changing/IconCopies.h"
#include "core/ErrorBox.h"
#include "core/Files.h"
#include "core/Global.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "formats/IconEncode.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Selection.h"
#include "output/AnimationFrames.h"
#include "output/IconWriter.h"
#include "output/WorkSurfaces.h"
#include "ui/App.h"
#include "ui/Keys.h"

namespace {

constexpr const char* kCursorsKey = "Control Panel\\Cursors";
// Cursors are written in high colour, whatever the dropped icon's depth.
constexpr int32_t kCursorBitCount = 16;
constexpr uint32_t kFrameRate = 20;
constexpr const char* kRestartReminder =
    "You may need to Restart Windows before Cursor changes take effect. You could also try a Re-Logon.";

void TellError(const std::string& text) { gResult = MsgBox(text, MsgBoxStyle::Exclamation, "Error"); }

// The kind a cursor entry's key names: "Control Panel\Cursors\<value name>", or after "default"
// the kind's cursor id. nullptr for any other key.
const CursorKind* KindOfTarget(const std::string& marker, const std::string& key) {
    if (marker == "default") {
        const std::optional<int32_t> id = CurrentCursorId(key);
        return id ? CursorKindById(*id) : nullptr;
    }
    const size_t slash = key.rfind('\\');
    if (slash == std::string::npos || CompareTextNoCase(key.substr(0, slash), kCursorsKey) != 0) return nullptr;
    return CursorKindByValueName(key.substr(slash + 1));
}

bool IsAnimationType(char typeCode) { return std::string_view("345ag").find(typeCode) != std::string_view::npos; }

// The work surfaces as a file of the writer's encoding; nothing when they cannot be read or encoded.
std::optional<std::vector<uint8_t>> EncodeSurfaces(formats::IconKind kind, int32_t hotX, int32_t hotY) {
    auto bytes = EncodeWorkSurfaces(frmMain.pctColor.hDC(), frmMain.pctMask.hDC(), kCursorBitCount, kind, hotX, hotY);
    if (!bytes) return std::nullopt;
    return std::move(*bytes);
}

// The new icon as a cursor, its hotspot clicked by the user in the picker.
std::optional<std::vector<uint8_t>> StillCursor() {
    frmMain.procSetHotSpot();
    const ScopedValue changeMode(gChangeMode, true);
    frmMain.procMask();
    return EncodeSurfaces(formats::IconKind::Cursor, gHotSpotX, gHotSpotY);
}

// Every frame of the dropped animation up to one that cannot be drawn, as one icon a frame, joined
// into an animated cursor in memory; `frames` tells how many it holds. Nothing when the animation
// has no frame or a frame cannot be encoded.
std::optional<std::vector<uint8_t>> AnimatedCursor(const std::string& source, const ResultEntry& entry,
                                                   uint32_t& frames) {
    const bool book = entry.kind == SourceKind::Book;
    frames = static_cast<uint32_t>(std::max(0, procCollectAniFrames(source, book ? ":" : ";", book ? 1 : -1, book ? 0 : 4)));
    if (frames == 0) return std::nullopt;
    std::vector<std::vector<uint8_t>> icons;
    {
        const ScopedValue filmMode(gFilmMode, true);
        for (uint32_t i = 0; i < frames; ++i) {
            gLoopIndex = static_cast<int16_t>(i);
            frmMain.procMask();
            auto icon = EncodeSurfaces(formats::IconKind::Icon, 0, 0);
            if (!icon) return std::nullopt;
            icons.push_back(std::move(*icon));
        }
    }
    const std::vector<formats::ByteSpan> spans(icons.begin(), icons.end());
    auto ani = formats::EncodeAni(spans, std::vector<uint32_t>(spans.size(), kFrameRate));
    if (!ani) return std::nullopt;
    return std::move(*ani);
}

}  // namespace

void FrmChange::procApplyCursor() {
    // The frame walk shows the hourglass; the default pointer comes back however the change ends.
    Hourglass hourglass{Hourglass::Later{}};
    const std::optional<ResultEntry> target = ParseEntry(request_.target);
    state_.defaultMarker = target ? target->file : std::string();
    state_.targetRef = target ? target->label : std::string();
    const CursorKind* kind = KindOfTarget(state_.defaultMarker, state_.targetRef);
    if (!kind) {
        TellError("Ornavale cannot change this cursor: \"" + state_.targetRef + "\" names none of the Windows cursors.");
        return;
    }
    state_.keyName = kCursorsKey;
    state_.valueName = kind->valueName;
    state_.hive = HKEY_CURRENT_USER;
    // The file the cursor uses now, as Windows reads it: the entry may be older than an earlier change.
    const std::string current = ReadRegValue(state_.hive, state_.keyName, state_.valueName).Text();
    auto pointAt = [this](const std::string& file) {
        return CreateRegKey(state_.keyName, state_.hive) == ERROR_SUCCESS &&
               WriteRegValue(state_.keyName, state_.valueName, Variant(file), REG_SZ) == ERROR_SUCCESS;
    };

    if (state_.defaultShown) {
        // The empty value stands for the Windows default; the copy goes once Windows no longer names it.
        if (!pointAt("")) {
            const DWORD code = static_cast<DWORD>(gRegStatus);
            TellError("Windows could not be given back its default cursor for \"" + state_.valueName + "\": " +
                      SystemErrorText(code) + " (" + std::to_string(code) + ").");
            return;
        }
        DeleteWinIconsFile(current);
        picIcon.SetPicture(nullptr);
        // Shared by the system: the picture takes a copy.
        HCURSOR standard = LoadCursorA(nullptr, MAKEINTRESOURCEA(kind->cursorId));
        picImport.SetIcon(standard ? CopyIcon(standard) : nullptr);
        picImport.Refresh();
    } else {
        const std::optional<ResultEntry> dropped = ParseEntry(state_.dropped);
        const bool animated = dropped && IsAnimationType(dropped->typeCode);
        uint32_t frames = 1;
        const std::optional<std::vector<uint8_t>> bytes =
            animated ? AnimatedCursor(state_.dropped, *dropped, frames) : StillCursor();
        if (!bytes) {
            TellError(animated && frames == 0
                          ? "The animation dropped on New has no frames to write: it is no longer in Ornavale's "
                            "list, or its first frame cannot be read. Drop it from the list again and Apply. The "
                            "cursor was not changed."
                          : "Ornavale could not make a cursor of the new icon. The cursor was not changed.");
            return;
        }
        const std::optional<std::string> copy =
            MakeIconCopy(animated ? ".ani" : ".cur", *bytes,
                         {animated ? CopyKind::Animation : CopyKind::Cursor, frames}, current, pointAt);
        if (!copy) return;
        state_.iconPath = *copy;
        // The current picture and entry name the new copy.
        const size_t semicolon = request_.entry.find(';');
        request_.entry = state_.iconPath + (semicolon == std::string::npos ? std::string() : request_.entry.substr(semicolon));
        picImport.SetPictureFrom(picIcon);
        picImport.Refresh();
    }

    hourglass.Done();
    gResult = false;
    procRemind(kRestartReminder, setting::SysCursorRestart.name, "Restart Windows Now!");
}
