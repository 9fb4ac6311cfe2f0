// The favorites menus.
#include "mainwindow/FrmMain.h"

void FrmMain::mnuFavoriteAdd_Click() {}
void FrmMain::mnuFavoriteDel_Click() {}
void FrmMain::mnuFavoriteGroupAdd_Click() {}
void FrmMain::mnuFavoriteGroupDel_Click() {}
void FrmMain::mnuFavoriteOrganize_Click() {}
void FrmMain::mnuFavoriteRefresh_Click() {}
