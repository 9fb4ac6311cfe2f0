// The properties window.
#include "output/FrmProp.h"

#include <algorithm>

#include "browsing/KeywordHits.h"
#include "common/Paging.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"
#include "ui/ListView.h"

FrmProp frmProp;

namespace {

// Geometry in twips.
constexpr int kClientWidth = 5400, kClientHeight = 5160;
constexpr int kCaptionLeft = 360, kCaptionWidth = 1020;
constexpr int kValueLeft = 1440, kValueWidth = 3600;
constexpr int kLabelHeight = 255;

}  // namespace

std::string CatalogueKeywordsOf(std::string_view token, int32_t lastSlot, std::span<const std::string> keywords,
                                std::span<const std::string> refs) {
    std::string list;
    const int64_t end = std::min<int64_t>({int64_t{lastSlot} + 1, static_cast<int64_t>(keywords.size()),
                                           static_cast<int64_t>(refs.size())});
    for (int64_t i = 0; i < end; ++i) {
        const bool listed = !ForEachCatalogueToken(refs[static_cast<size_t>(i)],
                                                   [&](std::string_view listedToken) { return listedToken != token; });
        if (!listed) continue;
        if (!list.empty()) list += ", ";
        list += keywords[static_cast<size_t>(i)];
    }
    return list;
}

FormSpec FrmProp::Spec() const { return FixedDialogSpec("Properties", kClientWidth, kClientHeight); }

void FrmProp::CreateControls() {
    // Siblings made first lie on top: the page's controls, their frame, then the tab strip below all.
    picIcon.Create({kCaptionLeft, 600, 480, 480});
    txtName.Create("", {kValueLeft, 600, kValueWidth, kLabelHeight});
    txtFile.Create("", {kValueLeft, 870, kValueWidth, kLabelHeight});
    lblType.Create("Type:", {kCaptionLeft, 1440, kCaptionWidth, kLabelHeight});
    txtType.Create("", {kValueLeft, 1440, kValueWidth, kLabelHeight});
    lblOrigin.Create("Origin:", {kCaptionLeft, 1800, kCaptionWidth, kLabelHeight});
    txtOrigin.Create("", {kValueLeft, 1800, kValueWidth, kLabelHeight});
    lblKeywords.Create("Keywords:", {kCaptionLeft, 2160, kCaptionWidth, kLabelHeight});
    txtKeywords.Create("", {kValueLeft, 2130, kValueWidth, 2040}, TextBoxOptions{.multiLine = true, .readOnly = true});
    fraGeneral.Create("", {240, 480, 4920, 3900});
    cmdOK.Create("OK", {4065, 4665, 1215, 375}, ButtonOptions{.isDefault = true});
    tabProperties.Create({120, 120, 5160, 4380});
    tabProperties.AddTab("General", "general");
}

void FrmProp::BindEvents() { cmdOK.Click = [this] { cmdOK_Click(); }; }

void FrmProp::Form_Load() {
    // Each step stands alone: what cannot be read leaves its field empty.
    tabProperties.SetSelectedIndex(1);
    txtKeywords.SetText("");
    if (ListItem* item = frmMain.pnlResult.SelectedItem()) {
        picIcon.SetIcon(frmMain.imlResult32.GetIcon(item->Icon()).release());
        const std::string origin = item->SubItem(2);
        txtName.SetText(item->Text());
        txtType.SetText(item->SubItem(1));
        txtOrigin.SetText(origin);
        if (origin == "Ornavale" && item->Tag.size() >= 4) {
            const std::string_view token = std::string_view(item->Tag).substr(0, item->Tag.size() - 4);
            txtKeywords.SetText(CatalogueKeywordsOf(token, frmMain.cmbSearch.ListCount(), gKeywords, gRefs));
        }
        if (origin == "Windows Default") txtFile.SetText(origin);
    }
    SetScreenMousePointer(PointerShape::Default);
}

void FrmProp::cmdOK_Click() { Unload(); }
