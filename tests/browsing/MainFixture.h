// The loaded main window for the open, scan and favorites tests, with every box and dialog
// answered by the test and what they showed kept for the checks.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "BoxRecorder.h"
#include "TestSupport.h"
#include "browsing/FrmScan.h"
#include "core/FolderWalk.h"
#include "core/ScopedValue.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/MainShared.h"
#include "ui/App.h"

class MainFixture : public testing::Test {
  protected:
    BoxRecorder recorder;
    static inline std::vector<ShownBox>& boxes = BoxRecorder::boxes;
    static inline std::deque<int>& boxAnswers = BoxRecorder::answers;  // IDOK when none is left

    void SetUp() override {
        static bool started = (InitApp(GetModuleHandleA(nullptr)), gEndWhenNoForms = false, true);
        (void)started;
        PresetQuietStart();
        frmMain.Load();
        gAbort = gScanSubDirs = gFavoritesMode = false;
    }
    void TearDown() override {
        gDoEventsHook = nullptr;
        frmMain.cmbResult.Clear();
        frmMain.lstFiles.Clear();
        UnloadAllFormsExcept(nullptr);
    }

    static std::string Panel(const char* key) { return frmMain.pnlStatusbar.FindPanel(key)->Text(); }
    static bool MenuEnabled(int id) { return frmMain.Menus().Find(id)->enabled; }
    // lstFiles as paths below root (the root itself cut off); paths elsewhere stay whole.
    static std::set<std::string> Listed(const std::string& root) {
        std::set<std::string> s;
        for (int i = 0; i < frmMain.lstFiles.ListCount(); ++i) {
            std::string p = frmMain.lstFiles.List(i);
            s.insert(p.compare(0, root.size(), root) == 0 ? p.substr(root.size()) : p);
        }
        return s;
    }
    // Open by Folder on `folder` with every type ticked, aborted once its walk has listed 20 entries.
    static void ScanAbortedDuringTheWalk(const std::string& folder) {
        frmScan.Load();
        frmScan.txtDir.SetText(folder);
        frmScan.chkALL.SetValue(1);
        const ScopedValue<unsigned long> everyEntry(gWalkEventsMs, 0);
        gDoEventsHook = [] {
            if (IsBusy(frmMain) && frmMain.lstFiles.ListCount() > 20) gAbort = true;
        };
        frmScan.cmdStart_Click();
        gDoEventsHook = nullptr;
    }

    CleanStore clean;
    TempDir dir;
};
