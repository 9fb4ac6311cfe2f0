// The main window loaded for a test, with the panes it needs and message boxes recorded, not shown.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BoxRecorder.h"
#include "mainwindow/FrmMain.h"

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    bool Checked(int id) { return frmMain.Menus().Find(id)->checked; }
    // A menu item or a tool button chosen as the user does (the button's command comes through the cool bar).
    void Command(int id) { SendMessageA(frmMain.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Click(ToolBar& bar, const std::string& key);
    void SetBusy(bool busy) { frmMain.Menus().SetEnabled(ID_mnuFile, !busy); }

    BoxRecorder recorder;
    static inline std::vector<ShownBox>& boxes = BoxRecorder::boxes;
};
