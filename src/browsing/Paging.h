// The page state of the result set.
#pragma once

#include <cstdint>

extern int32_t gIconsPerPage;  // icons on one page, at least 1
extern int32_t gPageNr;        // the page shown, from 1
extern int32_t gPageCount;     // pages of the result set

// The page size a stored "IconsPerPage" text gives: 200 when it is missing, not a number or below 1.
int32_t PageSizeFromSetting(const class Variant& stored);
