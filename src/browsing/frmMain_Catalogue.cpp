// The catalogue index and the user's keyword and reference files.
#include "mainwindow/FrmMain.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "browsing/FrmAdd.h"
#include "browsing/FrmKey.h"
#include "browsing/Library.h"
#include "common/Paging.h"
#include "core/Files.h"
#include "core/Global.h"
#include "formats/FileBytes.h"
#include "formats/KeywordFiles.h"
#include "ui/App.h"

namespace {

// Far beyond any keyword file; a larger one is not read at all.
constexpr std::uint64_t kMaxKeywordFileBytes = 64u << 20;

// The whole file into `text`; false when it cannot be read.
bool ReadTextFile(const std::string& path, std::string& text) {
    auto bytes = formats::ReadFileBytes(WidePath(path), kMaxKeywordFileBytes);
    if (!bytes) return false;
    text.assign(bytes->begin(), bytes->end());
    return true;
}

// "1 line", "3 lines".
std::string Counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void FrmMain::procFillSearch() {
    Hourglass hourglass;
    DoEvents();

    cmbSearch.Clear();
    cmbUser.Clear();
    lstUser.Clear();

    // Problems that do not stop the load, told in one message at its end.
    std::vector<std::string> problems;
    std::string index, userKeywords, userReferences;
    if (!FileExists(gAppPath + "Icondata.dat")) {
        gCatalogName = "";
        hourglass.Done();
        gResult = MsgBox("Main Ornavale Index file Icondata.dat was not found.\r"
                         "The Ornavale icon features will be disabled.",
                         MsgBoxStyle::Exclamation | MsgBoxStyle::OkOnly, "Ornavale error");
    } else if (!ReadTextFile(gAppPath + "Icondata.dat", index)) {
        gCatalogName = "";
        problems.push_back("Icondata.dat could not be read. The Ornavale icon features will be disabled.");
    }
    // With the index there, what would keep its icons from showing is told with the rest.
    if (!gCatalogName.empty())
        for (std::string& problem : CheckLibraryArchives()) problems.push_back(std::move(problem));
    for (auto [name, text] : {std::pair{"Keyuser.dat", &userKeywords}, std::pair{"Iconuser.dat", &userReferences}}) {
        if (FileExists(gAppPath + name) && !ReadTextFile(gAppPath + name, *text))
            problems.push_back(std::string(name) + " could not be read.");
    }

    const formats::KeywordTable table =
        formats::ReadKeywordFiles(index, userKeywords, userReferences, kKeywordSlots);
    if (table.skippedIndexLines > 0)
        problems.push_back(Counted(table.skippedIndexLines, "line", "lines") + " of Icondata.dat without \";\" skipped.");
    if (table.skippedReferenceLines > 0)
        problems.push_back(Counted(table.skippedReferenceLines, "line", "lines") +
                           " of Iconuser.dat without \";\" skipped.");
    if (table.keywordsLeftOut > 0)
        problems.push_back("Ornavale holds at most " + std::to_string(kKeywordSlots) + " keywords; " +
                           Counted(table.keywordsLeftOut, "keyword was", "keywords were") + " left out.");

    // Keyword slot i is item i of the keyword box, whose data leads back to the slot.
    const size_t n = table.keywords.size();
    std::vector<std::string_view> texts(n);
    std::vector<int32_t> slots(n);
    for (size_t i = 0; i < kKeywordSlots; ++i) {
        if (i >= n) {
            gKeywords[i].clear();
            gRefs[i].clear();
            continue;
        }
        const auto& keyword = table.keywords[i];
        gKeywords[i] = keyword.text;
        gRefs[i].clear();
        if (!keyword.user) {
            // Every token, the last one too, ends with ";".
            gRefs[i].reserve(keyword.refs.size() + 1);
            gRefs[i].append(keyword.refs).push_back(';');
        }
        texts[i] = keyword.text;
        slots[i] = static_cast<int32_t>(i);
    }
    cmbSearch.AddItems(texts, slots);
    gKeywordSlotsUsed = static_cast<int32_t>(n);
    // The reference window and the keyword editor fill their own lists from these when they load.
    if (frmAdd.IsLoaded()) frmAdd.FillKeywords();
    if (frmKey.IsLoaded()) frmKey.FillKeywords();

    // Each reference is a pair of items at the same position, each pointing at its twin.
    lstUser.Reserve(table.references.size());
    cmbUser.Reserve(table.references.size());
    for (const auto& reference : table.references) {
        const int32_t position = lstUser.ListCount();
        lstUser.AddItem(std::string(reference.keyword), position);
        cmbUser.AddItem(std::string(reference.entry), position);
    }

    // Keywords left out for want of a slot are still keywords the files hold.
    if (gPanelCount) gPanelCount->SetText(std::to_string(n + static_cast<size_t>(table.keywordsLeftOut)) + " Keywords");
    hourglass.Done();
    if (!problems.empty()) {
        std::string text;
        for (const std::string& p : problems) text += (text.empty() ? "" : "\r") + p;
        gResult = MsgBox(text, MsgBoxStyle::Exclamation | MsgBoxStyle::OkOnly, "Ornavale error");
    }
}
