// The events of the navigation tree, the result list and the status bar: Esc in the tree, sorting
// by a column, the double-click action, the item click, the Delete key, the right-click menus and
// the page panel. While the window is busy only Esc acts, and only then.
#include "browsing/ResultActions.h"

#include "core/Global.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/Selection.h"
#include "ui/App.h"

namespace {

constexpr int kEscape = 27;
constexpr int kRightButton = 2;
constexpr int kDeleteKey = VK_DELETE;

struct ResultAction {
    std::string_view action;
    int item;
};

constexpr ResultAction kResultActions[] = {
    {"Copy", ID_mnuResultClickCopy},
    {"Save", ID_mnuResultClickSaveAs},
    {"Zoom", ID_mnuResultClickZoom},
    {"Play", ID_mnuResultClickPlay},
    {"Ref", ID_mnuResultClickAddRef},
    {"Run", ID_mnuResultClickRun},
    {"Prop", ID_mnuResultClickProperties},
    {"Change", ID_mnuResultClickChange},
    {"EditWith", ID_mnuResultClickEditWith},
};

constexpr const char* kNoActionText =
    "You have not specified a user defined double click action.\n\n"
    "Select View, Options, Double Click tab to select a double click action.";

}  // namespace

int ResultActionItem(std::string_view action) {
    for (const ResultAction& a : kResultActions)
        if (a.action == action) return a.item;
    return 0;
}

void FrmMain::pnlNav_KeyPress(int& keyAscii) {
    // Esc stops the fill that is running. A request made while nothing runs would stay and stop
    // the next listing at its first file: a favorites folder would then show the page before it.
    if (keyAscii == kEscape && IsBusy(*this)) RequestAbort(*this);
}

void FrmMain::pnlResult_ColumnClick(int column) {
    if (IsBusy(*this)) return;
    if (!pnlResult.Sorted()) pnlResult.SetSorted(true);
    pnlResult.SetSortOrder(pnlResult.SortOrder() == lvwAscending ? lvwDescending : lvwAscending);
    pnlResult.SetSortKey(column - 1);
}

void FrmMain::pnlResult_DblClick() {
    if (IsBusy(*this)) return;
    if (gDCActionNow == "None") {
        gResult = MsgBox(kNoActionText, MsgBoxStyle::Information | MsgBoxStyle::OkOnly, Caption(), hwnd());
        return;
    }
    // The command runs as its menu item would: only while the item menu offers it.
    const int item = ResultActionItem(gDCActionNow);
    if (item && Menus().CanRun(item)) OnMenuCommand(item);
}

void FrmMain::pnlResult_ItemClick(ListItem&) {
    if (IsBusy(*this)) return;
    procItemSelected();
}

void FrmMain::pnlResult_KeyUp(int keyCode, int) {
    if (IsBusy(*this) || keyCode != kDeleteKey) return;
    // An empty list has nothing to delete.
    const ListItem* selected = pnlResult.SelectedItem();
    if (!selected) return;
    const std::string origin = selected->SubItem(2);
    if (origin == "Reference") {
        mnuRefDelete_Click();
    } else if (origin == "File Favorite") {
        mnuFavoriteDel_Click();
    }
}

void FrmMain::pnlResult_MouseDown(int button, int, int x, int y) {
    if (IsBusy(*this) || button != kRightButton) return;
    // Beside the items the selection and the commands stay as they are.
    ListItem* hit = pnlResult.HitTest(x, y);
    if (!hit) {
        PopupMenu(ID_mnuWhite);
        return;
    }
    pnlResult.SetSelectedItem(hit);
    procItemSelected();
    PopupMenu(ID_mnuResultClick, kAtPointer, kAtPointer, ResultActionItem(gDCActionNow));
}

void FrmMain::pnlStatusbar_PanelClick(Panel& panel) {
    if (IsBusy(*this) || panel.Key() != "area") return;
    const std::string text = panel.Text();
    if (text.empty() || text == "Page 1 of 1") return;
    PopupMenu(ID_mnuGoBar);
}
