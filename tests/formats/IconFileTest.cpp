// Icon and cursor directories: valid files built here, and broken ones.
#include <gtest/gtest.h>

#include <functional>

#include "FormatsTestSupport.h"
#include "formats/IconFile.h"

using namespace formats;

TEST(IconFile, IconAndCursorDirectories) {
    Bytes png = ToBytes("\x89PNG\r\n\x1a\n rest of a PNG stream");
    Bytes ico = IconFileBytes(1, {{DibImage(16, 16, 4), 16, 16, 1, 4}, {DibImage(32, 32, 8), 32, 32, 1, 0},
                                  {png, 256, 256, 1, 32}});
    auto dir = ReadIconDirectory(ico);
    ASSERT_TRUE(dir) << dir.error();
    EXPECT_EQ(dir->kind, IconKind::Icon);
    ASSERT_EQ(dir->images.size(), 3u);
    struct Expected {
        std::int32_t width, height, planes, bitCount, dibBitCount;
        bool png;
    } expected[] = {{16, 16, 1, 4, 4, false}, {32, 32, 1, 0, 8, false}, {256, 256, 1, 32, 0, true}};
    std::uint32_t offset = 6 + 3 * 16;
    for (std::size_t i = 0; i < 3; ++i) {
        const IconImage& im = dir->images[i];
        EXPECT_EQ(im.width, expected[i].width) << i;
        EXPECT_EQ(im.height, expected[i].height) << i;
        EXPECT_EQ(im.planes, expected[i].planes) << i;
        EXPECT_EQ(im.bitCount, expected[i].bitCount) << i;
        EXPECT_EQ(im.dibBitCount, expected[i].dibBitCount) << i;
        EXPECT_EQ(im.png, expected[i].png) << i;
        EXPECT_EQ(im.offset, offset) << i;
        auto bytes = IconImageBytes(ico, *dir, i);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(bytes->data(), ico.data() + offset);
        EXPECT_EQ(bytes->size(), im.bytes);
        offset += im.bytes;
    }
    EXPECT_FALSE(IconImageBytes(ico, *dir, 3));

    auto cur = ReadIconDirectory(IconFileBytes(2, {{DibImage(32, 32, 1), 32, 32, 5, 31}}));
    ASSERT_TRUE(cur) << cur.error();
    EXPECT_EQ(cur->kind, IconKind::Cursor);
    EXPECT_EQ(cur->images[0].hotspotX, 5);
    EXPECT_EQ(cur->images[0].hotspotY, 31);
    EXPECT_EQ(cur->images[0].planes, 0);
}

TEST(IconFile, BrokenFilesAreRefused) {
    const Bytes good = IconFileBytes(1, {{DibImage(32, 32, 4)}, {DibImage(16, 16, 4), 16, 16}});
    struct Case {
        const char* label;
        std::function<void(Bytes&)> damage;
        const char* message;
    } cases[] = {
        {"reserved field", [](Bytes& b) { Poke16(b, 0, 1); }, "not an icon"},
        {"type 3", [](Bytes& b) { Poke16(b, 2, 3); }, "not an icon"},
        {"bitmap file", [](Bytes& b) { b = ToBytes(std::string_view("BM6\0\0\0\0\0\0\0\x36\0\0\0", 14)); }, "not an icon"},
        {"no images", [](Bytes& b) { Poke16(b, 4, 0); }, "no image"},
        {"count beyond file", [](Bytes& b) { Poke16(b, 4, 0xFFFF); }, "directory is cut short"},
        {"offset past end", [](Bytes& b) { Poke32(b, 6 + 12, 0x7FFFFFFF); }, "image 1 lies outside"},
        {"size past end", [](Bytes& b) { Poke32(b, 22 + 8, 0x7FFFFFFF); }, "image 2 lies outside"},
        {"offset plus size wraps", [](Bytes& b) { Poke32(b, 6 + 8, 0x20); Poke32(b, 6 + 12, 0xFFFFFFF0); }, "outside"},
        {"zero size", [](Bytes& b) { Poke32(b, 6 + 8, 0); }, "outside"},
        {"data over the directory", [](Bytes& b) { Poke32(b, 6 + 12, 10); }, "outside"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes bad = good;
        c.damage(bad);
        auto dir = ReadIconDirectory(bad);
        ASSERT_FALSE(dir);
        EXPECT_NE(dir.error().find(c.message), std::string::npos) << dir.error();
    }
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(ReadIconDirectory(ByteSpan(good.data(), n))) << n;
}
