// The disk scan window.
#pragma once

#include "ui/Control.h"
#include "ui/Form.h"

class FrmScan : public Form {
  public:
    FrmScan() : Form("frmScan") {}

    TextBox txtDir{*this, 1001};
    Button cmdStart{*this, 1002};

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
};

extern FrmScan frmScan;
