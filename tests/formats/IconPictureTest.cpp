// Icon images decoded from their bitmap bits at every depth and row order, drawn over backgrounds,
// and broken or cut short.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "FormatsTestSupport.h"
#include "formats/IconPicture.h"

using namespace formats;

namespace {

// One icon image by hand: the info header (biHeight twice `height`, negative for top-down rows),
// then the colour table, the colour rows and the mask rows as given, in file order.
Bytes IconDib(std::int32_t width, std::int32_t height, std::uint16_t bits, const Bytes& table, const Bytes& colorRows,
              const Bytes& maskRows, std::uint32_t compression = 0, std::uint32_t colorsUsed = 0,
              std::uint32_t headerSize = 40) {
    Bytes b(headerSize, 0);
    Poke32(b, 0, headerSize);
    Poke32(b, 4, static_cast<std::uint32_t>(width));
    Poke32(b, 8, static_cast<std::uint32_t>(2 * height));
    Poke16(b, 12, 1);
    Poke16(b, 14, bits);
    Poke32(b, 16, compression);
    Poke32(b, 32, colorsUsed);
    for (const Bytes* part : {&table, &colorRows, &maskRows}) b.insert(b.end(), part->begin(), part->end());
    return b;
}

using Bgr = std::vector<std::uint8_t>;

// Palette: index 0 black, 1 red, 2 green, 3 blue (stored blue, green, red, reserved).
const Bytes kPalette = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
const Pixel k{0, 0, 0, 255}, r{0, 0, 255, 255}, g{0, 255, 0, 255}, b{255, 0, 0, 255};

}  // namespace

TEST(IconPicture, DecodesEveryDepthInBothRowOrders) {
    // Two padded 24-bit rows, and their pixels in file order.
    const Bytes rgbRows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
    const std::vector<Pixel> rgb = {{1, 2, 3, 255},    {4, 5, 6, 255},    {7, 8, 9, 255},
                                    {10, 11, 12, 255}, {13, 14, 15, 255}, {16, 17, 18, 255}};
    struct Case {
        const char* label;
        std::uint16_t bits;
        std::int32_t height;  // negative: top-down
        std::uint32_t colorsUsed;
        Bytes colorRows, maskRows;  // two rows of three pixels each, in file order
        std::vector<Pixel> color;   // top row first
        std::vector<std::uint8_t> mask;
        bool hasAlpha;
    } cases[] = {
        {"1-bit", 1, 2, 2, {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0}, {0b00100000, 0, 0, 0, 0b10000000, 0, 0, 0},
         {k, r, k, r, k, r}, {1, 0, 0, 0, 0, 1}, false},
        {"4-bit top-down", 4, -2, 4, {0x12, 0x30, 0, 0, 0x01, 0x20, 0, 0}, {0b00100000, 0, 0, 0, 0b11000000, 0, 0, 0},
         {r, g, b, k, r, g}, {0, 0, 1, 1, 1, 0}, false},
        {"8-bit, an index past the table is black", 8, 2, 4, {3, 2, 9, 0, 1, 1, 1, 0}, {0xE0, 0, 0, 0, 0, 0, 0, 0},
         {r, r, r, b, g, k}, {0, 0, 0, 1, 1, 1}, false},
        {"24-bit", 24, 2, 0, rgbRows, {0x40, 0, 0, 0, 0, 0, 0, 0}, {rgb[3], rgb[4], rgb[5], rgb[0], rgb[1], rgb[2]},
         {0, 0, 0, 0, 1, 0}, false},
        {"24-bit top-down", 24, -2, 0, rgbRows, {0x40, 0, 0, 0, 0, 0, 0, 0}, rgb, {0, 1, 0, 0, 0, 0}, false},
        {"32-bit with alpha", 32, 2, 0,
         {1, 2, 3, 0, 4, 5, 6, 128, 7, 8, 9, 255, 10, 11, 12, 255, 13, 14, 15, 255, 16, 17, 18, 0},
         {0xA0, 0, 0, 0, 0, 0, 0, 0},
         {{10, 11, 12, 255}, {13, 14, 15, 255}, {16, 17, 18, 0}, {1, 2, 3, 0}, {4, 5, 6, 128}, {7, 8, 9, 255}},
         {0, 0, 0, 1, 0, 1}, true},
        {"32-bit top-down, alpha all 0", 32, -2, 0,
         {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0, 13, 14, 15, 0, 16, 17, 18, 0},
         {0xA0, 0, 0, 0, 0, 0, 0, 0},
         {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}, {10, 11, 12, 0}, {13, 14, 15, 0}, {16, 17, 18, 0}},
         {1, 0, 1, 0, 0, 0}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes table(kPalette.begin(), kPalette.begin() + 4 * c.colorsUsed);
        auto picture = DecodeIconImage(IconDib(3, c.height, c.bits, table, c.colorRows, c.maskRows, 0, c.colorsUsed));
        ASSERT_TRUE(picture) << picture.error();
        EXPECT_EQ(picture->width, 3);
        EXPECT_EQ(picture->height, 2);
        EXPECT_EQ(picture->color, c.color);
        EXPECT_EQ(picture->mask, c.mask);
        EXPECT_EQ(picture->hasAlpha, c.hasAlpha);
    }
}

TEST(IconPicture, ColourBitsStartAfterTheWholeTable) {
    // One pixel each; a reader that puts the bits anywhere else reads table bytes as the pixel.
    Bytes wideTable(1024, 0x77);
    for (int i = 0; i < 4; ++i) wideTable[i] = 0;
    wideTable[4] = 10, wideTable[5] = 20, wideTable[6] = 30;
    struct Case {
        const char* label;
        std::uint16_t bits;
        std::uint32_t compression, colorsUsed, headerSize;
        Bytes table, row;
        Pixel expected;
        bool hasAlpha;
    } cases[] = {
        {"8-bit with two entries", 8, 0, 2, 40, {0, 0, 0, 0, 10, 20, 30, 0}, {1, 0, 0, 0}, {10, 20, 30, 255}, false},
        {"1-bit naming 300 entries holds 256", 1, 0, 300, 40, wideTable, {0x80, 0, 0, 0}, {10, 20, 30, 255}, false},
        {"24-bit after a one-entry table", 24, 0, 1, 40, {9, 9, 9, 0}, {10, 20, 30, 0}, {10, 20, 30, 255}, false},
        {"32-bit fields after a plain header", 32, 3, 0, 40, U32s({0xFF0000, 0xFF00, 0xFF}), {10, 20, 30, 0x80},
         {10, 20, 30, 0}, false},
        {"32-bit after a longer header", 32, 0, 0, 108, {}, {10, 20, 30, 40}, {10, 20, 30, 40}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Bytes dib =
            IconDib(1, 1, c.bits, c.table, c.row, {0, 0, 0, 0}, c.compression, c.colorsUsed, c.headerSize);
        auto picture = DecodeIconImage(dib);
        ASSERT_TRUE(picture) << picture.error();
        ASSERT_EQ(picture->color.size(), 1u);
        EXPECT_EQ(picture->color[0], c.expected);
        EXPECT_EQ(picture->hasAlpha, c.hasAlpha);
    }
}

TEST(IconPicture, ComposesOverTwoBackgrounds) {
    const Bgr backA{0x20, 0x40, 0x60}, backB{0xC8, 0x64, 0x00};
    struct Case {
        const char* label;
        Pixel color;
        std::uint8_t mask;
        bool hasAlpha;
        Bgr onA, onB;
    } cases[] = {
        {"clear mask shows the colour", {1, 2, 3, 255}, 0, false, {1, 2, 3}, {1, 2, 3}},
        {"set mask under black shows the background", {0, 0, 0, 255}, 1, false, backA, backB},
        {"set mask under white inverts", {255, 255, 255, 255}, 1, false, {0xDF, 0xBF, 0x9F}, {0x37, 0x9B, 0xFF}},
        {"set mask under a colour XORs", {0x0F, 0xF0, 0x55, 255}, 1, false, {0x2F, 0xB0, 0x35}, {0xC7, 0x94, 0x55}},
        {"full alpha ignores a set mask", {1, 2, 3, 255}, 1, true, {1, 2, 3}, {1, 2, 3}},
        {"zero alpha ignores a clear mask", {1, 2, 3, 0}, 0, true, backA, backB},
        {"half alpha blends", {255, 0, 200, 128}, 0, true, {144, 32, 148}, {228, 50, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        IconPicture picture{1, 1, {c.color}, {c.mask}, c.hasAlpha};
        EXPECT_EQ(ComposeIcon(picture, backA[0], backA[1], backA[2]), c.onA);
        EXPECT_EQ(ComposeIcon(picture, backB[0], backB[1], backB[2]), c.onB);
    }
    EXPECT_TRUE(ComposeIcon(IconPicture{2, 1, {k}, {0, 0}, false}, 0, 0, 0).empty()) << "sizes that disagree";
}

TEST(IconPicture, DecodedImagesComposeAsTheSystemDraws) {
    const Bgr backA{0x20, 0x40, 0x60}, backB{0xC8, 0x64, 0x00};
    auto inverse = [](const Bgr& v) { return Bgr{static_cast<std::uint8_t>(~v[0]), static_cast<std::uint8_t>(~v[1]),
                                                 static_cast<std::uint8_t>(~v[2])}; };
    auto cat = [](std::initializer_list<Bgr> parts) {
        Bgr all;
        for (const Bgr& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    const Bytes blackWhite = {0, 0, 0, 0, 255, 255, 255, 0};
    struct Case {
        const char* label;
        Bytes dib;
        std::function<Bgr(const Bgr&)> expected;
    } cases[] = {
        // Bottom-up 2x2: the top row black and white, the masked bottom row background and inverse.
        {"monochrome cursor", IconDib(2, 2, 1, blackWhite, {0x40, 0, 0, 0, 0x40, 0, 0, 0}, {0xC0, 0, 0, 0, 0, 0, 0, 0}),
         [&](const Bgr& back) { return cat({{0, 0, 0}, {255, 255, 255}, back, inverse(back)}); }},
        {"32-bit with alpha leaves the mask aside",
         IconDib(2, 1, 32, {}, {1, 2, 3, 255, 4, 5, 6, 0}, {0x80, 0, 0, 0}),
         [&](const Bgr& back) { return cat({{1, 2, 3}, back}); }},
        {"32-bit with alpha all 0 draws by the mask",
         IconDib(2, 1, 32, {}, {1, 2, 3, 0, 4, 5, 6, 0}, {0x80, 0, 0, 0}),
         [&](const Bgr& back) {
             return cat({{static_cast<std::uint8_t>(back[0] ^ 1), static_cast<std::uint8_t>(back[1] ^ 2),
                          static_cast<std::uint8_t>(back[2] ^ 3)},
                         {4, 5, 6}});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto picture = DecodeIconImage(c.dib);
        ASSERT_TRUE(picture) << picture.error();
        for (const Bgr& back : {backA, backB})
            EXPECT_EQ(ComposeIcon(*picture, back[0], back[1], back[2]), c.expected(back));
    }
}

TEST(IconPicture, CutShortAtEachStage) {
    // 4-bit 2x2: header 40, full table 64, colour rows 8, mask rows 8.
    const Bytes full =
        IconDib(2, 2, 4, Bytes(64, 0x33), {0x12, 0, 0, 0, 0x34, 0, 0, 0}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
    ASSERT_EQ(full.size(), 120u);
    struct Stage {
        std::size_t end;      // sizes below this one fail with the message, or decode without a mask
        const char* message;  // nullptr: decodes, mask all clear
    } stages[] = {{4, "header"}, {40, "header"}, {104, "palette"}, {112, "colour bits"}, {120, nullptr}};
    std::size_t n = 0;
    for (const auto& stage : stages) {
        for (; n < stage.end; ++n) {
            SCOPED_TRACE(n);
            auto picture = DecodeIconImage(ByteSpan(full.data(), n));
            if (stage.message) {
                ASSERT_FALSE(picture);
                EXPECT_NE(picture.error().find(stage.message), std::string::npos) << picture.error();
            } else {
                ASSERT_TRUE(picture) << picture.error();
                EXPECT_EQ(picture->mask, (std::vector<std::uint8_t>{0, 0, 0, 0}));
            }
        }
    }
    auto whole = DecodeIconImage(full);
    ASSERT_TRUE(whole) << whole.error();
    EXPECT_EQ(whole->mask, (std::vector<std::uint8_t>{0, 1, 1, 0}));
}

TEST(IconPicture, BrokenHeadersAreRefused) {
    const Bytes good = IconDib(2, 2, 24, {}, Bytes(16, 1), Bytes(8, 0));
    ASSERT_TRUE(DecodeIconImage(good));
    struct Case {
        const char* label;
        std::function<void(Bytes&)> damage;
        const char* message;
    } cases[] = {
        {"PNG stream", [](Bytes& b) { b[0] = 0x89, b[1] = 'P', b[2] = 'N', b[3] = 'G'; }, "PNG"},
        {"OS/2 header", [](Bytes& b) { Poke32(b, 0, 12); }, "OS/2"},
        {"header past the end", [](Bytes& b) { Poke32(b, 0, 0xFFFFFFFF); }, "cut short"},
        {"width 0", [](Bytes& b) { Poke32(b, 4, 0); }, "size"},
        {"negative width", [](Bytes& b) { Poke32(b, 4, 0xFFFFFFFE); }, "size"},
        {"width 257", [](Bytes& b) { Poke32(b, 4, 257); }, "size"},
        {"stored height 0", [](Bytes& b) { Poke32(b, 8, 0); }, "size"},
        {"stored height 1 holds no row", [](Bytes& b) { Poke32(b, 8, 1); }, "size"},
        {"stored height -1", [](Bytes& b) { Poke32(b, 8, 0xFFFFFFFF); }, "size"},
        {"257 rows", [](Bytes& b) { Poke32(b, 8, 514); }, "size"},
        {"most negative height", [](Bytes& b) { Poke32(b, 8, 0x80000000); }, "size"},
        {"16 bits", [](Bytes& b) { Poke16(b, 14, 16); }, "16 bits"},
        {"RLE", [](Bytes& b) { Poke32(b, 16, 1); }, "compressed"},
        {"bit fields at 24 bits", [](Bytes& b) { Poke32(b, 16, 3); }, "compressed"},
        {"256 columns beyond the data", [](Bytes& b) { Poke32(b, 4, 256); }, "cut short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes bad = good;
        c.damage(bad);
        auto picture = DecodeIconImage(bad);
        ASSERT_FALSE(picture);
        EXPECT_NE(picture.error().find(c.message), std::string::npos) << picture.error();
    }

    // The largest image decodes, and an odd stored height rounds down as the system reads it.
    const Bytes blackWhite = {0, 0, 0, 0, 255, 255, 255, 0};
    auto largest = DecodeIconImage(IconDib(256, -256, 1, blackWhite, Bytes(32 * 256, 0xFF), Bytes(32 * 256, 0), 0, 2));
    ASSERT_TRUE(largest) << largest.error();
    EXPECT_EQ(largest->color.size(), 256u * 256u);
    EXPECT_EQ(largest->color.back(), (Pixel{255, 255, 255, 255}));
    Bytes odd = IconDib(1, 1, 24, {}, {1, 2, 3, 0}, {0, 0, 0, 0});
    Poke32(odd, 8, 3);
    auto oneRow = DecodeIconImage(odd);
    ASSERT_TRUE(oneRow) << oneRow.error();
    EXPECT_EQ(oneRow->height, 1);
}

namespace {

// The start of a PNG stream: the signature and an "IHDR" chunk of `length` bytes naming the size.
Bytes PngHead(std::uint32_t width, std::uint32_t height, std::uint32_t length = 13) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto big = [&](std::uint32_t v) {
        for (int shift : {24, 16, 8, 0}) b.push_back(static_cast<std::uint8_t>(v >> shift));
    };
    big(length);
    b.insert(b.end(), {'I', 'H', 'D', 'R'});
    big(width);
    big(height);
    b.insert(b.end(), {8, 6, 0, 0, 0});
    big(0x12345678);  // the chunk's CRC, which the system checks itself
    return b;
}

}  // namespace

TEST(IconPicture, ImagesForTheSystemArePaddedToTheirWholeSize) {
    struct Case {
        const char* label;
        Bytes whole;           // every byte the system reads
        std::size_t tableEnd;  // where the colour bits start
    } cases[] = {
        {"1-bit", DibImage(5, 3, 1), 40 + 8},
        {"4-bit", DibImage(5, 3, 4), 40 + 64},
        {"8-bit", DibImage(5, 3, 8), 40 + 1024},
        {"16-bit", DibImage(5, 3, 16), 40},
        {"24-bit", DibImage(5, 3, 24), 40},
        {"32-bit", DibImage(5, 3, 32), 40},
        {"32-bit top-down", IconDib(2, -2, 32, {}, Bytes(16, 7), Bytes(8, 0)), 40},
        {"8-bit with two colours", IconDib(3, 2, 8, Bytes(8, 1), Bytes(8, 2), Bytes(8, 0), 0, 2), 48},
        {"24-bit after a three-entry table", IconDib(1, 1, 24, Bytes(12, 1), Bytes(4, 2), Bytes(4, 0), 0, 3), 52},
        {"16-bit fields after a plain header", IconDib(2, 2, 16, U32s({0xF800, 0x7E0, 0x1F}), Bytes(8, 3), Bytes(8, 0), 3),
         52},
        {"32-bit fields after a plain header", IconDib(1, 1, 32, U32s({0xFF0000, 0xFF00, 0xFF}), Bytes(4, 3), Bytes(4, 0), 3),
         52},
        {"32-bit fields in a long header", IconDib(1, 1, 32, {}, Bytes(4, 3), Bytes(4, 0), 3, 0, 124), 124},
        // The masks follow a header shorter than the one that holds them: the system looks for the
        // bits after the masks.
        {"32-bit fields after an odd header", IconDib(1, 1, 32, Bytes(8, 9), Bytes(4, 3), Bytes(4, 0), 3, 0, 44), 52},
        {"256 x 256 at 32 bits", IconDib(256, 256, 32, {}, Bytes(256 * 1024, 1), Bytes(256 * 32, 0)), 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto copy = IconImageForSystem(c.whole);
        ASSERT_TRUE(copy) << copy.error();
        EXPECT_EQ(*copy, c.whole);
        for (std::size_t n : {c.tableEnd, c.tableEnd + 1, (c.tableEnd + c.whole.size()) / 2, c.whole.size() - 1}) {
            SCOPED_TRACE(n);
            const ByteSpan cut(c.whole.data(), n);
            auto padded = IconImageForSystem(cut);
            ASSERT_TRUE(padded) << padded.error();
            ASSERT_EQ(padded->size(), c.whole.size());
            EXPECT_TRUE(std::equal(cut.begin(), cut.end(), padded->begin()));
            EXPECT_TRUE(std::all_of(padded->begin() + static_cast<std::ptrdiff_t>(n), padded->end(),
                                    [](std::uint8_t v) { return v == 0; }));
        }
    }
    Bytes longer = DibImage(4, 4, 24);
    longer.resize(longer.size() + 100, 0xEE);
    auto kept = IconImageForSystem(longer);
    ASSERT_TRUE(kept) << kept.error();
    EXPECT_EQ(*kept, longer) << "bytes past the image are kept, never cut";
}

TEST(IconPicture, BrokenImagesAreNotGivenToTheSystem) {
    const Bytes good = DibImage(4, 4, 8);
    ASSERT_TRUE(IconImageForSystem(good));
    struct Case {
        const char* label;
        std::function<void(Bytes&)> damage;
    } cases[] = {
        {"OS/2 header", [](Bytes& b) { Poke32(b, 0, 12); }},
        {"header of 39 bytes", [](Bytes& b) { Poke32(b, 0, 39); }},
        {"header of 125 bytes", [](Bytes& b) { Poke32(b, 0, 125); }},
        {"header past the end", [](Bytes& b) { b.resize(30); }},
        {"width 0", [](Bytes& b) { Poke32(b, 4, 0); }},
        {"negative width", [](Bytes& b) { Poke32(b, 4, 0xFFFFFFFC); }},
        {"width 257", [](Bytes& b) { Poke32(b, 4, 257); }},
        {"stored height 1 holds no row", [](Bytes& b) { Poke32(b, 8, 1); }},
        {"257 rows", [](Bytes& b) { Poke32(b, 8, 514); }},
        {"most negative height", [](Bytes& b) { Poke32(b, 8, 0x80000000); }},
        {"depth 0", [](Bytes& b) { Poke16(b, 14, 0); }},
        {"depth 2", [](Bytes& b) { Poke16(b, 14, 2); }},
        {"depth 64", [](Bytes& b) { Poke16(b, 14, 64); }},
        {"RLE8", [](Bytes& b) { Poke32(b, 16, 1); }},
        {"RLE4", [](Bytes& b) { Poke32(b, 16, 2); }},
        {"bit fields at 8 bits", [](Bytes& b) { Poke32(b, 16, 3); }},
        {"bit fields at 24 bits", [](Bytes& b) { Poke16(b, 14, 24), Poke32(b, 16, 3); }},
        {"JPEG", [](Bytes& b) { Poke32(b, 16, 4); }},
        {"colour table cut", [](Bytes& b) { b.resize(40 + 1020); }},
        {"257 colours", [](Bytes& b) { Poke32(b, 32, 257); }},
        {"colours used all ones", [](Bytes& b) { Poke32(b, 32, 0xFFFFFFFF); }},
        {"PNG without its full signature", [](Bytes& b) { b = PngHead(32, 32), b[6] = 0; }},
        {"PNG starting with another chunk", [](Bytes& b) { b = PngHead(32, 32), b[12] = 'i'; }},
        {"PNG header of 12 bytes", [](Bytes& b) { b = PngHead(32, 32, 12); }},
        {"PNG of width 0", [](Bytes& b) { b = PngHead(0, 32); }},
        {"PNG of height 257", [](Bytes& b) { b = PngHead(32, 257); }},
        {"PNG of width 2^31", [](Bytes& b) { b = PngHead(0x80000000, 32); }},
        {"PNG cut inside its header", [](Bytes& b) { b = PngHead(32, 32), b.resize(28); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes bad = good;
        c.damage(bad);
        EXPECT_FALSE(IconImageForSystem(bad));
    }
    for (std::uint32_t side : {1u, 48u, 256u}) {
        const Bytes png = PngHead(side, side);
        auto copy = IconImageForSystem(png);
        ASSERT_TRUE(copy) << side << ": " << copy.error();
        EXPECT_EQ(*copy, png);
    }
}
