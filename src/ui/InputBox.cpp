// The input box: a form of its own with a prompt, a text field, OK and Cancel.
#include "ui/InputBox.h"

#include "ui/Control.h"
#include "ui/Form.h"

InputBoxHook gInputBoxHook = nullptr;

namespace {

// Geometry of the client area in twips.
constexpr int kClientWidth = 6000;
constexpr int kClientHeight = 1860;

class FrmInputBox : public Form {
  public:
    FrmInputBox() : Form("frmInputBox") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1800,
        ID_lblPrompt = kIdBase + 1,
        ID_cmdOK,
        ID_cmdCancel,
        ID_txtInput,
    };

    Label lblPrompt{*this, ID_lblPrompt};
    Button cmdOK{*this, ID_cmdOK};
    Button cmdCancel{*this, ID_cmdCancel};
    TextBox txtInput{*this, ID_txtInput};

    std::string answer;

  protected:
    FormSpec Spec() const override { return FixedDialogSpec("", kClientWidth, kClientHeight); }
    void CreateControls() override {
        lblPrompt.Create("", {120, 120, 4500, 1080});
        cmdOK.Create("OK", {4740, 120, 1140, 375}, ButtonOptions{.isDefault = true});
        cmdCancel.Create("Cancel", {4740, 600, 1140, 375});
        txtInput.Create("", {120, 1380, 5760, 315});
    }
    void BindEvents() override {
        cmdOK.Click = [this] {
            answer = txtInput.Text();
            Unload();
        };
        cmdCancel.Click = [this] { Unload(); };
    }
    void Form_Load() override {
        // The frame fits exactly around the designed client area, whatever the system's borders.
        Move(Left(), Top(), Width() + kClientWidth - ScaleWidth(), Height() + kClientHeight - ScaleHeight());
    }
    void Form_Activate() override {
        txtInput.SetFocus();
        SendMessageA(txtInput.hwnd(), EM_SETSEL, 0, -1);
    }
    int DefaultButtonId() const override { return cmdOK.id(); }
    int CancelButtonId() const override { return cmdCancel.id(); }
};

FrmInputBox frmInputBox;

}  // namespace

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    if (gInputBoxHook) return gInputBoxHook(prompt, title, defaultText);
    frmInputBox.answer.clear();
    frmInputBox.Load();
    frmInputBox.SetCaption(title);
    frmInputBox.lblPrompt.SetText(prompt);
    frmInputBox.txtInput.SetText(defaultText);
    frmInputBox.ShowModal();
    // Closed any way but OK: the answer stays empty.
    std::string answer = std::move(frmInputBox.answer);
    frmInputBox.Unload();
    return answer;
}
