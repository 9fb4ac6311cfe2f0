// The folder picker and the folder walker shared by the favorites, the disk scan and the
// folder icon commands.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Win.h"

// Modes set by the callers before a call.
extern bool gFavoritesMode;     // the picker serves the options' favorites field; the walker adds tree nodes
extern bool gBrowseFolderIcon;  // the picker serves the folder icon commands (result in gStrTemp)
extern bool gScanSubDirs;       // the walker descends into sub-folders
extern bool gAbort;             // set by Esc or the abort button while events run; the walker stops
extern std::string gFavDir;     // the favorites root folder
extern std::string gStrTemp;    // the folder the picker leaves for the folder icon commands
extern int32_t gFileCount;
extern int32_t gDirCount;

// Shows the shell's folder picker with startPath preselected and hands the chosen folder to the
// window that asked (by mode). Answers the folder, or "" when cancelled or when the chosen item
// has no file-system path.
std::string BrowseForFolder(const std::string& startPath);
int CALLBACK BrowseCallbackProc(HWND hwnd, UINT msg, LPARAM lParam, LPARAM data);

// The picker itself; tests replace it so that nobody has to click.
using FolderPicker = PIDLIST_ABSOLUTE (*)(BROWSEINFOA* info);
extern FolderPicker gFolderPicker;

// Lists the files of path matching pattern into frmMain.lstFiles, counts files and folders,
// descends into sub-folders when gScanSubDirs is set, and in favorites mode adds a tree node for
// every folder. A missing trailing "\" is appended to path. Stops at once when gAbort is set.
// Answers the summed size of the listed entries.
uint64_t ScanFolderTree(std::string& path, const std::string& pattern, int32_t& fileCount, int32_t& dirCount);

// The keys of a favorites folder's node and of its parent, for a folder `name` met while walking
// `walkedPath` under the favorites root `favDir`.
struct FavoritesNodeKeys {
    std::string parent;
    std::string key;
};
FavoritesNodeKeys FavoritesKeys(const std::string& favDir, const std::string& walkedPath, const std::string& name);
