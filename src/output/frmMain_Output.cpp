// Commands of the main window on the selected icon: copy, save, edit, play, properties, run, zoom.
#include "mainwindow/FrmMain.h"

void FrmMain::mnuEditCopy_Click() {}
void FrmMain::mnuFileEditWith_Click() {}
void FrmMain::mnuFileRun_Click() {}
void FrmMain::mnuToolsImport_Click() {}
