// The options dialog.
#include "mainwindow/FrmOptions.h"

FrmOptions frmOptions;

FormSpec FrmOptions::Spec() const { return FixedDialogSpec("Options", 6480, 4920); }

void FrmOptions::CreateControls() { txtFavHomeDir.Create("", 240, 240, 6000, 315, false, true); }
