// The main window's View menu and its twins in the white-area menu.
#include "mainwindow/FrmMain.h"

#include <algorithm>

#include "core/Global.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/FrmOptions.h"
#include "ui/Units.h"

namespace {

// The text labels' button height, a fixed amount of twips; more when the labels' font needs it.
constexpr int kLabelButtonHeight = 689;
constexpr int kPictureButtonPx = 24;

// Flips a check item and answers its new state.
bool Toggle(MenuModel& menus, int id) {
    const MenuItem* item = menus.Find(id);
    bool on = !(item && item->checked);
    menus.SetChecked(id, on);
    return on;
}

void SetResultView(FrmMain& form, int view) {
    form.pnlResult.SetView(view);
    form.pnlDummy.SetView(form.pnlResult.View());
}

void AddHeight(Control& control, int delta) {
    control.Move(control.Left(), control.Top(), control.Width(), control.Height() + delta);
}

// Labels on or off for one bar and its band.
void ApplyLabels(ToolBar& bar, ReBar& cool, int band, bool on) {
    if (on) {
        for (int i = 1; i <= bar.ButtonCount(); ++i) bar.Buttons(i).SetCaption(bar.Buttons(i).Tag);
        // The labels need wider buttons than the pictures alone, but a new caption does not make the
        // bar measure its buttons again; setting its (unchanged) text rows does. The fixed height
        // never cuts off what the bar measured for a picture above a line of text.
        bar.SetButtonWidth(0);
        if (bar.hwnd()) SendMessageA(bar.hwnd(), TB_SETMAXTEXTROWS, 1, 0);
        bar.SetButtonHeight(std::max(kLabelButtonHeight, bar.ButtonHeight()));
    } else {
        for (int i = 1; i <= bar.ButtonCount(); ++i) bar.Buttons(i).SetCaption("");
        bar.SetButtonHeight(kPictureButtonPx * gTwipsY);
        bar.SetButtonWidth(kPictureButtonPx * gTwipsX);
    }
    cool.SetBandMinHeight(band, bar.ButtonHeight());
}

}  // namespace

void FrmMain::procCheckViewMenu(bool large, bool list, bool details) {
    Menus().SetChecked(ID_mnuViewLargeIcons, large);
    Menus().SetChecked(ID_mnuResultClickViewLargeIcons, large);
    Menus().SetChecked(ID_mnuViewList, list);
    Menus().SetChecked(ID_mnuResultClickViewList, list);
    Menus().SetChecked(ID_mnuViewDetails, details);
    Menus().SetChecked(ID_mnuResultClickViewDetails, details);
}

void FrmMain::mnuViewLargeIcons_Click() {
    SetResultView(*this, lvwIcon);
    procCheckViewMenu(true, false, false);
}

void FrmMain::mnuViewList_Click() {
    SetResultView(*this, lvwList);
    procCheckViewMenu(false, true, false);
}

void FrmMain::mnuViewDetails_Click() {
    SetResultView(*this, lvwReport);
    procCheckViewMenu(false, false, true);
}

void FrmMain::mnuViewBackcolor_Click() {
    // Cancel leaves both lists as they are.
    std::optional<COLORREF> color = PickColor(hwnd());
    if (!color) return;
    pnlResult.SetBackColor(static_cast<uint32_t>(*color));
    pnlDummy.SetBackColor(pnlResult.BackColor());
}

void FrmMain::mnuViewArrange_Click(int index) {
    // Sorting while the page fills would hand the next entries to the wrong items.
    if (IsBusy(*this)) return;
    pnlResult.SetSortKey(index);
    pnlResult.SetSorted(true);
}

void FrmMain::mnuViewStatusBar_Click() {
    int bar = pnlStatusbar.Height();
    if (Toggle(Menus(), ID_mnuViewStatusBar)) {
        AddHeight(pnlNav, -bar);
        AddHeight(pnlResult, -bar);
        pnlStatusbar.SetVisible(true);
    } else {
        pnlStatusbar.SetVisible(false);
        AddHeight(pnlNav, bar);
        AddHeight(pnlResult, bar);
    }
    pnlDummy.Move(pnlDummy.Left(), pnlDummy.Top(), pnlDummy.Width(), pnlResult.Height());
}

void FrmMain::mnuViewToolbarStandard_Click() {
    pnlCoolBar.SetBandVisible(1, Toggle(Menus(), ID_mnuViewToolbarStandard));
}

void FrmMain::mnuViewToolbarYour_Click() { pnlCoolBar.SetBandVisible(2, Toggle(Menus(), ID_mnuViewToolbarYour)); }

void FrmMain::mnuViewToolbarKeyword_Click() {
    pnlCoolBar.SetBandVisible(3, Toggle(Menus(), ID_mnuViewToolbarKeyword));
}

void FrmMain::mnuViewToolbarTextLabels_Click() {
    bool on = Toggle(Menus(), ID_mnuViewToolbarTextLabels);
    ApplyLabels(pnlToolbar, pnlCoolBar, 1, on);
    ApplyLabels(pnlToolbarYour, pnlCoolBar, 2, on);
    procArrangeBelowCoolBar();
}

void FrmMain::mnuViewToolbarCustomize_Click() { pnlToolbar.Customize(); }

void FrmMain::mnuViewOptions_Click() { frmOptions.ShowModal(); }

void FrmMain::mnuResultClickViewLargeIcons_Click() { mnuViewLargeIcons_Click(); }
void FrmMain::mnuResultClickViewList_Click() { mnuViewList_Click(); }
void FrmMain::mnuResultClickViewDetails_Click() { mnuViewDetails_Click(); }
void FrmMain::mnuResultClickViewBackColor_Click() { mnuViewBackcolor_Click(); }
void FrmMain::mnuResultClickViewArrange_Click(int index) { mnuViewArrange_Click(index); }
