// The pictures in Ornavale.exe: each strip holds one picture per key at its size, loads into a 32-bit
// image list with its transparency, and the icons carry the sizes Windows asks for.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "resources/Pictures.h"
#include "ui/Unique.h"

namespace {

std::string ProgramDir() { return TestProgramDir() + "..\\Ornavale\\"; }

class PicturesTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string exe = ProgramDir() + "Ornavale.exe";
        program.reset(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(program) << "error " << GetLastError();
    }
    UniqueModule program;
};

// Draws picture `index` of the list onto a square of one colour; answers its pixels (0x00RRGGBB).
std::vector<DWORD> DrawOn(HIMAGELIST list, int index, int size, COLORREF background) {
    MemoryBitmap target(size, size, MemoryBitmap::Format::Rgb32, true);
    if (!target) return {};
    UniqueBrush brush(CreateSolidBrush(background));
    RECT all{0, 0, size, size};
    FillRect(target.dc(), &all, brush.get());
    ImageList_Draw(list, index, target.dc(), 0, 0, ILD_NORMAL);
    GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(target.Bits());
    std::vector<DWORD> pixels(p, p + size * size);
    for (DWORD& px : pixels) px &= 0xFFFFFF;
    return pixels;
}

template <size_t N>
void CheckStrip(HMODULE program, int id, int size, const std::array<std::string_view, N>& keys) {
    UniqueBitmap strip(static_cast<HBITMAP>(
        LoadImageA(program, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_TRUE(strip) << "error " << GetLastError();
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(strip.get(), sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, static_cast<LONG>(N) * size);
    EXPECT_EQ(bm.bmHeight, size);
    EXPECT_EQ(bm.bmBitsPixel, 32);

    UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32, 0, static_cast<int>(N)));
    ASSERT_TRUE(list);
    ASSERT_EQ(ImageList_Add(list.get(), strip.get(), nullptr), 0);
    ASSERT_EQ(ImageList_GetImageCount(list.get()), static_cast<int>(N));

    // Over white and over black a picture differs where it lets the background through and agrees where
    // it is solid; a strip that lost its alpha would come out solid, black around every picture.
    for (size_t i = 0; i < N; ++i) {
        SCOPED_TRACE(std::string(keys[i]));
        auto onWhite = DrawOn(list.get(), static_cast<int>(i), size, RGB(255, 255, 255));
        auto onBlack = DrawOn(list.get(), static_cast<int>(i), size, RGB(0, 0, 0));
        ASSERT_EQ(onWhite.size(), static_cast<size_t>(size * size));
        int seeThrough = 0;
        for (size_t p = 0; p < onWhite.size(); ++p)
            if (onWhite[p] != onBlack[p]) ++seeThrough;
        if (keys[i] == "empty") {
            EXPECT_EQ(seeThrough, size * size);
        } else {
            EXPECT_GT(seeThrough, 0);
            EXPECT_GE(size * size - seeThrough, size) << "hardly anything solid";
        }
    }
}

// The widths of the pictures in an icon resource (a width of 0 stands for 256).
std::set<int> IconWidths(HMODULE program, int id) {
    HRSRC group = FindResourceA(program, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (!group) return {};
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(program, group)));
    if (!dir || SizeofResource(program, group) < 6) return {};
    // Header: reserved, type, count (16 bits each); then 14-byte entries that start with width and height.
    int count = dir[4] | dir[5] << 8;
    std::set<int> widths;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = dir + 6 + 14 * i;
        int bitCount = entry[6] | entry[7] << 8;
        if (bitCount == 32) widths.insert(entry[0] == 0 ? 256 : entry[0]);
    }
    return widths;
}

TEST_F(PicturesTest, StripsHoldOneSeeThroughPicturePerKey) {
    {
        SCOPED_TRACE("toolbar grey");
        CheckStrip(program.get(), IDB_TOOLBAR_GREY, kToolbarPictureSize, kToolbarPictureKeys);
    }
    {
        SCOPED_TRACE("toolbar hot");
        CheckStrip(program.get(), IDB_TOOLBAR_HOT, kToolbarPictureSize, kToolbarHotPictureKeys);
    }
    {
        SCOPED_TRACE("nav");
        CheckStrip(program.get(), IDB_NAV, kNavPictureSize, kNavPictureKeys);
    }
}

TEST_F(PicturesTest, IconsCarryTheirSizesInFullColour) {
    const std::set<int> programSizes{16, 32, 48};
    std::set<int> widths = IconWidths(program.get(), IDI_ORNAVALE);
    for (int w : programSizes) EXPECT_TRUE(widths.count(w)) << "program icon lacks " << w;
    for (const IconPicture& led : kNavIconPictures) {
        SCOPED_TRACE(std::string(led.key));
        EXPECT_EQ(IconWidths(program.get(), led.id), std::set<int>{16});
    }
    // LoadImage picks and decodes the picture of each size.
    for (int w : programSizes) {
        UniqueIcon icon(static_cast<HICON>(
            LoadImageA(program.get(), MAKEINTRESOURCEA(IDI_ORNAVALE), IMAGE_ICON, w, w, 0)));
        EXPECT_TRUE(icon) << w;
    }
}

TEST(PicturesLicence, TangoLicenceShipsInTheProgramFolder) {
    std::string licence = ProgramDir() + "licences\\tango-icon-theme.txt";
    EXPECT_NE(GetFileAttributesA(licence.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
