// Opening the user's icon files and folders.
#include "mainwindow/FrmMain.h"

void FrmMain::mnuFileOpen_Click() {}
void FrmMain::mnuFileOpenDir_Click() {}
void FrmMain::procOpenPathList(int) {}
