// The main window's panes, splitter and status bar, fitted to the window by ComputeMainLayout.
#include "mainwindow/FrmMain.h"

#include "core/Global.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/Selection.h"
#include "ui/App.h"
#include "ui/Unique.h"
#include "ui/Units.h"

namespace {

// Design geometry in twips.
constexpr int kFormWidth = 11400;
constexpr int kFormHeight = 8100;
constexpr int kPaneTop = 600;
constexpr int kPaneHeight = 6000;
constexpr int kNavWidth = 3000;
constexpr int kSplitStrip = 60;  // the 4 px of the splitter that show right of the tree
constexpr int kResultWidth = 8235;
constexpr int kStatusHeight = 330;

SIZE TextSizePx(const FrmMain& form, const std::string& text) {
    SIZE size{};
    WindowDC dc(form.hwnd());
    if (!dc) return size;
    SelectInDC font(dc.get(), form.Font());
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

int TextWidth(const FrmMain& form, const std::string& text) { return PxToTwipsX(TextSizePx(form, text).cx); }
int TextHeight(const FrmMain& form, const std::string& text) { return PxToTwipsY(TextSizePx(form, text).cy); }

PaneRect RectOf(const Control& c) { return {c.Left(), c.Top(), c.Width(), c.Height()}; }

void Place(Control& c, const PaneRect& r) {
    if (RectOf(c) != r) c.Move(r.left, r.top, r.width, r.height);
}

// The form's outer size as the window has it now, maximised or not.
MainLayoutInput InputFor(FrmMain& form, LayoutEvent event) {
    MainLayoutInput in;
    in.event = event;
    RECT r{};
    GetWindowRect(form.hwnd(), &r);
    in.windowWidth = PxToTwipsX(r.right - r.left);
    in.windowHeight = PxToTwipsY(r.bottom - r.top);
    in.twipsX = gTwipsX;
    in.twipsY = gTwipsY;
    const MenuItem* statusBar = form.Menus().Find(ID_mnuViewStatusBar);
    in.statusBarShown = statusBar && statusBar->checked;
    in.statusBarHeight = form.pnlStatusbar.Height();
    in.textHeight = TextHeight(form, "Gg");
    in.coolBarTop = form.pnlCoolBar.Top();
    in.coolBarHeight = form.pnlCoolBar.Height();
    if (gPanelType) in.typePanelWidth = gPanelType->Width();
    if (gPanelCount) in.countPanelWidth = gPanelCount->Width();
    if (gPanelArea) in.areaPanelWidth = gPanelArea->Width();
    in.current = {RectOf(form.pnlNav), RectOf(form.picSplitV), RectOf(form.pnlResult), RectOf(form.pnlDummy),
                  gPanelMessage ? gPanelMessage->Width() : 0};
    return in;
}

void Apply(FrmMain& form, const MainLayout& l) {
    Place(form.pnlNav, l.nav);
    Place(form.picSplitV, l.split);
    Place(form.pnlResult, l.result);
    Place(form.pnlDummy, l.dummy);
    if (gPanelMessage && gPanelMessage->Width() != l.messageWidth) gPanelMessage->SetWidth(l.messageWidth);
}

}  // namespace

void FrmMain::CreatePanes() {
    // First, so that the status bar lies above the lists where their bottom edges reach it.
    pnlStatusbar.Create({0, kFormHeight - kStatusHeight, kFormWidth, kStatusHeight});
    gPanelMessage = &pnlStatusbar.AddPanel("message", {}, 1440);
    gPanelType = &pnlStatusbar.AddPanel("type", {}, 1840);
    gPanelCount = &pnlStatusbar.AddPanel("count", {}, 1440);
    gPanelArea = &pnlStatusbar.AddPanel("area", {}, 1800);
    // Takes the status bar's place while a page is drawn; hidden otherwise.
    pnlProgressBar.Create({0, kFormHeight - kStatusHeight, kFormWidth, kStatusHeight});
    pnlProgressBar.SetVisible(false);

    // Created before the splitter, so that the tree lies above it and only the strip takes the mouse.
    pnlNav.Create({0, kPaneTop, kNavWidth, kPaneHeight});
    pnlNav.SetImageList(&imlNav);
    picSplitV.Create({0, kPaneTop, kNavWidth + kSplitStrip, kPaneHeight});

    // The twin lies exactly over the list, which stands a pixel above the tree and reaches one below.
    for (ListView* list : {&pnlResult, &pnlDummy}) {
        list->Create({kNavWidth + kSplitStrip, kPaneTop - 15, kResultWidth, kPaneHeight + 30});
        list->AddColumn("Name", 2880);
        list->AddColumn("Type", 2160);
        list->AddColumn("Origin", 2880);
    }
    pnlDummy.SetVisible(false);
}

void FrmMain::Form_Resize() {
    // WM_SIZE comes once before the panes exist. A minimised window keeps its panes for its restore:
    // its small size would move the splitter.
    if (!pnlNav.hwnd() || IsIconic(hwnd())) return;
    Apply(*this, ComputeMainLayout(InputFor(*this, LayoutEvent::Resize)));

    ListItem* selected = pnlResult.SelectedItem();
    // With nothing selected the origin is unknown: the panel keeps its text.
    if (gPanelMessage && selected && selected->SubItem(2) != "Ornavale" && !gPanelMessage->Text().empty()) {
        PathWidths widths{gPanelMessage->Width(), TextWidth(*this, "ww"), TextWidth(*this, gItemPath),
                          TextWidth(*this, gSelDir)};
        if (auto text = PanelPathText(gItemPath, gSelDir, gSelFile, widths)) gPanelMessage->SetText(*text);
    }

    int barHeight = pnlStatusbar.Height();
    pnlProgressBar.Move(0, ScaleHeight() - barHeight, ScaleWidth(), barHeight);
}

void FrmMain::picSplitV_MouseDown(int, int, float, float) { mSplitDragging = true; }

void FrmMain::picSplitV_MouseMove(int, int, float x, float) {
    picSplitV.SetMousePointer(PointerShape::SizeWE);
    if (!mSplitDragging) return;
    MainLayoutInput in = InputFor(*this, LayoutEvent::SplitterDrag);
    in.splitX = x;
    Apply(*this, ComputeMainLayout(in));
}

void FrmMain::picSplitV_MouseUp(int, int, float, float) { mSplitDragging = false; }

void FrmMain::procArrangeBelowCoolBar() {
    // The cool bar reaches its new height only once its own messages have run.
    DoEvents();
    Apply(*this, ComputeMainLayout(InputFor(*this, LayoutEvent::BelowCoolBar)));
}

void FrmMain::pnlCoolBar_HeightChanged() {
    procArrangeBelowCoolBar();
    Form_Resize();
}
