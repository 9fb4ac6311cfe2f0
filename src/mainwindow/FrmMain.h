// The main window: cool bar with two tool bars and the keyword box, navigation tree, result list,
// splitter and status bar, with the hidden lists and work surfaces the rest of the program shares.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/PictureClip.h"
#include "mainwindow/FrmMainIds.h"
#include "ui/CommonDialog.h"
#include "ui/Control.h"
#include "ui/DragDrop.h"
#include "ui/Form.h"
#include "ui/HiddenList.h"
#include "ui/ImageList.h"
#include "ui/ListView.h"
#include "ui/Menu.h"
#include "ui/ProgressBar.h"
#include "ui/ReBar.h"
#include "ui/StatusBar.h"
#include "ui/ToolBar.h"
#include "ui/TreeView.h"

class FileIconCountsAhead;

class FrmMain : public Form {
  public:
    FrmMain();

    // Control and menu ids: one enum, in FrmMainIds.h, which the command tables share.
    using enum FrmMainId;

    // ---- controls
    ReBar pnlCoolBar{*this, ID_pnlCoolBar};
    ToolBar pnlToolbar{*this, ID_pnlToolbar};
    ToolBar pnlToolbarYour{*this, ID_pnlToolbarYour};
    ComboBox cmbSearch{*this, ID_cmbSearch};
    TreeView pnlNav{*this, ID_pnlNav};
    PictureBox picSplitV{*this, ID_picSplitV};
    ListView pnlResult{*this, ID_pnlResult};
    ListView pnlDummy{*this, ID_pnlDummy};  // the twin list shown while pnlResult is filled
    StatusBar pnlStatusbar{*this, ID_pnlStatusbar};
    ProgressBar pnlProgressBar{*this, ID_pnlProgressBar};
    Timer tmrLed{*this, ID_tmrLed};
    // Drops onto the tree (a result icon into a favorites folder) and onto the result list.
    OleDropTarget pnlNavDrop{pnlNav};
    OleDropTarget pnlResultDrop{pnlResult};
    // Work surfaces and pictures, never shown.
    PictureBox picOpen{*this, ID_picOpen};
    PictureBox picSave{*this, ID_picSave};
    PictureBox pctColor{*this, ID_pctColor};
    PictureBox pctMask{*this, ID_pctMask};
    PictureBox picLogo{*this, ID_picLogo};
    PictureBox picNoIcon{*this, ID_picNoIcon};
    // The frame store: element i (from 1) holds frame i of the animation last collected; element 0
    // is not used. Windowless, made as a run needs them and kept for the run of the program.
    std::deque<PictureBox> picFilm;
    PictureClip picBMP;  // the catalogue library picture the page cuts its cells from
    CommonDialog dlgIcon;  // the open and save dialog; its settings stay from one use to the next

    // ---- image lists
    ImageList imlToolbarGrey{24, 24};
    ImageList imlToolbarHot{24, 24};
    ImageList imlNav{16, 16};
    ImageList imlResult32{32, 32};
    ImageList imlIcon32{32, 32};  // turns a drawing into an icon picture with a transparent mask colour

    // ---- hidden lists
    HiddenList cmbResult;  // the result set: one ResultEntry per icon, with its item data
    HiddenList lstFiles;   // full paths to list (folder walker, open commands)
    HiddenList lstChange;  // system icon rows or file-type lines of the last such listing
    HiddenList lstUser;    // user references: keywords ...
    HiddenList cmbUser;    // ... and their entries, pair by pair

    // ---- form-level state
    bool mSplitDragging = false;
    bool mLedOn = false;

    // ---- start-up, hand-over and unload (FrmMain.cpp)
    void SetUpImageLists();
    // Opens a list of paths separated by blanks: the start's own command line or a later start's.
    void procOpenCommandLine(const std::string& sCmd);
    // From the first close query or the start of the exit save on, later starts' command lines are
    // dropped, those waiting too.
    void EndHandOver();
    // Later starts' command lines are opened again: the close did not happen.
    void ResumeHandOver();

    // ---- menus, tool bars and context menu (src/program/frmMain_Menus.cpp)
    void CreateBars();
    void DefineMenus();
    void pnlToolbar_ButtonClick(ToolButton& button);
    void pnlToolbar_ButtonMenuClick(ToolButton& button, ButtonMenu& item);
    void pnlToolbar_Change();
    void pnlToolbarYour_ButtonClick(ToolButton& button);
    void mnuResultClickCopy_Click();
    void mnuResultClickSaveAs_Click();
    void mnuResultClickChange_Click();
    void mnuResultClickEditWith_Click();
    void mnuResultClickPlay_Click();
    void mnuResultClickAddRef_Click();
    void mnuResultClickDelRef_Click();
    void mnuResultClickAddFav_Click();
    void mnuResultClickDelFav_Click();
    void mnuResultClickProperties_Click();
    void mnuResultClickZoom_Click();
    void mnuResultClickRun_Click();
    void mnuFileExit_Click();
    void mnuGoHomePage_Click();
    void mnuGoMail_Click();
    void mnuHelpTip_Click();
    void mnuHelpTopics_Click();
    void mnuHelpSearch_Click();
    void mnuHelpAbout_Click();
    void tmrLed_Timer();
    // The zoom command for a default zoom index (0..4); nothing for another index.
    void ZoomByDefault(bool fallbackToTen);
    // The menu bar's shortcut keys; Ctrl+C is the keyword box's own while it has the focus.
    HACCEL Accelerators() const override;

    // ---- view menu (frmMain_View.cpp)
    void mnuViewToolbarStandard_Click();
    void mnuViewToolbarYour_Click();
    void mnuViewToolbarKeyword_Click();
    void mnuViewToolbarTextLabels_Click();
    void mnuViewToolbarCustomize_Click();
    void mnuViewStatusBar_Click();
    void mnuViewLargeIcons_Click();
    void mnuViewList_Click();
    void mnuViewDetails_Click();
    void mnuViewBackcolor_Click();
    void mnuViewArrange_Click(int index);
    void mnuViewOptions_Click();
    void mnuResultClickViewLargeIcons_Click();
    void mnuResultClickViewList_Click();
    void mnuResultClickViewDetails_Click();
    void mnuResultClickViewBackColor_Click();
    void mnuResultClickViewArrange_Click(int index);
    void procCheckViewMenu(bool large, bool list, bool details);

    // ---- layout, splitter and status bar (frmMain_Layout.cpp)
    void CreatePanes();
    void picSplitV_MouseDown(int button, int shift, float x, float y);
    void picSplitV_MouseMove(int button, int shift, float x, float y);
    void picSplitV_MouseUp(int button, int shift, float x, float y);
    void procArrangeBelowCoolBar();
    void pnlCoolBar_HeightChanged();

    // ---- busy mode and clearing the page (frmMain_Busy.cpp)
    void procSetAbort(bool bSet);
    void procClearResult();

    // ---- commands of icon browsing (src/browsing)
    void mnuFileOpen_Click();
    void mnuFileOpenDir_Click();
    void mnuGoFirstPage_Click();
    void mnuGoPrevPage_Click();
    void mnuGoNextPage_Click();
    void mnuGoLastPage_Click();
    void mnuGoToPageNr_Click(int index);
    void mnuGoBarToPageNr_Click(int index);
    void mnuFavoriteAdd_Click();
    void mnuFavoriteDel_Click();
    void mnuFavoriteGroupAdd_Click();
    void mnuFavoriteGroupDel_Click();
    void mnuFavoriteOrganize_Click();
    void mnuFavoriteRefresh_Click();
    // Builds the favorites branch of the tree anew from the folders below gFavDir; answers the
    // folder as walked, with its closing "\".
    std::string procRebuildFavorites();
    void mnuRefAdd_Click();
    void mnuRefDelete_Click();
    void mnuRefKey_Click();
    void procGetPage();
    void procBuildNavTree();

    // ---- the catalogue: index, keywords and library pictures (frmMain_Catalogue.cpp, frmMain_Library.cpp)
    // Loads the catalogue index and the user's keyword and reference files once at start-up.
    void procFillSearch();
    // Makes the picture of library `lib` available in picBMP, extracting it when needed.
    void procExtractLibrary(const std::string& lib);

    // ---- keyword search and icons of files (src/browsing/frmMain_Search.cpp)
    void procSearchOrnavale();
    // Lists the icons of the files of lstFiles; `readAhead`, when given, is reading them already.
    void procSearchOpen(FileIconCountsAhead* readAhead = nullptr);
    void procAddFileIcons(const std::string& sFile);
    void procSearchKeyword();
    void procAddResultEntry(const std::string& file, int32_t index, const std::string& label,
                            const std::string& kind);

    // ---- the navigation tree's clicks and the fillers they start (src/browsing/frmMain_Nav.cpp,
    //      frmMain_Fillers.cpp, frmMain_Shortcuts.cpp)
    // Lists the source of a tree node, as a click on it does; nothing escapes it.
    void pnlNav_NodeClick(Node& node);
    // The catalogue icons of one type code (0..8), then the user references of that code.
    void procFillBookByClass(int16_t iClass);
    // The user references of one colour class (0 16 colours, 1 256 colours, 2 hi-colour), any shape.
    void procFillReferences(int16_t iClass);
    // The catalogue icons of every keyword beginning with the letter, then the references under them.
    void procFillBookByLetter(const std::string& sLetter);
    // The icons of the shortcuts in the shell's "Start Menu" or "Desktop" folder.
    void procSearchShortcuts(const std::string& sFolder);

    // ---- drag and drop on the tree and the result list (src/browsing/frmMain_DragDrop.cpp)
    void pnlNav_OLEDragOver(DragData& data, int& effect, int button, int shift, POINT screen, int state);
    void pnlNav_OLEDragDrop(DragData& data, int& effect, int button, int shift, POINT screen);
    void pnlResult_OLEDragOver(DragData& data, int& effect, int button, int shift, POINT screen, int state);
    // Files dropped on an item get shortcuts with its icon (src/changing/frmMain_ShortcutDrop.cpp).
    void pnlResult_OLEDragDrop(DragData& data, int& effect, int button, int shift, POINT screen);

    // ---- the keyword box and the keys of the window (src/browsing/frmMain_Keys.cpp)
    void cmbSearch_Click();
    void cmbSearch_KeyPress(int& keyAscii);

    // ---- Windows as a source of icons (src/browsing/frmMain_SystemSources.cpp)
    // Appends the entries of one cursor kind's current cursor (one per frame of an animated one).
    void procGetCurrentCursor(int32_t cursorId, const std::string& valueName);
    // Appends the entries of one field of a cursor scheme, at its position from 1.
    void procGetCurrentThemeCursor(const std::string& field, const std::string& scheme, int16_t position);
    // Appends the icons of the file types under the key of the hive, with their lines in lstChange.
    void procGetFileTypes(HKEY hive, const std::string& key);
    // Appends one entry for each system icon row of lstChange, writing a missing row's default.
    void procGetSystemIcons();

    // ---- events of the tree, the result list and the status bar (src/browsing/frmMain_Events.cpp)
    void pnlNav_KeyPress(int& keyAscii);
    // column from 1.
    void pnlResult_ColumnClick(int column);
    void pnlResult_DblClick();
    void pnlResult_ItemClick(ListItem& item);
    void pnlResult_KeyUp(int keyCode, int shift);
    // x and y in twips in the list's client area.
    void pnlResult_MouseDown(int button, int shift, int x, int y);
    void pnlStatusbar_PanelClick(Panel& panel);

    // ---- opening files and folders, favorites (src/browsing/frmMain_Open.cpp, frmMain_Favorites.cpp)
    void procOpenPathList(int flags);

    // ---- commands of icon output (src/output)
    void mnuEditCopy_Click();
    void mnuFileSaveAs_Click();
    void mnuFileEditWith_Click();
    void mnuFilePlay_Click();
    void mnuFileProperties_Click();
    void mnuFileRun_Click();
    void mnuToolsImport_Click();
    void mnuToolsZoom2_Click();
    void mnuToolsZoom3_Click();
    void mnuToolsZoom4_Click();
    void mnuToolsZoom5_Click();
    void mnuToolsZoom10_Click();
    // Fills pctColor and pctMask with the colours and the AND mask of the current icon, its top-left
    // 32 x 32 pixels (src/output/frmMain_Mask.cpp).
    void procMask();
    // Sets gBitCount from the type panel's text.
    void procGetBitCount();
    // Lets the user click the hotspot of the cursor about to be written into gHotSpotX, gHotSpotY.
    void procSetHotSpot();
    // Element `index` of picFilm, made when the store does not reach it yet.
    PictureBox& FilmElement(size_t index);
    // The frames of the animation the selected item belongs to into picFilm, shown by the player
    // unless gFilmMode is raised (src/output/frmMain_Play.cpp). sSep, lStep and lSkip as Play
    // passes them: ":", 1, 0 for catalogue entries, ";", -1, 4 for file entries.
    void procLoadAniFrames(const std::string& sSep, int16_t lStep, int16_t lSkip);
    // The walk behind it and behind the change window's collection: every entry of cmbResult in the
    // run of `source` (same kind, same animation key), in frame order, into picFilm(1) ...
    // picFilm(gFrameCount). A frame that cannot be drawn ends the run before it. Shows the player
    // when `showPlayer` is set and a frame was collected. `asPlay`: Play's own collection, which
    // sets the player's frame number gFrameNr to 1 and tells of a frame that cannot be drawn in
    // the error box; the change window's does neither. Answers gFrameCount.
    int32_t CollectAniFrames(const std::string& source, const std::string& sSep, int16_t lStep, int16_t lSkip,
                             bool showPlayer, bool asPlay = true);
    // Draws the catalogue frame entry ("<lib>:<cell>:<rest>book") into picFilm(gFrameCount); the
    // parsed fields are cut from the front of the text.
    void procGetOrnavaleAni(std::string& gKeyword);
    // Draws the file frame entry ("<file>;<frame>;<label>;<t><kind>") into picFilm(gFrameCount)
    // from the bytes kept for gAniFile; the parsed fields are cut from the front of the text.
    void procGetOpenAni(std::string& gKeyword);

    // ---- commands of Windows icon changing (src/changing)
    void mnuFileChange_Click();
    void mnuToolsChangeFolder_Click();
    void mnuToolsDefaultFolder_Click();
    void mnuToolsRebuild_Click();
    // Asks once whether Windows may restart; on Yes posts kRestartWindowsMessage, so that the
    // restart runs after the command that called this has returned, also from a reminder of the
    // change window.
    void mnuToolsRestart_Click();
    // The posted restart: saves and unloads every window, takes the shutdown privilege on NT and
    // asks Windows to restart without forcing other programs to close; a refusal is told in one box.
    void procRestartWindows();
    static constexpr UINT kRestartWindowsMessage = WM_APP + 2;

    // ---- the selected item and the pages (src/browsing/frmMain_Selection.cpp, frmMain_Browsing.cpp)
    // Brings the commands, the status panels and the selected path in line with the selected item.
    void procItemSelected();
    // First, previous, next and last page on or off for gPageNr of gPageCount.
    void procSetPageButtons();
    // Rebuilds the two go-to-page menus for gPageCount and starts the page light on a first page.
    void procSetPageNr();
    // Shows page `pageNr`, kept within the pages.
    void GoToPage(int32_t pageNr);
    // The item's picture as a command hands it on (saves, copies, applies it): the page's image,
    // once the item's source has been read again and gives it; nullptr where it does not, as for an
    // item the page shows as the placeholder or whose file went since.
    UniqueIcon HandedOnIcon(const ListItem& item);

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    void Form_Unload(bool& cancel) override;
    bool OnMenuCommand(int id) override;
    void Form_KeyPress(int& keyAscii) override;
    void Form_KeyUp(int& keyCode, int shift) override;
    std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    // Whether a received command line has to wait before it is opened.
    bool HandOverWaits();
    // The command line of the latest later start, opened once the current command has returned.
    // Each opening replaces the result set of the one before, so a start still waiting when a later
    // one arrives would only be opened to be thrown away: the later one takes its place, unless it
    // names no path (it only brings the window up, which opening the earlier one does too).
    std::optional<std::string> receivedCommandLine_;
    bool openingCommandLine_ = false;  // a received command line is being opened
    bool handOverEnded_ = false;
};

extern FrmMain frmMain;

// Shared references to the status bar's panels, bound at start-up.
extern Panel* gPanelMessage;
extern Panel* gPanelCount;
extern Panel* gPanelArea;
extern Panel* gPanelType;

// Memory drawing contexts with their 32 x 32 bitmaps, made at start-up and kept for the run.
extern HDC gMaskDC;
extern HDC gColorDC;
extern HBITMAP gMaskDCBitmap;
extern HBITMAP gColorDCBitmap;
