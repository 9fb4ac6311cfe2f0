// The reference window.
#include "browsing/FrmAdd.h"

#include <string_view>
#include <vector>

#include "mainwindow/FrmMain.h"

FrmAdd frmAdd;

FormSpec FrmAdd::Spec() const {
    FormSpec s;
    s.caption = "Add Reference";
    s.width = 4800;
    s.height = 4200;
    return s;
}

void FrmAdd::CreateControls() { cmbSearch.Create(240, 240, 4200, 315, true); }

// The window is made on first use rather than at start-up, which it would slow down; so its
// keyword box is filled here, from the keywords the catalogue load put into the main window.
void FrmAdd::Form_Load() { FillKeywords(); }

void FrmAdd::FillKeywords() {
    const ComboBox& keywords = frmMain.cmbSearch;
    std::vector<std::string> texts(static_cast<size_t>(keywords.ListCount()));
    for (int i = 0; i < keywords.ListCount(); ++i) texts[static_cast<size_t>(i)] = keywords.List(i);
    cmbSearch.Clear();
    cmbSearch.AddItems(std::vector<std::string_view>(texts.begin(), texts.end()));
}
