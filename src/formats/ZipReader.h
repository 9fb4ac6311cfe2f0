// Reads ZIP archives: the central directory, stored and deflated entries, traditional encryption.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Bytes.h"
#include "formats/Result.h"

namespace formats {

// No entry is inflated beyond this; a larger declared size is refused before any work.
inline constexpr std::uint64_t kMaxZipEntrySize = 256ull << 20;
// Archives are read whole into memory; the catalogue's are a few megabytes.
inline constexpr std::uint64_t kMaxZipArchiveSize = 256ull << 20;

enum class ZipMethod : std::uint16_t { Stored = 0, Deflated = 8 };

struct ZipEntry {
    std::string name;  // as stored in the archive; "/" separates folders
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t modTime = 0;  // MS-DOS time and date
    std::uint16_t modDate = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compressedSize = 0;  // with the 12-byte encryption header when encrypted
    std::uint32_t uncompressedSize = 0;
    std::uint32_t localHeaderOffset = 0;

    bool Encrypted() const { return (flags & 1) != 0; }
    bool IsFolder() const { return !name.empty() && (name.back() == '/' || name.back() == '\\'); }
};

class ZipArchive {
  public:
    // Parses the archive's central directory. Refuses ZIP64, multi-part archives and any
    // record that does not lie wholly inside the bytes.
    static Result<ZipArchive> Open(std::vector<std::uint8_t> bytes);
    static Result<ZipArchive> OpenFile(const std::filesystem::path& file);
    // The entries of an archive file as OpenFile lists them, from its end record and central
    // directory alone: the entries' data is not read. Fails as OpenFile does on a damaged or
    // truncated archive.
    static Result<std::vector<ZipEntry>> ReadDirectory(const std::filesystem::path& file);

    const std::vector<ZipEntry>& Entries() const { return entries_; }

    // The first entry whose name equals `name`, ASCII letters compared without regard to case.
    std::optional<std::size_t> Find(std::string_view name) const;

    // The content of entry `index`: decrypted with `password` when the entry is encrypted,
    // inflated, and checked against its CRC-32. Fails cleanly on a wrong password, damaged data,
    // or a declared size above maxSize.
    Result<std::vector<std::uint8_t>> Read(std::size_t index, std::string_view password = {},
                                           std::uint64_t maxSize = kMaxZipEntrySize) const;

  private:
    ZipArchive() = default;

    std::vector<std::uint8_t> bytes_;
    std::vector<ZipEntry> entries_;
};

}  // namespace formats
