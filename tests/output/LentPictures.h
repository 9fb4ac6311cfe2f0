// Stand-ins for the import and change windows, which lend their pictures to the renderer and the
// zoom window, and icons of one colour to put in them.
#pragma once

#include <vector>

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/Unique.h"

class Lender : public Form {
  public:
    Lender() : Form("frmLender") {}
    PictureBox picImport{*this, 1001};
    PictureBox picChange{*this, 1002};

  protected:
    FormSpec Spec() const override { return {}; }
    void CreateControls() override {}
};

// A size x size icon of one colour; `clear` pixels (x, y) let the background through.
inline HICON OneColourIcon(int size, COLORREF color, std::vector<POINT> clear = {}) {
    MemoryBitmap picture(size, size);
    UniqueBrush brush(CreateSolidBrush(color));
    RECT all{0, 0, size, size};
    FillRect(picture.dc(), &all, brush.get());
    MemoryBitmap maskPicture(size, size);
    FillRect(maskPicture.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    for (POINT p : clear) {
        SetPixel(picture.dc(), p.x, p.y, RGB(0, 0, 0));
        SetPixel(maskPicture.dc(), p.x, p.y, RGB(255, 255, 255));
    }
    // The mask as one bit a pixel.
    UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    UniqueMemDC dc(CreateCompatibleDC(nullptr));
    {
        SelectInDC in(dc.get(), mask.get());
        BitBlt(dc.get(), 0, 0, size, size, maskPicture.dc(), 0, 0, SRCCOPY);
    }
    UniqueBitmap colours(picture.Release());
    ICONINFO info{TRUE, 0, 0, mask.get(), colours.get()};
    return CreateIconIndirect(&info);
}
