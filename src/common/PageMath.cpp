// Page arithmetic of the result set.
#include "common/PageMath.h"

#include <algorithm>
#include <limits>

namespace {

int64_t PageSize(int32_t perPage) { return perPage >= 1 ? perPage : 200; }

}  // namespace

int32_t PageCountFor(int32_t entries, int32_t perPage) {
    int64_t pages = std::max<int64_t>(entries, 0) / PageSize(perPage) + 1;
    return static_cast<int32_t>(std::min<int64_t>(pages, std::numeric_limits<int32_t>::max()));
}

PageSpan PageRange(int32_t pageNr, int32_t perPage, int32_t entries) {
    const int64_t size = PageSize(perPage);
    const int64_t end = std::max<int64_t>(entries, 0);
    const int64_t first = std::min((std::max<int64_t>(pageNr, 1) - 1) * size, end);
    const int64_t last = std::min(first + size, end);
    return {static_cast<int32_t>(first), static_cast<int32_t>(last)};
}

int32_t ClampPage(int32_t pageNr, int32_t pageCount) {
    return std::clamp(pageNr, 1, std::max(pageCount, 1));
}
