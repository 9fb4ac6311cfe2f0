// What the selected result item turns on: the item commands, the type panel, the selected path, the
// reference window's type presets, the double-click action and the page buttons. Pure functions;
// the main window applies their answers to its controls.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The double-click option and its priority flags (gDCAction, gDCPlay, gDCRef, gDCRun, gDCChange).
struct DoubleClickOptions {
    std::string action = "None";
    bool play = false;
    bool ref = false;
    bool run = false;
    bool change = false;
};

// The selected item of the result list, as the list shows it.
struct SelectedItem {
    std::string text;      // the name
    std::string typeText;  // column "Type"
    std::string origin;    // column "Origin"
    std::string longPath;  // long form of SelectedFilePath(its Tag); "" when that cannot be resolved
};

struct SelectionFacts {
    std::optional<SelectedItem> item;  // nullopt: nothing is selected (a page without items)
    bool commandsCleared = true;       // File > Properties is disabled: the page was just cleared
    int32_t pageCount = 1;
    bool folderIconSupport = false;
    DoubleClickOptions options;
};

// The first selection after the page was cleared turns on Properties, Copy, Save As, Edit With and
// Zoom (menu items, context menu items, buttons "prop", "copy", "save", "zoom") and gives the
// "area" panel the picture "redledoff". Later selections on the same page leave all of this.
struct FirstSelection {
    bool pageMenus = false;     // mnuGoToPage and mnuGoBar enabled, else disabled
    bool changeFolder = false;  // enable mnuToolsChangeFolder and "changefolder"; false leaves them off
};

// Each command flag stands for its menu item (enabled), its context menu item (shown) and its tool
// button (enabled). Applying the state also empties gAniFile.
struct SelectionState {
    std::string dcActionNow;                 // gDCActionNow
    std::optional<FirstSelection> first;
    std::string listTag;                     // the result list's own Tag: the item's name
    std::string typeText;                    // panel "type"
    std::optional<std::string> typePicture;  // its imlNav key; nullopt leaves the picture
    std::string itemPath;                    // gItemPath
    std::optional<std::string> selDir;       // gSelDir, ends with "\"; nullopt leaves it
    std::optional<std::string> selFile;      // gSelFile; nullopt leaves it
    bool pathInMessage = false;              // panel "message" shows itemPath (PathForMessagePanel)
    bool play = false;    // mnuFilePlay, mnuResultClickPlay, "play"
    bool run = false;     // mnuFileRun, mnuResultClickRun
    bool change = false;  // mnuFileChange, mnuResultClickChange, "change"
    bool addRef = false;  // mnuRefAdd, mnuResultClickAddRef, "refadd"
    bool delRef = false;  // mnuRefDelete, mnuResultClickDelRef, "refdel"
    bool addFav = false;  // mnuFavoriteAdd, mnuResultClickAddFav, "favadd"
    bool delFav = false;  // mnuFavoriteDel, mnuResultClickDelFav, "favdel"
    bool div16 = false;   // context menu separators shown
    bool div22 = false;
    std::array<bool, 9> typeOptions{};  // frmAdd.optType(i) enabled
    std::optional<int> typeChosen;      // frmAdd.optType(i) selected; nullopt leaves the chosen type
};

// The file path in an entry text that the selection resolves: "" for catalogue cells, Windows
// default cursors and texts that are no entry.
std::string SelectedFilePath(std::string_view tag);

SelectionState SelectionFor(const SelectionFacts& facts);

// The text of panel "message" for the selected path: whole when it fits in the panel less a "w",
// else the start of its folder, "...\" and the file name. Widths in any one unit; textWidth
// measures in the main window's font.
std::string PathForMessagePanel(const SelectionState& state, int32_t panelWidth,
                                const std::function<int32_t(std::string_view)>& textWidth);

// First and previous page (back), next and last page (forward): enabled or not.
struct PageButtons {
    bool back = false;
    bool forward = false;
};
PageButtons PageButtonsFor(int32_t pageNr, int32_t pageCount);
