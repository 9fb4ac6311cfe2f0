// The main window: its design, its start-up, the hand-over of later starts' command lines, its close.
#include "mainwindow/FrmMain.h"

#include <filesystem>

#include "browsing/PagePictures.h"
#include "browsing/Paging.h"
#include "core/ErrorBox.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/FolderWalk.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/Instance.h"
#include "core/OSVersion.h"
#include "core/SaveOnExit.h"
#include "core/Settings.h"
#include "core/ShellFolders.h"
#include "mainwindow/MainCommands.h"
#include "mainwindow/Options.h"
#include "ui/App.h"
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
    return s;
}

void FrmMain::CreateControls() {
    DefineMenus();
    CreateBars();
    CreatePanes();
    for (PictureBox* p : {&picOpen, &picSave, &pctColor, &pctMask, &picLogo, &picNoIcon}) {
        p->Create(0, 0, 480, 480);
        p->SetVisible(false);
    }
    // The placeholder on the window colour, for whoever needs it as a picture.
    if (HICON placeholder = PlaceholderIcon()) {
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
        HDC dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, 32, 32};
        FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
        DrawIconEx(dc, 0, 0, placeholder, 32, 32, 0, nullptr, DI_NORMAL);
        SelectObject(dc, old);
        DeleteDC(dc);
        picNoIcon.SetPicture(bitmap);
    }
}

void FrmMain::BindEvents() {}

void FrmMain::Form_Load() {
    // Every step that fails is skipped and the next one runs: a setting that is no number is
    // ignored, anything else is shown in the error box.
    auto step = [](auto&& work) {
        try {
            work();
        } catch (const RuntimeError& e) {
            SetScreenMousePointer(0);
            ShowErrorBox(e.number(), e.source(), e.what());
        } catch (const std::exception& e) {
            SetScreenMousePointer(0);
            ShowErrorBox(5, "Ornavale", e.what());
        }
    };
    const int designTop = Top(), designLeft = Left(), designWidth = Width(), designHeight = Height();

    // 1. Folder icons need Windows 98 or a shell of version 4 or later.
    step([this] {
        GetOSVersion();
        gFolderIconSupport = gOSCode == "98";
        if (!gFolderIconSupport) procCheckShellVersion("htmlfile\\DefaultIcon");
        Menus().SetEnabled(ID_mnuToolsDefaultFolder, gFolderIconSupport);
    });
    // 2. Tool bar pictures.
    step([this] { SetUpImageLists(); });
    // 3. Page size.
    step([] { gIconsPerPage = PageSizeFromSetting(ReadStoredSetting(setting::IconsPerPage)); });
    // 4. Status panels.
    step([this] {
        gPanelMessage = pnlStatusbar.FindPanel("message");
        gPanelCount = pnlStatusbar.FindPanel("count");
        gPanelArea = pnlStatusbar.FindPanel("area");
        gPanelType = pnlStatusbar.FindPanel("type");
    });
    // 5./6. The hand-over arrives through OnMessage; mark the window for a later start to find.
    step([this] { SetAppWindowProp(hwnd()); });
    // 7. Paths given on the command line.
    step([this] { procOpenCommandLine(gStartArguments()); });
    // 8. Favorites name.
    step([] {
        gFavoritesName = LastComponent(GetSpecialFolder(CSIDL_FAVORITES));
        gFavDir = gAppPath + gFavoritesName;
    });
    // 9. Favorites folder: stored, or the program folder's own, created on the first start and made
    //    the current directory, where pickers start. Nothing after this reads the start-up directory.
    step([] {
        Variant stored = ReadStoredSetting(setting::FavDir);
        if (!stored.IsEmpty()) {
            gFavDir = stored.Text();
            return;
        }
        if (!FolderExists(gFavDir)) CreateDirectoryA(gFavDir.c_str(), nullptr);
        SetCurrentDirectoryA(gFavDir.c_str());
    });
    // 10. Double-click and search options.
    step([] {
        gSearchFav = BoolSetting(setting::SearchFav);
        gDCAction = ReadSetting(setting::DCAction).Text();
        gDCZoom = ReadSetting(setting::DCZoom).Number().value_or(4);
        gSettingsSaved = false;
        gDCPlay = BoolSetting(setting::DCPlay);
        gDCRef = BoolSetting(setting::DCRef);
        gDCRun = BoolSetting(setting::DCRun);
        gDCChange = BoolSetting(setting::DCChange);
    });
    // 12. Geometry: a stored 0 is a position like any other.
    step([&] {
        gWinTop = ReadStoredSetting(setting::MainTop).Number().value_or(designTop);
        gWinLeft = ReadStoredSetting(setting::MainLeft).Number().value_or(designLeft);
        gWinWidth = ReadStoredSetting(setting::MainWidth).Number().value_or(designWidth);
        gWinHeight = ReadStoredSetting(setting::MainHeight).Number().value_or(designHeight);
        SetWindowState(ReadStoredSetting(setting::MainState).Number().value_or(0));
    });
    // 13. Result view.
    step([this] {
        switch (ReadSetting(setting::ViewType).Number().value_or(0)) {
            case 0: mnuViewLargeIcons_Click(); break;
            case 2: mnuViewList_Click(); break;
            case 3: mnuViewDetails_Click(); break;
            default: break;
        }
    });
    // 14. Text labels: the toggle flips the check, so it starts from the opposite.
    step([this] {
        bool labels = ReadSetting(setting::TextLabel).Text() == "True";
        Menus().SetChecked(ID_mnuViewToolbarTextLabels, !labels);
        mnuViewToolbarTextLabels_Click();
    });
    // 15.-18. Status bar and bands.
    step([this] {
        bool on = BoolSetting(setting::Statusbar);
        pnlStatusbar.SetVisible(on);
        Menus().SetChecked(ID_mnuViewStatusBar, on);
    });
    step([this] {
        bool on = BoolSetting(setting::Toolbar);
        pnlCoolBar.SetBandVisible(1, on);
        Menus().SetChecked(ID_mnuViewToolbarStandard, on);
    });
    step([this] {
        bool on = BoolSetting(setting::YourToolbar);
        pnlCoolBar.SetBandVisible(2, on);
        Menus().SetChecked(ID_mnuViewToolbarYour, on);
        if (!on) return;
        bool newRow = BoolSetting(setting::YourPos);
        pnlCoolBar.SetBandNewRow(2, newRow);
        if (!newRow) pnlCoolBar.SetBandWidth(1, ReadSetting(setting::StandardToolbarWidth).Number().value_or(0));
    });
    step([this] {
        bool on = BoolSetting(setting::Keywordbar);
        pnlCoolBar.SetBandVisible(3, on);
        Menus().SetChecked(ID_mnuViewToolbarKeyword, on);
        if (!on) return;
        bool newRow = BoolSetting(setting::KeywordPos);
        pnlCoolBar.SetBandNewRow(3, newRow);
        if (!newRow) pnlCoolBar.SetBandWidth(2, ReadSetting(setting::YourToolbarWidth).Number().value_or(0));
    });
    // 19. Column widths, the twin list following.
    step([this] {
        const SettingDef* widths[] = {&setting::Colwidth1, &setting::Colwidth2, &setting::Colwidth3};
        for (int n = 1; n <= 3; ++n) {
            if (auto w = ReadStoredSetting(*widths[n - 1]).Number()) pnlResult.SetColumnWidth(n, *w);
            if (n <= pnlResult.ColumnCount() && n <= pnlDummy.ColumnCount())
                pnlDummy.SetColumnWidth(n, pnlResult.ColumnWidth(n));
        }
    });
    // 20. Splitter, moved as by a drag.
    step([this] {
        if (auto x = ReadStoredSetting(setting::Splitter).Number()) {
            mSplitDragging = true;
            picSplitV_MouseMove(1, 1, static_cast<float>(*x), 1);
            mSplitDragging = false;
        }
    });
    // 21.-23. Colours and hot tracking.
    step([this] {
        if (auto c = ReadStoredSetting(setting::BackColor).Number()) pnlResult.SetBackColor(static_cast<uint32_t>(*c));
        pnlDummy.SetBackColor(pnlResult.BackColor());
    });
    step([this] {
        gUseMask = BoolSetting(setting::UseMask);
        Variant mask = ReadStoredSetting(setting::MaskColor);
        if (auto c = mask.Number()) gMaskColor = static_cast<uint32_t>(*c);
        else gMaskColor = pnlResult.BackColor().value_or(0x80000005);
    });
    step([this] { pnlResult.SetHotTracking(BoolSetting(setting::HotTracking)); });
    // 24. Work surfaces of 32 x 32 pixels.
    step([this] {
        for (PictureBox* p : {&picOpen, &picSave, &pctColor, &pctMask})
            p->Move(p->Left(), p->Top(), 32 * gTwipsX, 32 * gTwipsY);
    });
    // 25. Panes under the cool bar.
    step([this] { procArrangeBelowCoolBar(); });
    // 26.
    step([this] {
        if (cmbResult.ListCount() > 0 && gPanelType) gPanelType->SetText("No icon selected.");
    });
    // 28./29. Catalogue, keywords and the navigation tree.
    step([this] { procFillSearch(); });
    step([this] { procBuildNavTree(); });
    // 30. Drawing surfaces for the mask builder, kept for the whole run.
    step([this] {
        if (gMaskDC) return;
        HDC windowDC = GetDC(hwnd());
        gMaskDC = CreateCompatibleDC(windowDC);
        gColorDC = CreateCompatibleDC(windowDC);
        gMaskDCBitmap = CreateCompatibleBitmap(gMaskDC, 32, 32);
        gColorDCBitmap = CreateCompatibleBitmap(windowDC, 32, 32);
        SelectObject(gMaskDC, gMaskDCBitmap);
        SelectObject(gColorDC, gColorDCBitmap);
        ReleaseDC(hwnd(), windowDC);
    });
    // 31. Band heights follow their contents.
    step([this] {
        pnlCoolBar.SetBandMinHeight(1, pnlToolbar.ButtonHeight());
        pnlCoolBar.SetBandMinHeight(2, pnlToolbarYour.ButtonHeight());
        pnlCoolBar.SetBandMinHeight(3, cmbSearch.Height());
    });
    // 32. The notice for a catalogue without its archives.
    step([] {
        Variant seen = ReadStoredSetting(setting::OrnavaleLight);
        if (seen.Number().value_or(0) == 0 && !FileExists(gAppPath + "iconlib.res"))
            ShowMessage(kLightNotice, "OrnavaleLight", "Ornavale Light", "");
    });
    // 33. Placement; without a stored position the window stays centred where it was made.
    step([this] { Move(gWinLeft, gWinTop, gWinWidth, gWinHeight); });
    SetScreenMousePointer(0);
}

void FrmMain::procOpenCommandLine(const std::string& sCmd) {
    try {
        if (!sCmd.empty() && sCmd != std::string(1, '\0')) {
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
        if (cds && cds->cbData > 0 && cds->lpData) {
            const char* bytes = static_cast<const char*>(cds->lpData);
            receivedCommandLines_.emplace_back(bytes, bytes + cds->cbData);
            PostMessageA(hwnd(), kOpenReceivedCommandLine, 0, 0);
        }
        return TRUE;
    }
    if (msg == WM_TIMER && wParam == kHandOverTimer) {
        if (!IsBusy(*this)) {
            KillTimer(hwnd(), kHandOverTimer);
            PostMessageA(hwnd(), kOpenReceivedCommandLine, 0, 0);
        }
        return 0;
    }
    if (msg == kOpenReceivedCommandLine) {
        // Opened in the middle of a listing, it would empty the result set under it.
        if (IsBusy(*this)) {
            SetTimer(hwnd(), kHandOverTimer, kHandOverRetryMs, nullptr);
            return 0;
        }
        if (!receivedCommandLines_.empty()) {
            std::string line = std::move(receivedCommandLines_.front());
            receivedCommandLines_.erase(receivedCommandLines_.begin());
            procOpenCommandLine(line);
        }
        return 0;
    }
    return std::nullopt;
}

void FrmMain::Form_QueryUnload(bool& cancel, UnloadMode mode) {
    ReleaseInstanceMutex();
    if (mode == UnloadMode::FormControlMenu) {
        cancel = true;
        SaveSettingsAndUnload();
    }
}

void FrmMain::Form_Unload(bool&) {
    ReleaseInstanceMutex();
    // The program ends with its main window: every other window goes first.
    UnloadAllFormsExcept(this);
}
