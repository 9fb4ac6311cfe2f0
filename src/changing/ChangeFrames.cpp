#include "changing/ChangeFrames.h"

#include "mainwindow/FrmMain.h"

int32_t procCollectAniFrames(const std::string& source, const std::string& separator, int16_t step, int16_t skip) {
    return frmMain.CollectAniFrames(source, separator, step, skip, false, false);
}
