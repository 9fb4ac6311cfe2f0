// Damaged copies of programs and libraries, and damaged icon, cursor and animated files, for the
// tests that hand them to the program: each damage named, with what the program can still show.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "FormatsTestSupport.h"

namespace damaged {

inline uint32_t Get16(const Bytes& b, size_t at) { return at + 2 <= b.size() ? b[at] | b[at + 1] << 8 : 0; }
inline uint32_t Get32(const Bytes& b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }

constexpr uint32_t kDirectory = 0x80000000;  // a resource entry's offset that names a directory

// The places of a module's headers that the damages aim at, read the way a loader reads them.
struct Module {
    struct Section {
        uint32_t va, extent, rawSize, rawPointer;
        size_t header;  // where its 40-byte header lies
    };
    size_t pe = 0;             // "PE\0\0"
    size_t resourceField = 0;  // the resource data directory: its address and size
    std::vector<Section> sections;
    size_t resources = 0;  // the section holding the resource directory
    uint64_t root = 0;     // the resource directory in the file

    uint64_t ResourceEnd() const { return uint64_t{sections[resources].rawPointer} + sections[resources].rawSize; }
    std::optional<uint64_t> FileOffset(uint32_t rva) const {
        for (const Section& s : sections)
            if (rva >= s.va && rva - s.va < s.rawSize) return uint64_t{s.rawPointer} + (rva - s.va);
        return std::nullopt;
    }
};

inline std::optional<Module> ReadModule(const Bytes& b) {
    Module m;
    m.pe = Get32(b, 0x3C);
    if (Get32(b, m.pe) != 0x4550) return std::nullopt;
    const uint32_t count = Get16(b, m.pe + 6), optionalSize = Get16(b, m.pe + 20);
    const size_t optional = m.pe + 24;
    m.resourceField = optional + (Get16(b, optional) == 0x20B ? 112 : 96) + 16;
    const uint32_t rva = Get32(b, m.resourceField);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t h = optional + optionalSize + 40 * i;
        Module::Section s{Get32(b, h + 12), std::max(Get32(b, h + 8), Get32(b, h + 16)), Get32(b, h + 16),
                          Get32(b, h + 20), h};
        if (rva >= s.va && rva - s.va < s.extent) m.resources = m.sections.size();
        m.sections.push_back(s);
    }
    auto root = m.FileOffset(rva);
    if (!root) return std::nullopt;
    m.root = *root;
    return m;
}

// Where the first resource of a numbered type lies, level by level.
struct Resource {
    size_t typeEntry, nameDirectory, nameEntry, languageDirectory, languageEntry, dataEntry;
    size_t data;
    uint32_t size;
};

inline std::optional<Resource> FirstResource(const Bytes& b, const Module& m, uint32_t type) {
    const size_t root = m.root;
    const size_t first = root + 16 + 8 * Get16(b, root + 12);
    for (uint32_t i = 0; i < Get16(b, root + 14); ++i) {
        const size_t entry = first + 8 * i;
        if (Get32(b, entry) != type) continue;
        Resource r{};
        r.typeEntry = entry;
        r.nameDirectory = root + (Get32(b, entry + 4) & ~kDirectory);
        r.nameEntry = r.nameDirectory + 16;
        r.languageDirectory = root + (Get32(b, r.nameEntry + 4) & ~kDirectory);
        r.languageEntry = r.languageDirectory + 16;
        r.dataEntry = root + Get32(b, r.languageEntry + 4);
        auto data = m.FileOffset(Get32(b, r.dataEntry));
        if (!data) return std::nullopt;
        r.data = *data;
        r.size = Get32(b, r.dataEntry + 4);
        return r;
    }
    return std::nullopt;
}

// What the program can still show of a damaged module, beside its sound copy.
enum class Expect {
    Refused,             // no icons: the count is 0 and every picture the placeholder
    Whole,               // everything as in the sound copy
    FirstLost,           // the first group (index 0, and its id) shows the placeholder, the rest as sound
    SoundOrPlaceholder,  // each picture as in the sound copy or the placeholder
    AllPlaceholders,     // some count, but no picture reads
    Anything,            // no crash, an item for every entry
};

struct Damage {
    std::string name;
    Expect expect;
    size_t length = SIZE_MAX;  // cut to this many bytes
    std::optional<size_t> flip;  // a byte turned over
    std::vector<std::pair<size_t, uint32_t>> words;
    std::vector<std::pair<size_t, uint16_t>> halves;
};

inline Damage Cut(std::string name, Expect expect, size_t length, std::optional<size_t> flip = std::nullopt) {
    return {std::move(name), expect, length, flip, {}, {}};
}
inline Damage Words(std::string name, Expect expect, std::vector<std::pair<size_t, uint32_t>> words) {
    return {std::move(name), expect, SIZE_MAX, std::nullopt, std::move(words), {}};
}
inline Damage Halves(std::string name, Expect expect, std::vector<std::pair<size_t, uint16_t>> halves) {
    return {std::move(name), expect, SIZE_MAX, std::nullopt, {}, std::move(halves)};
}

inline Bytes Apply(const Bytes& sound, const Damage& d) {
    Bytes b(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(std::min(d.length, sound.size())));
    auto poke = [&b](size_t at, uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k)
            if (at + k < b.size()) b[at + k] = static_cast<uint8_t>(v >> (8 * k));
    };
    for (auto [at, v] : d.words) poke(at, v, 4);
    for (auto [at, v] : d.halves) poke(at, v, 2);
    if (d.flip && !b.empty()) b[*d.flip < b.size() ? *d.flip : b.size() - 1] ^= 0xFF;
    return b;
}

// The damages of one module: cut at every section's start and end, in the middle of its resources,
// at half its size and at 200,000 bytes, each also with a byte of its headers or resource tables
// turned over; then resource tables that point past the end, back at the root or too deep, and an
// icon group naming an icon that is not there.
inline std::vector<Damage> ModuleDamages(const Bytes& sound) {
    std::vector<Damage> damages;
    auto m = ReadModule(sound);
    if (!m) return damages;
    const auto group = FirstResource(sound, *m, 14), icon = FirstResource(sound, *m, 3);
    if (!group || !icon) return damages;
    const Module::Section& rsrc = m->sections[m->resources];

    std::set<size_t> cuts{sound.size() / 2, 200000, rsrc.rawPointer + rsrc.rawSize / 2};
    for (const Module::Section& s : m->sections) cuts.insert({s.rawPointer, size_t{s.rawPointer} + s.rawSize});
    const size_t flips[] = {0x3C, m->pe + 6, m->pe + 20, m->resourceField + 1, rsrc.header + 17, rsrc.header + 21,
                            m->root + 14, group->typeEntry + 4, group->nameEntry + 7, group->dataEntry + 5,
                            group->data + 4, group->data + 18, icon->dataEntry + 1};
    size_t n = 0;
    for (size_t cut : cuts) {
        if (cut >= sound.size()) continue;
        const std::string at = "cut at " + std::to_string(cut);
        damages.push_back(Cut(at, cut < m->ResourceEnd() ? Expect::Refused : Expect::Whole, cut));
        const size_t flip = flips[n++ % std::size(flips)];
        damages.push_back(Cut(at + ", byte " + std::to_string(flip) + " turned", Expect::Anything, cut, flip));
    }

    const uint32_t past = static_cast<uint32_t>(m->ResourceEnd() - group->data + 1);
    const uint32_t toRoot = kDirectory;
    const uint32_t selfLoop = kDirectory | static_cast<uint32_t>(group->languageDirectory - m->root);
    std::vector<std::pair<size_t, uint16_t>> missingIcons;
    for (uint32_t k = 0; k < Get16(sound, group->data + 4); ++k) missingIcons.push_back({group->data + 18 + 14 * k, 0xFFFF});
    damages.push_back(Words("group data past the end", Expect::FirstLost, {{group->dataEntry, 0xFFFFFF00}}));
    damages.push_back(Words("group size past the end", Expect::FirstLost, {{group->dataEntry + 4, 0xFFFFFFF0}}));
    damages.push_back(Words("group size past its section", Expect::FirstLost, {{group->dataEntry + 4, past}}));
    damages.push_back(Words("group name back at the root", Expect::FirstLost, {{group->nameEntry + 4, toRoot}}));
    damages.push_back(Words("group language back at the root", Expect::FirstLost, {{group->languageEntry + 4, toRoot}}));
    damages.push_back(Words("group language a directory of itself", Expect::FirstLost, {{group->languageEntry + 4, selfLoop}}));
    damages.push_back(Halves("group names a missing icon", Expect::FirstLost, missingIcons));
    damages.push_back(Halves("group counts 0xFFFF images", Expect::FirstLost, {{group->data + 4, 0xFFFF}}));
    damages.push_back(Words("group type back at the root", Expect::AllPlaceholders, {{group->typeEntry + 4, toRoot}}));
    damages.push_back(Words("icon type back at the root", Expect::AllPlaceholders, {{icon->typeEntry + 4, toRoot}}));
    damages.push_back(Words("first icon past the end", Expect::SoundOrPlaceholder, {{icon->dataEntry, 0xFFFFFF00}}));
    damages.push_back(Words("first icon size past the end", Expect::SoundOrPlaceholder, {{icon->dataEntry + 4, 0xFFFFFFF0}}));
    damages.push_back(Words("resource directory past the end", Expect::Refused, {{m->resourceField, 0x7FFFFFF0}}));
    damages.push_back(Words("resource section longer than the file", Expect::Refused, {{rsrc.header + 16, static_cast<uint32_t>(sound.size() - rsrc.rawPointer + 0x1000)}}));
    damages.push_back(Halves("0xFFFF resource types", Expect::Anything, {{m->root + 14, 0xFFFF}}));
    damages.push_back(Halves("0xFFFF icon groups", Expect::Anything, {{group->nameDirectory + 14, 0xFFFF}}));
    return damages;
}

// A file to write into a folder: its name and bytes.
struct NamedFile {
    std::string name;
    Bytes bytes;
};

inline Bytes SoundIcon(int type, int bits = 32) { return IconFileBytes(type, {{DibImage(32, 32, bits), 32, 32, type == 1 ? 1 : 3, type == 1 ? bits : 3}}); }

inline Bytes SoundAni(uint32_t frames) {
    std::vector<Bytes> icons;
    for (uint32_t i = 0; i < frames; ++i) icons.push_back(Chunk("icon", SoundIcon(2, 4)));
    return Riff("ACON", {Chunk("anih", AniHeaderBody(frames, frames, 1)), List("fram", icons)});
}

// Damaged icon and cursor files: cut short, their directory's count at 0 or 0xFFFF, offsets and
// sizes past the end, bitmap headers that lie, and every header byte turned over in turn.
inline std::vector<NamedFile> DamagedIconFiles(int type) {
    const std::string ext = type == 1 ? ".ico" : ".cur";
    const Bytes sound = SoundIcon(type, type == 1 ? 32 : 8);
    std::vector<NamedFile> files;
    auto add = [&](const std::string& name, Bytes b) { files.push_back({name + ext, std::move(b)}); };
    for (size_t cut : {size_t{0}, size_t{1}, size_t{5}, size_t{6}, size_t{21}, size_t{22}, size_t{40}, size_t{61},
                       sound.size() / 2, sound.size() - 1})
        add("cut" + std::to_string(cut), Bytes(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(cut)));
    for (size_t at = 0; at < 22 + 40; ++at) {
        Bytes b = sound;
        b[at] ^= 0xFF;
        add("flip" + std::to_string(at), b);
    }
    struct Field {
        const char* name;
        size_t at;
        uint32_t value;
        int bytes;
    } fields[] = {
        {"count0", 4, 0, 2},           {"countFFFF", 4, 0xFFFF, 2},    {"size0", 14, 0, 4},
        {"sizeFFFFFFFF", 14, 0xFFFFFFFF, 4}, {"sizePast", 14, static_cast<uint32_t>(sound.size()), 4},
        {"offsetPast", 18, static_cast<uint32_t>(sound.size()), 4}, {"offsetFFFFFFFF", 18, 0xFFFFFFFF, 4},
        {"offset0", 18, 0, 4},          {"headerSizeHuge", 22, 0x7FFFFFFF, 4}, {"width0", 26, 0, 4},
        {"widthHuge", 26, 0x40000000, 4}, {"heightNegative", 30, 0xFFFFFFC0, 4}, {"planes0", 34, 0, 2},
        {"bits0", 36, 0, 2},            {"bits64", 36, 64, 2},          {"bits3", 36, 3, 2},
        {"compressed", 38, 3, 4},       {"coloursHuge", 54, 0xFFFFFFFF, 4},
    };
    for (const Field& f : fields) {
        Bytes b = sound;
        for (int k = 0; k < f.bytes; ++k) b[f.at + k] = static_cast<uint8_t>(f.value >> (8 * k));
        add(f.name, b);
    }
    Bytes png = sound;
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    std::copy(std::begin(signature), std::end(signature), png.begin() + 22);
    add("pngGarbage", png);
    return files;
}

// Damaged animated files: frame and step counts that lie, sequences naming missing frames, chunks
// running past the end, frames that are no icons, cut short.
inline std::vector<NamedFile> DamagedAniFiles() {
    const Bytes frame = Chunk("icon", SoundIcon(2, 4));
    auto frames = [&](int n) { return List("fram", std::vector<Bytes>(static_cast<size_t>(n), frame)); };
    auto anih = [](uint32_t f, uint32_t s, uint32_t flags = 1) { return Chunk("anih", AniHeaderBody(f, s, flags)); };
    std::vector<NamedFile> files = {
        {"framesLie.ani", Riff("ACON", {anih(9, 9), frames(3)})},
        {"frames0.ani", Riff("ACON", {anih(0, 3), frames(3)})},
        {"framesHuge.ani", Riff("ACON", {anih(0xFFFFFFFF, 0xFFFFFFFF), frames(3)})},
        {"stepsHuge.ani", Riff("ACON", {anih(3, 0x7FFFFFFF), frames(3)})},
        {"stepsLieNoSeq.ani", Riff("ACON", {anih(3, 40), frames(3)})},
        {"seqMissingFrame.ani", Riff("ACON", {anih(3, 3, 3), Chunk("seq ", U32s({0, 7, 0xFFFFFFFF})), frames(3)})},
        {"seqShort.ani", Riff("ACON", {anih(3, 6, 3), Chunk("seq ", U32s({0})), frames(3)})},
        {"rateShort.ani", Riff("ACON", {anih(3, 3), Chunk("rate", U32s({1})), frames(3)})},
        {"frameNotIcon.ani", Riff("ACON", {anih(2, 2), List("fram", {frame, Chunk("icon", ToBytes("garbage!"))})})},
        {"frameCut.ani", Riff("ACON", {anih(1, 1), List("fram", {Chunk("icon", Bytes(frame.begin() + 8, frame.begin() + 40))})})},
        {"noFrames.ani", Riff("ACON", {anih(3, 3)})},
        {"noHeader.ani", Riff("ACON", {frames(3)})},
        {"notRiff.ani", ToBytes("RIFX\x10\0\0\0ACONanih")},
        {"bitmapFrames.ani", Riff("ACON", {anih(2, 2, 0), frames(2)})},
    };
    const Bytes sound = SoundAni(3);
    for (size_t cut : {size_t{0}, size_t{4}, size_t{12}, size_t{20}, size_t{56}, size_t{70}, sound.size() / 2, sound.size() - 1})
        files.push_back({"cut" + std::to_string(cut) + ".ani", Bytes(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(cut))});
    struct Lie {
        const char* name;
        size_t at;
        uint32_t value;
    } lies[] = {{"riffSizeHuge", 4, 0xFFFFFFF0}, {"riffSize0", 4, 0}, {"anihSizeHuge", 16, 0x7FFFFFFF},
                {"anihSize4", 16, 4}, {"listSizeHuge", 60, 0xFFFFFFFF}, {"iconSizeHuge", 72, 0xFFFFFFF8},
                {"iconSizeOdd", 72, 7}};
    for (const Lie& l : lies) {
        Bytes b = sound;
        for (int k = 0; k < 4; ++k) b[l.at + k] = static_cast<uint8_t>(l.value >> (8 * k));
        files.push_back({std::string(l.name) + ".ani", b});
    }
    for (size_t at = 0; at < 80; at += 3) {
        Bytes b = sound;
        b[at] ^= 0xFF;
        files.push_back({"flip" + std::to_string(at) + ".ani", b});
    }
    return files;
}

// The sound files beside the damaged ones, with the entries each gives.
struct SoundFile {
    NamedFile file;
    int entries;
};
inline std::vector<SoundFile> SoundFiles() {
    return {{{"sound.ico", SoundIcon(1)}, 1},
            {{"sound8.ico", SoundIcon(1, 8)}, 1},
            {{"sound.cur", SoundIcon(2, 8)}, 1},
            {{"sound.ani", SoundAni(4)}, 4}};
}

// Hands every file of a damaged folder to `write(name, bytes)`: the damages of each module of
// `modules` (name stem, sound bytes) no longer than `maxBytes` or half the module, with the endings
// of libraries, programs and icon libraries in turn; then the damaged icons, cursors and animated
// files.
template <class Write>
void ForEachDamagedFile(const std::vector<std::pair<std::string, Bytes>>& modules, size_t maxBytes, Write write) {
    const char* endings[] = {".dll", ".exe", ".icl"};
    for (const auto& [stem, sound] : modules) {
        size_t n = 0;
        for (const Damage& d : ModuleDamages(sound)) {
            if (std::min(d.length, sound.size()) > std::max(maxBytes, sound.size() / 2)) continue;
            write(stem + "-" + std::to_string(n) + endings[n % 3], Apply(sound, d));
            ++n;
        }
    }
    for (int type : {1, 2})
        for (const NamedFile& f : DamagedIconFiles(type)) write(f.name, f.bytes);
    for (const NamedFile& f : DamagedAniFiles()) write(f.name, f.bytes);
}

}  // namespace damaged
