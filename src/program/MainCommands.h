// The main window's command tables: menu ids, tool buttons and drop-down items, each to the handler it runs.
#pragma once

#include <optional>
#include <string>

#include "mainwindow/FrmMain.h"
#include "mainwindow/FrmMainIds.h"
#include "mainwindow/MainShared.h"
#include "ui/Dispatch.h"

// A tool button's or a drop-down item's action.
using MainKeyCommand = KeyCommand<FrmMain>;

// Two commands of the standard tool bar that are no menu's (the third, stop the running fill, is
// RequestAbort): the next view of the cycle, zoom by the default factor (10:1 when that is unknown).
void NextView(FrmMain& form);
void ZoomByDefaultOrTen(FrmMain& form);

inline constexpr MainKeyCommand kStandardButtonCommands[] = {
    {"firstpage", Run<&FrmMain::mnuGoFirstPage_Click>},
    {"prevpage", Run<&FrmMain::mnuGoPrevPage_Click>},
    {"nextpage", Run<&FrmMain::mnuGoNextPage_Click>},
    {"lastpage", Run<&FrmMain::mnuGoLastPage_Click>},
    {"abort", RequestAbort},
    {"open", Run<&FrmMain::mnuFileOpen_Click>},
    {"save", Run<&FrmMain::mnuFileSaveAs_Click>},
    {"copy", Run<&FrmMain::mnuEditCopy_Click>},
    {"play", Run<&FrmMain::mnuFilePlay_Click>},
    {"prop", Run<&FrmMain::mnuFileProperties_Click>},
    {"view", NextView},
    {"zoom", ZoomByDefaultOrTen},
    {"create", Run<&FrmMain::mnuToolsImport_Click>},
    {"help", Run<&FrmMain::mnuHelpTopics_Click>},
    {"close", Run<&FrmMain::mnuFileExit_Click>},
};

inline constexpr MainKeyCommand kYourButtonCommands[] = {
    {"change", Run<&FrmMain::mnuFileChange_Click>},
    {"changefolder", Run<&FrmMain::mnuToolsChangeFolder_Click>},
    {"favadd", Run<&FrmMain::mnuFavoriteAdd_Click>},
    {"favdel", Run<&FrmMain::mnuFavoriteDel_Click>},
    {"favgroupadd", Run<&FrmMain::mnuFavoriteGroupAdd_Click>},
    {"favgroupdel", Run<&FrmMain::mnuFavoriteGroupDel_Click>},
    {"favedit", Run<&FrmMain::mnuFavoriteOrganize_Click>},
    {"favrefresh", Run<&FrmMain::mnuFavoriteRefresh_Click>},
    {"refadd", Run<&FrmMain::mnuRefAdd_Click>},
    {"refdel", Run<&FrmMain::mnuRefDelete_Click>},
    {"refedit", Run<&FrmMain::mnuRefKey_Click>},
};

// The drop-down items of the standard tool bar, of all its menus together.
inline constexpr MainKeyCommand kButtonMenuCommands[] = {
    {"viewlarge", Run<&FrmMain::mnuViewLargeIcons_Click>},
    {"viewlist", Run<&FrmMain::mnuViewList_Click>},
    {"viewdetails", Run<&FrmMain::mnuViewDetails_Click>},
    {"zoom2", Run<&FrmMain::mnuToolsZoom2_Click>},
    {"zoom3", Run<&FrmMain::mnuToolsZoom3_Click>},
    {"zoom4", Run<&FrmMain::mnuToolsZoom4_Click>},
    {"zoom5", Run<&FrmMain::mnuToolsZoom5_Click>},
    {"zoom10", Run<&FrmMain::mnuToolsZoom10_Click>},
    {"openfile", Run<&FrmMain::mnuFileOpen_Click>},
    {"opendir", Run<&FrmMain::mnuFileOpenDir_Click>},
};

// The zoom factor (2, 3, 4, 5 or 10) for a default zoom index 0..4; any other index gives 10 with
// the fallback and 0 (no zoom) without it.
int DefaultZoomFactor(int zoomIndex, bool fallbackToTen);

inline constexpr Command<FrmMain> kMenuCommands[] = {
    {ID_mnuFileOpen, &FrmMain::mnuFileOpen_Click},
    {ID_mnuFileOpenDir, &FrmMain::mnuFileOpenDir_Click},
    {ID_mnuFileSaveAs, &FrmMain::mnuFileSaveAs_Click},
    {ID_mnuFileEditWith, &FrmMain::mnuFileEditWith_Click},
    {ID_mnuFileChange, &FrmMain::mnuFileChange_Click},
    {ID_mnuFilePlay, &FrmMain::mnuFilePlay_Click},
    {ID_mnuFileRun, &FrmMain::mnuFileRun_Click},
    {ID_mnuFileProperties, &FrmMain::mnuFileProperties_Click},
    {ID_mnuFileExit, &FrmMain::mnuFileExit_Click},
    {ID_mnuEditCopy, &FrmMain::mnuEditCopy_Click},
    {ID_mnuViewToolbarStandard, &FrmMain::mnuViewToolbarStandard_Click},
    {ID_mnuViewToolbarYour, &FrmMain::mnuViewToolbarYour_Click},
    {ID_mnuViewToolbarKeyword, &FrmMain::mnuViewToolbarKeyword_Click},
    {ID_mnuViewToolbarTextLabels, &FrmMain::mnuViewToolbarTextLabels_Click},
    {ID_mnuViewToolbarCustomize, &FrmMain::mnuViewToolbarCustomize_Click},
    {ID_mnuViewStatusBar, &FrmMain::mnuViewStatusBar_Click},
    {ID_mnuViewLargeIcons, &FrmMain::mnuViewLargeIcons_Click},
    {ID_mnuViewList, &FrmMain::mnuViewList_Click},
    {ID_mnuViewDetails, &FrmMain::mnuViewDetails_Click},
    {ID_mnuViewBackcolor, &FrmMain::mnuViewBackcolor_Click},
    {ID_mnuViewOptions, &FrmMain::mnuViewOptions_Click},
    {ID_mnuGoFirstPage, &FrmMain::mnuGoFirstPage_Click},
    {ID_mnuGoPrevPage, &FrmMain::mnuGoPrevPage_Click},
    {ID_mnuGoNextPage, &FrmMain::mnuGoNextPage_Click},
    {ID_mnuGoLastPage, &FrmMain::mnuGoLastPage_Click},
    {ID_mnuGoHomePage, &FrmMain::mnuGoHomePage_Click},
    {ID_mnuGoMail, &FrmMain::mnuGoMail_Click},
    {ID_mnuFavoriteAdd, &FrmMain::mnuFavoriteAdd_Click},
    {ID_mnuFavoriteDel, &FrmMain::mnuFavoriteDel_Click},
    {ID_mnuFavoriteGroupAdd, &FrmMain::mnuFavoriteGroupAdd_Click},
    {ID_mnuFavoriteGroupDel, &FrmMain::mnuFavoriteGroupDel_Click},
    {ID_mnuFavoriteOrganize, &FrmMain::mnuFavoriteOrganize_Click},
    {ID_mnuFavoriteRefresh, &FrmMain::mnuFavoriteRefresh_Click},
    {ID_mnuRefAdd, &FrmMain::mnuRefAdd_Click},
    {ID_mnuRefDelete, &FrmMain::mnuRefDelete_Click},
    {ID_mnuRefKey, &FrmMain::mnuRefKey_Click},
    {ID_mnuToolsZoom2, &FrmMain::mnuToolsZoom2_Click},
    {ID_mnuToolsZoom3, &FrmMain::mnuToolsZoom3_Click},
    {ID_mnuToolsZoom4, &FrmMain::mnuToolsZoom4_Click},
    {ID_mnuToolsZoom5, &FrmMain::mnuToolsZoom5_Click},
    {ID_mnuToolsZoom10, &FrmMain::mnuToolsZoom10_Click},
    {ID_mnuToolsImport, &FrmMain::mnuToolsImport_Click},
    {ID_mnuToolsChangeFolder, &FrmMain::mnuToolsChangeFolder_Click},
    {ID_mnuToolsDefaultFolder, &FrmMain::mnuToolsDefaultFolder_Click},
    {ID_mnuToolsRebuild, &FrmMain::mnuToolsRebuild_Click},
    {ID_mnuToolsRestart, &FrmMain::mnuToolsRestart_Click},
    {ID_mnuHelpTopics, &FrmMain::mnuHelpTopics_Click},
    {ID_mnuHelpSearch, &FrmMain::mnuHelpSearch_Click},
    {ID_mnuHelpTip, &FrmMain::mnuHelpTip_Click},
    {ID_mnuHelpAbout, &FrmMain::mnuHelpAbout_Click},
    {ID_mnuResultClickCopy, &FrmMain::mnuResultClickCopy_Click},
    {ID_mnuResultClickSaveAs, &FrmMain::mnuResultClickSaveAs_Click},
    {ID_mnuResultClickChange, &FrmMain::mnuResultClickChange_Click},
    {ID_mnuResultClickEditWith, &FrmMain::mnuResultClickEditWith_Click},
    {ID_mnuResultClickPlay, &FrmMain::mnuResultClickPlay_Click},
    {ID_mnuResultClickAddRef, &FrmMain::mnuResultClickAddRef_Click},
    {ID_mnuResultClickDelRef, &FrmMain::mnuResultClickDelRef_Click},
    {ID_mnuResultClickAddFav, &FrmMain::mnuResultClickAddFav_Click},
    {ID_mnuResultClickDelFav, &FrmMain::mnuResultClickDelFav_Click},
    {ID_mnuResultClickProperties, &FrmMain::mnuResultClickProperties_Click},
    {ID_mnuResultClickZoom, &FrmMain::mnuResultClickZoom_Click},
    {ID_mnuResultClickRun, &FrmMain::mnuResultClickRun_Click},
    {ID_mnuResultClickViewLargeIcons, &FrmMain::mnuResultClickViewLargeIcons_Click},
    {ID_mnuResultClickViewList, &FrmMain::mnuResultClickViewList_Click},
    {ID_mnuResultClickViewDetails, &FrmMain::mnuResultClickViewDetails_Click},
    {ID_mnuResultClickViewBackColor, &FrmMain::mnuResultClickViewBackColor_Click},
};

inline constexpr CommandRange<FrmMain> kMenuCommandRanges[] = {
    {ID_mnuViewArrange_First, ID_mnuViewArrange_Last, &FrmMain::mnuViewArrange_Click},
    {ID_mnuResultClickViewArrange_First, ID_mnuResultClickViewArrange_Last,
     &FrmMain::mnuResultClickViewArrange_Click},
    {ID_mnuGoToPageNr_First, ID_mnuGoToPageNr_Last, &FrmMain::mnuGoToPageNr_Click},
    {ID_mnuGoBarToPageNr_First, ID_mnuGoBarToPageNr_Last, &FrmMain::mnuGoBarToPageNr_Click},
};

// Whether the command table runs something for this menu id.
bool HasMenuCommand(int id);

// The picture of imlNav under this key as an icon for a status panel, made once and kept for the
// whole run; nullptr when the list has no such picture.
HICON NavPicture(const std::string& key);
