// catalogue-check: checks the catalogue in a program folder and prints its figures.
//
//   catalogue-check FOLDER [--min-pictures N]
//
// Exits 0 when the catalogue is sound, 1 with the list of faults otherwise.
#include <cstdio>
#include <string>

#include "Check.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: catalogue-check FOLDER [--min-pictures N]\n");
        return 2;
    }
    catalogue::CheckRules rules;
    for (int i = 2; i + 1 < argc; i += 2)
        if (std::string(argv[i]) == "--min-pictures") rules.minPictures = std::stoul(argv[i + 1]);
    const auto result = catalogue::CheckCatalogue(argv[1], rules);
    const auto& f = result.figures;
    std::printf("keywords %zu, tokens %zu, pictures %zu, libraries %zu\n", f.keywords, f.tokens, f.pictures, f.libraries);
    std::printf("entries by type code:");
    for (std::size_t c = 0; c < f.entries.size(); ++c) std::printf(" %zu:%zu", c, f.entries[c]);
    std::printf("\n");
    for (const auto& fault : result.faults) std::printf("FAULT %s\n", fault.c_str());
    if (!result.faults.empty()) {
        std::printf("the catalogue in %s has faults\n", argv[1]);
        return 1;
    }
    std::printf("the catalogue in %s is sound\n", argv[1]);
    return 0;
}
