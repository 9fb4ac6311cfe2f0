// The options dialog.
#pragma once

#include "ui/Control.h"
#include "ui/Form.h"

class FrmOptions : public Form {
  public:
    FrmOptions() : Form("frmOptions") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1400,
        ID_txtFavHomeDir = kIdBase + 1,
    };

    TextBox txtFavHomeDir{*this, ID_txtFavHomeDir};

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
};

extern FrmOptions frmOptions;
