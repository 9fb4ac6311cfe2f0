// Fuzz target: shortcut files, the header and the walk over every section.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formats/LinkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    formats::ByteSpan file(data, size);
    auto header = formats::ReadLinkHeader(file);
    auto checked = formats::CheckLinkFile(file);
    // A file that passes the whole check has a sound header with the same fields.
    if (checked && (!header || header->showCommand != checked->showCommand || header->flags != checked->flags))
        std::abort();
    return 0;
}
