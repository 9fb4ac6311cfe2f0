// The change window: its controls, the hand-over from the main window, the drop on "New", Apply
// and the window's other commands.
#include "changing/FrmChange.h"

#include <array>
#include <utility>

#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/Selection.h"
#include "output/WorkSurfaces.h"
#include "ui/App.h"
#include "ui/Dispatch.h"
#include "ui/Unique.h"
#include "ui/Units.h"

FrmChange frmChange;
std::string gChangeNode;
bool (*gChangeProcedureHook)(FrmChange& form, const ChangeRequest& request) = nullptr;

namespace {

// Geometry in twips below the tool bar, which sets the top.
constexpr int kClientWidth = 4500;
// As designed; loading fits the height to the tool bar and the status bar.
constexpr int kDesignClientHeight = 3120;
constexpr int kTitleTop = 120;
constexpr int kBoxTop = 480;
constexpr int kBoxSize = 960;    // the frame around a 32 x 32 picture
constexpr int kPictureSize = 480;
constexpr int kCurrentLeft = 720;
constexpr int kNewLeft = 2820;
constexpr int kLabelTop = kBoxTop + kBoxSize + 60;
constexpr int kLabelHeight = 255;
constexpr int kBottomMargin = 180;

constexpr const char* kDropPrompt = "Drop icon from Ornavale on New";
constexpr const char* kNoTarget = "This item cannot be changed";
constexpr const char* kAfterApply = "Select a System Icon to Change";
constexpr const char* kCacheReminder =
    "You need to Rebuild the Windows Icon Cache before these changes take effect. Restarting Windows will "
    "not rebuild you Icon Cache. You can always rebuild you Icon Cache later by selecting Tools, Rebuild "
    "Icon Cache from the main Ornavale menu.";
constexpr const char* kRebuildNow = "Rebuild Icon Cache Now!";
constexpr const char* kRestartNow = "Restart Windows Now!";

struct ButtonDef {
    const char* key;
    const char* toolTip;
};
constexpr std::array<ButtonDef, 6> kButtons{{
    {"apply", "Apply"},
    {"lookalike", "View Look-a-Likes"},
    {"default", "Windows Default"},
    {"group", "Back to Group"},
    {"build", "Rebuild Windows Icon Cache"},
    {"applyexit", "Apply and Close"},
}};

constexpr KeyCommand<FrmChange> kChangeButtonCommands[] = {
    {"apply", Run<&FrmChange::mnuFileApply_Click>},
    {"lookalike", Run<&FrmChange::mnuViewEquiv_Click>},
    {"default", Run<&FrmChange::mnuViewDefault_Click>},
    {"group", Run<&FrmChange::mnuViewGroup_Click>},
    {"build", Run<&FrmChange::mnuToolsRebuild_Click>},
    {"applyexit", Run<&FrmChange::mnuFileCloseApply_Click>},
};

constexpr Command<FrmChange> kChangeMenuCommands[] = {
    {FrmChange::ID_mnuFileApply, &FrmChange::mnuFileApply_Click},
    {FrmChange::ID_mnuFileCloseApply, &FrmChange::mnuFileCloseApply_Click},
    {FrmChange::ID_mnuFileClose, &FrmChange::mnuFileClose_Click},
    {FrmChange::ID_mnuViewEquiv, &FrmChange::mnuViewEquiv_Click},
    {FrmChange::ID_mnuViewDefault, &FrmChange::mnuViewDefault_Click},
    {FrmChange::ID_mnuViewGroup, &FrmChange::mnuViewGroup_Click},
    {FrmChange::ID_mnuViewBackcolor, &FrmChange::mnuViewBackcolor_Click},
    {FrmChange::ID_mnuToolsRebuild, &FrmChange::mnuToolsRebuild_Click},
};

// The change procedure of a kind; nullptr for a kind that changes nothing.
void (FrmChange::*ProcedureOf(const std::string& kind))() {
    if (kind == "Current Cursor" || kind == "Animated Cursor") return &FrmChange::procApplyCursor;
    if (kind == "System Icon") return &FrmChange::procApplySystemIcon;
    if (kind == "Shortcut Icon") return &FrmChange::procApplyShortcut;
    if (kind == "File Type Icon") return &FrmChange::procApplyFileType;
    return nullptr;
}

// The main window's selected result item, when the text is that item's: only an icon dragged from
// the list itself is taken.
const ListItem* DraggedItem(const DragData& data) {
    const ListItem* item = frmMain.pnlResult.SelectedItem();
    if (!item || !data.GetFormat(vbCFText)) return nullptr;
    return data.GetText() == item->Text() ? item : nullptr;
}

// The item's picture in the result list, as an icon the caller owns.
HICON ItemIcon(const ListItem& item) { return frmMain.imlResult32.GetIcon(item.Icon()).release(); }

}  // namespace

FormSpec FrmChange::Spec() const {
    FormSpec s = FixedDialogSpec("Change", kClientWidth, kDesignClientHeight, BorderStyle::FixedSingle);
    s.topmost = true;
    return s;
}

void FrmChange::CreateControls() {
    using namespace menus;
    Menus().Define({
        Menu(ID_mnuFile, "&File",
             {Item(ID_mnuFileApply, "&Apply"), Item(ID_mnuFileCloseApply, "A&pply and Close"), Separator(),
              Item(ID_mnuFileClose, "&Close")}),
        Menu(ID_mnuView, "&View",
             {Item(ID_mnuViewEquiv, "&Look-a-Likes"), Item(ID_mnuViewDefault, "&Windows Default"), Separator(),
              Item(ID_mnuViewGroup, "&Back to &Group"), Separator(), Item(ID_mnuViewBackcolor, "&Backcolor...")}),
        Menu(ID_mnuTools, "&Tools", {Item(ID_mnuToolsRebuild, "&Rebuild Icon Cache")}),
    });

    frmMain.SetUpImageLists();
    pnlToolbar.Create({0, 0, kClientWidth, 540});
    pnlToolbar.SetImageList(&frmMain.imlToolbarGrey);
    pnlToolbar.SetHotImageList(&frmMain.imlToolbarHot);
    pnlToolbar.SetTextLabels(false);
    for (const ButtonDef& b : kButtons) pnlToolbar.Add(b.key, {}, tbrDefault, b.key).ToolTipText = b.toolTip;
    CoolBar1.Create({0, 0, kClientWidth, 600});
    CoolBar1.AddBand(pnlToolbar, kClientWidth, 540);

    // The pictures before their frames: a window made later lies below.
    // The title has one line above the pictures: a long one is cut there with "...", never wrapped.
    lblTitle.Create({}, {120, kTitleTop, kClientWidth - 240, kLabelHeight}, Alignment::Center,
                    LabelOptions{.ellipsis = true});
    picImport.Create({0, 0, kPictureSize, kPictureSize});
    picImportBack.Create({kCurrentLeft, kBoxTop, kBoxSize, kBoxSize}, PictureBoxOptions{.border = true});
    lblResource.Create("Current", {kCurrentLeft - 240, kLabelTop, kBoxSize + 480, kLabelHeight}, Alignment::Center);
    picIcon.Create({0, 0, kPictureSize, kPictureSize});
    picIconBack.Create({kNewLeft, kBoxTop, kBoxSize, kBoxSize}, PictureBoxOptions{.border = true});
    lblIcon.Create("New", {kNewLeft - 240, kLabelTop, kBoxSize + 480, kLabelHeight}, Alignment::Center);

    pnlStatusbar.Create({0, 0, kClientWidth, 315});
    pnlStatusbar.AddPanel("status", {}, kClientWidth, sbrSpring);
}

void FrmChange::BindEvents() {
    pnlToolbar.ButtonClick = [this](ToolButton& b) { pnlToolbar_ButtonClick(b); };
    for (OleDropTarget* target : {&picIconDrop, &picIconBackDrop}) {
        target->OLEDragOver = [this](DragData& d, int& e, int b, int s, POINT p, int st) {
            picIcon_OLEDragOver(d, e, b, s, p, st);
        };
        target->OLEDragDrop = [this](DragData& d, int& e, int b, int s, POINT p) { picIcon_OLEDragDrop(d, e, b, s, p); };
    }
}

void FrmChange::Form_Load() {
    SetChangePicture(&picIcon);
    // Everything below the tool bar moves down by its height; the window fits its client area.
    const int top = CoolBar1.Height();
    const int inset = (kBoxSize - kPictureSize) / 2;
    lblTitle.Move(120, top + kTitleTop);
    picImportBack.Move(kCurrentLeft, top + kBoxTop);
    picImport.Move(kCurrentLeft + inset, top + kBoxTop + inset, gTwipsX * 32, gTwipsY * 32);
    lblResource.Move(kCurrentLeft - 240, top + kLabelTop);
    picIconBack.Move(kNewLeft, top + kBoxTop);
    picIcon.Move(kNewLeft + inset, top + kBoxTop + inset, gTwipsX * 32, gTwipsY * 32);
    lblIcon.Move(kNewLeft - 240, top + kLabelTop);
    const int clientHeight = top + kLabelTop + kLabelHeight + kBottomMargin + pnlStatusbar.Height();
    Move(Left(), Top(), Width() + kClientWidth - ScaleWidth(), Height() + clientHeight - ScaleHeight());
    MoveToStoredPosition(*this, windowpos::Change);
}

void FrmChange::Form_Unload(bool& /*cancel*/) {
    procSavePos();
    if (ChangePicture() == &picIcon) SetChangePicture(nullptr);
}

void FrmChange::OnPaint(HDC dc) {
    // The separator under the tool bar.
    RECT client{};
    GetClientRect(hwnd(), &client);
    DrawEtchedLine(dc, TwipsToPxY(CoolBar1.Height()), client.right);
}

bool FrmChange::OnMenuCommand(int id) { return Dispatch(*this, kChangeMenuCommands, id); }

void FrmChange::pnlToolbar_ButtonClick(ToolButton& button) {
    if (KeyAction<FrmChange> action = FindKeyAction(kChangeButtonCommands, button.Key())) action(*this);
}

void FrmChange::SetStatus(const std::string& text) { pnlStatusbar.Panels(1).SetText(text); }
std::string FrmChange::Status() { return pnlStatusbar.Panels(1).Text(); }

void FrmChange::procEnableApply(bool on) {
    Menus().SetEnabled(ID_mnuFileApply, on);
    Menus().SetEnabled(ID_mnuFileCloseApply, on);
    pnlToolbar.Buttons("apply").SetEnabled(on);
    pnlToolbar.Buttons("applyexit").SetEnabled(on);
}

void FrmChange::procHandOver(const ListItem& item, ChangeRequest request) {
    Show();
    // Over the main window, whichever is active.
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    request_ = std::move(request);
    // What an earlier change worked out never carries over; the default view stays as it was shown
    // until the next drop.
    state_ = ChangeState{.defaultShown = state_.defaultShown};
    SetStatus(kDropPrompt);
    picIcon.SetPicture(nullptr);
    const std::string& kind = request_.kind;
    const bool lookAlikes = gCatalogName == "Ornavale" && kind != "Shortcut Icon";
    Menus().SetEnabled(ID_mnuViewEquiv, lookAlikes);
    pnlToolbar.Buttons("lookalike").SetEnabled(lookAlikes);
    // The target of an earlier use never carries over: without one nothing can be applied.
    const bool target = !request_.target.empty();
    Menus().SetEnabled(ID_mnuViewDefault, target);
    pnlToolbar.Buttons("default").SetEnabled(target);
    procEnableApply(false);
    const Node* node = frmMain.pnlNav.SelectedItem();
    gChangeNode = node ? node->key : std::string();
    SetCaption("Change " + kind);
    const size_t hash = item.Text().find('#');
    lblTitle.SetText(hash != std::string::npos && hash >= 1 ? item.Text().substr(0, hash - 1) : item.Text());
    picImport.SetIcon(ItemIcon(item));
    if (!target) SetStatus(kNoTarget);
}

void FrmChange::picIcon_OLEDragOver(DragData& data, int& effect, int /*button*/, int /*shift*/, POINT /*screen*/,
                                    int /*state*/) {
    gResult = data.GetFormat(vbCFText) ? data.GetText() : std::string();
    effect = !IsBusy(frmMain) && DraggedItem(data) ? effect & vbDropEffectCopy : vbDropEffectNone;
}

void FrmChange::picIcon_OLEDragDrop(DragData& data, int& /*effect*/, int /*button*/, int /*shift*/, POINT /*screen*/) {
    if (IsBusy(frmMain)) return;
    state_.defaultShown = false;
    const ListItem* item = DraggedItem(data);
    if (!item) {
        SetStatus("Drag an Icon from Ornavale!");
        procEnableApply(false);
        return;
    }
    // A picture that no longer reads from the item's source is not taken as the placeholder the page
    // shows for it.
    UniqueIcon icon = frmMain.HandedOnIcon(*item);
    if (!icon) {
        MsgBox("An error occurred while reading the icon.", MsgBoxStyle::Exclamation, "Error");
        SetStatus("Drag an Icon from Ornavale!");
        procEnableApply(false);
        return;
    }
    picIcon.SetIcon(icon.release());
    state_.dropped = item->Tag;
    picIcon.Refresh();
    if (request_.target.empty()) {
        SetStatus(kNoTarget);
        procEnableApply(false);
        return;
    }
    SetStatus(item->SubItem(1).compare(0, 8, "Animated") == 0 ? "File, Apply to Change to Full ANI"
                                                              : "Choose File, Apply to Change");
    procEnableApply(true);
}

bool FrmChange::procRemind(const std::string& text, const std::string& valueName, const std::string& buttonCaption) {
    if (ReadStoredSetting(SettingDef{Store::Settings, valueName.c_str(), REG_SZ, nullptr}).Number().value_or(0) != 0)
        return false;
    if (ShowMessage(text, valueName, Caption(), buttonCaption)) {
        if (buttonCaption == kRebuildNow) frmMain.mnuToolsRebuild_Click();
        else if (buttonCaption == kRestartNow) frmMain.mnuToolsRestart_Click();
    }
    return true;
}

void FrmChange::mnuFileApply_Click() {
    // While the main window fills or scans, only its abort acts: a change reads the result set and
    // the selection that the fill is replacing.
    if (IsBusy(frmMain)) return;
    // A change may fail anywhere: the flags come down on every path.
    {
        ScopedValue applying(gChangeApplying, true);
        ScopedValue changeMode(gChangeMode, false);
        ScopedValue filmMode(gFilmMode, false);
        state_.cacheReminderShown = false;
        try {
            if (gChangeProcedureHook) state_.cacheReminderShown = gChangeProcedureHook(*this, request_);
            else if (auto procedure = ProcedureOf(request_.kind); procedure && !request_.target.empty()) (this->*procedure)();
        } catch (const std::exception& e) {
            ReportException("mnuFileApply_Click", e);
        } catch (...) {
            ReportUnknownException("mnuFileApply_Click");
        }
        if (!IsLoaded()) return;
        picIcon.SetPicture(nullptr);
        picIcon.Cls();
    }
    SetStatus(kAfterApply);
    procEnableApply(false);
    gResult = false;
    if (!state_.cacheReminderShown) procRemind(kCacheReminder, setting::SysCache.name, kRebuildNow);
}

void FrmChange::mnuFileCloseApply_Click() {
    if (IsBusy(frmMain)) return;
    mnuFileApply_Click();
    mnuFileClose_Click();
}

void FrmChange::mnuFileClose_Click() { Unload(); }

void FrmChange::mnuToolsRebuild_Click() {
    if (IsBusy(frmMain)) return;
    frmMain.mnuToolsRebuild_Click();
}

void FrmChange::procSavePos() { SaveWindowPosition(*this, windowpos::Change); }

void FrmChange::mnuViewEquiv_Click() {
    // While the main window fills or scans, only its abort acts.
    if (IsBusy(frmMain)) return;
    ComboBox& keywords = frmMain.cmbSearch;
    const int old = keywords.ListIndex();
    const std::string title = lblTitle.Text();
    const int found = keywords.hwnd() ? static_cast<int>(SendMessageA(keywords.hwnd(), CB_FINDSTRING,
                                                                      static_cast<WPARAM>(-1),
                                                                      reinterpret_cast<LPARAM>(title.c_str())))
                                      : -1;
    if (found == old) {
        frmMain.procSearchOrnavale();
    } else {
        // A new keyword searches through the box's own Click.
        keywords.SetListIndex(found);
    }
}

void FrmChange::mnuViewGroup_Click() {
    if (IsBusy(frmMain)) return;
    // The node may be gone from a tree built again since, or none was selected.
    Node* node = gChangeNode.empty() ? nullptr : frmMain.pnlNav.Find(gChangeNode);
    if (!node) return;
    frmMain.pnlNav.SetSelectedItem(node->key);
    frmMain.pnlNav_NodeClick(*node);
}

void FrmChange::mnuViewBackcolor_Click() {
    if (IsBusy(frmMain)) return;
    std::optional<COLORREF> color = PickColor(hwnd());
    if (!color) return;
    for (PictureBox* box : {&picIconBack, &picIcon}) box->SetBackColor(static_cast<uint32_t>(*color));
}
