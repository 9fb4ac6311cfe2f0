// Bitmap info headers, colour masks, colour tables and rows, with every size checked before use.
#include "formats/Dib.h"

#include <algorithm>
#include <bit>
#include <string>

namespace formats {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitfields = 3;

}  // namespace

std::optional<BitfieldChannel> BitfieldChannel::From(std::uint32_t mask) {
    BitfieldChannel c;
    c.mask = mask;
    if (mask == 0) return c;
    c.shift = std::countr_zero(mask);
    std::uint32_t field = mask >> c.shift;
    if ((field & (field + 1)) != 0) return std::nullopt;
    c.bits = std::popcount(field);
    return c;
}

std::uint8_t BitfieldChannel::Get(std::uint32_t pixel, std::uint8_t absent) const {
    if (bits == 0) return absent;
    std::uint32_t field = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<std::uint8_t>(field >> (bits - 8));
    return static_cast<std::uint8_t>(field * 255 / ((1u << bits) - 1));
}

Result<DibInfo> ReadDibInfo(ByteSpan dib) {
    auto headerSize = ReadU32(dib, 0);
    if (!headerSize) return Fail("the bitmap header is cut short");
    if (*headerSize < kInfoHeaderSize) return Fail("old-style (OS/2) bitmaps are not supported");
    if (!InRange(0, *headerSize, dib.size())) return Fail("the bitmap header is cut short");

    DibInfo info;
    info.headerSize = *headerSize;
    info.width = *ReadI32(dib, 4);
    info.height = *ReadI32(dib, 8);
    info.bitCount = *ReadU16(dib, 14);
    const std::uint32_t compression = *ReadU32(dib, 16);
    const std::uint32_t colorsUsed = *ReadU32(dib, 32);
    const std::uint16_t bitCount = info.bitCount;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return Fail("bitmaps of " + std::to_string(bitCount) + " bits per pixel are not supported");
    if (compression == kBitfields ? bitCount != 32 : compression != kRgb)
        return Fail("compressed bitmaps are not supported");

    info.tableEnd = *headerSize;
    if (compression == kBitfields) {
        info.bitfields = true;
        // The masks follow a plain info header, or are its fields in the longer headers.
        if (*headerSize == kInfoHeaderSize) info.tableEnd += 12;
        if (!InRange(0, info.tableEnd, dib.size())) return Fail("the colour masks are cut short");
        auto r = BitfieldChannel::From(*ReadU32(dib, 40)), g = BitfieldChannel::From(*ReadU32(dib, 44)),
             b = BitfieldChannel::From(*ReadU32(dib, 48));
        auto a = BitfieldChannel::From(*headerSize >= 56 ? *ReadU32(dib, 52) : 0);
        if (!r || !g || !b || !a) return Fail("the colour masks are not valid");
        info.red = *r, info.green = *g, info.blue = *b, info.alpha = *a;
    }

    // The table holds biClrUsed entries (at most 256), or a full palette when that is 0; a table
    // may precede even 24- and 32-bit pixels, which then start after it.
    const std::uint32_t tableEntries =
        colorsUsed != 0 ? std::min<std::uint32_t>(colorsUsed, 256) : bitCount <= 8 ? 1u << bitCount : 0;
    if (bitCount <= 8) {
        const std::uint32_t indexable = std::min(tableEntries, 1u << bitCount);
        if (!InRange(info.tableEnd, indexable * 4ull, dib.size())) return Fail("the palette is cut short");
        info.palette.reserve(indexable);
        for (std::uint32_t i = 0; i < indexable; ++i) {
            const std::size_t at = static_cast<std::size_t>(info.tableEnd) + i * 4;
            info.palette.push_back(Pixel{dib[at], dib[at + 1], dib[at + 2], 255});
        }
    }
    info.tableEnd += tableEntries * 4ull;
    return info;
}

Result<Image> DecodeDibRows(const DibInfo& info, ByteSpan bits, std::int32_t rows) {
    const std::uint64_t stride = info.Stride();
    if (info.width <= 0 || rows <= 0 || !InRange(0, stride * static_cast<std::uint64_t>(rows), bits.size()))
        return Fail("the pixel data is cut short");

    Image image(info.width, rows);
    for (std::int32_t row = 0; row < rows; ++row) {
        const std::int32_t y = info.TopDown() ? row : rows - 1 - row;
        const std::uint8_t* src = bits.data() + stride * static_cast<std::uint64_t>(row);
        Pixel* out = &image.At(0, y);
        for (std::int32_t x = 0; x < info.width; ++x) {
            Pixel& p = out[x];
            switch (info.bitCount) {
                case 1:
                case 4:
                case 8: {
                    const unsigned index = DibIndex(src, x, info.bitCount);
                    // An index past the palette draws black, as Windows does.
                    p = index < info.palette.size() ? info.palette[index] : Pixel{0, 0, 0, 255};
                    break;
                }
                case 24:
                    p = Pixel{src[x * 3], src[x * 3 + 1], src[x * 3 + 2], 255};
                    break;
                case 32: {
                    const std::uint8_t* q = src + static_cast<std::size_t>(x) * 4;
                    if (!info.bitfields) {
                        p = Pixel{q[0], q[1], q[2], q[3]};
                    } else {
                        const std::uint32_t v =
                            q[0] | q[1] << 8 | q[2] << 16 | static_cast<std::uint32_t>(q[3]) << 24;
                        p = Pixel{info.blue.Get(v, 0), info.green.Get(v, 0), info.red.Get(v, 0),
                                  info.alpha.Get(v, 0)};
                    }
                    break;
                }
            }
        }
    }
    return image;
}

}  // namespace formats
