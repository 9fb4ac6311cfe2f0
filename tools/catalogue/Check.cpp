// The catalogue check: every rule of the index, the archives and the library pictures.
#include "Check.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "Keywords.h"
#include "Themes.h"
#include "common/ResultEntry.h"
#include "formats/Bmp.h"
#include "formats/Catalogue.h"
#include "formats/Cells.h"
#include "formats/FileBytes.h"
#include "formats/ZipReader.h"

namespace catalogue {

namespace fs = std::filesystem;

namespace {

// Faults of one kind beyond this many are counted, not listed.
constexpr std::size_t kListedPerKind = 5;

class Faults {
  public:
    void Add(const std::string& kind, const std::string& detail) {
        if (++counts_[kind] <= kListedPerKind) list_.push_back(kind + ": " + detail);
    }
    std::vector<std::string> Done() {
        for (const auto& [kind, n] : counts_)
            if (n > kListedPerKind) list_.push_back(kind + ": " + std::to_string(n - kListedPerKind) + " more");
        return list_;
    }

  private:
    std::map<std::string, std::size_t> counts_;
    std::vector<std::string> list_;
};

bool IsAnimation(char typeCode) { return typeCode >= '3' && typeCode <= '5'; }

// The part of a token after its cell: what the frames of one animation share.
std::string Rest(const std::string& token) { return token.substr(token.find(':', token.find(':') + 1) + 1); }

struct CellKey {
    int library;
    int cell;
    friend auto operator<=>(const CellKey&, const CellKey&) = default;
};

struct Library {
    std::optional<formats::Image> picture;
};

// Up to what count a class goes, and from what count: 16 colours, 256 colours, more.
bool ColoursFitClass(std::size_t colours, int colourClass) {
    switch (colourClass) {
        case 0: return colours <= 16;
        case 1: return colours > 16 && colours <= 256;
        default: return colours > 256;
    }
}

// Every CR is followed by an LF and every LF follows a CR, the last line's too.
void CheckLineEnds(const std::string& text, Faults& faults) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) faults.Add("line end", "a CR without LF");
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) faults.Add("line end", "an LF without CR");
    }
    if (!text.empty() && !text.ends_with("\r\n")) faults.Add("line end", "the last line has no CR LF");
}

using AnimationKey = std::pair<int, std::string>;  // library and what its frames' tokens share

// What the index says: the token of every cell, and the cells of every animation.
struct Index {
    std::map<CellKey, std::string> tokenOf;
    std::map<AnimationKey, std::set<int>> animationCells;
    std::set<AnimationKey> stillRests;
    std::set<std::string> designGroups;  // the keywords that begin with "group"
};

// A keyword starts with a letter, is unique regardless of case and comes after the one before.
void CheckKeyword(const std::string& keyword, std::set<std::string>& seenKeywords, std::string& previous,
                  Faults& faults) {
    const std::string lower = Lower(keyword);
    if (keyword.empty() || !std::isalpha(static_cast<unsigned char>(keyword[0])))
        faults.Add("keyword", "\"" + keyword + "\" does not start with a letter");
    if (!seenKeywords.insert(lower).second) faults.Add("keyword", "\"" + keyword + "\" twice, letter case aside");
    else if (!previous.empty() && lower < previous) faults.Add("keyword", "\"" + keyword + "\" out of order");
    previous = lower;
}

// Runs of animation frames in one line: (library, rest) and the cells in listed order.
using Runs = std::vector<std::pair<AnimationKey, std::vector<int>>>;

// Reads the tokens of one line into the index; answers the line's runs of animation frames.
Runs ReadTokens(std::string_view refs, Index& index, CheckFigures& fig, Faults& faults) {
    Runs runs;
    bool inRun = false;
    for (std::string_view t : formats::SplitTokens(refs)) {
        ++fig.tokens;
        auto ref = ParseCatalogueRef(t);
        const std::string token(t);
        // The tool writes whole library numbers; a fraction would name a picture it never made.
        if (!ref || ref->library.size() > 4 || ref->library.find('.') != std::string::npos) {
            faults.Add("token", "\"" + token + "\" is no catalogue token");
            inRun = false;
            continue;
        }
        const int library = std::stoi(ref->library);
        if (library < 1 || library > formats::kLastLibrary) faults.Add("token", "\"" + token + "\": no such library");
        if (ref->typeCode < '0' || ref->typeCode > '8') faults.Add("token", "\"" + token + "\": type code not 0-8");
        if (!formats::MaskColor(ref->maskDigit)) faults.Add("token", "\"" + token + "\": mask digit not 0-9");
        auto [it, fresh] = index.tokenOf.try_emplace(CellKey{library, ref->cell}, token);
        if (!fresh && it->second != token)
            faults.Add("cell", "\"" + token + "\" and \"" + it->second + "\" name one cell");
        auto key = std::make_pair(library, Rest(token));
        if (!IsAnimation(ref->typeCode)) {
            index.stillRests.insert(key);
            inRun = false;
            continue;
        }
        if (!inRun || runs.back().first != key) runs.push_back({key, {}});
        runs.back().second.push_back(ref->cell);
        inRun = true;
    }
    return runs;
}

// An animation's frames are listed together, from the last to the first, and alike in every line.
void CheckRuns(const Runs& runs, const std::string& keyword, Index& index, Faults& faults) {
    std::set<AnimationKey> keysOfLine;
    for (const auto& [key, cells] : runs) {
        const std::string name = std::to_string(key.first) + ":" + key.second;
        if (!keysOfLine.insert(key).second)
            faults.Add("animation", "the frames of " + name + " are not together under \"" + keyword + "\"");
        for (std::size_t i = 1; i < cells.size(); ++i)
            if (cells[i] != cells[i - 1] - 1) faults.Add("animation", "the frames of " + name + " are out of order");
        std::set<int> set(cells.begin(), cells.end());
        auto [before, first] = index.animationCells.try_emplace(key, set);
        if (!first && before->second != set)
            faults.Add("animation", name + " has other frames under \"" + keyword + "\" than before");
    }
}

// The keyword lines and their tokens.
Index ReadIndex(const std::string& text, const CheckRules& rules, CheckFigures& fig, Faults& faults) {
    Index index;
    std::set<std::string> seenKeywords;
    std::string previous;
    const auto lines = formats::SplitLines(text);
    fig.keywords = lines.size();
    if (lines.size() > rules.maxKeywords)
        faults.Add("keywords", std::to_string(lines.size()) + " keywords, more than " + std::to_string(rules.maxKeywords));
    for (std::string_view line : lines) {
        auto parsed = formats::ParseIndexLine(line);
        if (!parsed) {
            faults.Add("index line", "no \";\" in \"" + std::string(line.substr(0, 40)) + "\"");
            continue;
        }
        const std::string keyword(parsed->keyword);
        CheckKeyword(keyword, seenKeywords, previous, faults);
        if (BeginsDesignGroup(keyword)) index.designGroups.insert(keyword);
        const std::string_view refs = parsed->refs;
        if (refs.empty() || refs.front() == ';' || refs.back() == ';' || refs.find(";;") != std::string_view::npos)
            faults.Add("empty token", "in the line of \"" + keyword + "\"");
        CheckRuns(ReadTokens(refs, index, fig, faults), keyword, index, faults);
    }
    return index;
}

// Each animation has consecutive frames, at least two, and no still picture shares its key.
void CheckAnimations(const Index& index, Faults& faults) {
    for (const auto& [key, cells] : index.animationCells) {
        if (index.stillRests.count(key)) faults.Add("animation", "a still picture shares the key of " + key.second);
        if (*cells.rbegin() - *cells.begin() + 1 != static_cast<int>(cells.size()))
            faults.Add("animation", "the frames of " + std::to_string(key.first) + ":" + key.second + " are not consecutive");
        if (cells.size() < 2) faults.Add("animation", std::to_string(key.first) + ":" + key.second + " has one frame");
    }
}

// The keywords that begin with "group" are the design groups of the icon themes, each theme's there.
void CheckDesignGroups(const Index& index, const CheckRules& rules, Faults& faults) {
    std::set<std::string> designs;
    for (const Theme& theme : CatalogueThemes())
        if (!theme.design.empty()) designs.insert(DesignGroup(theme.design));
    for (const std::string& keyword : index.designGroups)
        if (!designs.count(keyword)) faults.Add("design group", "\"" + keyword + "\" is no theme's design");
    if (rules.everyDesign)
        for (const std::string& group : designs)
            if (!index.designGroups.count(group)) faults.Add("design group", "no \"" + group + "\"");
}

using Archives = std::map<std::string, std::unique_ptr<formats::ZipArchive>>;

// The picture of one library from its archive, opened on first use; nothing when it does not read.
std::optional<formats::Image> ReadLibrary(const fs::path& folder, int library, Archives& archives, Faults& faults) {
    const auto archiveName = formats::ArchiveForLibrary(library);
    if (!archiveName) return std::nullopt;
    auto& archive = archives[*archiveName];
    if (!archive) {
        auto opened = formats::ZipArchive::OpenFile(folder / *archiveName);
        if (!opened) {
            faults.Add("archive", *archiveName + ": " + opened.error());
            archive = nullptr;
            return std::nullopt;
        }
        archive = std::make_unique<formats::ZipArchive>(std::move(opened).value());
    }
    const std::string entry = formats::LibraryEntryName(std::to_string(library));
    auto index = archive->Find(entry);
    if (!index) {
        faults.Add("library", entry + " is not in " + *archiveName);
        return std::nullopt;
    }
    auto data = archive->Read(*index, formats::kLibraryPassword);
    if (!data) {
        faults.Add("library", entry + ": " + data.error());
        return std::nullopt;
    }
    if (data->size() < 30 || (*data)[28] != 24 || (*data)[29] != 0) faults.Add("library", entry + " is no 24-bit bitmap");
    auto picture = formats::ReadBmp(data.value());
    if (!picture) {
        faults.Add("library", entry + ": " + picture.error());
        return std::nullopt;
    }
    if (picture->width % formats::kCellSize || picture->height % formats::kCellSize)
        faults.Add("library", entry + " is no whole grid of cells");
    return std::move(picture).value();
}

// An archive holds only the libraries the archive table puts there, each as "<number>.lib".
void CheckArchiveEntries(const Archives& archives, Faults& faults) {
    for (const auto& [name, archive] : archives) {
        if (!archive) continue;
        for (const auto& e : archive->Entries()) {
            const std::string stem = e.name.substr(0, e.name.find('.'));
            const bool number = !stem.empty() && std::all_of(stem.begin(), stem.end(), [](unsigned char c) { return std::isdigit(c); });
            if (!number || e.name != stem + ".lib" || formats::ArchiveForLibrary(std::stod(stem)) != name)
                faults.Add("archive", name + " holds " + e.name);
        }
    }
}

// The library pictures the index refers to, from their archives.
std::map<int, Library> ReadLibraries(const fs::path& folder, const Index& index, Faults& faults) {
    Archives archives;
    std::map<int, Library> libraries;
    for (const auto& [cell, token] : index.tokenOf) {
        if (libraries.count(cell.library)) continue;
        libraries[cell.library].picture = ReadLibrary(folder, cell.library, archives, faults);
    }
    CheckArchiveEntries(archives, faults);
    return libraries;
}

// What a cut cell shows: whether its mask colour shows on its edge, whether anything else shows,
// its colours, and its bytes to tell pictures apart.
struct CellPicture {
    bool around = false;
    bool anything = false;
    std::unordered_set<std::uint32_t> colours;
    std::string bytes;
};

CellPicture ReadCellPicture(const formats::Cell& cut) {
    CellPicture p;
    for (int y = 0; y < formats::kCellSize; ++y)
        for (int x = 0; x < formats::kCellSize; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * formats::kCellSize + x;
            const bool edge = x == 0 || y == 0 || x == formats::kCellSize - 1 || y == formats::kCellSize - 1;
            if (cut.transparent[i]) {
                p.around = p.around || edge;
                p.bytes += '\0';
                continue;
            }
            p.anything = true;
            const auto& px = cut.pixels[i];
            p.colours.insert(static_cast<std::uint32_t>(px.r) << 16 | px.g << 8 | px.b);
            p.bytes += '\1';
            p.bytes += static_cast<char>(px.r);
            p.bytes += static_cast<char>(px.g);
            p.bytes += static_cast<char>(px.b);
        }
    return p;
}

// Every cell referred to: inside its grid, its mask colour around it, its colours fitting its
// class. Answers the cells used, by library.
std::map<int, std::set<int>> CheckCells(const Index& index, std::map<int, Library>& libraries, CheckFigures& fig,
                                        Faults& faults) {
    std::unordered_map<std::string, std::size_t> pictures;  // picture bytes → times seen
    std::map<AnimationKey, std::unordered_set<std::uint32_t>> animationColours;
    std::map<int, std::set<int>> used;
    for (const auto& [cell, token] : index.tokenOf) {
        auto ref = ParseCatalogueRef(token);
        const Library& lib = libraries[cell.library];
        if (!lib.picture) continue;
        const std::uint32_t bgr = formats::MaskColor(ref->maskDigit).value_or(0);
        const formats::Rgb mask{static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>(bgr >> 8 & 0xFF),
                                static_cast<std::uint8_t>(bgr >> 16 & 0xFF)};
        auto cut = formats::CutCell(*lib.picture, cell.cell, mask);
        if (!cut) {
            faults.Add("cell", "\"" + token + "\" lies outside its library's grid");
            continue;
        }
        used[cell.library].insert(cell.cell);
        const CellPicture picture = ReadCellPicture(*cut);
        if (!picture.around) faults.Add("mask", "the mask colour of \"" + token + "\" does not show around its picture");
        if (!picture.anything) faults.Add("mask", "\"" + token + "\" shows nothing");
        if (++pictures[picture.bytes] == 2) faults.Add("picture", "\"" + token + "\" shows a picture stored before");
        const int colourClass = (ref->typeCode - '0') % 3;
        if (IsAnimation(ref->typeCode)) {
            animationColours[{cell.library, Rest(token)}].insert(picture.colours.begin(), picture.colours.end());
        } else {
            if (!ColoursFitClass(picture.colours.size(), colourClass))
                faults.Add("class", "\"" + token + "\" has " + std::to_string(picture.colours.size()) + " colours");
            if (ref->typeCode >= '0' && ref->typeCode <= '8') ++fig.entries[static_cast<std::size_t>(ref->typeCode - '0')];
        }
    }
    for (const auto& [key, colours] : animationColours) {
        const char typeCode = key.second.back();
        if (!ColoursFitClass(colours.size(), (typeCode - '0') % 3))
            faults.Add("class", "animation " + std::to_string(key.first) + ":" + key.second + " has " +
                                    std::to_string(colours.size()) + " colours");
        ++fig.entries[static_cast<std::size_t>(typeCode - '0')];
    }
    fig.pictures = pictures.size();
    return used;
}

// A cell that no keyword lists must be empty (a library's last row is filled up with one colour).
void CheckUnlistedCells(const std::map<int, Library>& libraries, std::map<int, std::set<int>>& used, Faults& faults) {
    for (const auto& [number, lib] : libraries) {
        if (!lib.picture) continue;
        for (int c = 0; c < formats::CellCount(*lib.picture); ++c) {
            if (used[number].count(c)) continue;
            auto cut = formats::CutCell(*lib.picture, c, {});
            std::set<std::tuple<int, int, int>> colours;
            for (const auto& p : cut->pixels) colours.insert({p.r, p.g, p.b});
            if (colours.size() > 1)
                faults.Add("keyword", "cell " + std::to_string(c) + " of library " + std::to_string(number) +
                                          " holds a picture under no keyword");
        }
    }
}

// Enough pictures and animations, and an entry of every type.
void CheckCounts(const CheckFigures& fig, const CheckRules& rules, Faults& faults) {
    std::size_t animations = fig.entries[3] + fig.entries[4] + fig.entries[5];
    if (fig.pictures < rules.minPictures)
        faults.Add("count", std::to_string(fig.pictures) + " pictures, fewer than " + std::to_string(rules.minPictures));
    if (animations < rules.minAnimations)
        faults.Add("count", std::to_string(animations) + " animations, fewer than " + std::to_string(rules.minAnimations));
    if (rules.everyClass)
        for (int c = 0; c < 9; ++c)
            if (fig.entries[static_cast<std::size_t>(c)] == 0) faults.Add("count", "no entry of type " + std::to_string(c));
}

}  // namespace

CheckResult CheckCatalogue(const fs::path& folder, const CheckRules& rules) {
    CheckResult result;
    Faults faults;
    auto& fig = result.figures;

    auto bytes = formats::ReadFileBytes(folder / "Icondata.dat", 64ull << 20);
    if (!bytes) {
        result.faults.push_back("Icondata.dat: " + bytes.error());
        return result;
    }
    const std::string text(bytes->begin(), bytes->end());
    CheckLineEnds(text, faults);
    const Index index = ReadIndex(text, rules, fig, faults);
    CheckAnimations(index, faults);
    CheckDesignGroups(index, rules, faults);
    std::map<int, Library> libraries = ReadLibraries(folder, index, faults);
    fig.libraries = libraries.size();
    std::map<int, std::set<int>> used = CheckCells(index, libraries, fig, faults);
    CheckUnlistedCells(libraries, used, faults);
    CheckCounts(fig, rules, faults);
    result.faults = faults.Done();
    return result;
}

}  // namespace catalogue
