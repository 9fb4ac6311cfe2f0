// Extraction of one archive entry: name sanitising, temporary file, rename into place.
#include "formats/ZipExtract.h"

#include <array>
#include <cstdio>
#include <random>
#include <system_error>

#include "formats/FileBytes.h"

namespace formats {

namespace {

namespace fs = std::filesystem;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Windows opens a device, not a file, for these names, with or without an extension.
bool IsDeviceName(std::string_view component) {
    std::string stem;
    for (char c : component.substr(0, component.find('.'))) stem += Upper(c);
    static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
    for (auto d : kPlain)
        if (stem == d) return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '0' &&
           stem[3] <= '9';
}

bool SafeComponent(std::string_view c) {
    if (c.empty() || c.size() > 255) return false;
    // Windows drops trailing dots and spaces, so "..", "..." and ".. " would all name the parent.
    if (c.back() == '.' || c.back() == ' ') return false;
    return !IsDeviceName(c);
}

// A name of this program's own for the file being written, unlikely to meet any other file.
fs::path TemporaryName(const fs::path& folder) {
    thread_local std::mt19937 random{std::random_device{}()};
    char name[32];
    std::snprintf(name, sizeof name, "~ornavale-%08x.tmp", static_cast<unsigned>(random()));
    return folder / name;
}

}  // namespace

std::optional<fs::path> SafeEntryPath(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') return std::nullopt;
    for (char c : name) {
        if (c < 0x20 || c > 0x7E) return std::nullopt;
        if (std::string_view(":*?\"<>|").find(c) != std::string_view::npos) return std::nullopt;
    }
    fs::path relative;
    std::size_t start = 0;
    for (;;) {
        std::size_t stop = name.find_first_of("/\\", start);
        std::string_view component = name.substr(start, stop == std::string_view::npos ? stop : stop - start);
        if (!SafeComponent(component)) return std::nullopt;
        relative /= std::string(component);
        if (stop == std::string_view::npos) break;
        start = stop + 1;
    }
    return relative;
}

Result<Extracted> ExtractEntry(const ZipArchive& archive, std::size_t index, const fs::path& folder,
                               std::string_view password, bool overwrite) {
    if (index >= archive.Entries().size()) return Fail("no such entry");
    const ZipEntry& entry = archive.Entries()[index];
    if (entry.IsFolder()) return Fail("the entry is a folder: " + entry.name);
    auto relative = SafeEntryPath(entry.name);
    if (!relative) return Fail("unsafe entry name: " + entry.name);
    fs::path target = folder / *relative;

    std::error_code ec;
    fs::file_status status = fs::symlink_status(target, ec);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status)) return Fail("the target exists and is not a file: " + entry.name);
        if (!overwrite) return Extracted{target, false};
    }

    auto content = archive.Read(index, password);
    if (!content) return Fail(entry.name + ": " + content.error());

    fs::path parent = target.parent_path();
    fs::create_directories(parent, ec);
    if (ec || !fs::is_directory(parent, ec)) return Fail("cannot create the folder for " + entry.name);

    fs::path temporary = TemporaryName(parent);
    if (fs::exists(temporary, ec)) return Fail("cannot choose a temporary file name");
    auto written = WriteFileBytes(temporary, content.value());
    if (written) {
        fs::rename(temporary, target, ec);
        if (!ec) return Extracted{target, true};
    }
    fs::remove(temporary, ec);
    return Fail("cannot write " + entry.name);
}

}  // namespace formats
