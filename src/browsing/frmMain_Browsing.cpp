// Commands of the main window that list icons: opening, paging, favorites and references.
#include "mainwindow/FrmMain.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/CursorKinds.h"
#include "common/FileIcons.h"
#include "browsing/FrmAdd.h"
#include "browsing/FrmKey.h"
#include "browsing/Library.h"
#include "browsing/ListingPace.h"
#include "common/OpenPaths.h"
#include "common/PageMath.h"
#include "common/PagePictures.h"
#include "common/PageProfile.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "common/ShortcutOrigin.h"
#include "browsing/UserReferences.h"
#include "core/FolderWalk.h"
#include "core/Global.h"
#include "mainwindow/Options.h"
#include "ui/App.h"
#include "ui/StatusBar.h"

namespace {

// What one entry shows: the item's texts and where its picture comes from.
struct ItemPlan {
    std::string text;
    std::string typeText;
    std::string origin;
    enum class Picture { Placeholder, FileIcon, AniFrame, Cell, SystemCursor } picture = Picture::Placeholder;
    std::string path;
    int32_t index = 0;  // icon index, frame, or the system cursor's id
    std::optional<formats::Cell> cell;
};

ItemPlan PlanOf(std::string text, const ResultEntry& e, std::string origin) {
    ItemPlan plan;
    plan.text = std::move(text);
    plan.typeText = procSetTypeName(e.typeCode);
    plan.origin = std::move(origin);
    return plan;
}

std::string AfterLastSlash(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "ani" exactly: a file ending in ".ANI" is read as a still icon.
bool IsAniPath(const std::string& path) { return path.size() >= 3 && path.compare(path.size() - 3, 3, "ani") == 0; }

// The system sources take an ".ANI" file for the animation it is.
bool IsAnimatedFile(const std::string& path) { return IconFileTypeOf(path) == IconFileType::Ani; }

// The icon at the entry's index, or the frame at that step of an animated file.
void PictureOfFile(ItemPlan& plan, const ResultEntry& e, bool animated) {
    plan.path = e.file;
    plan.index = e.IndexNumber().value_or(0);
    plan.picture = animated ? ItemPlan::Picture::AniFrame : ItemPlan::Picture::FileIcon;
}

// A catalogue cell, cut from its library picture; the placeholder when the library is missing or
// unreadable or the cell lies outside its picture.
std::optional<ItemPlan> procAddBookItem(FrmMain& form, const ResultEntry& e, int32_t keyNr) {
    const auto mask = MaskColorFor(e.ref.maskDigit);
    if (keyNr < 0 || keyNr >= kKeywordSlots || !mask) return std::nullopt;
    ItemPlan plan = PlanOf(gKeywords[static_cast<size_t>(keyNr)], e, OriginText(e));
    form.procExtractLibrary(e.ref.library);
    if (gLibPresent) plan.cell = form.picBMP.GraphicCell(e.ref.cell, *mask);
    if (plan.cell) plan.picture = ItemPlan::Picture::Cell;
    return plan;
}

std::optional<ItemPlan> procAddFileItem(const ResultEntry& e) {
    size_t slash = e.file.rfind('\\');
    if (slash == std::string::npos) return std::nullopt;
    OriginContext context;
    context.favoritesMode = gFavoritesMode;
    context.favDir = gFavDir;
    const std::string origin = OriginText(e, context);
    std::string name = e.file.substr(slash + 1);
    if (origin == "File Favorite") name = name.substr(0, name.find('.'));
    ItemPlan plan = PlanOf(e.label == "x" ? name : name + " " + e.label, e, origin);
    PictureOfFile(plan, e, IsAniPath(e.file));
    return plan;
}

std::optional<ItemPlan> procAddReferenceItem(const ResultEntry& e, const std::string& keyword) {
    ItemPlan plan = PlanOf(keyword, e, OriginText(e));
    PictureOfFile(plan, e, IsAniPath(e.file));
    if (plan.picture == ItemPlan::Picture::AniFrame) plan.text += " " + e.label;
    return plan;
}

// How often the progress bar shows the fill's progress, and how often the other windows repaint
// during a fill, in milliseconds.
constexpr DWORD kProgressEveryMs = 50;
constexpr DWORD kPaintEveryMs = 100;

// What the builders of one page look up once for all its items.
struct PageLookups {
    std::optional<std::vector<std::string>> shellFolders;  // a few ms under Wine: once a page
};

// A shortcut's icon, named after its link file, whose path stands in lstFiles at the entry's item
// data.
ItemPlan procAddShortcutItem(FrmMain& form, const ResultEntry& e, int32_t itemData, PageLookups& lookups) {
    const std::string& link = form.lstFiles.List(itemData);
    std::string name = AfterLastSlash(link);
    if (ExtensionOf(name) == ".lnk") name.resize(name.size() - 4);
    if (!lookups.shellFolders) lookups.shellFolders = ShortcutShellFolders();
    ItemPlan plan = PlanOf(std::move(name), e, ShortcutOrigin(link, *lookups.shellFolders, gWinDir));
    PictureOfFile(plan, e, IsAnimatedFile(e.file));
    return plan;
}

// The icon of a file type, or of a system icon row: named by the entry's label.
ItemPlan procAddFileTypeItem(const ResultEntry& e) {
    ItemPlan plan = PlanOf(e.label, e, OriginText(e));
    PictureOfFile(plan, e, IsAnimatedFile(e.file));
    plan.path = OnSearchPath(plan.path);
    return plan;
}

ItemPlan procAddSystemIconItem(const ResultEntry& e) { return procAddFileTypeItem(e); }

// A cursor of the system sources named `label`: a "default" entry shows the system's cursor of
// that id (the placeholder without one), a file its icon, an animated file its frame, whose number
// follows the label.
ItemPlan CursorItem(const ResultEntry& e, std::string label, std::optional<int32_t> defaultId) {
    if (e.file == "default") {
        ItemPlan plan = PlanOf(std::move(label), e, OriginText(e));
        if (defaultId) {
            plan.picture = ItemPlan::Picture::SystemCursor;
            plan.index = *defaultId;
        }
        return plan;
    }
    const bool animated = IsAnimatedFile(e.file);
    if (animated) label += " #" + std::to_string(static_cast<int64_t>(e.IndexNumber().value_or(0)) + 1);
    ItemPlan plan = PlanOf(std::move(label), e, OriginText(e));
    PictureOfFile(plan, e, animated);
    return plan;
}

// A current cursor: its kind is named by the key, the system's cursor id of a "default" entry or
// the path of the kind's value.
ItemPlan procAddCurrentCursorItem(const ResultEntry& e) {
    constexpr std::string_view kValues = "Control Panel\\Cursors\\";
    const std::optional<int32_t> id = CurrentCursorId(e.label);
    const CursorKind* kind = id ? CursorKindById(*id)
                             : e.label.starts_with(kValues)
                                 ? CursorKindByValueName(std::string_view(e.label).substr(kValues.size()))
                                 : nullptr;
    return CursorItem(e, kind ? kind->currentLabel : "", id);
}

// A cursor of a scheme: its kind is named by the position after the key's ":". A position that
// names no kind gives no label, and no system cursor for a "default" entry.
ItemPlan procAddThemeCursorItem(const ResultEntry& e) {
    const std::optional<int32_t> position = SchemeCursorPosition(e.label);
    const CursorKind* kind = position ? CursorKindBySchemePosition(*position) : nullptr;
    return CursorItem(e, kind ? kind->schemeLabel : "",
                      kind ? std::optional<int32_t>(kind->cursorId) : std::nullopt);
}

// What the result entry `text`, with its item data, shows; nothing for an entry that does not read.
std::optional<ItemPlan> PlanEntry(FrmMain& form, const std::string& text, int32_t itemData, PageLookups& lookups) {
    auto entry = ParseEntry(text);
    if (!entry) return std::nullopt;
    switch (entry->kind) {
        case SourceKind::Book: return procAddBookItem(form, *entry, itemData);
        case SourceKind::Open: return procAddFileItem(*entry);
        case SourceKind::User: return procAddReferenceItem(*entry, form.lstUser.List(form.cmbUser.ItemData(itemData)));
        case SourceKind::Shor: return procAddShortcutItem(form, *entry, itemData, lookups);
        case SourceKind::Sycu: return procAddCurrentCursorItem(*entry);
        case SourceKind::Sytu: return procAddThemeCursorItem(*entry);
        case SourceKind::Syas: return procAddFileTypeItem(*entry);
        case SourceKind::Sysy: return procAddSystemIconItem(*entry);
    }
    return std::nullopt;
}

// Where the picture of an entry read from the user's disk or the system comes from, as its item
// on a page plans it; nothing for a catalogue entry and for one that does not read.
std::optional<ItemPlan> PicturePlanOf(const ResultEntry& e) {
    switch (e.kind) {
        case SourceKind::Book: return std::nullopt;
        case SourceKind::Open: return procAddFileItem(e);
        case SourceKind::User: return procAddReferenceItem(e, {});
        case SourceKind::Shor: {
            ItemPlan plan;
            PictureOfFile(plan, e, IsAnimatedFile(e.file));
            return plan;
        }
        case SourceKind::Sycu: return procAddCurrentCursorItem(e);
        case SourceKind::Sytu: return procAddThemeCursorItem(e);
        case SourceKind::Syas: return procAddFileTypeItem(e);
        case SourceKind::Sysy: return procAddSystemIconItem(e);
    }
    return std::nullopt;
}

void AddPicture(PagePictures& pictures, const ItemPlan& plan) {
    switch (plan.picture) {
        case ItemPlan::Picture::Placeholder: pictures.AddPlaceholder(); break;
        case ItemPlan::Picture::FileIcon: pictures.AddFileIcon(plan.path, plan.index); break;
        case ItemPlan::Picture::AniFrame: pictures.AddAniFrame(plan.path, plan.index); break;
        case ItemPlan::Picture::Cell: pictures.AddCell(*plan.cell); break;
        case ItemPlan::Picture::SystemCursor: pictures.AddSystemCursor(plan.index); break;
    }
}

// Adds the planned item at the next free position, gImageIndex, and its picture to the page's.
void AddPlannedItem(FrmMain& form, PagePictures& pictures, const ItemPlan& plan, const std::string& text,
                    int32_t itemData) {
    const std::string key = text.ends_with("user") ? ReferenceKey(itemData) : std::string();
    ListItem& item = form.pnlResult.Add(gImageIndex, key, plan.text, gImageIndex, gImageIndex);
    item.SetSubItem(1, plan.typeText);
    item.SetSubItem(2, plan.origin);
    item.Tag = text;
    AddPicture(pictures, plan);
    ++gImageIndex;
}

// The result list and its twin show the same widths of their three columns. A width that is
// already the same is left alone: setting it moves the list's header, twice a page.
void CopyColumnWidths(const ListView& from, ListView& to) {
    for (int c = 1; c <= 3 && c <= from.ColumnCount() && c <= to.ColumnCount(); ++c) {
        const int width = from.ColumnWidth(c);
        if (to.ColumnWidth(c) != width) to.SetColumnWidth(c, width);
    }
}

// Every item of the page is in: its pictures, the count of the result set and the commands follow.
// `waiting` runs while the pictures' files are read, as DrawInto runs it; false when it gave the
// page up, before anything was shown.
bool ShowPictures(FrmMain& form, PagePictures& pictures, int32_t count, const std::function<bool()>& waiting) {
    COLORREF back = form.pnlResult.BackColor().value_or(GetSysColor(COLOR_WINDOW)) & 0xFFFFFF;
    if (!pictures.DrawInto(form.imlResult32, PlaceholderIcon(), back, waiting)) return false;
    {
        PagePart part(gPageProfile.images);
        form.pnlResult.SetIcons(&form.imlResult32);
        form.pnlResult.SetSmallIcons(&form.imlResult32);
    }
    PagePart part(gPageProfile.panels);
    if (gPanelMessage) gPanelMessage->SetText({});
    if (gPanelCount) gPanelCount->SetText(std::to_string(count) + " Icon(s)");
    form.procSetAbort(true);
    form.procItemSelected();
    form.procSetPageButtons();
    SetScreenMousePointer(PointerShape::Default);
    return true;
}

// An empty result set, or a fill the user stopped.
void ShowNoPage(FrmMain& form) {
    const bool aborted = gAbort;
    form.Menus().SetEnabled(ID_mnuFileProperties, true);
    form.procClearResult();
    if (gPanelMessage) gPanelMessage->SetText({});
    if (gPanelCount) gPanelCount->SetText(aborted ? "Aborted!" : "0 Icon(s)");
    if (gPanelArea) {
        gPanelArea->SetPicture(nullptr);
        gPanelArea->SetText({});
    }
    form.pnlNav.SetEnabled(true);
    gAbort = false;
    SetScreenMousePointer(PointerShape::Default);
}

}  // namespace

void FrmMain::mnuGoFirstPage_Click() { GoToPage(1); }
void FrmMain::mnuGoPrevPage_Click() { GoToPage(gPageNr - 1); }
void FrmMain::mnuGoNextPage_Click() { GoToPage(gPageNr + 1); }
void FrmMain::mnuGoLastPage_Click() { GoToPage(gPageCount); }
// The page lists leave the page shown as it is.
void FrmMain::mnuGoToPageNr_Click(int index) {
    if (index != gPageNr) GoToPage(index);
}
void FrmMain::mnuGoBarToPageNr_Click(int index) {
    if (index != gPageNr) GoToPage(index);
}

// The window opens next time with Add as the keyword box leaves it now.
void FrmMain::mnuRefAdd_Click() {
    frmAdd.ShowModal();
    frmAdd.cmdAdd.SetEnabled(!frmAdd.cmbSearch.Text().empty());
}

// Deletes the reference the selected item shows, without asking: the pair at the item's own
// position, its entry in the result set and the item; the other items stay where they are.
void FrmMain::mnuRefDelete_Click() {
    ListItem* selected = pnlResult.SelectedItem();
    if (!selected) return;
    gRefsChanged = true;
    const std::optional<int> position = ReferencePositionOf(*selected);
    if (!position) return;
    const std::string tag = selected->Tag;

    if (RemoveReference(lstUser, cmbUser, *position, tag)) {
        for (int i = 0; i < cmbResult.ListCount(); ++i)
            if (cmbResult.ItemData(i) == *position && cmbResult.List(i) == tag) {
                cmbResult.RemoveItem(i);
                break;
            }
        pnlResult.Remove(selected->Index());
        MoveReferencePositions(cmbResult, pnlResult, *position + 1, -1);
    }

    if (cmbResult.ListCount() == 0) {
        procGetPage();
        return;
    }
    procItemSelected();
    if (gPanelCount) gPanelCount->SetText(std::to_string(cmbResult.ListCount()) + " icon(s)");
}

void FrmMain::mnuRefKey_Click() { frmKey.ShowModal(); }

// The items of one page: the hidden list is filled behind its twin, which is much faster than
// filling a list on the screen, and every picture is drawn after the last item in a few calls.
void FrmMain::procGetPage() {
    gPageProfile = {};
    {
        PagePart part(gPageProfile.clear);
        procClearResult();
    }
    const int32_t count = cmbResult.ListCount();
    bool aborted = false;
    if (count > 0) {
        std::optional<PagePart> timing(gPageProfile.panels);
        if (Menus().Find(ID_mnuFile) && Menus().Find(ID_mnuFile)->enabled) procSetAbort(false);
        if (pnlStatusbar.Visible()) {
            // The bar comes up in the status bar's place above it, so hiding that uncovers nothing.
            // It paints itself at the first entry's step, at once.
            pnlProgressBar.ShowOnTop();
            pnlStatusbar.SetVisible(false);
        }
        if (gPanelArea) gPanelArea->SetText("Page " + std::to_string(gPageNr) + " of " + std::to_string(gPageCount));
        const PageSpan span = PageRange(gPageNr, gIconsPerPage, count);
        pnlProgressBar.SetMax(gPageNr == gPageCount ? span.Count() + 1 : gIconsPerPage);
        // The bar repaints itself at once for every step, which costs more than an entry: it
        // follows the entries every few milliseconds instead.
        DWORD progressShownAt = GetTickCount() - kProgressEveryMs;
        // The windows that busy mode and the fill change repaint when the page is shown, unless the
        // page takes long enough for the user to see them in between.
        DWORD paintedAt = GetTickCount();
        // Events run during the fill of more than a few entries; false once it must end: the window
        // is gone or the user stopped the fill.
        auto runEvents = [&] {
            if (count <= 5) return true;
            const bool paint = GetTickCount() - paintedAt >= kPaintEveryMs;
            if (paint) paintedAt = GetTickCount();
            DoEvents(paint);
            return IsLoaded() && !gAbort;
        };
        gImageIndex = 1;
        timing.reset();
        {
            PagePart part(gPageProfile.swap);
            CopyColumnWidths(pnlResult, pnlDummy);
            // Each list comes up above the other before the other goes, so nothing behind them is
            // uncovered and the list's frame and scroll bar, slow to draw under Wine, paint once.
            pnlDummy.ShowOnTop();
            pnlResult.SetVisible(false);
        }

        PagePictures pictures;
        PageLookups lookups;
        pnlResult.BeginUpdate();
        pnlResult.Reserve(span.Count());
        for (int32_t i = span.first; i < span.last; ++i) {
            if (GetTickCount() - progressShownAt >= kProgressEveryMs) {
                PagePart part(gPageProfile.panels);
                pnlProgressBar.SetValue(gImageIndex);
                progressShownAt = GetTickCount();
            }
            gKeyNrStr = std::to_string(cmbResult.ItemData(i));
            const std::string& text = cmbResult.List(i);
            // A builder that fails adds nothing, and the next entry takes the free position.
            try {
                std::optional<ItemPlan> plan;
                {
                    PagePart part(gPageProfile.entries);
                    plan = PlanEntry(*this, text, cmbResult.ItemData(i), lookups);
                }
                if (plan) {
                    PagePart part(gPageProfile.items);
                    AddPlannedItem(*this, pictures, *plan, text, cmbResult.ItemData(i));
                }
            } catch (const std::exception&) {
            }
            PagePart part(gPageProfile.events);
            if (!runEvents()) {
                if (!IsLoaded()) return;
                aborted = true;
                break;
            }
        }
        {
            PagePart part(gPageProfile.items);
            pnlResult.EndUpdate();
        }

        // The pictures' files are read with the events at the pace of a listing.
        if (!aborted && !ShowPictures(*this, pictures, count, [&] { return !EventsDue() || runEvents(); })) {
            if (!IsLoaded()) return;
            aborted = true;
        }
        timing.emplace(gPageProfile.swap);
        CopyColumnWidths(pnlDummy, pnlResult);
        pnlResult.ShowOnTop();
        pnlDummy.SetVisible(false);
        timing.emplace(gPageProfile.panels);
        if (Menus().Find(ID_mnuFile) && !Menus().Find(ID_mnuFile)->enabled) procSetAbort(true);
        if (pnlProgressBar.Visible()) {
            pnlStatusbar.ShowOnTop();
            pnlProgressBar.SetVisible(false);
        }
        if (!gAbort) {
            SetScreenMousePointer(PointerShape::Default);
            return;
        }
    }
    ShowNoPage(*this);
}

UniqueIcon FrmMain::HandedOnIcon(const ListItem& item) {
    const std::optional<ResultEntry> entry = ParseEntry(item.Tag);
    if (!entry) return {};
    // The catalogue is the program's own: its cells are handed on as the page cut them.
    if (entry->kind != SourceKind::Book) {
        PagePictures pictures;
        try {
            const std::optional<ItemPlan> plan = PicturePlanOf(*entry);
            if (!plan) return {};
            AddPicture(pictures, *plan);
        } catch (const std::exception&) {
            return {};
        }
        if (!pictures.ReadFromSources()) return {};
    }
    return imlResult32.GetIcon(item.Icon());
}

void FrmMain::GoToPage(int32_t pageNr) {
    gPageNr = ClampPage(pageNr, gPageCount);
    procGetPage();
}

// The menus hold pages 1 to kMaxPageItems; a result set with more pages is still reached page by
// page, but its menus end there.
namespace {
constexpr int kMaxPageItems = std::min(ID_mnuGoToPageNr_Last - ID_mnuGoToPageNr_First,
                                       ID_mnuGoBarToPageNr_Last - ID_mnuGoBarToPageNr_First);
}

void FrmMain::procSetPageNr() {
    constexpr int bases[] = {ID_mnuGoBarToPageNr_First, ID_mnuGoToPageNr_First};
    for (int base : bases)
        for (int k = Menus().ArrayUBound(base); k >= 2; --k) Menus().SetVisible(base + k, false);
    const int last = std::min<int32_t>(gPageCount, kMaxPageItems);
    for (int k = 2; k <= last; ++k)
        for (int base : bases) {
            Menus().LoadArrayItem(base, k);
            Menus().SetVisible(base + k, true);
            Menus().SetCaption(base + k, std::to_string(k));
        }
    if (gPageCount > 1 && gPageNr == 1) tmrLed.SetTimerEnabled(true);
}
