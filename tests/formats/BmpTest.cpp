// Bitmap reading and writing: round trips, palette depths, orientation, bit fields, broken headers.
#include <gtest/gtest.h>

#include <functional>

#include "FormatsTestSupport.h"
#include "formats/Bmp.h"

using namespace formats;

namespace {

Image Pattern(std::int32_t w, std::int32_t h) {
    Image img(w, h);
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            img.At(x, y) = Pixel{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 13),
                                 static_cast<std::uint8_t>(x + y), static_cast<std::uint8_t>(x * y + 1)};
    return img;
}

// A bitmap file by hand: header fields as given, then palette (or masks) and rows as given.
Bytes Handmade(std::int32_t w, std::int32_t h, std::uint16_t bits, std::uint32_t compression,
               const Bytes& extras, const Bytes& rows, std::uint32_t colorsUsed = 0) {
    Bytes b = ToBytes("BM");
    b.resize(54, 0);
    Poke32(b, 10, static_cast<std::uint32_t>(54 + extras.size()));
    Poke32(b, 14, 40);
    Poke32(b, 18, static_cast<std::uint32_t>(w));
    Poke32(b, 22, static_cast<std::uint32_t>(h));
    Poke16(b, 26, 1);
    Poke16(b, 28, bits);
    Poke32(b, 30, compression);
    Poke32(b, 46, colorsUsed);
    b.insert(b.end(), extras.begin(), extras.end());
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

}  // namespace

TEST(Bmp, RoundTripsKeepEveryPixel) {
    for (std::int32_t w : {1, 2, 3, 4, 5, 33}) {
        for (std::int32_t h : {1, 2, 7}) {
            Image img = Pattern(w, h);
            auto b32 = WriteBmp32(img);
            ASSERT_TRUE(b32);
            auto back32 = ReadBmp(*b32);
            ASSERT_TRUE(back32) << back32.error();
            EXPECT_EQ(back32->pixels, img.pixels) << w << "x" << h;

            auto b24 = WriteBmp24(img);
            ASSERT_TRUE(b24);
            EXPECT_EQ(b24->size(), 54 + static_cast<std::size_t>((w * 3 + 3) / 4 * 4 * h));
            auto back24 = ReadBmp(*b24);
            ASSERT_TRUE(back24) << back24.error();
            for (auto& p : img.pixels) p.a = 255;
            EXPECT_EQ(back24->pixels, img.pixels) << w << "x" << h;
        }
    }
}

TEST(Bmp, PaletteDepthsAndOrientation) {
    // Palette: index 0 black, 1 red, 2 green, 3 blue (stored blue, green, red, reserved).
    const Bytes palette = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
    const Pixel k{0, 0, 0, 255}, r{0, 0, 255, 255}, g{0, 255, 0, 255}, b{255, 0, 0, 255};
    struct Case {
        const char* label;
        std::uint16_t bits;
        std::int32_t height;  // negative: top-down
        Bytes rows;           // two rows of three pixels, in file order
        std::vector<Pixel> expected;  // top row first
        std::uint32_t colorsUsed;
    } cases[] = {
        {"1-bit", 1, 2, {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0}, {k, r, k, r, k, r}, 2},
        {"4-bit", 4, 2, {0x12, 0x30, 0, 0, 0x01, 0x20, 0, 0}, {k, r, g, r, g, b}, 4},
        {"8-bit", 8, 2, {3, 2, 1, 0, 1, 1, 1, 0}, {r, r, r, b, g, r}, 4},
        {"8-bit top-down", 8, -2, {3, 2, 1, 0, 1, 1, 1, 0}, {b, g, r, r, r, r}, 4},
        {"8-bit index past palette is black", 8, 2, {9, 2, 1, 0, 3, 3, 3, 0}, {b, b, b, k, g, r}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes extras(palette.begin(), palette.begin() + 4 * c.colorsUsed);
        auto img = ReadBmp(Handmade(3, c.height, c.bits, 0, extras, c.rows, c.colorsUsed));
        ASSERT_TRUE(img) << img.error();
        EXPECT_EQ(img->width, 3);
        EXPECT_EQ(img->height, 2);
        EXPECT_EQ(img->pixels, c.expected);
    }
}

TEST(Bmp, ThirtyTwoBitFieldsAndAlpha) {
    // Masks red 0x0000FF00... a layout unlike BI_RGB, so a reader that ignores the masks fails.
    Bytes masks = U32s({0x0000FF00, 0x00FF0000, 0xFF000000});
    Bytes rows = U32s({0x11223344, 0xAABBCCDD});
    auto img = ReadBmp(Handmade(2, 1, 32, 3, masks, rows));
    ASSERT_TRUE(img) << img.error();
    EXPECT_EQ(img->pixels, (std::vector<Pixel>{{0x11, 0x22, 0x33, 255}, {0xAA, 0xBB, 0xCC, 255}}));

    auto zeroAlpha = ReadBmp(Handmade(1, 1, 32, 0, {}, {1, 2, 3, 0}));
    ASSERT_TRUE(zeroAlpha);
    EXPECT_EQ(zeroAlpha->pixels[0], (Pixel{1, 2, 3, 255}));
    auto someAlpha = ReadBmp(Handmade(2, 1, 32, 0, {}, {1, 2, 3, 0, 4, 5, 6, 7}));
    ASSERT_TRUE(someAlpha);
    EXPECT_EQ(someAlpha->pixels, (std::vector<Pixel>{{1, 2, 3, 0}, {4, 5, 6, 7}}));

    EXPECT_FALSE(ReadBmp(Handmade(1, 1, 32, 3, U32s({0x0000F0F0, 0xFF0000, 0xFF000000}), {0, 0, 0, 0})))
        << "a mask with a gap";
}

TEST(Bmp, BrokenHeadersAreRefused) {
    const Bytes good = *WriteBmp24(Pattern(5, 3));
    struct Case {
        const char* label;
        std::function<void(Bytes&)> damage;
        const char* message;
    } cases[] = {
        {"no signature", [](Bytes& b) { b[0] = 'X'; }, "not a bitmap"},
        {"OS/2 header", [](Bytes& b) { Poke32(b, 14, 12); }, "OS/2"},
        {"header past the end", [](Bytes& b) { Poke32(b, 14, 5000); }, "cut short"},
        {"width 0", [](Bytes& b) { Poke32(b, 18, 0); }, "size"},
        {"negative width", [](Bytes& b) { Poke32(b, 18, 0xFFFFFFFB); }, "size"},
        {"height 0", [](Bytes& b) { Poke32(b, 22, 0); }, "size"},
        {"most negative height", [](Bytes& b) { Poke32(b, 22, 0x80000000); }, "size"},
        {"huge width", [](Bytes& b) { Poke32(b, 18, 0x7FFFFFFF); }, "size"},
        {"too many pixels", [](Bytes& b) { Poke32(b, 18, 32768); Poke32(b, 22, 32768); }, "size"},
        {"width beyond data", [](Bytes& b) { Poke32(b, 18, 30000); }, "cut short"},
        {"16 bits", [](Bytes& b) { Poke16(b, 28, 16); }, "16 bits"},
        {"RLE", [](Bytes& b) { Poke32(b, 30, 1); }, "compressed"},
        {"bit fields at 24 bits", [](Bytes& b) { Poke32(b, 30, 3); }, "compressed"},
        {"data offset past end", [](Bytes& b) { Poke32(b, 10, 0xFFFFFFF0); }, "cut short"},
        {"data offset in header", [](Bytes& b) { Poke32(b, 10, 20); }, "overlaps"},
        {"palette past end", [](Bytes& b) { Poke16(b, 28, 8); b.resize(60); }, "palette"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes bad = good;
        c.damage(bad);
        auto img = ReadBmp(bad);
        ASSERT_FALSE(img);
        EXPECT_NE(img.error().find(c.message), std::string::npos) << img.error();
    }
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(ReadBmp(ByteSpan(good.data(), n))) << n;
    EXPECT_FALSE(WriteBmp24(Image{}));
    Image wrong(2, 2);
    wrong.pixels.pop_back();
    EXPECT_FALSE(WriteBmp32(wrong));
}
