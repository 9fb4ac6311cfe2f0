// Icons cut from the navigation image list, kept for the panels that show them.
#include "mainwindow/NavIcons.h"

#include <unordered_map>

#include "mainwindow/FrmMain.h"
#include "ui/Keys.h"
#include "ui/Unique.h"

HICON NavIcon(const std::string& key) {
    static std::unordered_map<std::string, UniqueIcon> icons;
    int index = frmMain.imlNav.ImageIndex(key);
    if (index < 0) throw KeyError("Element not found: " + key);
    UniqueIcon& icon = icons[FoldKey(key)];
    if (!icon) icon.reset(ImageList_GetIcon(frmMain.imlNav.handle(), index, ILD_NORMAL));
    return icon.get();
}
