// The main window's zoom commands and the hotspot picker that every cursor save goes through.
#include "mainwindow/FrmMain.h"

#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "core/ScopedValue.h"
#include "output/FrmZoom.h"

namespace {

constexpr const char* kHotSpotReminder =
    "Due to the compressed Icon storage format of Ornavale, a cursor's Hotspot is lost. Please set the Cursor's "
    "Hotpot again. I.e the Hotspot of a mouse pointer would be the arrow top.";

// The window reads its factor and picture only as it loads: an open one is loaded again.
void ShowZoom(int16_t factor) {
    gZoomFactor = factor;
    frmZoom.Unload();
    frmZoom.Show();
}

}  // namespace

void FrmMain::mnuToolsZoom2_Click() { ShowZoom(2); }
void FrmMain::mnuToolsZoom3_Click() { ShowZoom(3); }
void FrmMain::mnuToolsZoom4_Click() { ShowZoom(4); }
void FrmMain::mnuToolsZoom5_Click() { ShowZoom(5); }
void FrmMain::mnuToolsZoom10_Click() { ShowZoom(10); }

void FrmMain::procSetHotSpot() {
    ScopedValue hotSpotMode(gHotSpotMode, true);
    if (ReadStoredSetting(setting::NoCursorChange).Number().value_or(0) == 0)
        ShowMessage(kHotSpotReminder, "NoCursorChange", "Change Cursors", "Define Hotspot Now");
    // An open plain zoom cannot become the modal picker.
    frmZoom.Unload();
    frmZoom.ShowModal();
}
