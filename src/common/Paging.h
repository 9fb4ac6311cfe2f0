// The page state of the result set.
#pragma once

#include <array>
#include <cstdint>
#include <string>

extern int32_t gIconsPerPage;  // icons on one page, at least 1
extern int32_t gPageNr;        // the page shown, from 1
extern int32_t gPageCount;     // pages of the result set
extern int32_t gImageIndex;    // position on the page of the item being made, from 1
extern std::string gKeyNrStr;  // decimal item data of the entry being made

// The keywords of the catalogue and the user, by slot (the catalogue entries' item data).
inline constexpr int kKeywordSlots = 3001;
extern std::array<std::string, kKeywordSlots> gKeywords;
// The reference list of each keyword slot: catalogue tokens each followed by ";", or "".
extern std::array<std::string, kKeywordSlots> gRefs;
// The slots taken: the keywords loaded, then one more for each keyword the user adds. A deleted
// keyword's slot stays taken.
extern int32_t gKeywordSlotsUsed;

// The page size a stored "IconsPerPage" text gives: 200 when it is missing, not a number or below 1.
int32_t PageSizeFromSetting(const class Variant& stored);
