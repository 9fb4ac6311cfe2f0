// Fuzz target: ZIP archives, opened, listed and every entry read with and without a password.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/ZipExtract.h"
#include "formats/ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto archive = formats::ZipArchive::Open(std::vector<std::uint8_t>(data, data + size));
    if (!archive) return 0;
    const auto& entries = archive->Entries();
    for (std::size_t i = 0; i < entries.size() && i < 16; ++i) {
        (void)formats::SafeEntryPath(entries[i].name);
        // A small limit keeps each run fast; the limit's own check is part of what is fuzzed.
        (void)archive->Read(i, "pw", 1 << 20);
        (void)archive->Read(i, {}, 1 << 20);
    }
    (void)archive->Find("a.lib");
    return 0;
}
