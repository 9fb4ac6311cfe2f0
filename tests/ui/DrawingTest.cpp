// The drawing kit: owned GDI objects and modules, a window's DC, a paint scope that ends however its
// painting ends, a selection that is undone, memory bitmaps; and no GDI object left behind.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "TestSupport.h"
#include "UiTest.h"
#include "ui/Unique.h"

namespace {

HFONT SomeFont() { return CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma"); }

// One object of each kind the kit owns and selects, and the kind GetCurrentObject asks for.
struct GdiKind {
    const char* name;
    std::function<HGDIOBJ()> make;
    UINT type;
};
const GdiKind kKinds[] = {
    {"pen", [] { return HGDIOBJ(CreatePen(PS_SOLID, 1, RGB(1, 2, 3))); }, OBJ_PEN},
    {"brush", [] { return HGDIOBJ(CreateSolidBrush(RGB(1, 2, 3))); }, OBJ_BRUSH},
    {"font", [] { return HGDIOBJ(SomeFont()); }, OBJ_FONT},
    {"bitmap", [] { return HGDIOBJ(CreateBitmap(4, 4, 1, 1, nullptr)); }, OBJ_BITMAP},
};

TEST(DrawingKit, OwnedObjectsAreDeletedAtTheirEnd) {
    for (const GdiKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        HGDIOBJ object = kind.make();
        ASSERT_EQ(GetObjectType(object), kind.type);
        {
            UniqueGdi<HGDIOBJ> owned(object);
            UniqueGdi<HGDIOBJ> moved(std::move(owned));
            EXPECT_FALSE(owned);
            EXPECT_EQ(GetObjectType(object), kind.type);
        }
        EXPECT_EQ(GetObjectType(object), 0u);
    }
}

TEST(DrawingKit, SelectionIsUndoneAtItsEndAndOnlyOnce) {
    UniqueMemDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    for (const GdiKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        UniqueGdi<HGDIOBJ> object(kind.make());
        UniqueGdi<HGDIOBJ> other(kind.make());
        const HGDIOBJ before = GetCurrentObject(dc.get(), kind.type);
        {
            SelectInDC selected(dc.get(), object.get());
            EXPECT_TRUE(selected);
            EXPECT_EQ(GetCurrentObject(dc.get(), kind.type), object.get());
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), kind.type), before);
        {
            // Undone early, the scope's end leaves alone what was selected after it.
            SelectInDC selected(dc.get(), object.get());
            selected.Undo();
            EXPECT_EQ(GetCurrentObject(dc.get(), kind.type), before);
            SelectObject(dc.get(), other.get());
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), kind.type), other.get());
        SelectObject(dc.get(), before);
    }
    // Nothing to select or nowhere to select it: no selection, nothing to undo.
    UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_FALSE(SelectInDC(dc.get(), nullptr));
    EXPECT_FALSE(SelectInDC(nullptr, brush.get()));
}

TEST(DrawingKit, ModuleIsFreedAtItsEnd) {
    constexpr const char* kLibrary = "msimg32.dll";
    ASSERT_EQ(GetModuleHandleA(kLibrary), nullptr) << "the test needs a library nobody else loaded";
    {
        UniqueModule module(LoadLibraryA(kLibrary));
        ASSERT_TRUE(module);
        EXPECT_EQ(GetModuleHandleA(kLibrary), module.get());
    }
    EXPECT_EQ(GetModuleHandleA(kLibrary), nullptr);
}

TEST(DrawingKit, MemoryBitmapsDrawWhereTheirRowsSay) {
    struct Case {
        MemoryBitmap::Format format;
        bool topDown;
        int bitsPixel;
        size_t stride;  // 5 pixels a row, rounded to whole words
    } cases[] = {
        {MemoryBitmap::Format::Rgb24, false, 24, 16},
        {MemoryBitmap::Format::Rgb24, true, 24, 16},
        {MemoryBitmap::Format::Rgb32, false, 32, 20},
        {MemoryBitmap::Format::Rgb32, true, 32, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bitsPixel) + (c.topDown ? " top-down" : " bottom-up"));
        MemoryBitmap picture(5, 3, c.format, c.topDown);
        ASSERT_TRUE(picture);
        ASSERT_NE(picture.Bits(), nullptr);
        EXPECT_EQ(picture.Stride(), c.stride);
        EXPECT_EQ(GetCurrentObject(picture.dc(), OBJ_BITMAP), picture.bitmap());
        BITMAP bm{};
        ASSERT_TRUE(GetObjectA(picture.bitmap(), sizeof bm, &bm));
        EXPECT_EQ(bm.bmWidth, 5);
        EXPECT_EQ(bm.bmHeight, 3);
        EXPECT_EQ(bm.bmBitsPixel, c.bitsPixel);

        // The top row red, the rest black: the top row is first in memory only when top-down.
        RECT all{0, 0, 5, 3}, top{0, 0, 5, 1};
        FillRect(picture.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(picture.dc(), &top, red.get());
        GdiFlush();
        const auto* bytes = static_cast<const uint8_t*>(picture.Bits());
        const uint8_t* topRow = bytes + (c.topDown ? 0 : 2 * c.stride);
        const uint8_t* otherRow = bytes + (c.topDown ? 2 * c.stride : 0);
        const size_t last = 4 * static_cast<size_t>(c.bitsPixel / 8);
        EXPECT_EQ(topRow[0] + 256 * topRow[1] + 65536 * topRow[2], 255 * 65536);  // blue, green, red
        EXPECT_EQ(topRow[last + 2], 255);
        EXPECT_EQ(otherRow[2], 0);

        // Released, the bitmap leaves the DC and lives on with the caller.
        UniqueBitmap kept(picture.Release());
        EXPECT_FALSE(picture);
        EXPECT_EQ(picture.Bits(), nullptr);
        EXPECT_NE(GetCurrentObject(picture.dc(), OBJ_BITMAP), kept.get());
        EXPECT_EQ(GetObjectType(kept.get()), static_cast<DWORD>(OBJ_BITMAP));
    }
}

TEST(DrawingKit, ScreenMemoryBitmapAndEmptySizes) {
    MemoryBitmap screen(7, 4);
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen.Bits(), nullptr);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(screen.bitmap(), sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 7);
    EXPECT_EQ(bm.bmHeight, 4);
    for (auto [w, h] : {std::pair{0, 4}, std::pair{7, 0}, std::pair{-1, 4}}) {
        MemoryBitmap empty(w, h, MemoryBitmap::Format::Rgb32);
        EXPECT_FALSE(empty) << w << " x " << h;
        EXPECT_EQ(empty.Release(), nullptr);
    }
}

// A form whose painting fails half-way.
class FailingPaintForm : public TestForm {
  public:
    HDC paintedOn = nullptr;
    int paints = 0;

  protected:
    void OnPaint(HDC dc) override {
        paintedOn = dc;
        ++paints;
        throw std::runtime_error("paint failed");
    }
};

std::string gReported;
void Remember(const char*, const std::exception& e) { gReported = e.what(); }

TEST(DrawingKit, PaintEndsWhenThePaintingThrows) {
    FailingPaintForm form;
    form.Show();
    Pump();
    SetExceptionHandler(&Remember);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        gReported.clear();
        const int before = form.paints;
        InvalidateRect(form.hwnd(), nullptr, TRUE);
        UpdateWindow(form.hwnd());
        ASSERT_EQ(form.paints, before + 1);
        EXPECT_EQ(gReported, "paint failed");
        EXPECT_FALSE(GetUpdateRect(form.hwnd(), nullptr, FALSE));
        // The paint's DC went back to the window's cache: the next DC asked for is that one. Left
        // in use, the system would answer another.
        WindowDC dc(form.hwnd());
        EXPECT_EQ(dc.get(), form.paintedOn);
    }
    SetExceptionHandler(nullptr);
    form.Unload();
}

TEST(DrawingKit, WindowDCGoesBackAtItsEnd) {
    TestForm form;
    form.Show();
    HDC first = nullptr;
    {
        WindowDC dc(form.hwnd());
        ASSERT_TRUE(dc);
        first = dc.get();
    }
    WindowDC again(form.hwnd());
    EXPECT_EQ(again.get(), first);
    WindowDC meanwhile(form.hwnd());
    EXPECT_NE(meanwhile.get(), first);  // one in use is not given out again
    form.Unload();
}

TEST(DrawingKit, CountsTheGdiObjectsOfTheProcess) {
    const size_t before = GdiObjectCount();
    ASSERT_GT(before, 0u);
    {
        UniqueBrush a(CreateSolidBrush(RGB(1, 2, 3))), b(CreateSolidBrush(RGB(1, 2, 3)));
        EXPECT_EQ(GdiObjectCount(), before + 2);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(DrawingKit, LeavesNoGdiObjectBehind) {
    TestForm form;
    form.Show();
    auto drawOnce = [&] {
        MemoryBitmap picture(40, 20, MemoryBitmap::Format::Rgb24);
        UniqueFont font(SomeFont());
        SelectInDC text(picture.dc(), font.get());
        TextOutA(picture.dc(), 0, 0, "Ornavale", 8);
        WindowDC dc(form.hwnd());
        BitBlt(dc.get(), 0, 0, 40, 20, picture.dc(), 0, 0, SRCCOPY);
        UniqueBitmap kept(picture.Release());
        InvalidateRect(form.hwnd(), nullptr, TRUE);
        UpdateWindow(form.hwnd());
    };
    drawOnce();
    const size_t before = GdiObjectCount();
    for (int i = 0; i < 50; ++i) drawOnce();
    EXPECT_EQ(GdiObjectCount(), before);
    form.Unload();
}

}  // namespace
