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

namespace {

// Decimal digits with at most one "." between digits: what the index writes as a library.
bool IsLibraryNumber(const std::string& text) {
    const size_t dot = text.find('.');
    auto digits = [](const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (dot == std::string::npos) return digits(text);
    return digits(text.substr(0, dot)) && digits(text.substr(dot + 1));
}

}  // namespace

std::string LibraryPicturePath(const std::string& library) {
    if (!IsLibraryNumber(library)) return {};
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
