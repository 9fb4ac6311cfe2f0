// The user keyword editor.
#include "browsing/FrmKey.h"

#include <string>
#include <string_view>
#include <vector>

#include "browsing/Paging.h"
#include "mainwindow/FrmMain.h"

FrmKey frmKey;

FormSpec FrmKey::Spec() const { return FixedDialogSpec("Edit Custom Keywords", 4680, 3720); }

void FrmKey::CreateControls() { lstKey.Create(240, 240, 4200, 3000); }

// Made on first use rather than at start-up, like the reference window; its list is filled here.
void FrmKey::Form_Load() { FillKeywords(); }

void FrmKey::FillKeywords() {
    // A user keyword is one without catalogue references: a catalogue keyword's list holds at
    // least the ";" that ends it.
    const ComboBox& keywords = frmMain.cmbSearch;
    std::vector<std::string> texts;
    std::vector<int32_t> positions;
    for (int i = 0; i < keywords.ListCount(); ++i) {
        const int32_t slot = keywords.ItemData(i);
        if (slot < 0 || slot >= kKeywordSlots || !gRefs[static_cast<size_t>(slot)].empty()) continue;
        texts.push_back(keywords.List(i));
        positions.push_back(i);
    }
    lstKey.Clear();
    lstKey.AddItems(std::vector<std::string_view>(texts.begin(), texts.end()), positions);
}
