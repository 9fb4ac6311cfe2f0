// The disk scan window: a folder, its sub-folders if wanted, and the file types to list.
#pragma once

#include "common/OpenPaths.h"
#include "ui/Control.h"
#include "ui/Form.h"

class FrmScan : public Form {
  public:
    FrmScan() : Form("frmScan") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1100,
        ID_txtDir = kIdBase + 1,
        ID_cmdStart,
        ID_lblDir,
        ID_cmdBrowse,
        ID_chkScanSubDir,
        ID_fraFilter,
        ID_chkALL,
        ID_chkICL,
        ID_chkEXE,
        ID_chkDLL,
        ID_chkANI,
        ID_chkCUR,
        ID_chkICO,
        ID_cmdCancel,
    };

    TextBox txtDir{*this, ID_txtDir};
    Button cmdStart{*this, ID_cmdStart};
    Label lblDir{*this, ID_lblDir};
    Button cmdBrowse{*this, ID_cmdBrowse};
    CheckBox chkScanSubDir{*this, ID_chkScanSubDir};
    Frame fraFilter{*this, ID_fraFilter};
    CheckBox chkALL{*this, ID_chkALL};
    CheckBox chkICL{*this, ID_chkICL};
    CheckBox chkEXE{*this, ID_chkEXE};
    CheckBox chkDLL{*this, ID_chkDLL};
    CheckBox chkANI{*this, ID_chkANI};
    CheckBox chkCUR{*this, ID_chkCUR};
    CheckBox chkICO{*this, ID_chkICO};
    Button cmdCancel{*this, ID_cmdCancel};

    // "All Libraries" greys the six type boxes, which keep their ticks.
    void chkALL_Click();
    void cmdBrowse_Click();
    void cmdCancel_Click();
    // Saves the settings, walks the folder, keeps the ticked types and lists their icons.
    void cmdStart_Click();
    // The file types the boxes choose.
    FileTypeFilter Filter() const;

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    int DefaultButtonId() const override { return cmdStart.id(); }
    int CancelButtonId() const override { return cmdCancel.id(); }
};

extern FrmScan frmScan;
