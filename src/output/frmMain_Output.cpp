// Commands of the main window on the selected icon: copy, save, edit, play, properties, run, zoom;
// and the picture import window.
#include "mainwindow/FrmMain.h"

#include "output/FrmImport.h"

// The import window stands on its own: modeless, without an owner.
void FrmMain::mnuToolsImport_Click() { frmImport.Show(); }
