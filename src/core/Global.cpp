// Definitions of the shared variables.
#include "core/Global.h"

#include "core/Folders.h"

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

namespace {

// Before the splash has found the temporary folder (or in a program that never shows it), the
// system's own: never a folder relative to whatever the current directory is.
std::string ProgramTempFolder(const char* name) { return (gTempDir.empty() ? TempFolder() : gTempDir) + name; }

}  // namespace

std::string ExtractedLibraryFolder() { return ProgramTempFolder("ornavale-libraries\\"); }

std::string FrameFolder() { return ProgramTempFolder("ornavale-frames\\"); }
