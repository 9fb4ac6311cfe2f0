// The splash window: records the folders and screen metrics, then after two seconds shows the
// main window and goes.
#include "core/FrmSplash.h"

#include "core/ErrorBox.h"
#include "core/Errors.h"
#include "core/Folders.h"
#include "core/FrmTip.h"
#include "core/Global.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "core/SplashPicture.h"
#include "ui/App.h"
#include "ui/Units.h"

FrmSplash frmSplash;

namespace {
constexpr int kWidthPx = 256;
constexpr int kHeightPx = 187;

SplashHandover& Handover() {
    static SplashHandover handover;
    return handover;
}
}  // namespace

void SetSplashHandover(SplashHandover handover) { Handover() = std::move(handover); }

FormSpec FrmSplash::Spec() const {
    FormSpec s;
    s.border = BorderStyle::None;
    s.width = PxToTwipsX(kWidthPx);
    s.height = PxToTwipsY(kHeightPx);
    return s;
}

void FrmSplash::CreateControls() {
    picSplash.Create({0, 0, PxToTwipsX(kWidthPx), PxToTwipsY(kHeightPx)});
    picSplash.SetPicture(MakeSplashPicture(kWidthPx, kHeightPx));
}

void FrmSplash::BindEvents() { tmrSplash.Tick = [this] { tmrSplash_Timer(); }; }

void FrmSplash::Form_Load() {
    gCatalogName = "Ornavale";
    SetScreenMousePointer(PointerShape::Hourglass);
    // From here on each step that fails is reported and the next one runs.
    auto step = [](auto&& work) {
        try {
            work();
        } catch (const RuntimeError& e) {
            ShowErrorBox(e.number(), e.source(), e.what());
        } catch (const std::exception& e) {
            ShowErrorBox(5, "Ornavale", e.what());
        }
    };
    step([] { gPathList.clear(); });
    step([] { gAppPath = ProgramFolder(); });
    step([] { PublishProgramFolder(gAppPath); });
    step([] {
        gTwipsX = ScreenUnits().twipsX;
        gTwipsY = ScreenUnits().twipsY;
    });
    step([this] {
        int x = (GetSystemMetrics(SM_CXSCREEN) - kWidthPx) / 2;
        int y = (GetSystemMetrics(SM_CYSCREEN) - kHeightPx) / 2;
        SetWindowPos(hwnd(), HWND_TOPMOST, x, y, kWidthPx, kHeightPx, SWP_SHOWWINDOW);
        UpdateWindow(hwnd());
        DoEvents();
    });
    step([] { gWinDir = WindowsFolder(); });
    step([] { gSysDir = SystemFolder(); });
    step([] { gTempDir = TempFolder(); });
    step([this] {
        tmrSplash.SetInterval(2000);
        tmrSplash.SetTimerEnabled(true);
    });
}

void FrmSplash::tmrSplash_Timer() {
    // Each statement goes on whatever the one before did.
    auto quietly = [](auto&& work) {
        try {
            work();
        } catch (...) {
        }
    };
    quietly([this] { tmrSplash.SetTimerEnabled(false); });
    quietly([] {
        if (Handover().showMainWindow) Handover().showMainWindow();
    });
    quietly([this] { SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); });
    quietly([this] {
        if (Handover().takePicture) Handover().takePicture(picSplash.CopyPicture());
    });
    quietly([this] { Unload(); });
}

void FrmSplash::Form_Unload(bool&) {
    if (TipWanted(ReadSetting(setting::Tip))) frmTip.Show();
}
