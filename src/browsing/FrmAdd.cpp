// The reference window.
#include "browsing/FrmAdd.h"

#include <string_view>
#include <vector>

#include "common/ResultEntry.h"
#include "browsing/UserReferences.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "ui/App.h"

FrmAdd frmAdd;

namespace {

// Geometry of the client area in twips.
constexpr int kClientWidth = 6480;
constexpr int kClientHeight = 3060;

constexpr const char* kTypeCaptions[9] = {
    "16 Color Icon",      "256 Color Icon",      "Hi-Color Icon",
    "16 Color Animation", "256 Color Animation", "Hi-Color Animation",
    "16 Color Cursor",    "256 Color Cursor",    "Hi-Color Cursor",
};

}  // namespace

FormSpec FrmAdd::Spec() const { return FixedDialogSpec("Add Reference", kClientWidth, kClientHeight); }

void FrmAdd::CreateControls() {
    lblKeyword.Create("Keyword:", {240, 150, 1500, 255});
    cmbSearch.Create({240, 420, 6000, 315}, ComboBoxOptions{.dropDownList = true});
    // Three columns of shape by three rows of colours, as the type digits count.
    for (int i = 0; i < 9; ++i)
        optType[static_cast<size_t>(i)].Create(kTypeCaptions[i], {360 + i / 3 * 1950, 1230 + i % 3 * 330, 1900, 300},
                                               OptionButtonOptions{.group = i == 0});
    // Made after the options it holds, so that it paints around them.
    fraType.Create("Icon Type", {240, 960, 6000, 1380});
    cmdAdd.Create("&Add", {3720, 2490, 1140, 375}, ButtonOptions{.isDefault = true});
    cmdCancel.Create("&Cancel", {5100, 2490, 1140, 375});
}

void FrmAdd::BindEvents() {
    cmbSearch.Click = [this] { cmbSearch_Click(); };
    for (int i = 0; i < 9; ++i)
        optType[static_cast<size_t>(i)].Click = [this, i] { chosenType_ = i; };
    cmdAdd.Click = [this] { cmdAdd_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

// The window is made on first use rather than at start-up, which it would slow down; so its
// keyword box is filled here, from the keywords the catalogue load put into the main window. The
// references filed so far stay marked for the exit save.
void FrmAdd::Form_Load() {
    // The frame fits exactly around the designed client area, whatever the system's borders.
    Move(Left(), Top(), Width() + kClientWidth - ScaleWidth(), Height() + kClientHeight - ScaleHeight());
    FillKeywords();
    ShowTypes();
    cmdAdd.SetEnabled(false);
    MoveToStoredPosition(*this, windowpos::Add);
}

void FrmAdd::Form_QueryUnload(bool& cancel, UnloadMode mode) {
    if (mode != UnloadMode::FormControlMenu) return;
    cancel = true;
    cmdCancel_Click();
}

void FrmAdd::cmbSearch_Click() { cmdAdd.SetEnabled(!cmbSearch.Text().empty()); }

void FrmAdd::cmdCancel_Click() { Hide(); }

void FrmAdd::cmdAdd_Click() {
    FrmMain& main = frmMain;
    const ListItem* selected = main.pnlResult.SelectedItem();
    const std::string keyword = cmbSearch.Text();
    const std::optional<std::string> entry = selected ? UserEntry(selected->Tag, chosenType_) : std::nullopt;
    if (!entry || keyword.empty()) return;

    if (HasReference(main.lstUser, main.cmbUser, keyword, *entry)) {
        gResult = MsgBox("This reference already excists.", MsgBoxStyle::Exclamation, "Error saving reference", hwnd());
        cmdAdd.SetEnabled(false);
        return;
    }
    gRefsChanged = true;
    // The new pair comes first: every position held elsewhere moves one down with its reference.
    MoveReferencePositions(main.cmbResult, main.pnlResult, 0, 1);
    FileReferenceFirst(main.lstUser, main.cmbUser, keyword, *entry);
    Hide();
    cmdAdd.SetEnabled(false);
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
