// The zoom window and its use as the hotspot picker.
#include "output/FrmZoom.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "output/WorkSurfaces.h"
#include "resources/resource.h"
#include "ui/App.h"
#include "ui/Unique.h"
#include "ui/Units.h"

FrmZoom frmZoom;
int16_t gZoomFactor = 10;

namespace {

constexpr int kIconSize = 32;
constexpr int kMargin = 13;       // pixels from the client area's left and top edges to the picture
constexpr int kExtraWidth = 32;   // pixels the window is wider than the picture
constexpr int kExtraHeight = 55;  // pixels the window is higher than the picture
constexpr int kPickerFactor = 10;
constexpr COLORREF kResultMaskColor = RGB(0x80, 0x40, 0x40);
// The picker unloads once the click that picked has left the picture's window procedure.
constexpr UINT kPickedMessage = WM_APP + 1;

// The design size, at 10:1, from which a window without a stored place is centred.
constexpr int kDesignWidth = (kExtraWidth + kIconSize * kPickerFactor) * 15;
constexpr int kDesignHeight = (kExtraHeight + kIconSize * kPickerFactor) * 15;

// The picture to enlarge: the change window's new icon while it applies, the import window's
// preview while it saves, else the selected result icon. Paints nothing when there is none.
void PaintSource(PictureBox& target, int width, int height) {
    const PictureBox* lent = gChangeApplying ? ChangePicture() : gImportMode ? ImportPicture() : nullptr;
    if (gChangeApplying || gImportMode) {
        if (!lent) return;
        if (lent->Icon()) target.PaintPicture(lent->Icon(), 0, 0, width, height);
        else target.PaintPicture(lent->Picture(), 0, 0, width, height);
        return;
    }
    ListItem* item = frmMain.pnlResult.SelectedItem();
    if (!item) return;
    UniqueIcon icon = frmMain.imlResult32.GetIcon(item->Icon());
    target.PaintPicture(icon.get(), 0, 0, width, height);
}

}  // namespace

int32_t HotSpotPixel(float twips, int factor, int twipsPerPixel) {
    const double pixel = std::floor(static_cast<double>(twips) / (factor * twipsPerPixel));
    return static_cast<int32_t>(std::clamp(pixel, 0.0, static_cast<double>(kIconSize - 1)));
}

FormSpec FrmZoom::Spec() const {
    // The window as designed; loading fits it to the picture.
    return FixedDialogSpec("Zoom", kDesignWidth - kFrameRoomWidth, kDesignHeight - kFrameRoomHeight);
}

void FrmZoom::CreateControls() {
    picZoom.Create({kMargin * 15, kMargin * 15, kIconSize * 15, kIconSize * 15});
}

void FrmZoom::BindEvents() {
    picZoom.DblClick = [this] { picZoom_DblClick(); };
    picZoom.MouseUp = [this](int button, int shift, float x, float y) { picZoom_MouseUp(button, shift, x, y); };
}

void FrmZoom::Form_Load() {
    SetScreenMousePointer(PointerShape::Default);
    picked_ = false;
    // The list's own colour, the system's window colour when it has none: the picture's clear
    // pixels show what they show in the list.
    picZoom.SetBackColor(frmMain.pnlResult.ShownBackColor());
    if (gHotSpotMode) {
        gZoomFactor = kPickerFactor;
        gHotSpotX = 16;
        gHotSpotY = 16;
        SetCaption("Set the Cursor's Hotspot");
        // Shared with the module: never destroyed.
        picZoom.SetMouseIcon(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HOTSPOT)));
        picZoom.SetMousePointer(PointerShape::Custom);
    } else {
        SetCaption("Zoom " + std::to_string(gZoomFactor) + ":1");
        frmMain.imlResult32.SetMaskColor(kResultMaskColor);
        picZoom.SetMousePointer(PointerShape::Default);
    }

    const int factor = gZoomFactor;
    const int width = gTwipsX * kIconSize * factor;
    const int height = gTwipsY * kIconSize * factor;
    picZoom.Move(gTwipsX * kMargin, gTwipsY * kMargin, width, height);
    // The window's members outlive an unload: the picture starts again from the back colour.
    picZoom.SetPicture(nullptr);
    picZoom.Cls();
    PaintSource(picZoom, TwipsToPxX(width), TwipsToPxY(height));
    picZoom.Refresh();

    // A window without a stored place is centred by its size before it fits the picture.
    MoveToStoredPosition(*this, windowpos::Zoom);
    Move(Left(), Top(), gTwipsX * kExtraWidth + width, gTwipsY * kExtraHeight + height);
}

void FrmZoom::Form_Unload(bool& /*cancel*/) {
    SaveWindowPosition(*this, windowpos::Zoom);
}

void FrmZoom::OnPaint(HDC dc) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const auto back = picZoom.BackColor();
    UniqueBrush brush(CreateSolidBrush(back ? ToColorRef(*back) : GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &client, brush.get());
}

std::optional<LRESULT> FrmZoom::OnMessage(UINT msg, WPARAM, LPARAM) {
    if (msg != kPickedMessage) return std::nullopt;
    Unload();
    return 0;
}

void FrmZoom::picZoom_MouseUp(int /*button*/, int /*shift*/, float x, float y) {
    // In the plain zoom a click does nothing, so that a double-click reaches the copy.
    if (!gHotSpotMode || picked_) return;
    picked_ = true;
    gHotSpotX = HotSpotPixel(x, gZoomFactor, gTwipsX);
    gHotSpotY = HotSpotPixel(y, gZoomFactor, gTwipsY);
    PostMessageA(hwnd(), kPickedMessage, 0, 0);
}

void FrmZoom::picZoom_DblClick() {
    HDC image = picZoom.hDC();
    BITMAP bm{};
    if (!image || !GetObjectA(picZoom.Image(), sizeof bm, &bm)) return;
    MemoryBitmap copy(bm.bmWidth, bm.bmHeight);
    if (!copy) return;
    BitBlt(copy.dc(), 0, 0, bm.bmWidth, bm.bmHeight, image, 0, 0, SRCCOPY);
    UniqueBitmap picture(copy.Release());
    if (!OpenClipboard(hwnd())) return;
    EmptyClipboard();
    // The clipboard owns the bitmap once it took it.
    if (SetClipboardData(CF_BITMAP, picture.get())) picture.release();
    CloseClipboard();
}
