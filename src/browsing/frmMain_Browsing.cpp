// Commands of the main window that list icons: opening, paging, favorites and references.
#include "mainwindow/FrmMain.h"

#include "ui/StatusBar.h"

void FrmMain::mnuFileOpen_Click() {}
void FrmMain::mnuFileOpenDir_Click() {}
void FrmMain::mnuGoFirstPage_Click() {}
void FrmMain::mnuGoPrevPage_Click() {}
void FrmMain::mnuGoNextPage_Click() {}
void FrmMain::mnuGoLastPage_Click() {}
void FrmMain::mnuGoToPageNr_Click(int) {}
void FrmMain::mnuGoBarToPageNr_Click(int) {}
void FrmMain::mnuFavoriteAdd_Click() {}
void FrmMain::mnuFavoriteDel_Click() {}
void FrmMain::mnuFavoriteGroupAdd_Click() {}
void FrmMain::mnuFavoriteGroupDel_Click() {}
void FrmMain::mnuFavoriteOrganize_Click() {}
void FrmMain::mnuFavoriteRefresh_Click() {}
void FrmMain::mnuRefAdd_Click() {}
void FrmMain::mnuRefDelete_Click() {}
void FrmMain::mnuRefKey_Click() {}
void FrmMain::procGetPage() {
    procClearResult();
    if (cmbResult.ListCount() == 0) {
        if (gPanelCount) gPanelCount->SetText("0 Icon(s)");
        return;
    }
}
void FrmMain::procOpenPathList(int) {}
void FrmMain::procFillSearch() {}

