// The entries a keyword gives from the catalogue and from the user's references.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/HiddenList.h"

// Calls `take` with each token of a keyword's reference list (tokens each followed by ";"), in order,
// until it answers false; a last token without its ";" is none. False when `take` stopped it.
template <class Take>
bool ForEachCatalogueToken(std::string_view refs, Take take) {
    size_t start = 0;
    for (size_t semicolon; (semicolon = refs.find(';', start)) != std::string_view::npos; start = semicolon + 1)
        if (!take(refs.substr(start, semicolon - start))) return false;
    return true;
}

// Appends to `result` one catalogue entry per token of `refs` (a keyword's reference list: tokens
// each followed by ";"), in order and duplicates kept, with `slot` as item data; then the entry of
// every user reference whose keyword is exactly `keyword`, with its position as item data. A slot
// below 0 stands for no catalogue keyword: only the references are looked up.
void AppendKeywordHits(HiddenList& result, int32_t slot, const std::string& refs, const HiddenList& lstUser,
                       const HiddenList& cmbUser, const std::string& keyword);
