// Definitions of the option variables.
#include "mainwindow/Options.h"

std::string gDCAction = "None";
int32_t gDCZoom = 4;
bool gDCPlay = false;
bool gDCRef = false;
bool gDCRun = false;
bool gDCChange = false;
bool gSearchFav = false;
bool gUseMask = false;
uint32_t gMaskColor = 0x80000005;  // the window colour
std::string gFavoritesName = "Favorites";
bool gKeysChanged = false;
bool gRefsChanged = false;
int32_t gWinTop = 0;
int32_t gWinLeft = 0;
int32_t gWinWidth = 0;
int32_t gWinHeight = 0;
