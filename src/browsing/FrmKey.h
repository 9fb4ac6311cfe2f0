// The user keyword editor.
#pragma once

#include "ui/Control.h"
#include "ui/Form.h"

class FrmKey : public Form {
  public:
    FrmKey() : Form("frmKey") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1300,
        ID_lstKey = kIdBase + 1,
        ID_txtKey,
        ID_cmdAdd,
        ID_cmdDelete,
        ID_cmdCancel,
    };

    // The user's own keywords in the order loaded, those added at their sorted place, each with its
    // keyword slot as item data. The exit save writes them to "Keyuser.dat".
    ListBox lstKey{*this, ID_lstKey};
    TextBox txtKey{*this, ID_txtKey};  // the keyword typed or the one selected
    Button cmdAdd{*this, ID_cmdAdd};
    Button cmdDelete{*this, ID_cmdDelete};
    Button cmdCancel{*this, ID_cmdCancel};

    // Refills the list with the user keywords of the main window's keyword box.
    void FillKeywords();

    // Files the typed keyword in a new slot and in the three keyword lists, each at its sorted place.
    void cmdAdd_Click();
    // Takes the selected keyword out of the three lists; its slot stays taken.
    void cmdDelete_Click();
    void cmdCancel_Click();
    void lstKey_Click();
    void txtKey_Change();

    // While the text box or the list has the focus; they keep the two from echoing each other.
    bool mTextHasFocus = false;
    bool mListHasFocus = false;

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    void Form_Activate() override;
    int DefaultButtonId() const override { return cmdAdd.id(); }
    int CancelButtonId() const override { return cmdCancel.id(); }
};

extern FrmKey frmKey;
