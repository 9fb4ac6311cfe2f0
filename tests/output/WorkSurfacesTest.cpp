// procMask and procGetBitCount in the loaded main window: which source wins, what of it reaches
// the surfaces, and that renders leave nothing behind.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "IconMaker.h"
#include "LentPictures.h"
#include "PageFixture.h"
#include "TestSupport.h"
#include "common/ResultEntry.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Selection.h"
#include "output/WorkSurfaces.h"
#include "ui/App.h"
#include "ui/Unique.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

// The loaded main window of the page tests, with the mode flags down and no pictures lent.
class WorkSurfacesTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        gFilmMode = gImportMode = gChangeMode = false;
        gLoopIndex = 0;
    }
    void TearDown() override {
        gFilmMode = gImportMode = gChangeMode = false;
        SetImportPicture(nullptr);
        SetChangePicture(nullptr);
        PagesTest::TearDown();
    }
    // A page of one icon file, its item selected.
    void ShowFile(const std::string& file) {
        Fill({OpenEntry(file, 0, "x", '2')});
        ASSERT_EQ(frmMain.pnlResult.Count(), 1);
        frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(1));
    }
    static COLORREF Colour(int x, int y) { return frmMain.pctColor.Point(x, y); }
    static COLORREF Mask(int x, int y) { return frmMain.pctMask.Point(x, y); }
    struct SurfacePixel {
        int x, y;
        COLORREF colour, mask;
    };
    static void ExpectSurfaces(std::initializer_list<SurfacePixel> pixels) {
        for (const SurfacePixel& p : pixels) {
            EXPECT_EQ(Colour(p.x, p.y), p.colour) << p.x << "," << p.y;
            EXPECT_EQ(Mask(p.x, p.y), p.mask) << p.x << "," << p.y;
        }
    }

    Lender lender;
};

}  // namespace

TEST_F(WorkSurfacesTest, SourcePrecedence) {
    constexpr COLORREF film = RGB(200, 0, 0), import = RGB(0, 200, 0), change = RGB(0, 0, 200),
                       result = RGB(0xC0, 0x30, 0x90);
    const std::string file = dir.File("result.ico", "");
    ASSERT_TRUE(WriteIconFile(file, 0xC03090));
    ShowFile(file);
    frmMain.FilmElement(1).SetIcon(OneColourIcon(32, film));
    frmMain.FilmElement(2).SetIcon(OneColourIcon(32, RGB(9, 9, 9)));
    lender.picImport.SetIcon(OneColourIcon(32, import));
    lender.picChange.SetIcon(OneColourIcon(32, change));
    SetImportPicture(&lender.picImport);
    SetChangePicture(&lender.picChange);

    struct Case {
        bool film, import, change;
        COLORREF shown;
    } cases[] = {
        {false, false, false, result}, {true, false, false, film},   {false, true, false, import},
        {false, false, true, change},  {true, true, false, import},  {false, true, true, change},
        {true, false, true, change},   {true, true, true, change},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "film " << c.film << " import " << c.import << " change " << c.change);
        gFilmMode = c.film;
        gImportMode = c.import;
        gChangeMode = c.change;
        frmMain.procMask();
        EXPECT_EQ(Colour(16, 16), c.shown);
        EXPECT_EQ(Mask(16, 16), kBlack);
        EXPECT_TRUE(frmMain.picSave.Icon());
    }
    // The result icon's own frame of clear pixels.
    gFilmMode = gImportMode = gChangeMode = false;
    frmMain.procMask();
    EXPECT_EQ(Mask(0, 0), kWhite);
    EXPECT_EQ(Colour(0, 0), kBlack);
    // Film mode renders frame gLoopIndex + 1.
    gFilmMode = true;
    gLoopIndex = 1;
    frmMain.procMask();
    EXPECT_EQ(Colour(16, 16), RGB(9, 9, 9));
}

TEST_F(WorkSurfacesTest, ASourceThatIsNoIconLeavesClearedSurfaces) {
    lender.picImport.SetIcon(OneColourIcon(32, RGB(10, 20, 30)));
    SetImportPicture(&lender.picImport);
    gImportMode = true;
    frmMain.procMask();
    ASSERT_EQ(Colour(5, 5), RGB(10, 20, 30));

    MemoryBitmap plain(32, 32);
    struct Case {
        const char* what;
        std::function<void()> arrange;
    } cases[] = {
        {"a bitmap", [&] { lender.picImport.SetPicture(static_cast<HBITMAP>(CopyImage(plain.bitmap(), IMAGE_BITMAP, 0, 0, 0))); }},
        {"an empty picture", [&] { lender.picImport.SetPicture(nullptr); }},
        {"no window lends one", [&] { SetImportPicture(nullptr); }},
        {"a frame past the store", [&] { gImportMode = false, gFilmMode = true, gLoopIndex = 500; }},
        {"no selected item", [&] { gFilmMode = false; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        frmMain.procMask();
        for (POINT p : {POINT{0, 0}, POINT{5, 5}, POINT{31, 31}}) {
            EXPECT_EQ(Colour(p.x, p.y), kBlack);
            EXPECT_EQ(Mask(p.x, p.y), kWhite);
        }
    }
}

TEST_F(WorkSurfacesTest, ALargerSourceGivesItsTopLeft32Pixels) {
    // Red in the top-left 32 x 32 with one blue and one clear pixel; green and clear beyond.
    std::vector<POINT> clear{{5, 7}};
    for (int y = 0; y < 48; ++y)
        for (int x = 32; x < 48; ++x) clear.push_back({x, y});
    HICON icon = OneColourIcon(48, RGB(255, 0, 0), clear);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    {
        UniqueBitmap mask(info.hbmMask), color(info.hbmColor);
        UniqueMemDC dc(CreateCompatibleDC(nullptr));
        SelectInDC in(dc.get(), color.get());
        SetPixel(dc.get(), 31, 31, RGB(0, 0, 255));
        RECT below{0, 32, 48, 48};
        UniqueBrush green(CreateSolidBrush(RGB(0, 255, 0)));
        FillRect(dc.get(), &below, green.get());
        in.Undo();
        DestroyIcon(icon);
        ICONINFO again{TRUE, 0, 0, mask.get(), color.get()};
        icon = CreateIconIndirect(&again);
    }
    lender.picChange.SetIcon(icon);
    SetChangePicture(&lender.picChange);
    gChangeMode = true;
    frmMain.procMask();
    ExpectSurfaces({{0, 0, RGB(255, 0, 0), kBlack},  {31, 31, RGB(0, 0, 255), kBlack}, {5, 7, kBlack, kWhite},
                 {31, 0, RGB(255, 0, 0), kBlack}, {0, 31, RGB(255, 0, 0), kBlack}});
}

TEST_F(WorkSurfacesTest, AWhitePixelOfAPageIconStaysOpaque) {
    frmMain.pnlResult.SetBackColor(0xFFFFFF);
    const std::string file = dir.File("white.ico", "");
    ASSERT_TRUE(WriteWhiteIconFile(file));
    ShowFile(file);
    frmMain.procMask();
    ExpectSurfaces({{10, 10, kWhite, kBlack}, {5, 5, RGB(255, 0, 0), kBlack}, {0, 0, kBlack, kWhite}, {31, 0, kBlack, kWhite}});
    frmMain.pnlResult.SetBackColor(std::nullopt);
}

TEST_F(WorkSurfacesTest, AMonochromeIconTakesItsColoursFromTheLowerHalfOfItsMask) {
    // AND mask: row 0 clear; XOR: the left half white.
    std::vector<uint8_t> bits(32 * 4 * 2, 0);
    for (int i = 0; i < 4; ++i) bits[static_cast<size_t>(i)] = 0xFF;
    for (int y = 32; y < 64; ++y) bits[static_cast<size_t>(y * 4)] = 0xFF, bits[static_cast<size_t>(y * 4 + 1)] = 0xFF;
    UniqueBitmap mask(CreateBitmap(32, 64, 1, 1, bits.data()));
    ICONINFO info{TRUE, 0, 0, mask.get(), nullptr};
    lender.picChange.SetIcon(CreateIconIndirect(&info));
    ASSERT_TRUE(lender.picChange.Icon());
    SetChangePicture(&lender.picChange);
    gChangeMode = true;
    frmMain.procMask();
    ExpectSurfaces({{0, 5, kWhite, kBlack}, {15, 31, kWhite, kBlack}, {16, 5, kBlack, kBlack}, {20, 0, kBlack, kWhite}});
}

TEST_F(WorkSurfacesTest, RendersLeaveNoGdiObjectBehind) {
    const std::string file = dir.File("result.ico", "");
    ASSERT_TRUE(WriteIconFile(file, 0x336699));
    ShowFile(file);
    lender.picImport.SetIcon(OneColourIcon(48, RGB(1, 2, 3)));
    SetImportPicture(&lender.picImport);
    frmMain.FilmElement(1).SetIcon(OneColourIcon(32, RGB(4, 5, 6)));
    auto renderAll = [] {
        for (int mode = 0; mode < 3; ++mode) {
            gFilmMode = mode == 1;
            gImportMode = mode == 2;
            frmMain.procMask();
        }
    };
    renderAll();  // the surfaces' images are made once
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 500; ++i) renderAll();
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
    EXPECT_EQ(GetCurrentObject(gMaskDC, OBJ_BITMAP), gMaskDCBitmap);
    EXPECT_EQ(GetCurrentObject(gColorDC, OBJ_BITMAP), gColorDCBitmap);
    EXPECT_EQ(Colour(16, 16), RGB(1, 2, 3));
}

TEST(BitCount, TypeTexts) {
    struct Case {
        const char* type;
        int32_t bits;
    } cases[] = {
        {"16 Color Icon", 4},      {"16 Color Animation", 4},  {"16 Color Cursor", 4},
        {"256 Color Icon", 8},     {"256 Color Animation", 8}, {"256 Color Cursor", 8},
        {"Hi-Color Icon", 16},     {"Hi-Color Cursor", 16},    {"Hi-Color Animation", 16},
        {"Animated Cursor", 16},   {"Animated Icon", 16},      {"Icon Library", 16},
        {"System Icon", 16},       {"", 16},                   {"16 color icon", 16},
        {"16 Color Icon ", 16},    {"256 Color", 16},
    };
    for (const Case& c : cases) EXPECT_EQ(BitCountForType(c.type), c.bits) << '"' << c.type << '"';
}

TEST_F(WorkSurfacesTest, GetBitCountReadsTheTypePanel) {
    for (auto [type, bits] : {std::pair{"256 Color Animation", 8}, std::pair{"16 Color Cursor", 4},
                              std::pair{"Hi-Color Cursor", 16}}) {
        gPanelType->SetText(type);
        frmMain.procGetBitCount();
        EXPECT_EQ(gBitCount, bits) << type;
    }
}
