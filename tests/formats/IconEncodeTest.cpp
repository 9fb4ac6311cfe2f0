// Icon, cursor and animated cursor writing: the fixed layout at each depth, the pictures read back
// by our own readers and by icoutils, colour reduction, and the refused inputs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "FormatsTestSupport.h"
#include "formats/AniFile.h"
#include "formats/IconEncode.h"

using namespace formats;

namespace {

// A picture of `colours` distinct colours (at most 1024) with a mask of diagonal stripes; the
// transparent pixels are black, as the system's icons have them.
IconPicture Picture(int colours) {
    IconPicture p{32, 32, std::vector<Pixel>(1024), std::vector<std::uint8_t>(1024)};
    for (int i = 0; i < 1024; ++i) {
        const int c = i % colours;
        p.mask[i] = ((i / 32 + i % 32) % 7 == 0) ? 1 : 0;
        const int k = p.mask[i] ? 0 : c;  // colour 0 is black
        p.color[i] = Pixel{static_cast<std::uint8_t>(k * 37), static_cast<std::uint8_t>(k * 11),
                           static_cast<std::uint8_t>(k / 4 * 9), 255};
    }
    return p;
}

// Every pixel different, from a seed.
IconPicture Noise(unsigned seed) {
    IconPicture p{32, 32, std::vector<Pixel>(1024), std::vector<std::uint8_t>(1024)};
    std::srand(seed);
    for (int i = 0; i < 1024; ++i) {
        p.color[i] = Pixel{static_cast<std::uint8_t>(std::rand()), static_cast<std::uint8_t>(std::rand()),
                           static_cast<std::uint8_t>(std::rand()), 255};
        p.mask[i] = std::rand() % 2;
    }
    return p;
}

std::uint16_t U16(const Bytes& b, std::size_t at) { return *ReadU16(b, at); }
std::uint32_t U32(const Bytes& b, std::size_t at) { return *ReadU32(b, at); }

Result<IconPicture> ReadBack(const Bytes& file) {
    auto dir = ReadIconDirectory(file);
    if (!dir) return Error{dir.error()};
    auto image = IconImageBytes(file, *dir, 0);
    if (!image) return Error{image.error()};
    return DecodeIconImage(*image);
}

bool IcotoolWanted() {
#ifdef _WIN32
    return false;
#else
    return RunCommand("command -v icotool") == 0 || std::getenv("CI");
#endif
}

const int kDepths[] = {4, 8, 16};

}  // namespace

TEST(IconEncode, LayoutAndReadBackAtEachDepthAndKind) {
    struct Depth {
        int bitCount, stored;
        std::size_t size, table, colourCount;
        int colours;  // what the depth keeps exactly
    } depths[] = {{4, 4, 766, 16, 16, 16}, {8, 8, 2238, 256, 0, 256}, {16, 24, 3262, 0, 0, 1024}};
    for (const Depth& d : depths) {
        for (IconKind kind : {IconKind::Icon, IconKind::Cursor}) {
            SCOPED_TRACE("bits " + std::to_string(d.bitCount) + (kind == IconKind::Icon ? " icon" : " cursor"));
            const IconPicture picture = d.bitCount == 16 ? Noise(5) : Picture(d.colours);
            auto file = EncodeIconFile(picture, d.bitCount, kind, 7, 31);
            ASSERT_TRUE(file) << file.error();
            const Bytes& f = *file;
            ASSERT_EQ(f.size(), d.size);
            EXPECT_EQ(U16(f, 0), 0);
            EXPECT_EQ(U16(f, 2), static_cast<int>(kind));
            EXPECT_EQ(U16(f, 4), 1);
            EXPECT_EQ(f[6], 32);
            EXPECT_EQ(f[7], 32);
            EXPECT_EQ(f[8], d.colourCount);
            EXPECT_EQ(f[9], 0);
            EXPECT_EQ(U16(f, 10), kind == IconKind::Icon ? 1 : 7);
            EXPECT_EQ(U16(f, 12), kind == IconKind::Icon ? d.stored : 31);
            EXPECT_EQ(U32(f, 14), d.size - 22);
            EXPECT_EQ(U32(f, 18), 22u);
            // The bitmap info header.
            EXPECT_EQ(U32(f, 22), 40u);
            EXPECT_EQ(U32(f, 26), 32u);
            EXPECT_EQ(U32(f, 30), 64u);
            EXPECT_EQ(U16(f, 34), 1);
            EXPECT_EQ(U16(f, 36), d.stored);
            EXPECT_EQ(U32(f, 38), 0u);
            EXPECT_EQ(U32(f, 42), d.size - 22 - 40 - d.table * 4);
            for (std::size_t at = 46; at < 62; at += 4) EXPECT_EQ(U32(f, at), 0u) << at;

            auto back = ReadBack(f);
            ASSERT_TRUE(back) << back.error();
            EXPECT_EQ(back->color, picture.color);
            EXPECT_EQ(back->mask, picture.mask);
        }
    }
}

TEST(IconEncode, RowsRunBottomUpAndUnusedTableEntriesAreZero) {
    IconPicture p = Picture(1);
    p.color[0] = Pixel{1, 2, 3, 255};      // top-left
    p.mask[0] = 0;
    p.mask[31 * 32 + 31] = 1;              // bottom-right, black
    p.color[31 * 32 + 31] = Pixel{0, 0, 0, 255};
    auto file = EncodeIconFile(p, 8, IconKind::Icon);
    ASSERT_TRUE(file) << file.error();
    const Bytes& f = *file;
    const std::size_t table = 62, colours = table + 1024, mask = colours + 1024;
    // The top row is stored last; its first pixel names its colour in the table.
    const std::uint8_t top = f[colours + 31 * 32];
    EXPECT_EQ(f[table + top * 4 + 0], 1);
    EXPECT_EQ(f[table + top * 4 + 2], 3);
    // The mask's bottom row comes first, 4 bytes a row; its last pixel is its lowest bit.
    EXPECT_EQ(f[mask + 3] & 1, 1);
    std::set<std::uint8_t> used(f.begin() + colours, f.begin() + mask);
    for (int i = 0; i < 256; ++i)
        if (!used.count(static_cast<std::uint8_t>(i))) {
            EXPECT_EQ(U32(f, table + i * 4), 0u) << i;
        }
}

TEST(IconEncode, MoreColoursThanTheTableAreReducedToNearOnes) {
    for (int bitCount : {4, 8}) {
        SCOPED_TRACE(bitCount);
        const IconPicture picture = Noise(9);  // 1,024 colours
        auto file = EncodeIconFile(picture, bitCount, IconKind::Icon);
        ASSERT_TRUE(file) << file.error();
        EXPECT_EQ(file->size(), bitCount == 4 ? kIconFileBytes16 : kIconFileBytes256);
        auto back = ReadBack(*file);
        ASSERT_TRUE(back) << back.error();
        EXPECT_EQ(back->mask, picture.mask);
        std::set<std::uint32_t> kept;
        double error = 0;
        for (int i = 0; i < 1024; ++i) {
            const Pixel a = picture.color[i], b = back->color[i];
            kept.insert(b.r << 16 | b.g << 8 | b.b);
            error += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
            // Transparent black pixels stay black, so the background shows through untinted.
            if (picture.mask[i] && a == Pixel{0, 0, 0, 255}) {
                EXPECT_EQ(b, a) << i;
            }
        }
        EXPECT_LE(kept.size(), bitCount == 4 ? 16u : 256u);
        // Random colours spread over the whole cube: the mean error per channel stays well below chance (85).
        EXPECT_LT(error / 3072, bitCount == 4 ? 45 : 20);
    }
    // A thousand colours of a smooth ramp reduce to close neighbours.
    IconPicture ramp = Picture(1000);
    auto file = EncodeIconFile(ramp, 8, IconKind::Cursor, 0, 0);
    ASSERT_TRUE(file) << file.error();
    EXPECT_EQ(file->size(), kIconFileBytes256);
}

TEST(IconEncode, RefusedInputs) {
    IconPicture wide = Picture(4);
    wide.width = 48;
    IconPicture short_ = Picture(4);
    short_.mask.pop_back();
    struct Case {
        const char* label;
        IconPicture picture;
        int bitCount;
        IconKind kind;
        int hotX, hotY;
    } cases[] = {
        {"48 wide", wide, 8, IconKind::Icon, 0, 0},
        {"mask short", short_, 8, IconKind::Icon, 0, 0},
        {"1 bit", Picture(2), 1, IconKind::Icon, 0, 0},
        {"24 bits", Picture(2), 24, IconKind::Icon, 0, 0},
        {"32 bits", Picture(2), 32, IconKind::Cursor, 0, 0},
        {"0 bits", Picture(2), 0, IconKind::Icon, 0, 0},
        {"hotspot right of it", Picture(2), 8, IconKind::Cursor, 32, 0},
        {"hotspot below it", Picture(2), 8, IconKind::Cursor, 0, 32},
        {"hotspot negative", Picture(2), 8, IconKind::Cursor, -1, 4},
    };
    for (const Case& c : cases) EXPECT_FALSE(EncodeIconFile(c.picture, c.bitCount, c.kind, c.hotX, c.hotY)) << c.label;
    EXPECT_TRUE(EncodeIconFile(Picture(2), 8, IconKind::Icon, 40, -3)) << "icons have no hotspot";
}

TEST(IconEncode, IcotoolListsAndExtractsEveryFile) {
    if (!IcotoolWanted()) GTEST_SKIP() << "icotool (icoutils) missing";
    ScratchFolder dir;
    for (int bitCount : kDepths) {
        for (IconKind kind : {IconKind::Icon, IconKind::Cursor}) {
            const bool icon = kind == IconKind::Icon;
            const std::string name = std::to_string(bitCount) + (icon ? ".ico" : ".cur");
            SCOPED_TRACE(name);
            auto file = EncodeIconFile(Noise(bitCount), bitCount, kind, 3, 4);
            ASSERT_TRUE(file) << file.error();
            std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(file->data()), file->size());
            auto listed = RunOutput("icotool -l " + Quote(dir / name));
            ASSERT_TRUE(listed);
            const std::string want = std::string(icon ? "--icon" : "--cursor") + " --index=1 --width=32 --height=32 --bit-depth=" +
                                     std::to_string(StoredBitCount(bitCount));
            EXPECT_EQ(listed->rfind(want, 0), 0u) << *listed;
            if (!icon) {
                EXPECT_NE(listed->find("--hotspot-x=3 --hotspot-y=4"), std::string::npos) << *listed;
            }
            const auto out = dir / (name + "-x");
            std::filesystem::create_directory(out);
            EXPECT_EQ(RunCommand("icotool -x -o " + Quote(out) + " " + Quote(dir / name)), 0);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), std::filesystem::directory_iterator()), 1);
        }
    }
}

TEST(IconEncode, AnimatedCursorOfOneAndThreeFrames) {
    for (int n : {1, 3}) {
        SCOPED_TRACE(n);
        std::vector<Bytes> files;
        std::vector<ByteSpan> frames;
        for (int i = 0; i < n; ++i) files.push_back(*EncodeIconFile(Picture(2 + i), i == 1 ? 4 : 16, IconKind::Icon));
        for (const Bytes& f : files) frames.emplace_back(f);
        auto ani = EncodeAni(frames, std::vector<std::uint32_t>(n, 20));
        ASSERT_TRUE(ani) << ani.error();
        const Bytes& a = *ani;
        std::size_t want = 76;
        for (const Bytes& f : files) want += 12 + f.size();
        ASSERT_EQ(a.size(), want);
        EXPECT_EQ(U32(a, 4), a.size() - 8);
        EXPECT_TRUE(HasTag(a, 8, "ACON"));
        EXPECT_TRUE(HasTag(a, 12, "anih"));
        const std::uint32_t header[] = {36, 36, static_cast<std::uint32_t>(n), static_cast<std::uint32_t>(n), 32, 32, 24, 1, 20, 1};
        for (int i = 0; i < 10; ++i) EXPECT_EQ(U32(a, 16 + 4 * i), header[i]) << "anih field " << i;
        EXPECT_TRUE(HasTag(a, 56, "rate"));
        EXPECT_EQ(U32(a, 60), 4u * n);
        EXPECT_TRUE(HasTag(a, 64 + 4 * n, "LIST"));
        EXPECT_TRUE(HasTag(a, 72 + 4 * n, "fram"));
        EXPECT_EQ(std::search(a.begin(), a.end(), std::begin("seq "), std::begin("seq ") + 4), a.end()) << "no sequence";

        auto read = ReadAni(a);
        ASSERT_TRUE(read) << read.error();
        EXPECT_EQ(read->header.frames, static_cast<std::uint32_t>(n));
        EXPECT_EQ(read->header.steps, static_cast<std::uint32_t>(n));
        EXPECT_EQ(read->rates, std::vector<std::uint32_t>(n, 20));
        std::size_t at = 76 + 4 * n;
        for (int i = 0; i < n; ++i) {
            EXPECT_TRUE(HasTag(a, at, "icon"));
            EXPECT_EQ(U32(a, at + 4), files[i].size());
            // The frame is the file, turned into a cursor pointing at its middle.
            Bytes frame(a.begin() + at + 8, a.begin() + at + 8 + files[i].size());
            Bytes expected = files[i];
            Poke16(expected, 2, 2);
            Poke16(expected, 10, 16);
            Poke16(expected, 12, 16);
            EXPECT_EQ(frame, expected) << "frame " << i;
            EXPECT_EQ(read->frames[i].directory.images[0].hotspotX, 16);
            EXPECT_EQ(read->frames[i].offset, at + 8);
            at += 8 + files[i].size();
        }
    }
}

TEST(IconEncode, AnimatedCursorKeepsCursorFramesAndPadsOddOnes) {
    Bytes cursor = *EncodeIconFile(Picture(3), 8, IconKind::Cursor, 5, 6);
    Bytes odd = cursor;
    odd.push_back(0xAB);
    auto ani = EncodeAni({cursor, odd}, {3, 9});
    ASSERT_TRUE(ani) << ani.error();
    EXPECT_EQ(ani->size(), 76 + 2 * (12 + cursor.size()) + 2);
    auto read = ReadAni(*ani);
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(read->header.bitCount, 8u);
    EXPECT_EQ(read->header.displayRate, 3u);
    EXPECT_EQ(read->rates, (std::vector<std::uint32_t>{3, 9}));
    EXPECT_EQ(read->frames[1].directory.images[0].hotspotX, 5);
    EXPECT_EQ(read->frames[1].size, odd.size());
}

TEST(IconEncode, AnimatedCursorRefusals) {
    const Bytes good = *EncodeIconFile(Picture(2), 4, IconKind::Icon);
    const Bytes broken(good.begin(), good.begin() + 30);
    const Bytes noImage = {0, 0, 1, 0, 0, 0};
    struct Case {
        const char* label;
        std::vector<ByteSpan> frames;
        std::vector<std::uint32_t> rates;
    } cases[] = {
        {"no frames", {}, {}},
        {"more rates", {good}, {20, 20}},
        {"fewer rates", {good, good}, {20}},
        {"frame cut short", {good, broken}, {20, 20}},
        {"frame with no image", {noImage}, {20}},
        {"empty frame", {ByteSpan{}}, {20}},
    };
    for (const Case& c : cases) EXPECT_FALSE(EncodeAni(c.frames, c.rates)) << c.label;
}
