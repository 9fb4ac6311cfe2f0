// The disk scan window.
#include "browsing/FrmScan.h"

FrmScan frmScan;

FormSpec FrmScan::Spec() const {
    FormSpec s;
    s.caption = "Scan";
    s.width = 6600;
    s.height = 4200;
    return s;
}

void FrmScan::CreateControls() {
    txtDir.Create("", 240, 240, 6000, 315);
    cmdStart.Create("&Start", 4920, 3000, 1215, 375);
    cmdStart.SetEnabled(false);
}
