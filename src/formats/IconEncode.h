// Writing 32 x 32 icons and cursors at 16 colours, 256 colours or high colour, and animated cursors
// of such files. The layout is fixed, so that a file's size tells its depth: 766 bytes at 16 colours,
// 2238 at 256, 3262 at high colour (stored as 24 bits a pixel).
#pragma once

#include <cstdint>
#include <vector>

#include "formats/Bytes.h"
#include "formats/IconFile.h"
#include "formats/IconPicture.h"
#include "formats/Result.h"

namespace formats {

inline constexpr std::int32_t kWrittenIconSide = 32;

// The file size of a written icon or cursor at each depth the callers name.
inline constexpr std::size_t kIconFileBytes16 = 766;
inline constexpr std::size_t kIconFileBytes256 = 2238;
inline constexpr std::size_t kIconFileBytesHi = 3262;

// The bits a pixel a depth is stored at: 4 and 8 as named, 16 ("high colour") as 24. 0 when the
// depth is none of 4, 8 and 16.
int StoredBitCount(int bitCount);

// The picture's colours keep their values when it has at most 16 (4 bits) or 256 (8 bits) distinct
// ones; more are reduced to that many, each pixel taking the nearest. A transparent black pixel
// stays black. Alpha is not written: every colour is opaque.
// The picture must be 32 x 32 with `color` and `mask` of that size; a cursor's hotspot must lie in
// it. Icons ignore the hotspot.
Result<std::vector<std::uint8_t>> EncodeIconFile(const IconPicture& picture, int bitCount, IconKind kind,
                                                 std::int32_t hotX = 0, std::int32_t hotY = 0);

// An animated cursor (RIFF "ACON") of the frame files in order, one step a frame with its rate in
// 1/60 s. Each frame must read as an icon or cursor file; an icon frame is stored as a cursor with
// its hotspot in the middle (16, 16). Refused without frames or when the rates do not match them.
Result<std::vector<std::uint8_t>> EncodeAni(const std::vector<ByteSpan>& frames, const std::vector<std::uint32_t>& rates);

}  // namespace formats
