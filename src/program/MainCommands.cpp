// The main window's command tables and the small commands that no menu item owns.
#include "program/MainCommands.h"

#include <map>

#include "ui/Unique.h"

namespace {

bool Checked(FrmMain& form, int id) {
    const MenuItem* item = form.Menus().Find(id);
    return item && item->checked;
}

}  // namespace

int DefaultZoomFactor(int zoomIndex, bool fallbackToTen) {
    static constexpr int kFactors[] = {2, 3, 4, 5, 10};
    if (zoomIndex >= 0 && zoomIndex < static_cast<int>(std::size(kFactors))) return kFactors[zoomIndex];
    return fallbackToTen ? 10 : 0;
}

bool HasMenuCommand(int id) {
    for (const auto& c : kMenuCommands)
        if (c.id == id) return true;
    for (const auto& r : kMenuCommandRanges)
        if (id >= r.first && id <= r.last) return true;
    return false;
}

HICON NavPicture(const std::string& key) {
    // Status panels do not own their pictures, so each one lives as long as the program.
    static std::map<std::string, UniqueIcon> made;
    if (auto it = made.find(key); it != made.end()) return it->second.get();
    int index = frmMain.imlNav.ImageIndex(key);
    if (index < 0) return nullptr;
    HICON icon = ImageList_GetIcon(frmMain.imlNav.handle(), index, ILD_NORMAL);
    if (!icon) return nullptr;
    made.emplace(key, UniqueIcon(icon));
    return icon;
}

void NextView(FrmMain& form) {
    if (Checked(form, ID_mnuViewLargeIcons))
        form.mnuViewList_Click();
    else if (Checked(form, ID_mnuViewList))
        form.mnuViewDetails_Click();
    else if (Checked(form, ID_mnuViewDetails))
        form.mnuViewLargeIcons_Click();
}

void ZoomByDefaultOrTen(FrmMain& form) { form.ZoomByDefault(true); }
