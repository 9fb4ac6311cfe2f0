// The catalogue's library pictures.
#include "mainwindow/FrmMain.h"

void FrmMain::procExtractLibrary(const std::string&) {}
