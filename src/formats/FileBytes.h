// Whole-file reads and writes with a size limit, for the readers and writers of this folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "formats/Bytes.h"
#include "formats/Result.h"

namespace formats {

// The file's bytes; fails when it cannot be opened or holds more than maxBytes.
Result<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& file, std::uint64_t maxBytes);

// Creates or replaces the file with the bytes; fails when any byte cannot be written.
Result<void> WriteFileBytes(const std::filesystem::path& file, ByteSpan bytes);

}  // namespace formats
