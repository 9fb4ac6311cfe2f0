// Image lists: keys without regard to case, 1-based indexes, strips, and a handle that never changes.
#include <gtest/gtest.h>

#include <vector>

#include "UiTest.h"
#include "ui/ImageList.h"
#include "ui/Keys.h"
#include "ui/Unique.h"

namespace {

HBITMAP Strip(int images, int size = 16) { return CreateBitmap(images * size, size, 1, 32, nullptr); }

}  // namespace

TEST(ImageList, KeysFindImagesWithoutRegardToCase) {
    ImageList list(16, 16);
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    EXPECT_EQ(list.Add("Folder", icon), 1);
    EXPECT_EQ(list.Add("", icon), 2);  // no key
    EXPECT_EQ(list.Add("open", icon), 3);

    struct Case {
        const char* key;
        int index;
    };
    for (Case c : {Case{"folder", 1}, Case{"FOLDER", 1}, Case{"Open", 3}, Case{"", -1}, Case{"missing", -1}}) {
        EXPECT_EQ(list.IndexOf(c.key), c.index) << c.key;
        EXPECT_EQ(list.ImageIndex(c.key), c.index < 0 ? -1 : c.index - 1) << c.key;
    }
}

TEST(ImageList, DuplicateKeyAddsNothing) {
    ImageList list(16, 16);
    HBITMAP one = Strip(1);
    list.Add("a", one, RGB(255, 0, 255));
    EXPECT_THROW(list.Add("A", one, RGB(255, 0, 255)), KeyError);
    EXPECT_THROW(list.AddStrip(one, RGB(255, 0, 255), {"b", "B"}), KeyError);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.IndexOf("b"), -1);
    DeleteObject(one);
}

TEST(ImageList, StripAddsEveryCellAndNamesThoseWithKeys) {
    ImageList list(16, 16);
    list.Add("first", Strip(1), static_cast<HBITMAP>(nullptr));
    HBITMAP strip = Strip(5);
    EXPECT_EQ(list.AddStrip(strip, RGB(128, 64, 64), {"x", "", "z"}), 2);
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(list.IndexOf("x"), 2);
    EXPECT_EQ(list.IndexOf("z"), 4);
    DeleteObject(strip);
}

TEST(ImageList, ClearKeepsTheHandleThatControlsHold) {
    ImageList list(16, 16);
    HIMAGELIST handle = list.handle();
    HBITMAP strip = Strip(3);
    list.AddStrip(strip, RGB(0, 0, 0), {"a", "b", "c"});
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.IndexOf("a"), -1);
    EXPECT_EQ(list.handle(), handle);
    EXPECT_EQ(list.AddStrip(strip, RGB(0, 0, 0), {"a"}), 1);  // the keys are free again
    DeleteObject(strip);
}

namespace {

// A 16 x 16 picture of one colour whose top-left pixel is `corner`.
HBITMAP Picture(COLORREF color, COLORREF corner) {
    MemoryBitmap picture(16, 16);
    UniqueBrush brush(CreateSolidBrush(color));
    RECT all{0, 0, 16, 16};
    FillRect(picture.dc(), &all, brush.get());
    SetPixel(picture.dc(), 0, 0, corner);
    return picture.Release();
}

// The pixel of image `index` (from 1) drawn over white.
COLORREF Drawn(ImageList& list, int index, int x, int y) {
    MemoryBitmap canvas(16, 16);
    RECT all{0, 0, 16, 16};
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list.handle(), index - 1, canvas.dc(), 0, 0, ILD_NORMAL);
    return GetPixel(canvas.dc(), x, y);
}

constexpr COLORREF kMagenta = RGB(255, 0, 255);

}  // namespace

TEST(ImageList, InsertPutsTheImageInPlaceAndMovesTheRestUp) {
    struct Case {
        int at;
        std::vector<COLORREF> order;  // the centre colours afterwards
    } cases[] = {
        {1, {RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 255, 0)}},
        {2, {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0)}},
        {3, {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}},  // appended
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at);
        ImageList list(16, 16);
        UniqueBitmap red(Picture(RGB(255, 0, 0), RGB(255, 0, 0))), green(Picture(RGB(0, 255, 0), RGB(0, 255, 0)));
        list.Add("red", red.get(), kMagenta);
        list.Add("green", green.get(), kMagenta);
        list.SetMaskColor(kMagenta);
        UniqueBitmap blue(Picture(RGB(0, 0, 255), kMagenta));
        EXPECT_EQ(list.Insert(c.at, blue.get(), "blue"), c.at);
        ASSERT_EQ(list.Count(), 3);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(Drawn(list, i + 1, 8, 8), c.order[static_cast<size_t>(i)]) << i;
        // The keys follow their images; the mask colour is clear in the new one only.
        for (const char* key : {"red", "green", "blue"})
            EXPECT_EQ(Drawn(list, list.IndexOf(key), 8, 8), c.order[static_cast<size_t>(list.IndexOf(key) - 1)]);
        EXPECT_EQ(list.IndexOf("blue"), c.at);
        EXPECT_EQ(Drawn(list, c.at, 0, 0), RGB(255, 255, 255));
        EXPECT_EQ(Drawn(list, list.IndexOf("red"), 0, 0), RGB(255, 0, 0));
        // The caller's picture is left as it was.
        UniqueMemDC dc(CreateCompatibleDC(nullptr));
        SelectInDC in(dc.get(), blue.get());
        EXPECT_EQ(GetPixel(dc.get(), 0, 0), kMagenta);
    }
}

TEST(ImageList, InsertRefusesAPlaceOutsideTheList) {
    ImageList list(16, 16);
    UniqueBitmap picture(Picture(RGB(1, 2, 3), RGB(1, 2, 3)));
    EXPECT_EQ(list.Insert(0, picture.get()), 0);
    EXPECT_EQ(list.Insert(2, picture.get()), 0);
    EXPECT_EQ(list.Insert(1, nullptr), 0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Insert(1, picture.get()), 1);
    EXPECT_EQ(list.MaskColor(), RGB(192, 192, 192));
}

TEST(ImageList, GetIconKeepsTheImagesMask) {
    ImageList list(16, 16);
    EXPECT_FALSE(list.GetIcon(1));
    list.SetMaskColor(kMagenta);
    UniqueBitmap picture(Picture(RGB(0, 128, 0), kMagenta));
    list.Insert(1, picture.get());
    EXPECT_FALSE(list.GetIcon(2));
    UniqueIcon icon = list.GetIcon(1);
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    UniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    UniqueMemDC dc(CreateCompatibleDC(nullptr));
    SelectInDC in(dc.get(), mask.get());
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(255, 255, 255));  // clear
    EXPECT_EQ(GetPixel(dc.get(), 8, 8), RGB(0, 0, 0));        // opaque
    in.Undo();
    SelectInDC colorIn(dc.get(), color.get());
    EXPECT_EQ(GetPixel(dc.get(), 8, 8), RGB(0, 128, 0));
}
