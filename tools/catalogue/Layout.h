// Where the catalogue's pictures go: libraries of at most 100 cells, the token of each cell, the
// index lines, the library pictures and the archives that hold them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "Picture.h"
#include "formats/Bmp.h"
#include "formats/Result.h"

namespace catalogue {

inline constexpr int kCellsPerLibrary = 100;
inline constexpr int kLibraryColumns = 10;

// One entry of the catalogue: a still icon or cursor (one frame) or an animation (its frames in order).
struct Entry {
    std::vector<CellPicture> frames;
    char typeCode = '0';  // '0' … '8'
    char maskDigit = '0';
};

struct Placement {
    int library = 0;    // from 1
    int firstCell = 0;  // the first frame's cell; the others follow
    int animation = 0;  // for animations, its number inside its library (from 1); 0 for stills
};

// Entries in order, library after library; an animation that does not fit into what is left of a
// library starts the next one, so that its frames stay together. Fails past the last library.
formats::Result<std::vector<Placement>> Place(const std::vector<Entry>& entries, int lastLibrary);

// The token of frame `frame` of an entry: "<library>:<cell>:<rest>", where rest is the mask digit
// and the type code, after "a<n>" for the frames of an animation (so that animations next to
// each other, or next to a still, differ in more than their cells).
std::string Token(const Entry& entry, const Placement& placement, int frame);

// The tokens of an entry as an index line lists them: an animation's frames from the last to the
// first, since the player collects a catalogue run from its last entry back to its first.
std::vector<std::string> IndexTokens(const Entry& entry, const Placement& placement);

// "Icondata.dat": for each keyword, "<keyword>;<token>;…;<token>" and CR LF. `entries[k]` are the
// positions of keyword k's entries; the lines list them in the order of their cells.
std::string IndexText(const std::vector<std::string>& keywords, const std::vector<std::vector<std::size_t>>& entries,
                      const std::vector<Entry>& catalogueEntries, const std::vector<Placement>& placements);

// The picture of each library, 10 cells a row, each cell its picture on its mask colour;
// cells past the last picture are white.
std::vector<formats::Image> LibraryPictures(const std::vector<Entry>& entries, const std::vector<Placement>& placements);

// Writes "Iconlib.res" … with each library picture as a 24-bit bitmap entry "<library>.lib",
// encrypted with the library password; the same pictures give the same bytes. Archives that
// hold no library are removed. Returns the names written.
formats::Result<std::vector<std::string>> WriteArchives(const std::filesystem::path& folder,
                                                        const std::vector<formats::Image>& libraries);

}  // namespace catalogue
