// Fuzz target: the bytes of one icon or cursor image, decoded and drawn over two backgrounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formats/IconPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto picture = formats::DecodeIconImage(formats::ByteSpan(data, size));
    if (!picture) return 0;
    const std::size_t count = static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height);
    if (count == 0 || picture->color.size() != count || picture->mask.size() != count) std::abort();
    auto black = formats::ComposeIcon(*picture, 0, 0, 0);
    auto white = formats::ComposeIcon(*picture, 255, 255, 255);
    if (black.size() != count * 3 || white.size() != count * 3) std::abort();
    // Without alpha, a clear mask bit shows the colour whatever the background.
    for (std::size_t i = 0; i < count && !picture->hasAlpha; ++i)
        if (picture->mask[i] > 1 || (picture->mask[i] == 0 && (black[i * 3] != white[i * 3] ||
                                                               black[i * 3] != picture->color[i].b)))
            std::abort();
    return 0;
}
