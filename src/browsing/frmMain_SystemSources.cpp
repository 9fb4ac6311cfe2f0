// Windows as a source of icons: the current cursors, cursor schemes, file types and system icons.
#include "mainwindow/FrmMain.h"

void FrmMain::procGetCurrentCursor(int32_t, const std::string&) {}
void FrmMain::procGetCurrentThemeCursor(const std::string&, const std::string&, int16_t) {}
void FrmMain::procGetFileTypes(HKEY, const std::string&) {}
void FrmMain::procGetSystemIcons() {}
