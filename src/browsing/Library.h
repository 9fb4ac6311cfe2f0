// The state of the catalogue's library pictures: the archive chosen last and the library loaded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern std::string gArchiveName;  // the archive of the last extraction
extern std::string gLoadedLib;    // the library whose picture picBMP holds
extern bool gLibPresent;          // the picture of the last library asked for is there and loaded
extern int16_t gUnzipResult;      // what the last unzip call answered; nothing reads it

// The extracted picture of a library: "<library>.lib" in the program's own folder of extracted
// libraries. Empty for a text that is no library number (formats::IsLibraryNumber): it could name
// another file.
std::string LibraryPicturePath(const std::string& library);

// Reads the directory of each library archive in the program folder again, for the sizes of the
// pictures it holds, and makes the folder of extracted pictures. Answers what would keep the
// catalogue's icons from showing, a line each: an archive that is there but damaged, and a folder
// for the pictures that cannot be written.
std::vector<std::string> CheckLibraryArchives();
