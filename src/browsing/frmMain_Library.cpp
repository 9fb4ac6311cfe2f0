// The catalogue's library pictures: extracted from their archive once, loaded into picBMP when
// another library is asked for.
#include "mainwindow/FrmMain.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "browsing/Library.h"
#include "common/OpenPaths.h"
#include "core/Files.h"
#include "core/Global.h"
#include "formats/Catalogue.h"
#include "formats/Unzip.h"
#include "formats/ZipReader.h"
#include "ui/Unique.h"

std::string gArchiveName;
std::string gLoadedLib;
bool gLibPresent = false;
int16_t gUnzipResult = 0;

namespace {

struct ArchiveDirectory {
    bool damaged = false;                        // the file is there, but no archive can be read from it
    std::map<std::string, std::uint32_t> sizes;  // each picture's size by its entry name in lower case
};

std::map<std::string, ArchiveDirectory>& Directories() {
    static std::map<std::string, ArchiveDirectory> directories;  // by the archive's path
    return directories;
}

const ArchiveDirectory& ReadDirectory(const std::string& archive) {
    ArchiveDirectory& directory = Directories()[archive] = {};
    auto entries = formats::ZipArchive::ReadDirectory(WidePath(archive));
    if (!entries) {
        directory.damaged = GetFileAttributesA(archive.c_str()) != INVALID_FILE_ATTRIBUTES;
        return directory;
    }
    for (const formats::ZipEntry& entry : *entries) directory.sizes[LowerAnsi(entry.name)] = entry.uncompressedSize;
    return directory;
}

// Read once in a run: at the start's check, or when a picture is first found on disk.
const ArchiveDirectory& DirectoryOf(const std::string& archive) {
    auto known = Directories().find(archive);
    return known != Directories().end() ? known->second : ReadDirectory(archive);
}

// The size of a file, opened as FileExists opens it; nullopt when there is none.
std::optional<std::uint64_t> FileSize(const std::string& path) {
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!f || !GetFileSizeEx(f.get(), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

// Whether the picture on disk serves: it is there with the size its archive's directory gives. One
// of another size was cut short (an extraction that never ended, in an earlier run) and is removed;
// without a readable archive, the picture there is all there is.
bool PictureOnDiskServes(const std::string& picture, const std::string& archive, const std::string& lib) {
    const auto size = FileSize(picture);
    if (!size) return false;
    const ArchiveDirectory& directory = DirectoryOf(gAppPath + archive);
    const auto expected = directory.sizes.find(LowerAnsi(formats::LibraryEntryName(lib)));
    if (expected == directory.sizes.end() || expected->second == *size) return true;
    DeleteFileA(picture.c_str());
    return false;
}

// Whether files can be made in the folder (ending in "\"), made first when missing.
bool CanWriteInto(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(WidePath(folder), ec);
    UniqueFile probe(CreateFileA((folder + "~ornavale-probe.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(probe);
}

}  // namespace

std::vector<std::string> CheckLibraryArchives() {
    std::vector<std::string> problems;
    bool readable = false;
    for (int n = 0; n <= 9; ++n) {
        const std::string name = n == 0 ? "Iconlib.res" : "Iconlib" + std::to_string(n) + ".res";
        const ArchiveDirectory& directory = ReadDirectory(gAppPath + name);
        if (directory.damaged) problems.push_back(name + " is damaged: its icons will show as placeholders.");
        readable = readable || !directory.sizes.empty();
    }
    const std::string folder = ExtractedLibraryFolder();
    if (readable && !CanWriteInto(folder))
        problems.push_back("The catalogue's pictures cannot be written into " + folder +
                           ": its icons will show as placeholders.");
    return problems;
}

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
    // A library outside the table comes from the archive used last.
    const std::string archive =
        formats::ArchiveForLibrary(std::strtod(lib.c_str(), nullptr)).value_or(gArchiveName);
    if (!PictureOnDiskServes(picture, archive, lib)) {
        gArchiveName = archive;
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
