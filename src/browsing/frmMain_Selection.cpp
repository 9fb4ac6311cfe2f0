// The commands, status panels and paths that follow the selected result item, and the page buttons.
#include "mainwindow/FrmMain.h"

#include "browsing/FrmAdd.h"
#include "common/PagePictures.h"
#include "common/Paging.h"
#include "core/Files.h"
#include "core/OSVersion.h"
#include "mainwindow/NavIcons.h"
#include "mainwindow/Options.h"
#include "mainwindow/Selection.h"
#include "mainwindow/SelectionPolicy.h"
#include "ui/Keys.h"
#include "ui/Unique.h"
#include "ui/Units.h"

namespace {

// A command on the selected icon: its main menu item, its context menu item, its tool button.
struct FlagCommand {
    bool SelectionState::*flag;
    int menuId;
    int contextId;
    ToolBar FrmMain::*bar;  // nullptr: no button
    const char* key;
};

constexpr FlagCommand kFlagCommands[] = {
    {&SelectionState::play, ID_mnuFilePlay, ID_mnuResultClickPlay, &FrmMain::pnlToolbar, "play"},
    {&SelectionState::run, ID_mnuFileRun, ID_mnuResultClickRun, nullptr, nullptr},
    {&SelectionState::change, ID_mnuFileChange, ID_mnuResultClickChange, &FrmMain::pnlToolbarYour, "change"},
    {&SelectionState::addRef, ID_mnuRefAdd, ID_mnuResultClickAddRef, &FrmMain::pnlToolbarYour, "refadd"},
    {&SelectionState::delRef, ID_mnuRefDelete, ID_mnuResultClickDelRef, &FrmMain::pnlToolbarYour, "refdel"},
    {&SelectionState::addFav, ID_mnuFavoriteAdd, ID_mnuResultClickAddFav, &FrmMain::pnlToolbarYour, "favadd"},
    {&SelectionState::delFav, ID_mnuFavoriteDel, ID_mnuResultClickDelFav, &FrmMain::pnlToolbarYour, "favdel"},
};

// Every step stands alone: a missing button or picture skips that step only.
template <class F>
void Step(F&& work) {
    try {
        work();
    } catch (const std::exception&) {
    }
}

int32_t TextWidthPx(HWND window, HFONT font, std::string_view text) {
    WindowDC dc(window);
    SelectInDC selected(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace

void FrmMain::procItemSelected() {
    SelectionFacts facts;
    ListItem* selected = pnlResult.SelectedItem();
    if (!selected && pnlResult.Count() > 0) {
        selected = &pnlResult.Item(1);
        pnlResult.SetSelectedItem(selected);
    }
    if (selected) {
        SelectedItem item{selected->Text(), selected->SubItem(1), selected->SubItem(2), {}};
        // A Windows default cursor has no file, so no path to show.
        const std::string file = item.origin != "Ornavale" ? SelectedFilePath(selected->Tag) : std::string();
        if (!file.empty()) item.longPath = GetLongPath(file);
        facts.item = item;
    }
    const MenuItem* properties = Menus().Find(ID_mnuFileProperties);
    facts.commandsCleared = !properties || !properties->enabled;
    facts.pageCount = gPageCount;
    facts.folderIconSupport = gFolderIconSupport;
    facts.options = {gDCAction, gDCPlay, gDCRef, gDCRun, gDCChange};
    const SelectionState s = SelectionFor(facts);

    gDCActionNow = s.dcActionNow;
    ReleaseAniIcon();
    if (!facts.item) return;

    if (s.first) {
        Step([] { gPanelArea->SetPicture(NavIcon("redledoff")); });
        for (int id : {ID_mnuFileProperties, ID_mnuResultClickProperties, ID_mnuEditCopy, ID_mnuResultClickCopy,
                       ID_mnuFileSaveAs, ID_mnuResultClickSaveAs, ID_mnuFileEditWith, ID_mnuResultClickEditWith,
                       ID_mnuToolsZoom, ID_mnuResultClickZoom})
            Menus().SetEnabled(id, true);
        for (const char* key : {"save", "copy", "prop", "zoom"})
            Step([&] { pnlToolbar.Buttons(key).SetEnabled(true); });
        Menus().SetEnabled(ID_mnuGoToPage, s.first->pageMenus);
        Menus().SetEnabled(ID_mnuGoBar, s.first->pageMenus);
        if (s.first->changeFolder) {
            Menus().SetEnabled(ID_mnuToolsChangeFolder, true);
            Step([&] { pnlToolbarYour.Buttons("changefolder").SetEnabled(true); });
        }
    }
    pnlResult.Tag = s.listTag;
    Step([&] {
        gPanelType->SetText(s.typeText);
        if (s.typePicture) gPanelType->SetPicture(NavIcon(*s.typePicture));
    });

    gItemPath = s.itemPath;
    if (s.selDir) gSelDir = *s.selDir;
    if (s.selFile) gSelFile = *s.selFile;
    if (s.pathInMessage)
        Step([&] {
            HWND window = hwnd();
            HFONT font = Font();
            // The panel's width is in twips; so are the measures.
            gPanelMessage->SetText(PathForMessagePanel(s, gPanelMessage->Width(), [&](std::string_view text) {
                return PxToTwipsX(TextWidthPx(window, font, text));
            }));
        });

    for (const FlagCommand& c : kFlagCommands) {
        const bool on = s.*c.flag;
        Menus().SetEnabled(c.menuId, on);
        Menus().SetVisible(c.contextId, on);
        if (c.bar) Step([&] { (this->*c.bar).Buttons(c.key).SetEnabled(on); });
    }
    Menus().SetVisible(ID_mnuDiv16, s.div16);
    Menus().SetVisible(ID_mnuDiv22, s.div22);
    frmAdd.PresetTypes(s.typeOptions, s.typeChosen);
}

void FrmMain::procSetPageButtons() {
    const PageButtons b = PageButtonsFor(gPageNr, gPageCount);
    auto apply = [this](int firstId, const char* firstKey, int secondId, const char* secondKey, bool on) {
        Menus().SetEnabled(firstId, on);
        pnlToolbar.Buttons(firstKey).SetEnabled(on);
        Menus().SetEnabled(secondId, on);
        pnlToolbar.Buttons(secondKey).SetEnabled(on);
    };
    // A page outside the pages leaves that side as it was.
    if (gPageNr >= 1) apply(ID_mnuGoFirstPage, "firstpage", ID_mnuGoPrevPage, "prevpage", b.back);
    if (gPageNr <= gPageCount) apply(ID_mnuGoNextPage, "nextpage", ID_mnuGoLastPage, "lastpage", b.forward);
}
