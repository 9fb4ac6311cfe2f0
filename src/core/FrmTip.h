// The tip-of-the-day window: 28 fixed tips, stepped through one by one, with the next tip and the
// show-at-start choice kept in the settings.
#pragma once

#include <cstdint>

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/Unique.h"

// A read-only multi-line text without frame or scroll bar, for text drawn on a coloured panel.
class PlainTextBox : public TextBox {
  public:
    using TextBox::TextBox;
    void Create(const std::string& text, Bounds bounds);
};

class FrmTip : public Form {
  public:
    FrmTip() : Form("frmTip") {}

    static constexpr int kTipCount = 28;

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1500,
        ID_cmdOK = kIdBase + 1,
        ID_cmdNextTip,
        ID_chkTip,
        ID_picLogo,
        ID_txtTitle,
        ID_txtTip,
        ID_picTipBack,
    };

    Button cmdOK{*this, ID_cmdOK};
    Button cmdNextTip{*this, ID_cmdNextTip};
    CheckBox chkTip{*this, ID_chkTip};
    PictureBox picLogo{*this, ID_picLogo};
    Label txtTitle{*this, ID_txtTitle};
    PlainTextBox txtTip{*this, ID_txtTip};
    PictureBox picTipBack{*this, ID_picTipBack};

    // The number of the tip shown; it may lie outside 1 to 28 when the stored number does.
    int32_t mCurrentTip = 1;

    // Shows tip mCurrentTip; a number outside 1 to 28 leaves the title and text as they are.
    void procShowTip();
    // Stores the number of the tip after the one shown and the show-at-start box.
    void procSaveTipSettings();
    void cmdNextTip_Click();
    void cmdOK_Click();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    int DefaultButtonId() const override { return cmdOK.id(); }
    int CancelButtonId() const override { return cmdOK.id(); }

  private:
    UniqueFont titleFont_;  // owned here, outlives the title label that shows it
};

extern FrmTip frmTip;
