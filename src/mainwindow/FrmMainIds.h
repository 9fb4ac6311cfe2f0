// The main window's ids: its controls and its menu commands (bar and popup-only menus), one enum
// from the window's own base. Its picture film and its page arrays need thousands of ids, so its
// menus start from a base of their own, each menu with a block of a hundred; arrays reserve a block.
#pragma once

#include "ui/Menu.h"

enum FrmMainId : int {
    kMainIdBase = 1000,
    ID_pnlCoolBar = kMainIdBase + 1,
    ID_pnlToolbar,
    ID_pnlToolbarYour,
    ID_cmbSearch,
    ID_pnlNav,
    ID_picSplitV,
    ID_pnlResult,
    ID_pnlDummy,
    ID_pnlStatusbar,
    ID_pnlProgressBar,
    ID_tmrLed,
    ID_picOpen = kMainIdBase + 20,
    ID_picSave,
    ID_pctColor,
    ID_pctMask,
    ID_picLogo,
    ID_picNoIcon,
    ID_picFilm = kMainIdBase + 1000,  // and on, one id an element

    kMainMenuBase = kMainIdBase + 39000,
    // menu titles
    ID_mnuFile = kMainMenuBase + 1,
    ID_mnuEdit,
    ID_mnuView,
    ID_mnuGo,
    ID_mnuFavorite,
    ID_mnuRef,
    ID_mnuTools,
    ID_mnuHelp,
    // popup-only menus
    ID_mnuResultClick,
    ID_mnuWhite,
    ID_mnuGoBar,

    // File
    ID_mnuFileOpen = kMainMenuBase + 100,
    ID_mnuFileOpenDir,
    ID_mnuFileSaveAs,
    ID_mnuFileEditWith,
    ID_mnuFileChange,
    ID_mnuFilePlay,
    ID_mnuFileRun,
    ID_mnuFileProperties,
    ID_mnuFileExit,
    // Edit
    ID_mnuEditCopy = kMainMenuBase + 200,
    // View
    ID_mnuViewToolbar = kMainMenuBase + 300,
    ID_mnuViewToolbarStandard,
    ID_mnuViewToolbarYour,
    ID_mnuViewToolbarKeyword,
    ID_mnuViewToolbarTextLabels,
    ID_mnuViewToolbarCustomize,
    ID_mnuViewStatusBar,
    ID_mnuViewLargeIcons,
    ID_mnuViewList,
    ID_mnuViewDetails,
    ID_mnuViewBackcolor,
    ID_mnuViewArrangeIcons,
    ID_mnuViewArrange_First,  // index 0 "by Name", 1 "by Type", 2 "by Origin"
    ID_mnuViewArrange_Last = ID_mnuViewArrange_First + 2,
    ID_mnuViewOptions,
    // Go
    ID_mnuGoFirstPage = kMainMenuBase + 400,
    ID_mnuGoPrevPage,
    ID_mnuGoNextPage,
    ID_mnuGoLastPage,
    ID_mnuGoToPage,
    ID_mnuGoHomePage,
    ID_mnuGoMail,
    // Favorites
    ID_mnuFavoriteAdd = kMainMenuBase + 500,
    ID_mnuFavoriteDel,
    ID_mnuFavoriteGroupAdd,
    ID_mnuFavoriteGroupDel,
    ID_mnuFavoriteOrganize,
    ID_mnuFavoriteRefresh,
    // References
    ID_mnuRefAdd = kMainMenuBase + 600,
    ID_mnuRefDelete,
    ID_mnuRefKey,
    // Tools
    ID_mnuToolsZoom = kMainMenuBase + 700,
    ID_mnuToolsZoom2,
    ID_mnuToolsZoom3,
    ID_mnuToolsZoom4,
    ID_mnuToolsZoom5,
    ID_mnuToolsZoom10,
    ID_mnuToolsImport,
    ID_mnuToolsChangeFolder,
    ID_mnuToolsDefaultFolder,
    ID_mnuToolsRebuild,
    ID_mnuToolsRestart,
    // Help
    ID_mnuHelpTopics = kMainMenuBase + 800,
    ID_mnuHelpSearch,
    ID_mnuHelpTip,
    ID_mnuHelpAbout,
    // Context menu of a result item
    ID_mnuResultClickCopy = kMainMenuBase + 900,
    ID_mnuResultClickSaveAs,
    ID_mnuResultClickChange,
    ID_mnuResultClickEditWith,
    ID_mnuResultClickPlay,
    ID_mnuResultClickAddRef,
    ID_mnuResultClickDelRef,
    ID_mnuResultClickAddFav,
    ID_mnuResultClickDelFav,
    ID_mnuResultClickProperties,
    ID_mnuResultClickZoom,
    ID_mnuResultClickRun,
    // its separators that are shown and hidden with the commands around them
    ID_mnudiv13,
    ID_mnuDiv16,
    ID_mnuDiv22,
    ID_mnudiv14,
    ID_mnuDiv15,
    // White-area menu
    ID_mnuResultClickView = kMainMenuBase + 1000,
    ID_mnuResultClickViewLargeIcons,
    ID_mnuResultClickViewList,
    ID_mnuResultClickViewDetails,
    ID_mnuResultClickViewBackColor,
    ID_mnuResultClickViewArrangeIcons,
    ID_mnuResultClickViewArrange_First,
    ID_mnuResultClickViewArrange_Last = ID_mnuResultClickViewArrange_First + 2,

    // Page arrays: element k has the id base + k (element 0 unused, element 1 "1" from the start).
    ID_mnuGoToPageNr_First = kMainMenuBase + 2000,
    ID_mnuGoToPageNr_Last = kMainMenuBase + 4999,
    ID_mnuGoBarToPageNr_First = kMainMenuBase + 5000,
    ID_mnuGoBarToPageNr_Last = kMainMenuBase + 7999,
};
