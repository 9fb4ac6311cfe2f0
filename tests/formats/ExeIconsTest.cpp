// Icons of PE32, PE32+ and NE modules built here and of Wine's own libraries: group counts, groups and
// images, and every way their headers can lie.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>

#include "FormatsTestSupport.h"
#include "formats/Bytes.h"
#include "formats/ExeIcons.h"
#include "formats/IconPicture.h"

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
struct Built {
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
Bytes ResourceSection(const PeLayout& l, Built& image) {
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
Built BuildPe(const PeLayout& l) {
    Built image;
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
Built BuildNe(const std::vector<NeType>& types) {
    Built image;
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
        std::function<void(Built&)> change = nullptr;
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
         [](Built& i) { Poke32(i.bytes, i.resourceDir + 4, 0); }},
        {"two data directories", {.numberedGroups = 3}, 0, [](Built& i) { Poke32(i.bytes, i.dirCount, 2); }},
    };
    for (bool wide : {false, true}) {
        for (auto c : cases) {
            c.layout.wide = wide;
            Built image = BuildPe(c.layout);
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
        std::function<void(Built&)> change;
    } cases[] = {
        {"no MZ", [](Built& i) { Put(i.bytes, 0, "ZM"); }},
        {"new header past the end", [](Built& i) { Poke32(i.bytes, 0x3C, 0xFFFFFFF0); }},
        {"bad PE signature", [](Built& i) { i.bytes[i.next + 3] = 1; }},
        {"neither PE nor NE", [](Built& i) { Put(i.bytes, i.next, "LE"); }},
        {"ROM optional header", [](Built& i) { Poke16(i.bytes, i.next + 24, 0x107); }},
        {"optional header too small for the directories",
         [](Built& i) { Poke16(i.bytes, i.sizeOfOptional, static_cast<std::uint16_t>(i.resourceDir - i.next - 24)); }},
        {"RVA outside every section", [](Built& i) { Poke32(i.bytes, i.resourceDir, 0x9000); }},
        {"RVA in the headers", [](Built& i) { Poke32(i.bytes, i.resourceDir, 0); }},
        {"RVA past the section's raw data", [](Built& i) {
             Poke32(i.bytes, i.rsrcSection + 8, 0x10000);
             Poke32(i.bytes, i.resourceDir, 0x2000 + 0x8000);
         }},
        {"section data longer than the file", [](Built& i) { Poke32(i.bytes, i.rsrcSection + 16, 0x10000); }},
        {"root entries run past the section", [](Built& i) { Poke16(i.bytes, i.root + 14, 0xFFFF); }},
        {"types out of order", [](Built& i) { Poke32(i.bytes, i.groupEntry + 8, 5); }},
        {"type listed twice", [](Built& i) { Poke32(i.bytes, i.groupEntry + 8, 14); }},
        {"id beyond 16 bits", [](Built& i) { Poke32(i.bytes, i.groupEntry, 0x1000E); }},
        {"group entry is not a directory",
         [](Built& i) { Poke32(i.bytes, i.groupEntry + 4, static_cast<std::uint32_t>(i.groupDir - i.root)); }},
        {"group directory past the section", [](Built& i) { Poke32(i.bytes, i.groupEntry + 4, kDir | 0x7FFFFFF0); }},
        {"group entries run past the section", [](Built& i) { Poke16(i.bytes, i.groupDir + 14, 0xFFFF); }},
    };
    for (bool wide : {false, true}) {
        for (const auto& c : cases) {
            Built image = BuildPe({.wide = wide, .namedGroups = 1, .numberedGroups = 2});
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
    const Built ne = BuildNe({{0x8003, 2}, {0x800E, 2}});
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
        Built image;
        std::function<void(Built&)> change;
    } cases[] = {
        {"groups listed twice", BuildNe({{0x800E, 1}, {0x8003, 1}, {0x800E, 2}}), nullptr},
        {"absurd number of types", BuildNe(many), nullptr},
        {"count runs past the end", BuildNe({{0x8003, 1}, {0x800E, 1}}),
         [](Built& i) { Poke16(i.bytes, i.root + 4, 0xFFFF); }},
        {"table inside the NE header", BuildNe({{0x800E, 1}}), [](Built& i) { Poke16(i.bytes, i.next + 0x24, 0x10); }},
        {"table past the end", BuildNe({{0x800E, 1}}), [](Built& i) { Poke16(i.bytes, i.next + 0x24, 0xF000); }},
        {"bad signature", BuildNe({{0x800E, 1}}), [](Built& i) { Put(i.bytes, i.next, "NX"); }},
    };
    for (auto& c : cases) {
        if (c.change) c.change(c.image);
        EXPECT_FALSE(Count(c.image.bytes)) << c.label;
    }
}

// ---- Modules with real icon groups and images

namespace {

// A resource of a built module: named when `name` is set, else numbered `id`.
struct Res {
    std::string name;
    std::uint16_t id = 0;
    Bytes data;
};

// The directory entry the system would write for an icon image, described from its bitmap header.
GroupImage Describe(std::uint16_t id, const Bytes& dib) {
    const std::uint32_t width = *ReadU32(dib, 4), height = *ReadU32(dib, 8) / 2;
    return {static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(height), 0, 1, *ReadU16(dib, 14),
            static_cast<std::uint32_t>(dib.size()), id};
}

Bytes GroupBytes(const std::vector<GroupImage>& images) {
    Bytes g;
    PutU16(g, 0);
    PutU16(g, 1);
    PutU16(g, static_cast<std::uint32_t>(images.size()));
    for (const GroupImage& i : images) {
        g.insert(g.end(), {i.width, i.height, i.colorCount, 0});
        PutU16(g, i.planes);
        PutU16(g, i.bitCount);
        PutU32(g, i.bytes);
        PutU16(g, i.id);
    }
    return g;
}

bool Same(const std::vector<GroupImage>& a, const std::vector<GroupImage>& b) {
    auto key = [](const GroupImage& i) {
        return std::tuple(i.width, i.height, i.colorCount, i.planes, i.bitCount, i.bytes, i.id);
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](const GroupImage& x, const GroupImage& y) { return key(x) == key(y); });
}

// Where the parts of a built module are, for the cases that break them.
struct Module {
    Bytes bytes;
    bool ne = false;
    std::uint16_t shift = 0;                   // NE
    std::size_t resourceDir = 0;               // PE: data directory 2
    std::size_t textSection = 0, rsrcSection = 0;  // PE: section headers
    std::size_t root = 0;                      // PE: resource root; NE: resource table
    std::size_t iconType = 0, groupType = 0;   // PE: the root's entries; NE: the type records
    std::vector<std::size_t> bounds;           // PE: each section's raw start and end
    struct At {
        std::size_t entry = 0;      // PE: the entry in its type's directory; NE: the name record
        std::size_t languages = 0;  // PE: its language directory
        std::size_t dataEntry = 0;  // PE
        std::size_t data = 0;
    };
    std::vector<At> groups, icons;
};

// MZ stub, PE headers, a code section and a resource section last in the file: the root lists icon
// images (3) and icon groups (14); every resource has a language directory of one language and a
// data entry; names, then the data. `groups` as stored: named first, then numbered.
Module BuildModulePe(bool wide, const std::vector<Res>& groups, const std::vector<Res>& icons) {
    Module m;
    const std::size_t nI = icons.size(), nG = groups.size();
    const std::size_t iconDir = 16 + 2 * 8, groupDir = iconDir + 16 + 8 * nI;
    const std::size_t languages = groupDir + 16 + 8 * nG;
    const std::size_t dataEntries = languages + 24 * (nI + nG);
    Bytes r(dataEntries + 16 * (nI + nG), 0);
    Poke16(r, 14, 2);
    Poke32(r, 16, 3);
    Poke32(r, 20, kDir | iconDir);
    Poke32(r, 24, 14);
    Poke32(r, 28, kDir | groupDir);
    std::uint16_t named = 0;
    for (const Res& g : groups) named += g.name.empty() ? 0 : 1;
    Poke16(r, iconDir + 14, static_cast<std::uint16_t>(nI));
    Poke16(r, groupDir + 12, named);
    Poke16(r, groupDir + 14, static_cast<std::uint16_t>(nG - named));

    std::vector<Module::At> at(nI + nG);
    for (std::size_t k = 0; k < nI + nG; ++k) {
        const bool isGroup = k >= nI;
        const Res& res = isGroup ? groups[k - nI] : icons[k];
        at[k].entry = (isGroup ? groupDir + 16 + 8 * (k - nI) : iconDir + 16 + 8 * k);
        at[k].languages = languages + 24 * k;
        at[k].dataEntry = dataEntries + 16 * k;
        Poke32(r, at[k].entry, res.name.empty() ? res.id : kDir | AddName(r, res.name));
        Poke32(r, at[k].entry + 4, static_cast<std::uint32_t>(kDir | at[k].languages));
        Poke16(r, at[k].languages + 14, 1);
        Poke32(r, at[k].languages + 16, 0x409);
        Poke32(r, at[k].languages + 20, static_cast<std::uint32_t>(at[k].dataEntry));
    }
    for (std::size_t k = 0; k < nI + nG; ++k) {
        const Bytes& data = k >= nI ? groups[k - nI].data : icons[k].data;
        r.resize(Align(r.size(), 8), 0);
        at[k].data = r.size();
        Poke32(r, at[k].dataEntry, static_cast<std::uint32_t>(0x2000 + r.size()));
        Poke32(r, at[k].dataEntry + 4, static_cast<std::uint32_t>(data.size()));
        r.insert(r.end(), data.begin(), data.end());
    }

    PeLayout l;
    l.wide = wide;
    Built headers = BuildPe(l);  // its headers, with the resource section replaced
    const std::size_t rsrcAt = headers.root, rsrcRaw = Align(r.size(), 0x200);
    m.bytes.assign(headers.bytes.begin(), headers.bytes.begin() + static_cast<std::ptrdiff_t>(rsrcAt));
    m.bytes.resize(rsrcAt + rsrcRaw, 0);
    std::copy(r.begin(), r.end(), m.bytes.begin() + static_cast<std::ptrdiff_t>(rsrcAt));
    Poke32(m.bytes, headers.resourceDir + 4, static_cast<std::uint32_t>(r.size()));
    Poke32(m.bytes, headers.rsrcSection + 8, static_cast<std::uint32_t>(r.size()));
    Poke32(m.bytes, headers.rsrcSection + 16, static_cast<std::uint32_t>(rsrcRaw));

    m.resourceDir = headers.resourceDir;
    m.rsrcSection = headers.rsrcSection;
    m.textSection = headers.rsrcSection - 40;
    m.root = rsrcAt;
    m.iconType = rsrcAt + 16;
    m.groupType = rsrcAt + 24;
    const std::size_t textAt = *ReadU32(m.bytes, m.textSection + 20);
    m.bounds = {textAt, textAt + 0x200, rsrcAt, rsrcAt + rsrcRaw};
    for (auto& a : at)
        for (std::size_t* p : {&a.entry, &a.languages, &a.dataEntry, &a.data}) *p += rsrcAt;
    m.icons.assign(at.begin(), at.begin() + static_cast<std::ptrdiff_t>(nI));
    m.groups.assign(at.begin() + static_cast<std::ptrdiff_t>(nI), at.end());
    return m;
}

// MZ stub, NE header, the resource table (the alignment shift, icon images (0x8003) and icon groups
// (0x800E), each record: offset and length in units of 1 << shift, flags, id, handle and usage), the
// names of named groups, the resident names, then the data, each resource at a whole unit.
Module BuildModuleNe(std::uint16_t shift, const std::vector<Res>& groups, const std::vector<Res>& icons) {
    Module m;
    m.ne = true;
    m.shift = shift;
    m.root = 0x80;
    Bytes& b = m.bytes;
    b.assign(m.root, 0);
    Put(b, 0, "MZ");
    Poke32(b, 0x3C, 0x40);
    Put(b, 0x40, "NE");
    PutU16(b, shift);
    std::vector<Module::At> at;
    for (const auto* list : {&icons, &groups}) {
        (list == &icons ? m.iconType : m.groupType) = b.size();
        PutU16(b, list == &icons ? 0x8003 : 0x800E);
        PutU16(b, static_cast<std::uint32_t>(list->size()));
        PutU32(b, 0);
        for (std::size_t k = 0; k < list->size(); ++k) {
            at.push_back({b.size()});
            b.resize(b.size() + 12, 0);
        }
    }
    PutU16(b, 0);
    for (std::size_t k = 0; k < at.size(); ++k) {
        const Res& res = k < icons.size() ? icons[k] : groups[k - icons.size()];
        Poke16(b, at[k].entry + 4, 0x1C30);  // moveable, pure, discardable
        if (res.name.empty()) {
            Poke16(b, at[k].entry + 6, static_cast<std::uint16_t>(0x8000 | res.id));
        } else {
            Poke16(b, at[k].entry + 6, static_cast<std::uint16_t>(b.size() - m.root));
            b.push_back(static_cast<std::uint8_t>(res.name.size()));
            b.insert(b.end(), res.name.begin(), res.name.end());
        }
    }
    Poke16(b, 0x40 + 0x24, static_cast<std::uint16_t>(m.root - 0x40));
    Poke16(b, 0x40 + 0x26, static_cast<std::uint16_t>(b.size() - 0x40));
    b.push_back(5);
    for (char c : std::string_view("ICONS")) b.push_back(static_cast<std::uint8_t>(c));
    PutU16(b, 0);
    b.push_back(0);

    const std::size_t unit = std::size_t{1} << shift;
    for (std::size_t k = 0; k < at.size(); ++k) {
        const Bytes& data = k < icons.size() ? icons[k].data : groups[k - icons.size()].data;
        b.resize(Align(b.size(), unit), 0);
        at[k].data = b.size();
        Poke16(b, at[k].entry, static_cast<std::uint16_t>(b.size() >> shift));
        Poke16(b, at[k].entry + 2, static_cast<std::uint16_t>(Align(data.size(), unit) >> shift));
        b.insert(b.end(), data.begin(), data.end());
    }
    b.resize(Align(b.size(), unit), 0);
    m.icons.assign(at.begin(), at.begin() + static_cast<std::ptrdiff_t>(icons.size()));
    m.groups.assign(at.begin() + static_cast<std::ptrdiff_t>(icons.size()), at.end());
    return m;
}

// Three images and four groups: two named, then two numbered, as a module stores them.
const std::vector<Res>& SampleIcons() {
    static const std::vector<Res> icons = {
        {"", 1, DibImage(16, 16, 4)}, {"", 2, DibImage(32, 32, 8)}, {"", 3, DibImage(48, 48, 32)}};
    return icons;
}

std::vector<GroupImage> SampleGroup(std::initializer_list<std::uint16_t> ids) {
    std::vector<GroupImage> images;
    for (std::uint16_t id : ids) images.push_back(Describe(id, SampleIcons()[id - 1u].data));
    return images;
}

const std::vector<std::vector<GroupImage>>& SampleGroups() {
    static const std::vector<std::vector<GroupImage>> groups = {
        SampleGroup({1, 2}), SampleGroup({3}), SampleGroup({1, 3}), SampleGroup({2, 3, 1})};
    return groups;
}

std::vector<Res> SampleGroupResources() {
    const auto& g = SampleGroups();
    return {{"MAIN", 0, GroupBytes(g[0])}, {"ZED", 0, GroupBytes(g[1])}, {"", 5, GroupBytes(g[2])},
            {"", 7, GroupBytes(g[3])}};
}

enum class Kind { Pe32, Pe32Plus, Ne0, Ne4 };

Module Sample(Kind kind) {
    switch (kind) {
        case Kind::Pe32: return BuildModulePe(false, SampleGroupResources(), SampleIcons());
        case Kind::Pe32Plus: return BuildModulePe(true, SampleGroupResources(), SampleIcons());
        case Kind::Ne0: return BuildModuleNe(0, SampleGroupResources(), SampleIcons());
        case Kind::Ne4: return BuildModuleNe(4, SampleGroupResources(), SampleIcons());
    }
    return {};
}

const char* Name(Kind kind) {
    constexpr const char* names[] = {"PE32", "PE32+", "NE shift 0", "NE shift 4"};
    return names[static_cast<int>(kind)];
}

// An image as an NE module hands it back: its bytes, then zeros to a whole unit.
Bytes Padded(const Bytes& data, std::uint16_t shift) {
    Bytes b = data;
    b.resize(Align(b.size(), std::size_t{1} << shift), 0);
    return b;
}

}  // namespace

TEST(ModuleIcons, ReadsTheGroupsAndImagesPutIn) {
    for (Kind kind : {Kind::Pe32, Kind::Pe32Plus, Kind::Ne0, Kind::Ne4}) {
        SCOPED_TRACE(Name(kind));
        const Module m = Sample(kind);
        auto module = ModuleIcons::Open(Serve(m.bytes));
        ASSERT_TRUE(module) << module.error();
        ASSERT_EQ(module->GroupCount(), SampleGroups().size());
        EXPECT_EQ(module->FindGroup(5), 2u);
        EXPECT_EQ(module->FindGroup(7), 3u);
        for (std::uint16_t absent : {0, 1, 6, 100}) EXPECT_FALSE(module->FindGroup(absent)) << absent;
        for (std::size_t i = 0; i < SampleGroups().size(); ++i) {
            auto group = module->Group(i);
            ASSERT_TRUE(group) << i << ": " << group.error();
            EXPECT_TRUE(Same(*group, SampleGroups()[i])) << "group " << i;
        }
        EXPECT_FALSE(module->Group(SampleGroups().size()));
        for (const Res& icon : SampleIcons()) {
            auto image = module->Image(icon.id);
            ASSERT_TRUE(image) << icon.id << ": " << image.error();
            EXPECT_EQ(*image, m.ne ? Padded(icon.data, m.shift) : icon.data) << icon.id;
            EXPECT_TRUE(DecodeIconImage(*image)) << icon.id;
        }
        EXPECT_FALSE(module->Image(4));
        auto count = CountIconGroups(Serve(m.bytes));
        ASSERT_TRUE(count) << count.error();
        EXPECT_EQ(*count, 4);
    }
}

namespace {

// Everything a module gives: each group's directory and the image of each of its entries, or an
// error in place of either. A broken module must give errors here, never a crash or a hang.
struct Everything {
    bool opened = false;
    std::vector<std::optional<std::vector<GroupImage>>> groups;
    std::vector<std::pair<std::uint16_t, std::optional<Bytes>>> images;
};

Everything ReadEverything(const ReadAt& read, std::size_t maxGroups = SIZE_MAX) {
    Everything all;
    auto module = ModuleIcons::Open(read);
    if (!module) return all;
    all.opened = true;
    for (std::size_t i = 0; i < std::min(module->GroupCount(), maxGroups); ++i) {
        auto group = module->Group(i);
        all.groups.emplace_back(group ? std::optional(*group) : std::nullopt);
        if (!group) continue;
        for (const GroupImage& entry : *group) {
            auto image = module->Image(entry.id);
            all.images.emplace_back(entry.id, image ? std::optional(std::move(*image)) : std::nullopt);
        }
    }
    return all;
}

}  // namespace

TEST(ModuleIcons, DamagedModulesGiveErrors) {
    enum class Fails { Open, Group, Image };  // Group: the first group; Image: the first entry's image
    struct Case {
        const char* label;
        std::vector<Kind> kinds;
        std::function<void(Module&)> damage;
        Fails fails;
    };
    const std::vector<Kind> pe = {Kind::Pe32, Kind::Pe32Plus}, ne = {Kind::Ne0, Kind::Ne4};
    const std::vector<Kind> all = {Kind::Pe32, Kind::Pe32Plus, Kind::Ne0, Kind::Ne4};
    const Case cases[] = {
        {"data RVA outside every section", pe, [](Module& m) { Poke32(m.bytes, m.groups[0].dataEntry, 0x9000); },
         Fails::Group},
        {"data RVA in the headers", pe, [](Module& m) { Poke32(m.bytes, m.groups[0].dataEntry, 0x10); }, Fails::Group},
        {"data size past the section's raw data", pe,
         [](Module& m) { Poke32(m.bytes, m.groups[0].dataEntry + 4, 0x10000); }, Fails::Group},
        {"data in the section's memory beyond its raw data", pe,
         [](Module& m) {
             Poke32(m.bytes, m.rsrcSection + 8, 0x10000);
             Poke32(m.bytes, m.icons[0].dataEntry, 0x2000 + *ReadU32(m.bytes, m.rsrcSection + 16));
         },
         Fails::Image},
        {"data size wraps past 4 GB", pe, [](Module& m) { Poke32(m.bytes, m.groups[0].dataEntry + 4, 0xFFFFFFF0); },
         Fails::Group},
        {"data of size 0", pe, [](Module& m) { Poke32(m.bytes, m.groups[0].dataEntry + 4, 0); }, Fails::Group},
        {"language level is a subdirectory", pe,
         [](Module& m) { Poke32(m.bytes, m.groups[0].languages + 20, kDir | 0x20); }, Fails::Group},
        {"language directory lists itself", pe,
         [](Module& m) {
             Poke32(m.bytes, m.groups[0].languages + 20, static_cast<std::uint32_t>(kDir | (m.groups[0].languages - m.root)));
         },
         Fails::Group},
        {"no language", pe, [](Module& m) { Poke16(m.bytes, m.groups[0].languages + 14, 0); }, Fails::Group},
        {"group without a language directory", pe,
         [](Module& m) { Poke32(m.bytes, m.groups[0].entry + 4, static_cast<std::uint32_t>(m.groups[0].dataEntry - m.root)); },
         Fails::Group},
        {"language directory past the section", pe,
         [](Module& m) { Poke32(m.bytes, m.groups[0].entry + 4, kDir | 0x7FFFFFF0); }, Fails::Group},
        {"data entry past the section", pe, [](Module& m) { Poke32(m.bytes, m.groups[0].languages + 20, 0x7FFFFFF0); },
         Fails::Group},
        {"image entry without a language directory", pe,
         [](Module& m) { Poke32(m.bytes, m.icons[0].entry + 4, static_cast<std::uint32_t>(m.icons[0].dataEntry - m.root)); },
         Fails::Image},
        {"icon directory entries run past the section", pe,
         [](Module& m) { Poke16(m.bytes, m.icons[0].entry - 16 + 14, 0xFFFF); },
         Fails::Image},
        {"group names an icon that does not exist", all,
         [](Module& m) { Poke16(m.bytes, m.groups[0].data + 6 + 12, 99); }, Fails::Image},
        {"group entry count runs past the group data", all,
         [](Module& m) { Poke16(m.bytes, m.groups[0].data + 4, 50); }, Fails::Group},
        {"group data not an icon group", all, [](Module& m) { Poke16(m.bytes, m.groups[0].data + 2, 2); }, Fails::Group},
        {"record offset past the end of the file", ne, [](Module& m) { Poke16(m.bytes, m.groups[0].entry, 0xFFFF); },
         Fails::Group},
        {"record length past the end of the file", ne,
         [](Module& m) { Poke16(m.bytes, m.groups[0].entry + 2, 0xFFFF); }, Fails::Group},
        {"image record length past the end of the file", ne,
         [](Module& m) { Poke16(m.bytes, m.icons[0].entry + 2, 0xFFFF); }, Fails::Image},
        {"record without data", ne, [](Module& m) { Poke16(m.bytes, m.groups[0].entry, 0); }, Fails::Group},
        {"record of length 0", ne, [](Module& m) { Poke16(m.bytes, m.groups[0].entry + 2, 0); }, Fails::Group},
        {"absurd alignment shift", ne, [](Module& m) { Poke16(m.bytes, m.root, 40); }, Fails::Open},
        {"shift 24: a unit is over the size limit", ne, [](Module& m) { Poke16(m.bytes, m.root, 24); }, Fails::Group},
        {"icon records run past the end of the file", ne, [](Module& m) { Poke16(m.bytes, m.iconType + 2, 0x7FFF); },
         Fails::Open},
    };
    for (const auto& c : cases) {
        for (Kind kind : c.kinds) {
            SCOPED_TRACE(std::string(c.label) + ", " + Name(kind));
            Module m = Sample(kind);
            c.damage(m);
            Served stats;
            auto module = ModuleIcons::Open(Serve(m.bytes, &stats));
            if (c.fails == Fails::Open) {
                EXPECT_FALSE(module);
                continue;
            }
            ASSERT_TRUE(module) << module.error();
            auto group = module->Group(0);
            if (c.fails == Fails::Group) {
                EXPECT_FALSE(group);
            } else {
                ASSERT_TRUE(group) << group.error();
                ASSERT_FALSE(group->empty());
                auto image = module->Image(group->front().id);
                EXPECT_FALSE(image);
            }
            EXPECT_LE(stats.requested, kMaxIconResourceBytes) << "reads must stay bounded";
        }
    }
}

TEST(ModuleIcons, EveryCutGivesErrorsOrWhatTheWholeModuleGives) {
    for (Kind kind : {Kind::Pe32, Kind::Pe32Plus, Kind::Ne0, Kind::Ne4}) {
        SCOPED_TRACE(Name(kind));
        const Module m = Sample(kind);
        const Everything whole = ReadEverything(Serve(m.bytes));
        ASSERT_TRUE(whole.opened);
        ASSERT_EQ(whole.images.size(), 8u);
        std::size_t opened = 0;
        for (std::size_t n = 0; n < m.bytes.size(); ++n) {
            const Bytes cut(m.bytes.begin(), m.bytes.begin() + static_cast<std::ptrdiff_t>(n));
            const Everything part = ReadEverything(Serve(cut));
            if (!part.opened) continue;
            ++opened;
            // What a cut file still gives is what the whole one gives: a cut never yields other bytes.
            ASSERT_EQ(part.groups.size(), whole.groups.size()) << "cut at " << n;
            for (std::size_t i = 0; i < part.groups.size(); ++i)
                if (part.groups[i]) {
                    EXPECT_TRUE(Same(*part.groups[i], *whole.groups[i])) << "cut at " << n;
                }
            for (const auto& [id, image] : part.images)
                if (image) {
                    EXPECT_EQ(image, std::find_if(whole.images.begin(), whole.images.end(),
                                                         [id = id](const auto& w) { return w.first == id; })->second)
                               << "cut at " << n;
                }
        }
        // The resource section ends a PE file and must be whole; an NE file opens once its
        // resource table is in.
        if (!m.ne) EXPECT_EQ(opened, 0u);
        else EXPECT_GT(opened, 0u);
    }
}

TEST(ModuleIcons, OversizedResourcesAreRefusedUnread) {
    // The code section claims far more raw data than the file holds, so that only the size limit
    // stands between a group's data entry and a read of its size.
    struct Case {
        const char* label;
        std::uint32_t size;
        const char* message;
    } cases[] = {
        {"one byte over the limit", kMaxIconResourceBytes + 1, "too large"},
        {"4 GB", 0xFFFFFFFF, "runs past"},
        {"at the limit, past the end of the file", kMaxIconResourceBytes, "ends inside"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Module m = Sample(Kind::Pe32);
        Poke32(m.bytes, m.textSection + 12, 0x100000);
        Poke32(m.bytes, m.textSection + 16, 0x7FFFFFFF);
        Poke32(m.bytes, m.groups[0].dataEntry, 0x100000);
        Poke32(m.bytes, m.groups[0].dataEntry + 4, c.size);
        Served stats;
        auto module = ModuleIcons::Open(Serve(m.bytes, &stats));
        ASSERT_TRUE(module) << module.error();
        auto group = module->Group(0);
        ASSERT_FALSE(group);
        EXPECT_NE(group.error().find(c.message), std::string::npos) << group.error();
        EXPECT_LE(stats.requested, std::uint64_t{kMaxIconResourceBytes} + 4 * 1024);
    }

    // Icon images without groups: nothing checked the alignment shift when the table was read.
    for (std::uint16_t shift : {25, 64, 200, 0xFFFF}) {
        Module m = BuildModuleNe(4, {}, SampleIcons());
        Poke16(m.bytes, m.root, shift);
        auto module = ModuleIcons::Open(Serve(m.bytes));
        ASSERT_TRUE(module) << module.error();
        EXPECT_EQ(module->GroupCount(), 0u);
        EXPECT_FALSE(module->Image(1)) << "shift " << shift;
    }
}

// ---- Wine's own libraries, whole and damaged

namespace {

std::vector<std::filesystem::path> WineLibraries() {
    std::vector<std::filesystem::path> found;
    for (const char* folder : {"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", "/usr/lib/x86_64-linux-gnu/wine/i386-windows",
                               "/usr/lib/i386-linux-gnu/wine/i386-windows"})
        for (const char* name : {"shell32.dll", "user32.dll", "comdlg32.dll"}) {
            std::error_code error;
            const std::filesystem::path path = std::filesystem::path(folder) / name;
            if (std::filesystem::is_regular_file(path, error)) found.push_back(path);
        }
    return found;
}

Bytes ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Serves `file` as if it ended at `size` and had the byte at `flip` inverted; counts each read and
// keeps the largest request.
struct Damage {
    std::uint64_t size = UINT64_MAX;
    std::uint64_t flip = UINT64_MAX;
    std::size_t window = kSmallReadWindow;  // how the reader reads, not a damage: both must agree
};

struct Bounded {
    int reads = 0;
    std::size_t largest = 0;
};

ReadAt ServeDamaged(const Bytes& file, Damage d, Bounded& stats) {
    return [&file, d, &stats](std::uint64_t offset, std::size_t size, std::vector<std::uint8_t>& out) {
        ++stats.reads;
        stats.largest = std::max(stats.largest, size);
        out.clear();
        const std::uint64_t end = std::min<std::uint64_t>(file.size(), d.size);
        if (offset < end) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size, end - offset));
            out.assign(file.begin() + static_cast<std::ptrdiff_t>(offset),
                       file.begin() + static_cast<std::ptrdiff_t>(offset + n));
            if (d.flip >= offset && d.flip - offset < n) out[static_cast<std::size_t>(d.flip - offset)] ^= 0xFF;
        }
        return true;
    };
}

// The raw extents of a PE file's sections, and where its resource directory is in the file.
struct PeParts {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> sections;  // raw start and end
    std::uint64_t resources = 0, resourcesEnd = 0;
};

std::optional<PeParts> PartsOf(const Bytes& b) {
    auto next = ReadU32(b, 0x3C);
    if (!next) return std::nullopt;
    auto count = ReadU16(b, *next + 6), optionalSize = ReadU16(b, *next + 20), magic = ReadU16(b, *next + 24);
    if (!count || !optionalSize || !magic) return std::nullopt;
    auto rva = ReadU32(b, *next + 24 + (*magic == 0x20B ? 112 : 96) + 16);
    if (!rva) return std::nullopt;
    PeParts parts;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t at = *next + 24 + *optionalSize + 40 * i;
        auto address = ReadU32(b, at + 12), rawSize = ReadU32(b, at + 16), raw = ReadU32(b, at + 20);
        if (!address || !rawSize || !raw) return std::nullopt;
        parts.sections.emplace_back(*raw, std::uint64_t{*raw} + *rawSize);
        if (*rva >= *address && *rva - *address < *rawSize) {
            parts.resources = *raw + (*rva - *address);
            parts.resourcesEnd = std::uint64_t{*raw} + *rawSize;
        }
    }
    if (parts.resources == 0) return std::nullopt;
    return parts;
}

// Reads every group and every image of each; what comes back must be drawable by the program or
// by the system, and no call may read without bound.
struct Tally {
    std::size_t groups = 0, images = 0, failed = 0;
};

Tally ReadAllOf(const Bytes& file, Damage damage) {
    Tally tally;
    Bounded stats;
    auto module = ModuleIcons::Open(ServeDamaged(file, damage, stats), damage.window);
    EXPECT_LE(stats.reads, 16);
    if (!module) return tally;
    for (std::size_t i = 0; i < module->GroupCount(); ++i) {
        stats.reads = 0;
        auto group = module->Group(i);
        EXPECT_LE(stats.reads, 8) << "group " << i;
        if (!group) {
            ++tally.failed;
            continue;
        }
        ++tally.groups;
        for (const GroupImage& entry : *group) {
            stats.reads = 0;
            auto image = module->Image(entry.id);
            EXPECT_LE(stats.reads, 8) << "image " << entry.id;
            if (!image) {
                ++tally.failed;
                continue;
            }
            ++tally.images;
            auto forSystem = IconImageForSystem(*image);
            if (forSystem) {
                EXPECT_GE(forSystem->size(), image->size());
            }
            if (damage.size == UINT64_MAX && damage.flip == UINT64_MAX) {
                EXPECT_TRUE(DecodeIconImage(*image) || forSystem) << "image " << entry.id;
            }
        }
    }
    EXPECT_LE(stats.largest, kMaxIconResourceBytes);
    return tally;
}

}  // namespace

TEST(ModuleIcons, ReadsEveryImageOfWinesLibraries) {
    const auto libraries = WineLibraries();
    if (libraries.empty()) GTEST_SKIP() << "Wine's libraries are not installed here";
    for (const auto& path : libraries) {
        SCOPED_TRACE(path.string());
        const Bytes file = ReadWhole(path);
        const Tally tally = ReadAllOf(file, {});
        EXPECT_EQ(tally.failed, 0u);
        EXPECT_GT(tally.groups, 0u);
        EXPECT_GE(tally.images, tally.groups);
        const Tally wide = ReadAllOf(file, {.window = kWideReadWindow});
        EXPECT_EQ(wide.groups, tally.groups);
        EXPECT_EQ(wide.images, tally.images);
        EXPECT_EQ(wide.failed, 0u);
    }
}

TEST(ModuleIcons, DamagedCopiesOfWinesLibrariesGiveErrorsOrImages) {
    const auto libraries = WineLibraries();
    if (libraries.empty()) GTEST_SKIP() << "Wine's libraries are not installed here";
    for (const auto& path : libraries) {
        SCOPED_TRACE(path.string());
        const Bytes file = ReadWhole(path);
        auto parts = PartsOf(file);
        ASSERT_TRUE(parts);
        std::vector<std::uint64_t> cuts = {file.size() / 2, 200000, (parts->resources + parts->resourcesEnd) / 2};
        for (const auto& [start, end] : parts->sections) cuts.insert(cuts.end(), {start, end, end - 1});
        for (std::uint64_t cut : cuts) {
            SCOPED_TRACE("cut at " + std::to_string(cut));
            const Tally small = ReadAllOf(file, {.size = cut});
            const Tally wide = ReadAllOf(file, {.size = cut, .window = kWideReadWindow});
            EXPECT_EQ(small.images, wide.images);
        }
        // The directory's tables come first in the section: flip bytes across its first few kilobytes.
        const Tally whole = ReadAllOf(file, {});
        int changed = 0;
        for (std::uint64_t at = parts->resources; at < std::min(parts->resourcesEnd, parts->resources + 6000); at += 47) {
            SCOPED_TRACE("flipped at " + std::to_string(at));
            const Tally t = ReadAllOf(file, {.flip = at});
            changed += t.groups != whole.groups || t.images != whole.images || t.failed != whole.failed;
        }
        EXPECT_GT(changed, 10) << "the flips must reach what the reader reads";
    }
}
