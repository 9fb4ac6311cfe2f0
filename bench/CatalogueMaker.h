// A generated catalogue for the benchmarks: the index "Icondata.dat", the user's keyword and
// reference files, and the library archives "Iconlib*.res" with their pictures.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "LibraryMaker.h"
#include "core/Files.h"
#include "formats/Catalogue.h"
#include "formats/FileBytes.h"

namespace catalogue_maker {

struct Shape {
    int libraries = 175;        // numbered from 1
    int cellsPerLibrary = 100;  // every cell is filed under one keyword: libraries × cells tokens
    int columns = 10;           // cells across a library picture; rows as many as the cells need
    int keywords = 2700;
    int largestKeyword = 1200;  // tokens of keyword 0, the largest; the rest share the others
    int userKeywords = 30;
    int userReferences = 300;
};

// The mask digit of a library (each cell stands on its colour) and the type code of a cell.
inline char MaskDigitOf(int library) { return static_cast<char>('0' + library % 10); }
inline char TypeCodeOf(int library, int cell) { return static_cast<char>('0' + (library * 7 + cell) % 9); }

// A cell's token: "<library>:<cell>:<name><mask digit><type code>", the name "c<cell>_".
inline std::string Token(int library, int cell) {
    return std::to_string(library) + ":" + std::to_string(cell) + ":c" + std::to_string(cell) + "_" +
           MaskDigitOf(library) + TypeCodeOf(library, cell);
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

inline bool WriteText(const std::string& file, const std::string& text) {
    return static_cast<bool>(formats::WriteFileBytes(
        WidePath(file), formats::ByteSpan(reinterpret_cast<const uint8_t*>(text.data()), text.size())));
}

// Writes "Icondata.dat", "Keyuser.dat" and "Iconuser.dat" into the folder (with a trailing "\").
inline bool WriteIndexAndUserFiles(const std::string& folder, const Shape& s) {
    std::string keys, refs;
    for (int k = 0; k < s.userKeywords; ++k) keys += "my " + KeywordName(k) + "\r\n";
    for (int r = 0; r < s.userReferences; ++r)
        refs += "my " + KeywordName(r % std::max(s.userKeywords, 1)) + ";C:\\Icons\\set" + std::to_string(r) +
                ".ico;0;x;" + std::to_string(r % 9) + "user\r\n";
    return WriteText(folder + "Icondata.dat", IndexText(s)) && WriteText(folder + "Keyuser.dat", keys) &&
           WriteText(folder + "Iconuser.dat", refs);
}

// Writes the archives that hold libraries 1 to s.libraries into the folder (with a trailing "\"),
// each library in the archive the catalogue's table names it, its picture made by LibraryPicture.
inline bool WriteArchives(const std::string& folder, const Shape& s) {
    const int rows = (s.cellsPerLibrary + s.columns - 1) / s.columns;
    std::map<std::string, std::map<std::string, formats::Image>> archives;
    for (int lib = 1; lib <= s.libraries; ++lib) {
        auto name = formats::ArchiveForLibrary(lib);
        if (!name) return false;
        archives[*name][std::to_string(lib)] = LibraryPicture(s.columns, rows, MaskDigitOf(lib), [lib](int n) {
            return 0x010203u * static_cast<uint32_t>(lib + n);
        });
    }
    for (const auto& [name, libraries] : archives)
        if (!WriteLibraryArchive(folder + name, libraries)) return false;
    return true;
}

}  // namespace catalogue_maker
