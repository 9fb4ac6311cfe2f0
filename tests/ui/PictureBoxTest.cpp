// Picture boxes: the kept image and its drawing context, icon pictures over the back colour,
// stretched painting, the double-click and the custom pointer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTest.h"
#include "ui/Control.h"
#include "ui/Unique.h"
#include "ui/Units.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

class PictureForm : public TestForm {
  public:
    PictureForm() {
        build = [this] {
            box.Create({0, 0, PxToTwipsX(96), PxToTwipsY(96)});
            other.Create({0, PxToTwipsY(100), PxToTwipsX(32), PxToTwipsY(32)});
        };
    }
    PictureBox box{*this, 1100};
    PictureBox other{*this, 1101};
};

// A 32 x 32 icon: red on its left half, green on its right, the top-left pixel transparent.
HICON HalfIcon() {
    MemoryBitmap color(32, 32);
    RECT left{0, 0, 16, 32}, right{16, 0, 32, 32};
    UniqueBrush red(CreateSolidBrush(kRed)), green(CreateSolidBrush(kGreen));
    FillRect(color.dc(), &left, red.get());
    FillRect(color.dc(), &right, green.get());
    SetPixel(color.dc(), 0, 0, RGB(0, 0, 0));
    std::vector<uint8_t> maskBits(32 * 4, 0);
    maskBits[0] = 0x80;  // 1 = transparent
    UniqueBitmap mask(CreateBitmap(32, 32, 1, 1, maskBits.data()));
    UniqueBitmap colorBitmap(color.Release());
    ICONINFO info{TRUE, 0, 0, mask.get(), colorBitmap.get()};
    return CreateIconIndirect(&info);
}

}  // namespace

TEST(PictureBox, KeptImageHoldsDrawingUntilCleared) {
    PictureForm form;
    form.Load();
    form.box.SetBackColor(kBlue);
    HDC dc = form.box.hDC();
    ASSERT_TRUE(dc);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), form.box.Image());
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(form.box.Image(), sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 96);
    EXPECT_EQ(bm.bmHeight, 96);
    EXPECT_EQ(form.box.hDC(), dc);  // the same context from one use to the next

    // Clear first, then back colour: hDC() drew the box as it was.
    form.box.Cls();
    SetPixel(dc, 3, 4, kRed);
    EXPECT_EQ(form.box.Point(3, 4), kRed);
    EXPECT_EQ(form.box.Point(0, 0), kBlue);
    for (POINT outside : {POINT{-1, 0}, POINT{96, 0}, POINT{0, 96}}) EXPECT_EQ(form.box.Point(outside.x, outside.y), CLR_INVALID);

    // What the box paints is the kept image.
    MemoryBitmap shown(96, 96);
    RECT client{0, 0, 96, 96};
    form.box.Paint(shown.dc(), client);
    EXPECT_EQ(GetPixel(shown.dc(), 3, 4), kRed);

    form.box.Cls();
    EXPECT_EQ(form.box.Point(3, 4), kBlue);
    // The image outlives the window.
    SetPixel(dc, 7, 7, kGreen);
    form.Unload();
    EXPECT_EQ(form.box.Point(7, 7), kGreen);
}

TEST(PictureBox, IconPictureDrawsThroughItsMaskOverTheBackColour) {
    PictureForm form;
    form.Load();
    form.box.SetBackColor(kBlue);
    form.box.SetIcon(HalfIcon());
    ASSERT_TRUE(form.box.Icon());
    EXPECT_TRUE(form.box.HasPicture());
    EXPECT_EQ(form.box.Picture(), nullptr);
    struct Case {
        int x, y;
        COLORREF color;
    } cases[] = {{0, 0, kBlue}, {1, 0, kRed}, {15, 31, kRed}, {16, 0, kGreen}, {31, 31, kGreen}, {32, 0, kBlue}};
    for (const Case& c : cases) EXPECT_EQ(form.box.Point(c.x, c.y), c.color) << c.x << "," << c.y;

    // The other box takes a copy, which lives on when this box lets its own go.
    form.other.SetPictureFrom(form.box);
    ASSERT_TRUE(form.other.Icon());
    EXPECT_NE(form.other.Icon(), form.box.Icon());
    form.box.SetPicture(nullptr);
    EXPECT_FALSE(form.box.HasPicture());
    EXPECT_EQ(form.box.Point(16, 0), kBlue);
    EXPECT_EQ(form.other.Point(16, 0), kGreen);
    form.box.SetPictureFrom(form.box);  // nothing to copy from itself
    EXPECT_FALSE(form.box.HasPicture());
    form.Unload();
}

TEST(PictureBox, PaintPictureStretchesEverySourcePixelIntoABlock) {
    PictureForm form;
    form.Load();
    UniqueIcon icon(HalfIcon());
    MemoryBitmap twoPixels(2, 1);
    SetPixel(twoPixels.dc(), 0, 0, kRed);
    SetPixel(twoPixels.dc(), 1, 0, kGreen);
    UniqueBitmap bitmap(twoPixels.Release());
    struct Case {
        const char* what;
        bool useIcon;
        int x, y;
        COLORREF color;
    } cases[] = {
        {"icon", true, 2, 2, form.box.Point(2, 2)},  // source (0, 0) is transparent: the back shows
        {"icon", true, 3, 0, kRed},                  // source (1, 0)
        {"icon", true, 47, 95, kRed},                // source (15, 31)
        {"icon", true, 48, 0, kGreen},               // source (16, 0)
        {"bitmap", false, 47, 50, kRed},
        {"bitmap", false, 48, 50, kGreen},
        {"bitmap", false, 95, 95, kGreen},
    };
    for (const Case& c : cases) {
        form.box.Cls();
        if (c.useIcon) form.box.PaintPicture(icon.get(), 0, 0, 96, 96);
        else form.box.PaintPicture(bitmap.get(), 0, 0, 96, 96);
        EXPECT_EQ(form.box.Point(c.x, c.y), c.color) << c.what << " " << c.x << "," << c.y;
    }
    form.Unload();
}

TEST(PictureBox, DoubleClickRaisesDblClickAndNoSecondClick) {
    PictureForm form;
    form.Load();
    std::vector<std::string> events;
    form.box.MouseDown = [&](int, int, float, float) { events.push_back("down"); };
    form.box.MouseUp = [&](int, int, float, float) { events.push_back("up"); };
    form.box.Click = [&] { events.push_back("click"); };
    form.box.DblClick = [&] { events.push_back("dblclick"); };
    HWND box = form.box.hwnd();
    const LPARAM at = MAKELPARAM(10, 10);
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP})
        SendMessageA(box, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up", "click", "dblclick", "up", "down", "up", "click"}));
    form.Unload();
}

TEST(PictureBox, MousePointerChoosesTheCursorOverTheBox) {
    PictureForm form;
    form.Load();
    HCURSOR cross = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    HCURSOR sizing = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEWE));
    struct Case {
        PointerShape pointer;
        HCURSOR icon;
        HCURSOR shown;  // nullptr: the window class's own
    } cases[] = {
        {PointerShape::Default, cross, nullptr},
        {PointerShape::SizeWE, nullptr, sizing},
        {PointerShape::Custom, nullptr, nullptr},
        {PointerShape::Custom, cross, cross},
    };
    for (const Case& c : cases) {
        form.box.SetMousePointer(c.pointer);
        form.box.SetMouseIcon(c.icon);
        EXPECT_EQ(form.box.PointerCursor(), c.shown) << static_cast<int>(c.pointer);
        if (!c.shown) continue;
        SetCursor(nullptr);
        SendMessageA(form.box.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.box.hwnd()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), c.shown) << static_cast<int>(c.pointer);
    }
    form.Unload();
}
