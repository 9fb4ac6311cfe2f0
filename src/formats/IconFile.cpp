// Icon and cursor directory reading.
#include "formats/IconFile.h"

namespace formats {

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;

}  // namespace

Result<IconDirectory> ReadIconDirectory(ByteSpan f) {
    auto reserved = ReadU16(f, 0), type = ReadU16(f, 2), count = ReadU16(f, 4);
    if (!reserved || !type || !count) return Fail("the icon header is cut short");
    if (*reserved != 0 || (*type != 1 && *type != 2)) return Fail("not an icon or cursor file");
    if (*count == 0) return Fail("the file holds no image");
    const std::size_t directoryEnd = kHeaderSize + kEntrySize * *count;
    if (directoryEnd > f.size()) return Fail("the icon directory is cut short");

    IconDirectory dir;
    dir.kind = static_cast<IconKind>(*type);
    dir.images.reserve(*count);
    for (std::size_t i = 0; i < *count; ++i) {
        std::size_t at = kHeaderSize + kEntrySize * i;
        IconImage image;
        image.width = f[at] == 0 ? 256 : f[at];
        image.height = f[at + 1] == 0 ? 256 : f[at + 1];
        image.colorCount = f[at + 2];
        std::uint16_t field4 = *ReadU16(f, at + 4), field6 = *ReadU16(f, at + 6);
        if (dir.kind == IconKind::Icon) {
            image.planes = field4;
            image.bitCount = field6;
        } else {
            image.hotspotX = field4;
            image.hotspotY = field6;
        }
        image.bytes = *ReadU32(f, at + 8);
        image.offset = *ReadU32(f, at + 12);
        if (image.bytes == 0 || image.offset < directoryEnd || !InRange(image.offset, image.bytes, f.size()))
            return Fail("image " + std::to_string(i + 1) + " lies outside the file");
        image.png = HasTag(f, image.offset, "\x89PNG");
        if (!image.png && image.bytes >= 40) {
            auto headerSize = ReadU32(f, image.offset);
            if (headerSize && *headerSize >= 40) image.dibBitCount = *ReadU16(f, image.offset + 14);
        }
        dir.images.push_back(image);
    }
    return dir;
}

Result<ByteSpan> IconImageBytes(ByteSpan f, const IconDirectory& directory, std::size_t index) {
    if (index >= directory.images.size()) return Fail("no such image");
    const IconImage& image = directory.images[index];
    if (!InRange(image.offset, image.bytes, f.size())) return Fail("the image lies outside the file");
    return f.subspan(image.offset, image.bytes);
}

}  // namespace formats
