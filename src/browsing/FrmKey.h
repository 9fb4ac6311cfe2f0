// The user keyword editor.
#pragma once

#include "ui/Control.h"
#include "ui/Form.h"

class FrmKey : public Form {
  public:
    FrmKey() : Form("frmKey") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1300,
        ID_lstKey = kIdBase + 1,
    };

    // The user's own keywords; each item's data is the keyword's position in the main window's
    // keyword box. The exit save writes them to "Keyuser.dat".
    ListBox lstKey{*this, ID_lstKey};

    // Refills the list with the user keywords of the main window's keyword box.
    void FillKeywords();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void Form_Load() override;
};

extern FrmKey frmKey;
