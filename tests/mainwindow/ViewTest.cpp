// The View menu: the view cycle with its check marks in both menus, text labels, the status bar, the
// bands, the back colour and Arrange Icons.
#include "MainWindowFixture.h"
#include "mainwindow/MainShared.h"
#include "ui/ListView.h"
#include "ui/Units.h"

TEST_F(MainWindowTest, ViewButtonCyclesAndBothMenusShowTheView) {
    auto shown = [this](int large, int list, int details) {
        return std::vector<bool>{Checked(large), Checked(list), Checked(details)};
    };
    struct Step {
        int view;
        std::vector<bool> checks;
    };
    const Step cycle[] = {{lvwList, {0, 1, 0}}, {lvwReport, {0, 0, 1}}, {lvwIcon, {1, 0, 0}}};
    Command(ID_mnuViewLargeIcons);
    for (const Step& s : cycle) {
        Click(frmMain.pnlToolbar, "view");
        EXPECT_EQ(frmMain.pnlResult.View(), s.view);
        EXPECT_EQ(frmMain.pnlDummy.View(), s.view);
        EXPECT_EQ(shown(ID_mnuViewLargeIcons, ID_mnuViewList, ID_mnuViewDetails), s.checks) << s.view;
        EXPECT_EQ(shown(ID_mnuResultClickViewLargeIcons, ID_mnuResultClickViewList, ID_mnuResultClickViewDetails),
                  s.checks);
    }
    frmMain.procCheckViewMenu(false, false, false);
    Click(frmMain.pnlToolbar, "view");
    EXPECT_EQ(shown(ID_mnuViewLargeIcons, ID_mnuViewList, ID_mnuViewDetails), (std::vector<bool>{0, 0, 0}));
}

TEST_F(MainWindowTest, TextLabelsComeBackFromTheTags) {
    ToolBar* bars[] = {&frmMain.pnlToolbar, &frmMain.pnlToolbarYour};
    // Labelled buttons are as wide as their longest label needs, also after the labels were off.
    const int labelledWidth = frmMain.pnlToolbar.ButtonWidth();
    Command(ID_mnuViewToolbarTextLabels);
    EXPECT_FALSE(Checked(ID_mnuViewToolbarTextLabels));
    for (int band : {1, 2}) {
        ToolBar& bar = *bars[band - 1];
        for (int i = 1; i <= bar.ButtonCount(); ++i) EXPECT_EQ(bar.Buttons(i).Caption(), "");
        EXPECT_EQ(frmMain.pnlCoolBar.BandMinHeight(band), bar.ButtonHeight());
    }
    Command(ID_mnuViewToolbarTextLabels);
    EXPECT_TRUE(Checked(ID_mnuViewToolbarTextLabels));
    EXPECT_EQ(frmMain.pnlToolbar.Buttons("view").Caption(), "Views");
    EXPECT_EQ(frmMain.pnlToolbar.ButtonWidth(), labelledWidth);
    for (int band : {1, 2}) {
        ToolBar& bar = *bars[band - 1];
        for (int i = 1; i <= bar.ButtonCount(); ++i) EXPECT_EQ(bar.Buttons(i).Caption(), bar.Buttons(i).Tag);
        EXPECT_EQ(bar.ButtonHeight(), PxToTwipsY(TwipsToPxY(689)));
        EXPECT_EQ(frmMain.pnlCoolBar.BandMinHeight(band), bar.ButtonHeight());
    }
}

TEST_F(MainWindowTest, StatusBarAndBandsShowAndHide) {
    int bar = frmMain.pnlStatusbar.Height();
    ASSERT_GT(bar, 0);
    int nav = frmMain.pnlNav.Height(), result = frmMain.pnlResult.Height();
    Command(ID_mnuViewStatusBar);
    EXPECT_FALSE(Checked(ID_mnuViewStatusBar));
    EXPECT_FALSE(IsWindowVisible(frmMain.pnlStatusbar.hwnd()));
    EXPECT_EQ(frmMain.pnlNav.Height(), nav + bar);
    EXPECT_EQ(frmMain.pnlDummy.Height(), result + bar);
    Command(ID_mnuViewStatusBar);
    EXPECT_TRUE(Checked(ID_mnuViewStatusBar));
    EXPECT_EQ(frmMain.pnlNav.Height(), nav);
    EXPECT_EQ(frmMain.pnlResult.Height(), result);

    int band = 1;
    for (int id : {ID_mnuViewToolbarStandard, ID_mnuViewToolbarYour, ID_mnuViewToolbarKeyword}) {
        Command(id);
        EXPECT_FALSE(frmMain.pnlCoolBar.BandVisible(band) || Checked(id)) << band;
        Command(id);
        EXPECT_TRUE(frmMain.pnlCoolBar.BandVisible(band++) && Checked(id));
    }
}

TEST_F(MainWindowTest, CancelledColourDialogKeepsTheColour) {
    ColorPicker picker = gColorPicker;
    frmMain.pnlResult.SetBackColor(0x00FF00);
    gColorPicker = [](CHOOSECOLORA& c) {
        c.rgbResult = RGB(1, 2, 3);  // what a cancelled dialog leaves here counts for nothing
        return false;
    };
    Command(ID_mnuViewBackcolor);
    EXPECT_EQ(frmMain.pnlResult.BackColor(), 0x00FF00u);
    gColorPicker = [](CHOOSECOLORA& c) {
        c.rgbResult = RGB(10, 20, 30);
        return true;
    };
    Command(ID_mnuResultClickViewBackColor);
    EXPECT_EQ(frmMain.pnlResult.BackColor(), RGB(10, 20, 30));
    EXPECT_EQ(frmMain.pnlDummy.BackColor(), RGB(10, 20, 30));
    gColorPicker = picker;
}

TEST_F(MainWindowTest, ArrangeSortsTheShownPageButNotWhileItFills) {
    ListView& list = frmMain.pnlResult;
    list.Clear();
    for (std::string name : {"b", "c", "a"}) {
        ListItem& item = list.Add(-1, "", name);
        item.SetSubItem(1, name == "a" ? "Z" : "Y");
        item.Tag = "entry " + name;
    }
    SetBusy(true);
    frmMain.mnuResultClickViewArrange_Click(0);
    EXPECT_FALSE(list.Sorted());
    EXPECT_EQ(list.Item(1).Text(), "b");
    SetBusy(false);
    Command(ID_mnuViewArrange_First);
    EXPECT_EQ(list.Item(1).Text(), "a");
    Command(ID_mnuResultClickViewArrange_First + 1);  // by type
    EXPECT_EQ(list.Item(3).Text(), "a");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(list.Item(i).Tag, "entry " + list.Item(i).Text());
    list.Clear();
}
