// What the selected result item turns on, as pure functions.
#include "mainwindow/SelectionPolicy.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "common/ResultEntry.h"

namespace {

bool OneOf(std::string_view text, std::initializer_list<std::string_view> texts) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

bool IsAnimation(std::string_view type) {
    return OneOf(type, {"16 Color Animation", "256 Color Animation", "Hi-Color Animation",
                        "Animated Icon", "Animated Cursor"});
}

std::optional<std::string> TypePicture(std::string_view type) {
    if (OneOf(type, {"16 Color Icon", "256 Color Icon", "Hi-Color Icon"})) return "icon";
    if (IsAnimation(type)) return "typeani";
    if (OneOf(type, {"16 Color Cursor", "256 Color Cursor", "Hi-Color Cursor", "Current Cursor",
                     "Theme Cursor"}))
        return "cursor";
    if (type == "Icon Library") return "library";
    if (type == "Shortcut Icon") return "shortcut";
    if (type == "File Type Icon") return "aso";
    if (type == "System Icon") return "system";
    return std::nullopt;
}

// The reference window's type options for a file's icon: those enabled and the one selected.
void PresetTypes(std::string_view type, SelectionState& s) {
    auto offer = [&s](std::initializer_list<int> enabled, int chosen) {
        for (int i : enabled) s.typeOptions[static_cast<size_t>(i)] = true;
        s.typeChosen = chosen;
    };
    if (type == "16 Color Icon") offer({0}, 0);
    else if (type == "256 Color Icon") offer({1}, 1);
    else if (type == "Hi-Color Icon") offer({2}, 2);
    else if (IsAnimation(type)) offer({3, 4, 5}, 5);
    else if (type == "16 Color Cursor") offer({6}, 6);
    else if (type == "256 Color Cursor") offer({7}, 7);
    else if (OneOf(type, {"Hi-Color Cursor", "Current Cursor", "Theme Cursor"})) offer({8}, 8);
    else if (type == "Icon Library") offer({0, 1, 2, 6, 7, 8}, 2);
    else if (type == "File Type Icon") offer({0, 1, 2}, 2);
    // No option fits (a system icon): none is offered, and the reference becomes a still hi-colour
    // icon rather than whatever type an earlier item chose.
    else offer({}, 2);
}

}  // namespace

std::string SelectedFilePath(std::string_view tag) {
    auto entry = ParseEntry(tag);
    if (!entry || entry->kind == SourceKind::Book) return {};
    if ((entry->kind == SourceKind::Sycu || entry->kind == SourceKind::Sytu) &&
        entry->file == "default")
        return {};
    return entry->file;
}

SelectionState SelectionFor(const SelectionFacts& facts) {
    SelectionState s;
    s.dcActionNow = facts.options.action;
    s.div22 = true;
    if (!facts.item) {
        // Nothing to act on: the item commands stay off and the next selection is a first one.
        s.selDir = "";
        s.selFile = "";
        return s;
    }
    const SelectedItem& item = *facts.item;
    const std::string& type = item.typeText;
    const std::string& origin = item.origin;
    const DoubleClickOptions& dc = facts.options;

    if (facts.commandsCleared)
        s.first = FirstSelection{facts.pageCount > 1, facts.folderIconSupport};
    s.listTag = item.text;

    s.typeText = type;
    s.typePicture = TypePicture(type);
    if (type == "Shortcut Icon") {
        s.run = true;
        if (dc.run) s.dcActionNow = "Run";
    }

    if (origin != "Ornavale") {
        s.itemPath = item.longPath;
        s.pathInMessage = true;
        size_t slash = s.itemPath.rfind('\\');
        // A path that could not be resolved leaves no folder behind for the file commands.
        s.selDir = slash == std::string::npos ? "" : s.itemPath.substr(0, slash + 1);
        s.selFile = slash == std::string::npos ? "" : s.itemPath.substr(slash + 1);
    }

    if (IsAnimation(type)) {
        s.play = true;
        if (dc.play) s.dcActionNow = "Play";
    }

    if (origin.compare(0, 4, "File") == 0) {
        if (dc.ref) s.dcActionNow = "Ref";
        s.addRef = true;
        PresetTypes(type, s);
    }

    s.delRef = origin == "Reference";

    if (OneOf(type, {"File Type Icon", "Current Cursor", "Animated Cursor", "System Icon",
                     "Shortcut Icon"})) {
        s.change = true;
        if (dc.change) s.dcActionNow = "Change";
    }

    s.addFav = true;
    // Delete Favorite deletes gSelDir & gSelFile, so it needs a file that is there.
    s.delFav = origin == "File Favorite" && !s.selFile.value_or("").empty();

    s.div16 = s.addRef || s.delRef;
    return s;
}

std::string PathForMessagePanel(const SelectionState& state, int32_t panelWidth,
                                const std::function<int32_t(std::string_view)>& textWidth) {
    const std::string& path = state.itemPath;
    if (panelWidth - textWidth("w") > textWidth(path)) return path;
    const std::string dir = state.selDir.value_or("");
    const std::string file = state.selFile.value_or("");
    const int32_t dirWidth = textWidth(dir);
    if (dirWidth <= 0) return path;
    double k = std::nearbyint(static_cast<double>(panelWidth) * static_cast<double>(dir.size()) /
                                  dirWidth -
                              static_cast<double>(file.size() + 5));
    // A file name wider than the panel keeps at least the name itself.
    k = std::clamp(k, 0.0, static_cast<double>(dir.size()));
    return dir.substr(0, static_cast<size_t>(k)) + "...\\" + file;
}

PageButtons PageButtonsFor(int32_t pageNr, int32_t pageCount) {
    return {pageNr > 1, pageNr < pageCount};
}
