// The check a picture file passes before the system's picture loader sees its bytes: GIF, JPEG,
// Windows metafile (placeable or plain) and enhanced metafile, by their headers and the sizes they
// declare. Bitmaps are not among them: the program reads those itself.
#pragma once

#include <cstdint>

#include "formats/Bytes.h"
#include "formats/Result.h"

namespace formats {

// Files larger than this are not handed to the system's loader.
inline constexpr std::uint64_t kMaxPictureFileBytes = 64ull << 20;

enum class PictureKind { Gif, Jpeg, Wmf, Emf };

struct PictureHeader {
    PictureKind kind = PictureKind::Gif;
    // Pixels for GIF and JPEG; the declared extent for metafiles (placeable: logical units of its
    // box; plain: 0 x 0, none declared; enhanced: the frame in 0.01 mm).
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Recognises the kind by the file's first bytes and checks it:
// - GIF: signature, a logical screen of 1 to kMaxImageSide pixels a side, the colour tables and
//   blocks inside the file up to the end of the first picture, whose size is also sane;
// - JPEG: SOI, every marker segment inside the file up to a frame header (SOFn) with sane
//   dimensions and components, then a scan and an EOI marker;
// - WMF: the placeable header's checksum and box, the metafile header's sizes within the file, and
//   records that end with the end record inside it;
// - EMF: the header record's signature and sizes, nBytes within the file, a sane frame, and records
//   that end with EMR_EOF inside nBytes.
// Anything else, or a file over kMaxPictureFileBytes, fails.
Result<PictureHeader> CheckPicture(ByteSpan file);

}  // namespace formats
