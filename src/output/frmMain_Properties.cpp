// File > Properties: the properties window, or the shell's property sheet of the item's file.
#include "mainwindow/FrmMain.h"

#include <optional>
#include <string>

#include "common/ResultEntry.h"
#include "common/ShortcutOrigin.h"
#include "core/Files.h"
#include "core/Global.h"
#include "output/FrmProp.h"
#include "ui/App.h"
#include "ui/ListView.h"

FilePropertiesSheet gShowFileProperties = ShowFileProperties;

PropertiesShow PropertiesShowFor(const std::string& origin) {
    if (origin == "Windows Default" || origin == "Ornavale") return PropertiesShow::Window;
    if (origin == "File Favorite" || origin == "File" || origin == "Reference" || origin == "Theme Cursor")
        return PropertiesShow::FileSheet;
    if (origin.starts_with("Desktop") || origin.starts_with("Start Menu")) return PropertiesShow::LinkSheet;
    return PropertiesShow::Nothing;
}

void FrmMain::mnuFileProperties_Click() {
    const ListItem* item = pnlResult.SelectedItem();
    if (!item) return;
    const std::string origin = item->SubItem(2);
    const std::string tag = item->Tag;
    const std::string name = item->Text();
    Hourglass hourglass;
    switch (PropertiesShowFor(origin)) {
        case PropertiesShow::Window: frmProp.ShowModal(); break;
        case PropertiesShow::FileSheet:
            // The entry's fields are read from the right: the file may hold ";".
            if (const std::optional<ResultEntry> entry = ParseEntry(tag); entry && !entry->file.empty())
                gShowFileProperties(entry->file, hwnd());
            break;
        case PropertiesShow::LinkSheet: gShowFileProperties(ShortcutLinkPath(origin, name, gWinDir), hwnd()); break;
        case PropertiesShow::Nothing: break;
    }
}
