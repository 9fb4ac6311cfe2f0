// The options dialog.
#include "mainwindow/FrmOptions.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <stdexcept>
#include <utility>

#include "common/PageMath.h"
#include "common/Paging.h"
#include "common/SaveShortcut.h"
#include "core/Files.h"
#include "core/FolderWalk.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "core/ShellFolders.h"
#include "mainwindow/Associations.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/Options.h"
#include "ui/App.h"
#include "ui/Keys.h"

FrmOptions frmOptions;

const std::array<MaskSystemColor, 9> MaskSystemColors = {{
    {"Desktop", 0x80000001},
    {"Active Title Bar", 0x80000002},
    {"Inactive Title Bar", 0x80000003},
    {"Menu Bar", 0x80000004},
    {"Window Background", 0x80000005},
    {"Application Workspace", 0x8000000C},
    {"Highlight", 0x8000000D},
    {"Button Face", 0x8000000F},
    {"Info Background", 0x80000018},
}};

namespace {

constexpr const char* kPageSizes[] = {"10", "20", "30", "40", "50", "75", "100", "150", "200"};
constexpr const char* kZoomFactors[] = {"2", "3", "4", "5", "10"};
constexpr const char* kShortcutName = "Ornavale.lnk";
constexpr const char* kEditorTitle = "Browse for External Icon Editor";
constexpr const char* kEditorQuestion =
    "The current selected External Icon Editor is not valid.\nDo you want to select another External Icon Editor?";
constexpr const char* kHiColorReminder =
    "Some Icon Editors do not support Hi-color icons or even 256 Color Icons. This may cause errors while opening "
    "these Icon types with the selected Icon Editor.";

// Geometry in twips.
constexpr int kClientWidth = 6720, kClientHeight = 5280;
constexpr int kPageLeft = 360, kPageTop = 600, kPageWidth = 6000;
constexpr int kInnerLeft = 600, kInnerWidth = 5520;
constexpr int kBoxHeight = 255, kFieldHeight = 315, kButtonWidth = 1215, kButtonHeight = 375;

std::string ProgramFile() { return gAppPath + "Ornavale.exe"; }

// The shortcut in a special folder of the shell, "" when the folder is not known.
std::string ShortcutIn(int csidl) {
    std::string folder = GetSpecialFolder(csidl);
    return folder.empty() ? std::string() : folder + kShortcutName;
}

// A stored number without its sign; 0 when missing or not a number.
int64_t Magnitude(const Variant& stored) { return std::llabs(int64_t{stored.Number().value_or(0)}); }

// A reminder box from the values behind it: none set unchecked, all set checked, some grey.
int ReminderValue(std::initializer_list<const SettingDef*> values) {
    int64_t n = 0;
    for (const SettingDef* def : values) n += Magnitude(ReadStoredSetting(*def));
    if (n == 0) return 0;
    return n >= static_cast<int64_t>(values.size()) ? 1 : 2;
}

const SettingDef* SettingNamed(const std::string& name) {
    for (const SettingDef* def : AllSettings())
        if (name == def->name) return def;
    return nullptr;
}

// The setting of an association's box: its name without "chk".
const SettingDef& AsoSetting(const AssociationKey& type) { return *SettingNamed(std::string(type.box).substr(3)); }

MsgBoxResult AskForOtherEditor() {
    const MsgBoxResult answer = MsgBox(kEditorQuestion, MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation, kEditorTitle);
    gResult = answer;
    return answer;
}

void WriteBox(const SettingDef& def, int value) { WriteSetting(def, std::to_string(value)); }

}  // namespace

std::string SendToShortcutPath() { return ShortcutIn(CSIDL_SENDTO); }
std::string DesktopShortcutPath() { return ShortcutIn(CSIDL_DESKTOPDIRECTORY); }

FormSpec FrmOptions::Spec() const { return FixedDialogSpec("Options", kClientWidth, kClientHeight); }

void FrmOptions::CreateControls() {
    // Siblings made first lie on top: the controls, then their frames, then the tab strip below all.
    // General
    lblIconsPerPage.Create("Icons Per Page:", {kInnerLeft, 960, 1320, kBoxHeight});
    cmbIconsPerPage.Create({1980, 900, 960, kFieldHeight}, ComboBoxOptions{.dropDownList = true});
    chkHoverSelection.Create("&Hot Tracking", {3480, 930, 2400, kBoxHeight});
    fraResults.Create("Results Pane", {kPageLeft, kPageTop, kPageWidth, 780});

    chkMaskUseBackground.Create("&Use Results Pane Background Color", {kInnerLeft, 1800, kInnerWidth, kBoxHeight});
    cmbMaskSystemColor.Create({kInnerLeft, 2220, 2460, kFieldHeight}, ComboBoxOptions{.dropDownList = true});
    cmdMaskCustom.Create("C&ustom", {3240, 2190, kButtonWidth, kButtonHeight});
    cmbMaskSystemColor.SetToolTipText("System Colors");
    cmdMaskCustom.SetToolTipText("Custom Colors");
    shpMaskColor.Create({4680, 2190, 1440, kButtonHeight}, PictureBoxOptions{.border = true});
    fraMask.Create("Copy to Clipboard Maskcolor", {kPageLeft, 1560, kPageWidth, 1260});

    chkRestart.Create("Do &Not Show Windows Restart Reminders", {kInnerLeft, 3300, kInnerWidth, kBoxHeight});
    chkRebuild.Create("Do Not &Show Rebuild Windows Icon Cache Reminders", {kInnerLeft, 3660, kInnerWidth, kBoxHeight});
    fraReminders.Create("Reminders", {kPageLeft, 3000, kPageWidth, 1080});

    // Shell Integration
    int y = 900;
    for (auto [box, caption] : {std::pair{&chkAsoICO, "&Icons (*.ico)"},
                                std::pair{&chkAsoDLL, "Dynamic &Link Libraries (*.dll)"},
                                std::pair{&chkAsoCUR, "C&ursors (*.cur)"},
                                std::pair{&chkAsoANI, "A&nimated Icons (*.ani)"},
                                std::pair{&chkAsoICL, "Icon &Libraries (*.icl)"}}) {
        box->Create(caption, {kInnerLeft, y, kInnerWidth, kBoxHeight});
        y += 330;
    }
    fraAso.Create("File Associations", {kPageLeft, kPageTop, kPageWidth, 2040});
    chkSendTo.Create("Add to &Send To Menu", {kInnerLeft, 3120, kInnerWidth, kBoxHeight});
    cmdDesktop.Create("Add &Desktop Icon", {kInnerLeft, 3540, 1920, kButtonHeight});
    fraShortcuts.Create("Shortcuts", {kPageLeft, 2820, kPageWidth, 1260});

    // Double Click Icon
    optNone.Create("&None", {kInnerLeft, 900, 2400, kBoxHeight}, OptionButtonOptions{.group = true});
    optCopy.Create("&Copy to Clipboard", {kInnerLeft, 1230, 2400, kBoxHeight});
    optSave.Create("&Save As", {kInnerLeft, 1560, 2400, kBoxHeight});
    optZoom.Create("&Zoom", {3360, 900, 960, kBoxHeight});
    optProp.Create("&Properties", {3360, 1230, 2400, kBoxHeight});
    optEditWith.Create("&Edit With", {kInnerLeft, 1950, 1200, kBoxHeight});
    lstZoom.Create({4380, 870, 780, kFieldHeight}, ComboBoxOptions{.dropDownList = true});
    txtEdit.Create("", {1860, 1920, 2880, kFieldHeight}, TextBoxOptions{.readOnly = true});
    cmdBrowseEdit.Create("Browse", {4860, 1890, 1095, kButtonHeight});
    cmdBrowseEdit.SetToolTipText("Browse for External Editor");
    fraAction.Create("Normal Action", {kPageLeft, kPageTop, kPageWidth, 1800});

    y = 2760;
    for (auto [box, caption] : {std::pair{&chkPlay, "&Play if Animated Icon"},
                                std::pair{&chkRef, "&Add Reference if Opened Icon"},
                                std::pair{&chkRun, "&Run Application if Shortcut Icon"},
                                std::pair{&chkChange, "C&hange System Icon if Applicable"}}) {
        box->Create(caption, {kInnerLeft, y, kInnerWidth, kBoxHeight});
        y += 300;
    }
    fraPriority.Create("Priority Over Normal Action", {kPageLeft, 2520, kPageWidth, 1560});

    // Favorites
    txtFavHomeDir.Create("", {kInnerLeft, 960, 3960, kFieldHeight}, TextBoxOptions{.readOnly = true});
    cmdBrowse.Create("&Browse", {4680, 930, 1335, kButtonHeight});
    cmdBrowse.SetToolTipText("Browse to set the Favorites Home Folder");
    fraFavorites.Create("Favorites Home Folder", {kPageLeft, kPageTop, kPageWidth, 780});
    chkSearchFav.Create("&Also Search Favorites when Searching on Keywords",
                        {kInnerLeft, 1860, kInnerWidth, kBoxHeight});
    fraSearch.Create("Keyword Search", {kPageLeft, 1560, kPageWidth, 780});

    cmdApply.Create("A&pply", {2580, 4785, kButtonWidth, kButtonHeight});
    cmdCancel.Create("C&ancel", {3915, 4785, kButtonWidth, kButtonHeight});
    cmdOK.Create("&Close", {5250, 4785, kButtonWidth, kButtonHeight}, ButtonOptions{.isDefault = true});

    tbsOptions.Create({120, 120, 6480, 4500});
    tbsOptions.AddTab("General", "results", "General Options");
    tbsOptions.AddTab("Shell Integration", "shell", "Shell Integration Options");
    tbsOptions.AddTab("Double Click Icon", "doubleclick", "Define Action when Doubleclicking Icons");
    tbsOptions.AddTab(gFavoritesName.empty() ? "Favorites" : gFavoritesName, "favorites", "Favorite Options");
}

void FrmOptions::BindEvents() {
    tbsOptions.Click = [this] { tbsOptions_Click(); };
    cmdApply.Click = [this] { cmdApply_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    chkMaskUseBackground.Click = [this] { chkMaskUseBackground_Click(); };
    cmbMaskSystemColor.Click = [this] { cmbMaskSystemColor_Click(); };
    cmdMaskCustom.Click = [this] { cmdMaskCustom_Click(); };
    optNone.Click = [this] { optNone_Click(); };
    optCopy.Click = [this] { optCopy_Click(); };
    optSave.Click = [this] { optSave_Click(); };
    optZoom.Click = [this] { optZoom_Click(); };
    optProp.Click = [this] { optProp_Click(); };
    optEditWith.Click = [this] { optEditWith_Click(); };
    // A factor chosen in the list is a change of the zoom.
    lstZoom.Click = [this] { lstZoom_Change(); };
    lstZoom.GotFocus = [this] { lstZoom_GotFocus(); };
    cmdBrowseEdit.Click = [this] { cmdBrowseEdit_Click(); };
    cmdBrowse.Click = [this] { cmdBrowse_Click(); };
    cmdDesktop.Click = [this] { cmdDesktop_Click(); };
}

std::vector<Control*> FrmOptions::OnPage(int i) {
    switch (i) {
        case 1:
            return {&lblIconsPerPage, &cmbIconsPerPage, &chkHoverSelection, &fraResults, &chkMaskUseBackground,
                    &cmbMaskSystemColor, &cmdMaskCustom, &shpMaskColor, &fraMask, &chkRestart, &chkRebuild, &fraReminders};
        case 2: return {&chkAsoICO, &chkAsoDLL, &chkAsoCUR, &chkAsoANI, &chkAsoICL, &fraAso, &chkSendTo, &cmdDesktop, &fraShortcuts};
        case 3:
            return {&optNone,    &optCopy,     &optSave,  &optZoom, &lstZoom, &optProp, &optEditWith,
                    &txtEdit,    &cmdBrowseEdit, &fraAction, &chkPlay, &chkRef, &chkRun,  &chkChange,
                    &fraPriority};
        case 4: return {&txtFavHomeDir, &cmdBrowse, &fraFavorites, &chkSearchFav, &fraSearch};
        default: return {};
    }
}

void FrmOptions::Form_Load() {
    ScopedValue<bool> loading(loading_, true);
    cmbMaskSystemColor.Clear();
    cmbMaskSystemColor.AddItem("");
    for (const MaskSystemColor& row : MaskSystemColors) cmbMaskSystemColor.AddItem(row.text);

    mCurrentTab = 1;
    mOldFavDir = gFavDir;
    txtFavHomeDir.SetText(gFavDir);
    tbsOptions.SetSelectedIndex(1);
    ShowTabPage(tbsOptions, 1, [this](int i) { return OnPage(i); });

    chkHoverSelection.SetValue(frmMain.pnlResult.HotTracking() ? 1 : 0);
    chkSearchFav.SetValue(gSearchFav ? 1 : 0);

    for (const char* size : kPageSizes) cmbIconsPerPage.AddItem(size);
    for (int row = 0; row < cmbIconsPerPage.ListCount(); ++row)
        if (cmbIconsPerPage.List(row) == std::to_string(gIconsPerPage)) cmbIconsPerPage.SetListIndex(row);

    chkRestart.SetValue(ReminderValue({&setting::SysCursorRestart, &setting::SysFileTypeRestart}));
    chkRebuild.SetValue(ReminderValue({&setting::SysCache, &setting::ShortcutCache, &setting::FolderCache}));
    for (const AssociationKey& type : AssociationKeys)
        AsoBox(type).SetValue(static_cast<int>(std::min<int64_t>(Magnitude(ReadStoredSetting(AsoSetting(type))), 2)));
    const std::string sendTo = SendToShortcutPath();
    chkSendTo.SetValue(!sendTo.empty() && FileExists(sendTo) ? 1 : 0);

    // The editor as stored; what an earlier opening browsed for but did not apply is gone.
    txtEdit.Tag.clear();
    optEditWith.SetEnabled(false);
    const std::string editFile = ReadStoredSetting(setting::ExtEditFile).Text();
    const std::string editFolder = ReadStoredSetting(setting::ExtEditFolder).Text();
    if (!editFile.empty()) {
        txtEdit.SetText(editFile);
        optEditWith.SetEnabled(true);
    }
    if (!editFolder.empty()) txtEdit.Tag = editFolder;

    for (const char* factor : kZoomFactors) lstZoom.AddItem(factor);
    // A stored zoom the list does not offer shows no row; Apply then keeps it.
    if (gDCZoom >= 0 && gDCZoom < lstZoom.ListCount()) lstZoom.SetListIndex(gDCZoom);

    struct Choice {
        const char* action;
        OptionButton* option;
    };
    const Choice choices[] = {{"EditWith", &optEditWith}, {"None", &optNone}, {"Copy", &optCopy},
                              {"Save", &optSave},         {"Zoom", &optZoom}, {"Prop", &optProp}};
    for (const Choice& c : choices) {
        if (gDCAction != c.action) continue;
        c.option->SetValue(true);
        break;
    }

    chkPlay.SetValue(gDCPlay ? 1 : 0);
    chkRef.SetValue(gDCRef ? 1 : 0);
    chkRun.SetValue(gDCRun ? 1 : 0);
    chkChange.SetValue(gDCChange ? 1 : 0);

    chkMaskUseBackground.SetValue(gUseMask ? 0 : 1);
    chkMaskUseBackground_Click();
}

CheckBox& FrmOptions::AsoBox(const AssociationKey& type) {
    const std::pair<const char*, CheckBox*> boxes[] = {{"chkAsoANI", &chkAsoANI},
                                                       {"chkAsoCUR", &chkAsoCUR},
                                                       {"chkAsoDLL", &chkAsoDLL},
                                                       {"chkAsoICL", &chkAsoICL},
                                                       {"chkAsoICO", &chkAsoICO}};
    for (const auto& [name, box] : boxes)
        if (std::string(name) == type.box) return *box;
    throw std::logic_error(std::string("no box ") + type.box);
}

void FrmOptions::tbsOptions_Click() {
    SwitchTabPage(tbsOptions, mCurrentTab, [this](int i) { return OnPage(i); });
}

void FrmOptions::chkMaskUseBackground_Click() {
    const bool own = chkMaskUseBackground.Value() == 0;
    cmbMaskSystemColor.SetEnabled(own);
    cmdMaskCustom.SetEnabled(own);
    shpMaskColor.SetBackColor(own ? gMaskColor : frmMain.pnlResult.BackColor().value_or(0x80000005));
}

void FrmOptions::cmbMaskSystemColor_Click() {
    int row = cmbMaskSystemColor.ListIndex();
    if (row < 1 || row > static_cast<int>(MaskSystemColors.size())) return;
    shpMaskColor.SetBackColor(MaskSystemColors[static_cast<size_t>(row - 1)].value);
}

void FrmOptions::cmdMaskCustom_Click() {
    std::optional<COLORREF> color = PickColor(hwnd());
    if (!color) return;
    gMaskColor = static_cast<uint32_t>(*color);
    shpMaskColor.SetBackColor(gMaskColor);
    cmbMaskSystemColor.SetListIndex(0);
}

void FrmOptions::optNone_Click() { gDCAction = "None"; }
void FrmOptions::optCopy_Click() { gDCAction = "Copy"; }
void FrmOptions::optSave_Click() { gDCAction = "Save"; }
void FrmOptions::optZoom_Click() { gDCAction = "Zoom"; }
void FrmOptions::optProp_Click() { gDCAction = "Prop"; }

void FrmOptions::lstZoom_Change() {
    // The load's own choice of the stored factor is no change of the action.
    if (loading_) return;
    optZoom.SetValue(true);
    gDCAction = "Zoom";
}

void FrmOptions::lstZoom_GotFocus() { lstZoom_Change(); }

void FrmOptions::DropEditor() {
    txtEdit.SetText("");
    txtEdit.Tag.clear();
    gDCAction = "None";
    optEditWith.SetValue(false);
    optNone.SetValue(true);
    optEditWith.SetEnabled(false);
}

void FrmOptions::optEditWith_Click() {
    gDCAction = "EditWith";
    if (FileExists(txtEdit.Tag + txtEdit.Text())) return;
    // Only a No given here, or in the browse that a Yes starts, drops the editor; an answer left
    // in gResult by some earlier box does not.
    bool no = false;
    if (AskForOtherEditor() == MsgBoxResult::Yes) {
        mEditWithBrowse = true;
        no = BrowseEditor();
    } else {
        no = gResult == MsgBoxResult::No;
    }
    if (no) DropEditor();
}

void FrmOptions::cmdBrowseEdit_Click() { BrowseEditor(); }

bool FrmOptions::BrowseEditor() {
    // Whatever way this browse ends, a later one was not started by choosing Edit With.
    const bool fromEditWith = std::exchange(mEditWithBrowse, false);
    for (;;) {
        dlgIcon.Filter = "Applications (*.exe)|*.exe";
        dlgIcon.DefaultExt = "exe";
        dlgIcon.Flags = FileDialogFlags::HideReadOnly | FileDialogFlags::Explorer | FileDialogFlags::LongNames;
        dlgIcon.DialogTitle = "Select External Icon Editor";
        if (!dlgIcon.ShowOpen(hwnd())) {
            if (fromEditWith) {
                optEditWith.SetValue(false);
                optEditWith.SetEnabled(false);
            }
            return false;
        }
        const std::string path = dlgIcon.FileName;
        gResult = path;
        const size_t slash = path.rfind('\\');
        if (slash != std::string::npos) {
            txtEdit.SetText(path.substr(slash + 1));
            txtEdit.Tag = path.substr(0, slash + 1);
        }
        bool no = false;
        if (!FileExists(txtEdit.Tag + txtEdit.Text())) {
            if (AskForOtherEditor() == MsgBoxResult::Yes) continue;
            txtEdit.SetText("");
            txtEdit.Tag.clear();
            no = true;
        }
        if (!txtEdit.Text().empty()) {
            optEditWith.SetEnabled(true);
            optEditWith.SetValue(true);
        } else {
            optEditWith.SetValue(false);
            optEditWith.SetEnabled(false);
        }
        if (ReadStoredSetting(setting::ExtEditMessage).Number().value_or(0) == 0)
            ShowMessage(kHiColorReminder, "ExtEditMessage", "Edit With External Editor", "");
        return no;
    }
}

void FrmOptions::cmdBrowse_Click() {
    gFavoritesMode = true;
    gResult = BrowseForFolder(txtFavHomeDir.Text());
    if (txtFavHomeDir.Text().empty()) txtFavHomeDir.SetText(gAppPath);
    gFavoritesMode = false;
}

void FrmOptions::cmdDesktop_Click() {
    const std::string link = DesktopShortcutPath();
    std::string why = "The Desktop folder is not known.";
    if (!link.empty()) {
        try {
            procSaveShortcut(link, ProgramFile(), gAppPath, "", ProgramFile(), 0, 1);
            return;
        } catch (const std::exception& e) {
            why = e.what();
        }
    }
    MsgBox("The Desktop Icon could not be added.\r" + why, MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation,
           "Add Desktop Icon");
}

void FrmOptions::cmdApply_Click() {
    // What could not be put into effect, told once at the end.
    std::vector<std::string> failed;

    frmMain.pnlResult.SetHotTracking(chkHoverSelection.Value() != 0);

    if (int row = cmbIconsPerPage.ListIndex(); row >= 0) {
        const int32_t n = ParseLong(cmbIconsPerPage.List(row)).value_or(gIconsPerPage);
        if (n != gIconsPerPage) {
            gIconsPerPage = n;
            if (const int32_t entries = frmMain.cmbResult.ListCount(); entries > 0) {
                gPageCount = PageCountFor(entries, gIconsPerPage);
                if (gPageNr > gPageCount) gPageNr = gPageCount;
                frmMain.procSetPageNr();
                frmMain.procGetPage();
            }
        }
    }

    std::vector<const AssociationKey*> written;
    for (const AssociationKey& type : AssociationKeys) {
        if (procSetAso(HKEY_CLASSES_ROOT, AsoBox(type).Value(), type)) written.push_back(&type);
        else failed.push_back(std::string("the file association of ") + type.extension);
    }

    const std::string sendTo = SendToShortcutPath();
    if (chkSendTo.Value() == 0) {
        if (!sendTo.empty() && !DeleteFileA(sendTo.c_str()) && FileExists(sendTo))
            failed.push_back("removing the Send To shortcut " + sendTo);
    } else if (sendTo.empty()) {
        failed.push_back("the Send To shortcut (the Send To folder is not known)");
    } else {
        try {
            procSaveShortcut(sendTo, ProgramFile(), gAppPath, "", ProgramFile(), 0, 1);
        } catch (const std::exception& e) {
            failed.push_back("the Send To shortcut " + sendTo + ": " + e.what());
        }
    }

    // An association is stored as made only once it is.
    for (const AssociationKey* type : written) WriteBox(AsoSetting(*type), AsoBox(*type).Value());

    WriteSetting(setting::DCAction, gDCAction);
    if (int row = lstZoom.ListIndex(); row >= 0) {
        gDCZoom = row;
        WriteSetting(setting::DCZoom, gDCZoom);
    }

    struct Priority {
        CheckBox* box;
        const SettingDef* def;
        bool* flag;
    };
    for (const Priority& p : {Priority{&chkPlay, &setting::DCPlay, &gDCPlay}, Priority{&chkRef, &setting::DCRef, &gDCRef},
                              Priority{&chkRun, &setting::DCRun, &gDCRun},
                              Priority{&chkChange, &setting::DCChange, &gDCChange}}) {
        WriteBox(*p.def, p.box->Value());
        *p.flag = p.box->Value() != 0;
    }

    if (txtFavHomeDir.Text() != mOldFavDir) {
        gFavDir = txtFavHomeDir.Text();
        mOldFavDir = gFavDir;
        if (CompareTextNoCase(gFavDir, gAppPath + gFavoritesName) == 0) CreateDirectoryA(gFavDir.c_str(), nullptr);
        gFavDir = frmMain.procRebuildFavorites();
        WriteSetting(setting::FavDir, gFavDir);
    }

    WriteBox(setting::SearchFav, chkSearchFav.Value());
    gSearchFav = chkSearchFav.Value() != 0;

    if (chkMaskUseBackground.Value() == 0) {
        gUseMask = true;
        gMaskColor = shpMaskColor.BackColor().value_or(gMaskColor);
    } else {
        gUseMask = false;
    }
    WriteSetting(setting::UseMask, gUseMask ? "True" : "False");
    WriteSetting(setting::MaskColor, std::to_string(static_cast<int32_t>(gMaskColor)));

    if (int v = chkRestart.Value(); v != 2)
        for (const SettingDef* def : {&setting::SysCursorRestart, &setting::SysFileTypeRestart}) WriteBox(*def, v);
    if (int v = chkRebuild.Value(); v != 2)
        for (const SettingDef* def : {&setting::SysCache, &setting::ShortcutCache, &setting::FolderCache})
            WriteBox(*def, v);

    if (optEditWith.Enabled()) {
        WriteSetting(setting::ExtEditFile, txtEdit.Text());
        WriteSetting(setting::ExtEditFolder, txtEdit.Tag);
    }

    if (!failed.empty()) {
        std::string text = "These options could not be put into effect:";
        for (const std::string& f : failed) text += "\r- " + f;
        MsgBox(text, MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation, "Options");
    }
}

void FrmOptions::cmdOK_Click() {
    cmdApply_Click();
    Unload();
}

void FrmOptions::cmdCancel_Click() { Unload(); }
