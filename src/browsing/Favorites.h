// The favorites folders: the nodes the favorites commands act on, and the checks and file work
// behind those commands.
#pragma once

#include <string>

#include "ui/Win.h"

struct Node;

// Nodes are held by key, so that a node removed from the tree is simply not found again.
extern std::string gFavNode;        // the favorites node last clicked; the folder commands act on it
extern std::string gFavFolderNode;  // the favorites folder whose files make up the result; "" for none
extern bool gAddByDrag;             // a drop on a favorites node: Save As writes without its dialog

// The folder of a favorites node on disk: the favorites root (with or without its closing "\")
// followed by the node key's path below "favori". The root node gives the root itself.
std::string FavoritesFolderOf(const std::string& favDir, const std::string& nodeKey);
// The folder Add to Favorites saves into: that of the tree's selected node when it is a favorites
// node, else the favorites root.
std::string FavoritesAddFolder(const std::string& favDir, const Node* selected);

// Whether path lies inside folder, at any depth (not the folder itself). Both are compared as
// full long paths, without regard to case, so "..", short names and doubled "\" do not matter.
bool IsInsideFolder(const std::string& path, const std::string& folder);

// Whether a typed name can be a new favorites folder: not empty, no "\", "/", ":", "*", "?", '"',
// "<", ">", "|" or control character, and not ending in "." or a blank (which also refuses "."
// and "..").
bool IsValidFolderName(const std::string& name);

// Deletes a folder with everything in it; read-only files too. A junction inside is removed, never
// followed. The program's current folder, when it lies there, moves to the folder's parent first.
// Goes on past what cannot be removed; answers 0, or the system error of the first thing that
// could not be removed.
DWORD DeleteFolderTree(const std::string& folder);

// Starts a program from a command line in a normal window with the focus; answers its process id,
// or 0 when it could not be started (the system error is then the last error). Tests replace it.
using ProgramStarter = DWORD (*)(const std::string& commandLine);
extern ProgramStarter gStartProgram;

// The file Save As wrote for a drop on a favorites node (gAddByDrag); "" when it wrote none.
extern std::string gAddByDragFile;

// Whether a favorite moved by a drop may be deleted: only once its copy `saved` exists and is
// another file than the favorite `source` (paths compared in full long form, without regard to
// case). An empty `saved` means nothing was written.
bool MovedFavoriteMayGo(const std::string& saved, const std::string& source);
