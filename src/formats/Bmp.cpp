// Bitmap file reading and writing, with every size checked against the file before use.
#include "formats/Bmp.h"

#include <algorithm>

#include "formats/Dib.h"
#include "formats/FileBytes.h"

namespace formats {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;

bool ValidSize(std::int64_t w, std::int64_t h) {
    return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide && w * h <= kMaxImagePixels;
}

Result<std::vector<std::uint8_t>> Write(const Image& image, int bitCount) {
    if (!ValidSize(image.width, image.height) ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return Fail("the picture's size is not valid");
    const std::size_t bytesPerPixel = static_cast<std::size_t>(bitCount) / 8;
    const std::size_t stride = (image.width * bytesPerPixel + 3) / 4 * 4;
    const std::size_t dataSize = stride * static_cast<std::size_t>(image.height);
    const std::size_t offset = kFileHeaderSize + kInfoHeaderSize;
    if (offset + dataSize > 0xFFFFFFFFu) return Fail("the picture is too large for a bitmap file");

    std::vector<std::uint8_t> out;
    out.reserve(offset + dataSize);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(offset + dataSize));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(offset));
    PutU32(out, kInfoHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(image.width));
    PutU32(out, static_cast<std::uint32_t>(image.height));  // positive: bottom-up
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint32_t>(bitCount));
    PutU32(out, kRgb);
    PutU32(out, static_cast<std::uint32_t>(dataSize));
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    for (std::int32_t y = image.height; y-- > 0;) {
        std::size_t rowStart = out.size();
        for (std::int32_t x = 0; x < image.width; ++x) {
            const Pixel& p = image.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
            if (bitCount == 32) out.push_back(p.a);
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

}  // namespace

Result<Image> ReadBmp(ByteSpan f) {
    if (!HasTag(f, 0, "BM")) return Fail("not a bitmap file");
    auto dataOffset = ReadU32(f, 10);
    if (!dataOffset) return Fail("the bitmap header is cut short");
    auto info = ReadDibInfo(f.subspan(kFileHeaderSize));
    if (!info) return Error{info.error()};

    const std::int64_t height = info->TopDown() ? -static_cast<std::int64_t>(info->height) : info->height;
    if (!ValidSize(info->width, height)) return Fail("the bitmap's size is not valid");
    if (*dataOffset < kFileHeaderSize + kInfoHeaderSize) return Fail("the pixel data overlaps the header");
    if (*dataOffset > f.size()) return Fail("the pixel data is cut short");
    auto image = DecodeDibRows(*info, f.subspan(*dataOffset), static_cast<std::int32_t>(height));
    if (!image) return image;

    // All-zero alpha means a writer that left it unset: such pictures are opaque.
    if (info->bitCount == 32 && std::none_of(image->pixels.begin(), image->pixels.end(),
                                             [](const Pixel& p) { return p.a != 0; }))
        for (Pixel& p : image->pixels) p.a = 255;
    return image;
}

Result<Image> ReadBmpFile(const std::filesystem::path& file) {
    // The largest picture we accept, at 32 bits, with room for headers and a palette.
    auto bytes = ReadFileBytes(file, static_cast<std::uint64_t>(kMaxImagePixels) * 4 + 4096);
    if (!bytes) return Fail("cannot read the bitmap: " + bytes.error());
    return ReadBmp(bytes.value());
}

Result<std::vector<std::uint8_t>> WriteBmp24(const Image& image) { return Write(image, 24); }
Result<std::vector<std::uint8_t>> WriteBmp32(const Image& image) { return Write(image, 32); }

}  // namespace formats
