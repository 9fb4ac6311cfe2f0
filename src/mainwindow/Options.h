// The option variables of the main window, set at start-up and by the options dialog.
#pragma once

#include <cstdint>
#include <string>

extern std::string gDCAction;  // "None", "Copy", "Save", "Zoom", "Prop" or "EditWith"
extern int32_t gDCZoom;        // 0..4 for the zoom factors 2, 3, 4, 5 and 10
extern bool gDCPlay;
extern bool gDCRef;
extern bool gDCRun;
extern bool gDCChange;
extern bool gSearchFav;
extern bool gUseMask;
extern uint32_t gMaskColor;    // a colour as the program stores colours (see ToColorRef)
extern std::string gFavoritesName;
extern bool gKeysChanged;
extern bool gRefsChanged;
// The main window's stored geometry in twips, read at start-up.
extern int32_t gWinTop;
extern int32_t gWinLeft;
extern int32_t gWinWidth;
extern int32_t gWinHeight;
