// A generated catalogue for the benchmarks: the index "Icondata.dat", the user's keyword and
// reference files, and the library archives "Iconlib*.res" with their pictures. Portable: only the
// standard library and src/formats.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/Bmp.h"
#include "formats/Catalogue.h"
#include "formats/FileBytes.h"
#include "formats/ZipWriter.h"

namespace catalogue_maker {

struct Shape {
    int libraries = 175;        // numbered from 1
    int cellsPerLibrary = 100;  // every cell is filed under one keyword: libraries × cells tokens
    int columns = 10;           // cells across a library picture
    int keywords = 2700;
    int largestKeyword = 1200;  // tokens of keyword 0, the largest; the rest share the others
    int userKeywords = 30;
    int userReferences = 300;
};

// The mask digit and type code of a cell: its background is the mask digit's colour.
inline char MaskDigitOf(int library, int cell) { return static_cast<char>('0' + (library + cell) % 10); }
inline char TypeCodeOf(int library, int cell) { return static_cast<char>('0' + (library * 7 + cell) % 9); }

// A cell's token: "<library>:<cell>:<name><mask digit><type code>", the name "c<cell>_".
inline std::string Token(int library, int cell) {
    return std::to_string(library) + ":" + std::to_string(cell) + ":c" + std::to_string(cell) + "_" +
           MaskDigitOf(library, cell) + TypeCodeOf(library, cell);
}

// A pronounceable keyword, different for every number.
inline std::string KeywordName(int k) {
    static const char* const kSyllables[] = {"ar", "bel", "cor", "dan", "el", "fir", "gal", "hon", "is", "jun",
                                             "ka", "lum", "mor", "nel", "os", "pir", "qua", "ros", "sil", "tor"};
    std::string name;
    do {
        name += kSyllables[k % 20];
        k /= 20;
    } while (k > 0);
    return name;
}

// The keyword with the most tokens (keyword 0).
inline std::string LargestKeyword() { return KeywordName(0); }

// The keyword each cell is filed under: the first `largestKeyword` cells under keyword 0, the
// others spread over the remaining keywords.
inline int KeywordOfCell(const Shape& s, int ordinal) {
    if (ordinal < s.largestKeyword || s.keywords < 2) return 0;
    const uint32_t h = static_cast<uint32_t>(ordinal) * 2654435761u;
    return 1 + static_cast<int>(h % static_cast<uint32_t>(s.keywords - 1));
}

// The index text, sorted by keyword as a real catalogue is, lines ended by CR LF.
inline std::string IndexText(const Shape& s) {
    std::vector<std::string> lines(static_cast<size_t>(s.keywords));
    for (int k = 0; k < s.keywords; ++k) lines[static_cast<size_t>(k)] = KeywordName(k);
    for (int lib = 1, ordinal = 0; lib <= s.libraries; ++lib)
        for (int cell = 0; cell < s.cellsPerLibrary; ++cell, ++ordinal)
            lines[static_cast<size_t>(KeywordOfCell(s, ordinal))] += ";" + Token(lib, cell);
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

inline bool WriteText(const std::filesystem::path& file, const std::string& text) {
    return static_cast<bool>(formats::WriteFileBytes(
        file, formats::ByteSpan(reinterpret_cast<const uint8_t*>(text.data()), text.size())));
}

// Writes "Icondata.dat", "Keyuser.dat" and "Iconuser.dat" into the folder.
inline bool WriteIndexAndUserFiles(const std::filesystem::path& folder, const Shape& s) {
    std::string keys, refs;
    for (int k = 0; k < s.userKeywords; ++k) keys += "my " + KeywordName(k) + "\r\n";
    for (int r = 0; r < s.userReferences; ++r)
        refs += "my " + KeywordName(r % std::max(s.userKeywords, 1)) + ";C:\\Icons\\set" + std::to_string(r) +
                ".ico;0;x;" + std::to_string(r % 9) + "user\r\n";
    return WriteText(folder / "Icondata.dat", IndexText(s)) && WriteText(folder / "Keyuser.dat", keys) &&
           WriteText(folder / "Iconuser.dat", refs);
}

// The picture of one library: a 24-bit bitmap of 32 × 32 cells, `columns` across, each cell a
// square of its own colour on a background of exactly its mask colour.
inline formats::Image LibraryPicture(const Shape& s, int library) {
    const int rows = (s.cellsPerLibrary + s.columns - 1) / s.columns;
    formats::Image image(s.columns * 32, rows * 32);
    for (int cell = 0; cell < s.cellsPerLibrary; ++cell) {
        const uint32_t mask = *formats::MaskColor(MaskDigitOf(library, cell));
        const formats::Pixel back{static_cast<uint8_t>(mask >> 16), static_cast<uint8_t>(mask >> 8),
                                  static_cast<uint8_t>(mask), 255};
        formats::Pixel ink{static_cast<uint8_t>(library * 37), static_cast<uint8_t>(cell * 11), 77, 255};
        if (ink == back) ink.b = 78;
        const int x0 = cell % s.columns * 32, y0 = cell / s.columns * 32;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                image.At(x0 + x, y0 + y) = (x >= 6 && x < 26 && y >= 6 && y < 26) ? ink : back;
    }
    return image;
}

// Writes the archives that hold libraries 1 to s.libraries, each entry "<library>.lib" deflated
// under the catalogue's password, every library in the archive the catalogue's table names.
inline bool WriteArchives(const std::filesystem::path& folder, const Shape& s) {
    std::vector<std::pair<std::string, formats::ZipWriter>> archives;
    for (int lib = 1; lib <= s.libraries; ++lib) {
        auto name = formats::ArchiveForLibrary(lib);
        if (!name) return false;
        auto it = std::find_if(archives.begin(), archives.end(), [&](const auto& a) { return a.first == *name; });
        if (it == archives.end()) it = archives.insert(archives.end(), {*name, formats::ZipWriter{}});
        auto bmp = formats::WriteBmp24(LibraryPicture(s, lib));
        if (!bmp || !it->second.Add(formats::LibraryEntryName(std::to_string(lib)), *bmp, formats::ZipMethod::Deflated,
                                    formats::kLibraryPassword))
            return false;
    }
    for (const auto& [name, writer] : archives)
        if (!writer.WriteTo(folder / name)) return false;
    return true;
}

}  // namespace catalogue_maker
