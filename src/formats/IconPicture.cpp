// Icon and cursor images decoded from their bitmap bits and drawn without the system.
#include "formats/IconPicture.h"

#include <algorithm>

#include "formats/Dib.h"

namespace formats {

namespace {

std::uint8_t Blend(std::uint8_t color, std::uint8_t back, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((color * alpha + back * (255 - alpha) + 127) / 255);
}

}  // namespace

Result<IconPicture> DecodeIconImage(ByteSpan bytes) {
    if (HasTag(bytes, 0, "\x89PNG")) return Fail("PNG icon images are not decoded here");
    auto info = ReadDibInfo(bytes);
    if (!info) return Error{info.error()};

    // The stored height covers the colour bits and the mask below them; an odd one is rounded down.
    const std::int64_t height = (info->TopDown() ? -static_cast<std::int64_t>(info->height) : info->height) / 2;
    if (info->width <= 0 || info->width > kMaxIconSide || height <= 0 || height > kMaxIconSide)
        return Fail("the icon's size is not valid");
    const auto rows = static_cast<std::int32_t>(height);

    const std::uint64_t colorSize = info->Stride() * static_cast<std::uint64_t>(rows);
    if (!InRange(info->tableEnd, colorSize, bytes.size())) return Fail("the icon's colour bits are cut short");
    auto color = DecodeDibRows(*info, bytes.subspan(info->tableEnd), rows);
    if (!color) return Error{color.error()};

    IconPicture picture;
    picture.width = info->width;
    picture.height = rows;
    picture.color = std::move(color->pixels);
    picture.hasAlpha = info->bitCount == 32 &&
                       std::any_of(picture.color.begin(), picture.color.end(), [](const Pixel& p) { return p.a != 0; });

    // The mask is a 1-bit picture of the same size and row order, read through a two-entry palette.
    DibInfo maskInfo;
    maskInfo.width = info->width;
    maskInfo.height = info->height;
    maskInfo.bitCount = 1;
    maskInfo.palette = {Pixel{0, 0, 0, 255}, Pixel{1, 1, 1, 255}};
    auto mask = DecodeDibRows(maskInfo, bytes.subspan(info->tableEnd + colorSize), rows);
    picture.mask.resize(picture.color.size(), 0);  // a mask cut short leaves every pixel opaque
    if (mask)
        std::transform(mask->pixels.begin(), mask->pixels.end(), picture.mask.begin(),
                       [](const Pixel& p) { return p.b; });
    return picture;
}

std::vector<std::uint8_t> ComposeIcon(const IconPicture& picture, std::uint8_t backB, std::uint8_t backG,
                                      std::uint8_t backR) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > kMaxIconSide ||
        picture.height > kMaxIconSide)
        return {};
    const std::size_t count = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    if (picture.color.size() != count || picture.mask.size() != count) return {};

    std::vector<std::uint8_t> out;
    out.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        const Pixel& c = picture.color[i];
        if (picture.hasAlpha) {
            out.push_back(Blend(c.b, backB, c.a));
            out.push_back(Blend(c.g, backG, c.a));
            out.push_back(Blend(c.r, backR, c.a));
        } else {
            // A set mask bit keeps the background, which the colour then XORs: black leaves it,
            // white inverts it.
            const std::uint8_t keep = picture.mask[i] ? 0xFF : 0x00;
            out.push_back(static_cast<std::uint8_t>((backB & keep) ^ c.b));
            out.push_back(static_cast<std::uint8_t>((backG & keep) ^ c.g));
            out.push_back(static_cast<std::uint8_t>((backR & keep) ^ c.r));
        }
    }
    return out;
}

Result<std::vector<std::uint8_t>> IconImageForSystem(ByteSpan bytes) {
    constexpr std::size_t kPngSignature = 8, kIhdrEnd = 8 + 8 + 13;
    if (HasTag(bytes, 0, "\x89PNG")) {
        if (!HasTag(bytes, 4, "\r\n\x1A\n") || !HasTag(bytes, kPngSignature + 4, "IHDR") ||
            bytes.size() < kIhdrEnd)
            return Fail("the PNG image's header is missing");
        // PNG numbers are big-endian.
        auto big = [&](std::size_t at) {
            return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
                   std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
        };
        const std::uint32_t width = big(16), height = big(20);
        if (big(kPngSignature) != 13 || width == 0 || height == 0 || width > kMaxIconSide || height > kMaxIconSide)
            return Fail("the PNG image's size is not valid");
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    }

    auto headerSize = ReadU32(bytes, 0);
    if (!headerSize || *headerSize < 40 || *headerSize > 124 || bytes.size() < *headerSize)
        return Fail("the icon's bitmap header is not valid");
    const std::int32_t width = *ReadI32(bytes, 4), storedHeight = *ReadI32(bytes, 8);
    const std::uint16_t bitCount = *ReadU16(bytes, 14);
    const std::uint32_t compression = *ReadU32(bytes, 16), colorsUsed = *ReadU32(bytes, 32);
    const std::int64_t height = (storedHeight < 0 ? -static_cast<std::int64_t>(storedHeight) : storedHeight) / 2;
    if (width <= 0 || width > kMaxIconSide || height <= 0 || height > kMaxIconSide)
        return Fail("the icon's size is not valid");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return Fail("the icon's colour depth is not valid");
    const bool bitfields = compression == 3;
    if (compression != 0 && !(bitfields && (bitCount == 16 || bitCount == 32)))
        return Fail("the icon's compression is not valid");
    if (colorsUsed > 256) return Fail("the icon's colour table is too large");

    // The masks follow a header too short to hold them; the system starts the table after the
    // masks then, whatever the header's own size.
    std::uint64_t tableEnd = bitfields ? std::max<std::uint64_t>(*headerSize, 40 + 12) : *headerSize;
    tableEnd += 4ull * (colorsUsed != 0 ? colorsUsed : bitCount <= 8 ? 1u << bitCount : 0);
    if (bytes.size() < tableEnd) return Fail("the icon's colour table is cut short");
    const auto rows = static_cast<std::uint64_t>(height);
    const std::uint64_t whole = tableEnd + DibStride(width, bitCount) * rows + DibStride(width, 1) * rows;
    std::vector<std::uint8_t> copy(std::max<std::uint64_t>(whole, bytes.size()), 0);
    std::copy(bytes.begin(), bytes.end(), copy.begin());
    return copy;
}

}  // namespace formats
