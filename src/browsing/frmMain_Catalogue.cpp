// The catalogue index and the user's keyword and reference files.
#include "mainwindow/FrmMain.h"

void FrmMain::procFillSearch() {}
