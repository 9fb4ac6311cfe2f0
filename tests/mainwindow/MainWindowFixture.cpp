// The main window loaded for a test.
#include "MainWindowFixture.h"

#include "TestSupport.h"
#include "core/FolderWalk.h"
#include "ui/App.h"

void MainWindowTest::SetUp() {
    static bool started = (InitApp(GetModuleHandleA(nullptr)), gEndWhenNoForms = false, true);
    (void)started;
    gAbort = false;
    PresetQuietStart();
    frmMain.Load();
    // Panes the window does not make yet.
    if (!frmMain.pnlStatusbar.hwnd()) {
        frmMain.pnlNav.Create({0, 2400, 3000, 4000});
        frmMain.pnlResult.Create({3060, 2385, 7000, 4030});
        frmMain.pnlDummy.Create({3060, 2385, 7000, 4030});
        frmMain.pnlStatusbar.Create({0, 0, 0, 0});
        frmMain.pnlStatusbar.AddPanel("area");
    }
    if (!gPanelArea) gPanelArea = frmMain.pnlStatusbar.FindPanel("area");
}

void MainWindowTest::TearDown() {
    frmMain.Unload();
    gPanelArea = nullptr;
}

void MainWindowTest::Click(ToolBar& bar, const std::string& key) {
    SendMessageA(frmMain.hwnd(), WM_COMMAND, MAKEWPARAM(bar.Buttons(key).Id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(bar.hwnd()));
}
