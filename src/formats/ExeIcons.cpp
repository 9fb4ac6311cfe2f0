// Icon group counting: the MZ stub, then the PE resource directory or the NE resource table.
#include "formats/ExeIcons.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "formats/Bytes.h"

namespace formats {

namespace {

constexpr std::size_t kWindow = 1024;        // one read brings in the headers of most files
constexpr std::size_t kMzHeader = 64;
constexpr std::size_t kSectionHeader = 40;
constexpr std::size_t kResourceDirectory = 16;
constexpr std::size_t kResourceEntry = 8;
constexpr std::size_t kNeHeader = 64;
constexpr std::size_t kNeNameRecord = 12;
constexpr std::uint32_t kGroupIcon = 14;
constexpr std::uint16_t kNeGroupIcon = 0x800E;  // type ids with the high bit are numbers
constexpr std::uint32_t kSubdirectory = 0x80000000;
constexpr int kMaxNeTypes = 1024;  // real tables hold a handful; more is garbage

// Serves small reads from a window of the file, so that neighbouring fields cost one read.
class Source {
  public:
    explicit Source(const ReadAt& read) : read_(read) {}

    // The `size` bytes at `offset`, valid until the next call; nullopt when the file ends before
    // them or the read fails.
    std::optional<ByteSpan> Get(std::uint64_t offset, std::size_t size) {
        if (offset < start_ || !InRange(offset - start_, size, window_.size())) {
            const std::size_t want = std::max(size, kWindow);
            start_ = offset;
            window_.clear();
            if (!read_(offset, want, window_)) {
                window_.clear();
                failed_ = true;
                return std::nullopt;
            }
            if (window_.size() > want) window_.resize(want);
            if (window_.size() < size) return std::nullopt;
        }
        return ByteSpan(window_).subspan(static_cast<std::size_t>(offset - start_), size);
    }

    // Why the last Get gave nothing.
    Error Short(std::string_view where) const {
        if (failed_) return Fail("the file could not be read");
        return Fail("the file ends inside " + std::string(where));
    }

  private:
    const ReadAt& read_;
    std::uint64_t start_ = 0;
    std::vector<std::uint8_t> window_;
    bool failed_ = false;
};

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
};

Result<std::int32_t> CountPe(Source& src, std::uint64_t pe) {
    auto coff = src.Get(pe + 4, 20);
    if (!coff) return src.Short("the file header");
    const std::uint16_t sectionCount = *ReadU16(*coff, 2);
    const std::uint16_t optionalSize = *ReadU16(*coff, 16);

    const std::uint64_t optional = pe + 24;
    auto magic = src.Get(optional, 2);
    if (!magic) return src.Short("the optional header");
    std::size_t directories = 0;  // where the data directories start in the optional header
    if (*ReadU16(*magic, 0) == 0x10B) directories = 96;
    else if (*ReadU16(*magic, 0) == 0x20B) directories = 112;
    else return Fail("the optional header is neither PE32 nor PE32+");
    if (optionalSize < directories) return Fail("the optional header is cut short");

    auto count = src.Get(optional + directories - 4, 4);
    if (!count) return src.Short("the optional header");
    if (*ReadU32(*count, 0) < 3) return 0;  // no resource directory
    if (optionalSize < directories + 3 * 8) return Fail("the optional header is too small for its data directories");
    auto resources = src.Get(optional + directories + 2 * 8, 8);
    if (!resources) return src.Short("the data directories");
    const std::uint32_t rva = *ReadU32(*resources, 0);
    if (*ReadU32(*resources, 4) == 0) return 0;

    // The section the directory lies in. A section spans the larger of its two sizes in memory,
    // but only its raw data is in the file.
    const std::uint64_t table = optional + optionalSize;
    std::optional<Section> found;
    for (std::uint32_t i = 0; i < sectionCount && !found; ++i) {
        auto s = src.Get(table + kSectionHeader * i, kSectionHeader);
        if (!s) return src.Short("the section table");
        Section section{*ReadU32(*s, 12), *ReadU32(*s, 16), *ReadU32(*s, 20)};
        const std::uint32_t extent = std::max(*ReadU32(*s, 8), section.rawSize);
        if (rva >= section.virtualAddress && rva - section.virtualAddress < extent) found = section;
    }
    if (!found) return Fail("the resource directory lies in no section");
    const std::uint32_t within = rva - found->virtualAddress;
    if (within >= found->rawSize) return Fail("the resource directory lies past its section's data");
    const std::uint64_t root = std::uint64_t{found->rawPointer} + within;
    const std::uint64_t end = std::uint64_t{found->rawPointer} + found->rawSize;

    if (!InRange(root, kResourceDirectory, end)) return Fail("the resource directory runs past its section");
    auto head = src.Get(root, kResourceDirectory);
    if (!head) return src.Short("the resource directory");
    const std::uint16_t namedTypes = *ReadU16(*head, 12), numberedTypes = *ReadU16(*head, 14);
    const std::uint64_t numbered = root + kResourceDirectory + kResourceEntry * namedTypes;
    if (!InRange(numbered, kResourceEntry * numberedTypes, end))
        return Fail("the resource directory runs past its section");

    // Loaders look a type up by binary search, which finds what a linear walk finds only when
    // the ids ascend; any other order is refused rather than risking a different count.
    std::optional<std::uint32_t> groups;
    std::int64_t previous = -1;
    for (std::uint32_t i = 0; i < numberedTypes; ++i) {
        auto e = src.Get(numbered + kResourceEntry * i, kResourceEntry);
        if (!e) return src.Short("the resource directory");
        const std::uint32_t id = *ReadU32(*e, 0);
        if (id > 0xFFFF) return Fail("a numbered resource type has no valid id");
        if (id <= previous) return Fail("the resource types are out of order");
        previous = id;
        if (id == kGroupIcon) groups = *ReadU32(*e, 4);
    }
    if (!groups) return 0;
    if (!(*groups & kSubdirectory)) return Fail("the icon group entry is not a directory");

    const std::uint64_t sub = root + (*groups & ~kSubdirectory);
    if (!InRange(sub, kResourceDirectory, end)) return Fail("the icon group directory lies outside its section");
    auto subHead = src.Get(sub, kResourceDirectory);
    if (!subHead) return src.Short("the icon group directory");
    const std::uint32_t entries = std::uint32_t{*ReadU16(*subHead, 12)} + *ReadU16(*subHead, 14);
    if (!InRange(sub + kResourceDirectory, kResourceEntry * entries, end))
        return Fail("the icon group directory runs past its section");
    // Everything read lies inside the section's raw data; a file cut short before that data ends
    // is refused as the shell refuses it.
    if (!src.Get(end - 1, 1)) return src.Short("the resource section");
    return static_cast<std::int32_t>(entries);
}

Result<std::int32_t> CountNe(Source& src, std::uint64_t ne) {
    auto header = src.Get(ne, kNeHeader);
    if (!header) return src.Short("the NE header");
    const std::uint16_t table = *ReadU16(*header, 0x24), residentNames = *ReadU16(*header, 0x26);
    // Without resources the resident name table starts where the resource table would.
    if (table == residentNames) return 0;
    if (table < kNeHeader) return Fail("the resource table overlaps the NE header");

    // After the alignment shift: type records of a type id, a count, four reserved bytes and
    // `count` name records, up to a zero type id. Every record moves on by at least eight bytes.
    std::uint64_t at = ne + table + 2;
    std::optional<std::uint16_t> groups;
    for (int records = 0;; ++records) {
        if (records == kMaxNeTypes) return Fail("the resource table holds too many types");
        auto type = src.Get(at, 2);
        if (!type) return src.Short("the resource table");
        const std::uint16_t id = *ReadU16(*type, 0);
        if (id == 0) break;
        auto record = src.Get(at, 8);
        if (!record) return src.Short("the resource table");
        const std::uint16_t count = *ReadU16(*record, 2);
        if (id == kNeGroupIcon) {
            if (groups) return Fail("the resource table lists icon groups twice");
            groups = count;
        }
        at += 8 + kNeNameRecord * count;
    }
    // Reaching the zero type id proves the file holds every record before it.
    return static_cast<std::int32_t>(groups.value_or(0));
}

}  // namespace

Result<std::int32_t> CountIconGroups(const ReadAt& read) {
    Source src(read);
    auto mz = src.Get(0, kMzHeader);
    if (!mz) return src.Short("the MZ header");
    if (!HasTag(*mz, 0, "MZ")) return Fail("not a program or library (no MZ header)");
    const std::uint32_t next = *ReadU32(*mz, 0x3C);

    auto signature = src.Get(next, 2);
    if (!signature) return src.Short("the new header signature");
    if (HasTag(*signature, 0, "NE")) return CountNe(src, next);
    if (HasTag(*signature, 0, "PE")) {
        auto pe = src.Get(next, 4);
        if (!pe) return src.Short("the new header signature");
        if (HasTag(*pe, 0, std::string_view("PE\0\0", 4))) return CountPe(src, next);
    }
    return Fail("not a PE or NE file");
}

}  // namespace formats
