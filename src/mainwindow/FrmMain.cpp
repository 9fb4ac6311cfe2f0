// The main window: marked for a second start to find.
#include "mainwindow/FrmMain.h"

#include "core/Instance.h"
#include "ui/App.h"

FrmMain frmMain;

FormSpec FrmMain::Spec() const {
    FormSpec s;
    s.caption = "Ornavale";
    s.border = BorderStyle::Sizable;
    s.width = 10800;
    s.height = 7800;
    s.minButton = true;
    s.maxButton = true;
    s.showInTaskbar = true;
    return s;
}

void FrmMain::CreateControls() {
    picLogo.Create(0, 0, 3840, 2805);
    picLogo.SetVisible(false);
    pnlNav.Create(0, 0, 3000, 6900);
}

void FrmMain::Form_Load() {
    SetAppWindowProp(hwnd());
    SetScreenMousePointer(0);
}

void FrmMain::Form_Unload(bool&) {
    ReleaseInstanceMutex();
    // The program ends with its main window: every other window goes first.
    UnloadAllFormsExcept(this);
}
