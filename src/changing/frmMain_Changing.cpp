// Commands of the main window that apply icons to Windows.
#include "mainwindow/FrmMain.h"

#include "browsing/ResultEntry.h"
#include "browsing/ShortcutOrigin.h"
#include "changing/FrmChange.h"
#include "core/Global.h"

namespace {

// The system icon row of lstChange named `name` (its text before the first ";"); "" when none is.
std::string SystemIconRowOf(const HiddenList& rows, const std::string& name) {
    for (int i = 0; i < rows.ListCount(); ++i) {
        const std::string row = rows.List(i);
        if (row.substr(0, row.find(';')) == name) return row;
    }
    return {};
}

// The file-type line of lstChange for the extension in a file-type entry's label
// ("Text Document (*.txt)" gives the line that begins ".txt:"); "" when none is.
std::string FileTypeLineOf(const HiddenList& lines, const std::string& entryText) {
    const std::optional<ResultEntry> entry = ParseEntry(entryText);
    if (!entry) return {};
    const size_t open = entry->label.rfind("(*");
    if (open == std::string::npos || entry->label.back() != ')') return {};
    const std::string key = entry->label.substr(open + 2, entry->label.size() - open - 3) + ":";
    for (int i = 0; i < lines.ListCount(); ++i) {
        const std::string line = lines.List(i);
        if (line.compare(0, key.size(), key) == 0) return line;
    }
    return {};
}

}  // namespace

void FrmMain::mnuFileChange_Click() {
    const ListItem* item = pnlResult.SelectedItem();
    if (!item) return;
    const std::string kind = item->SubItem(1);
    std::string target, shortcutEntry;
    if (kind == "System Icon") {
        target = SystemIconRowOf(lstChange, item->Text());
    } else if (kind == "File Type Icon") {
        target = FileTypeLineOf(lstChange, item->Tag);
    } else if (kind == "Current Cursor" || kind == "Animated Cursor") {
        target = item->Tag;
    } else if (kind == "Shortcut Icon") {
        target = ShortcutLinkPath(item->SubItem(2), item->Text(), gWinDir);
        shortcutEntry = item->Tag;
    }
    frmChange.procHandOver(*item, target, shortcutEntry);
}

void FrmMain::mnuToolsChangeFolder_Click() {}
void FrmMain::mnuToolsDefaultFolder_Click() {}
void FrmMain::mnuToolsRebuild_Click() {}
void FrmMain::mnuToolsRestart_Click() {}
