// The main window's pane arithmetic, kept apart from any window so that it can be tested on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A pane's place in the window's client area, in twips.
struct PaneRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PaneRect&) const = default;
};

// Where the tree, the splitter, the result list and its twin stand, and the message panel's width.
struct MainLayout {
    PaneRect nav;
    PaneRect split;
    PaneRect result;
    PaneRect dummy;
    int messageWidth = 0;
    bool operator==(const MainLayout&) const = default;
};

enum class LayoutEvent {
    Resize,        // the window changed size
    SplitterDrag,  // the splitter moved to splitX
    BelowCoolBar,  // the cool bar changed its height
};

// All sizes in twips. The window's size is its outer size, title and menu bar included.
struct MainLayoutInput {
    LayoutEvent event = LayoutEvent::Resize;
    int windowWidth = 0;
    int windowHeight = 0;
    int twipsX = 15;  // twips per pixel
    int twipsY = 15;
    bool statusBarShown = true;  // View > Status Bar is checked
    int statusBarHeight = 0;
    int textHeight = 0;  // of "Gg" in the window's font
    int coolBarTop = 0;
    int coolBarHeight = 0;
    double splitX = 0;  // the mouse on the splitter; applied as whole twips, halves to even
    int typePanelWidth = 0;
    int countPanelWidth = 0;
    int areaPanelWidth = 0;
    MainLayout current;  // the panes as they stand now
};

// The panes after the event. A drag and a resize keep the tree and the list each at least 100 px
// wide where the window has room for both (the tree where it has not), so that a splitter stored
// or dragged beyond either edge comes back. A width or height that would still come out below zero
// keeps its current value and the later steps go on from there, so a tiny window never fails.
MainLayout ComputeMainLayout(const MainLayoutInput& in);

// A stored width of a result list column, in twips, as the list takes it: never so narrow that the
// column cannot be seen or grabbed (a width below zero would even ask the list to size it itself).
int StoredColumnWidth(int32_t stored, int twipsX);

// Text widths in twips, measured in the window's font.
struct PathWidths {
    int panel = 0;     // the message panel
    int ww = 0;        // "ww", the margin a whole path must leave
    int itemPath = 0;  // the whole path
    int selDir = 0;    // its folder part
};

// The message panel's text for the selected item's path: the whole path when it fits with the
// "ww" margin, else the folder's first characters, "...\" and the whole file name. Nothing (keep the
// panel's text) when even the file name does not fit or the folder is empty.
std::optional<std::string> PanelPathText(const std::string& itemPath, const std::string& selDir,
                                         const std::string& selFile, const PathWidths& widths);
