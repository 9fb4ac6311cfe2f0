#include "common/CursorKinds.h"

#include <algorithm>
#include <array>

#include "ui/Keys.h"

namespace {

constexpr std::array<CursorKind, 14> kKinds{{
    {"AppStarting", 32650, "Application Starting", 4, "Application Starting"},
    {"Arrow", 32512, "Arrow", 1, "Arrow"},
    {"Crosshair", 32515, "Crosshair", 5, "Crosshair"},
    {"Help", 32651, "Help Pointer", 2, "Help"},
    {"IBeam", 32513, "I Beam", 6, "I Beam"},
    {"No", 32648, "No", 8, "No"},
    {"NWPen", 32631, "Pen", 7, "Pen"},
    {"SizeAll", 32646, "Size All", 13, "Size All"},
    {"SizeNESW", 32643, "Size NESW", 9, "Size NESW"},
    {"SizeNS", 32645, "Size NS", 10, "Size NS"},
    {"SizeNWSE", 32642, "Size NWSE", 11, "Size NWSE"},
    {"SizeWE", 32644, "Size WE", 12, "Size WE"},
    {"UpArrow", 32516, "Up Arrow", 14, "Up Arrow"},
    {"Wait", 32514, "Wait", 3, "Wait"},
}};

template <typename Match>
const CursorKind* FindKind(Match match) {
    auto it = std::find_if(kKinds.begin(), kKinds.end(), match);
    return it == kKinds.end() ? nullptr : &*it;
}

}  // namespace

std::span<const CursorKind> CursorKinds() { return kKinds; }

const CursorKind* CursorKindByValueName(std::string_view valueName) {
    return FindKind([&](const CursorKind& k) { return FoldKey(k.valueName) == FoldKey(std::string(valueName)); });
}

const CursorKind* CursorKindById(int32_t cursorId) {
    return FindKind([&](const CursorKind& k) { return k.cursorId == cursorId; });
}

const CursorKind* CursorKindBySchemePosition(int32_t position) {
    return FindKind([&](const CursorKind& k) { return k.schemePosition == position; });
}

std::vector<std::string> SplitScheme(std::string_view value) {
    std::vector<std::string> fields;
    for (;;) {
        const size_t comma = value.find(',');
        fields.emplace_back(value.substr(0, comma));
        if (comma == std::string_view::npos) return fields;
        value.remove_prefix(comma + 1);
    }
}
