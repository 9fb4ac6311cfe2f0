// The picture import window.
#include "output/FrmImport.h"

#include <optional>
#include <utility>

#include "core/Global.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "common/OpenPaths.h"
#include "mainwindow/MainShared.h"
#include "output/IconWriter.h"
#include "output/PictureImport.h"
#include "output/WorkSurfaces.h"
#include "resources/resource.h"
#include "ui/App.h"
#include "ui/Dispatch.h"
#include "ui/Units.h"

FrmImport frmImport;

namespace {

constexpr const char* kOpenFilter =
    "All picture files|*.bmp;*.dib;*.dib;*.gif;*.jpg;*.wmf;*.emf|Bitmaps (*.bmp;*.dib)|*.bmp;*.dib|Compuserve "
    "Graphics Interchange (*.gif)|*.gif|JPEG Images (*.jpg)|*.jpg|Metafiles (*.wmf;*.emf)|*.wmf;*emf";
constexpr const char* kSaveFilter =
    "16 Color Icon (*.ico)|*.ico|256 Color Icon (*.ico)|*.ico|Hi-color Icon (*.ico)|*.ico|16 Color Cursor "
    "(*.cur)|*.cur|256 Color Cursor (*.cur)|*.cur|Hi-color Icon (*.cur)|*.cur";
constexpr FileDialogFlags kOpenFlags = FileDialogFlags::HideReadOnly | FileDialogFlags::FileMustExist |
                                       FileDialogFlags::Explorer | FileDialogFlags::LongNames;
constexpr FileDialogFlags kSaveFlags = FileDialogFlags::OverwritePrompt | FileDialogFlags::HideReadOnly |
                                       FileDialogFlags::ExtensionDifferent | FileDialogFlags::PathMustExist |
                                       FileDialogFlags::LongNames;
constexpr COLORREF kFirstTransparent = RGB(128, 0, 0);
constexpr const char* kLoadHint = "Open or paste from the Clipboard";
constexpr const char* kPickHint = "Click to set the transparancy color";
constexpr const char* kSaveFailed = "An error occured while saving.";
constexpr const char* kFileUnreadable = "The picture could not be read:\r\n";
constexpr const char* kClipboardUnreadable = "The picture on the clipboard could not be read.";

// Geometry in twips. The two frames stand side by side below the cool bar, each under its caption.
constexpr int kClientWidth = 4080;
constexpr int kMargin = 240;
constexpr int kFrameSide = 1680;
constexpr int kCaptionHeight = 255;
constexpr int kGap = 120;
// The window as designed, 90 twips wider than the bars; loading makes it two captions higher.
constexpr int kDesignWidth = kClientWidth + 90;
constexpr int kDesignHeight = 3300;

// The colour depth of each save filter, 1 to 6; the first three write icons, the others cursors.
constexpr int32_t kFilterBitCount[] = {4, 8, 16, 4, 8, 16};

struct ButtonDesign {
    const char* key;
    const char* toolTip;
    bool enabled;
};
constexpr ButtonDesign kButtons[] = {
    {"open", "Open Graphic File", true}, {"save", "Save As...", false}, {"copy", "Copy", false},
    {"paste", "Paste", true},           {"close", "Close Glyphwright", true},
};

constexpr KeyCommand<FrmImport> kImportButtons[] = {
    {"open", Run<&FrmImport::mnuFileOpen_Click>},   {"save", Run<&FrmImport::mnuFileSaveAs_Click>},
    {"copy", Run<&FrmImport::mnuEditCopy_Click>},   {"paste", Run<&FrmImport::mnuEditPaste_Click>},
    {"close", Run<&FrmImport::mnuFileClose_Click>},
};

constexpr Command<FrmImport> kImportMenus[] = {
    {FrmImport::ID_mnuFileOpen, &FrmImport::mnuFileOpen_Click},
    {FrmImport::ID_mnuFileSaveAs, &FrmImport::mnuFileSaveAs_Click},
    {FrmImport::ID_mnuFileClose, &FrmImport::mnuFileClose_Click},
    {FrmImport::ID_mnuEditCopy, &FrmImport::mnuEditCopy_Click},
    {FrmImport::ID_mnuEditPaste, &FrmImport::mnuEditPaste_Click},
    {FrmImport::ID_mnuViewBackcolor, &FrmImport::mnuViewBackcolor_Click},
    {FrmImport::ID_mnuIconClickSaveAs, &FrmImport::mnuIconClickSaveAs_Click},
    {FrmImport::ID_mnuIconClickCopy, &FrmImport::mnuIconClickCopy_Click},
    {FrmImport::ID_mnuIconClickBackColor, &FrmImport::mnuIconClickBackColor_Click},
    {FrmImport::ID_mnuImportClickOpen, &FrmImport::mnuImportClickOpen_Click},
    {FrmImport::ID_mnuImportClickPaste, &FrmImport::mnuImportClickPaste_Click},
};

// The main window's drawing surface's back colour, as a colour the image list takes.
COLORREF MainPictureBack() {
    const auto back = frmMain.picOpen.BackColor();
    return ToColorRef(back.value_or(0x8000000F));
}

}  // namespace

FormSpec FrmImport::Spec() const {
    FormSpec s = FixedDialogSpec("Glyphwright", kDesignWidth - kFrameRoomWidth, kDesignHeight - kFrameRoomHeight,
                                 BorderStyle::FixedSingle);
    s.minButton = true;
    s.showInTaskbar = true;  // it has no owner
    return s;
}

void FrmImport::CreateControls() {
    using namespace menus;
    Menus().Define({
        Menu(ID_mnuFile, "&File",
             {Item(ID_mnuFileOpen, "&Open...\tCtrl+O"), Item(ID_mnuFileSaveAs, "Save &As...", false), Separator(),
              Item(ID_mnuFileClose, "&Close")}),
        Menu(ID_mnuEdit, "&Edit",
             {Item(ID_mnuEditCopy, "&Copy\tCtrl+C", false), Item(ID_mnuEditPaste, "&Paste\tCtrl+V")}),
        Menu(ID_mnuView, "&View", {Item(ID_mnuViewBackcolor, "&BackColor...")}),
        // Popup-only menus.
        Hidden(Menu(ID_mnuIconClick, "IconClick",
                    {Item(ID_mnuIconClickSaveAs, "&Save As..", false), Item(ID_mnuIconClickCopy, "&Copy", false),
                     Separator(), Item(ID_mnuIconClickBackColor, "&Backcolor...")})),
        Hidden(Menu(ID_mnuImportClick, "ImportClick",
                    {Item(ID_mnuImportClickOpen, "&Open"), Item(ID_mnuImportClickPaste, "&Paste")})),
    });

    frmMain.SetUpImageLists();
    pnlToolbar.Create({0, 0, kClientWidth, 540});
    pnlToolbar.SetHotImageList(&frmMain.imlToolbarHot);
    pnlToolbar.SetImageList(&frmMain.imlToolbarGrey);
    pnlToolbar.SetTextLabels(false);
    for (const ButtonDesign& d : kButtons) {
        ToolButton& b = pnlToolbar.Add(d.key, {}, tbrDefault, d.key);
        b.ToolTipText = d.toolTip;
        b.SetEnabled(d.enabled);
    }
    pnlCoolBar.Create({0, 0, kClientWidth, 600});
    pnlCoolBar.AddBand(pnlToolbar, kClientWidth, pnlToolbar.ButtonHeight());

    const int side = kImportSide * 15;
    const int inset = (kFrameSide - side) / 2;
    // The pictures are made before their frames, so that they lie above them.
    picImport.Create({kMargin + inset, inset, side, side});
    picIcon.Create({2 * kMargin + kFrameSide + inset, inset, side, side});
    picImportBack.Create({kMargin, 0, kFrameSide, kFrameSide}, PictureBoxOptions{.border = true});
    picIconBack.Create({2 * kMargin + kFrameSide, 0, kFrameSide, kFrameSide}, PictureBoxOptions{.border = true});
    lblResource.Create("Resource", {kMargin, 0, kFrameSide, kCaptionHeight});
    lblIcon.Create("Icon", {2 * kMargin + kFrameSide, 0, kFrameSide, kCaptionHeight});
    picOpen.Create({0, 0, side, side});
    picOpen.SetVisible(false);

    pnlStatusbar.Create({0, 0, kClientWidth, 300});
    pnlStatusbar.AddPanel("hint", {}, kClientWidth, sbrSpring);
}

void FrmImport::BindEvents() {
    pnlToolbar.ButtonClick = [this](ToolButton& b) { pnlToolbar_ButtonClick(b); };
    pnlCoolBar.HeightChanged = [this] { Arrange(); };
    picImport.MouseUp = [this](int b, int s, float x, float y) { picImport_MouseUp(b, s, x, y); };
    picImport.MouseMove = [this](int b, int s, float x, float y) { picImport_MouseMove(b, s, x, y); };
    picImportBack.MouseUp = [this](int b, int s, float x, float y) { picImportBack_MouseUp(b, s, x, y); };
    picImportBack.MouseMove = [this](int b, int s, float x, float y) { picImportBack_MouseMove(b, s, x, y); };
    picIcon.MouseUp = [this](int b, int s, float x, float y) { picIcon_MouseUp(b, s, x, y); };
    picIconBack.MouseUp = [this](int b, int s, float x, float y) { picIconBack_MouseUp(b, s, x, y); };
}

void FrmImport::Arrange() {
    const int captionTop = pnlCoolBar.Height() + kGap;
    const int frameTop = captionTop + kCaptionHeight;
    const int inset = (kFrameSide - kImportSide * gTwipsY) / 2;
    lblResource.Move(lblResource.Left(), captionTop);
    lblIcon.Move(lblIcon.Left(), captionTop);
    picImportBack.Move(picImportBack.Left(), frameTop);
    picIconBack.Move(picIconBack.Left(), frameTop);
    picImport.Move(picImport.Left(), frameTop + inset);
    picIcon.Move(picIcon.Left(), frameTop + inset);
}

void FrmImport::Form_Load() {
    // The window's members outlive an unload: each load starts empty.
    for (PictureBox* p : {&picImport, &picIcon, &picOpen}) {
        p->SetPicture(nullptr);
        p->Move(p->Left(), p->Top(), kImportSide * gTwipsX, kImportSide * gTwipsY);
    }
    picIcon.Tag.clear();
    picIcon.SetBackColor(std::nullopt);
    picIconBack.SetBackColor(std::nullopt);
    picImport.SetEnabled(false);
    // Shared with the module: never destroyed.
    picImport.SetMouseIcon(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_EYEDROPPER)));
    picImport.SetMousePointer(PointerShape::Custom);
    dlgIcon = CommonDialog();
    SetImportPicture(&picIcon);
    Arrange();

    pnlStatusbar.Panels(1).SetText(kLoadHint);
    const int height = Height() + 2 * lblResource.Height();
    // A missing coordinate centres the window by its size before it grows.
    MoveToStoredPosition(*this, windowpos::Import);
    Move(Left(), Top(), Width(), height);
}

void FrmImport::Form_Unload(bool& /*cancel*/) {
    SaveWindowPosition(*this, windowpos::Import);
    frmMain.imlIcon32.SetMaskColor(MainPictureBack());
    SetImportPicture(nullptr);
}

void FrmImport::OnPaint(HDC dc) {
    // The etched line across the top.
    RECT client{};
    GetClientRect(hwnd(), &client);
    DrawEtchedLine(dc, 0, client.right);
}

HACCEL FrmImport::Accelerators() const {
    static const HACCEL keys = [] {
        ACCEL table[] = {
            {FVIRTKEY | FCONTROL, 'O', ID_mnuFileOpen},
            {FVIRTKEY | FCONTROL, 'C', ID_mnuEditCopy},
            {FVIRTKEY | FCONTROL, 'V', ID_mnuEditPaste},
        };
        return CreateAcceleratorTableA(table, static_cast<int>(std::size(table)));
    }();
    return keys;
}

bool FrmImport::OnMenuCommand(int id) { return Dispatch(*this, kImportMenus, id); }

void FrmImport::pnlToolbar_ButtonClick(ToolButton& button) {
    if (auto action = FindKeyAction(kImportButtons, button.Key())) action(*this);
}

void FrmImport::EnableSaveAs() {
    Menus().SetEnabled(ID_mnuFileSaveAs, true);
    Menus().SetEnabled(ID_mnuIconClickSaveAs, true);
    pnlToolbar.Buttons("save").SetEnabled(true);
}

void FrmImport::EnableCopy() {
    Menus().SetEnabled(ID_mnuEditCopy, true);
    Menus().SetEnabled(ID_mnuIconClickCopy, true);
    pnlToolbar.Buttons("copy").SetEnabled(true);
}

bool FrmImport::BuildIcon(UniqueBitmap picture) {
    if (!picture) return false;
    picImport.SetEnabled(true);
    picOpen.SetPicture(picture.release());
    ImageList& list = frmMain.imlIcon32;
    list.Clear();
    list.SetMaskColor(kFirstTransparent);
    list.Insert(1, picOpen.Picture());
    picImport.SetIcon(list.GetIcon(1).release());
    picIcon.SetIcon(list.GetIcon(1).release());
    return true;
}

void FrmImport::mnuFileOpen_Click() {
    const std::string folder = ReadStoredSetting(setting::ImportDirectory).Text();
    dlgIcon.Flags = kOpenFlags;
    dlgIcon.Filter = kOpenFilter;
    dlgIcon.FileName.clear();
    dlgIcon.InitDir = folder;
    if (!dlgIcon.ShowOpen(hwnd())) return;

    Hourglass busy;
    const std::string path = dlgIcon.FileName;
    const size_t slash = path.rfind('\\');
    if (slash != std::string::npos) {
        const std::string chosenFolder = path.substr(0, slash + 1);
        if (chosenFolder != dlgIcon.InitDir) WriteSetting(setting::ImportDirectory, Variant(chosenFolder));
    }
    // A file that is no picture leaves the window as it was, and says so.
    if (!BuildIcon(LoadImportFile(path, GetSysColor(COLOR_BTNFACE)))) {
        busy.Done();
        gResult = MsgBox(kFileUnreadable + path, MsgBoxStyle::Exclamation, "Error", hwnd());
        return;
    }
    if (slash != std::string::npos) {
        const std::string name = path.substr(slash + 1);
        picIcon.Tag = name.substr(0, name.find('.'));
    }
    EnableSaveAs();
    EnableCopy();
}

void FrmImport::mnuEditPaste_Click() {
    Hourglass busy;
    if (!BuildIcon(LoadImportClipboard(hwnd(), GetSysColor(COLOR_BTNFACE)))) {
        busy.Done();
        gResult = MsgBox(kClipboardUnreadable, MsgBoxStyle::Exclamation, "Error", hwnd());
        return;
    }
    picIcon.Tag.clear();
    EnableSaveAs();
}

void FrmImport::picImport_MouseUp(int button, int /*shift*/, float x, float y) {
    if (button == 2) {
        PopupMenu(ID_mnuImportClick);
        return;
    }
    if (button != 1) return;
    const COLORREF color = picImport.Point(TwipsToPxX(static_cast<int>(x)), TwipsToPxY(static_cast<int>(y)));
    if (color == CLR_INVALID) return;
    // The icon as shown, its transparent pixels showing the box's back colour, is built again
    // with the clicked colour transparent.
    HDC shown = picImport.hDC();
    // Without an alpha channel, as the pictures of an import are made.
    MemoryBitmap copy(kImportSide, kImportSide, MemoryBitmap::Format::Rgb24);
    if (!shown || !copy) return;
    BitBlt(copy.dc(), 0, 0, kImportSide, kImportSide, shown, 0, 0, SRCCOPY);
    UniqueBitmap picture(copy.Release());
    ImageList& list = frmMain.imlIcon32;
    list.Clear();
    list.SetMaskColor(color);
    list.Insert(1, picture.get());
    picIcon.SetIcon(list.GetIcon(1).release());
}

void FrmImport::picImport_MouseMove(int, int, float, float) { pnlStatusbar.Panels(1).SetText(kPickHint); }
void FrmImport::picImportBack_MouseMove(int, int, float, float) { pnlStatusbar.Panels(1).SetText(""); }

void FrmImport::picImportBack_MouseUp(int button, int, float, float) {
    if (button == 2) PopupMenu(ID_mnuImportClick);
}
void FrmImport::picIcon_MouseUp(int button, int, float, float) {
    if (button == 2) PopupMenu(ID_mnuIconClick);
}
void FrmImport::picIconBack_MouseUp(int button, int, float, float) {
    if (button == 2) PopupMenu(ID_mnuIconClick);
}

void FrmImport::mnuViewBackcolor_Click() {
    const auto color = PickColor(hwnd());
    if (!color) return;
    picIconBack.SetBackColor(*color);
    picIcon.SetBackColor(*color);
}

void FrmImport::mnuEditCopy_Click() {
    UniqueBitmap picture(picOpen.CopyPicture());
    if (!picture || !OpenClipboard(hwnd())) return;
    EmptyClipboard();
    // The clipboard owns the bitmap once it took it.
    if (SetClipboardData(CF_BITMAP, picture.get())) picture.release();
    CloseClipboard();
}

void FrmImport::mnuFileSaveAs_Click() {
    dlgIcon.Filter = kSaveFilter;
    dlgIcon.DefaultExt = "ico";
    dlgIcon.Flags = kSaveFlags;
    dlgIcon.FileName = picIcon.Tag;
    DoEvents();
    if (!dlgIcon.ShowSave(hwnd())) return;
    const int filter = dlgIcon.FilterIndex;
    if (filter < 1 || filter > static_cast<int>(std::size(kFilterBitCount))) return;
    gBitCount = kFilterBitCount[filter - 1];

    // The main window renders the preview only while this is raised; it falls on every way out.
    ScopedValue importMode(gImportMode, true);
    {
        Hourglass busy;
        frmMain.procMask();
    }
    const SaveLibrary writer;
    const bool cursor = filter > 3;
    const std::string extension = cursor ? ".cur" : ".ico";
    // The extension is compared without regard to case: icon.ICO stays as it is.
    if (ExtensionOf(dlgIcon.FileName) != extension) dlgIcon.FileName += extension;
    HDC color = frmMain.pctColor.hDC(), mask = frmMain.pctMask.hDC();
    if (cursor) {
        frmMain.procSetHotSpot();
        gResult = writer.SaveAsCursor(color, mask, kImportSide, kImportSide, gBitCount, gHotSpotX, gHotSpotY,
                                      dlgIcon.FileName) != 0;
    } else {
        gResult = writer.SaveAsIcon(color, mask, kImportSide, kImportSide, gBitCount, dlgIcon.FileName) != 0;
    }
    if (!gResult.Truth()) gResult = MsgBox(kSaveFailed, MsgBoxStyle::Exclamation, "Error", hwnd());
}

void FrmImport::mnuFileClose_Click() { Unload(); }

void FrmImport::mnuIconClickSaveAs_Click() { mnuFileSaveAs_Click(); }
void FrmImport::mnuIconClickCopy_Click() { mnuEditCopy_Click(); }
void FrmImport::mnuIconClickBackColor_Click() { mnuViewBackcolor_Click(); }
void FrmImport::mnuImportClickOpen_Click() { mnuFileOpen_Click(); }
void FrmImport::mnuImportClickPaste_Click() { mnuEditPaste_Click(); }
