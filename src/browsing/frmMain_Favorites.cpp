// The favorites menus: add, delete, create and remove folders, organise in the Explorer, refresh.
#include "mainwindow/FrmMain.h"

#include <vector>

#include "browsing/Favorites.h"
#include "core/ErrorBox.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/FolderWalk.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/Options.h"
#include "mainwindow/Selection.h"
#include "ui/App.h"
#include "ui/InputBox.h"

namespace {

constexpr const char* kCreateTitle = "Create Favorite Folder";
constexpr const char* kOrganizeText =
    "Use the Windows Explorer to organize your Favorites. If you made changes to the folder structure, please "
    "refresh the Favorites tree by selecting Favorites, Refresh in the main menu.";

void ShowSystemError(DWORD error, const std::string& source) {
    ShowError(static_cast<int32_t>(error), source, SystemErrorText(error));
}

bool FolderExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes a favorites folder removed since the tree was read again, with the folders on its way, as
// the start makes the favorites root; answers whether it is there. When it cannot be made, a box
// titled `title` says why.
bool MakeFavoritesFolder(std::string folder, const char* title) {
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (FolderExists(folder)) return true;
    // Up to the nearest one that is there, then made from the top down.
    std::vector<std::string> missing;
    std::string there = folder;
    while (!there.empty() && GetFileAttributesA(there.c_str()) == INVALID_FILE_ATTRIBUTES) {
        missing.push_back(there);
        const auto slash = there.rfind('\\');
        there = slash == std::string::npos ? std::string() : there.substr(0, slash);
    }
    if (!there.empty() && !FolderExists(there)) {
        MsgBox("The Favorites folder " + there + " cannot be made: a file of that name is in its place.",
               MsgBoxStyle::Exclamation | MsgBoxStyle::OkOnly, title);
        return false;
    }
    for (auto made = missing.rbegin(); made != missing.rend(); ++made) {
        if (CreateDirectoryA(made->c_str(), nullptr)) continue;
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS) continue;
        MsgBox("The Favorites folder " + folder + " cannot be made.\r" + SystemErrorText(error),
               MsgBoxStyle::Exclamation | MsgBoxStyle::OkOnly, title);
        return false;
    }
    return true;
}

}  // namespace

void FrmMain::mnuFavoriteAdd_Click() {
    // Never saved anywhere else: a folder removed meanwhile is made again before Save As offers it.
    if (!MakeFavoritesFolder(FavoritesAddFolder(gFavDir, pnlNav.SelectedItem()), "Add to Favorites")) return;
    // Save As offers the favorites folders while this mode is on; it is left in every case.
    gFavoritesMode = true;
    try {
        mnuFileSaveAs_Click();
    } catch (const RuntimeError& e) {
        ShowError(e.number(), e.source(), e.what());
    } catch (const std::exception& e) {
        ShowError(5, "Ornavale", e.what());
    }
    gFavoritesMode = false;
}

void FrmMain::mnuFavoriteDel_Click() {
    const std::string file = gSelDir + gSelFile;
    if (gSelFile.empty() || !FileExists(file)) return;
    // Only a file of the favorites folders is a favorite to delete.
    if (!IsInsideFolder(file, gFavDir)) return;
    if (!DeleteFileA(file.c_str())) {
        ShowSystemError(GetLastError(), "Delete Favorite");
        return;
    }
    const Node* listed = pnlNav.Find(gFavFolderNode);
    Node* selected = pnlNav.SelectedItem();
    if (listed && !listed->text.empty() && selected) {
        if (pnlNav.NodeClick) pnlNav.NodeClick(*selected);  // lists that favorites folder again
    } else {
        procSearchOrnavale();
    }
}

void FrmMain::mnuFavoriteGroupAdd_Click() {
    const std::string parentKey = gFavNode;
    for (;;) {
        const std::string name = InputBox("Give the Name of the Favorite Folder.", kCreateTitle, "");
        // The tree may have changed while the box was open.
        const Node* parent = pnlNav.Find(parentKey);
        if (name.empty() || !parent) break;
        if (!IsValidFolderName(name)) {
            MsgBox("A Favorite Folder cannot be named '" + name + "'. A Folder Name cannot contain any of the "
                   "characters \\ / : * ? \" < > | and cannot end with a period or a blank.\rPlease choose another "
                   "Folder Name.",
                   MsgBoxStyle::Critical | MsgBoxStyle::OkOnly, kCreateTitle);
            continue;
        }
        const std::string folder = FavoritesFolderOf(gFavDir, parentKey) + "\\" + name;
        if (CreateDirectoryA(folder.c_str(), nullptr)) {
            const std::string key = parent->key + "\\" + name;
            if (!pnlNav.Exists(key)) {
                pnlNav.Add(parent->key, tvwChild, key, name, "bookfav", "openbook");
                pnlNav.SetSorted(key, true);
            }
            pnlNav.SetExpanded(parent->key, true);
            break;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            MsgBox("A Favorite Folder named '" + name + "' in the '" + parent->text +
                       "' Folder already excists.\rPlease choose another Folder Name.",
                   MsgBoxStyle::Critical | MsgBoxStyle::OkOnly, kCreateTitle);
            continue;
        }
        ShowSystemError(error, kCreateTitle);
        break;
    }
    if (pnlNav.Exists("favori")) pnlNav.SetSorted("favori", true);
}

void FrmMain::mnuFavoriteGroupDel_Click() {
    const Node* node = pnlNav.Find(gFavNode);
    // The favorites root itself is never removed.
    if (!node || node->key.size() <= 6) return;
    const std::string key = node->key;
    gResult = MsgBox("Are you sure you want to remove the '" + node->text +
                         "' Favorite Folder and all of it's subgroups?.\rAll icons present in this folder and all it's "
                         "subfolders will be permanently deleted from your harddisk!",
                     MsgBoxStyle::Question | MsgBoxStyle::YesNo, "Remove Favorite Folder");
    if (gResult != MsgBoxResult::Yes) return;

    // Removed here rather than by a command line: a shell's tree removal command is not there on
    // every system, and a hidden one would fail unseen.
    const std::string folder = FavoritesFolderOf(gFavDir, key);
    const DWORD error = DeleteFolderTree(folder);
    if (FolderExists(folder)) {
        // Part of it may be gone; the tree keeps the node until the folder is. Something outside
        // the program holds it (a file open in another program): the box names it.
        const DWORD cause = error ? error : ERROR_DIR_NOT_EMPTY;
        ShowError(static_cast<int32_t>(cause), "Remove Favorite Folder",
                  SystemErrorText(cause) + "\rThe folder '" + folder + "' could not be removed.");
        return;
    }
    if (pnlNav.Exists(key)) pnlNav.Remove(key);
    gFavNode.clear();
    if (!pnlNav.Exists(gFavFolderNode)) gFavFolderNode.clear();
    // With the folder gone there is no favorites node for the folder commands to act on.
    for (int id : {ID_mnuFavoriteGroupAdd, ID_mnuFavoriteGroupDel}) Menus().SetEnabled(id, false);
    for (const char* button : {"favgroupadd", "favgroupdel"}) pnlToolbarYour.Buttons(button).SetEnabled(false);
}

void FrmMain::mnuFavoriteOrganize_Click() {
    if (!ReadStoredSetting(setting::OrganizeFav).Truth()) {
        ShowMessage(kOrganizeText, "OrganizeFav", "Organize Favorites", "Organize Favorites Now");
        if (!gResult.Truth()) return;
    }
    // Both quoted: the favorites usually live in the program folder, whose path holds blanks, and
    // the Windows folder's may too.
    std::string folder = gFavDir;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    const DWORD task = gStartProgram("\"" + gWinDir + "\\Explorer.exe\" /n,/e,\"" + folder + "\"");
    gResult = static_cast<int32_t>(task);
    if (task == 0) ShowSystemError(GetLastError(), "Organize Favorites");
}

std::string FrmMain::procRebuildFavorites() {
    if (pnlNav.Exists("favori")) pnlNav.Remove("favori");
    try {
        pnlNav.Add("reference", tvwPrevious, "favori", gFavoritesName, "favorite");
        pnlNav.SetSorted("favori", true);
    } catch (const KeyError&) {
        // A tree without its references branch: the favorites have no place to go.
    }
    gScanSubDirs = true;
    gFavoritesMode = true;
    std::string root = gFavDir;
    ScanFolderTree(root, "avb.avb", gFileCount, gDirCount);
    gScanSubDirs = false;
    gFavoritesMode = false;
    return root;
}

void FrmMain::mnuFavoriteRefresh_Click() {
    MakeFavoritesFolder(gFavDir, "Refresh Favorites");
    procRebuildFavorites();
    procClearResult();
    cmbResult.Clear();
    procGetPage();
}
