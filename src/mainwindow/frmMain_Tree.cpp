// The navigation tree: the catalogue branch and the "Your Icons" branch with the favorites folders,
// references, Windows sources and cursor schemes.
#include <cctype>

#include "core/FolderWalk.h"
#include "core/Global.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "mainwindow/StartupStep.h"
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
    // Each addition is a step of the start-up of its own: one that fails is reported and skipped, and
    // the build goes on with the next. Answers the node added, nullptr when it failed.
    auto add = [&](const std::string& parent, int relationship, const std::string& key, const std::string& text,
                   const std::string& image, const std::string& selectedImage = {}) {
        Node* node = nullptr;
        RunStartupStep([&] { node = &nodes.Add(parent, relationship, key, text, image, selectedImage); });
        return node;
    };
    auto book = [&](const std::string& parent, const std::string& key, const std::string& text) {
        add(parent, tvwChild, key, text, "book", "openbook");
    };

    if (gCatalogName == "Ornavale") {
        add("", tvwLast, "ornavale", "Ornavale", "ornavale");
        add("ornavale", tvwChild, "icon", "Icons", "icon");
        book("icon", "Icon256", "256 Color");
        book("icon", "IconHi", "Hi Color");
        add("ornavale", tvwChild, "ani", "Animated Icons", "navani");
        book("ani", "Ani16", "16 Color");
        book("ani", "Ani256", "256 Color");
        book("ani", "AniHi", "Hi Color");
        add("ornavale", tvwChild, "cursor", "Cursors", "cursor");
        book("cursor", "Cursor16", "16 Color");
        book("cursor", "Cursor256", "256 Color");
        book("cursor", "CursorHi", "Hi Color");
        add("ornavale", tvwChild, "group", "Groups by Design", "group");
        for (int i = 0; i < cmbSearch.ListCount(); ++i) {
            const std::string item = cmbSearch.List(i);
            if (item.compare(0, 5, "group") != 0) continue;
            // The node finds its keyword again by this text: positions shift as keywords are added.
            if (Node* node = add("group", tvwChild, "groups" + std::to_string(i), GroupText(item), "book", "openbook"))
                node->tag = item;
        }
        add("ornavale", tvwChild, "alfa", "Alphabetic", "alfa");
        for (char c = 'A'; c <= 'Z'; ++c) book("alfa", std::string(1, c), std::string(1, c));
        RunStartupStep([&] { nodes.SetExpanded("ornavale", true); });
    }

    add("", tvwLast, "your", "Your Icons", "user");
    add("your", tvwChild, "favori", gFavoritesName, "favorite");
    RunStartupStep([&] { nodes.SetSorted("favori", true); });
    gScanSubDirs = true;
    gFavoritesMode = true;
    RunStartupStep([] { ScanFolderTree(gFavDir, "avb.avb", gFileCount, gDirCount); });
    gScanSubDirs = false;
    gFavoritesMode = false;

    add("your", tvwChild, "reference", "References", "reference");
    book("reference", "Reference16", "16 Color");
    book("reference", "Reference256", "256 Color");
    book("reference", "ReferenceHi", "Hi Color");
    add("your", tvwChild, "system", "System", "system");
    add("your", tvwChild, "SysShort", "Program Shortcuts", "shortcut");
    book("SysShort", "SysShortDesk", "Desktop");
    book("SysShort", "SysShortStart", "Start Menu");
    add("your", tvwChild, "SysCur", "Cursors", "cursor");
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
            const std::string scheme(name, nameLen);
            // Two names that differ only by case make one node.
            if (!nodes.Exists("ctheme" + scheme)) book("SysCur", "ctheme" + scheme, scheme);
        }
    }

    book("system", "SysDesktop", "Desktop");
    book("system", "SysStart", "Start");
    book("system", "SysDrives", "Drives");
    book("system", "SysFolders", "Folders");
    book("system", "SysFiles", "Files");
    add("your", tvwChild, "SysAso", "File Type Icons", "aso");
    RunStartupStep([&] { nodes.SetExpanded("your", true); });
}
