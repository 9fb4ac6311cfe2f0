// The splash window.
#include "core/FrmSplash.h"

FrmSplash frmSplash;

FormSpec FrmSplash::Spec() const {
    FormSpec s;
    s.border = BorderStyle::None;
    s.width = 256 * 15;
    s.height = 187 * 15;
    s.topmost = true;
    return s;
}

void FrmSplash::CreateControls() {}
void FrmSplash::BindEvents() {}
void FrmSplash::Form_Load() {}
void FrmSplash::tmrSplash_Timer() {}
void FrmSplash::Form_Unload(bool&) {}
