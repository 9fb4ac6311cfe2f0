// The main window.
#pragma once

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/HiddenList.h"
#include "ui/TreeView.h"

class FrmMain : public Form {
  public:
    FrmMain() : Form("frmMain") {}

    PictureBox picLogo{*this, 1001};
    TreeView pnlNav{*this, 1002};

    // Full paths to list, filled by the folder walker and the open commands.
    HiddenList lstFiles;

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
};

extern FrmMain frmMain;
