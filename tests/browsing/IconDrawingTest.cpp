// The icons of icon, cursor and library files on a page, drawn by the program from their bits,
// against the same icons drawn by the system: the page must not be able to tell them apart.
#include "PageFixture.h"

#include "FormatsTestSupport.h"
#include "IconMaker.h"
#include "common/ResultEntry.h"
#include "ui/ImageList.h"
#include "ui/Unique.h"

namespace {

// A bitmap image with random colours, palette, mask and, at 32 bits, alpha as asked.
enum class Alpha { None, Random, Zero, Opaque };
Bytes RandomDib(int size, int bits, unsigned seed, Alpha alpha = Alpha::Random) {
    std::srand(seed);
    auto byte = [] { return static_cast<uint8_t>(std::rand() & 0xFF); };
    const int colors = bits <= 8 ? 1 << bits : 0;
    const size_t xorStride = (static_cast<size_t>(size) * bits + 31) / 32 * 4;
    const size_t andStride = (static_cast<size_t>(size) + 31) / 32 * 4;
    Bytes dib(40);
    Poke32(dib, 0, 40);
    Poke32(dib, 4, static_cast<uint32_t>(size));
    Poke32(dib, 8, static_cast<uint32_t>(size * 2));
    Poke16(dib, 12, 1);
    Poke16(dib, 14, static_cast<uint16_t>(bits));
    for (int c = 0; c < colors; ++c) dib.insert(dib.end(), {byte(), byte(), byte(), 0});
    for (size_t i = 0; i < xorStride * static_cast<size_t>(size); ++i) {
        uint8_t b = byte();
        if (bits == 32 && i % 4 == 3) {
            b = alpha == Alpha::Zero ? 0 : alpha == Alpha::Opaque ? 255 : b;
            if (alpha == Alpha::Random && i % 12 == 3) b = 0;  // some fully clear pixels too
        }
        dib.push_back(b);
    }
    for (size_t i = 0; i < andStride * static_cast<size_t>(size); ++i) dib.push_back(byte());
    return dib;
}

struct Image {
    int size;
    int bits;
    Alpha alpha = Alpha::Random;
};

Bytes IconFile(int type, const std::vector<Image>& images, unsigned seed) {
    std::vector<IconEntry> entries;
    for (const Image& i : images) {
        IconEntry e{RandomDib(i.size, i.bits, seed++, i.alpha), i.size, i.size, 1, i.bits};
        if (type == 2) e.field4 = e.field6 = 3;  // a cursor's hotspot
        entries.push_back(e);
    }
    return IconFileBytes(type, entries);
}

}  // namespace

TEST_F(PagesTest, IconFilesLookAsTheSystemDrawsThem) {
    struct Case {
        const char* name;
        int type;
        std::vector<Image> images;
    } cases[] = {
        {"mono.ico", 1, {{32, 1}}},
        {"sixteen.ico", 1, {{32, 4}}},
        {"palette.ico", 1, {{32, 8}}},
        {"true.ico", 1, {{32, 24}}},
        {"alpha.ico", 1, {{32, 32}}},
        {"noalpha.ico", 1, {{32, 32, Alpha::Zero}}},
        {"opaque.ico", 1, {{32, 32, Alpha::Opaque}}},
        {"sizes.ico", 1, {{16, 8}, {48, 32}, {32, 4}, {32, 32}, {32, 8}}},
        {"large.ico", 1, {{48, 8}}},  // scaled by the system
        {"pointer.cur", 2, {{32, 1}}},
        {"colour.cur", 2, {{32, 32}}},
    };
    const COLORREF back = frmMain.pnlResult.BackColor().value_or(GetSysColor(COLOR_WINDOW)) & 0xFFFFFF;
    unsigned seed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes bytes = IconFile(c.type, c.images, seed += 10);
        const std::string file = dir.File(c.name, std::string(bytes.begin(), bytes.end()));
        Fill({OpenEntry(file, 0, "x", c.type == 1 ? '2' : '8')});
        ASSERT_EQ(frmMain.imlResult32.Count(), 1);
        // The shell extracts no icon from a cursor file under Wine: the system's cursor drawn instead.
        HICON icon = nullptr;
        if (c.type == 1) ASSERT_EQ(ExtractIconExA(file.c_str(), 0, &icon, nullptr, 1), 1u);
        else icon = static_cast<HICON>(LoadImageA(nullptr, file.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
        ASSERT_TRUE(icon);
        EXPECT_EQ(Differences(ImagePixels(0), SystemDrawn(icon, back)), 0);
        if (c.type == 1) DestroyIcon(icon);
        else DestroyCursor(icon);
    }
}

TEST_F(PagesTest, LibraryIconsLookAsTheSystemDrawsThem) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string library = std::string(system) + "\\shell32.dll";
    std::vector<std::string> entries;
    for (int i = 0; i < 40; ++i) entries.push_back(OpenEntry(library, i, "x", 'd'));
    Fill(entries);
    ASSERT_EQ(frmMain.imlResult32.Count(), 40);
    const COLORREF back = frmMain.pnlResult.BackColor().value_or(GetSysColor(COLOR_WINDOW)) & 0xFFFFFF;
    for (int i = 0; i < 40; ++i) {
        HICON icon = nullptr;
        ASSERT_EQ(ExtractIconExA(library.c_str(), i, &icon, nullptr, 1), 1u) << i;
        EXPECT_EQ(Differences(ImagePixels(i), SystemDrawn(icon, back)), 0) << i;
        DestroyIcon(icon);
    }
}

TEST_F(PagesTest, FillingPagesAgainLeavesNoGdiObjectBehind) {
    // Pictures of every way a page draws: from an icon file's bits, by the system, from a library,
    // and the placeholder for a file that gives none.
    const Bytes ico = IconFile(1, {{32, 8}}, 7);
    const Bytes large = IconFile(1, {{48, 8}}, 8);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    std::vector<std::string> entries = {
        OpenEntry(dir.File("own.ico", std::string(ico.begin(), ico.end())), 0, "x", '2'),
        OpenEntry(dir.File("large.ico", std::string(large.begin(), large.end())), 0, "x", '2'),
        OpenEntry(dir.File("none.ico", "not an icon"), 0, "x", '2'),
    };
    for (int i = 0; i < 10; ++i) entries.push_back(OpenEntry(std::string(system) + "\\shell32.dll", i, "x", 'd'));
    // Counted when the window has painted the page and waits.
    auto filled = [&] {
        Fill(entries);
        RedrawWindow(frmMain.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        DoEvents();
        return GdiObjectCount();
    };
    filled();
    const size_t before = filled();
    size_t after = 0;
    for (int round = 0; round < 10; ++round) after = filled();
    EXPECT_EQ(frmMain.imlResult32.Count(), static_cast<int>(entries.size()));
    EXPECT_EQ(after, before);
}

TEST_F(PagesTest, PageImagesKeepEachIconsOwnMask) {
    // On a white list: white pixels of the icon stay opaque, its clear top row stays clear.
    frmMain.pnlResult.SetBackColor(0xFFFFFF);
    const std::string file = dir.File("white.ico", "");
    ASSERT_TRUE(WriteWhiteIconFile(file));
    Fill({OpenEntry(file, 0, "x", '2')});
    UniqueIcon icon = frmMain.imlResult32.GetIcon(1);
    frmMain.pnlResult.SetBackColor(std::nullopt);
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    UniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    UniqueMemDC maskDC(CreateCompatibleDC(nullptr)), colorDC(CreateCompatibleDC(nullptr));
    SelectInDC maskIn(maskDC.get(), mask.get()), colorIn(colorDC.get(), color.get());
    struct Case {
        int x, y;
        bool clear;
        COLORREF colour;
    } cases[] = {{0, 0, true, RGB(0, 0, 0)},
                 {31, 0, true, RGB(0, 0, 0)},
                 {0, 1, false, RGB(255, 255, 255)},
                 {20, 20, false, RGB(255, 255, 255)},
                 {5, 5, false, RGB(255, 0, 0)}};
    for (const Case& c : cases) {
        EXPECT_EQ(GetPixel(maskDC.get(), c.x, c.y), c.clear ? RGB(255, 255, 255) : RGB(0, 0, 0)) << c.x << "," << c.y;
        EXPECT_EQ(GetPixel(colorDC.get(), c.x, c.y), c.colour) << c.x << "," << c.y;
    }
    // Drawn over black, the clear row shows the black and the white stays white.
    MemoryBitmap canvas(32, 32);
    RECT all{0, 0, 32, 32};
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ImageList_Draw(frmMain.imlResult32.handle(), 0, canvas.dc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(GetPixel(canvas.dc(), 7, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(canvas.dc(), 7, 1), RGB(255, 255, 255));
}
