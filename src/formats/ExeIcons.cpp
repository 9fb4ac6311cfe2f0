// Icon resources of modules: the MZ stub, then the PE resource directory or the NE resource table,
// each group and image found through them with every offset checked against the file.
#include "formats/ExeIcons.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace formats {

namespace {

constexpr std::size_t kWindow = kSmallReadWindow;
constexpr std::size_t kWindows = 4;    // headers, directory tables and data entries at once
constexpr std::size_t kMzHeader = 64;
constexpr std::size_t kSectionHeader = 40;
constexpr std::size_t kResourceDirectory = 16;
constexpr std::size_t kResourceEntry = 8;
constexpr std::size_t kDataEntry = 16;
constexpr std::size_t kNeHeader = 64;
constexpr std::size_t kNeNameRecord = 12;
constexpr std::size_t kGroupHeader = 6;
constexpr std::size_t kGroupEntry = 14;
constexpr std::uint32_t kIcon = 3;
constexpr std::uint32_t kGroupIcon = 14;
constexpr std::uint16_t kNeNumbered = 0x8000;  // type and resource ids with the high bit are numbers
constexpr std::uint16_t kNeIcon = kNeNumbered | kIcon;
constexpr std::uint16_t kNeGroupIcon = kNeNumbered | kGroupIcon;
constexpr std::uint32_t kSubdirectory = 0x80000000;
constexpr int kMaxNeTypes = 1024;  // real tables hold a handful; more is garbage
constexpr std::uint16_t kMaxNeShift = 24;

// Serves small reads from a few windows of the file, so that neighbouring fields cost one read.
class Source {
  public:
    Source(ReadAt read, std::size_t window) : read_(std::move(read)), window_(std::max(window, kWindow)) {}

    // The `size` bytes at `offset`, valid until the next call; nullopt when the file ends before
    // them or the read fails.
    std::optional<ByteSpan> Get(std::uint64_t offset, std::size_t size) {
        for (Window& w : windows_)
            if (w.filled && offset >= w.start && InRange(offset - w.start, size, w.bytes.size())) {
                w.used = ++clock_;
                return ByteSpan(w.bytes).subspan(static_cast<std::size_t>(offset - w.start), size);
            }
        Window& w = *std::min_element(windows_.begin(), windows_.end(),
                                      [](const Window& a, const Window& b) { return a.used < b.used; });
        const std::size_t want = std::max(size, window_);
        w.start = offset;
        w.used = ++clock_;
        w.filled = false;
        w.bytes.clear();
        if (!read_(offset, want, w.bytes)) {
            w.bytes.clear();
            failed_ = true;
            return std::nullopt;
        }
        if (w.bytes.size() > want) w.bytes.resize(want);
        w.filled = true;
        if (w.bytes.size() < size) return std::nullopt;
        return ByteSpan(w.bytes).subspan(0, size);
    }

    // Exactly `size` bytes at `offset`: through the windows when they are wide enough to hold
    // several such, else with a read of their own.
    Result<std::vector<std::uint8_t>> Take(std::uint64_t offset, std::size_t size, std::string_view what) {
        if (size <= window_ / 4) {
            auto bytes = Get(offset, size);
            if (!bytes) return Short(what);
            return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
        }
        std::vector<std::uint8_t> out;
        if (!read_(offset, size, out)) return Fail("the file could not be read");
        if (out.size() < size) return Fail("the file ends inside " + std::string(what));
        out.resize(size);
        return out;
    }

    // Why the last Get gave nothing.
    Error Short(std::string_view where) const {
        if (failed_) return Fail("the file could not be read");
        return Fail("the file ends inside " + std::string(where));
    }

  private:
    struct Window {
        std::uint64_t start = 0;
        std::uint64_t used = 0;
        bool filled = false;
        std::vector<std::uint8_t> bytes;
    };
    ReadAt read_;
    std::size_t window_;
    std::array<Window, kWindows> windows_;
    std::uint64_t clock_ = 0;
    bool failed_ = false;
};

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t extent = 0;  // the larger of its sizes in memory and in the file
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
};

// Where a resource's bytes lie in the file.
struct Place {
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
};

// One resource of a type: its id (0 for a named one) and where its entry or record is.
struct Entry {
    std::uint16_t id = 0;
    bool named = false;
    std::uint64_t at = 0;  // PE: the entry's offset field's value; NE: the name record in the file
};

}  // namespace

struct ModuleIcons::State {
    State(ReadAt read, std::size_t window) : src(std::move(read), window) {}

    Source src;
    bool ne = false;
    // PE: the sections and the resource directory's place; NE: the alignment shift.
    std::vector<Section> sections;
    std::uint64_t root = 0, end = 0;
    std::uint16_t shift = 0;
    std::vector<Entry> groups;           // in resource order
    std::optional<std::uint64_t> icons;  // PE: the icon type's directory; NE: its first name record
    std::uint32_t iconCount = 0;         // NE: the icon type's records
    std::optional<std::vector<Entry>> iconEntries;

    Result<Place> PeData(const Entry& entry, std::string_view what);
    Result<Place> NeData(const Entry& entry, std::string_view what);
    Result<std::vector<Entry>> PeEntries(std::uint64_t directory, std::string_view what);
    Result<std::vector<std::uint8_t>> Read(const Place& place, std::string_view what);
};

namespace {

using State = ModuleIcons::State;

// The resource directory of a PE file: its sections, the directory's place and its type entries
// for icons and icon groups. No groups at all when the file has no resource directory.
Result<void> OpenPe(State& s, std::uint64_t pe) {
    Source& src = s.src;
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
    if (*ReadU32(*count, 0) < 3) return {};  // no resource directory
    if (optionalSize < directories + 3 * 8) return Fail("the optional header is too small for its data directories");
    auto resources = src.Get(optional + directories + 2 * 8, 8);
    if (!resources) return src.Short("the data directories");
    const std::uint32_t rva = *ReadU32(*resources, 0);
    if (*ReadU32(*resources, 4) == 0) return {};

    // The section the directory lies in. A section spans the larger of its two sizes in memory,
    // but only its raw data is in the file.
    auto table = src.Get(optional + optionalSize, kSectionHeader * sectionCount);
    if (!table) return src.Short("the section table");
    s.sections.reserve(sectionCount);
    std::optional<Section> found;
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = kSectionHeader * i;
        Section section{*ReadU32(*table, at + 12), 0, *ReadU32(*table, at + 16), *ReadU32(*table, at + 20)};
        section.extent = std::max(*ReadU32(*table, at + 8), section.rawSize);
        s.sections.push_back(section);
        if (!found && rva >= section.virtualAddress && rva - section.virtualAddress < section.extent) found = section;
    }
    if (!found) return Fail("the resource directory lies in no section");
    const std::uint32_t within = rva - found->virtualAddress;
    if (within >= found->rawSize) return Fail("the resource directory lies past its section's data");
    s.root = std::uint64_t{found->rawPointer} + within;
    s.end = std::uint64_t{found->rawPointer} + found->rawSize;

    if (!InRange(s.root, kResourceDirectory, s.end)) return Fail("the resource directory runs past its section");
    auto head = src.Get(s.root, kResourceDirectory);
    if (!head) return src.Short("the resource directory");
    const std::uint16_t namedTypes = *ReadU16(*head, 12), numberedTypes = *ReadU16(*head, 14);
    const std::uint64_t numbered = s.root + kResourceDirectory + kResourceEntry * namedTypes;
    if (!InRange(numbered, kResourceEntry * numberedTypes, s.end))
        return Fail("the resource directory runs past its section");

    // Loaders look a type up by binary search, which finds what a linear walk finds only when
    // the ids ascend; any other order is refused rather than risking a different count.
    std::optional<std::uint32_t> groups;
    std::int64_t previous = -1;
    for (std::uint32_t i = 0; i < numberedTypes; ++i) {
        auto e = src.Get(numbered + kResourceEntry * i, kResourceEntry);
        if (!e) return src.Short("the resource directory");
        const std::uint32_t id = *ReadU32(*e, 0), offset = *ReadU32(*e, 4);
        if (id > 0xFFFF) return Fail("a numbered resource type has no valid id");
        if (id <= previous) return Fail("the resource types are out of order");
        previous = id;
        if (id == kGroupIcon) groups = offset;
        if (id == kIcon && (offset & kSubdirectory)) s.icons = s.root + (offset & ~kSubdirectory);
    }
    if (groups) {
        if (!(*groups & kSubdirectory)) return Fail("the icon group entry is not a directory");
        auto entries = s.PeEntries(s.root + (*groups & ~kSubdirectory), "the icon group directory");
        if (!entries) return Error{entries.error()};
        s.groups = std::move(*entries);
    }
    // Everything read lies inside the section's raw data; a file cut short before that data ends
    // is refused as the shell refuses it.
    if (!src.Get(s.end - 1, 1)) return src.Short("the resource section");
    return {};
}

// The resource table of an NE file: the records of its icons and icon groups.
Result<void> OpenNe(State& s, std::uint64_t ne) {
    Source& src = s.src;
    s.ne = true;
    auto header = src.Get(ne, kNeHeader);
    if (!header) return src.Short("the NE header");
    const std::uint16_t table = *ReadU16(*header, 0x24), residentNames = *ReadU16(*header, 0x26);
    // Without resources the resident name table starts where the resource table would.
    if (table == residentNames) return {};
    if (table < kNeHeader) return Fail("the resource table overlaps the NE header");

    auto shift = src.Get(ne + table, 2);
    if (!shift) return src.Short("the resource table");
    s.shift = *ReadU16(*shift, 0);
    // After the alignment shift: type records of a type id, a count, four reserved bytes and
    // `count` name records, up to a zero type id. Every record moves on by at least eight bytes.
    std::uint64_t at = ne + table + 2;
    std::optional<std::uint64_t> groups;
    std::uint16_t groupCount = 0;
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
            groups = at + 8;
            groupCount = count;
        } else if (id == kNeIcon && !s.icons) {
            s.icons = at + 8;
            s.iconCount = count;
        }
        at += 8 + kNeNameRecord * count;
    }
    // Reaching the zero type id proves the file holds every record before it.
    if (groupCount > 0 && s.shift > kMaxNeShift) return Fail("the resource table's alignment is not valid");
    for (std::uint16_t i = 0; i < groupCount; ++i) {
        const std::uint64_t record = *groups + kNeNameRecord * i;
        auto r = src.Get(record, kNeNameRecord);
        if (!r) return src.Short("the resource table");
        const std::uint16_t id = *ReadU16(*r, 6);
        const bool numbered = (id & kNeNumbered) != 0;
        s.groups.push_back({static_cast<std::uint16_t>(numbered ? id & ~kNeNumbered : 0), !numbered, record});
    }
    return {};
}

Result<State*> OpenModule(State& s) {
    Source& src = s.src;
    auto mz = src.Get(0, kMzHeader);
    if (!mz) return src.Short("the MZ header");
    if (!HasTag(*mz, 0, "MZ")) return Fail("not a program or library (no MZ header)");
    const std::uint32_t next = *ReadU32(*mz, 0x3C);

    auto signature = src.Get(next, 4);
    if (signature && HasTag(*signature, 0, std::string_view("PE\0\0", 4))) {
        auto pe = OpenPe(s, next);
        if (!pe) return Error{pe.error()};
        return &s;
    }
    if (!signature) signature = src.Get(next, 2);
    if (!signature) return src.Short("the new header signature");
    if (HasTag(*signature, 0, "NE")) {
        auto ne = OpenNe(s, next);
        if (!ne) return Error{ne.error()};
        return &s;
    }
    return Fail("not a PE or NE file");
}

}  // namespace

// The entries of a resource directory below the root: named first, then numbered, as stored.
Result<std::vector<Entry>> ModuleIcons::State::PeEntries(std::uint64_t directory, std::string_view what) {
    if (!InRange(directory, kResourceDirectory, end)) return Fail(std::string(what) + " lies outside its section");
    auto head = src.Get(directory, kResourceDirectory);
    if (!head) return src.Short(what);
    const std::uint32_t named = *ReadU16(*head, 12);
    const std::uint32_t count = named + *ReadU16(*head, 14);
    if (!InRange(directory + kResourceDirectory, kResourceEntry * count, end))
        return Fail(std::string(what) + " runs past its section");
    auto table = src.Get(directory + kResourceDirectory, kResourceEntry * count);
    if (!table) return src.Short(what);
    std::vector<Entry> entries;
    entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t name = *ReadU32(*table, kResourceEntry * i);
        const std::uint32_t offset = *ReadU32(*table, kResourceEntry * i + 4);
        const bool isNamed = (name & kSubdirectory) != 0;
        // A numbered id is 16 bits; anything larger names no resource a program could ask for.
        const std::uint16_t id = isNamed || name > 0xFFFF ? 0 : static_cast<std::uint16_t>(name);
        entries.push_back({id, isNamed || name > 0xFFFF, offset});
    }
    return entries;
}

// A resource's data through its language level: the first language's data entry, its RVA mapped to
// the file through the section that holds it.
Result<Place> ModuleIcons::State::PeData(const Entry& entry, std::string_view what) {
    if (!(entry.at & kSubdirectory)) return Fail(std::string(what) + " has no language directory");
    auto languages = PeEntries(root + (entry.at & ~kSubdirectory), what);
    if (!languages) return Error{languages.error()};
    if (languages->empty()) return Fail(std::string(what) + " has no language");
    const std::uint64_t dataEntry = root + languages->front().at;
    if (languages->front().at & kSubdirectory) return Fail(std::string(what) + " nests too deep");
    if (!InRange(dataEntry, kDataEntry, end)) return Fail(std::string(what) + "'s data entry lies outside its section");
    auto data = src.Get(dataEntry, kDataEntry);
    if (!data) return src.Short(what);
    const std::uint32_t rva = *ReadU32(*data, 0), size = *ReadU32(*data, 4);
    for (const Section& section : sections) {
        if (rva < section.virtualAddress || rva - section.virtualAddress >= section.extent) continue;
        const std::uint32_t within = rva - section.virtualAddress;
        if (!InRange(within, size, section.rawSize)) return Fail(std::string(what) + " runs past its section's data");
        return Place{std::uint64_t{section.rawPointer} + within, size};
    }
    return Fail(std::string(what) + " lies in no section");
}

Result<Place> ModuleIcons::State::NeData(const Entry& entry, std::string_view what) {
    // Open checks the shift only when there are groups; images can be asked for without one.
    if (shift > kMaxNeShift) return Fail("the resource table's alignment is not valid");
    auto record = src.Get(entry.at, kNeNameRecord);
    if (!record) return src.Short(what);
    const std::uint64_t offset = std::uint64_t{*ReadU16(*record, 0)} << shift;
    const std::uint64_t size = std::uint64_t{*ReadU16(*record, 2)} << shift;
    if (offset == 0) return Fail(std::string(what) + " has no data");
    return Place{offset, static_cast<std::uint32_t>(std::min<std::uint64_t>(size, 0xFFFFFFFF))};
}

Result<std::vector<std::uint8_t>> ModuleIcons::State::Read(const Place& place, std::string_view what) {
    if (place.size == 0) return Fail(std::string(what) + " is empty");
    if (place.size > kMaxIconResourceBytes) return Fail(std::string(what) + " is too large");
    return src.Take(place.offset, place.size, what);
}

Result<std::vector<GroupImage>> ReadIconGroup(ByteSpan group) {
    auto reserved = ReadU16(group, 0), type = ReadU16(group, 2), count = ReadU16(group, 4);
    if (!reserved || !type || !count) return Fail("the icon group is cut short");
    if (*reserved != 0 || *type != 1) return Fail("not an icon group");
    if (!InRange(kGroupHeader, kGroupEntry * std::uint64_t{*count}, group.size()))
        return Fail("the icon group's entries run past its data");
    std::vector<GroupImage> images;
    images.reserve(*count);
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t at = kGroupHeader + kGroupEntry * i;
        images.push_back({group[at], group[at + 1], group[at + 2], *ReadU16(group, at + 4), *ReadU16(group, at + 6),
                          *ReadU32(group, at + 8), *ReadU16(group, at + 12)});
    }
    return images;
}

Result<ModuleIcons> ModuleIcons::Open(ReadAt read, std::size_t window) {
    auto state = std::make_unique<State>(std::move(read), window);
    auto opened = OpenModule(*state);
    if (!opened) return Error{opened.error()};
    return ModuleIcons(std::move(state));
}

ModuleIcons::ModuleIcons(std::unique_ptr<State> state) : s_(std::move(state)) {}
ModuleIcons::ModuleIcons(ModuleIcons&&) noexcept = default;
ModuleIcons& ModuleIcons::operator=(ModuleIcons&&) noexcept = default;
ModuleIcons::~ModuleIcons() = default;

std::size_t ModuleIcons::GroupCount() const { return s_->groups.size(); }

std::optional<std::size_t> ModuleIcons::FindGroup(std::uint16_t id) const {
    for (std::size_t i = 0; i < s_->groups.size(); ++i)
        if (!s_->groups[i].named && s_->groups[i].id == id) return i;
    return std::nullopt;
}

Result<std::vector<GroupImage>> ModuleIcons::Group(std::size_t index) {
    if (index >= s_->groups.size()) return Fail("no such icon group");
    const Entry& entry = s_->groups[index];
    auto place = s_->ne ? s_->NeData(entry, "the icon group") : s_->PeData(entry, "the icon group");
    if (!place) return Error{place.error()};
    auto bytes = s_->Read(*place, "the icon group");
    if (!bytes) return Error{bytes.error()};
    return ReadIconGroup(*bytes);
}

Result<std::vector<std::uint8_t>> ModuleIcons::Image(std::uint16_t id) {
    State& s = *s_;
    if (!s.icons) return Fail("the module holds no icon images");
    if (!s.iconEntries) {
        if (s.ne) {
            std::vector<Entry> entries;
            entries.reserve(s.iconCount);
            for (std::uint32_t i = 0; i < s.iconCount; ++i) {
                const std::uint64_t record = *s.icons + kNeNameRecord * i;
                auto r = s.src.Get(record, kNeNameRecord);
                if (!r) return s.src.Short("the resource table");
                const std::uint16_t recordId = *ReadU16(*r, 6);
                const bool numbered = (recordId & kNeNumbered) != 0;
                entries.push_back({static_cast<std::uint16_t>(numbered ? recordId & ~kNeNumbered : 0), !numbered, record});
            }
            s.iconEntries = std::move(entries);
        } else {
            auto entries = s.PeEntries(*s.icons, "the icon directory");
            if (!entries) return Error{entries.error()};
            s.iconEntries = std::move(*entries);
        }
    }
    auto found = std::find_if(s.iconEntries->begin(), s.iconEntries->end(),
                              [id](const Entry& e) { return !e.named && e.id == id; });
    if (found == s.iconEntries->end()) return Fail("the icon image " + std::to_string(id) + " is missing");
    auto place = s.ne ? s.NeData(*found, "the icon image") : s.PeData(*found, "the icon image");
    if (!place) return Error{place.error()};
    return s.Read(*place, "the icon image");
}

Result<std::int32_t> CountIconGroups(const ReadAt& read) {
    auto module = ModuleIcons::Open(read);
    if (!module) return Error{module.error()};
    return static_cast<std::int32_t>(module->GroupCount());
}

}  // namespace formats
