// The result fillers of the catalogue's classes and letters and of the user's references.
#include "mainwindow/FrmMain.h"

void FrmMain::procFillBookByClass(int16_t) {}
void FrmMain::procFillReferences(int16_t) {}
void FrmMain::procFillBookByLetter(const std::string&) {}
