// Play: the frames of the animation that the selected item belongs to, collected from the result
// set into the frame store picFilm and shown by the player.
#include "mainwindow/FrmMain.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "browsing/Library.h"
#include "common/PagePictures.h"
#include "common/ResultEntry.h"
#include "core/ErrorBox.h"
#include "core/Errors.h"
#include "core/Global.h"
#include "mainwindow/Selection.h"
#include "output/AnimationFrames.h"
#include "output/FrmAni.h"
#include "ui/App.h"

int32_t gFrameCount = 0;
int32_t gFrameNr = 0;
void (*gShowAnimationPlayer)() = ShowAnimationPlayer;

namespace {

// The run-time error of a picture that cannot be made.
constexpr int32_t kInvalidPicture = 481;

std::string_view KindOf(std::string_view entry) { return entry.size() >= 4 ? entry.substr(entry.size() - 4) : entry; }

bool IsFileFrameKind(std::string_view kind) {
    return kind == "open" || kind == "user" || kind == "sycu" || kind == "sytu";
}

// Where a frame entry's picture comes from, for the error text.
std::string FrameOrigin(const std::string& entryText) {
    const std::optional<ResultEntry> entry = ParseEntry(entryText);
    if (!entry) return entryText;
    if (entry->kind == SourceKind::Book)
        return "cell " + std::to_string(entry->ref.cell) + " of library " + entry->ref.library;
    return "frame " + entry->index + " of " + entry->file;
}

}  // namespace

std::string AnimationKey(std::string_view entry, char sep, int skip) {
    const size_t p1 = entry.find(sep);
    if (p1 == std::string_view::npos) return std::string(entry);
    const size_t from = p1 + 1 + static_cast<size_t>(skip < 0 ? 0 : skip);
    const size_t p2 = from < entry.size() ? entry.find(sep, from) : std::string_view::npos;
    if (p2 == std::string_view::npos) return std::string(entry);
    std::string key(entry.substr(0, p1));
    key += entry.substr(p2 + 1);
    return key;
}

void FrmMain::mnuFilePlay_Click() {
    ListItem* item = pnlResult.SelectedItem();
    if (!item) return;
    const std::string_view kind = KindOf(item->Tag);
    if (kind == "book") procLoadAniFrames(":", 1, 0);
    else if (IsFileFrameKind(kind)) procLoadAniFrames(";", -1, 4);
}

void FrmMain::procLoadAniFrames(const std::string& sSep, int16_t lStep, int16_t lSkip) {
    ListItem* item = pnlResult.SelectedItem();
    CollectAniFrames(item ? item->Tag : std::string(), sSep, lStep, lSkip, !gFilmMode);
}

int32_t FrmMain::CollectAniFrames(const std::string& source, const std::string& sSep, int16_t lStep, int16_t lSkip,
                                  bool showPlayer, bool asPlay) {
    SetScreenMousePointer(PointerShape::Hourglass);
    for (int32_t i = 1; i <= gFrameCount && static_cast<size_t>(i) < picFilm.size(); ++i)
        picFilm[static_cast<size_t>(i)].SetPicture(nullptr);
    gFrameCount = 0;

    // The entry equal to the source; a source no longer in the result set gives no frame.
    int index = -1;
    for (int i = 0; i < cmbResult.ListCount(); ++i)
        if (cmbResult.List(i) == source) {
            index = i;
            break;
        }
    if (index >= 0 && !sSep.empty()) {
        const char sep = sSep[0];
        const int step = lStep < 0 ? -1 : 1;
        const std::string key = AnimationKey(source, sep, lSkip);
        const std::string kind(KindOf(source));
        auto inRun = [&](int i) {
            const std::string& entry = cmbResult.List(i);
            return i >= 0 && i < cmbResult.ListCount() && !entry.empty() && KindOf(entry) == kind &&
                   AnimationKey(entry, sep, lSkip) == key;
        };
        // To the far end of the run in the direction of the step, then back through it: file
        // frames come in list order, catalogue frames from the run's last entry.
        while (inRun(index + step)) index += step;
        for (int i = index; inRun(i); i -= step) {
            ++gFrameCount;
            FilmElement(static_cast<size_t>(gFrameCount)).SetPicture(nullptr);
            int32_t number = kInvalidPicture;
            std::string why;
            try {
                std::string entry = cmbResult.List(i);
                if (kind == "book") procGetOrnavaleAni(entry);
                else if (IsFileFrameKind(kind)) procGetOpenAni(entry);
            } catch (const RuntimeError& e) {
                number = e.number();
                why = e.what();
            } catch (const std::exception& e) {
                why = e.what();
            }
            if (FilmElement(static_cast<size_t>(gFrameCount)).HasPicture()) continue;
            // A frame that cannot be drawn ends the run there: a blank frame would go into the
            // player, a saved animation or a cursor. The frames before it stay.
            --gFrameCount;
            if (asPlay)
                ShowError(number, "Play",
                          "The animation's " + FrameOrigin(cmbResult.List(i)) + " could not be read" +
                              (why.empty() ? std::string() : ": " + why) + ". The animation ends before it.");
            break;
        }
    }
    if (asPlay) gFrameNr = 1;
    // The player's activation gives the pointer back; without a player (or frames) it goes back
    // now, and in film mode the caller gives it back.
    if (showPlayer && gFrameCount > 0 && gShowAnimationPlayer) gShowAnimationPlayer();
    else if (showPlayer) SetScreenMousePointer(PointerShape::Default);
    return gFrameCount;
}

// The frame procedures make each frame's icon straight from its pixels, with its own AND mask: a
// detour through picOpen and an image list would cost two icon copies a frame.
void FrmMain::procGetOrnavaleAni(std::string& gKeyword) {
    if (gKeyword.size() <= 3) return;
    const std::optional<ResultEntry> entry = ParseEntry(gKeyword);
    const size_t cellEnd = gKeyword.find(':', gKeyword.find(':') + 1);
    gKeyword.erase(0, cellEnd == std::string::npos ? gKeyword.size() : cellEnd + 1);
    if (!entry || entry->kind != SourceKind::Book) return;
    const std::optional<uint32_t> mask = MaskColorFor(entry->ref.maskDigit);
    if (!mask) return;
    procExtractLibrary(entry->ref.library);
    // A library that cannot be had leaves the frame empty rather than cut from another picture.
    const std::optional<formats::Cell> cell = gLibPresent ? picBMP.GraphicCell(entry->ref.cell, *mask) : std::nullopt;
    if (cell) FilmElement(static_cast<size_t>(gFrameCount)).SetIcon(CellIcon(*cell).release());
}

void FrmMain::procGetOpenAni(std::string& gKeyword) {
    if (gKeyword.size() <= 3) return;
    const std::optional<ResultEntry> entry = ParseEntry(gKeyword);
    if (!entry) return;
    // File, frame and label leave the front of the text; the file may itself hold ";".
    gKeyword.erase(0, std::min(gKeyword.size(), entry->file.size() + entry->index.size() + entry->label.size() + 3));
    // The bytes kept for gAniFile serve every frame of the same file: it is read once.
    UniqueIcon frame = AniFrameIcon(entry->file, entry->IndexNumber().value_or(-1));
    gResult = static_cast<bool>(frame);
    if (frame) FilmElement(static_cast<size_t>(gFrameCount)).SetIcon(frame.release());
}
