// The hooks the program's windows register with core.
#include "program/CoreHooks.h"

#include <string>
#include <vector>

#include "browsing/Favorites.h"
#include "browsing/FrmAdd.h"
#include "browsing/FrmKey.h"
#include "browsing/FrmScan.h"
#include "common/Paging.h"
#include "changing/FrmChange.h"
#include "core/ErrorBox.h"
#include "core/FolderWalk.h"
#include "core/FrmInfo.h"
#include "core/FrmMessage.h"
#include "core/FrmSplash.h"
#include "core/FrmTip.h"
#include "core/Global.h"
#include "core/IconCache.h"
#include "core/SaveOnExit.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/FrmOptions.h"
#include "program/MainCommands.h"
#include "mainwindow/Options.h"
#include "output/FrmImport.h"
#include "output/FrmZoom.h"
#include "output/FrmProp.h"
#include "output/FrmAni.h"
#include "ui/App.h"

namespace {

// The picker serves the scan window, the options' favorites field or the folder icon commands; the
// walk lists into frmMain.lstFiles and adds the favorites folders to the tree.
class WindowsOfTheWalk final : public FolderWalkVisitor {
  public:
    HWND PickerOwner(PickerMode mode) override {
        switch (mode) {
            case PickerMode::Favorites: return frmOptions.hwnd();
            case PickerMode::FolderIcon: return frmMain.hwnd();
            case PickerMode::Scan: break;
        }
        return frmScan.hwnd();
    }
    void FolderChosen(PickerMode mode, const std::string& folder) override {
        if (mode == PickerMode::Favorites) {
            frmOptions.txtFavHomeDir.SetText(folder);
        } else if (mode == PickerMode::Scan) {
            frmScan.txtDir.SetText(folder);
            frmScan.cmdStart.SetEnabled(true);
        }
    }
    void EntryListed(const std::string& path) override { frmMain.lstFiles.AddItem(path); }
    void FavoritesFolder(const FavoritesNodeKeys& keys, const std::string& name) override {
        try {
            frmMain.pnlNav.Add(keys.parent, tvwChild, keys.key, name, "bookfav", "openbook");
            frmMain.pnlNav.SetSorted(keys.key, true);
        } catch (const KeyError&) {
            // A folder the tree already shows, or one outside the favorites branch.
        }
    }
};
WindowsOfTheWalk gWindowsOfTheWalk;

const char* TrueFalse(bool b) { return b ? "True" : "False"; }

void SaveSettings(FrmMain& m) {
    const MenuItem* labels = m.Menus().Find(ID_mnuViewToolbarTextLabels);
    const MenuItem* status = m.Menus().Find(ID_mnuViewStatusBar);
    ReBar& bar = m.pnlCoolBar;
    const int bands = bar.BandCount();
    auto bandVisible = [&](int b) { return b <= bands && bar.BandVisible(b); };

    WriteSetting(setting::ViewType, m.pnlResult.View());
    WriteSetting(setting::TextLabel, TrueFalse(labels && labels->checked));
    WriteSetting(setting::Statusbar, TrueFalse(status && status->checked));
    WriteSetting(setting::Toolbar, TrueFalse(bandVisible(1)));
    WriteSetting(setting::YourToolbar, TrueFalse(bandVisible(2)));
    if (bandVisible(2)) {
        WriteSetting(setting::YourPos, TrueFalse(bar.BandNewRow(2)));
        if (!bar.BandNewRow(2)) WriteSetting(setting::StandardToolbarWidth, bar.BandWidth(1));
    }
    WriteSetting(setting::Keywordbar, TrueFalse(bandVisible(3)));
    if (bandVisible(3)) {
        WriteSetting(setting::KeywordPos, TrueFalse(bar.BandNewRow(3)));
        if (!bar.BandNewRow(3)) WriteSetting(setting::YourToolbarWidth, bar.BandWidth(2));
    }
    if (auto color = m.pnlResult.BackColor()) WriteSetting(setting::BackColor, static_cast<int32_t>(*color));
    WriteSetting(setting::IconsPerPage, gIconsPerPage);
    WriteSetting(setting::HotTracking, TrueFalse(m.pnlResult.HotTracking()));
    WriteSetting(setting::SingleSel, "True");
    if (bands >= 2) WriteSetting(setting::KeywordbarPos, TrueFalse(bar.BandNewRow(2)));
    const SettingDef* widths[] = {&setting::Colwidth1, &setting::Colwidth2, &setting::Colwidth3};
    for (int n = 1; n <= 3 && n <= m.pnlResult.ColumnCount(); ++n) WriteSetting(*widths[n - 1], m.pnlResult.ColumnWidth(n));
}

void SavePositions(FrmMain& m) {
    WriteSetting(setting::Splitter, m.pnlNav.Width());
    if (!m.IsLoaded()) return;
    const FormWindowState state = m.WindowState();
    if (state == FormWindowState::Minimized) return;
    WriteSetting(setting::MainState, static_cast<int32_t>(state));
    if (state == FormWindowState::Normal) {
        WriteSetting(setting::MainTop, m.Top());
        WriteSetting(setting::MainLeft, m.Left());
        WriteSetting(setting::MainWidth, m.Width());
        WriteSetting(setting::MainHeight, m.Height());
    }
}

// The icon cache still to be rebuilt when the save for the end of the session ran.
bool gCacheDirtyAtSessionSave = false;

// Changed system icons show only once the shell's icon cache is rebuilt; a shutdown asks nothing.
void OfferIconCacheRebuild() {
    gCacheDirtyAtSessionSave = gCacheDirty && CurrentExitReason() == ExitReason::SessionEnd;
    if (gCacheDirty && CurrentExitReason() == ExitReason::User) {
        gResult = MsgBox(
            "You have changed System Icons but did not Rebuild the Windows Icon Cache.\r"
            "Rebuilding the Icon Cache must be performed in order to show the new System Icons.\r"
            "\r"
            "Do you want to Rebuild the Windows Icon Cache Now?",
            MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation, "Rebuild Windows Icon Cache", frmMain.hwnd());
        if (gResult == MsgBoxResult::Yes) RebuildIconCache();
    }
    gCacheDirty = false;
}

// The main window's part of the exit: the icon cache, the view settings and the windows' places,
// then the user keywords and references.
void SaveMainWindow() {
    // A later start's command line would open into a closing window.
    frmMain.EndHandOver();
    OfferIconCacheRebuild();
    SaveSettings(frmMain);
    SavePositions(frmMain);
    SaveWindowPosition(frmKey, windowpos::Key);
    SaveWindowPosition(frmAdd, windowpos::Add);

    // From here on a failure is passed over and the next step runs.
    // The keyword editor's list holds the user keywords only once it has been made; only it
    // changes them.
    if (gKeysChanged && frmKey.IsLoaded()) {
        frmKey.lstKey.SetEnabled(false);
        std::vector<std::string> lines;
        for (int i = 0; i < frmKey.lstKey.ListCount(); ++i) lines.push_back(frmKey.lstKey.List(i));
        DoEvents();
        if (RewriteUserFile(gAppPath + "Keyuser.dat", gAppPath + "Keyuser.bak", lines)) gKeysChanged = false;
        else ShowError(75, "Ornavale", "The user keywords could not be saved to " + gAppPath + "Keyuser.dat.");
    }
    if (gRefsChanged) {
        std::vector<std::string> lines;
        for (int i = 0; i < frmMain.lstUser.ListCount(); ++i)
            lines.push_back(frmMain.lstUser.List(i) + ";" + frmMain.cmbUser.List(i));
        DoEvents();
        if (RewriteUserFile(gAppPath + "Iconuser.dat", gAppPath + "Iconuser.bak", lines)) gRefsChanged = false;
        else ShowError(75, "Ornavale", "The user references could not be saved to " + gAppPath + "Iconuser.dat.");
    }
}

// The session goes on after the save for its end: the main window takes later starts' command
// lines again, the keyword editor's list is usable and the icon cache is still to be rebuilt.
void ResumeMainWindow() {
    frmMain.ResumeHandOver();
    if (frmKey.IsLoaded()) frmKey.lstKey.SetEnabled(true);
    gCacheDirty = gCacheDirty || gCacheDirtyAtSessionSave;
    gCacheDirtyAtSessionSave = false;
}

}  // namespace

void RegisterCoreHooks() {
    SetFolderWalkVisitor(&gWindowsOfTheWalk);

    // Unloading the splash may show the tip window, so the tip window unloads after it.
    for (Form* form : std::initializer_list<Form*>{&frmAdd, &frmInfo, &frmKey, &frmMessage, &frmOptions, &frmScan, &frmSplash,
                                                   &frmTip, &frmZoom, &frmProp, &frmAni, &frmChange, &frmImport})
        RegisterExitStep(*form);
    RegisterExitStep(frmMain, &SaveMainWindow, &ResumeMainWindow);
    // Every window hears of the end of the session; the first to hear acts for all of them.
    gSessionEndHook = [](SessionEvent event) {
        switch (event) {
            case SessionEvent::Query: SaveForSessionEnd(); break;
            case SessionEvent::End: SaveSettingsAndUnload(ExitReason::SessionEnd); break;
            case SessionEvent::Cancelled: ResumeAfterSessionSave(); break;
        }
    };

    SetInfoLaunchers({[](const std::string& address) {
                          return static_cast<int32_t>(reinterpret_cast<INT_PTR>(
                              gShellOpen(nullptr, nullptr, address.c_str(), nullptr, "c:\\", 1)));
                      },
                      [](const std::string& commandLine) { return static_cast<int32_t>(gStartProgram(commandLine)); },
                      [] { return frmMain.picLogo.CopyPicture(); }});
    SetSplashHandover({[] { frmMain.Show(); }, [](HBITMAP picture) { frmMain.picLogo.SetPicture(picture); }});
}
