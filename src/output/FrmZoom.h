// The zoom window: one 32 x 32 icon enlarged by a whole factor, modeless for a look (a double-click
// copies the enlarged picture), or modal at 10:1 as the hotspot picker of a cursor being written.
#pragma once

#include <cstdint>

#include "ui/Control.h"
#include "ui/Form.h"

extern int16_t gZoomFactor;  // 2, 3, 4, 5 or 10; the zoom commands set it before they open the window

class FrmZoom : public Form {
  public:
    FrmZoom() : Form("frmZoom") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 2300,
        ID_picZoom = kIdBase + 1,
    };

    PictureBox picZoom{*this, ID_picZoom};

    void picZoom_DblClick();
    // x and y in twips in the picture.
    void picZoom_MouseUp(int button, int shift, float x, float y);

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(HDC dc) override;

  private:
    bool picked_ = false;  // the picker has its click and is closing
};

extern FrmZoom frmZoom;

// The source pixel under a click on the picture (x or y in twips) at a factor: the pixel the
// click falls in, rounded down, kept inside the 32 pixels of the picture.
int32_t HotSpotPixel(float twips, int factor, int twipsPerPixel);
