// Animated cursors: valid files built here, and every way the frame count or the chunks can lie.
#include <gtest/gtest.h>

#include "FormatsTestSupport.h"
#include "formats/AniFile.h"

using namespace formats;

namespace {

Bytes Frame(int hotspot = 0) { return IconFileBytes(2, {{DibImage(32, 32, 4), 32, 32, hotspot, hotspot}}); }

Bytes Longer(Bytes b, std::size_t extra) {
    b.resize(b.size() + extra, 0);
    return b;
}

Bytes Frames(int n) {
    std::vector<Bytes> icons;
    for (int i = 0; i < n; ++i) icons.push_back(Chunk("icon", Frame(i)));
    return List("fram", icons);
}

}  // namespace

TEST(AniFile, ReadsHeaderSequenceRatesAndFrames) {
    Bytes file = Riff("ACON", {List("INFO", {Chunk("INAM", ToBytes("odd"))}),
                               Chunk("anih", AniHeaderBody(3, 4, kAniFramesAreIcons | kAniHasSequence, 7)),
                               Chunk("rate", U32s({1, 2, 3, 4})), Chunk("seq ", U32s({0, 2, 1, 2})), Frames(3)});
    auto ani = ReadAni(file);
    ASSERT_TRUE(ani) << ani.error();
    EXPECT_EQ(ani->header.frames, 3u);
    EXPECT_EQ(ani->header.steps, 4u);
    EXPECT_EQ(ani->header.displayRate, 7u);
    EXPECT_EQ(ani->sequence, (std::vector<std::uint32_t>{0, 2, 1, 2}));
    EXPECT_EQ(ani->rates, (std::vector<std::uint32_t>{1, 2, 3, 4}));
    ASSERT_EQ(ani->frames.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ani->frames[i].directory.kind, IconKind::Cursor);
        EXPECT_EQ(ani->frames[i].directory.images[0].hotspotX, i);
        Bytes bytes(AniFrameBytes(file, ani->frames[i]).begin(), AniFrameBytes(file, ani->frames[i]).end());
        EXPECT_EQ(bytes, Frame(i));
    }

    auto plain = ReadAni(Riff("ACON", {Chunk("anih", AniHeaderBody(2, 2, kAniFramesAreIcons, 9)), Frames(2)}));
    ASSERT_TRUE(plain) << plain.error();
    EXPECT_EQ(plain->sequence, (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(plain->rates, (std::vector<std::uint32_t>{9, 9}));
}

TEST(AniFile, LenientWhereTheFileIsStillWhole) {
    const Bytes anih = Chunk("anih", AniHeaderBody(2, 2, kAniFramesAreIcons));
    struct Case {
        const char* label;
        Bytes file;
        std::size_t frames;
    } cases[] = {
        {"more frames than counted", Riff("ACON", {anih, Frames(5)}), 2},
        {"odd chunk with pad byte", Riff("ACON", {Chunk("odd ", ToBytes("abc")), anih, Frames(2)}), 2},
        {"longer anih", Riff("ACON", {Chunk("anih", Longer(AniHeaderBody(2, 2, 1), 8)), Frames(2)}), 2},
        {"second header ignored", Riff("ACON", {anih, Chunk("anih", AniHeaderBody(9, 9, 1)), Frames(2)}), 2},
    };
    // A RIFF size that is too small or too large: what the file holds counts.
    Bytes small = Riff("ACON", {anih, Frames(2)});
    Poke32(small, 4, 4);
    Bytes large = Riff("ACON", {anih, Frames(2)});
    Poke32(large, 4, 0xFFFFFFF0);
    for (const auto& c : cases) {
        auto ani = ReadAni(c.file);
        ASSERT_TRUE(ani) << c.label << ": " << ani.error();
        EXPECT_EQ(ani->frames.size(), c.frames) << c.label;
    }
    EXPECT_FALSE(ReadAni(small));
    EXPECT_TRUE(ReadAni(large));
}

TEST(AniFile, BrokenFilesGiveClearErrors) {
    const std::uint32_t icons = kAniFramesAreIcons;
    auto withHeader = [](std::uint32_t frames, std::uint32_t steps, std::uint32_t flags, std::vector<Bytes> more) {
        more.insert(more.begin(), Chunk("anih", AniHeaderBody(frames, steps, flags)));
        return Riff("ACON", more);
    };
    Bytes cut = withHeader(2, 2, icons, {Frames(2)});
    cut.resize(cut.size() - 100);
    Bytes longIcon = withHeader(1, 1, icons, {Frames(1)});
    Poke32(longIcon, 12 + 8 + 36 + 12 + 4, 5000);  // the first icon chunk's size

    struct Case {
        const char* label;
        Bytes file;
        const char* message;
    } cases[] = {
        {"still icon named .ani", IconFileBytes(1, {{DibImage(32, 32, 4)}}), "not an animated cursor"},
        {"RIFF of another kind", Riff("AVI ", {Frames(1)}), "not an animated cursor"},
        {"empty", {}, "not an animated cursor"},
        {"zero frame count", withHeader(0, 1, icons, {Frames(2)}), "no frames"},
        {"zero steps", withHeader(2, 0, icons, {Frames(2)}), "no steps"},
        {"count larger than the file", withHeader(0xFFFFFFFF, 1, icons, {Frames(2)}),
         "counts 4294967295 frames, the file holds 2"},
        {"one frame missing", withHeader(3, 3, icons, {Frames(2)}), "counts 3 frames, the file holds 2"},
        {"no frame list", withHeader(1, 1, icons, {}), "frame list is missing"},
        {"no header", Riff("ACON", {Frames(1)}), "\"anih\" header is missing"},
        {"short header", Riff("ACON", {Chunk("anih", Bytes(20, 1)), Frames(1)}), "cut short"},
        {"raw frames", withHeader(1, 1, 0, {Frames(1)}), "raw bitmaps"},
        {"more steps than frames", withHeader(2, 3, icons, {Frames(2)}), "more steps than frames"},
        {"truncated frame list", cut, "\"LIST\" runs past the end"},
        {"icon chunk past its list", longIcon, "\"icon\" runs past the end"},
        {"frame not an icon", withHeader(1, 1, icons, {List("fram", {Chunk("icon", Bytes(30, 7))})}), "frame 1:"},
        {"sequence too short", withHeader(2, 3, icons | kAniHasSequence, {Chunk("seq ", U32s({0, 1})), Frames(2)}),
         "shorter than the step count"},
        {"huge step count", withHeader(2, 0x40000000, icons, {Chunk("seq ", U32s({0, 1})), Frames(2)}),
         "shorter than the step count"},
        {"sequence names a missing frame", withHeader(2, 2, icons, {Chunk("seq ", U32s({0, 2})), Frames(2)}),
         "names frame 2"},
        {"rates too short", withHeader(2, 2, icons, {Chunk("rate", U32s({5})), Frames(2)}), "\"rate\" chunk is shorter"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto ani = ReadAni(c.file);
        ASSERT_FALSE(ani);
        EXPECT_NE(ani.error().find(c.message), std::string::npos) << ani.error();
    }
    const Bytes good = withHeader(2, 2, icons, {Chunk("rate", U32s({5, 6})), Frames(2)});
    ASSERT_TRUE(ReadAni(good));
    for (std::size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(ReadAni(ByteSpan(good.data(), n))) << n;
}
