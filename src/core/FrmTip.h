#pragma once
struct FrmTip { void Show() {} };
extern FrmTip frmTip;
