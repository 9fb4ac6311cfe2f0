// Commands of the main window on the selected icon: copy, save, edit, play, properties, run, zoom.
#include "mainwindow/FrmMain.h"

void FrmMain::mnuFileProperties_Click() {}
void FrmMain::mnuToolsImport_Click() {}
void FrmMain::mnuToolsZoom2_Click() {}
void FrmMain::mnuToolsZoom3_Click() {}
void FrmMain::mnuToolsZoom4_Click() {}
void FrmMain::mnuToolsZoom5_Click() {}
void FrmMain::mnuToolsZoom10_Click() {}
void FrmMain::procSetHotSpot() {}
