// Fuzz target: icon, cursor and animated cursor writing. Arbitrary pixels, mask, depth and hotspot
// go through the writer and back through the readers, which must give the same picture (colours
// exactly when the depth holds them all); the input itself is also offered as an animation frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "formats/AniFile.h"
#include "formats/IconEncode.h"

using namespace formats;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteSpan input(data, size);
    auto byte = [&](std::size_t at) -> std::uint8_t { return at < size ? data[at] : 0; };

    const std::uint8_t control = byte(0);
    static const int kBitCounts[] = {4, 8, 16, 4};
    const int bitCount = kBitCounts[control & 3];
    const IconKind kind = control & 4 ? IconKind::Cursor : IconKind::Icon;
    const int hotX = byte(1) % 32, hotY = byte(2) % 32;
    // The palette of colours the pixels pick from: a few colours or many.
    const std::size_t colours = 1 + byte(3);
    IconPicture picture{32, 32, std::vector<Pixel>(1024), std::vector<std::uint8_t>(1024)};
    std::set<std::uint32_t> distinct;
    for (std::size_t i = 0; i < 1024; ++i) {
        const std::size_t c = (byte(4 + i) % colours) * 3;
        picture.color[i] = Pixel{byte(1200 + c), byte(1201 + c), byte(1202 + c), 255};
        picture.mask[i] = (byte(1028 + i / 8) >> (i % 8)) & 1;
        distinct.insert(picture.color[i].r << 16 | picture.color[i].g << 8 | picture.color[i].b);
    }

    auto file = EncodeIconFile(picture, bitCount, kind, hotX, hotY);
    if (!file) std::abort();
    const std::size_t want[] = {0, 0, 0, 0, kIconFileBytes16, 0, 0, 0, kIconFileBytes256, 0, 0, 0, 0, 0, 0, 0, kIconFileBytesHi};
    if (file->size() != want[bitCount]) std::abort();
    auto dir = ReadIconDirectory(*file);
    if (!dir || dir->kind != kind || dir->images.size() != 1) std::abort();
    if (kind == IconKind::Cursor && (dir->images[0].hotspotX != hotX || dir->images[0].hotspotY != hotY)) std::abort();
    auto image = IconImageBytes(*file, *dir, 0);
    if (!image) std::abort();
    auto back = DecodeIconImage(*image);
    if (!back || back->width != 32 || back->height != 32 || back->mask != picture.mask) std::abort();
    const std::size_t table = bitCount == 4 ? 16 : bitCount == 8 ? 256 : 1u << 24;
    if (distinct.size() <= table && back->color != picture.color) std::abort();
    std::set<std::uint32_t> kept;
    for (const Pixel& p : back->color) kept.insert(p.r << 16 | p.g << 8 | p.b);
    if (kept.size() > table) std::abort();

    // The written file, the input and the written file again as frames: the input must read as an
    // icon file for the animation to be written, and then the animation reads back whole.
    const bool inputReads = static_cast<bool>(ReadIconDirectory(input));
    auto ani = EncodeAni({*file, input, *file}, {20, 20, byte(5)});
    if (static_cast<bool>(ani) != inputReads) std::abort();
    if (ani) {
        auto read = ReadAni(*ani);
        if (!read || read->frames.size() != 3 || read->rates[2] != byte(5)) std::abort();
    }
    return 0;
}
