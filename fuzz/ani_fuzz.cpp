// Fuzz target: animated cursor files, header, sequence, rates and every frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formats/AniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    formats::ByteSpan file(data, size);
    auto ani = formats::ReadAni(file);
    if (!ani) return 0;
    if (ani->frames.size() != ani->header.frames || ani->sequence.size() != ani->header.steps ||
        ani->rates.size() != ani->header.steps)
        std::abort();
    for (std::uint32_t index : ani->sequence)
        if (index >= ani->frames.size()) std::abort();
    for (const auto& frame : ani->frames)
        if (formats::AniFrameBytes(file, frame).size() != frame.size) std::abort();
    return 0;
}
