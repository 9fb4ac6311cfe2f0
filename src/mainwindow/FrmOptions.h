// The options dialog.
#pragma once

#include "ui/Control.h"
#include "ui/Form.h"

class FrmOptions : public Form {
  public:
    FrmOptions() : Form("frmOptions") {}

    TextBox txtFavHomeDir{*this, 1001};

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
};

extern FrmOptions frmOptions;
