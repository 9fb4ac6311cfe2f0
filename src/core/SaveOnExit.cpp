// The save on exit.
#include "core/SaveOnExit.h"

#include <cstdio>

#include "browsing/FrmAdd.h"
#include "browsing/FrmKey.h"
#include "browsing/FrmScan.h"
#include "core/ErrorBox.h"
#include "core/FrmMessage.h"
#include "core/FrmSplash.h"
#include "core/FrmTip.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/FrmOptions.h"
#include "mainwindow/Options.h"
#include "browsing/Paging.h"
#include "ui/App.h"

namespace {

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
    int state = m.WindowState();
    if (state == 1) return;
    WriteSetting(setting::MainState, state);
    if (state == 0) {
        WriteSetting(setting::MainTop, m.Top());
        WriteSetting(setting::MainLeft, m.Left());
        WriteSetting(setting::MainWidth, m.Width());
        WriteSetting(setting::MainHeight, m.Height());
    }
}

void DeleteExtractedLibraries() {
    const std::string folder = ExtractedLibraryFolder();
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "*.lib").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
}

}  // namespace

bool RewriteUserFile(const std::string& path, const std::string& backupPath, const std::vector<std::string>& lines) {
    const std::string temp = path + ".new";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    bool ok = true;
    for (const std::string& line : lines) {
        ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size() && std::fwrite("\r\n", 1, 2, f) == 2;
    }
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        DeleteFileA(temp.c_str());
        return false;
    }
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileA(backupPath.c_str());
        if (!MoveFileA(path.c_str(), backupPath.c_str())) {
            // No backup possible: the new content still replaces the old rather than adding to it.
            if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
                DeleteFileA(temp.c_str());
                return false;
            }
            return true;
        }
    }
    if (!MoveFileA(temp.c_str(), path.c_str())) {
        // Put the old file back where it was.
        MoveFileA(backupPath.c_str(), path.c_str());
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

void SaveSettingsAndUnload() {
    if (gSettingsSaved) return;
    gSettingsSaved = true;
    gCacheDirty = false;

    SaveSettings(frmMain);
    SavePositions(frmMain);

    // From here on a failure is passed over and the next step runs.
    if (gRefsChanged) {
        std::vector<std::string> lines;
        for (int i = 0; i < frmMain.lstUser.ListCount(); ++i)
            lines.push_back(frmMain.lstUser.List(i) + ";" + frmMain.cmbUser.List(i));
        DoEvents();
        if (!RewriteUserFile(gAppPath + "Iconuser.dat", gAppPath + "Iconuser.bak", lines))
            ShowError(75, "Ornavale", "The user references could not be saved to " + gAppPath + "Iconuser.dat.");
    }
    DeleteExtractedLibraries();

    for (Form* f : std::initializer_list<Form*>{&frmAdd, &frmKey, &frmMessage, &frmOptions, &frmScan, &frmSplash,
                                                           &frmTip})
        f->Unload(UnloadMode::FormCode);
    frmMain.Unload(UnloadMode::FormCode);
}
