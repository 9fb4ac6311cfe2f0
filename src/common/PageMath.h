// Page arithmetic of the result set: the page count, a page's range of entries, a page number kept
// inside the pages. 32-bit throughout; the page state itself is in Paging.h.
#pragma once

#include <cstdint>

// The pages of `entries` entries at `perPage` a page: the whole quotient plus one, so a count that is
// a multiple of the page size, 0 included, ends with an empty page. A page size below 1 counts as 200.
int32_t PageCountFor(int32_t entries, int32_t perPage);

// The entries of one page, from `first` up to but not including `last`; never outside 0..entries,
// empty for the last page of a multiple and for pages past the end.
struct PageSpan {
    int32_t first = 0;
    int32_t last = 0;
    int32_t Count() const { return last - first; }
};
PageSpan PageRange(int32_t pageNr, int32_t perPage, int32_t entries);

// The page number kept within 1..pageCount (1 when there are no pages).
int32_t ClampPage(int32_t pageNr, int32_t pageCount);
