// Draws the splash picture: a deep blue field with a loose grid of icon tiles and the program's name.
#include "core/SplashPicture.h"

#include <algorithm>
#include <iterator>

#include "ui/Unique.h"

namespace {

void FillGradient(HDC dc, int w, int h, COLORREF top, COLORREF bottom) {
    for (int y = 0; y < h; ++y) {
        auto mix = [&](int a, int b) { return a + (b - a) * y / std::max(h - 1, 1); };
        UniqueBrush b(CreateSolidBrush(RGB(mix(GetRValue(top), GetRValue(bottom)),
                                           mix(GetGValue(top), GetGValue(bottom)),
                                           mix(GetBValue(top), GetBValue(bottom)))));
        RECT line{0, y, w, y + 1};
        FillRect(dc, &line, b.get());
    }
}

void Tile(HDC dc, int x, int y, int size, COLORREF fill, COLORREF edge) {
    UniqueBrush b(CreateSolidBrush(fill));
    UniquePen p(CreatePen(PS_SOLID, 1, edge));
    SelectInDC brush(dc, b.get());
    SelectInDC pen(dc, p.get());
    RoundRect(dc, x, y, x + size, y + size, 7, 7);
    // A small highlight gives each tile the look of an icon.
    UniqueBrush shine(CreateSolidBrush(RGB(255, 255, 255)));
    RECT r{x + 4, y + 4, x + size / 2, y + 6};
    FillRect(dc, &r, shine.get());
}

void Text(HDC dc, const char* text, int x, int y, int height, int weight, COLORREF color) {
    UniqueFont f(CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Tahoma"));
    SelectInDC font(dc, f.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    TextOutA(dc, x, y, text, lstrlenA(text));
}

}  // namespace

HBITMAP MakeSplashPicture(int width, int height) {
    MemoryBitmap picture(width, height);
    HDC dc = picture.dc();

    FillGradient(dc, width, height, RGB(22, 52, 104), RGB(8, 20, 48));

    const COLORREF colors[] = {RGB(236, 176, 48), RGB(90, 170, 90),  RGB(220, 84, 70),
                               RGB(80, 150, 220), RGB(170, 110, 200), RGB(60, 180, 180)};
    const int size = 22, gap = 7;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 5; ++col) {
            if ((row + col) % 4 == 3) continue;  // a loose grid, not a wall
            int x = width - 18 - (5 - col) * (size + gap);
            int y = 18 + row * (size + gap);
            COLORREF c = colors[(row * 5 + col) % std::size(colors)];
            Tile(dc, x, y, size, c, RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2));
        }
    }

    Text(dc, "Ornavale", 18, height - 92, 34, FW_BOLD, RGB(255, 255, 255));
    Text(dc, "Icon Manager", 21, height - 52, 15, FW_NORMAL, RGB(190, 210, 240));
    Text(dc, "Version 1.0", 21, height - 26, 11, FW_NORMAL, RGB(140, 160, 200));

    UniqueBrush border(CreateSolidBrush(RGB(120, 150, 200)));
    RECT all{0, 0, width, height};
    FrameRect(dc, &all, border.get());

    return picture.Release();
}
