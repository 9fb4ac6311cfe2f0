// The entries a keyword gives from the catalogue and from the user's references.
#pragma once

#include <cstdint>
#include <string>

#include "ui/HiddenList.h"

// Appends to `result` one catalogue entry per token of `refs` (a keyword's reference list: tokens
// each followed by ";"), in order and duplicates kept, with `slot` as item data; then the entry of
// every user reference whose keyword is exactly `keyword`, with its position as item data. A slot
// below 0 stands for no catalogue keyword: only the references are looked up.
void AppendKeywordHits(HiddenList& result, int32_t slot, const std::string& refs, const HiddenList& lstUser,
                       const HiddenList& cmbUser, const std::string& keyword);
