// The main window's layout, splitter and status bar.
#include "mainwindow/FrmMain.h"

void FrmMain::CreatePanes() {}
void FrmMain::Form_Resize() {}
void FrmMain::picSplitV_MouseDown(int, int, float, float) {}
void FrmMain::picSplitV_MouseMove(int, int, float, float) {}
void FrmMain::picSplitV_MouseUp(int, int, float, float) {}
void FrmMain::procArrangeBelowCoolBar() {}
void FrmMain::pnlCoolBar_HeightChanged() {}
