// Icon groups of programs, libraries and icon libraries (PE and NE files), counted from the headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "formats/Result.h"

namespace formats {

// Reads up to `size` bytes at `offset` of the file into `out` (fewer at the end of the file); false when the read fails.
using ReadAt = std::function<bool(std::uint64_t offset, std::size_t size, std::vector<std::uint8_t>& out)>;

// The number of icon groups (resource type 14, RT_GROUP_ICON) of a 32- or 64-bit PE file or a 16-bit NE file,
// as the shell counts them for an index of -1. An error for anything it cannot read as either.
// Reads only the headers and the resource directory, a few small reads; an error never stands for a
// count, so the caller can fall back to the shell whenever it gets one.
Result<std::int32_t> CountIconGroups(const ReadAt& read);

}  // namespace formats
