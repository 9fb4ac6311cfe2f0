// The about window.
#include "core/FrmInfo.h"

#include <utility>

#include "core/Files.h"
#include "core/Global.h"
#include "core/OSVersion.h"
#include "core/Registry.h"
#include "core/SplashPicture.h"
#include "ui/Units.h"

FrmInfo frmInfo;

namespace {

InfoLaunchers gLaunchers;

// Geometry in twips.
constexpr int kClientWidth = 6720;
constexpr int kClientHeight = 4920;
constexpr int kFrameLeft = 240, kFrameTop = 480, kFrameWidth = 6240, kFrameHeight = 3600;
constexpr int kInnerLeft = 480, kInnerWidth = 5760;
constexpr int kLabelHeight = 255;
constexpr int kTabStopDialogUnits = 80;

// The file's modification date in the system's short date format; "" when it cannot be read.
std::string ShortDateOfFile(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
    FILETIME local{};
    SYSTEMTIME st{};
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &st)) return {};
    char text[128] = {};
    if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text)) return {};
    return text;
}

std::string ThisProgram() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

}  // namespace

void SetInfoLaunchers(InfoLaunchers launchers) { gLaunchers = std::move(launchers); }

std::string ProgramVersionLine(const std::string& module) {
    auto fixed = GetFixedFileInfo(module);
    if (!fixed) return {};
    return "Ornavale version " + std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
}

std::vector<std::string> CatalogueFileLines(const std::string& folder) {
    std::vector<std::string> lines;
    std::string date = ShortDateOfFile(folder + "icondata.dat");
    if (!date.empty()) lines.push_back("Index Version\t" + date);
    lines.push_back(std::string("Core Library\t") + (FileExists(folder + "Iconlib.res") ? "Present" : "NOT Present"));
    for (int i = 1; i <= 10; ++i) {
        std::string n = std::to_string(i);
        if (FileExists(folder + "Iconlib" + n + ".res")) lines.push_back("IconUpdate " + n + "\tPresent");
    }
    return lines;
}

void TabbedListBox::Create(Bounds bounds) {
    items_.clear();
    listIndex_ = -1;
    Define("LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS, WS_EX_CLIENTEDGE,
           bounds);
}

void TabbedListBox::AfterCreate() {
    ListBox::AfterCreate();
    UINT stop = kTabStopDialogUnits;
    Send(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

std::optional<LRESULT> LinkLabel::OnCommand(int code) {
    if (code == STN_CLICKED && Click) Click();
    return 0;
}

std::optional<LRESULT> LinkLabel::OnCtlColor(HDC dc) {
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

FormSpec FrmInfo::Spec() const { return FixedDialogSpec("About Ornavale", kClientWidth, kClientHeight); }

void FrmInfo::CreateControls() {
    // Siblings made first lie on top: the controls, then their frames, then the tab strip below all.
    picLogo.Create({kInnerLeft, 720, kInnerWidth, 1920});
    lblBuild.Create("Ornavale version", {kInnerLeft, 2800, kInnerWidth, kLabelHeight});
    lblWinVer.Create("", {kInnerLeft, 3100, kInnerWidth, kLabelHeight});

    lblHelp.Create("In the Online- and What's This Help you find extended help on the features and usage of "
                   "Ornavale.",
                   {kInnerLeft, 780, kInnerWidth, 510});
    lblTrademarks.Create("Some icons show registered trademarks. These icons are shown for reference only; using "
                         "them is not allowed.",
                         {kInnerLeft, 1500, kInnerWidth, 510});
    lblLicences.Create("The icon and cursor themes of the catalogue come with their licences, which are in the "
                       "folder \"licences\" in the Ornavale program folder.",
                       {kInnerLeft, 2220, kInnerWidth, 510});

    txtIconUpdate.Create({kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight});

    lblUpdates.Create("You can find updates at;", {kInnerLeft, 900, kInnerWidth, kLabelHeight});
    txtURL.Create(kHomePage, {kInnerLeft + 240, 1200, 3600, kLabelHeight});
    lblMail.Create("Or contact me by E-mail;", {kInnerLeft, 1800, kInnerWidth, kLabelHeight});
    txtMail.Create(kMailAddress, {kInnerLeft + 240, 2100, 3600, kLabelHeight});
    txtURL.SetToolTipText("Click to go to the Ornavale Homepage");
    txtMail.SetToolTipText("Click to E-mail");
    if (!linkFont_) {
        LOGFONTA lf{};
        if (GetObjectA(Font(), sizeof lf, &lf)) {
            lf.lfUnderline = TRUE;
            linkFont_.reset(CreateFontIndirectA(&lf));
        }
    }
    for (LinkLabel* link : {&txtURL, &txtMail})
        if (link->hwnd() && linkFont_)
            SendMessageA(link->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), TRUE);

    for (Frame& frame : fraInfo) frame.Create("", {kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight});
    cmdSysInfo.Create("&System Info", {4020, 4380, 1215, 375});
    cmdOK.Create("&Close", {5385, 4380, 1215, 375}, ButtonOptions{.isDefault = true});
    tabStrip.Create({120, 120, 6480, 4080});
    tabStrip.AddTab("Version", "version");
    tabStrip.AddTab("Disclaimer", "disclaimer", "Disclaimer");
    tabStrip.AddTab("Icon Resources", "libraries", "Active Ornavale Icon Libraries");
    tabStrip.AddTab("Contact", "contact", "Contact Me");
}

void FrmInfo::BindEvents() {
    tabStrip.Click = [this] { tabStrip_Click(); };
    cmdSysInfo.Click = [this] { cmdSysInfo_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    txtURL.Click = [this] { txtURL_Click(); };
    txtMail.Click = [this] { txtMail_Click(); };
}

std::vector<Control*> FrmInfo::OnFrame(int i) {
    std::vector<Control*> controls;
    switch (i) {
        case 1: controls = {&picLogo, &lblBuild, &lblWinVer}; break;
        case 2: controls = {&lblHelp, &lblTrademarks, &lblLicences}; break;
        case 3: controls = {&txtIconUpdate}; break;
        case 4: controls = {&lblUpdates, &txtURL, &lblMail, &txtMail}; break;
        default: return controls;
    }
    controls.push_back(&fraInfo[static_cast<size_t>(i - 1)]);
    return controls;
}

int FrmInfo::TextWidth(const std::string& text) const {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // One pixel more, so that the last letter is never clipped.
    return PxToTwipsX(size.cx + 1);
}

void FrmInfo::Form_Load() {
    // Each step stands alone: one that cannot be done leaves its part as designed.
    // The box shows a picture from its top left as it is: the main window's logo (the splash
    // picture at the splash's size) is drawn anew at the box's size when it has another.
    const int logoWidth = TwipsToPxX(picLogo.Width()), logoHeight = TwipsToPxY(picLogo.Height());
    UniqueBitmap logo(gLaunchers.mainLogo ? gLaunchers.mainLogo() : nullptr);
    BITMAP held{};
    if (!logo || !GetObjectA(logo.get(), sizeof held, &held) || held.bmWidth != logoWidth ||
        held.bmHeight != logoHeight)
        logo.reset(MakeSplashPicture(logoWidth, logoHeight));
    picLogo.SetPicture(logo.release());

    mCurFrame = 1;
    tabStrip.SetSelectedIndex(1);
    std::string tool = ReadRegValue(HKEY_LOCAL_MACHINE, kSysInfoKey, "Path").Text();
    cmdSysInfo.Tag = tool;
    cmdSysInfo.SetVisible(!tool.empty());

    for (int i = 2; i <= 4; ++i) {
        fraInfo[static_cast<size_t>(i - 1)].Move(fraInfo[0].Left(), fraInfo[0].Top(), fraInfo[0].Width(),
                                                 fraInfo[0].Height());
    }
    ShowTabPage(tabStrip, 1, [this](int i) { return OnFrame(i); });

    std::string version = ProgramVersionLine(ThisProgram());
    if (!version.empty()) {
        lblBuild.SetText(version);
        int width = TextWidth(version);
        lblBuild.Move(picLogo.Left() + picLogo.Width() - width, picLogo.Top() + picLogo.Height() + PxToTwipsY(10),
                      width, lblBuild.Height());
    }

    txtIconUpdate.Move(txtIconUpdate.Left(), txtIconUpdate.Top(), fraInfo[2].Width(), fraInfo[2].Height());
    txtIconUpdate.Clear();
    for (const std::string& line : CatalogueFileLines(gAppPath)) txtIconUpdate.AddItem(line);
    if (txtIconUpdate.ListCount() > 0) txtIconUpdate.SetListIndex(0);

    lblWinVer.SetText(gOSName);
    int width = TextWidth(gOSName);
    lblWinVer.Move(picLogo.Left() + picLogo.Width() - width, lblBuild.Top() + lblBuild.Height() + PxToTwipsY(3), width,
                   lblWinVer.Height());
}

void FrmInfo::tabStrip_Click() {
    SwitchTabPage(tabStrip, mCurFrame, [this](int i) { return OnFrame(i); });
}

void FrmInfo::cmdSysInfo_Click() {
    // Quoted as one path, so that a blank in it ("C:\Program Files\...") starts no other program;
    // a path holds no quote.
    const std::string& tool = cmdSysInfo.Tag;
    if (tool.find('"') != std::string::npos) {
        gResult = 0;
        return;
    }
    if (gLaunchers.startProgram) gResult = gLaunchers.startProgram("\"" + tool + "\"");
}

void FrmInfo::cmdOK_Click() { Unload(); }

void FrmInfo::txtURL_Click() {
    if (gLaunchers.openAddress) gResult = gLaunchers.openAddress(kHomePage);
}

void FrmInfo::txtMail_Click() {
    if (gLaunchers.openAddress) gResult = gLaunchers.openAddress(std::string("mailto:") + kMailAddress);
}
