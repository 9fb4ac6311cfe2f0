// Busy mode and the clearing of the result page.
#include "mainwindow/FrmMain.h"

void FrmMain::procSetAbort(bool) {}
void FrmMain::procClearResult() {}
