// The main window's menus, tool bars and context menu, and the commands the window handles itself.
#include "mainwindow/FrmMain.h"

#include "core/SaveOnExit.h"

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "core/Files.h"
#include "core/FrmInfo.h"
#include "core/FrmTip.h"
#include "core/Global.h"
#include "program/MainCommands.h"
#include "mainwindow/Options.h"
#include "resources/Pictures.h"
#include "ui/App.h"
#include "ui/Unique.h"

namespace {

constexpr const char* kHomePage = "https://ornavale.example/";
constexpr const char* kMailAddress = "mailto:support@ornavale.example";
constexpr const char* kHelpFile = "ornavale.hlp";
constexpr const char* kHelpMissing = "The Ornavale Help file could not be found.";
// The help file's Help Topics window (HELP_TAB, which the mingw headers lack).
constexpr UINT kHelpTopics = 0x000F;

// ---- tool bars

struct DropItem {
    std::string_view key;
    std::string_view text;
};

struct ButtonDesign {
    std::string_view key;
    std::string_view label;  // caption, and the tag the labels come back from
    std::string_view description;
    std::string_view toolTip;
    std::string_view image;  // key in imlToolbarGrey
    bool enabled;
    std::span<const DropItem> menu;
};

constexpr DropItem kOpenMenu[] = {{"openfile", "by File..."}, {"opendir", "by Folder..."}};
constexpr DropItem kViewMenu[] = {{"viewlarge", "Large Icons"}, {"viewlist", "List"}, {"viewdetails", "Details"}};
constexpr DropItem kZoomMenu[] = {
    {"zoom2", "2:1"}, {"zoom3", "3:1"}, {"zoom4", "4:1"}, {"zoom5", "5:1"}, {"zoom10", "10:1"},
};

// Buttons on a selected icon and the page buttons start off: nothing is shown yet.
constexpr ButtonDesign kStandardButtons[] = {
    {"firstpage", "First", "First Page", "First Page", "firstpage", false, {}},
    {"prevpage", "Previous", "Previous Page", "Previous Page", "prevpage", false, {}},
    {"nextpage", "Next", "Next Page", "Next Page", "nextpage", false, {}},
    {"lastpage", "Last", "Last Page", "Last Page", "lastpage", false, {}},
    {"abort", "Stop", "Stop", "Stop", "stop", false, {}},
    {"open", "Open", "Open", "Open", "open", true, kOpenMenu},
    {"save", "Save", "Save", "Save", "save", false, {}},
    {"copy", "Copy", "Copy", "Copy", "copy", false, {}},
    {"play", "Play", "Play", "Play Animated Icon", "play", false, {}},
    {"prop", "Properties", "Properties", "Properties", "prop", false, {}},
    {"view", "Views", "Views", "View", "view", true, kViewMenu},
    {"zoom", "Zoom", "Zoom", "Zoom", "zoom", false, kZoomMenu},
    {"create", "Create", "Glyphwright", "Glyphwright", "create", true, {}},
    {"help", "Help", "Help", "Help", "help", true, {}},
    {"close", "Close", "Close", "Close", "close", true, {}},
};

constexpr ButtonDesign kYourButtons[] = {
    {"change", "Change", "Change Icon", "Change Icon", "change", false, {}},
    {"changefolder", "Change...", "Change Any Folder Icon", "Change Any Folder Icon", "change folder", false, {}},
    {"favadd", "Add", "Add to Favorites", "Add to Favorites", "favadd", false, {}},
    {"favdel", "Delete", "Delete Favorite", "Delete Favorite", "favdel", false, {}},
    {"favgroupadd", "Create", "Create Favorite Folder", "Create Favorite Folder", "favgroupadd", false, {}},
    {"favgroupdel", "Remove", "Remove Favorite Folder", "Remove Favorite Folder", "favgroupdel", false, {}},
    {"favedit", "Edit", "Edit Favorites", "Edit Favorites with Explorer", "favedit", true, {}},
    {"favrefresh", "Refresh", "Refresh Favorites Groups", "Refresh Favorite Groups", "favrefresh", true, {}},
    {"refadd", "Add", "Add Reference", "Add Reference", "refadd", false, {}},
    {"refdel", "Delete", "Delete Reference", "Delete Reference", "refdel", false, {}},
    {"refedit", "Edit", "Edit Reference Keywords", "Edit Reference Keywords", "refedit", true, {}},
};

void AddButtons(ToolBar& bar, std::span<const ButtonDesign> buttons) {
    for (const ButtonDesign& d : buttons) {
        ToolButton& b = bar.Add(std::string(d.key), std::string(d.label), d.menu.empty() ? tbrDefault : tbrDropdown,
                                std::string(d.image));
        b.Tag = std::string(d.label);
        b.Description = std::string(d.description);
        b.ToolTipText = std::string(d.toolTip);
        for (const DropItem& m : d.menu) b.AddMenu(std::string(m.key), std::string(m.text));
        b.SetEnabled(d.enabled);
    }
}

template <size_t N>
void AddStripFromResources(ImageList& list, int id, const std::array<std::string_view, N>& keys) {
    // LR_CREATEDIBSECTION keeps the strip's alpha, which gives the pictures their soft edges.
    UniqueBitmap strip(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!strip) return;
    list.AddStrip(strip.get(), static_cast<HBITMAP>(nullptr), std::vector<std::string>(keys.begin(), keys.end()));
}

// ---- menus

// Windows' accelerator table of the menu bar; made once and kept for the whole run.
HACCEL MakeAccelerators(bool withCopy) {
    std::vector<ACCEL> keys = {
        {FVIRTKEY | FCONTROL, 'O', ID_mnuFileOpen},
        {FVIRTKEY, VK_F1, ID_mnuHelpTopics},
    };
    if (withCopy) keys.push_back({FVIRTKEY | FCONTROL, 'C', ID_mnuEditCopy});
    return CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

// The save on exit joins here; until then closing unloads the main window, which ends the program.
void OpenAddress(const char* address) {
    gResult = static_cast<int32_t>(reinterpret_cast<INT_PTR>(gShellOpen(nullptr, nullptr, address, nullptr, "c:\\", 1)));
}

// No help file ships with the program, so normally this only says so.
void ShowHelp(HWND owner, UINT command, ULONG_PTR data, const char* errorTitle) {
    std::string file = gAppPath + kHelpFile;
    if (FileExists(file) && WinHelpA(owner, file.c_str(), command, data)) return;
    gResult = MsgBox(kHelpMissing, MsgBoxStyle::Information, errorTitle, owner);
}

}  // namespace

void FrmMain::SetUpImageLists() {
    // The lists are filled once; the bars of a window loaded again reuse them.
    if (imlToolbarGrey.Count() == 0) AddStripFromResources(imlToolbarGrey, IDB_TOOLBAR_GREY, kToolbarPictureKeys);
    if (imlToolbarHot.Count() == 0) AddStripFromResources(imlToolbarHot, IDB_TOOLBAR_HOT, kToolbarHotPictureKeys);
    if (imlNav.Count() == 0) {
        AddStripFromResources(imlNav, IDB_NAV, kNavPictureKeys);
        for (const IconPicture& p : kNavIconPictures) {
            UniqueIcon icon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(p.id),
                                                          IMAGE_ICON, kNavPictureSize, kNavPictureSize, 0)));
            if (icon) imlNav.Add(std::string(p.key), icon.get());
        }
    }
}

void FrmMain::CreateBars() {
    SetUpImageLists();
    for (ToolBar* bar : {&pnlToolbar, &pnlToolbarYour}) {
        bar->Create({0, 0, 5430, 540});
        bar->SetHotImageList(&imlToolbarHot);
        bar->SetImageList(&imlToolbarGrey);
        bar->SetTextLabels(true);
    }
    AddButtons(pnlToolbar, kStandardButtons);
    AddButtons(pnlToolbarYour, kYourButtons);
    cmbSearch.Create({0, 0, 3030, 315});

    pnlCoolBar.Create({0, 0, Spec().width, 1700});
    pnlCoolBar.AddBand(pnlToolbar, 5430, 540);
    pnlCoolBar.AddBand(pnlToolbarYour, 615, 540, true);
    pnlCoolBar.AddBand(cmbSearch, 3030, 315, true, "Keyword");

    tmrLed.SetInterval(1500);
    tmrLed.SetTimerEnabled(false);
}

void FrmMain::DefineMenus() {
    using namespace menus;
    auto arrange = [](int first) {
        return std::vector<MenuItem>{Item(first, "by &Name"), Item(first + 1, "by &Type"), Item(first + 2, "by &Origin")};
    };
    Menus().Define({
        Menu(ID_mnuFile, "&File",
             {
                 Item(ID_mnuFileOpen, "&Open by File...\tCtrl+O"),
                 Item(ID_mnuFileOpenDir, "Open by &Folder..."),
                 Separator(),
                 Item(ID_mnuFileSaveAs, "Save &As...", false),
                 Item(ID_mnuFileEditWith, "Edit &With...", false),
                 Item(ID_mnuFileChange, "C&hange...", false),
                 Separator(),
                 Item(ID_mnuFilePlay, "P&lay", false),
                 Item(ID_mnuFileRun, "&Run", false),
                 Item(ID_mnuFileProperties, "&Properties", false),
                 Separator(),
                 Item(ID_mnuFileExit, "&Close"),
             }),
        Menu(ID_mnuEdit, "&Edit", {Item(ID_mnuEditCopy, "&Copy\tCtrl+C", false)}),
        Menu(ID_mnuView, "&View",
             {
                 Menu(ID_mnuViewToolbar, "&Toolbars",
                      {
                          Item(ID_mnuViewToolbarStandard, "&Standard Buttons", true, true),
                          Item(ID_mnuViewToolbarYour, "&Your Icons Buttons", true, true),
                          Item(ID_mnuViewToolbarKeyword, "&Keyword Bar", true, true),
                          Separator(),
                          Item(ID_mnuViewToolbarTextLabels, "&Text Labels", true, true),
                          Separator(),
                          Item(ID_mnuViewToolbarCustomize, "&Customize"),
                      }),
                 Item(ID_mnuViewStatusBar, "&Status Bar", true, true),
                 Separator(),
                 Item(ID_mnuViewLargeIcons, "La&rge Icons", true, true),
                 Item(ID_mnuViewList, "&List"),
                 Item(ID_mnuViewDetails, "&Details"),
                 Separator(),
                 Item(ID_mnuViewBackcolor, "&Backcolor..."),
                 Menu(ID_mnuViewArrangeIcons, "Arrange &Icons", arrange(ID_mnuViewArrange_First)),
                 Separator(),
                 Item(ID_mnuViewOptions, "&Options..."),
             }),
        Menu(ID_mnuGo, "&Go",
             {
                 Item(ID_mnuGoFirstPage, "&First Page", false),
                 Item(ID_mnuGoPrevPage, "&Previous Page", false),
                 Item(ID_mnuGoNextPage, "&Next Page", false),
                 Item(ID_mnuGoLastPage, "&Last Page", false),
                 Separator(),
                 // Page k is element k; element 0 is only the pattern the others are made from.
                 Menu(ID_mnuGoToPage, "&To Page", {Hidden(Item(ID_mnuGoToPageNr_First, "0"))}, false),
                 Separator(),
                 Item(ID_mnuGoHomePage, "&Home Page"),
                 Item(ID_mnuGoMail, "&Mail"),
             }),
        Menu(ID_mnuFavorite, "F&avorites",
             {
                 Item(ID_mnuFavoriteAdd, "&Add to Favorites...", false),
                 Item(ID_mnuFavoriteDel, "&Delete Favorite", false),
                 Separator(),
                 Item(ID_mnuFavoriteGroupAdd, "&Create Folder...", false),
                 Item(ID_mnuFavoriteGroupDel, "&Remove Folder", false),
                 Separator(),
                 Item(ID_mnuFavoriteOrganize, "&Organize Favorites..."),
                 Item(ID_mnuFavoriteRefresh, "Re&fresh"),
             }),
        Menu(ID_mnuRef, "&References",
             {
                 Item(ID_mnuRefAdd, "&Add...", false),
                 Item(ID_mnuRefDelete, "&Delete", false),
                 Separator(),
                 Item(ID_mnuRefKey, "Edit Custom &Keywords..."),
             }),
        Menu(ID_mnuTools, "&Tools",
             {
                 Menu(ID_mnuToolsZoom, "&Zoom",
                      {
                          Item(ID_mnuToolsZoom2, "&2:1"),
                          Item(ID_mnuToolsZoom3, "&3:1"),
                          Item(ID_mnuToolsZoom4, "&4:1"),
                          Item(ID_mnuToolsZoom5, "&5:1"),
                          Item(ID_mnuToolsZoom10, "1&0:1"),
                      },
                      false),
                 Item(ID_mnuToolsImport, "&Glyphwright"),
                 Separator(),
                 Item(ID_mnuToolsChangeFolder, "Change Any &Folder Icon...", false),
                 Item(ID_mnuToolsDefaultFolder, "&Default Folder Icon...", false),
                 Separator(),
                 Item(ID_mnuToolsRebuild, "&Rebuild Icon Cache"),
                 Item(ID_mnuToolsRestart, "Restart &Windows"),
             }),
        Menu(ID_mnuHelp, "&Help",
             {
                 Item(ID_mnuHelpTopics, "&Help Topics...\tF1"),
                 Item(ID_mnuHelpSearch, "&Search for Help on..."),
                 Separator(),
                 Item(ID_mnuHelpTip, "&Tip of the Day..."),
                 Separator(),
                 Item(ID_mnuHelpAbout, "&About Ornavale..."),
             }),
        // Popup-only menus.
        Hidden(Menu(ID_mnuResultClick, "ResultClick",
                    {
                        Item(ID_mnuResultClickCopy, "&Copy", false),
                        Separator(ID_mnudiv13, false),
                        Item(ID_mnuResultClickSaveAs, "&Save As...", false),
                        Hidden(Item(ID_mnuResultClickChange, "C&hange...")),
                        Item(ID_mnuResultClickEditWith, "Edit &With..."),
                        Hidden(Item(ID_mnuResultClickPlay, "P&lay")),
                        Separator(ID_mnuDiv16),
                        Hidden(Item(ID_mnuResultClickAddRef, "&Add Reference")),
                        Hidden(Item(ID_mnuResultClickDelRef, "&Delete Reference")),
                        Separator(ID_mnuDiv22, false),
                        Hidden(Item(ID_mnuResultClickAddFav, "Add to &Favorites...")),
                        Hidden(Item(ID_mnuResultClickDelFav, "De&lete Favorite")),
                        Separator(ID_mnudiv14),
                        Item(ID_mnuResultClickProperties, "&Properties", false),
                        Separator(ID_mnuDiv15),
                        Item(ID_mnuResultClickZoom, "&Zoom", false),
                        Hidden(Item(ID_mnuResultClickRun, "&Run")),
                    })),
        Hidden(Menu(ID_mnuWhite, "White",
                    {
                        Menu(ID_mnuResultClickView, "&View",
                             {
                                 Item(ID_mnuResultClickViewLargeIcons, "La&rge Icons", true, true),
                                 Item(ID_mnuResultClickViewList, "&List"),
                                 Item(ID_mnuResultClickViewDetails, "&Details"),
                                 Separator(),
                                 Item(ID_mnuResultClickViewBackColor, "&BackColor..."),
                                 Menu(ID_mnuResultClickViewArrangeIcons, "Arrange &Icons",
                                      arrange(ID_mnuResultClickViewArrange_First)),
                             }),
                    })),
        Hidden(Menu(ID_mnuGoBar, "GoBar", {Hidden(Item(ID_mnuGoBarToPageNr_First, "0"))}, false)),
    });
    // Page 1 is there from the start, so that a single page can still be chosen.
    for (int base : {ID_mnuGoToPageNr_First, ID_mnuGoBarToPageNr_First}) {
        Menus().LoadArrayItem(base, 1);
        Menus().SetCaption(base + 1, "1");
        Menus().SetVisible(base + 1, true);
    }
}

HACCEL FrmMain::Accelerators() const {
    static const HACCEL all = MakeAccelerators(true);
    static const HACCEL withoutCopy = MakeAccelerators(false);
    // In the keyword box Ctrl+C copies its text, not the selected icon.
    return cmbSearch.HasFocus() ? withoutCopy : all;
}

bool FrmMain::OnMenuCommand(int id) {
    // While a fill runs only its abort button acts; the popup menus, which busy mode leaves on, do nothing.
    if (IsBusy(*this)) return false;
    return Dispatch(*this, kMenuCommands, id) || DispatchRange(*this, kMenuCommandRanges, id);
}

void FrmMain::pnlToolbar_ButtonClick(ToolButton& button) {
    if (IsBusy(*this) && button.Key() != "abort") return;
    if (auto action = FindKeyAction(kStandardButtonCommands, button.Key())) action(*this);
}

void FrmMain::pnlToolbar_ButtonMenuClick(ToolButton&, ButtonMenu& item) {
    if (IsBusy(*this)) return;
    if (auto action = FindKeyAction(kButtonMenuCommands, item.key)) action(*this);
}

void FrmMain::pnlToolbar_Change() { pnlToolbar.SaveToolbar("Ornavale", "Settings", "Toolbar"); }

void FrmMain::pnlToolbarYour_ButtonClick(ToolButton& button) {
    if (IsBusy(*this)) return;
    if (auto action = FindKeyAction(kYourButtonCommands, button.Key())) action(*this);
}

void FrmMain::mnuResultClickCopy_Click() { mnuEditCopy_Click(); }
void FrmMain::mnuResultClickSaveAs_Click() { mnuFileSaveAs_Click(); }
void FrmMain::mnuResultClickChange_Click() { mnuFileChange_Click(); }
void FrmMain::mnuResultClickEditWith_Click() { mnuFileEditWith_Click(); }
void FrmMain::mnuResultClickPlay_Click() { mnuFilePlay_Click(); }
void FrmMain::mnuResultClickAddRef_Click() { mnuRefAdd_Click(); }
void FrmMain::mnuResultClickDelRef_Click() { mnuRefDelete_Click(); }
// Save As itself, without the favorites mode that Favorites > Add sets around it.
void FrmMain::mnuResultClickAddFav_Click() { mnuFileSaveAs_Click(); }
void FrmMain::mnuResultClickDelFav_Click() { mnuFavoriteDel_Click(); }
void FrmMain::mnuResultClickProperties_Click() { mnuFileProperties_Click(); }
void FrmMain::mnuResultClickZoom_Click() { ZoomByDefault(false); }
void FrmMain::mnuResultClickRun_Click() { mnuFileRun_Click(); }

void FrmMain::ZoomByDefault(bool fallbackToTen) {
    int factor = DefaultZoomFactor(gDCZoom, fallbackToTen);
    if (!factor) return;
    if (auto zoom = FindKeyAction(kButtonMenuCommands, "zoom" + std::to_string(factor))) zoom(*this);
}

void FrmMain::mnuFileExit_Click() { SaveSettingsAndUnload(); }

void FrmMain::mnuGoHomePage_Click() { OpenAddress(kHomePage); }
void FrmMain::mnuGoMail_Click() { OpenAddress(kMailAddress); }

void FrmMain::mnuHelpTip_Click() { frmTip.Show(); }

void FrmMain::mnuHelpTopics_Click() {
    if (cmbSearch.Visible() && IsWindowVisible(cmbSearch.hwnd())) cmbSearch.SetFocus();
    ShowHelp(hwnd(), kHelpTopics, 0, "Help error");
}

void FrmMain::mnuHelpSearch_Click() {
    static const char kEmptyKey[] = "";
    ShowHelp(hwnd(), HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(kEmptyKey), "Help Error");
}

void FrmMain::mnuHelpAbout_Click() { frmInfo.ShowModal(); }

void FrmMain::tmrLed_Timer() {
    mLedOn = !mLedOn;
    // The panels come with the status bar; until then there is nothing to blink.
    if (gPanelArea) gPanelArea->SetPicture(NavPicture(mLedOn ? "redledon" : "redledoff"));
}
