// The reference window: files the selected result icon under a keyword.
#pragma once

#include "ui/Control.h"
#include "ui/Form.h"

class FrmAdd : public Form {
  public:
    FrmAdd() : Form("frmAdd") {}

    ComboBox cmbSearch{*this, 1001};  // every keyword, catalogue and user, in the main keyword box's order

    // Refills the keyword box from the main window's keyword box.
    void FillKeywords();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void Form_Load() override;
};

extern FrmAdd frmAdd;
