// The reference window: files the selected result icon under a keyword.
#pragma once

#include <array>
#include <optional>

#include "ui/Control.h"
#include "ui/Form.h"

class FrmAdd : public Form {
  public:
    FrmAdd() : Form("frmAdd") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1200,
        ID_cmbSearch = kIdBase + 1,
        ID_fraType,
        ID_optType_First,  // the nine type options, index 0 to 8
        ID_optType_Last = ID_optType_First + 8,
        ID_lblKeyword,
        ID_cmdAdd,
        ID_cmdCancel,
    };

    Label lblKeyword{*this, ID_lblKeyword};   // "Keyword:"

    ComboBox cmbSearch{*this, ID_cmbSearch};  // every keyword, catalogue and user, in the main keyword box's order
    Frame fraType{*this, ID_fraType};         // "Icon Type"
    std::array<OptionButton, 9> optType{{{*this, ID_optType_First},
                                         {*this, ID_optType_First + 1},
                                         {*this, ID_optType_First + 2},
                                         {*this, ID_optType_First + 3},
                                         {*this, ID_optType_First + 4},
                                         {*this, ID_optType_First + 5},
                                         {*this, ID_optType_First + 6},
                                         {*this, ID_optType_First + 7},
                                         {*this, ID_optType_Last}}};
    Button cmdAdd{*this, ID_cmdAdd};        // "&Add": off until a keyword is chosen
    Button cmdCancel{*this, ID_cmdCancel};  // "&Cancel"

    // Add is on while a keyword is chosen.
    void cmbSearch_Click();
    // Files the main window's selected icon under the chosen keyword with the chosen type, first
    // among the references; a pair that exists already is refused.
    void cmdAdd_Click();
    void cmdCancel_Click();

    // The type options the selected result item allows and the one it suggests (nullopt keeps the
    // chosen type). Kept while the window is not made, so that the selection need not make it.
    void PresetTypes(const std::array<bool, 9>& enabled, std::optional<int> chosen);
    bool TypeEnabled(int index) const { return typeEnabled_[static_cast<size_t>(index)]; }
    int ChosenType() const { return chosenType_; }

    // Refills the keyword box from the main window's keyword box.
    void FillKeywords();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    // The close box hides the window, as Cancel does; only the exit unloads it.
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    int DefaultButtonId() const override { return cmdAdd.id(); }
    int CancelButtonId() const override { return cmdCancel.id(); }

  private:
    void ShowTypes();
    std::array<bool, 9> typeEnabled_{};
    int chosenType_ = 0;
};

extern FrmAdd frmAdd;
