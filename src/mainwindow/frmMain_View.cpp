// The main window's View menu.
#include "mainwindow/FrmMain.h"

void FrmMain::mnuViewToolbarStandard_Click() {}
void FrmMain::mnuViewToolbarYour_Click() {}
void FrmMain::mnuViewToolbarKeyword_Click() {}
void FrmMain::mnuViewToolbarTextLabels_Click() {}
void FrmMain::mnuViewToolbarCustomize_Click() {}
void FrmMain::mnuViewStatusBar_Click() {}
void FrmMain::mnuViewLargeIcons_Click() {}
void FrmMain::mnuViewList_Click() {}
void FrmMain::mnuViewDetails_Click() {}
void FrmMain::mnuViewBackcolor_Click() {}
void FrmMain::mnuViewArrange_Click(int) {}
void FrmMain::mnuViewOptions_Click() {}
void FrmMain::mnuResultClickViewLargeIcons_Click() {}
void FrmMain::mnuResultClickViewList_Click() {}
void FrmMain::mnuResultClickViewDetails_Click() {}
void FrmMain::mnuResultClickViewBackColor_Click() {}
void FrmMain::mnuResultClickViewArrange_Click(int) {}
void FrmMain::procCheckViewMenu(bool, bool, bool) {}
