// Reads a written catalogue back through the program's own readers and lists what is wrong with it.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace catalogue {

struct CheckRules {
    std::size_t minPictures = 17500;
    std::size_t minAnimations = 20;
    std::size_t maxKeywords = 2800;
    bool everyClass = true;  // each of the nine type codes has an entry
    bool everyDesign = true;  // each icon theme's design group is there
};

struct CheckFigures {
    std::size_t keywords = 0;
    std::size_t tokens = 0;     // tokens in the index, a cell under several keywords counted each time
    std::size_t pictures = 0;   // distinct cells referred to
    std::size_t libraries = 0;
    std::array<std::size_t, 9> entries{};  // by type code: stills, and animations counted once
};

struct CheckResult {
    std::vector<std::string> faults;  // empty when the catalogue is sound
    CheckFigures figures;
};

// Checks the catalogue in `folder`: "Icondata.dat" with CR LF lines, at most maxKeywords keywords,
// each starting with a letter, unique regardless of case and sorted, without empty tokens or a
// trailing ";"; every token naming a cell of an existing library in the archive the archive table
// gives, readable with the library password; every cell's mask colour around its picture; one
// picture per cell and no picture twice; no cell left out of every keyword; each animation's frames
// consecutive cells listed together; every picture's colour count matching its class; the keywords
// that begin with "group" the design groups of the icon themes.
CheckResult CheckCatalogue(const std::filesystem::path& folder, const CheckRules& rules = {});

}  // namespace catalogue
