// Bitmap file reading and writing, with every size checked against the file before use.
#include "formats/Bmp.h"

#include <bit>

#include "formats/FileBytes.h"

namespace formats {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitfields = 3;

// One colour channel of a BI_BITFIELDS pixel: where its bits are and how many.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    static std::optional<Channel> From(std::uint32_t mask) {
        Channel c;
        c.mask = mask;
        if (mask == 0) return c;
        c.shift = std::countr_zero(mask);
        std::uint32_t field = mask >> c.shift;
        if ((field & (field + 1)) != 0) return std::nullopt;  // the bits must be contiguous
        c.bits = std::popcount(field);
        return c;
    }

    std::uint8_t Get(std::uint32_t v, std::uint8_t absent) const {
        if (bits == 0) return absent;
        std::uint32_t field = (v & mask) >> shift;
        if (bits >= 8) return static_cast<std::uint8_t>(field >> (bits - 8));
        return static_cast<std::uint8_t>(field * 255 / ((1u << bits) - 1));
    }
};

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
    auto headerSize = ReadU32(f, kFileHeaderSize);
    if (!dataOffset || !headerSize) return Fail("the bitmap header is cut short");
    if (*headerSize < kInfoHeaderSize) return Fail("old-style (OS/2) bitmaps are not supported");
    if (!InRange(kFileHeaderSize, *headerSize, f.size())) return Fail("the bitmap header is cut short");

    std::int32_t width = *ReadI32(f, 18);
    std::int32_t rawHeight = *ReadI32(f, 22);
    std::uint16_t bitCount = *ReadU16(f, 28);
    std::uint32_t compression = *ReadU32(f, 30);
    std::uint32_t colorsUsed = *ReadU32(f, 46);

    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
    if (!ValidSize(width, height)) return Fail("the bitmap's size is not valid");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return Fail("bitmaps of " + std::to_string(bitCount) + " bits per pixel are not supported");
    if (compression == kBitfields ? bitCount != 32 : compression != kRgb)
        return Fail("compressed bitmaps are not supported");

    std::uint64_t extrasEnd = kFileHeaderSize + *headerSize;
    Channel red, green, blue, alpha;
    if (compression == kBitfields) {
        // The masks follow a plain info header, or are its fields in the longer headers.
        if (*headerSize == kInfoHeaderSize) extrasEnd += 12;
        if (!InRange(0, extrasEnd, f.size())) return Fail("the colour masks are cut short");
        auto r = Channel::From(*ReadU32(f, 54)), g = Channel::From(*ReadU32(f, 58)),
             b = Channel::From(*ReadU32(f, 62));
        auto a = Channel::From(*headerSize >= 56 ? *ReadU32(f, 66) : 0);
        if (!r || !g || !b || !a) return Fail("the colour masks are not valid");
        red = *r, green = *g, blue = *b, alpha = *a;
    }

    std::vector<Pixel> palette;
    if (bitCount <= 8) {
        std::uint32_t maxColors = 1u << bitCount;
        std::uint32_t count = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
        if (!InRange(extrasEnd, count * 4ull, f.size())) return Fail("the palette is cut short");
        for (std::uint32_t i = 0; i < count; ++i) {
            std::size_t at = static_cast<std::size_t>(extrasEnd) + i * 4;
            palette.push_back(Pixel{f[at], f[at + 1], f[at + 2], 255});
        }
        extrasEnd += count * 4ull;
    }

    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    if (*dataOffset < kFileHeaderSize + kInfoHeaderSize) return Fail("the pixel data overlaps the header");
    if (!InRange(*dataOffset, stride * static_cast<std::uint64_t>(height), f.size()))
        return Fail("the pixel data is cut short");

    Image image(width, static_cast<std::int32_t>(height));
    bool anyAlpha = false;
    for (std::int32_t row = 0; row < image.height; ++row) {
        std::int32_t y = topDown ? row : image.height - 1 - row;
        const std::uint8_t* src = f.data() + *dataOffset + stride * static_cast<std::uint64_t>(row);
        for (std::int32_t x = 0; x < width; ++x) {
            Pixel& p = image.At(x, y);
            switch (bitCount) {
                case 1:
                case 4:
                case 8: {
                    std::size_t bit = static_cast<std::size_t>(x) * bitCount;
                    unsigned index = (src[bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
                    // An index past the palette draws black, as Windows does.
                    p = index < palette.size() ? palette[index] : Pixel{0, 0, 0, 255};
                    break;
                }
                case 24:
                    p = Pixel{src[x * 3], src[x * 3 + 1], src[x * 3 + 2], 255};
                    break;
                case 32: {
                    const std::uint8_t* q = src + x * 4;
                    if (compression == kRgb) {
                        p = Pixel{q[0], q[1], q[2], q[3]};
                    } else {
                        std::uint32_t v = q[0] | q[1] << 8 | q[2] << 16 | static_cast<std::uint32_t>(q[3]) << 24;
                        p = Pixel{blue.Get(v, 0), green.Get(v, 0), red.Get(v, 0), alpha.Get(v, 255)};
                    }
                    anyAlpha = anyAlpha || p.a != 0;
                    break;
                }
            }
        }
    }
    if (bitCount == 32 && !anyAlpha)
        for (Pixel& p : image.pixels) p.a = 255;
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
