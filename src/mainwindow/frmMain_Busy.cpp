// Busy mode and the clearing of the result page.
#include "mainwindow/FrmMain.h"

#include <stdexcept>

#include "core/FolderWalk.h"
#include "core/OSVersion.h"
#include "mainwindow/NavIcons.h"
#include "mainwindow/Selection.h"
#include "ui/App.h"

namespace {

constexpr int kBusyMenus[] = {ID_mnuFile,     ID_mnuEdit, ID_mnuView,  ID_mnuGo,   ID_mnuFavorite,
                              ID_mnuRef,      ID_mnuTools, ID_mnuHelp, ID_mnuGoBar};
// The buttons that would start other work; the abort button goes the other way.
constexpr const char* kBusyStandardButtons[] = {"view", "open", "create", "help"};
constexpr const char* kBusyYourButtons[] = {"favedit", "favrefresh", "refedit"};

enum class ContextOff { Disable, Hide, None };

// A command on the selected icon: its main menu item, its context menu item, its tool button.
struct ItemCommand {
    int menuId;
    int contextId;
    ContextOff context;
    ToolBar FrmMain::*bar;  // nullptr: no button
    const char* key;
};

constexpr ItemCommand kItemCommands[] = {
    {ID_mnuFileProperties, ID_mnuResultClickProperties, ContextOff::Disable, &FrmMain::pnlToolbar, "prop"},
    {ID_mnuEditCopy, ID_mnuResultClickCopy, ContextOff::Disable, &FrmMain::pnlToolbar, "copy"},
    {ID_mnuFileSaveAs, ID_mnuResultClickSaveAs, ContextOff::Disable, &FrmMain::pnlToolbar, "save"},
    {ID_mnuFileEditWith, ID_mnuResultClickEditWith, ContextOff::Disable, nullptr, nullptr},
    {ID_mnuFilePlay, ID_mnuResultClickPlay, ContextOff::Hide, &FrmMain::pnlToolbar, "play"},
    {ID_mnuRefAdd, ID_mnuResultClickAddRef, ContextOff::Hide, &FrmMain::pnlToolbarYour, "refadd"},
    {ID_mnuRefDelete, ID_mnuResultClickDelRef, ContextOff::Hide, &FrmMain::pnlToolbarYour, "refdel"},
    {ID_mnuToolsZoom, ID_mnuResultClickZoom, ContextOff::Disable, &FrmMain::pnlToolbar, "zoom"},
    {ID_mnuFileRun, ID_mnuResultClickRun, ContextOff::Hide, nullptr, nullptr},
    {ID_mnuFavoriteAdd, ID_mnuResultClickAddFav, ContextOff::Hide, &FrmMain::pnlToolbarYour, "favadd"},
    {ID_mnuFavoriteDel, ID_mnuResultClickDelFav, ContextOff::Hide, &FrmMain::pnlToolbarYour, "favdel"},
    {ID_mnuFileChange, ID_mnuResultClickChange, ContextOff::Hide, &FrmMain::pnlToolbarYour, "change"},
    {ID_mnuToolsChangeFolder, 0, ContextOff::None, &FrmMain::pnlToolbarYour, "changefolder"},
};

struct PageCommand {
    int menuId;
    const char* key;
};

constexpr PageCommand kPageCommands[] = {
    {ID_mnuGoFirstPage, "firstpage"},
    {ID_mnuGoPrevPage, "prevpage"},
    {ID_mnuGoNextPage, "nextpage"},
    {ID_mnuGoLastPage, "lastpage"},
};

// The panels are bound when the window creates them; before that there is nothing to clear.
Panel& Bound(Panel* panel) {
    if (!panel) throw std::runtime_error("Object variable not set");
    return *panel;
}

}  // namespace

// No flag and no count: the controls are the state, so one True ends any number of False.
void FrmMain::procSetAbort(bool bSet) {
    MenuBarBatch batch(Menus());
    SetScreenMousePointer(PointerShape::ArrowHourglass);
    pnlToolbar.Buttons("abort").SetEnabled(!bSet);
    picSplitV.SetEnabled(bSet);
    for (int id : kBusyMenus) Menus().SetEnabled(id, bSet);
    for (const char* key : kBusyStandardButtons) pnlToolbar.Buttons(key).SetEnabled(bSet);
    for (const char* key : kBusyYourButtons) pnlToolbarYour.Buttons(key).SetEnabled(bSet);
    if (gFolderIconSupport) pnlToolbarYour.Buttons("changefolder").SetEnabled(bSet);
    pnlNav.SetEnabled(bSet);
}

void FrmMain::procClearResult() {
    // A stopped light keeps whatever picture it shows.
    if (tmrLed.TimerEnabled()) {
        tmrLed.SetTimerEnabled(false);
        Bound(gPanelArea).SetPicture(NavIcon("redledoff"));
    }

    // Unsorted, so that the next page comes in result set order; the sort key stays for the next click.
    pnlResult.SetSorted(false);
    pnlResult.Clear();
    pnlResult.SetIcons(nullptr);
    pnlResult.SetSmallIcons(nullptr);
    if (pnlResult.hwnd()) {
        InvalidateRect(pnlResult.hwnd(), nullptr, TRUE);
        UpdateWindow(pnlResult.hwnd());
    }
    // Only now that the list no longer shows them.
    imlResult32.Clear();

    pnlProgressBar.SetValue(0);
    Bound(gPanelArea).SetText({});
    Bound(gPanelType).SetText({});
    Bound(gPanelType).SetPicture(NavIcon("empty"));

    // Properties stands for all the item commands: when it is off they are all off already.
    const MenuItem* properties = Menus().Find(ID_mnuFileProperties);
    if (properties && properties->enabled) {
        for (const ItemCommand& c : kItemCommands) {
            Menus().SetEnabled(c.menuId, false);
            if (c.context == ContextOff::Disable) Menus().SetEnabled(c.contextId, false);
            if (c.context == ContextOff::Hide) Menus().SetVisible(c.contextId, false);
            if (c.bar) (this->*c.bar).Buttons(c.key).SetEnabled(false);
        }
    }

    for (const PageCommand& c : kPageCommands) {
        Menus().SetEnabled(c.menuId, false);
        pnlToolbar.Buttons(c.key).SetEnabled(false);
    }

    gFilmMode = false;
    gAbort = false;
}
