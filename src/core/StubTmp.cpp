#include "core/ErrorBox.h"
#include "core/FrmTip.h"
FrmTip frmTip;
void ShowErrorBox(int, const std::string&, const std::string&) {}
