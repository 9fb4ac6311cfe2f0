// Windows bitmap files: reading 1/4/8/24/32-bit uncompressed pictures, writing 24- and 32-bit ones.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "formats/Bytes.h"
#include "formats/Result.h"

namespace formats {

// Pictures larger than this on either side, or with more pixels in all, are refused.
inline constexpr std::int32_t kMaxImageSide = 32768;
inline constexpr std::int64_t kMaxImagePixels = 64ll << 20;

struct Pixel {
    std::uint8_t b = 0, g = 0, r = 0, a = 255;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A picture in memory: rows from top to bottom, each `width` pixels.
struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Pixel> pixels;

    Image() = default;
    Image(std::int32_t w, std::int32_t h, Pixel fill = {})
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}
    Pixel& At(std::int32_t x, std::int32_t y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Pixel& At(std::int32_t x, std::int32_t y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Reads a bitmap file: BI_RGB at 1, 4, 8, 24 or 32 bits per pixel, stored bottom-up or top-down,
// and 32-bit BI_BITFIELDS. Palette pictures and 24-bit ones come back opaque; 32-bit ones keep
// their alpha unless it is zero throughout (then they are opaque, as most writers mean).
Result<Image> ReadBmp(ByteSpan file);
Result<Image> ReadBmpFile(const std::filesystem::path& file);

// A bottom-up BI_RGB bitmap file of the image: 24-bit drops alpha, 32-bit keeps it.
Result<std::vector<std::uint8_t>> WriteBmp24(const Image& image);
Result<std::vector<std::uint8_t>> WriteBmp32(const Image& image);

}  // namespace formats
