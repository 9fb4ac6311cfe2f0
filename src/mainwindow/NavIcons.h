// The navigation pictures as icons for the status bar's panels.
#pragma once

#include <string>

#include "ui/Win.h"

// The picture of frmMain.imlNav with this key as an icon, made once per key and kept for the run,
// since a panel does not own its picture. Throws KeyError when imlNav has no such key.
HICON NavIcon(const std::string& key);
