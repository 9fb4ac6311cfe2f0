// The navigation tree: the catalogue branch and the "Your Icons" branch with the favorites folders,
// references, Windows sources and cursor schemes.
#include <cctype>

#include "core/FolderWalk.h"
#include "core/Global.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "ui/Unique.h"

namespace {

// The node text of a design group keyword ("group iMac" stays "iMac"; others get a capital).
std::string GroupText(const std::string& keyword) {
    std::string rest = keyword.size() > 6 ? keyword.substr(6) : std::string();
    if (rest == "iMac" || rest.empty()) return rest;
    rest[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
    return rest;
}

}  // namespace

void FrmMain::procBuildNavTree() {
    TreeView& nodes = pnlNav;
    nodes.Clear();  // built anew on every load of the window
    auto book = [&](const std::string& parent, const std::string& key, const std::string& text) {
        nodes.Add(parent, tvwChild, key, text, "book", "openbook");
    };

    if (gCatalogName == "Ornavale") {
        nodes.Add("", tvwLast, "ornavale", "Ornavale", "ornavale");
        nodes.Add("ornavale", tvwChild, "icon", "Icons", "icon");
        book("icon", "Icon256", "256 Color");
        book("icon", "IconHi", "Hi Color");
        nodes.Add("ornavale", tvwChild, "ani", "Animated Icons", "navani");
        book("ani", "Ani16", "16 Color");
        book("ani", "Ani256", "256 Color");
        book("ani", "AniHi", "Hi Color");
        nodes.Add("ornavale", tvwChild, "cursor", "Cursors", "cursor");
        book("cursor", "Cursor16", "16 Color");
        book("cursor", "Cursor256", "256 Color");
        book("cursor", "CursorHi", "Hi Color");
        nodes.Add("ornavale", tvwChild, "group", "Groups by Design", "group");
        for (int i = 0; i < cmbSearch.ListCount(); ++i) {
            const std::string item = cmbSearch.List(i);
            if (item.compare(0, 5, "group") != 0) continue;
            // The node finds its keyword again by this text: positions shift as keywords are added.
            nodes.Add("group", tvwChild, "groups" + std::to_string(i), GroupText(item), "book", "openbook").tag = item;
        }
        nodes.Add("ornavale", tvwChild, "alfa", "Alphabetic", "alfa");
        for (char c = 'A'; c <= 'Z'; ++c) book("alfa", std::string(1, c), std::string(1, c));
        nodes.SetExpanded("ornavale", true);
    }

    nodes.Add("", tvwLast, "your", "Your Icons", "user");
    nodes.Add("your", tvwChild, "favori", gFavoritesName, "favorite");
    nodes.SetSorted("favori", true);
    gScanSubDirs = true;
    gFavoritesMode = true;
    ScanFolderTree(gFavDir, "avb.avb", gFileCount, gDirCount);
    gScanSubDirs = false;
    gFavoritesMode = false;

    nodes.Add("your", tvwChild, "reference", "References", "reference");
    book("reference", "Reference16", "16 Color");
    book("reference", "Reference256", "256 Color");
    book("reference", "ReferenceHi", "Hi Color");
    nodes.Add("your", tvwChild, "system", "System", "system");
    nodes.Add("your", tvwChild, "SysShort", "Program Shortcuts", "shortcut");
    book("SysShort", "SysShortDesk", "Desktop");
    book("SysShort", "SysShortStart", "Start Menu");
    nodes.Add("your", tvwChild, "SysCur", "Cursors", "cursor");
    book("SysCur", "SysCurCurrent", "Current");

    // Cursor schemes, in the registry's order. The key is only read; a buffer of the registry's
    // longest value name keeps a long name from ending the list early.
    UniqueKey schemes;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors\\Schemes", 0, KEY_READ, schemes.put()) ==
        ERROR_SUCCESS) {
        for (DWORD index = 0;; ++index) {
            char name[16384];
            DWORD nameLen = sizeof name;
            if (RegEnumValueA(schemes.get(), index, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            std::string scheme(name, nameLen);
            try {
                book("SysCur", "ctheme" + scheme, scheme);
            } catch (const KeyError&) {
                // Two names that differ only by case make one node.
            }
        }
    }

    book("system", "SysDesktop", "Desktop");
    book("system", "SysStart", "Start");
    book("system", "SysDrives", "Drives");
    book("system", "SysFolders", "Folders");
    book("system", "SysFiles", "Files");
    nodes.Add("your", tvwChild, "SysAso", "File Type Icons", "aso");
    nodes.SetExpanded("your", true);
}
