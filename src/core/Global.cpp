// Definitions of the shared variables.
#include "core/Global.h"

Variant gResult;
std::string gAppPath;
std::string gWinDir;
std::string gSysDir;
std::string gTempDir;
bool gHotSpotMode = false;
