// The catalogue's own files: the index "Icondata.dat" (one keyword and its cell tokens a line),
// the library archives "Iconlib.res" … "Iconlib9.res" and the mask colours of the cells.
// Shared by the program and by the tool that builds the catalogue.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace formats {

// The password of every library archive.
inline constexpr std::string_view kLibraryPassword = "Quillstarker";
// Libraries are numbered from 1 to kLastLibrary; each archive holds a range of them.
inline constexpr int kLastLibrary = 324;

// The archive that holds library x (the library text as a number, rounded down): "Iconlib.res"
// for 1–86, "Iconlib1.res" for 87–124, then one archive per 25 libraries up to "Iconlib9.res"
// for 300–324. nullopt for x ≤ 0 or x ≥ 325.
std::optional<std::string> ArchiveForLibrary(double x);

// Whether a token's library text is a library number: decimal digits with at most one "." between
// digits ("17", "324.9"). Only such a text names a library picture; the page and the extraction
// both ask here, so they never disagree on a token.
bool IsLibraryNumber(std::string_view library);

// The archive entry and the extracted picture file of a library: "<library>.lib".
std::string LibraryEntryName(std::string_view library);

// The mask colour 0x00BBGGRR of a mask digit "0" to "9"; nullopt for any other character.
std::optional<uint32_t> MaskColor(char maskDigit);

// Splits a text file's contents into lines. A line ends at CR, CR LF or LF, none of which is part
// of it; a last line without an end counts, an end at the very end of the text adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view text);

// One line of the index: the keyword before the first ";" and the token list after it.
struct IndexLine {
    std::string_view keyword;
    std::string_view refs;
};
// nullopt for a line without ";".
std::optional<IndexLine> ParseIndexLine(std::string_view line);

// The tokens of a token list "<token>;<token>;…", in order; empty tokens are skipped.
std::vector<std::string_view> SplitTokens(std::string_view refs);

}  // namespace formats
