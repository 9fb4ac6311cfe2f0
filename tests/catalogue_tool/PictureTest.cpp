// The catalogue tool's pictures: fitting into a cell, the alpha edge, colour classes and their
// reductions, and the choice of the mask colour.
#include <gtest/gtest.h>

#include "Picture.h"
#include "formats/Catalogue.h"

using namespace catalogue;

namespace {

Rgba Filled(int w, int h, std::uint32_t argb) {
    Rgba p(w, h);
    for (auto& px : p.px) px = argb;
    return p;
}

// A cell with a transparent ring and `n` colours, each used by at least one pixel inside.
CellPicture WithColours(int n, std::uint32_t (*colour)(int)) {
    CellPicture c{};
    for (int i = 0; i < 30 * 30; ++i) c[static_cast<std::size_t>((1 + i / 30) * kSide + 1 + i % 30)] = colour(i % n);
    return c;
}

std::uint32_t Spread(int i) { return kOpaque | static_cast<std::uint32_t>(i * 2654435761u % 0xFFFFFF); }
// Sixteen clear colours, each with a barely different twin.
std::uint32_t Twins(int i) { return kOpaque | static_cast<std::uint32_t>((i / 2) * 0x0F0F0F + (i % 2)); }

}  // namespace

TEST(Picture, FitsIntoTheCell) {
    struct Case {
        int w, h;
        Place place;
        int left, top, right, bottom;  // the opaque box in the cell, right and bottom exclusive
    } cases[] = {
        {32, 32, Place::Centre, 0, 0, 32, 32},
        {16, 16, Place::Centre, 8, 8, 24, 24},
        {16, 16, Place::TopLeft, 0, 0, 16, 16},
        {48, 48, Place::Centre, 0, 0, 32, 32},
        {64, 32, Place::Centre, 0, 8, 32, 24},   // shrunk keeping its proportions
        {24, 40, Place::TopLeft, 0, 0, 19, 32},
    };
    for (const auto& c : cases) {
        Rgba cell = FitToCell(Filled(c.w, c.h, 0xFF204080), c.place);
        ASSERT_EQ(cell.width, kSide);
        ASSERT_EQ(cell.height, kSide);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
                EXPECT_EQ(cell.At(x, y), inside ? 0xFF204080u : 0u) << c.w << "x" << c.h << " at " << x << "," << y;
            }
    }
}

TEST(Picture, ShrinkingAveragesWithoutDarkFringes) {
    // A 64×64 picture, left half opaque white, right half transparent black: the middle column of
    // the cell is half covered and stays white, not grey.
    Rgba p(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) p.At(x, y) = x < 31 ? 0xFFFFFFFF : 0x00000000;
    Rgba cell = FitToCell(p, Place::Centre);
    EXPECT_EQ(cell.At(14, 5), 0xFFFFFFFFu);
    EXPECT_EQ(cell.At(15, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(cell.At(15, 5) >> 24, 128u);
    EXPECT_EQ(cell.At(16, 5), 0u);
}

TEST(Picture, StripsSplitIntoFramesRowByRow) {
    Rgba strip(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) strip.At(x, y) = kOpaque | static_cast<std::uint32_t>((y / 32) * 2 + x / 32);
    auto frames = SplitFrames(strip, 32);
    ASSERT_EQ(frames.size(), 4u);
    for (std::uint32_t i = 0; i < 4; ++i) EXPECT_EQ(frames[i].At(5, 5), kOpaque | i);
    EXPECT_TRUE(SplitFrames(strip, 24).empty());
}

TEST(Picture, AlphaEdgeAndFaintDrawings) {
    Rgba p = Filled(32, 32, 0);
    p.At(0, 0) = 0x7F000000;  // just below half: transparent
    p.At(1, 0) = 0x80000000;  // half: black laid over white
    p.At(2, 0) = 0xFF123456;
    CellPicture cell = ToCell(p);
    EXPECT_EQ(cell[0], 0u);
    EXPECT_EQ(cell[1], kOpaque | 0x7F7F7F);
    EXPECT_EQ(cell[2], 0xFF123456u);

    // Mostly faint: the lower threshold keeps the faint dots.
    Rgba faint = Filled(32, 32, 0);
    for (int x = 0; x < 10; ++x) faint.At(x, 3) = 0x40000000;
    faint.At(20, 20) = 0xFF000000;
    EXPECT_EQ(AlphaThreshold(std::vector<Rgba>{faint}), kFaintAlpha);
    EXPECT_EQ(OpaqueCount(ToCell(faint, kFaintAlpha)), 11);
    EXPECT_EQ(AlphaThreshold(std::vector<Rgba>{p}), kSolidAlpha);
}

TEST(Picture, ClassFollowsTheColourCount) {
    struct Case {
        int colours;
        std::uint32_t (*colour)(int);
        ColourClass expected;
        bool reduced;
    } cases[] = {
        {1, Spread, ColourClass::Colours16, false},
        {16, Spread, ColourClass::Colours16, false},
        {17, Spread, ColourClass::Colours256, false},   // the 17th colour is far from the others
        {256, Spread, ColourClass::Colours256, false},
        {900, Spread, ColourClass::HiColour, false},    // a 256-colour palette would move pixels visibly
        {32, Twins, ColourClass::Colours16, true},      // twins one step apart merge without a visible change
    };
    for (const auto& c : cases) {
        CellPicture cell = WithColours(c.colours, c.colour);
        ASSERT_EQ(ColourCount(std::vector<CellPicture>{cell}), static_cast<std::size_t>(c.colours));
        Classified k = Classify({cell});
        EXPECT_EQ(k.colourClass, c.expected) << c.colours;
        EXPECT_EQ(k.reduced, c.reduced) << c.colours;
        const std::size_t limit = c.expected == ColourClass::Colours16 ? 16 : c.expected == ColourClass::Colours256 ? 256 : 1024;
        EXPECT_LE(ColourCount(k.frames), limit) << c.colours;
        // The transparent pixels stay where they were.
        for (int i = 0; i < kCellPixels; ++i) EXPECT_EQ(k.frames[0][i] == 0, cell[i] == 0);
    }
}

TEST(Picture, FramesOfAnAnimationShareOnePalette) {
    // Two frames of 10 colours each, 20 together: the class counts them together.
    CellPicture a = WithColours(10, Spread), b = WithColours(10, [](int i) { return Spread(i + 10); });
    EXPECT_EQ(ColourCount(std::vector<CellPicture>{a, b}), 20u);
    Reduction r = Reduce(std::vector<CellPicture>{a, b}, 16);
    EXPECT_LE(ColourCount(r.frames), 16u);
    EXPECT_GT(r.maxError, 0);
    EXPECT_EQ(Classify({a, b}).colourClass, ColourClass::Colours256);
}

TEST(Picture, ReductionIsDeterministic) {
    CellPicture cell = WithColours(700, Spread);
    EXPECT_EQ(Reduce(std::vector<CellPicture>{cell}, 16).frames, Reduce(std::vector<CellPicture>{cell}, 16).frames);
}

TEST(Picture, MaskColourIsOneThePictureDoesNotUse) {
    auto rgb = [](char digit) {
        const std::uint32_t bgr = *formats::MaskColor(digit);
        return kOpaque | (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
    };
    std::vector<CellPicture> plain{WithColours(3, Spread)};
    EXPECT_EQ(ChooseMaskDigit(plain), '4');  // magenta first

    std::vector<CellPicture> magenta{WithColours(1, [](int) { return 0xFFFF00FFu; })};
    EXPECT_EQ(ChooseMaskDigit(magenta), '2');

    // A picture of all ten mask colours: the least used one moves to a free neighbour.
    static const char kDigits[] = "0123456789";
    CellPicture all = WithColours(10, [](int i) { return 0u + i; });
    for (int i = 0; i < 30 * 30; ++i) {
        std::uint32_t& p = all[static_cast<std::size_t>((1 + i / 30) * kSide + 1 + i % 30)];
        p = rgb(kDigits[i < 20 ? 7 : i % 10]);  // dark red (7) the most, all others alike
    }
    std::vector<CellPicture> frames{all};
    const char digit = ChooseMaskDigit(frames);
    EXPECT_NE(digit, '7');
    const std::uint32_t mask = rgb(digit);
    for (std::uint32_t p : frames[0]) EXPECT_NE(p, mask);
    EXPECT_EQ(ColourCount(frames), 10u);
}

TEST(Picture, BackgroundIsTheOuterRing) {
    CellPicture c;
    c.fill(kOpaque);
    EXPECT_FALSE(HasBackground(c));
    c[kSide * 17 + 31] = 0;
    EXPECT_TRUE(HasBackground(c));
    c[kSide * 17 + 31] = kOpaque;
    c[kSide * 17 + 16] = 0;  // a hole inside is no background
    EXPECT_FALSE(HasBackground(c));
}
