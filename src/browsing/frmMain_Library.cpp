// The catalogue's library pictures: extracted from their archive once, loaded into picBMP when
// another library is asked for.
#include "mainwindow/FrmMain.h"

#include <cstdlib>

#include "browsing/Library.h"
#include "core/Files.h"
#include "core/Global.h"
#include "formats/Catalogue.h"
#include "formats/Unzip.h"

std::string gArchiveName;
std::string gLoadedLib;
bool gLibPresent = false;
int16_t gUnzipResult = 0;

std::string LibraryPicturePath(const std::string& library) {
    if (!formats::IsLibraryNumber(library)) return {};
    return ExtractedLibraryFolder() + formats::LibraryEntryName(library);
}

void FrmMain::procExtractLibrary(const std::string& lib) {
    const std::string picture = LibraryPicturePath(lib);
    if (picture.empty()) {
        gLibPresent = false;
        return;
    }
    gLibPresent = true;
    // The cells of a page come library by library: the picture in memory serves the whole run
    // without asking the disk again.
    if (lib == gLoadedLib && picBMP.HasPicture()) return;
    if (!FileExists(picture)) {
        // A library outside the table comes from the archive used last.
        if (auto archive = formats::ArchiveForLibrary(std::strtod(lib.c_str(), nullptr))) gArchiveName = *archive;
        formats::UnzipSession unzip;
        gUnzipResult = unzip.addUNZIP_ArchiveName(WidePath(gAppPath + gArchiveName));
        gUnzipResult = unzip.addUNZIP_Decrypt(std::string(formats::kLibraryPassword));
        gUnzipResult = unzip.addUNZIP_Include(formats::LibraryEntryName(lib));
        gUnzipResult = unzip.addUNZIP_ExtractTo(WidePath(ExtractedLibraryFolder()));
        gUnzipResult = unzip.addUNZIP_Overwrite(11);
        gUnzipResult = static_cast<int16_t>(unzip.addUNZIP());
        if (!FileExists(picture)) gLibPresent = false;
    }
    // A picture that cannot be read leaves the one loaded before, so no cell may be cut from it
    // for this library; the next request tries again.
    if (gLibPresent && lib != gLoadedLib) {
        if (picBMP.LoadPicture(picture)) gLoadedLib = lib;
        else gLibPresent = false;
    }
}
