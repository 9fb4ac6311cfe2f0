// The reference window.
#include "browsing/FrmAdd.h"

#include <string_view>
#include <vector>

#include "mainwindow/FrmMain.h"

FrmAdd frmAdd;

FormSpec FrmAdd::Spec() const { return FixedDialogSpec("Add Reference", 6480, 2400); }

namespace {

constexpr const char* kTypeCaptions[9] = {
    "16 Color Icon",      "256 Color Icon",      "Hi-Color Icon",
    "16 Color Animation", "256 Color Animation", "Hi-Color Animation",
    "16 Color Cursor",    "256 Color Cursor",    "Hi-Color Cursor",
};

}  // namespace

void FrmAdd::CreateControls() {
    cmbSearch.Create(240, 240, 6000, 315, true);
    // Three columns of shape by three rows of colours, as the type digits count.
    for (int i = 0; i < 9; ++i)
        optType[static_cast<size_t>(i)].Create(kTypeCaptions[i], 360 + i / 3 * 1950, 1080 + i % 3 * 330, 1900, 300,
                                               i == 0);
    // Made after the options it holds, so that it paints around them.
    fraType.Create("Icon Type", 240, 780, 6000, 1380);
}

void FrmAdd::BindEvents() {
    for (int i = 0; i < 9; ++i)
        optType[static_cast<size_t>(i)].Click = [this, i] { chosenType_ = i; };
}

// The window is made on first use rather than at start-up, which it would slow down; so its
// keyword box is filled here, from the keywords the catalogue load put into the main window.
void FrmAdd::Form_Load() {
    FillKeywords();
    ShowTypes();
}

void FrmAdd::PresetTypes(const std::array<bool, 9>& enabled, std::optional<int> chosen) {
    typeEnabled_ = enabled;
    if (chosen && *chosen >= 0 && *chosen < 9) chosenType_ = *chosen;
    if (IsLoaded()) ShowTypes();
}

void FrmAdd::ShowTypes() {
    for (int i = 0; i < 9; ++i) {
        optType[static_cast<size_t>(i)].SetEnabled(typeEnabled_[static_cast<size_t>(i)]);
        if (i == chosenType_) optType[static_cast<size_t>(i)].SetValue(true);
    }
}

void FrmAdd::FillKeywords() {
    const ComboBox& keywords = frmMain.cmbSearch;
    std::vector<std::string> texts(static_cast<size_t>(keywords.ListCount()));
    for (int i = 0; i < keywords.ListCount(); ++i) texts[static_cast<size_t>(i)] = keywords.List(i);
    cmbSearch.Clear();
    cmbSearch.AddItems(std::vector<std::string_view>(texts.begin(), texts.end()));
}
