// The catalogue index, the keyword files and the library pictures.
#include "mainwindow/FrmMain.h"

void FrmMain::procFillSearch() {}
void FrmMain::procExtractLibrary(const std::string&) {}
