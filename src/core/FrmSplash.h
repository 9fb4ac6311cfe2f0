// The splash window: records the program's folders, then hands over to the main window.
#pragma once

#include <functional>

#include "ui/Control.h"
#include "ui/Form.h"

// What the splash hands over to when its time is up; the main window's layer registers both.
struct SplashHandover {
    std::function<void()> showMainWindow;
    // Takes a copy of the splash picture, which the receiver then owns.
    std::function<void(HBITMAP picture)> takePicture;
};
void SetSplashHandover(SplashHandover handover);

class FrmSplash : public Form {
  public:
    FrmSplash() : Form("frmSplash") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1700,
        ID_picSplash = kIdBase + 1,
        ID_tmrSplash,
    };

    PictureBox picSplash{*this, ID_picSplash};
    Timer tmrSplash{*this, ID_tmrSplash};

    void tmrSplash_Timer();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
};

extern FrmSplash frmSplash;
