// Save As in the Edit With command's mode.
#pragma once

// Save As writes the selected icon without its dialog to the fixed file "ORTemp.ico" in the
// temporary folder, which the Edit With command then opens; that command raises and lowers it.
extern bool gEditWithMode;
