// The options dialog.
#include "mainwindow/FrmOptions.h"

FrmOptions frmOptions;

FormSpec FrmOptions::Spec() const {
    FormSpec s;
    s.caption = "Options";
    s.width = 6600;
    s.height = 5400;
    return s;
}

void FrmOptions::CreateControls() { txtFavHomeDir.Create("", 240, 240, 6000, 315, false, true); }
