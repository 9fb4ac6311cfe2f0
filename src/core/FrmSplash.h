// The splash window: records the program's folders, then hands over to the main window.
#pragma once

#include "ui/Control.h"
#include "ui/Form.h"

class FrmSplash : public Form {
  public:
    FrmSplash() : Form("frmSplash") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1700,
        ID_picSplash = kIdBase + 1,
        ID_tmrSplash,
    };

    PictureBox picSplash{*this, ID_picSplash};
    Timer tmrSplash{*this, ID_tmrSplash};

    void tmrSplash_Timer();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
};

extern FrmSplash frmSplash;
