// From the installed themes to the catalogue's entries: every job's pictures made in parallel,
// then classed, given their mask colour, freed of duplicates and put in catalogue order.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "Keywords.h"
#include "Layout.h"
#include "Themes.h"

namespace catalogue {

// An animation has at most this many frames (the player's frame store holds 61); longer ones
// keep every second, third … frame.
inline constexpr std::size_t kMaxFrames = 61;
// A picture with fewer opaque pixels shows nothing worth a cell.
inline constexpr int kMinOpaquePixels = 8;

struct ThemeFigures {
    bool present = false;
    std::size_t files = 0;       // picture files seen
    std::size_t jobs = 0;        // pictures tried
    std::size_t tooSmall = 0;    // names with only smaller bitmaps
    std::size_t unreadable = 0;
    std::size_t empty = 0;       // nothing left at 32×32
    std::size_t fullCell = 0;    // no room left for the mask colour
    std::size_t duplicates = 0;  // the same picture stored before
    std::array<std::size_t, 9> stored{};  // entries by type code
    std::size_t cells = 0;                // cells taken (frames)
};

struct Built {
    std::vector<Entry> entries;      // in catalogue order
    std::vector<PictureWords> words;  // per entry
    std::vector<std::size_t> theme;   // per entry
    std::vector<ThemeFigures> themes;  // per catalogue theme
    std::size_t reduced16 = 0, reduced256 = 0, cappedAnimations = 0;
};

// Reads every theme of CatalogueThemes() found under `iconsRoot` with `threads` threads.
Built BuildEntries(const std::filesystem::path& iconsRoot, unsigned threads);

// Type code of a colour class and shape (0 icon, 1 animation, 2 cursor).
inline char TypeCode(ColourClass c, int shape) { return static_cast<char>('0' + static_cast<int>(c) + 3 * shape); }

}  // namespace catalogue
