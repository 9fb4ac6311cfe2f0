// Libraries, tokens, index lines and archives.
#include "Layout.h"

#include <algorithm>
#include <map>

#include "formats/Catalogue.h"
#include "formats/ZipWriter.h"

namespace catalogue {

namespace {

formats::Pixel PixelOf(std::uint32_t rgb) {
    return formats::Pixel{static_cast<std::uint8_t>(rgb & 0xFF), static_cast<std::uint8_t>(rgb >> 8 & 0xFF),
                          static_cast<std::uint8_t>(rgb >> 16 & 0xFF), 255};
}

formats::Pixel MaskPixel(char digit) {
    const std::uint32_t bgr = *formats::MaskColor(digit);
    return formats::Pixel{static_cast<std::uint8_t>(bgr >> 16 & 0xFF), static_cast<std::uint8_t>(bgr >> 8 & 0xFF),
                          static_cast<std::uint8_t>(bgr & 0xFF), 255};
}

}  // namespace

formats::Result<std::vector<Placement>> Place(const std::vector<Entry>& entries, int lastLibrary) {
    std::vector<Placement> out;
    int library = 1, cell = 0, animations = 0;
    for (const Entry& e : entries) {
        const int frames = static_cast<int>(e.frames.size());
        if (frames < 1 || frames > kCellsPerLibrary) return formats::Fail("an entry has no frame or too many");
        if (cell + frames > kCellsPerLibrary) {
            ++library;
            cell = 0;
            animations = 0;
        }
        if (library > lastLibrary) return formats::Fail("the pictures need more than " + std::to_string(lastLibrary) + " libraries");
        out.push_back(Placement{library, cell, frames > 1 ? ++animations : 0});
        cell += frames;
    }
    return out;
}

std::string Token(const Entry& entry, const Placement& placement, int frame) {
    std::string t = std::to_string(placement.library) + ":" + std::to_string(placement.firstCell + frame) + ":";
    if (placement.animation > 0) t += "a" + std::to_string(placement.animation);
    t += entry.maskDigit;
    t += entry.typeCode;
    return t;
}

std::vector<std::string> IndexTokens(const Entry& entry, const Placement& placement) {
    std::vector<std::string> tokens;
    for (int f = static_cast<int>(entry.frames.size()); f-- > 0;) tokens.push_back(Token(entry, placement, f));
    return tokens;
}

std::string IndexText(const std::vector<std::string>& keywords, const std::vector<std::vector<std::size_t>>& entries,
                      const std::vector<Entry>& catalogueEntries, const std::vector<Placement>& placements) {
    std::string text;
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        std::vector<std::size_t> mine = entries[k];
        std::sort(mine.begin(), mine.end(), [&](std::size_t a, std::size_t b) {
            return std::pair(placements[a].library, placements[a].firstCell) <
                   std::pair(placements[b].library, placements[b].firstCell);
        });
        text += keywords[k];
        for (std::size_t e : mine)
            for (const std::string& t : IndexTokens(catalogueEntries[e], placements[e])) text += ";" + t;
        text += "\r\n";
    }
    return text;
}

std::vector<formats::Image> LibraryPictures(const std::vector<Entry>& entries, const std::vector<Placement>& placements) {
    std::map<int, int> used;  // library → cells used
    for (std::size_t i = 0; i < entries.size(); ++i)
        used[placements[i].library] =
            std::max(used[placements[i].library], placements[i].firstCell + static_cast<int>(entries[i].frames.size()));
    std::vector<formats::Image> pictures;
    for (const auto& [library, cells] : used) {
        const int rows = (cells + kLibraryColumns - 1) / kLibraryColumns;
        pictures.emplace_back(kLibraryColumns * kSide, rows * kSide, formats::Pixel{255, 255, 255, 255});
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        formats::Image& picture = pictures[static_cast<std::size_t>(placements[i].library - 1)];
        const formats::Pixel mask = MaskPixel(entries[i].maskDigit);
        for (std::size_t f = 0; f < entries[i].frames.size(); ++f) {
            const int cell = placements[i].firstCell + static_cast<int>(f);
            const int left = cell % kLibraryColumns * kSide, top = cell / kLibraryColumns * kSide;
            for (int y = 0; y < kSide; ++y)
                for (int x = 0; x < kSide; ++x) {
                    const std::uint32_t p = entries[i].frames[f][static_cast<std::size_t>(y) * kSide + x];
                    picture.At(left + x, top + y) = p == 0 ? mask : PixelOf(p);
                }
        }
    }
    return pictures;
}

formats::Result<std::vector<std::string>> WriteArchives(const std::filesystem::path& folder,
                                                        const std::vector<formats::Image>& libraries) {
    std::map<std::string, formats::ZipWriter> archives;
    for (std::size_t i = 0; i < libraries.size(); ++i) {
        const std::string library = std::to_string(i + 1);
        const auto archive = formats::ArchiveForLibrary(static_cast<double>(i + 1));
        if (!archive) return formats::Fail("library " + library + " has no archive");
        // A fixed seed per archive: the encryption headers, and so the files, are the same every time.
        auto [it, fresh] = archives.try_emplace(*archive, static_cast<std::uint32_t>(archives.size() + 1));
        auto bmp = formats::WriteBmp24(libraries[i]);
        if (!bmp) return formats::Fail("library " + library + ": " + bmp.error());
        auto added = it->second.Add(formats::LibraryEntryName(library), bmp.value(), formats::ZipMethod::Deflated,
                                    formats::kLibraryPassword);
        if (!added) return formats::Fail("library " + library + ": " + added.error());
    }
    std::vector<std::string> written;
    for (const auto& [name, zip] : archives) {
        auto ok = zip.WriteTo(folder / name);
        if (!ok) return formats::Fail(name + ": " + ok.error());
        written.push_back(name);
    }
    for (int n = 0; n <= 9; ++n) {
        const std::string name = n == 0 ? "Iconlib.res" : "Iconlib" + std::to_string(n) + ".res";
        std::error_code ec;
        if (!archives.count(name)) std::filesystem::remove(folder / name, ec);
    }
    return written;
}

}  // namespace catalogue
