// Shared variables of the whole program that no single helper owns.
#pragma once

#include <string>

#include "core/Variant.h"

// The one shared answer slot: the last file-exists test, message-box or message-window answer.
extern Variant gResult;

// Folders found at start: the program folder with a trailing "\", the Windows and system folders
// without one, and the temporary folder in lower case with exactly one trailing "\".
extern std::string gAppPath;
extern std::string gWinDir;
extern std::string gSysDir;
extern std::string gTempDir;

// "Ornavale" when the catalogue is present, else "".
extern std::string gCatalogName;
// Paths to open, separated by blanks.
extern std::string gPathList;
// Twips per pixel of the screen, horizontal and vertical.
extern int gTwipsX;
extern int gTwipsY;
// True while the cursor hotspot command runs; the message window then offers only its action button.
extern bool gHotSpotMode;

// The folder below the temporary folder that holds the catalogue pictures this program extracted;
// the exit deletes what is in it and nothing else. Below the system's temporary folder while
// gTempDir is empty.
std::string ExtractedLibraryFolder();
// The folder below the temporary folder where Save As writes the frame icons of an animation it
// joins or splits; only the files of that run are deleted again.
std::string FrameFolder();
