// The keyword search and the icons of the user's files.
#include "mainwindow/FrmMain.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/FileIconReader.h"
#include "common/FileIcons.h"
#include "browsing/KeywordHits.h"
#include "browsing/ListingPace.h"
#include "common/Paging.h"
#include "core/FolderWalk.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/Options.h"
#include "ui/App.h"
#include "ui/StatusBar.h"

namespace {

constexpr const char* kSearchingIcons = "Searching for icons, please wait...";
constexpr const char* kSearchingFavorites = "Searching for favorites, please wait...";

// Entries 1 to n of a file through procAddResultEntry; an animated file's come one frame step at a time.
void procAddIconEntries(FrmMain& form, const std::string& sFile, IconFileType type, int32_t n, int32_t k,
                        char stillTypeCode) {
    for (int32_t i = 1; i <= n; ++i) {
        const IconEntryFields fields = EntryFields(type, i, n, k, stillTypeCode);
        form.procAddResultEntry(sFile, fields.index, fields.label, std::string(1, fields.typeCode) + "open");
    }
}

// While the item is selected in the box its text may still be the one typed before: the box
// changes its edit text only after it has told its parent about the new selection.
std::string KeywordText(const ComboBox& box) {
    const int selected = box.ListIndex();
    return selected >= 0 ? box.List(selected) : box.Text();
}

// The keyword slot of a search; throws for anything but a slot number.
int32_t KeywordSlot(const std::string& text) {
    int32_t n = -1;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n < 0 || n >= kKeywordSlots)
        throw std::out_of_range("Subscript out of range");
    return n;
}

// The entries a file gave, added to the result set.
void AddCountedIcons(FrmMain& form, const std::string& sFile, const FileIconCount& icons) {
    const IconFileType type = IconFileTypeOf(sFile);
    if (type == IconFileType::Ani) {
        for (int32_t k = 0; k < icons.count; ++k) procAddIconEntries(form, sFile, type, 1, k, 0);
    } else if (icons.count >= 1) {
        procAddIconEntries(form, sFile, type, icons.count, 0, icons.typeCode);
    }
}

void SetPanel(Panel* panel, const std::string& text) {
    if (panel) panel->SetText(text);
}

}  // namespace

void FrmMain::procSearchOrnavale() {
    Hourglass hourglass;
    if (cmbSearch.hwnd()) UpdateWindow(cmbSearch.hwnd());
    SetPanel(gPanelMessage, kSearchingIcons);
    if (pnlStatusbar.hwnd()) UpdateWindow(pnlStatusbar.hwnd());
    DoEvents();
    if (!IsLoaded()) return;
    // No keyword chosen: no catalogue slot at all, never the one searched last.
    const int selected = cmbSearch.ListIndex();
    gKeyNrStr = selected >= 0 ? std::to_string(cmbSearch.ItemData(selected)) : std::string();
    cmbResult.Clear();
    try {
        procSearchKeyword();
    } catch (const std::exception&) {
        // Whatever was found before the failure is shown, rather than the last search's page over
        // an emptied result set.
        if (IsLoaded()) EndFill(*this);
    }
}

void FrmMain::procSearchKeyword() {
    const std::string keyword = KeywordText(cmbSearch);
    const int32_t n = gKeyNrStr.empty() ? -1 : KeywordSlot(gKeyNrStr);
    static const std::string noRefs;
    AppendKeywordHits(cmbResult, n, n >= 0 ? gRefs[static_cast<size_t>(n)] : noRefs, lstUser, cmbUser, keyword);

    // Without a favorites folder there is nothing to walk (an empty path would be the drive's root).
    if (gSearchFav && !gFavDir.empty()) {
        lstFiles.Clear();
        // The walk and the listing let events run: only the abort button may act meanwhile.
        if (!IsBusy(*this)) procSetAbort(false);
        ScanFolderTree(gFavDir, "*.*", gFileCount, gDirCount);
        std::vector<std::string> matches;
        for (int i = 0; i < lstFiles.ListCount(); ++i)
            if (IsFavoriteFileOf(lstFiles.List(i), keyword)) matches.push_back(lstFiles.List(i));
        lstFiles.Clear();
        for (const std::string& path : matches) lstFiles.AddItem(path);
        // No mask colour to set first: the page draws file icons on the list's own transparent colour.
        for (const std::string& path : matches) {
            procAddFileIcons(path);
            if (!IsLoaded()) return;
        }
    }

    EndFill(*this);
}

void FrmMain::procSearchOpen(FileIconCountsAhead* readAhead) {
    Hourglass hourglass;
    SetPanel(gPanelMessage, gFavoritesMode ? kSearchingFavorites : kSearchingIcons);
    if (pnlStatusbar.hwnd()) UpdateWindow(pnlStatusbar.hwnd());
    DoEvents();
    if (!IsLoaded()) return;
    // Events run during the listing: only the abort button may act meanwhile, whoever called.
    if (!IsBusy(*this)) procSetAbort(false);

    // The pages of this listing show its own reading of each file.
    ForgetKeptFileBytes();
    std::optional<FileIconCountsAhead> own;
    if (!readAhead) {
        std::vector<std::string> paths;
        paths.reserve(static_cast<size_t>(lstFiles.ListCount()));
        for (int i = 0; i < lstFiles.ListCount(); ++i) paths.push_back(lstFiles.List(i));
        readAhead = &own.emplace(std::move(paths), kListingReaders);
    }
    FileIconCountsAhead& ahead = *readAhead;
    ahead.Close();
    EventsRan();
    for (int i = 0; i < lstFiles.ListCount() && !gAbort; ++i) {
        const std::string path = lstFiles.List(i);  // the list may change while events run
        FileIconCount icons;
        const size_t at = static_cast<size_t>(i);
        if (at < ahead.size() && ahead.Path(at) == path) {
            // A slow file (a network share) keeps the window alive while it is read, and the
            // abort stops the wait.
            while (!ahead.Wait(at, static_cast<unsigned>(std::max(gListingEventsMs, 1ul)), icons)) {
                DoEvents();
                EventsRan();
                if (!IsLoaded()) return;
                if (gAbort) break;
            }
            if (gAbort) break;
        } else {
            icons = ReadFileIconCount(path);
        }
        try {
            AddCountedIcons(*this, path, icons);
        } catch (const std::exception&) {
            // A file that fails half-way keeps the entries it gave; the next file goes on.
        }
        if (EventsDue()) {
            DoEvents();
            if (!IsLoaded()) return;
        }
    }
    if (gAbort) {
        // The readers stop after the file each one is reading, which may be slow too.
        ahead.Stop([] {
            if (EventsDue()) DoEvents();
        });
        if (!IsLoaded()) return;
    }
    SetPanel(gPanelCount, std::to_string(cmbResult.ListCount()) + " Icon(s)");
    EndFill(*this);
}

void FrmMain::procAddFileIcons(const std::string& sFile) { AddCountedIcons(*this, sFile, ReadFileIconCount(sFile)); }

void FrmMain::procAddResultEntry(const std::string& file, int32_t index, const std::string& label,
                                 const std::string& kind) {
    cmbResult.AddItem(file + ";" + std::to_string(index) + ";" + label + ";" + kind);
    if (!CountDue()) return;
    SetPanel(gPanelCount, std::to_string(cmbResult.ListCount()) + " Icon(s)");
    DoEvents();
}
