// Icon (.ico) and cursor (.cur) files: the directory of images and each image's bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/Bytes.h"
#include "formats/Result.h"

namespace formats {

enum class IconKind : std::uint16_t { Icon = 1, Cursor = 2 };

struct IconImage {
    std::int32_t width = 0;   // pixels; a 0 in the directory means 256
    std::int32_t height = 0;
    std::int32_t colorCount = 0;  // 0 for 256 colours or more
    std::int32_t planes = 0;      // icons only
    std::int32_t bitCount = 0;    // icons only; often 0 in old files, see dibBitCount
    std::int32_t hotspotX = 0;    // cursors only
    std::int32_t hotspotY = 0;
    std::uint32_t bytes = 0;   // size of the image data
    std::uint32_t offset = 0;  // where it starts in the file
    bool png = false;          // the data is a PNG stream, not a device-independent bitmap
    std::int32_t dibBitCount = 0;  // bits per pixel from the bitmap header; 0 for PNG
};

struct IconDirectory {
    IconKind kind = IconKind::Icon;
    std::vector<IconImage> images;  // never empty
};

// Reads the header and the directory entries; every image's data must lie wholly inside the file
// and after the directory. A file with no image is refused.
Result<IconDirectory> ReadIconDirectory(ByteSpan file);

// The data of image `index` (a bitmap header and its bits, or a PNG stream).
Result<ByteSpan> IconImageBytes(ByteSpan file, const IconDirectory& directory, std::size_t index);

}  // namespace formats
