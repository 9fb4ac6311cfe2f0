// The catalogue's index lines, archive table and mask colours.
#include "formats/Catalogue.h"

#include <cmath>

namespace formats {

std::optional<std::string> ArchiveForLibrary(double x) {
    if (!(x == x)) return std::nullopt;  // NaN
    const double lib = std::floor(x);
    if (lib <= 0 || lib >= 325) return std::nullopt;
    if (lib < 87) return std::string("Iconlib.res");
    if (lib < 125) return std::string("Iconlib1.res");
    const int archive = 2 + static_cast<int>((lib - 125) / 25);
    return "Iconlib" + std::to_string(archive) + ".res";
}

bool IsLibraryNumber(std::string_view library) {
    auto digits = [](std::string_view s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos; };
    const size_t dot = library.find('.');
    if (dot == std::string_view::npos) return digits(library);
    return digits(library.substr(0, dot)) && digits(library.substr(dot + 1));
}

std::string LibraryEntryName(std::string_view library) { return std::string(library) + ".lib"; }

std::optional<uint32_t> MaskColor(char maskDigit) {
    // red, green, blue by digit
    static constexpr uint8_t kColors[10][3] = {
        {255, 255, 255}, {0, 128, 128}, {0, 255, 0},   {0, 128, 0},   {255, 0, 255},
        {128, 0, 128},   {255, 0, 0},   {128, 0, 0},   {255, 255, 0}, {128, 128, 0},
    };
    if (maskDigit < '0' || maskDigit > '9') return std::nullopt;
    const uint8_t* c = kColors[maskDigit - '0'];
    return static_cast<uint32_t>(c[0]) | static_cast<uint32_t>(c[1]) << 8 | static_cast<uint32_t>(c[2]) << 16;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::optional<IndexLine> ParseIndexLine(std::string_view line) {
    size_t semi = line.find(';');
    if (semi == std::string_view::npos) return std::nullopt;
    return IndexLine{line.substr(0, semi), line.substr(semi + 1)};
}

std::vector<std::string_view> SplitTokens(std::string_view refs) {
    std::vector<std::string_view> tokens;
    size_t start = 0;
    while (start <= refs.size()) {
        size_t end = refs.find(';', start);
        if (end == std::string_view::npos) end = refs.size();
        if (end > start) tokens.push_back(refs.substr(start, end - start));
        start = end + 1;
    }
    return tokens;
}

}  // namespace formats
