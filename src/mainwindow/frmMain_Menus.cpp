// The main window's menus, tool bars and context menu.
#include "mainwindow/FrmMain.h"

void FrmMain::SetUpImageLists() {}
void FrmMain::CreateBars() {}
void FrmMain::DefineMenus() {}
bool FrmMain::OnMenuCommand(int) { return false; }
void FrmMain::pnlToolbar_ButtonClick(ToolButton&) {}
void FrmMain::pnlToolbar_ButtonMenuClick(ToolButton&, ButtonMenu&) {}
void FrmMain::pnlToolbar_Change() {}
void FrmMain::pnlToolbarYour_ButtonClick(ToolButton&) {}
void FrmMain::mnuResultClickCopy_Click() {}
void FrmMain::mnuResultClickSaveAs_Click() {}
void FrmMain::mnuResultClickChange_Click() {}
void FrmMain::mnuResultClickEditWith_Click() {}
void FrmMain::mnuResultClickPlay_Click() {}
void FrmMain::mnuResultClickAddRef_Click() {}
void FrmMain::mnuResultClickDelRef_Click() {}
void FrmMain::mnuResultClickAddFav_Click() {}
void FrmMain::mnuResultClickDelFav_Click() {}
void FrmMain::mnuResultClickProperties_Click() {}
void FrmMain::mnuResultClickZoom_Click() {}
void FrmMain::mnuResultClickRun_Click() {}
void FrmMain::mnuFileExit_Click() {}
void FrmMain::mnuGoHomePage_Click() {}
void FrmMain::mnuGoMail_Click() {}
void FrmMain::mnuHelpTip_Click() {}
void FrmMain::mnuHelpTopics_Click() {}
void FrmMain::mnuHelpSearch_Click() {}
void FrmMain::mnuHelpAbout_Click() {}
void FrmMain::tmrLed_Timer() {}
void FrmMain::ZoomByDefault(bool) {}
