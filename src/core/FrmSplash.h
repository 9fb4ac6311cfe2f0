// The splash window: records the program's folders, then hands over to the main window.
#pragma once

#include "ui/Control.h"
#include "ui/Form.h"

class FrmSplash : public Form {
  public:
    FrmSplash() : Form("frmSplash") {}

    PictureBox picSplash{*this, 1001};
    Timer tmrSplash{*this, 1002};

    void tmrSplash_Timer();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
};

extern FrmSplash frmSplash;
