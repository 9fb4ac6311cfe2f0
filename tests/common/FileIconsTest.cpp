// What a user's file gives the result set: entry counts and type codes from its bytes, and the
// favorites files a keyword finds.
#include <gtest/gtest.h>

#include "FormatsTestSupport.h"

#include "common/FileIcons.h"
#include "formats/AniFile.h"

namespace {

struct Picture {
    int size;
    int bits;
};

Bytes Still(int type, const std::vector<Picture>& pictures, size_t padTo = 0) {
    std::vector<IconEntry> entries;
    for (const Picture& p : pictures)
        entries.push_back({DibImage(p.size, p.size, p.bits), p.size, p.size, type == 1 ? 1 : 0, type == 1 ? p.bits : 0});
    Bytes b = IconFileBytes(type, entries);
    if (b.size() < padTo) b.resize(padTo, 0);
    return b;
}

Bytes Ani(uint32_t frames, const std::vector<uint32_t>& sequence) {
    std::vector<Bytes> icons(frames, Chunk("icon", Still(2, {{32, 4}})));
    return Riff("ACON", {Chunk("anih", AniHeaderBody(frames, static_cast<uint32_t>(sequence.size()),
                                                      formats::kAniFramesAreIcons | formats::kAniHasSequence)),
                         Chunk("seq ", U32s(sequence)), List("fram", icons)});
}

}  // namespace

TEST(FileIcons, CountsAndTypeCodesFromTheBytes) {
    Bytes png = ToBytes("\x89PNG");
    png.resize(1000, 0);
    constexpr size_t kFrameCount = 24;  // "RIFF", its size, "ACON", the "anih" head, the header's size
    Bytes noFrames = Ani(4, {0, 1, 2, 3}), tooManyFrames = noFrames;
    Poke32(noFrames, kFrameCount, 0);
    Poke32(tooManyFrames, kFrameCount, 40000);
    const Bytes header3 = Still(3, {{32, 4}});  // a directory whose kind is neither 1 (icon) nor 2 (cursor)
    struct Case {
        const char* what;
        IconFileType type;
        Bytes file;
        int32_t count;
        char typeCode;
    };
    const Case cases[] = {
        {"16 colours, 766 bytes", IconFileType::Ico, Still(1, {{32, 4}}), 1, '0'},
        {"256 colours, 2238 bytes", IconFileType::Ico, Still(1, {{32, 8}}), 1, '1'},
        {"2239 bytes", IconFileType::Ico, Still(1, {{32, 8}}, 2239), 1, '2'},
        {"between: two colours", IconFileType::Ico, Still(1, {{32, 1}}, 767), 1, '0'},
        {"between: 256 colours", IconFileType::Ico, Still(1, {{16, 8}}), 1, '1'},
        {"between: true colour", IconFileType::Ico, Still(1, {{16, 24}}), 1, '2'},
        {"between: the 32 x 32 picture decides", IconFileType::Ico, Still(1, {{16, 8}, {32, 1}}), 1, '0'},
        {"between: of one size the most colours", IconFileType::Ico, Still(1, {{24, 1}, {24, 8}}), 1, '1'},
        {"between: a PNG picture", IconFileType::Ico, IconFileBytes(1, {{png, 32, 32, 1, 32}}), 1, '2'},
        {"cursor, 766 bytes", IconFileType::Cur, Still(2, {{32, 4}}), 1, '6'},
        {"cursor between: 256 colours", IconFileType::Cur, Still(2, {{16, 8}}), 1, '7'},
        {"cursor, 2239 bytes", IconFileType::Cur, Still(2, {{32, 8}}, 2239), 1, '8'},
        {"a cursor named .ico", IconFileType::Ico, Still(2, {{32, 4}}), 1, '6'},
        {"an icon named .cur", IconFileType::Cur, Still(1, {{32, 8}}), 1, '1'},
        {"neither icon nor cursor", IconFileType::Ico, header3, 0, 0},
        {"neither, named .cur", IconFileType::Cur, header3, 0, 0},
        {"steps, not frames", IconFileType::Ani, Ani(3, {0, 1, 2, 1, 0}), 5, 'a'},
        {"steps beyond a 16-bit frame step", IconFileType::Ani, Ani(1, std::vector<uint32_t>(40000, 0)),
         kMaxAniSteps, 'a'},
        {"a still icon named .ani", IconFileType::Ani, Still(1, {{32, 4}}), 0, 0},
        {"a broken animation", IconFileType::Ani, ToBytes("RIFF\x04\0\0\0ACON"), 0, 0},
        {"no frames", IconFileType::Ani, noFrames, 0, 0},
        {"more frames than the file holds", IconFileType::Ani, tooManyFrames, 0, 0},
        {"libraries are counted by the system", IconFileType::Dll, ToBytes("MZ"), 0, 0},
    };
    for (const Case& c : cases) {
        const FileIconCount got = CountFileIcons(c.type, c.file);
        EXPECT_EQ(got.count, c.count) << c.what;
        if (c.count > 0) {
            EXPECT_EQ(got.typeCode, c.typeCode) << c.what;
        }
    }
}

TEST(FileIcons, FavoritesFilesMatchTheKeywordByExactName) {
    struct Case {
        const char* path;
        bool match;
    };
    const Case cases[] = {
        {"C:\\Fav\\star.ICO", true},    {"C:\\Fav\\star.cur", true},  {"C:\\Fav\\sub\\star.Ani", true},
        {"star.ico", true},             {"C:\\Fav\\Star.ico", false}, {"C:\\Fav\\star.bmp", false},
        {"C:\\Fav\\stars.ico", false},  {"C:\\Fav\\star.ico.dll", false}, {"C:\\star\\.ico", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsFavoriteFileOf(c.path, "star"), c.match) << c.path;
    EXPECT_EQ(IconFileTypeOf("C:\\WINDOWS\\SYSTEM\\SHELL32.DLL"), IconFileType::Dll);
    EXPECT_EQ(IconFileTypeOf("C:\\x\\pic.bmp"), IconFileType::Other);
}
