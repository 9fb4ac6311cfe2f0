// Drag and drop in the main window: a result icon dragged onto a favorites folder of the tree is
// copied there (moved with Shift, for a favorite), and files dragged in from the shell over the
// result list.
#include "mainwindow/FrmMain.h"

#include <utility>

#include "browsing/Favorites.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/Selection.h"

namespace {

constexpr const char* kFavoriteOrigin = "File Favorite";

bool IsFavoritesKey(const std::string& key) { return key.compare(0, 6, "favori") == 0; }

// The origin column of the selected result item; "" when none is selected.
std::string SelectedOrigin(ListView& list) {
    const ListItem* item = list.SelectedItem();
    return item ? item->SubItem(2) : std::string();
}

}  // namespace

void FrmMain::pnlNav_OLEDragOver(DragData& data, int& effect, int /*button*/, int shift, POINT screen, int state) {
    if (IsBusy(*this)) {
        effect = vbDropEffectNone;
        return;
    }
    const ListItem* item = pnlResult.SelectedItem();
    Node* node = state == vbLeave ? nullptr : pnlNav.HitTestScreen(screen);
    // Only the selected result icon, dragged from the list, is taken.
    if (!node || !item || !data.GetFormat(vbCFText) || data.GetText() != item->Text()) {
        pnlNav.SetDropHighlight(nullptr);
        effect = vbDropEffectNone;
        return;
    }
    pnlNav.SetDropHighlight(node);
    if (!IsFavoritesKey(node->key)) {
        effect = vbDropEffectNone;
        return;
    }
    pnlNav.SetSelectedItem(node->key);
    if (!node->expanded) pnlNav.SetExpanded(node->key, true);
    if (item->SubItem(2) != kFavoriteOrigin) {
        effect &= vbDropEffectCopy;
    } else if (shift == 1) {
        effect &= vbDropEffectMove;
    }
}

void FrmMain::pnlNav_OLEDragDrop(DragData& /*data*/, int& /*effect*/, int /*button*/, int shift, POINT /*screen*/) {
    if (IsBusy(*this)) return;
    const Node* target = pnlNav.SelectedItem();
    if (target && IsFavoritesKey(target->key)) {
        const bool move = SelectedOrigin(pnlResult) == kFavoriteOrigin && shift == 1;
        const std::string source = gSelDir + gSelFile;
        gAddByDragFile.clear();
        gAddByDrag = true;
        mnuFavoriteAdd_Click();
        gAddByDrag = false;
        // A move deletes the favorite only once its copy is written to another file, so a drop on
        // its own folder, a refused name or a failed save keeps it.
        const std::string saved = std::exchange(gAddByDragFile, std::string());
        if (move && MovedFavoriteMayGo(saved, source)) mnuFavoriteDel_Click();
    }
    pnlNav.SetDropHighlight(nullptr);
}

void FrmMain::pnlResult_OLEDragOver(DragData& data, int& effect, int /*button*/, int /*shift*/, POINT screen,
                                    int /*state*/) {
    if (IsBusy(*this) || !data.GetFormat(vbCFFiles)) {
        effect = vbDropEffectNone;
        return;
    }
    effect &= vbDropEffectCopy;
    pnlResult.SetSelectedItem(pnlResult.HitTestScreen(screen));
}
