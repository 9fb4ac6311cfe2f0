// Extraction of one archive entry into a folder, safe against names that would leave it.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "formats/Result.h"
#include "formats/ZipReader.h"

namespace formats {

// The entry name as a path relative to a target folder, or nullopt when it could lead outside it
// or is not a plain file name on Windows: absolute paths, drive letters, ":" streams, ".." and
// other components ending in "." or " ", device names (CON, NUL, COM1...), empty components, and
// any byte outside printable ASCII. "/" and "\" both separate folders.
std::optional<std::filesystem::path> SafeEntryPath(std::string_view name);

struct Extracted {
    std::filesystem::path file;  // where the entry is (or already was)
    bool written = false;        // false: an existing file was kept because overwrite was off
};

// Extracts entry `index` below `folder` (created when missing). The content is checked (password,
// CRC) before anything is written; it is written to a temporary name of this program's own in
// the target's folder and renamed into place only when complete, so a failure leaves no partial
// file and no earlier file damaged.
Result<Extracted> ExtractEntry(const ZipArchive& archive, std::size_t index, const std::filesystem::path& folder,
                               std::string_view password, bool overwrite);

}  // namespace formats
