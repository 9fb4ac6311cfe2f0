// The message window: a text, an optional action button, Close, and a "don't show again" box
// kept as a reminder setting named by the caller.
#pragma once

#include <string>

#include "ui/Control.h"
#include "ui/Form.h"

class FrmMessage : public Form {
  public:
    FrmMessage() : Form("frmMessage") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1600,
        ID_picIcon = kIdBase + 1,
        ID_txtMessage,
        ID_chkNoShow,
        ID_cmdRestart,
        ID_cmdOK,
    };

    PictureBox picIcon{*this, ID_picIcon};
    Label txtMessage{*this, ID_txtMessage};
    CheckBox chkNoShow{*this, ID_chkNoShow};  // its Tag names the reminder value
    Button cmdRestart{*this, ID_cmdRestart};
    Button cmdOK{*this, ID_cmdOK};

    void cmdOK_Click();
    void cmdRestart_Click();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    int DefaultButtonId() const override;
    int CancelButtonId() const override { return cmdOK.id(); }
    void OnPaint(HDC dc) override;
};

extern FrmMessage frmMessage;

// Shows the message window modally and returns when it has closed. An empty button caption shows
// only Close. Answers (and leaves in gResult) True only when the action button closed the window.
bool ShowMessage(const std::string& text, const std::string& reminderValueName, const std::string& caption,
                 const std::string& buttonCaption);
