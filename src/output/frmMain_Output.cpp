// Commands of the main window on the selected icon: copy, save, edit, play, properties, run, zoom.
#include "mainwindow/FrmMain.h"

void FrmMain::mnuToolsImport_Click() {}
