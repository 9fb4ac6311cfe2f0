// The keyword search and the icons of the user's files.
#include "mainwindow/FrmMain.h"

void FrmMain::procSearchOrnavale() {}
void FrmMain::procSearchOpen() {}
void FrmMain::procAddFileIcons(const std::string&) {}
void FrmMain::procSearchKeyword() {}
void FrmMain::procAddResultEntry(const std::string&, int32_t, const std::string&, const std::string&) {}
