// The navigation tree's clicks: which source a node lists.
#include "mainwindow/FrmMain.h"

void FrmMain::pnlNav_NodeClick(Node&) {}
