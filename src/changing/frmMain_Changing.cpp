// Commands of the main window that apply icons to Windows.
#include "mainwindow/FrmMain.h"

void FrmMain::mnuFileChange_Click() {}
void FrmMain::mnuToolsChangeFolder_Click() {}
void FrmMain::mnuToolsDefaultFolder_Click() {}
void FrmMain::mnuToolsRebuild_Click() {}
void FrmMain::mnuToolsRestart_Click() {}
