// The message window and ShowMessage.
#include "core/FrmMessage.h"

#include "core/Global.h"
#include "core/Settings.h"
#include "ui/Unique.h"
#include "ui/Units.h"

FrmMessage frmMessage;

namespace {

// Geometry in twips. The client area is fixed; the window is sized around it at load.
constexpr int kClientWidth = 6750;
constexpr int kClientHeight = 2655;
constexpr int kBandHeight = 1980;  // the white band behind the icon and the text
constexpr int kIconSize = 480;
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The system's information icon on the band's white; the caller owns the bitmap.
HBITMAP DrawInformationIcon(int size) {
    MemoryBitmap picture(size, size);
    if (!picture) return nullptr;
    RECT all{0, 0, size, size};
    UniqueBrush white(CreateSolidBrush(kWhite));
    FillRect(picture.dc(), &all, white.get());
    // Shared icon from the system: never destroyed.
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION));
    if (icon) DrawIconEx(picture.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return picture.Release();
}

bool currentAnswer = false;  // the answer of the message being shown

}  // namespace

FormSpec FrmMessage::Spec() const {
    // Form_Load fits the frame exactly around the client area.
    return FixedDialogSpec("Message", kClientWidth, kClientHeight);
}

void FrmMessage::CreateControls() {
    picIcon.Create({240, 240, kIconSize, kIconSize});
    picIcon.SetBackColor(kWhite);
    if (!picIcon.Picture()) picIcon.SetPicture(DrawInformationIcon(TwipsToPxX(kIconSize)));
    txtMessage.Create("", {900, 240, 5610, 1560});
    txtMessage.SetBackColor(kWhite);
    chkNoShow.Create("&Don't show this message again.", {180, 2190, 3000, 255});
    cmdRestart.Create("", {3330, 2145, 2025, 345});
    cmdOK.Create("&Close", {5445, 2145, 1125, 345}, ButtonOptions{.isDefault = true});
}

void FrmMessage::BindEvents() {
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdRestart.Click = [this] { cmdRestart_Click(); };
}

int FrmMessage::DefaultButtonId() const { return cmdOK.Visible() ? cmdOK.id() : cmdRestart.id(); }

void FrmMessage::Form_Load() {
    // Size the frame around the designed client area, whatever the system's borders.
    int width = Width() + kClientWidth - ScaleWidth();
    int height = Height() + kClientHeight - ScaleHeight();
    Move(Left(), Top(), width, height);

    MoveToStoredPosition(*this, windowpos::Message);

    if (gHotSpotMode) {
        cmdOK.SetVisible(false);
        cmdRestart.Move(cmdOK.Left() + cmdOK.Width() - cmdRestart.Width(), cmdRestart.Top());
    }
}

void FrmMessage::cmdOK_Click() {
    currentAnswer = false;
    gResult = false;
    Unload();
}

void FrmMessage::cmdRestart_Click() {
    currentAnswer = true;
    gResult = true;
    Unload();
}

void FrmMessage::Form_Unload(bool& /*cancel*/) {
    // Without a name there is no reminder to keep (an empty name would be the key's default value).
    if (!chkNoShow.Tag.empty()) {
        WriteSetting(SettingDef{Store::Settings, chkNoShow.Tag.c_str(), REG_SZ, nullptr},
                     std::to_string(chkNoShow.Value()));
    }
    SaveWindowPosition(*this, windowpos::Message);
}

void FrmMessage::OnPaint(HDC dc) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    RECT band{0, 0, client.right, TwipsToPxY(kBandHeight)};
    UniqueBrush white(CreateSolidBrush(kWhite));
    FillRect(dc, &band, white.get());
    RECT rule{0, band.bottom, client.right, band.bottom + 1};
    FillRect(dc, &rule, GetSysColorBrush(COLOR_3DLIGHT));
}

bool ShowMessage(const std::string& text, const std::string& reminderValueName, const std::string& caption,
                 const std::string& buttonCaption) {
    // Any way of closing but the action button answers False: the close box, Esc, the end of the session.
    currentAnswer = false;
    frmMessage.Load();
    frmMessage.txtMessage.SetText(text);
    frmMessage.SetCaption(caption);
    frmMessage.chkNoShow.Tag = reminderValueName;
    if (buttonCaption.empty()) {
        frmMessage.cmdRestart.SetVisible(false);
    } else {
        frmMessage.cmdRestart.SetText(buttonCaption);
    }
    frmMessage.ShowModal();
    // Set here again, so that nothing that ran while the window was open can change the answer.
    gResult = currentAnswer;
    return currentAnswer;
}
