// Rendering the current icon into the work surfaces pctColor and pctMask, which every icon and
// cursor file the program writes is made from, and the colour depth the writer is given.
#include "mainwindow/FrmMain.h"

#include "mainwindow/Selection.h"
#include "output/WorkSurfaces.h"

namespace {

constexpr int kSurface = 32;

// picSave takes the picture of `source`; a missing source leaves it empty.
void TakePicture(PictureBox& picSave, const PictureBox* source) {
    if (source) picSave.SetPictureFrom(*source);
    else picSave.SetPicture(nullptr);
}

}  // namespace

PictureBox& FrmMain::FilmElement(size_t index) {
    while (picFilm.size() <= index) picFilm.emplace_back(*this, ID_picFilm + static_cast<int>(picFilm.size()));
    return picFilm[index];
}

void FrmMain::procMask() {
    // The source into picSave, a later hit over an earlier one: change window over import window
    // over animation frame; the selected result icon only without import and film mode. With no
    // source picSave stays empty, so that no icon rendered before reaches the surfaces.
    picSave.SetPicture(nullptr);
    if (gFilmMode) {
        const int element = gLoopIndex + 1;
        TakePicture(picSave, element >= 1 && static_cast<size_t>(element) < picFilm.size()
                                 ? &picFilm[static_cast<size_t>(element)]
                                 : nullptr);
    }
    if (gImportMode) TakePicture(picSave, ImportPicture());
    if (!gImportMode && !gFilmMode) {
        ListItem* item = pnlResult.SelectedItem();
        picSave.SetIcon(item ? imlResult32.GetIcon(item->Icon()).release() : nullptr);
    }
    if (gChangeMode) TakePicture(picSave, ChangePicture());

    // The surfaces start cleared, black colours under a mask that lets everything through, so a
    // source that is no icon leaves no earlier picture behind.
    pctColor.SetPicture(nullptr);
    pctMask.SetPicture(nullptr);
    HDC color = pctColor.hDC();
    HDC mask = pctMask.hDC();
    PatBlt(color, 0, 0, kSurface, kSurface, BLACKNESS);
    PatBlt(mask, 0, 0, kSurface, kSurface, WHITENESS);
    // A monochrome source lands as black for 0 and white for 1 in both surfaces.
    SetTextColor(color, RGB(0, 0, 0));
    SetBkColor(color, RGB(255, 255, 255));
    SetTextColor(mask, RGB(0, 0, 0));
    SetBkColor(mask, RGB(255, 255, 255));

    ICONINFO info{};
    if (gMaskDC && gColorDC && picSave.Icon() && GetIconInfo(picSave.Icon(), &info)) {
        // The bitmaps are copies made for this call; each context has its own back before they go.
        UniqueBitmap iconMask(info.hbmMask);
        UniqueBitmap iconColor(info.hbmColor);
        SelectInDC maskIn(gMaskDC, iconMask.get());
        SelectInDC colorIn(gColorDC, iconColor.get());
        BitBlt(mask, 0, 0, kSurface, kSurface, gMaskDC, 0, 0, SRCCOPY);
        if (iconColor) {
            BitBlt(color, 0, 0, kSurface, kSurface, gColorDC, 0, 0, SRCCOPY);
        } else if (iconMask) {
            // A monochrome icon: its mask bitmap holds the AND mask above the XOR mask, the colours.
            BITMAP bm{};
            GetObjectA(iconMask.get(), sizeof bm, &bm);
            BitBlt(color, 0, 0, kSurface, kSurface, gMaskDC, 0, bm.bmHeight / 2, SRCCOPY);
        }
    }
    pctColor.Refresh();
    pctMask.Refresh();
}

void FrmMain::procGetBitCount() { gBitCount = BitCountForType(gPanelType ? gPanelType->Text() : std::string()); }
