// Cutting 32x32 cells out of a library picture, with the mask from a colour key.
#include <gtest/gtest.h>

#include "formats/Cells.h"

using namespace formats;

namespace {

// 100x70: three whole columns and two whole rows; the pixels past them belong to no cell.
// Every pixel encodes its cell number in red and its place in the cell in green and blue.
Image Library() {
    Image img(100, 70, Pixel{9, 9, 9, 255});
    for (std::int32_t y = 0; y < 64; ++y)
        for (std::int32_t x = 0; x < 96; ++x)
            img.At(x, y) = Pixel{static_cast<std::uint8_t>(y % 32), static_cast<std::uint8_t>(x % 32),
                                 static_cast<std::uint8_t>(100 + y / 32 * 3 + x / 32), 255};
    return img;
}

}  // namespace

TEST(Cells, GridNumberedRowByRow) {
    const Image lib = Library();
    EXPECT_EQ(CellCount(lib), 6);
    struct Case {
        std::int32_t n;
        bool present;
    } cases[] = {{0, true}, {2, true}, {3, true}, {5, true}, {6, false}, {-1, false}, {1 << 30, false}};
    for (const auto& c : cases) {
        auto cell = CutCell(lib, c.n, Rgb{1, 2, 3});
        ASSERT_EQ(cell.has_value(), c.present) << c.n;
        if (!cell) continue;
        for (std::int32_t y = 0; y < kCellSize; ++y)
            for (std::int32_t x = 0; x < kCellSize; ++x) {
                const Pixel& p = cell->pixels[y * kCellSize + x];
                ASSERT_EQ(p, (Pixel{static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(x),
                                    static_cast<std::uint8_t>(100 + c.n), 255}))
                    << "cell " << c.n << " at " << x << "," << y;
            }
    }
    EXPECT_EQ(CellCount(Image(31, 500)), 0);
    EXPECT_FALSE(CutCell(Image(31, 500), 0, {}));
    EXPECT_EQ(CellCount(Image()), 0);
}

TEST(Cells, MaskIsExactlyTheKeyColour) {
    Image lib(64, 32, Pixel{10, 20, 30, 255});
    const Rgb teal{0, 128, 128};
    lib.At(32, 0) = Pixel{128, 128, 0, 255};  // teal, stored blue-green-red
    lib.At(63, 31) = Pixel{128, 128, 0, 7};   // alpha plays no part
    lib.At(33, 0) = Pixel{128, 128, 1, 255};  // one step off in red
    lib.At(34, 0) = Pixel{127, 128, 0, 255};  // one step off in blue
    lib.At(0, 0) = Pixel{128, 128, 0, 255};   // teal, but in cell 0
    auto cell = CutCell(lib, 1, teal);
    ASSERT_TRUE(cell);
    int transparent = 0;
    for (std::size_t i = 0; i < cell->transparent.size(); ++i) {
        bool expected = i == 0 || i == 32 * 32 - 1;
        EXPECT_EQ(cell->transparent[i], expected) << i;
        EXPECT_EQ(cell->pixels[i].a, expected ? 0 : 255) << i;
        transparent += cell->transparent[i];
    }
    EXPECT_EQ(transparent, 2);
    EXPECT_EQ(cell->pixels[0], (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(cell->pixels[1], (Pixel{128, 128, 1, 255}));
}
