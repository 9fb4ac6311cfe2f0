// The catalogue and reference entries of a keyword.
#include "browsing/KeywordHits.h"

#include "common/ResultEntry.h"

void AppendKeywordHits(HiddenList& result, int32_t slot, const std::string& refs, const HiddenList& lstUser,
                       const HiddenList& cmbUser, const std::string& keyword) {
    if (slot >= 0)
        ForEachCatalogueToken(refs, [&](std::string_view token) {
            result.AddItem(BookEntry(token), slot);
            return true;
        });
    for (int k = 0; k < lstUser.ListCount(); ++k)
        if (lstUser.List(k) == keyword) result.AddItem(cmbUser.List(k), k);
}
