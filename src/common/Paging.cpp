// The page state of the result set.
#include "common/Paging.h"

#include "core/Variant.h"

int32_t gIconsPerPage = 200;
int32_t gPageNr = 1;
int32_t gPageCount = 1;
int32_t gImageIndex = 1;
std::string gKeyNrStr;
std::array<std::string, kKeywordSlots> gKeywords;
std::array<std::string, kKeywordSlots> gRefs;
int32_t gKeywordSlotsUsed = 0;

int32_t PageSizeFromSetting(const Variant& stored) {
    auto n = stored.Number();
    return n && *n >= 1 ? *n : 200;
}
