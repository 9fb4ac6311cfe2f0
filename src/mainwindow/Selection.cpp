// Definitions of the selection's shared variables.
#include "mainwindow/Selection.h"

std::string gItemPath;
std::string gSelDir;
std::string gSelFile;
bool gFilmMode = false;
std::string gDCActionNow;
