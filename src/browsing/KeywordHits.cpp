// The catalogue and reference entries of a keyword.
#include "browsing/KeywordHits.h"

#include <string_view>

#include "browsing/ResultEntry.h"

void AppendKeywordHits(HiddenList& result, int32_t slot, const std::string& refs, const HiddenList& lstUser,
                       const HiddenList& cmbUser, const std::string& keyword) {
    if (slot >= 0) {
        const std::string_view all(refs);
        size_t start = 0;
        for (size_t semicolon; (semicolon = all.find(';', start)) != std::string_view::npos; start = semicolon + 1)
            result.AddItem(BookEntry(all.substr(start, semicolon - start)), slot);
    }
    for (int k = 0; k < lstUser.ListCount(); ++k)
        if (lstUser.List(k) == keyword) result.AddItem(cmbUser.List(k), k);
}
