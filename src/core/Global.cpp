// Definitions of the shared variables.
#include "core/Global.h"

Variant gResult;
std::string gAppPath;
std::string gWinDir;
std::string gSysDir;
std::string gTempDir;
std::string gCatalogName;
std::string gPathList;
int gTwipsX = 15;
int gTwipsY = 15;
bool gHotSpotMode = false;

std::string ExtractedLibraryFolder() { return gTempDir + "ornavale-libraries\\"; }
