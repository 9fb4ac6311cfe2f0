// Fuzz target: icon group counts of programs and libraries, read through a ReadAt over the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/ExeIcons.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int reads = 0;
    formats::ReadAt read = [&](std::uint64_t offset, std::size_t want, std::vector<std::uint8_t>& out) {
        ++reads;
        out.clear();
        if (offset < size) {
            std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(want, size - offset));
            out.assign(data + offset, data + offset + n);
        }
        return true;
    };
    auto groups = formats::CountIconGroups(read);
    // Named plus numbered entries of one directory: two 16-bit counts at most.
    if (groups && (*groups < 0 || *groups > 2 * 0xFFFF)) std::abort();
    // Every walk is bounded by a table's count and each read brings in at least the next record.
    if (reads > 70000) std::abort();
    return 0;
}
