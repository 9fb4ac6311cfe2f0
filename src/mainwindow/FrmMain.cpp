// The main window: its design, its start-up and its unload.
#include "mainwindow/FrmMain.h"

#include "core/Instance.h"
#include "ui/App.h"
#include "ui/Units.h"

FrmMain frmMain;

Panel* gPanelMessage = nullptr;
Panel* gPanelCount = nullptr;
Panel* gPanelArea = nullptr;
Panel* gPanelType = nullptr;

FrmMain::FrmMain() : Form("frmMain") {}

FormSpec FrmMain::Spec() const {
    FormSpec s;
    s.caption = "Ornavale";
    s.border = BorderStyle::Sizable;
    s.width = 11400;
    s.height = 8100;
    s.minButton = true;
    s.maxButton = true;
    s.showInTaskbar = true;
    return s;
}

void FrmMain::CreateControls() {
    DefineMenus();
    CreateBars();
    CreatePanes();
    for (PictureBox* p : {&picOpen, &picSave, &pctColor, &pctMask, &picLogo, &picNoIcon}) {
        p->Create(0, 0, 480, 480);
        p->SetVisible(false);
    }
}

void FrmMain::BindEvents() {}

void FrmMain::Form_Load() {
    SetAppWindowProp(hwnd());
    SetScreenMousePointer(0);
}

void FrmMain::Form_Unload(bool&) {
    ReleaseInstanceMutex();
    // The program ends with its main window: every other window goes first.
    UnloadAllFormsExcept(this);
}
