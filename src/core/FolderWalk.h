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
// How often a walk lets window events run, in milliseconds; 0 runs them at every entry.
extern unsigned long gWalkEventsMs;

// The keys of a favorites folder's node and of its parent, for a folder `name` met while walking
// `walkedPath` under the favorites root `favDir`.
struct FavoritesNodeKeys {
    std::string parent;
    std::string key;
};
FavoritesNodeKeys FavoritesKeys(const std::string& favDir, const std::string& walkedPath, const std::string& name);

// Whom the picker serves, by the modes above.
enum class PickerMode { Scan, Favorites, FolderIcon };

// The windows that show the picker and the walk. The layer that owns them registers one; without
// it the picker has no owner and the walk only counts.
class FolderWalkVisitor {
  public:
    virtual ~FolderWalkVisitor() = default;
    // The window that owns the picker in this mode.
    virtual HWND PickerOwner(PickerMode mode) = 0;
    // The folder the user chose, "" for an item without a file-system path; never on cancel, and
    // not in folder icon mode (that folder goes to gStrTemp).
    virtual void FolderChosen(PickerMode mode, const std::string& folder) = 0;
    // An entry the pattern matched, by its full path.
    virtual void EntryListed(const std::string& path) = 0;
    // A folder met in favorites mode, with the keys of its node.
    virtual void FavoritesFolder(const FavoritesNodeKeys& keys, const std::string& name) = 0;
};
// Registers the visitor (nullptr: none); it must outlive every later walk. Answers the one it replaces.
FolderWalkVisitor* SetFolderWalkVisitor(FolderWalkVisitor* visitor);

// Shows the shell's folder picker with startPath preselected and hands the chosen folder to the
// window that asked (by mode). Answers the folder, or "" when cancelled or when the chosen item
// has no file-system path.
std::string BrowseForFolder(const std::string& startPath);
int CALLBACK BrowseCallbackProc(HWND hwnd, UINT msg, LPARAM lParam, LPARAM data);

// The picker itself; tests replace it so that nobody has to click.
using FolderPicker = PIDLIST_ABSOLUTE (*)(BROWSEINFOA* info);
extern FolderPicker gFolderPicker;

// Hands every entry of path matching pattern to the visitor, counts files and folders, descends
// into sub-folders when gScanSubDirs is set, and in favorites mode hands over every folder too. A
// missing trailing "\" is appended to path. Stops at once when gAbort is set. Answers the summed
// size of the listed entries.
uint64_t ScanFolderTree(std::string& path, const std::string& pattern, int32_t& fileCount, int32_t& dirCount);
