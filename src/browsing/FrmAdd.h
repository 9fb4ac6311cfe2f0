// The reference window: files the selected result icon under a keyword.
#pragma once

#include <array>
#include <optional>

#include "ui/Control.h"
#include "ui/Form.h"

class FrmAdd : public Form {
  public:
    FrmAdd() : Form("frmAdd") {}

    ComboBox cmbSearch{*this, 1001};  // every keyword, catalogue and user, in the main keyword box's order
    Frame fraType{*this, 1002};       // "Icon Type"
    std::array<OptionButton, 9> optType{{{*this, 1010}, {*this, 1011}, {*this, 1012}, {*this, 1013}, {*this, 1014},
                                         {*this, 1015}, {*this, 1016}, {*this, 1017}, {*this, 1018}}};

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

  private:
    void ShowTypes();
    std::array<bool, 9> typeEnabled_{};
    int chosenType_ = 0;
};

extern FrmAdd frmAdd;
