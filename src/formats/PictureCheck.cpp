// Header and size checks of GIF, JPEG and metafile pictures.
#include "formats/PictureCheck.h"

#include <cstdlib>

#include "formats/Bmp.h"

namespace formats {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::size_t kEmfHeaderBytes = 88;
// A metafile frame, in 0.01 mm, of at most 100 m a side.
constexpr std::int64_t kMaxFrame = 10'000'000;

bool SaneSize(std::int64_t width, std::int64_t height, std::int64_t maxSide) {
    return width >= 1 && height >= 1 && width <= maxSide && height <= maxSide && width * height <= kMaxImagePixels;
}

std::optional<std::uint16_t> ReadU16BE(ByteSpan b, std::size_t at) {
    if (!InRange(at, 2, b.size())) return std::nullopt;
    return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]);
}

std::optional<std::int16_t> ReadI16(ByteSpan b, std::size_t at) {
    auto v = ReadU16(b, at);
    if (!v) return std::nullopt;
    return static_cast<std::int16_t>(*v);
}

// The data sub-blocks from `at`: each a length byte and that many bytes, up to a zero length.
// Answers the position after the terminator.
std::optional<std::size_t> SkipSubBlocks(ByteSpan b, std::size_t at) {
    while (at < b.size()) {
        const std::size_t n = b[at];
        ++at;
        if (n == 0) return at;
        if (!InRange(at, n, b.size())) return std::nullopt;
        at += n;
    }
    return std::nullopt;
}

Result<PictureHeader> CheckGif(ByteSpan b) {
    if (b.size() < 13) return Fail("GIF: header cut short");
    const std::int32_t width = *ReadU16(b, 6), height = *ReadU16(b, 8);
    if (!SaneSize(width, height, kMaxImageSide)) return Fail("GIF: logical screen size out of range");
    std::size_t at = 13;
    if (b[10] & 0x80) at += 3u << ((b[10] & 7) + 1);
    while (at < b.size()) {
        const std::uint8_t block = b[at];
        if (block == 0x21) {
            auto next = SkipSubBlocks(b, at + 2);
            if (!next) return Fail("GIF: extension block past the end");
            at = *next;
        } else if (block == 0x2C) {
            if (!InRange(at, 11, b.size())) return Fail("GIF: image descriptor cut short");
            if (!SaneSize(*ReadU16(b, at + 5), *ReadU16(b, at + 7), kMaxImageSide))
                return Fail("GIF: picture size out of range");
            const std::uint8_t flags = b[at + 9];
            at += 10;
            if (flags & 0x80) at += 3u << ((flags & 7) + 1);
            if (at >= b.size()) return Fail("GIF: colour table past the end");
            const std::uint8_t codeSize = b[at];
            if (codeSize < 1 || codeSize > 11) return Fail("GIF: bad code size");
            if (!SkipSubBlocks(b, at + 1)) return Fail("GIF: picture data past the end");
            return PictureHeader{PictureKind::Gif, width, height};
        } else {
            return Fail("GIF: no picture before the end");
        }
    }
    return Fail("GIF: no picture before the end");
}

bool IsFrameMarker(std::uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

Result<PictureHeader> CheckJpeg(ByteSpan b) {
    std::size_t at = 2;
    std::optional<PictureHeader> frame;
    while (at < b.size()) {
        if (b[at] != 0xFF) return Fail("JPEG: no marker where one belongs");
        while (at < b.size() && b[at] == 0xFF) ++at;  // fill bytes
        if (at >= b.size()) break;
        const std::uint8_t marker = b[at++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no segment follows
        if (marker == 0xD8 || marker == 0xD9 || marker == 0x00) return Fail("JPEG: marker out of place");
        auto length = ReadU16BE(b, at);
        if (!length || *length < 2 || !InRange(at, *length, b.size())) return Fail("JPEG: segment past the end");
        if (IsFrameMarker(marker)) {
            if (frame || *length < 8) return Fail("JPEG: bad frame header");
            const std::uint8_t precision = b[at + 2], components = b[at + 7];
            const std::int32_t height = *ReadU16BE(b, at + 3), width = *ReadU16BE(b, at + 5);
            if (precision < 2 || precision > 16) return Fail("JPEG: bad sample precision");
            if (components < 1 || components > 4 || *length != 8 + 3 * components)
                return Fail("JPEG: bad component count");
            for (std::size_t c = 0; c < components; ++c) {
                const std::uint8_t sampling = b[at + 8 + 3 * c + 1];
                if ((sampling >> 4) < 1 || (sampling >> 4) > 4 || (sampling & 15) < 1 || (sampling & 15) > 4)
                    return Fail("JPEG: bad sampling factors");
            }
            if (!SaneSize(width, height, 0xFFFF)) return Fail("JPEG: picture size out of range");
            frame = PictureHeader{PictureKind::Jpeg, width, height};
        } else if (marker == 0xDA) {
            if (!frame) return Fail("JPEG: scan before the frame header");
            const std::uint8_t components = *length >= 3 ? b[at + 2] : 0;
            if (components < 1 || components > 4 || *length != 6 + 2 * components) return Fail("JPEG: bad scan header");
            // The rest is entropy-coded data, further scans and tables; it must come to an end.
            for (std::size_t i = at + *length; i + 1 < b.size(); ++i)
                if (b[i] == 0xFF && b[i + 1] == 0xD9) return *frame;
            return Fail("JPEG: no end of picture");
        }
        at += *length;
    }
    return Fail("JPEG: no scan before the end");
}

Result<PictureHeader> CheckWmf(ByteSpan b) {
    PictureHeader header{PictureKind::Wmf, 0, 0};
    std::size_t at = 0;
    if (ReadU32(b, 0) == kPlaceableKey) {
        if (b.size() < 22) return Fail("WMF: placeable header cut short");
        std::uint16_t sum = 0;
        for (std::size_t i = 0; i < 20; i += 2) sum ^= *ReadU16(b, i);
        if (sum != *ReadU16(b, 20)) return Fail("WMF: placeable header checksum");
        const std::int32_t left = *ReadI16(b, 6), top = *ReadI16(b, 8), right = *ReadI16(b, 10),
                           bottom = *ReadI16(b, 12);
        if (right <= left || bottom <= top || *ReadU16(b, 14) == 0) return Fail("WMF: bad placeable box");
        header.width = right - left;
        header.height = bottom - top;
        at = 22;
    }
    if (!InRange(at, 18, b.size())) return Fail("WMF: header cut short");
    const std::uint16_t type = *ReadU16(b, at), headerWords = *ReadU16(b, at + 2), version = *ReadU16(b, at + 4);
    const std::uint64_t bytes = std::uint64_t{*ReadU32(b, at + 6)} * 2;
    const std::uint32_t maxRecord = *ReadU32(b, at + 12);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x100 && version != 0x300))
        return Fail("WMF: bad header");
    if (bytes < 18 + 6 || !InRange(at, bytes, b.size())) return Fail("WMF: declared size past the end");
    if (maxRecord < 3 || maxRecord * std::uint64_t{2} > bytes) return Fail("WMF: bad largest record");
    const std::size_t end = at + static_cast<std::size_t>(bytes);
    at += 18;
    while (at < end) {
        auto words = ReadU32(b, at);
        if (!words || *words < 3 || *words > maxRecord || !InRange(at, std::uint64_t{*words} * 2, end))
            return Fail("WMF: record past the end");
        if (*ReadU16(b, at + 4) == 0) return header;
        at += static_cast<std::size_t>(*words) * 2;
    }
    return Fail("WMF: no end record");
}

Result<PictureHeader> CheckEmf(ByteSpan b) {
    if (b.size() < kEmfHeaderBytes) return Fail("EMF: header cut short");
    const std::uint32_t headerSize = *ReadU32(b, 4), total = *ReadU32(b, 48), records = *ReadU32(b, 52);
    if (headerSize < kEmfHeaderBytes || headerSize % 4 || total < headerSize || total % 4 || total > b.size())
        return Fail("EMF: declared sizes past the end");
    if (records < 2) return Fail("EMF: bad record count");
    const std::uint32_t descriptionChars = *ReadU32(b, 60), descriptionAt = *ReadU32(b, 64);
    if (descriptionChars && (descriptionAt < kEmfHeaderBytes ||
                             !InRange(descriptionAt, std::uint64_t{descriptionChars} * 2, headerSize)))
        return Fail("EMF: description past the header");
    for (std::size_t i : {72u, 76u, 80u, 84u})
        if (*ReadI32(b, i) <= 0) return Fail("EMF: bad device size");
    const std::int64_t left = *ReadI32(b, 24), top = *ReadI32(b, 28), right = *ReadI32(b, 32), bottom = *ReadI32(b, 36);
    const std::int64_t width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0 || width > kMaxFrame || height > kMaxFrame) return Fail("EMF: bad frame");
    std::size_t at = headerSize;
    while (at + 8 <= total) {
        const std::uint32_t type = *ReadU32(b, at), size = *ReadU32(b, at + 4);
        if (size < 8 || size % 4 || !InRange(at, size, total)) return Fail("EMF: record past the end");
        if (type == kEmrEof) return PictureHeader{PictureKind::Emf, static_cast<std::int32_t>(width),
                                                  static_cast<std::int32_t>(height)};
        if (type == kEmrHeader) return Fail("EMF: second header");
        at += size;
    }
    return Fail("EMF: no end record");
}

}  // namespace

Result<PictureHeader> CheckPicture(ByteSpan file) {
    if (file.size() > kMaxPictureFileBytes) return Fail("picture file too large");
    if (HasTag(file, 0, "GIF8") && (HasTag(file, 2, "F87a") || HasTag(file, 2, "F89a"))) return CheckGif(file);
    if (file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF) return CheckJpeg(file);
    if (ReadU32(file, 0) == kEmrHeader && ReadU32(file, 40) == kEmfSignature) return CheckEmf(file);
    if (ReadU32(file, 0) == kPlaceableKey) return CheckWmf(file);
    auto type = ReadU16(file, 0);
    if (type && (*type == 1 || *type == 2) && ReadU16(file, 2) == 9) return CheckWmf(file);
    return Fail("not a GIF, JPEG or metafile picture");
}

}  // namespace formats
