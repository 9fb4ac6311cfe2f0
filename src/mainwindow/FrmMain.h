// The main window.
#pragma once

#include "ui/Control.h"
#include "ui/Form.h"

class FrmMain : public Form {
  public:
    FrmMain() : Form("frmMain") {}

    PictureBox picLogo{*this, 1001};

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
};

extern FrmMain frmMain;
