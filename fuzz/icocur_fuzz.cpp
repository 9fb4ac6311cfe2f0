// Fuzz target: icon and cursor files, their directory and every image's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formats/IconFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    formats::ByteSpan file(data, size);
    auto dir = formats::ReadIconDirectory(file);
    if (!dir) return 0;
    for (std::size_t i = 0; i < dir->images.size(); ++i) {
        auto bytes = formats::IconImageBytes(file, *dir, i);
        if (!bytes || bytes->size() != dir->images[i].bytes) std::abort();
    }
    return 0;
}
