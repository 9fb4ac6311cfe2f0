// The animation player: its speed and the order of the frames it paints as tables, then the window
// over the loaded main window, shown by Play on frames of real animated cursors; ticks are run by
// hand and the stage's pixels tell which frame was painted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AniMaker.h"
#include "PageFixture.h"
#include "common/PagePictures.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/Selection.h"
#include "output/AnimationFrames.h"
#include "output/FrmAni.h"

namespace {

constexpr int kSeedA = 1, kSeedB = 2;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr int kTwips = 15;

// The frames painted by `ticks` ticks from a frame number and direction (0: nothing painted).
std::vector<int> Painted(int32_t frameCount, PlayOrder order, int32_t frameNr, bool down, int ticks) {
    std::vector<int> painted;
    for (int i = 0; i < ticks; ++i) {
        const AniTick tick = NextAniFrame(frameNr, down, frameCount, order);
        painted.push_back(tick.paint);
        frameNr = tick.next;
        down = tick.down;
        if (frameCount > 0) {
            EXPECT_TRUE(frameNr >= 1 && frameNr <= frameCount) << frameNr;
        }
    }
    return painted;
}

class AniPlayerTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        ClearPlace();
        gShowAnimationPlayer = ShowAnimationPlayer;
        gFilmMode = false;
        fileA = dir.path() + "A.ani";
        fileB = dir.path() + "B.ani";
        ASSERT_TRUE(WriteAniFile(fileA, kSeedA, 3));
        ASSERT_TRUE(WriteAniFile(fileB, kSeedB, 2));
        frmMain.Show();
    }
    void TearDown() override {
        frmAni.Unload();
        frmAni.chkTop.SetValue(0);
        frmAni.picIconBack.SetBackColor(std::nullopt);
        for (size_t i = 1; i < frmMain.picFilm.size(); ++i) frmMain.picFilm[i].SetBackColor(std::nullopt);
        ReleaseAniIcon();
        ClearPlace();
        PagesTest::TearDown();
    }
    static void ClearPlace() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, StoreKey(Store::Pos), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        RegDeleteValueA(key, "AniTop");
        RegDeleteValueA(key, "AniLeft");
        RegCloseKey(key);
    }
    // Play on the first frame of a file's run, from the main window, as the user does.
    void Play(const std::string& file, int frames) {
        const std::vector<std::string> run = AniRunEntries(file, frames);
        frmMain.cmbResult.Clear();
        for (const std::string& e : run) frmMain.cmbResult.AddItem(e);
        SetForegroundWindow(frmMain.hwnd());
        frmMain.CollectAniFrames(run[0], ";", -1, 4, true);
        seed = file == fileA ? kSeedA : kSeedB;
    }
    // The frame the stage shows in its middle, 0 for none.
    int StageFrame() {
        RECT r{};
        GetClientRect(frmAni.picIconBack.hwnd(), &r);
        const COLORREF shown = frmAni.picIconBack.Point(r.right / 2, r.bottom / 2);
        for (int i = 1; i <= gFrameCount; ++i)
            if (shown == FrameColour(seed, i - 1)) return i;
        return 0;
    }
    // Runs ticks on a cleared stage; answers the frames painted.
    std::vector<int> Ticks(int n) {
        std::vector<int> painted;
        for (int i = 0; i < n; ++i) {
            frmAni.picIconBack.Cls();
            frmAni.tmrFilm_Timer();
            painted.push_back(StageFrame());
        }
        return painted;
    }
    static std::string Tip(const Control& c) { return c.ToolTipText(); }
    std::string fileA, fileB;
    int seed = kSeedA;
};

}  // namespace

TEST(AniSpeed, IntervalAndToolTip) {
    struct Case {
        int framesPerSecond, interval;
        const char* toolTip;
    } cases[] = {
        {1, 1000, "animation speed: 1 frame per second"},   {2, 500, "animation speed: 2 frames per second"},
        {3, 333, "animation speed: 3 frames per second"},   {5, 200, "animation speed: 5 frames per second"},
        {7, 143, "animation speed: 7 frames per second"},   {16, 62, "animation speed: 16 frames per second"},
        {30, 33, "animation speed: 30 frames per second"},  {8, 125, "animation speed: 8 frames per second"},
        // Outside the slider's range: its nearest end.
        {0, 1000, "animation speed: 1 frame per second"},   {31, 33, "animation speed: 30 frames per second"},
    };
    for (const Case& c : cases) {
        const AniSpeed speed = AniSpeedFor(c.framesPerSecond);
        EXPECT_EQ(speed.interval, c.interval) << c.framesPerSecond;
        EXPECT_EQ(speed.toolTip, c.toolTip) << c.framesPerSecond;
    }
}

TEST(NextAniFrame, PaintedSequences) {
    using P = PlayOrder;
    struct Case {
        const char* what;
        int32_t frames;
        P order;
        int32_t frameNr;
        bool down;
        std::vector<int> painted;
    } cases[] = {
        {"three in sequence", 3, P::Sequential, 1, false, {1, 2, 3, 1, 2, 3, 1}},
        {"three back and forth", 3, P::BackAndForth, 1, false, {1, 2, 3, 3, 2, 1, 2, 3, 3, 2, 1}},
        {"two back and forth", 2, P::BackAndForth, 1, false, {1, 2, 2, 1, 2, 2, 1}},
        {"one in sequence", 1, P::Sequential, 1, false, {1, 1, 1}},
        {"one back and forth", 1, P::BackAndForth, 1, false, {1, 1, 1, 1}},
        {"no order stands still", 3, P::None, 2, false, {0, 0, 0}},
        {"no frames", 0, P::Sequential, 1, false, {0, 0}},
        {"no frames, back and forth", 0, P::BackAndForth, 1, true, {0, 0}},
        // A new collection sets frame 1 but leaves the direction: it counts up again.
        {"restart while counting down", 3, P::BackAndForth, 1, true, {1, 1, 2, 3, 3, 2, 1}},
        {"a frame past a shorter collection", 2, P::BackAndForth, 5, true, {1, 2, 2, 1}},
        {"frame 0 in sequence", 3, P::Sequential, 0, false, {1, 2, 3, 1}},
        {"negative frame", 3, P::Sequential, -4, false, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Painted(c.frames, c.order, c.frameNr, c.down, static_cast<int>(c.painted.size())), c.painted);
    }
    // Standing still keeps the frame number and direction.
    const AniTick still = NextAniFrame(2, true, 3, PlayOrder::None);
    EXPECT_EQ(still.next, 2);
    EXPECT_TRUE(still.down);
}

TEST_F(AniPlayerTest, PlayShowsThePlayerReadyToPlay) {
    Play(fileA, 3);
    ASSERT_TRUE(frmAni.Visible());
    EXPECT_EQ(frmAni.Caption(), "Animation");
    EXPECT_TRUE(frmAni.RechtsBut.Value());
    EXPECT_FALSE(frmAni.TegenBut.Value());
    EXPECT_EQ(frmAni.chkTop.Value(), 0);
    EXPECT_EQ(frmAni.sldAni.Min(), 1);
    EXPECT_EQ(frmAni.sldAni.Max(), 30);
    EXPECT_EQ(frmAni.sldAni.Value(), 5);
    EXPECT_EQ(frmAni.tmrFilm.Interval(), 200);
    EXPECT_TRUE(frmAni.tmrFilm.TimerEnabled());
    EXPECT_EQ(Tip(frmAni.sldAni), "animation speed: 5 frames per second");
    EXPECT_EQ(Tip(frmAni.picIconBack), "3 frames");
    EXPECT_EQ(Tip(frmAni.imgRechts), "Sequential");
    EXPECT_EQ(Tip(frmAni.imgTegen), "Back And Forth");
    EXPECT_EQ(Tip(frmAni.imgTop), "Always On Top");
    for (const PictureBox* button : {&frmAni.imgRechts, &frmAni.imgTegen, &frmAni.imgTop})
        EXPECT_NE(button->Icon(), nullptr) << button->id();
    EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);

    // The real timer plays on its own.
    frmAni.picIconBack.Cls();
    for (int i = 0; i < 50 && StageFrame() == 0; ++i) {
        DoEvents();
        Sleep(20);
    }
    EXPECT_NE(StageFrame(), 0);

    gFrameCount = 12;
    frmAni.Form_Activate();
    EXPECT_EQ(Tip(frmAni.picIconBack), "12 frames");
}

TEST_F(AniPlayerTest, OrdersAndThePictureButtonsThatStopAndResume) {
    Play(fileA, 3);
    struct Step {
        const char* what;
        void (*act)();
        std::vector<int> painted;
    } steps[] = {
        {"sequential", [] {}, {1, 2, 3, 1}},
        {"sequential picture stops", [] { frmAni.imgRechts_Click(); }, {0, 0, 0}},
        {"and resumes", [] { frmAni.imgRechts_Click(); }, {2, 3}},
        {"back and forth", [] { frmAni.TegenBut.SetValue(true); }, {1, 2, 3, 3, 2, 1}},
        {"back and forth picture stops", [] { frmAni.imgTegen_Click(); }, {0, 0}},
        {"and resumes", [] { frmAni.imgTegen_Click(); }, {2, 3, 3}},
    };
    // A tick paints a frame drawn once by the collection: no file is read again.
    const int reads = PageFileReads();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(Ticks(static_cast<int>(s.painted.size())), s.painted);
    }
    EXPECT_EQ(PageFileReads(), reads);
    EXPECT_FALSE(frmAni.RechtsBut.Value());
    EXPECT_TRUE(frmAni.TegenBut.Value());
}

TEST_F(AniPlayerTest, ANewCollectionWhileCountingDownStartsAtTheFirstFrame) {
    Play(fileA, 3);
    frmAni.TegenBut.SetValue(true);
    EXPECT_EQ(Ticks(4), (std::vector<int>{1, 2, 3, 3}));
    EXPECT_TRUE(frmAni.Direction());
    Play(fileB, 2);
    EXPECT_FALSE(frmAni.Direction());
    EXPECT_EQ(gFrameNr, 1);
    EXPECT_EQ(Tip(frmAni.picIconBack), "2 frames");
    EXPECT_EQ(Ticks(7), (std::vector<int>{1, 2, 2, 1, 2, 2, 1}));
}

TEST_F(AniPlayerTest, ActivationSetsFiveFramesPerSecondAgain) {
    Play(fileA, 3);
    struct Case {
        int value, interval;
        const char* toolTip;
    } cases[] = {{16, 62, "animation speed: 16 frames per second"}, {1, 1000, "animation speed: 1 frame per second"}};
    for (const Case& c : cases) {
        frmAni.sldAni.SetValue(c.value);
        EXPECT_EQ(frmAni.tmrFilm.Interval(), c.interval);
        EXPECT_EQ(Tip(frmAni.sldAni), c.toolTip);
        // To the main window and back.
        SetForegroundWindow(frmMain.hwnd());
        SetForegroundWindow(frmAni.hwnd());
        EXPECT_EQ(frmAni.sldAni.Value(), 5);
        EXPECT_EQ(frmAni.tmrFilm.Interval(), 200);
        EXPECT_EQ(Tip(frmAni.sldAni), "animation speed: 5 frames per second");
    }
}

TEST_F(AniPlayerTest, PlaceKeptNotWhenMinimisedCentredWithout) {
    Play(fileA, 3);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN) * kTwips;
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN) * kTwips;
    EXPECT_NEAR(frmAni.Left(), (screenWidth - frmAni.Width()) / 2, kTwips);
    EXPECT_NEAR(frmAni.Top(), (screenHeight - frmAni.Height()) / 2, kTwips);

    frmAni.Move(1500, 1200);
    frmAni.Unload();
    EXPECT_EQ(ReadStoredSetting(setting::AniTop).Number(), 1200);
    EXPECT_EQ(ReadStoredSetting(setting::AniLeft).Number(), 1500);

    Play(fileA, 3);
    EXPECT_EQ(frmAni.Left(), 1500);
    EXPECT_EQ(frmAni.Top(), 1200);
    frmAni.Move(3000, 2400);
    frmAni.SetWindowState(FormWindowState::Minimized);
    ASSERT_EQ(frmAni.WindowState(), FormWindowState::Minimized);
    frmAni.Unload();
    EXPECT_EQ(ReadStoredSetting(setting::AniTop).Number(), 1200);
    EXPECT_EQ(ReadStoredSetting(setting::AniLeft).Number(), 1500);
}

TEST_F(AniPlayerTest, AlwaysOnTopChangesOnlyTheOrderAboveOtherWindows) {
    Play(fileA, 3);
    frmAni.Move(1800, 900);
    const int width = frmAni.Width(), height = frmAni.Height();
    auto topmost = [] { return (GetWindowLongA(frmAni.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    struct Step {
        const char* what;
        void (*act)();
        bool on;
    } steps[] = {
        {"check box", [] { frmAni.chkTop.SetValue(1); }, true},
        {"picture", [] { frmAni.imgTop_Click(); }, false},
        {"picture again", [] { frmAni.imgTop_Click(); }, true},
        {"check box off", [] { frmAni.chkTop.SetValue(0); }, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(frmAni.chkTop.Value(), s.on ? 1 : 0);
        EXPECT_EQ(topmost(), s.on);
        EXPECT_EQ(frmAni.Left(), 1800);
        EXPECT_EQ(frmAni.Top(), 900);
        EXPECT_EQ(frmAni.Width(), width);
        EXPECT_EQ(frmAni.Height(), height);
        EXPECT_TRUE(frmAni.Visible());
    }
}

TEST_F(AniPlayerTest, ANewBackColourUnderEveryFrame) {
    Play(fileA, 3);
    const ColorPicker saved = gColorPicker;
    gColorPicker = [](CHOOSECOLORA& c) {
        EXPECT_TRUE(c.Flags & CC_FULLOPEN);
        c.rgbResult = kRed;
        return true;
    };
    frmAni.mnuBSet_Click();
    EXPECT_EQ(frmAni.picIconBack.Point(0, 0), kRed);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(frmMain.picFilm[static_cast<size_t>(i)].BackColor(), kRed) << i;

    RECT r{};
    GetClientRect(frmAni.picIconBack.hwnd(), &r);
    const int left = r.right / 2 - 16, top = r.bottom / 2 - 16;
    for (int i = 1; i <= 3; ++i) {
        const std::vector<int> painted = Ticks(1);
        EXPECT_EQ(painted[0], i);
        // The frame's clear border shows the new colour, its picture covers the rest.
        EXPECT_EQ(frmAni.picIconBack.Point(left, top), kRed);
        EXPECT_EQ(frmAni.picIconBack.Point(left + 31, top + 31), kRed);
        EXPECT_EQ(frmAni.picIconBack.Point(left + 4, top + 4), RGB(255, 255, 255));
    }

    // Cancelled: nothing changes.
    gColorPicker = [](CHOOSECOLORA&) { return false; };
    frmAni.mnuBSet_Click();
    EXPECT_EQ(frmAni.picIconBack.BackColor(), kRed);
    EXPECT_EQ(frmMain.picFilm[1].BackColor(), kRed);
    gColorPicker = saved;
}
