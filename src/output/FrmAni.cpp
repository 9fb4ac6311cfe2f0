// The animation player window.
#include "output/FrmAni.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "core/ErrorBox.h"
#include "core/Errors.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/MainShared.h"
#include "output/AnimationFrames.h"
#include "ui/App.h"
#include "ui/Units.h"

FrmAni frmAni;

namespace {

constexpr int kMinSpeed = 1, kMaxSpeed = 30, kStartSpeed = 5;
constexpr int kFrameSize = 32;  // pixels
// Geometry in twips.
constexpr int kClientWidth = 3990, kClientHeight = 2100;
constexpr int kButtonLeft = 2070, kButtonWidth = 1800, kButtonHeight = 300;
constexpr int kPictureLeft = 1740, kPictureSize = 240;
constexpr int kMemoryError = 480;
constexpr const char* kMemoryText =
    "Your system has insufficient memory to draw the icons.\rPlease close other applications and try again.";

// A picture of the main window's navigation pictures, for a picture button; none when it is missing.
HICON NavButtonPicture(const std::string& key) {
    const int index = frmMain.imlNav.IndexOf(key);
    return index > 0 ? frmMain.imlNav.GetIcon(index).release() : nullptr;
}

}  // namespace

AniSpeed AniSpeedFor(int framesPerSecond) {
    const int v = std::clamp(framesPerSecond, kMinSpeed, kMaxSpeed);
    // Half to even, in whole numbers: 62.5 is 62.
    int interval = 1000 / v;
    const int twiceRest = 2 * (1000 % v);
    if (twiceRest > v || (twiceRest == v && interval % 2 == 1)) ++interval;
    return {interval, "animation speed: " + std::to_string(v) + (v < 2 ? " frame per second" : " frames per second")};
}

AniTick NextAniFrame(int32_t frameNr, bool down, int32_t frameCount, PlayOrder order) {
    if (order == PlayOrder::None || frameCount < 1) return {0, frameNr, down};
    // A new collection of fewer frames, or one made while counting down, starts at the first.
    if (frameNr < 1 || frameNr > frameCount) {
        frameNr = 1;
        down = false;
    }
    const int32_t paint = frameNr;
    if (order == PlayOrder::Sequential) return {paint, frameNr == frameCount ? 1 : frameNr + 1, down};
    if (!down && ++frameNr == frameCount + 1) down = true;
    if (down && --frameNr <= 1) {
        frameNr = 1;
        down = false;
    }
    return {paint, frameNr, down};
}

void ShowAnimationPlayer() { frmAni.Show(); }

FrmAni::FrmAni() : Form("frmAni") {
    // A pop-up only: the window has no menu bar.
    using namespace menus;
    // Popup-only.
    Menus().Define({Hidden(Menu(ID_mnuBackColor, "&Backcolor", {Item(ID_mnuBSet, "&Set Backcolor To...")}))});
}

FormSpec FrmAni::Spec() const {
    FormSpec s = FixedDialogSpec("Animation", kClientWidth, kClientHeight, BorderStyle::FixedSingle);
    s.minButton = true;
    return s;
}

void FrmAni::CreateControls() {
    picIconBack.Create({120, 120, 1440, 1440}, PictureBoxOptions{.border = true});
    imgRechts.Create({kPictureLeft, 210, kPictureSize, kPictureSize});
    imgTegen.Create({kPictureLeft, 630, kPictureSize, kPictureSize});
    imgTop.Create({kPictureLeft, 1050, kPictureSize, kPictureSize});
    chkTop.Create("Always On Top", {kButtonLeft, 1020, kButtonWidth, kButtonHeight});
    lblSlow.Create("1", {120, 1800, 240, 225}, Alignment::RightJustify);
    sldAni.Create({390, 1680, 3210, 450});
    lblFast.Create("30", {3630, 1800, 300, 225});
    sldAni.SetRange(kMinSpeed, kMaxSpeed);
    // The options last, so that no later sibling falls into their group.
    RechtsBut.Create("Sequential", {kButtonLeft, 180, kButtonWidth, kButtonHeight},
                     OptionButtonOptions{.group = true});
    TegenBut.Create("Back and Forth", {kButtonLeft, 600, kButtonWidth, kButtonHeight});
    imgRechts.SetToolTipText("Sequential");
    imgTegen.SetToolTipText("Back And Forth");
    imgTop.SetToolTipText("Always On Top");
}

void FrmAni::BindEvents() {
    tmrFilm.Tick = [this] { tmrFilm_Timer(); };
    sldAni.Change = [this] { sldAni_Change(); };
    chkTop.Click = [this] { chkTop_Click(); };
    imgTop.Click = [this] { imgTop_Click(); };
    imgRechts.Click = [this] { imgRechts_Click(); };
    imgTegen.Click = [this] { imgTegen_Click(); };
    picIconBack.MouseUp = [this](int button, int shift, float x, float y) { picIconBack_MouseUp(button, shift, x, y); };
}

bool FrmAni::OnMenuCommand(int id) {
    if (id != ID_mnuBSet) return false;
    mnuBSet_Click();
    return true;
}

void FrmAni::Form_Load() {
    savedWidth_ = Width();
    savedHeight_ = Height();
    // A missing or unreadable place centres the window.
    MoveToStoredPosition(*this, windowpos::Ani);
    savedLeft_ = Left();
    savedTop_ = Top();
    direction_ = false;
    RechtsBut.SetValue(true);
}

void FrmAni::Form_Activate() {
    RECT stage{};
    GetClientRect(picIconBack.hwnd(), &stage);
    offsetX_ = stage.right / 2 - kFrameSize / 2;
    offsetY_ = stage.bottom / 2 - kFrameSize / 2;
    imgRechts.SetIcon(NavButtonPicture("sequential"));
    imgTegen.SetIcon(NavButtonPicture("backforth"));
    imgTop.SetIcon(NavButtonPicture("top"));
    // A collection starts at frame 1; counting on down from there would leave the frames held.
    direction_ = false;
    tmrFilm.SetTimerEnabled(true);
    if (sldAni.Value() == kStartSpeed) sldAni_Change();
    else sldAni.SetValue(kStartSpeed);
    picIconBack.SetToolTipText(std::to_string(gFrameCount) + " frames");
    SetScreenMousePointer(PointerShape::Default);
}

void FrmAni::sldAni_Change() {
    const AniSpeed speed = AniSpeedFor(sldAni.Value());
    tmrFilm.SetInterval(speed.interval);
    sldAni.SetToolTipText(speed.toolTip);
}

PlayOrder FrmAni::Order() const {
    if (RechtsBut.Value()) return PlayOrder::Sequential;
    if (TegenBut.Value()) return PlayOrder::BackAndForth;
    return PlayOrder::None;
}

// The tick returns to the message loop at once, which runs whatever waits; it pumps nothing itself,
// so it never runs inside itself nor under a window that a pumped close destroyed.
void FrmAni::tmrFilm_Timer() {
    const AniTick tick = NextAniFrame(gFrameNr, direction_, gFrameCount, Order());
    gFrameNr = tick.next;
    direction_ = tick.down;
    if (tick.paint > 0) PaintFrame(tick.paint);
}

void FrmAni::PaintFrame(int32_t n) {
    try {
        HDC stage = picIconBack.hDC();
        if (!stage || !picIconBack.Image())
            throw RuntimeError(kMemoryError, "Animation", "The stage's picture could not be made.");
        const auto element = static_cast<size_t>(n);
        const PictureBox* frame = element < frmMain.picFilm.size() ? &frmMain.picFilm[element] : nullptr;
        const auto back = frame ? frame->BackColor() : std::nullopt;
        UniqueBrush brush(CreateSolidBrush(back ? ToColorRef(*back) : GetSysColor(COLOR_BTNFACE)));
        RECT square{offsetX_, offsetY_, offsetX_ + kFrameSize, offsetY_ + kFrameSize};
        FillRect(stage, &square, brush.get());
        if (frame && frame->Icon()) picIconBack.PaintPicture(frame->Icon(), offsetX_, offsetY_, kFrameSize, kFrameSize);
        else if (frame && frame->Picture())
            picIconBack.PaintPicture(frame->Picture(), offsetX_, offsetY_, kFrameSize, kFrameSize);
        picIconBack.Refresh();
    } catch (const RuntimeError& e) {
        TickFailed(e.number(), e.source(), e.what());
    } catch (const std::exception& e) {
        TickFailed(5, "Animation", e.what());
    }
}

void FrmAni::TickFailed(int32_t number, const std::string& source, const std::string& description) {
    // The box runs its own loop, in which the timer would tick again and put up box after box.
    tmrFilm.SetTimerEnabled(false);
    if (number == kMemoryError) {
        gResult = MsgBox(kMemoryText, MsgBoxStyle::Exclamation, "Animation error", hwnd());
        Unload();
        return;
    }
    ShowError(number, source, description);
    if (IsLoaded()) tmrFilm.SetTimerEnabled(true);
}

void FrmAni::chkTop_Click() {
    savedLeft_ = Left();
    savedTop_ = Top();
    SetWindowPos(hwnd(), chkTop.Value() == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // Only the order above other windows changes.
    Move(savedLeft_, savedTop_, savedWidth_, savedHeight_);
}

void FrmAni::imgTop_Click() { chkTop.SetValue(chkTop.Value() == 1 ? 0 : 1); }

// Clicking the picture of the order being played stops the player; clicking it again goes on.
void FrmAni::imgRechts_Click() { RechtsBut.SetValue(!RechtsBut.Value()); }
void FrmAni::imgTegen_Click() { TegenBut.SetValue(!TegenBut.Value()); }

void FrmAni::picIconBack_MouseUp(int button, int /*shift*/, float /*x*/, float /*y*/) {
    if (button == 2) PopupMenu(ID_mnuBackColor);
}

void FrmAni::mnuBSet_Click() {
    const std::optional<COLORREF> color = PickColor(hwnd());
    if (!color) return;
    picIconBack.SetBackColor(*color);
    picIconBack.Cls();
    for (int32_t i = 1; i <= gFrameCount; ++i) frmMain.FilmElement(static_cast<size_t>(i)).SetBackColor(*color);
}

void FrmAni::procSavePos() { SaveWindowPosition(*this, windowpos::Ani); }

void FrmAni::Form_Unload(bool& /*cancel*/) { procSavePos(); }
