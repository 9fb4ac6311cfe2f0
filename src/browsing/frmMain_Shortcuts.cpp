// The icons of the user's shortcuts.
#include "mainwindow/FrmMain.h"

void FrmMain::procSearchShortcuts(const std::string&) {}
