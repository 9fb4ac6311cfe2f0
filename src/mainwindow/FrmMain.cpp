// The main window: its design, its start-up, the hand-over of later starts' command lines, its close.
#include "mainwindow/FrmMain.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

#include "common/PagePictures.h"
#include "common/Paging.h"
#include "core/ErrorBox.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/FolderWalk.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/Instance.h"
#include "core/OSVersion.h"
#include "core/SaveOnExit.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "core/ShellFolders.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/Options.h"
#include "mainwindow/StartupStep.h"
#include "ui/App.h"
#include "ui/Unique.h"
#include "ui/Units.h"

FrmMain frmMain;

Panel* gPanelMessage = nullptr;
Panel* gPanelCount = nullptr;
Panel* gPanelArea = nullptr;
Panel* gPanelType = nullptr;
HDC gMaskDC = nullptr;
HDC gColorDC = nullptr;
HBITMAP gMaskDCBitmap = nullptr;
HBITMAP gColorDCBitmap = nullptr;

namespace {

// Opens a command line received from a later start once the message that brought it is done.
constexpr UINT kOpenReceivedCommandLine = WM_APP + 1;
// While a listing runs, a handed-over command line waits: this timer looks again until it is done.
constexpr UINT_PTR kHandOverTimer = 0xC0DA;
constexpr UINT kHandOverRetryMs = 200;

// Whether a command line names paths to open; the one zero byte of a start without any names none.
bool NamesPaths(const std::string& commandLine) {
    return !commandLine.empty() && commandLine != std::string(1, '\0');
}

constexpr const char* kLightNotice =
    "This Ornavale Light version is a fully functional Ornavale version but does not contain the 17.500 "
    "icons. When searching for icons on Keywords, Ornavale will show the amount of found icons but not the "
    "icons themselves. The free full Ornavale version is available at the Ornavale Homepage accessable "
    "through Help, About, Contact tab.";

bool IsTrue(const Variant& v) { return v.Truth(); }

// A Boolean setting: its stored value as a Boolean, or the table's default.
bool BoolSetting(const SettingDef& def) { return IsTrue(ReadSetting(def)); }

// The last component of a folder path that ends with "\"; "Favorites" when there is none.
std::string LastComponent(std::string folder) {
    if (folder.empty()) return "Favorites";
    if (folder.back() == '\\') folder.pop_back();
    auto slash = folder.rfind('\\');
    std::string name = slash == std::string::npos ? folder : folder.substr(slash + 1);
    return name.empty() ? "Favorites" : name;
}

bool FolderExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

FrmMain::FrmMain() : Form("frmMain") {}

FormSpec FrmMain::Spec() const {
    FormSpec s;
    s.caption = "Ornavale";
    s.border = BorderStyle::Sizable;
    s.width = 12900;
    s.height = 8100;
    s.minButton = true;
    s.maxButton = true;
    s.showInTaskbar = true;
    s.keyPreview = true;  // Esc and the paging keys from any control
    return s;
}

void FrmMain::CreateControls() {
    DefineMenus();
    CreateBars();
    CreatePanes();
    for (PictureBox* p : {&picOpen, &picSave, &pctColor, &pctMask, &picLogo, &picNoIcon}) {
        p->Create({0, 0, 480, 480});
        p->SetVisible(false);
    }
    // The placeholder on the window colour, for whoever needs it as a picture.
    if (HICON placeholder = PlaceholderIcon()) {
        MemoryBitmap picture(32, 32);
        RECT all{0, 0, 32, 32};
        FillRect(picture.dc(), &all, GetSysColorBrush(COLOR_WINDOW));
        DrawIconEx(picture.dc(), 0, 0, placeholder, 32, 32, 0, nullptr, DI_NORMAL);
        picNoIcon.SetPicture(picture.Release());
    }
}

void FrmMain::BindEvents() {
    pnlToolbar.ButtonClick = [this](ToolButton& b) { pnlToolbar_ButtonClick(b); };
    pnlToolbar.ButtonMenuClick = [this](ToolButton& b, ButtonMenu& m) { pnlToolbar_ButtonMenuClick(b, m); };
    pnlToolbar.Change = [this] { pnlToolbar_Change(); };
    pnlToolbarYour.ButtonClick = [this](ToolButton& b) { pnlToolbarYour_ButtonClick(b); };
    pnlCoolBar.HeightChanged = [this] { pnlCoolBar_HeightChanged(); };
    picSplitV.MouseDown = [this](int b, int s, float x, float y) { picSplitV_MouseDown(b, s, x, y); };
    picSplitV.MouseMove = [this](int b, int s, float x, float y) { picSplitV_MouseMove(b, s, x, y); };
    picSplitV.MouseUp = [this](int b, int s, float x, float y) { picSplitV_MouseUp(b, s, x, y); };
    tmrLed.Tick = [this] { tmrLed_Timer(); };
    pnlNav.NodeClick = [this](Node& node) { pnlNav_NodeClick(node); };
    cmbSearch.Click = [this] { cmbSearch_Click(); };
    cmbSearch.KeyPress = [this](int& keyAscii) { cmbSearch_KeyPress(keyAscii); };
    pnlNav.KeyPress = [this](int& keyAscii) { pnlNav_KeyPress(keyAscii); };
    pnlResult.ColumnClick = [this](int column) { pnlResult_ColumnClick(column); };
    pnlResult.DblClick = [this] { pnlResult_DblClick(); };
    pnlResult.ItemClick = [this](ListItem& item) { pnlResult_ItemClick(item); };
    pnlResult.KeyUp = [this](int keyCode, int shift) { pnlResult_KeyUp(keyCode, shift); };
    pnlResult.MouseDown = [this](int b, int s, int x, int y) { pnlResult_MouseDown(b, s, x, y); };
    pnlStatusbar.PanelClick = [this](Panel& panel) { pnlStatusbar_PanelClick(panel); };
    // Drag and drop.
    pnlResult.OLEDragItems = true;
    pnlNavDrop.OLEDragOver = [this](DragData& d, int& e, int b, int s, POINT p, int st) {
        pnlNav_OLEDragOver(d, e, b, s, p, st);
    };
    pnlNavDrop.OLEDragDrop = [this](DragData& d, int& e, int b, int s, POINT p) { pnlNav_OLEDragDrop(d, e, b, s, p); };
    pnlResultDrop.OLEDragOver = [this](DragData& d, int& e, int b, int s, POINT p, int st) {
        pnlResult_OLEDragOver(d, e, b, s, p, st);
    };
    pnlResultDrop.OLEDragDrop = [this](DragData& d, int& e, int b, int s, POINT p) {
        pnlResult_OLEDragDrop(d, e, b, s, p);
    };
}

namespace {

// Runs one step of the start-up on the window. A setting that is no number is ignored; anything
// else is shown in the error box.
template <class Step>
void RunStep(FrmMain& form, Step&& step) {
    RunStartupStep(std::forward<Step>(step), form);
}

// The window's place as designed, before any stored setting moves it.
struct DesignPlace {
    int top, left, width, height;
};

// Folder icons need Windows 98 or a shell of version 4 or later.
void CheckFolderIconSupport(FrmMain& form) {
    GetOSVersion();
    gFolderIconSupport = gOSCode == "98";
    if (!gFolderIconSupport) procCheckShellVersion("htmlfile\\DefaultIcon");
    form.Menus().SetEnabled(ID_mnuToolsDefaultFolder, gFolderIconSupport);
}

void ReadPageSize(FrmMain&) { gIconsPerPage = PageSizeFromSetting(ReadStoredSetting(setting::IconsPerPage)); }

void FindStatusPanels(FrmMain& form) {
    gPanelMessage = form.pnlStatusbar.FindPanel("message");
    gPanelCount = form.pnlStatusbar.FindPanel("count");
    gPanelArea = form.pnlStatusbar.FindPanel("area");
    gPanelType = form.pnlStatusbar.FindPanel("type");
}

// The hand-over of later starts arrives through OnMessage; this marks the window for them to find.
void MarkForLaterStarts(FrmMain& form) { SetAppWindowProp(form.hwnd()); }

// Paths given on the command line.
void OpenStartArguments(FrmMain& form) { form.procOpenCommandLine(gStartArguments()); }

void NameFavorites(FrmMain&) {
    gFavoritesName = LastComponent(GetSpecialFolder(CSIDL_FAVORITES));
    gFavDir = gAppPath + gFavoritesName;
}

// The favorites folder: stored, or the program folder's own, created on the first start and made
// the current directory, where pickers start. Nothing after this reads the start-up directory.
void FindFavoritesFolder(FrmMain&) {
    Variant stored = ReadStoredSetting(setting::FavDir);
    if (!stored.IsEmpty()) {
        gFavDir = stored.Text();
        return;
    }
    if (!FolderExists(gFavDir)) CreateDirectoryA(gFavDir.c_str(), nullptr);
    SetCurrentDirectoryA(gFavDir.c_str());
}

void ReadDoubleClickAndSearchOptions(FrmMain&) {
    gSearchFav = BoolSetting(setting::SearchFav);
    gDCAction = ReadSetting(setting::DCAction).Text();
    gDCZoom = ReadSetting(setting::DCZoom).Number().value_or(4);
    gSettingsSaved = false;
    gDCPlay = BoolSetting(setting::DCPlay);
    gDCRef = BoolSetting(setting::DCRef);
    gDCRun = BoolSetting(setting::DCRun);
    gDCChange = BoolSetting(setting::DCChange);
}

// A stored 0 is a position like any other.
void ReadStoredPlace(FrmMain& form, const DesignPlace& design) {
    gWinTop = ReadStoredSetting(setting::MainTop).Number().value_or(design.top);
    gWinLeft = ReadStoredSetting(setting::MainLeft).Number().value_or(design.left);
    gWinWidth = ReadStoredSetting(setting::MainWidth).Number().value_or(design.width);
    gWinHeight = ReadStoredSetting(setting::MainHeight).Number().value_or(design.height);
    form.SetWindowState(static_cast<FormWindowState>(ReadStoredSetting(setting::MainState).Number().value_or(0)));
}

void ShowStoredView(FrmMain& form) {
    switch (ReadSetting(setting::ViewType).Number().value_or(0)) {
        case 0: form.mnuViewLargeIcons_Click(); break;
        case 2: form.mnuViewList_Click(); break;
        case 3: form.mnuViewDetails_Click(); break;
        default: break;
    }
}

// The toggle flips the check, so it starts from the opposite.
void ShowStoredTextLabels(FrmMain& form) {
    bool labels = ReadSetting(setting::TextLabel).Text() == "True";
    form.Menus().SetChecked(ID_mnuViewToolbarTextLabels, !labels);
    form.mnuViewToolbarTextLabels_Click();
}

void ShowStoredStatusBar(FrmMain& form) {
    bool on = BoolSetting(setting::Statusbar);
    form.pnlStatusbar.SetVisible(on);
    form.Menus().SetChecked(ID_mnuViewStatusBar, on);
}

// One band of the cool bar as stored: shown or not and, after the first, on a row of its own or
// beside the band before it at that band's stored width.
struct StoredBand {
    int band;
    const SettingDef* shown;
    int menu;
    const SettingDef* newRow = nullptr;
    const SettingDef* widthBefore = nullptr;
};

void ShowStoredBand(FrmMain& form, const StoredBand& b) {
    bool on = BoolSetting(*b.shown);
    form.pnlCoolBar.SetBandVisible(b.band, on);
    form.Menus().SetChecked(b.menu, on);
    if (!on || !b.newRow) return;
    bool newRow = BoolSetting(*b.newRow);
    form.pnlCoolBar.SetBandNewRow(b.band, newRow);
    if (!newRow) form.pnlCoolBar.SetBandWidth(b.band - 1, ReadSetting(*b.widthBefore).Number().value_or(0));
}

void ShowStoredBands(FrmMain& form) {
    const StoredBand bands[] = {
        {1, &setting::Toolbar, ID_mnuViewToolbarStandard},
        {2, &setting::YourToolbar, ID_mnuViewToolbarYour, &setting::YourPos, &setting::StandardToolbarWidth},
        {3, &setting::Keywordbar, ID_mnuViewToolbarKeyword, &setting::KeywordPos, &setting::YourToolbarWidth},
    };
    // Each band on its own: one that fails leaves the others as stored.
    for (const StoredBand& band : bands) RunStep(form, [&band](FrmMain& f) { ShowStoredBand(f, band); });
}

// The twin list follows the result list's widths.
void ReadColumnWidths(FrmMain& form) {
    const SettingDef* widths[] = {&setting::Colwidth1, &setting::Colwidth2, &setting::Colwidth3};
    for (int n = 1; n <= 3; ++n) {
        if (auto w = ReadStoredSetting(*widths[n - 1]).Number())
            form.pnlResult.SetColumnWidth(n, StoredColumnWidth(*w, gTwipsX));
        if (n <= form.pnlResult.ColumnCount() && n <= form.pnlDummy.ColumnCount())
            form.pnlDummy.SetColumnWidth(n, form.pnlResult.ColumnWidth(n));
    }
}

// The splitter goes to its stored place as a drag would move it.
void MoveSplitterToStoredPlace(FrmMain& form) {
    if (auto x = ReadStoredSetting(setting::Splitter).Number()) {
        form.mSplitDragging = true;
        form.picSplitV_MouseMove(1, 1, static_cast<float>(*x), 1);
        form.mSplitDragging = false;
    }
}

void ReadBackColor(FrmMain& form) {
    if (auto c = ReadStoredSetting(setting::BackColor).Number()) form.pnlResult.SetBackColor(static_cast<uint32_t>(*c));
    form.pnlDummy.SetBackColor(form.pnlResult.BackColor());
}

void ReadMaskColor(FrmMain& form) {
    gUseMask = BoolSetting(setting::UseMask);
    Variant mask = ReadStoredSetting(setting::MaskColor);
    if (auto c = mask.Number()) gMaskColor = static_cast<uint32_t>(*c);
    else gMaskColor = form.pnlResult.BackColor().value_or(0x80000005);
}

void ReadHotTracking(FrmMain& form) { form.pnlResult.SetHotTracking(BoolSetting(setting::HotTracking)); }

// The work surfaces are 32 x 32 pixels.
void SizeWorkSurfaces(FrmMain& form) {
    for (PictureBox* p : {&form.picOpen, &form.picSave, &form.pctColor, &form.pctMask})
        p->Move(p->Left(), p->Top(), 32 * gTwipsX, 32 * gTwipsY);
}

void SayNoIconSelected(FrmMain& form) {
    if (form.cmbResult.ListCount() > 0 && gPanelType) gPanelType->SetText("No icon selected.");
}

// Drawing surfaces for the mask builder, kept for the whole run.
void MakeMaskSurfaces(FrmMain& form) {
    if (gMaskDC) return;
    WindowDC windowDC(form.hwnd());
    gMaskDC = CreateCompatibleDC(windowDC.get());
    gColorDC = CreateCompatibleDC(windowDC.get());
    gMaskDCBitmap = CreateCompatibleBitmap(gMaskDC, 32, 32);
    gColorDCBitmap = CreateCompatibleBitmap(windowDC.get(), 32, 32);
    SelectObject(gMaskDC, gMaskDCBitmap);
    SelectObject(gColorDC, gColorDCBitmap);
}

// Band heights follow their contents.
void FitBandsToContents(FrmMain& form) {
    form.pnlCoolBar.SetBandMinHeight(1, form.pnlToolbar.ButtonHeight());
    form.pnlCoolBar.SetBandMinHeight(2, form.pnlToolbarYour.ButtonHeight());
    form.pnlCoolBar.SetBandMinHeight(3, form.cmbSearch.Height());
}

// The notice for a catalogue without its archives.
void ShowLightNotice(FrmMain&) {
    Variant seen = ReadStoredSetting(setting::OrnavaleLight);
    if (seen.Number().value_or(0) == 0 && !FileExists(gAppPath + "iconlib.res"))
        ShowMessage(kLightNotice, "OrnavaleLight", "Ornavale Light", "");
}

// Without a stored position the window stays centred where it was made; one that shows too little
// of it on any screen brings it onto the nearest.
void MoveToStoredGeometry(FrmMain& form) { form.MoveToStoredPlace(gWinLeft, gWinTop, gWinWidth, gWinHeight); }

}  // namespace

void FrmMain::Form_Load() {
    handOverEnded_ = false;
    const DesignPlace design{Top(), Left(), Width(), Height()};
    RunStep(*this, CheckFolderIconSupport);
    RunStep(*this, &FrmMain::SetUpImageLists);
    RunStep(*this, ReadPageSize);
    RunStep(*this, FindStatusPanels);
    RunStep(*this, MarkForLaterStarts);
    RunStep(*this, OpenStartArguments);
    RunStep(*this, NameFavorites);
    RunStep(*this, FindFavoritesFolder);
    RunStep(*this, ReadDoubleClickAndSearchOptions);
    RunStep(*this, [&design](FrmMain& form) { ReadStoredPlace(form, design); });
    RunStep(*this, ShowStoredView);
    RunStep(*this, ShowStoredTextLabels);
    RunStep(*this, ShowStoredStatusBar);
    ShowStoredBands(*this);
    RunStep(*this, ReadColumnWidths);
    RunStep(*this, MoveSplitterToStoredPlace);
    RunStep(*this, ReadBackColor);
    RunStep(*this, ReadMaskColor);
    RunStep(*this, ReadHotTracking);
    RunStep(*this, SizeWorkSurfaces);
    RunStep(*this, &FrmMain::procArrangeBelowCoolBar);
    RunStep(*this, SayNoIconSelected);
    RunStep(*this, &FrmMain::procFillSearch);
    RunStep(*this, &FrmMain::procBuildNavTree);
    RunStep(*this, MakeMaskSurfaces);
    RunStep(*this, FitBandsToContents);
    RunStep(*this, ShowLightNotice);
    RunStep(*this, MoveToStoredGeometry);
    SetScreenMousePointer(PointerShape::Default);
}

void FrmMain::procOpenCommandLine(const std::string& sCmd) {
    try {
        if (NamesPaths(sCmd)) {
            if (cmbResult.ListCount() > 0) {
                lstFiles.Clear();
                cmbResult.Clear();
                procClearResult();
            }
            gPathList = sCmd;
            procOpenPathList(32);
        }
    } catch (const RuntimeError& e) {
        ShowError(e.number(), e.source(), e.what());
    } catch (const std::exception& e) {
        ShowError(5, "Ornavale", e.what());
    }
    if (IsWindowVisible(hwnd())) SetFocus(hwnd());
    RestoreAppWindow(hwnd());
}

std::optional<LRESULT> FrmMain::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        // Copied now, opened after the command that is running has returned.
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!handOverEnded_ && cds && cds->cbData > 0 && cds->lpData) {
            const char* bytes = static_cast<const char*>(cds->lpData);
            std::string line(bytes, bytes + cds->cbData);
            if (!receivedCommandLine_ || NamesPaths(line)) receivedCommandLine_ = std::move(line);
            PostMessageA(hwnd(), kOpenReceivedCommandLine, 0, 0);
            // The modal window the paths wait for is what the later start brings up now.
            if (!IsWindowEnabled(hwnd())) RestoreAppWindow(hwnd());
        }
        return TRUE;
    }
    if (msg == WM_TIMER && wParam == kHandOverTimer) {
        if (!HandOverWaits()) {
            KillTimer(hwnd(), kHandOverTimer);
            PostMessageA(hwnd(), kOpenReceivedCommandLine, 0, 0);
        }
        return 0;
    }
    if (msg == kRestartWindowsMessage) {
        procRestartWindows();
        return 0;
    }
    if (msg == kOpenReceivedCommandLine) {
        if (handOverEnded_) return 0;
        if (HandOverWaits()) {
            SetTimer(hwnd(), kHandOverTimer, kHandOverRetryMs, nullptr);
            return 0;
        }
        if (receivedCommandLine_) {
            const std::string line = std::exchange(receivedCommandLine_, std::nullopt).value();
            ScopedValue<bool> opening(openingCommandLine_, true);
            procOpenCommandLine(line);
        }
        return 0;
    }
    return std::nullopt;
}

bool FrmMain::HandOverWaits() {
    // Opened in the middle of a listing, it would empty the result set under it; in the middle of
    // another opening, that one's listing would replace it; while a modal window (a form, a message
    // box, a file dialog) keeps the main window disabled, it would open behind that window.
    return IsBusy(*this) || openingCommandLine_ || !IsWindowEnabled(hwnd());
}

void FrmMain::EndHandOver() {
    handOverEnded_ = true;
    receivedCommandLine_.reset();
    if (hwnd()) KillTimer(hwnd(), kHandOverTimer);
}

void FrmMain::ResumeHandOver() { handOverEnded_ = false; }

void FrmMain::Form_QueryUnload(bool& cancel, UnloadMode mode) {
    EndHandOver();
    ReleaseInstanceMutex();
    if (mode == UnloadMode::FormControlMenu) {
        cancel = true;
        SaveSettingsAndUnload();
        // Closed while a walk, a listing or a page runs under these events: it stops as at an
        // abort, so that the program ends now rather than once the work is done.
        RequestAbort(*this);
    }
}

void FrmMain::Form_Unload(bool&) {
    ReleaseInstanceMutex();
    // The program ends with its main window: every other window goes first.
    UnloadAllFormsExcept(this);
}
