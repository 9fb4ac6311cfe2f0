// The state of the catalogue's library pictures: the archive chosen last and the library loaded.
#pragma once

#include <cstdint>
#include <string>

extern std::string gArchiveName;  // the archive of the last extraction
extern std::string gLoadedLib;    // the library whose picture picBMP holds
extern bool gLibPresent;          // the picture of the last library asked for is there and loaded
extern int16_t gUnzipResult;      // what the last unzip call answered; nothing reads it

// The extracted picture of a library: "<library>.lib" in the program's own folder of extracted
// libraries. Empty for a text that is no library number (formats::IsLibraryNumber): it could name
// another file.
std::string LibraryPicturePath(const std::string& library);
