// What the result page has selected and how it is drawn, shared by the main window's parts.
#pragma once

#include <string>

extern std::string gItemPath;  // long path of the selected item's file; empty for catalogue icons
extern std::string gSelDir;    // gItemPath up to and including its last "\"
extern std::string gSelFile;   // gItemPath after its last "\"
extern bool gFilmMode;
extern std::string gDCActionNow;  // what a double click on the selected item does         // the mask builder takes the frames of an animation
