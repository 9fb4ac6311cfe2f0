// The device-independent bitmap layout that bitmap files and icon images share: the info header with
// its colour masks and colour table, and the pixels of its rows.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "formats/Bmp.h"
#include "formats/Bytes.h"
#include "formats/Result.h"

namespace formats {

// Bytes in one stored row of `width` pixels at `bitCount` bits: rows are padded to four bytes.
constexpr std::uint64_t DibStride(std::int64_t width, int bitCount) {
    return (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
}

// The palette index of pixel `x` in a row of 1-, 4- or 8-bit pixels; the leftmost pixel of a byte
// is in its high bits.
inline unsigned DibIndex(const std::uint8_t* row, std::int32_t x, int bitCount) {
    const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount);
    return (row[bit / 8] >> (8 - bitCount - static_cast<int>(bit % 8))) & ((1u << bitCount) - 1);
}

// One colour channel of a BI_BITFIELDS pixel: where its bits are and how many.
struct BitfieldChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    // Nothing when the mask's bits are not contiguous.
    static std::optional<BitfieldChannel> From(std::uint32_t mask);
    // The channel scaled to eight bits; `absent` when the mask is empty.
    std::uint8_t Get(std::uint32_t pixel, std::uint8_t absent) const;
};

struct DibInfo {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // as stored: negative when the rows run from top to bottom
    std::uint16_t bitCount = 0;
    bool bitfields = false;
    BitfieldChannel red, green, blue, alpha;
    std::vector<Pixel> palette;  // the colours a pixel can name, opaque
    std::uint64_t tableEnd = 0;  // bytes from the header's start past its masks and whole colour table

    bool TopDown() const { return height < 0; }
    std::uint64_t Stride() const { return DibStride(width, bitCount); }
};

// Reads the info header at the start of `dib` (40 bytes or longer) with its masks and the part of
// its colour table that pixels can index: BI_RGB at 1, 4, 8, 24 or 32 bits, or 32-bit BI_BITFIELDS.
// Width and height are not checked here: each caller bounds them its own way.
Result<DibInfo> ReadDibInfo(ByteSpan dib);

// The `rows` rows of `info.width` pixels at the start of `bits`, top row first whichever way they
// are stored. Palette and 24-bit pixels are opaque; 32-bit ones keep their stored alpha, 0 where
// the masks give no alpha channel. Fails when `bits` is too short.
Result<Image> DecodeDibRows(const DibInfo& info, ByteSpan bits, std::int32_t rows);

}  // namespace formats
