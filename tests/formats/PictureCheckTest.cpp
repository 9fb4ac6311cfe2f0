// The check of GIF, JPEG and metafile headers before the system's loader sees a file.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FormatsTestSupport.h"
#include "SamplePictures.h"
#include "formats/PictureCheck.h"

using formats::CheckPicture;
using formats::PictureKind;

namespace {

void PokeBE16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v >> 8);
    b[at + 1] = static_cast<std::uint8_t>(v);
}

// Where the sample JPEG's frame header (SOF0) starts: its marker's FF.
std::size_t JpegFrameAt(const Bytes& b) {
    for (std::size_t i = 0; i + 1 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == 0xC0) return i;
    return 0;
}

// The placeable metafile's header sits 22 bytes in; its records 18 bytes later.
constexpr std::size_t kWmfHeader = 22, kWmfRecords = 40;

}  // namespace

TEST(PictureCheck, WholeSamplesPassWithTheirSizes) {
    struct Case {
        const char* name;
        Bytes bytes;
        PictureKind kind;
        int width, height;
    };
    const Case cases[] = {
        {"gif", sample::Gif(), PictureKind::Gif, 2, 2},
        {"jpeg", sample::Jpeg(), PictureKind::Jpeg, 8, 8},
        {"wmf", sample::Wmf(), PictureKind::Wmf, 100, 100},
        {"emf", sample::Emf(), PictureKind::Emf, 2646, 2646},
    };
    for (const Case& c : cases) {
        auto header = CheckPicture(c.bytes);
        ASSERT_TRUE(header) << c.name << ": " << header.error();
        EXPECT_EQ(header->kind, c.kind) << c.name;
        EXPECT_EQ(header->width, c.width) << c.name;
        EXPECT_EQ(header->height, c.height) << c.name;
    }
}

TEST(PictureCheck, EveryCutShortFileFails) {
    // A GIF may lose its trailer byte: its picture is whole before it.
    struct Case {
        const char* name;
        Bytes bytes;
        std::size_t spare;
    };
    const Case cases[] = {
        {"gif", sample::Gif(), 1}, {"jpeg", sample::Jpeg(), 0}, {"wmf", sample::Wmf(), 0}, {"emf", sample::Emf(), 0}};
    for (const Case& c : cases)
        for (std::size_t n = 0; n + c.spare < c.bytes.size(); ++n)
            EXPECT_FALSE(CheckPicture(formats::ByteSpan(c.bytes.data(), n))) << c.name << " cut to " << n;
}

TEST(PictureCheck, BrokenHeadersAndSizesFail) {
    struct Case {
        const char* name;
        Bytes (*make)();
        std::function<void(Bytes&)> breakIt;
    };
    const Case cases[] = {
        {"gif screen width 0", sample::Gif, [](Bytes& b) { Poke16(b, 6, 0); }},
        {"gif screen height 40000", sample::Gif, [](Bytes& b) { Poke16(b, 8, 40000); }},
        {"gif colour table past the end", sample::Gif, [](Bytes& b) { b.resize(14); }},
        {"gif picture width 0", sample::Gif, [](Bytes& b) { Poke16(b, 27 + 5, 0); }},
        {"gif unknown block", sample::Gif, [](Bytes& b) { b[19] = 0x99; }},
        {"gif code size 0", sample::Gif, [](Bytes& b) { b[37] = 0; }},
        {"gif signature", sample::Gif, [](Bytes& b) { b[4] = '8'; }},
        {"jpeg frame width 0", sample::Jpeg, [](Bytes& b) { PokeBE16(b, JpegFrameAt(b) + 7, 0); }},
        {"jpeg frame height 0", sample::Jpeg, [](Bytes& b) { PokeBE16(b, JpegFrameAt(b) + 5, 0); }},
        {"jpeg no components", sample::Jpeg, [](Bytes& b) { b[JpegFrameAt(b) + 9] = 0; }},
        {"jpeg sampling 0", sample::Jpeg, [](Bytes& b) { b[JpegFrameAt(b) + 11] = 0x01; }},
        {"jpeg segment past the end", sample::Jpeg, [](Bytes& b) { PokeBE16(b, 4, 0xFFF0); }},
        {"jpeg segment length 1", sample::Jpeg, [](Bytes& b) { PokeBE16(b, 4, 1); }},
        {"jpeg no marker after a segment", sample::Jpeg, [](Bytes& b) { b[4 + (b[4] << 8 | b[5])] = 0x12; }},
        {"jpeg end marker removed", sample::Jpeg, [](Bytes& b) { b.back() = 0x00; }},
        {"wmf checksum", sample::Wmf, [](Bytes& b) { b[20] ^= 1; }},
        {"wmf empty box", sample::Wmf, [](Bytes& b) {
             Poke16(b, 10, 0);
             std::uint16_t sum = 0;
             for (std::size_t i = 0; i < 20; i += 2) sum ^= static_cast<std::uint16_t>(b[i] | b[i + 1] << 8);
             Poke16(b, 20, sum);
         }},
        {"wmf declared size past the end", sample::Wmf, [](Bytes& b) { Poke32(b, kWmfHeader + 6, 1000); }},
        {"wmf header size", sample::Wmf, [](Bytes& b) { Poke16(b, kWmfHeader + 2, 10); }},
        {"wmf record size 0", sample::Wmf, [](Bytes& b) { Poke32(b, kWmfRecords, 0); }},
        {"wmf record larger than the largest", sample::Wmf, [](Bytes& b) { Poke32(b, kWmfHeader + 12, 5); }},
        {"wmf record past the declared size", sample::Wmf, [](Bytes& b) { Poke32(b, kWmfRecords, 30); }},
        {"wmf no end record", sample::Wmf, [](Bytes& b) { Poke16(b, b.size() - 2, 0x0001); }},
        {"emf size past the file", sample::Emf, [](Bytes& b) { Poke32(b, 48, 4096); }},
        {"emf header size below the header", sample::Emf, [](Bytes& b) { Poke32(b, 4, 40); }},
        {"emf frame of no width", sample::Emf, [](Bytes& b) { Poke32(b, 32, 0); }},
        {"emf frame of 200 m", sample::Emf, [](Bytes& b) { Poke32(b, 36, 20'000'000); }},
        {"emf device size 0", sample::Emf, [](Bytes& b) { Poke32(b, 76, 0); }},
        {"emf description past the header", sample::Emf, [](Bytes& b) { Poke32(b, 60, 4), Poke32(b, 64, 86); }},
        {"emf record size not whole words", sample::Emf, [](Bytes& b) { Poke32(b, 92, 18); }},
        {"emf second header", sample::Emf, [](Bytes& b) { Poke32(b, 88, 1); }},
        {"emf no end record", sample::Emf, [](Bytes& b) { Poke32(b, 88, 70); }},
    };
    for (const Case& c : cases) {
        Bytes bytes = c.make();
        ASSERT_TRUE(CheckPicture(bytes)) << c.name << " before breaking";
        c.breakIt(bytes);
        EXPECT_FALSE(CheckPicture(bytes)) << c.name;
    }
}

TEST(PictureCheck, OtherFilesAreRefused) {
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"bitmap", ToBytes("BM\x3e\0\0\0\0\0\0\0\x36\0\0\0")},
        {"text", ToBytes("just some text, named .gif")},
        {"icon", IconFileBytes(1, {{DibImage(32, 32, 4)}})},
    };
    for (const auto& c : cases) EXPECT_FALSE(CheckPicture(c.bytes)) << c.name;
}

TEST(PictureCheck, AFileOverTheLimitIsRefusedWhateverItHolds) {
    Bytes big = sample::Jpeg();
    big.resize(formats::kMaxPictureFileBytes + 1, 0);
    EXPECT_FALSE(CheckPicture(big));
    big.resize(formats::kMaxPictureFileBytes);
    EXPECT_TRUE(CheckPicture(big));
}
