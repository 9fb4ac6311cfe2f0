// The animation player: plays the frames that Play collected into the main window's frame store,
// one per timer tick, in sequence or back and forth, at 1 to 30 frames per second.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/Slider.h"

// The player's speed at a number of frames per second (kept within 1 to 30): the timer's interval
// in milliseconds, 1000 / framesPerSecond rounded half to even, and the slider's tool tip.
struct AniSpeed {
    int interval;
    std::string toolTip;
};
AniSpeed AniSpeedFor(int framesPerSecond);

enum class PlayOrder { None, Sequential, BackAndForth };

// One tick of the player over frames 1 to frameCount: the frame it paints (0: none) and the frame
// number and direction (down: counting down, back and forth) for the next tick. Back and forth
// paints the last frame twice at its upper turn and the first once at its lower. A frame number
// outside the frames held starts again at frame 1, counting up.
struct AniTick {
    int32_t paint;
    int32_t next;
    bool down;
};
AniTick NextAniFrame(int32_t frameNr, bool down, int32_t frameCount, PlayOrder order);

class FrmAni : public Form {
  public:
    FrmAni();

    enum ControlId : int {
        kIdBase = 3200,
        ID_picIconBack = kIdBase + 1,
        ID_RechtsBut,
        ID_TegenBut,
        ID_imgRechts,
        ID_imgTegen,
        ID_chkTop,
        ID_imgTop,
        ID_sldAni,
        ID_lblSlow,
        ID_lblFast,
        ID_tmrFilm,
        ID_mnuBackColor = kIdBase + kMenuIdOffset,
        ID_mnuBSet,
    };

    PictureBox picIconBack{*this, ID_picIconBack};
    OptionButton RechtsBut{*this, ID_RechtsBut};
    OptionButton TegenBut{*this, ID_TegenBut};
    PictureBox imgRechts{*this, ID_imgRechts};
    PictureBox imgTegen{*this, ID_imgTegen};
    CheckBox chkTop{*this, ID_chkTop};
    PictureBox imgTop{*this, ID_imgTop};
    Slider sldAni{*this, ID_sldAni};
    Label lblSlow{*this, ID_lblSlow};  // "1" at the slider's left end
    Label lblFast{*this, ID_lblFast};  // "30" at its right end
    Timer tmrFilm{*this, ID_tmrFilm};

    // Prepares the stage and starts playing at 5 frames per second; every activation does.
    void Form_Activate() override;
    void tmrFilm_Timer();
    void sldAni_Change();
    void chkTop_Click();
    void imgTop_Click();
    void imgRechts_Click();
    void imgTegen_Click();
    // x and y in twips on the stage.
    void picIconBack_MouseUp(int button, int shift, float x, float y);
    void mnuBSet_Click();
    // Stores the window's place, unless it is minimised.
    void procSavePos();

    // Back and forth: counting down.
    bool Direction() const { return direction_; }

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    bool OnMenuCommand(int id) override;

  private:
    PlayOrder Order() const;
    // Paints frame n of the store, over its back colour, onto the stage.
    void PaintFrame(int32_t n);
    // A tick's error: its box, with the timer stopped while it is up.
    void TickFailed(int32_t number, const std::string& source, const std::string& description);

    bool direction_ = false;
    int offsetX_ = 0, offsetY_ = 0;  // pixels: a frame's top-left corner on the stage
    int savedLeft_ = 0, savedTop_ = 0, savedWidth_ = 0, savedHeight_ = 0;  // twips
};

extern FrmAni frmAni;

// Shows the player for the frames just collected (modeless).
void ShowAnimationPlayer();
