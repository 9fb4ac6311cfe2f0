// The pixels of one icon or cursor image, and the image drawn over a plain background.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/Bmp.h"
#include "formats/Bytes.h"
#include "formats/Result.h"

namespace formats {

// Icon images wider or taller than this are left to the system to draw.
inline constexpr std::int32_t kMaxIconSide = 256;

// One icon or cursor image as stored in its file: rows from top to bottom, `width` pixels each.
struct IconPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Pixel> color;        // alpha as stored at 32 bits; 255 at other depths
    std::vector<std::uint8_t> mask;  // the AND mask: 1 where the background shows through, else 0
    bool hasAlpha = false;           // 32 bits with some alpha not 0: drawn by its alpha, mask unused
};

// Decodes the bytes of one image (IconImageBytes): a bitmap info header with doubled height, its
// colour table, the colour bits and the AND mask. A mask not wholly present counts as all 0
// (opaque), as the system treats it. PNG images are refused; the caller draws those another way.
Result<IconPicture> DecodeIconImage(ByteSpan imageBytes);

// The image drawn at its own size over a background of one colour, as DrawIconEx draws it with
// DI_NORMAL: rows from top to bottom, three bytes a pixel in the order blue, green, red, no padding.
// An image with alpha is blended over the background; any other is (background AND mask) XOR
// colour. Empty when the picture's vectors do not match its size.
std::vector<std::uint8_t> ComposeIcon(const IconPicture& picture, std::uint8_t backB, std::uint8_t backG,
                                      std::uint8_t backR);

// A copy of one image's bytes that the system can be given to draw (CreateIconFromResourceEx): the
// images the program does not draw itself, other sizes, PNG streams and 16-bit pixels. A bitmap must
// have a full header and colour table, a size of at most kMaxIconSide and a depth and compression the
// system reads; colour bits or mask cut short are padded with zeros, so that nothing the system
// reads lies past the copy. A PNG stream must start with its signature and a valid "IHDR" chunk.
Result<std::vector<std::uint8_t>> IconImageForSystem(ByteSpan imageBytes);

}  // namespace formats
