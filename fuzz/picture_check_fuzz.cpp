// Fuzz target: the check of GIF, JPEG and metafile headers; a passed file's sizes stay in range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formats/Bmp.h"
#include "formats/PictureCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto header = formats::CheckPicture(formats::ByteSpan(data, size));
    if (!header) return 0;
    const bool pixels = header->kind == formats::PictureKind::Gif || header->kind == formats::PictureKind::Jpeg;
    if (pixels && (header->width < 1 || header->height < 1 ||
                   std::int64_t{header->width} * header->height > formats::kMaxImagePixels))
        std::abort();
    return 0;
}
