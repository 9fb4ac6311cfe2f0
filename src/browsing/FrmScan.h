// The disk scan window: a folder, its sub-folders if wanted, and the file types to list.
#pragma once

#include "browsing/OpenPaths.h"
#include "ui/Control.h"
#include "ui/Form.h"

class FrmScan : public Form {
  public:
    FrmScan() : Form("frmScan") {}

    TextBox txtDir{*this, 1001};
    Button cmdStart{*this, 1002};
    Label lblDir{*this, 1003};
    Button cmdBrowse{*this, 1004};
    CheckBox chkScanSubDir{*this, 1005};
    Frame fraFilter{*this, 1006};
    CheckBox chkALL{*this, 1007};
    CheckBox chkICL{*this, 1008};
    CheckBox chkEXE{*this, 1009};
    CheckBox chkDLL{*this, 1010};
    CheckBox chkANI{*this, 1011};
    CheckBox chkCUR{*this, 1012};
    CheckBox chkICO{*this, 1013};
    Button cmdCancel{*this, 1014};

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
