// Whole-file reads and writes with a size limit.
#include "formats/FileBytes.h"

#include <fstream>

namespace formats {

Result<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& file, std::uint64_t maxBytes) {
    // A folder opens as a stream on some systems and reports a nonsense size.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return Fail("not a file");
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) return Fail("cannot open the file");
    std::streamoff end = in.tellg();
    if (end < 0) return Fail("cannot read the file's size");
    if (static_cast<std::uint64_t>(end) > maxBytes) return Fail("the file is too large");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // A file that shrank while we read it is as broken as one we cannot read.
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return Fail("cannot read the file");
    return bytes;
}

Result<void> WriteFileBytes(const std::filesystem::path& file, ByteSpan bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return Fail("cannot create the file");
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return Fail("cannot write the file");
    return {};
}

}  // namespace formats
