// Icon group counts of PE32, PE32+ and NE images built here, and every way their headers can lie.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#include "FormatsTestSupport.h"
#include "formats/Bytes.h"
#include "formats/ExeIcons.h"

using namespace formats;

namespace {

struct PeLayout {
    bool wide = false;  // PE32+
    int namedGroups = 0;
    int numberedGroups = 0;
    bool groupType = true;      // the resource directory lists icon groups at all
    std::size_t peAt = 0x80;    // e_lfanew
    std::size_t padding = 0;    // resource data after the directory
};

// Where the parts of a built image are, for the cases that break them.
struct Image {
    Bytes bytes;
    std::size_t next = 0;          // PE or NE header
    std::size_t sizeOfOptional = 0;  // PE: the COFF field
    std::size_t dirCount = 0;      // PE: NumberOfRvaAndSizes
    std::size_t resourceDir = 0;   // PE: data directory 2
    std::size_t rsrcSection = 0;   // PE: the resource section's header
    std::size_t root = 0;          // PE: resource root; NE: resource table
    std::size_t groupEntry = 0;    // PE: the root entry of type 14
    std::size_t groupDir = 0;      // PE: its subdirectory
};

constexpr std::uint32_t kDir = 0x80000000;

std::size_t Align(std::size_t v, std::size_t to) { return (v + to - 1) / to * to; }

void Put(Bytes& b, std::size_t at, std::string_view s) { std::copy(s.begin(), s.end(), b.begin() + at); }

// A counted UTF-16 string appended to `r`; its offset.
std::uint32_t AddName(Bytes& r, std::string_view s) {
    std::size_t at = r.size();
    r.resize(at + 2 + 2 * s.size());
    Poke16(r, at, static_cast<std::uint16_t>(s.size()));
    for (std::size_t i = 0; i < s.size(); ++i) Poke16(r, at + 2 + 2 * i, static_cast<std::uint8_t>(s[i]));
    return static_cast<std::uint32_t>(at);
}

// A resource section: a named type "PNG", then icons (3), icon groups (14) and a version (16),
// the groups named first, then numbered. Offsets of the group entry and directory go to `image`.
Bytes ResourceSection(const PeLayout& l, Image& image) {
    std::vector<std::uint32_t> types = {3};
    if (l.groupType) types.push_back(14);
    types.push_back(16);
    const std::size_t emptyDir = 16 + 8 * (1 + types.size());
    const std::size_t groupDir = emptyDir + 16;
    const std::size_t dataEntry = groupDir + 16 + 8 * (l.namedGroups + l.numberedGroups);
    Bytes r(dataEntry + 16, 0);
    Poke16(r, 12, 1);
    Poke16(r, 14, static_cast<std::uint16_t>(types.size()));
    Poke32(r, 16, kDir | AddName(r, "PNG"));
    Poke32(r, 20, kDir | emptyDir);
    for (std::size_t i = 0; i < types.size(); ++i) {
        Poke32(r, 24 + 8 * i, types[i]);
        Poke32(r, 28 + 8 * i, kDir | (types[i] == 14 ? groupDir : emptyDir));
        if (types[i] == 14) image.groupEntry = 24 + 8 * i;
    }
    image.groupDir = groupDir;
    Poke16(r, groupDir + 12, static_cast<std::uint16_t>(l.namedGroups));
    Poke16(r, groupDir + 14, static_cast<std::uint16_t>(l.numberedGroups));
    std::size_t entry = groupDir + 16;
    for (int k = 0; k < l.namedGroups; ++k, entry += 8) {
        Poke32(r, entry, kDir | AddName(r, "GROUP" + std::to_string(k)));
        Poke32(r, entry + 4, static_cast<std::uint32_t>(dataEntry));
    }
    for (int k = 0; k < l.numberedGroups; ++k, entry += 8) {
        Poke32(r, entry, 100 + k);
        Poke32(r, entry + 4, static_cast<std::uint32_t>(dataEntry));
    }
    r.resize(r.size() + l.padding, 0x5A);
    return r;
}

// MZ stub, PE headers, a code section and the resource section last in the file.
Image BuildPe(const PeLayout& l) {
    Image image;
    Bytes rsrc = ResourceSection(l, image);
    const std::size_t optionalSize = l.wide ? 240 : 224;
    const std::size_t optional = l.peAt + 24;
    const std::size_t sections = optional + optionalSize;
    const std::size_t text = Align(sections + 2 * 40, 0x200);
    const std::size_t rsrcAt = text + 0x200;
    const std::size_t rsrcRaw = Align(rsrc.size(), 0x200);

    Bytes& b = image.bytes;
    b.assign(rsrcAt + rsrcRaw, 0);
    Put(b, 0, "MZ");
    Poke32(b, 0x3C, static_cast<std::uint32_t>(l.peAt));
    Put(b, l.peAt, std::string_view("PE\0\0", 4));
    Poke16(b, l.peAt + 4, l.wide ? 0x8664 : 0x14C);
    Poke16(b, l.peAt + 6, 2);
    Poke16(b, l.peAt + 20, static_cast<std::uint16_t>(optionalSize));
    Poke16(b, optional, l.wide ? 0x20B : 0x10B);
    const std::size_t dirs = optional + (l.wide ? 112 : 96);
    Poke32(b, dirs - 4, 16);
    Poke32(b, dirs + 16, 0x2000);
    Poke32(b, dirs + 20, static_cast<std::uint32_t>(rsrc.size()));

    Put(b, sections, ".text");
    Poke32(b, sections + 8, 0x100);
    Poke32(b, sections + 12, 0x1000);
    Poke32(b, sections + 16, 0x200);
    Poke32(b, sections + 20, static_cast<std::uint32_t>(text));
    Put(b, sections + 40, ".rsrc");
    Poke32(b, sections + 48, static_cast<std::uint32_t>(rsrc.size()));
    Poke32(b, sections + 52, 0x2000);
    Poke32(b, sections + 56, static_cast<std::uint32_t>(rsrcRaw));
    Poke32(b, sections + 60, static_cast<std::uint32_t>(rsrcAt));
    std::copy(rsrc.begin(), rsrc.end(), b.begin() + rsrcAt);

    image.next = l.peAt;
    image.sizeOfOptional = l.peAt + 20;
    image.dirCount = dirs - 4;
    image.resourceDir = dirs + 16;
    image.rsrcSection = sections + 40;
    image.root = rsrcAt;
    if (l.groupType) image.groupEntry += rsrcAt;
    image.groupDir += rsrcAt;
    return image;
}

struct NeType {
    std::uint16_t id;
    std::uint16_t count;
};

// MZ stub, NE header, the resource table of `types` (none: no table at all) and the resident names.
Image BuildNe(const std::vector<NeType>& types) {
    Image image;
    image.next = 0x40;
    image.root = 0x80;
    Bytes& b = image.bytes;
    b.assign(image.root, 0);
    Put(b, 0, "MZ");
    Poke32(b, 0x3C, 0x40);
    Put(b, 0x40, "NE");
    if (!types.empty()) {
        PutU16(b, 4);  // alignment shift
        for (const auto& t : types) {
            PutU16(b, t.id);
            PutU16(b, t.count);
            PutU32(b, 0);
            b.resize(b.size() + 12 * t.count);  // name records, not read for counting
        }
        PutU16(b, 0);
    }
    Poke16(b, 0x40 + 0x24, static_cast<std::uint16_t>(image.root - 0x40));
    Poke16(b, 0x40 + 0x26, static_cast<std::uint16_t>(b.size() - 0x40));
    b.push_back(5);
    for (char c : std::string_view("ICONS")) b.push_back(static_cast<std::uint8_t>(c));
    PutU16(b, 0);
    b.push_back(0);
    return image;
}

struct Served {
    int reads = 0;
    std::uint64_t requested = 0;
};

// Serves the bytes; reads at or past `failFrom` fail.
ReadAt Serve(const Bytes& file, Served* stats = nullptr, std::uint64_t failFrom = UINT64_MAX) {
    return [&file, stats, failFrom](std::uint64_t offset, std::size_t size, std::vector<std::uint8_t>& out) {
        if (stats) {
            ++stats->reads;
            stats->requested += size;
        }
        if (offset >= failFrom) return false;
        out.clear();
        if (offset < file.size()) {
            std::size_t n = std::min<std::uint64_t>(size, file.size() - offset);
            out.assign(file.begin() + offset, file.begin() + offset + n);
        }
        return true;
    };
}

Result<std::int32_t> Count(const Bytes& file) { return CountIconGroups(Serve(file)); }

}  // namespace

TEST(ExeIcons, CountsTheGroupsOfPeFiles) {
    struct Case {
        const char* label;
        PeLayout layout;
        std::int32_t groups;
        std::function<void(Image&)> change = nullptr;
    } cases[] = {
        {"empty group type", {}, 0},
        {"one numbered", {.numberedGroups = 1}, 1},
        {"several numbered", {.numberedGroups = 7}, 7},
        {"named only", {.namedGroups = 3}, 3},
        {"named and numbered", {.namedGroups = 2, .numberedGroups = 4}, 6},
        {"no group type", {.numberedGroups = 4, .groupType = false}, 0},
        {"headers across the first read", {.numberedGroups = 2, .peAt = 0x3F0}, 2},
        {"headers far into the file", {.numberedGroups = 2, .peAt = 0x2400}, 2},
        {"resource directory of size 0", {.numberedGroups = 3}, 0,
         [](Image& i) { Poke32(i.bytes, i.resourceDir + 4, 0); }},
        {"two data directories", {.numberedGroups = 3}, 0, [](Image& i) { Poke32(i.bytes, i.dirCount, 2); }},
    };
    for (bool wide : {false, true}) {
        for (auto c : cases) {
            c.layout.wide = wide;
            Image image = BuildPe(c.layout);
            if (c.change) c.change(image);
            auto n = Count(image.bytes);
            ASSERT_TRUE(n) << c.label << (wide ? " (PE32+): " : ": ") << n.error();
            EXPECT_EQ(*n, c.groups) << c.label << (wide ? " (PE32+)" : "");
        }
    }
}

TEST(ExeIcons, RefusesBrokenPeFiles) {
    struct Case {
        const char* label;
        std::function<void(Image&)> change;
    } cases[] = {
        {"no MZ", [](Image& i) { Put(i.bytes, 0, "ZM"); }},
        {"new header past the end", [](Image& i) { Poke32(i.bytes, 0x3C, 0xFFFFFFF0); }},
        {"bad PE signature", [](Image& i) { i.bytes[i.next + 3] = 1; }},
        {"neither PE nor NE", [](Image& i) { Put(i.bytes, i.next, "LE"); }},
        {"ROM optional header", [](Image& i) { Poke16(i.bytes, i.next + 24, 0x107); }},
        {"optional header too small for the directories",
         [](Image& i) { Poke16(i.bytes, i.sizeOfOptional, static_cast<std::uint16_t>(i.resourceDir - i.next - 24)); }},
        {"RVA outside every section", [](Image& i) { Poke32(i.bytes, i.resourceDir, 0x9000); }},
        {"RVA in the headers", [](Image& i) { Poke32(i.bytes, i.resourceDir, 0); }},
        {"RVA past the section's raw data", [](Image& i) {
             Poke32(i.bytes, i.rsrcSection + 8, 0x10000);
             Poke32(i.bytes, i.resourceDir, 0x2000 + 0x8000);
         }},
        {"section data longer than the file", [](Image& i) { Poke32(i.bytes, i.rsrcSection + 16, 0x10000); }},
        {"root entries run past the section", [](Image& i) { Poke16(i.bytes, i.root + 14, 0xFFFF); }},
        {"types out of order", [](Image& i) { Poke32(i.bytes, i.groupEntry + 8, 5); }},
        {"type listed twice", [](Image& i) { Poke32(i.bytes, i.groupEntry + 8, 14); }},
        {"id beyond 16 bits", [](Image& i) { Poke32(i.bytes, i.groupEntry, 0x1000E); }},
        {"group entry is not a directory",
         [](Image& i) { Poke32(i.bytes, i.groupEntry + 4, static_cast<std::uint32_t>(i.groupDir - i.root)); }},
        {"group directory past the section", [](Image& i) { Poke32(i.bytes, i.groupEntry + 4, kDir | 0x7FFFFFF0); }},
        {"group entries run past the section", [](Image& i) { Poke16(i.bytes, i.groupDir + 14, 0xFFFF); }},
    };
    for (bool wide : {false, true}) {
        for (const auto& c : cases) {
            Image image = BuildPe({.wide = wide, .namedGroups = 1, .numberedGroups = 2});
            c.change(image);
            EXPECT_FALSE(Count(image.bytes)) << c.label << (wide ? " (PE32+)" : "");
        }
    }
}

TEST(ExeIcons, EveryCutOrFailedReadIsAnError) {
    for (bool wide : {false, true}) {
        const Bytes full = BuildPe({.wide = wide, .namedGroups = 1, .numberedGroups = 2}).bytes;
        ASSERT_TRUE(Count(full));
        for (std::size_t n = 0; n < full.size(); ++n)
            EXPECT_FALSE(Count(Bytes(full.begin(), full.begin() + n))) << "cut at " << n;
        for (std::uint64_t from : {0u, 0x400u}) {
            auto n = CountIconGroups(Serve(full, nullptr, from));
            ASSERT_FALSE(n) << "reads failing from " << from;
            EXPECT_EQ(n.error(), "the file could not be read");
        }
    }
    const Image ne = BuildNe({{0x8003, 2}, {0x800E, 2}});
    const std::size_t tableEnd = ne.bytes.size() - 9;  // the resident names follow the table
    for (std::size_t n = 0; n < tableEnd; ++n)
        EXPECT_FALSE(Count(Bytes(ne.bytes.begin(), ne.bytes.begin() + n))) << "NE cut at " << n;
    EXPECT_TRUE(Count(Bytes(ne.bytes.begin(), ne.bytes.begin() + tableEnd)));
}

TEST(ExeIcons, ReadsOnlyHeadersAndDirectory) {
    const Bytes file = BuildPe({.numberedGroups = 3, .padding = 8 << 20}).bytes;
    Served stats;
    auto n = CountIconGroups(Serve(file, &stats));
    ASSERT_TRUE(n) << n.error();
    EXPECT_EQ(*n, 3);
    EXPECT_LE(stats.reads, 4);
    EXPECT_LE(stats.requested, 4096u);
}

TEST(ExeIcons, CountsTheGroupsOfNeFiles) {
    struct Case {
        const char* label;
        std::vector<NeType> types;
        std::int32_t groups;
    } cases[] = {
        {"icons and groups", {{0x8003, 5}, {0x800E, 3}}, 3},
        {"groups first", {{0x800E, 1}, {0x8003, 1}}, 1},
        {"icons only", {{0x8003, 2}}, 0},
        {"named types skipped", {{0x0120, 2}, {0x800E, 4}, {0x8010, 1}}, 4},
        {"empty group type", {{0x8003, 1}, {0x800E, 0}}, 0},
        {"no resource table", {}, 0},
    };
    for (const auto& c : cases) {
        auto n = Count(BuildNe(c.types).bytes);
        ASSERT_TRUE(n) << c.label << ": " << n.error();
        EXPECT_EQ(*n, c.groups) << c.label;
    }
}

TEST(ExeIcons, RefusesBrokenNeFiles) {
    std::vector<NeType> many(1100, NeType{0x8010, 0});
    many.push_back({0x800E, 1});
    struct Case {
        const char* label;
        Image image;
        std::function<void(Image&)> change;
    } cases[] = {
        {"groups listed twice", BuildNe({{0x800E, 1}, {0x8003, 1}, {0x800E, 2}}), nullptr},
        {"absurd number of types", BuildNe(many), nullptr},
        {"count runs past the end", BuildNe({{0x8003, 1}, {0x800E, 1}}),
         [](Image& i) { Poke16(i.bytes, i.root + 4, 0xFFFF); }},
        {"table inside the NE header", BuildNe({{0x800E, 1}}), [](Image& i) { Poke16(i.bytes, i.next + 0x24, 0x10); }},
        {"table past the end", BuildNe({{0x800E, 1}}), [](Image& i) { Poke16(i.bytes, i.next + 0x24, 0xF000); }},
        {"bad signature", BuildNe({{0x800E, 1}}), [](Image& i) { Put(i.bytes, i.next, "NX"); }},
    };
    for (auto& c : cases) {
        if (c.change) c.change(c.image);
        EXPECT_FALSE(Count(c.image.bytes)) << c.label;
    }
}
