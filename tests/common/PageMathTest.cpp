// Page counts and the entries of each page.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "common/PageMath.h"

TEST(PageMath, CountsAndRangesAt200) {
    struct Case {
        int32_t entries;
        std::vector<int32_t> bounds;  // page k holds bounds[k-1] up to bounds[k]
    } cases[] = {
        {0, {0, 0}},       {1, {0, 1}},           {199, {0, 199}},      {200, {0, 200, 200}},
        {201, {0, 200, 201}}, {400, {0, 200, 400, 400}}, {450, {0, 200, 400, 450}},
    };
    for (const auto& c : cases) {
        const int32_t count = PageCountFor(c.entries, 200);
        ASSERT_EQ(count + 1, static_cast<int32_t>(c.bounds.size())) << c.entries;
        for (int32_t p = 1; p <= count; ++p) {
            PageSpan span = PageRange(p, 200, c.entries);
            EXPECT_EQ(span.first, c.bounds[p - 1]) << c.entries << " page " << p;
            EXPECT_EQ(span.last, c.bounds[p]) << c.entries << " page " << p;
        }
    }
}

TEST(PageMath, HugeCountsAndBadInput) {
    EXPECT_EQ(PageCountFor(6553601, 200), 32769);
    EXPECT_EQ(PageRange(32769, 200, 6553601).first, 6553600);
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(PageCountFor(kMax, 1), kMax);
    EXPECT_EQ(PageRange(kMax, 1, kMax).first, kMax - 1);
    EXPECT_EQ(PageRange(kMax, 200, 1000).Count(), 0);  // past the end: empty, inside the set
    EXPECT_EQ(PageCountFor(450, 0), 3);                // no page size: 200
    EXPECT_EQ(PageRange(2, -5, 450).first, 200);
    EXPECT_EQ(PageRange(0, 200, 450).first, 0);

    struct Case {
        int32_t page, count, clamped;
    } cases[] = {{3, 3, 3}, {4, 3, 3}, {0, 3, 1}, {-7, 3, 1}, {5, 0, 1}};
    for (const auto& c : cases) EXPECT_EQ(ClampPage(c.page, c.count), c.clamped) << c.page;
}
