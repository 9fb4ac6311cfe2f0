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
    void Create(const std::string& text, int left, int top, int width, int height);
};

class FrmTip : public Form {
  public:
    FrmTip() : Form("frmTip") {}

    static constexpr int kTipCount = 28;

    Button cmdOK{*this, 1001};
    Button cmdNextTip{*this, 1002};
    CheckBox chkTip{*this, 1003};
    PictureBox picLogo{*this, 1004};
    Label txtTitle{*this, 1005};
    PlainTextBox txtTip{*this, 1006};
    PictureBox picTipBack{*this, 1007};

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
