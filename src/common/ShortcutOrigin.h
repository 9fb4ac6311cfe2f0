// Where the user's shortcuts lie, as their items show it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The shell folders that hold the user's shortcuts: the Start Menu and the Desktop of the user and
// of all users, those the shell names, each with a trailing "\" (ShortcutFolders.cpp).
std::vector<std::string> ShortcutShellFolders();

// The user's shell folder that the tree's shortcut node or an Origin's first part names: the Start
// Menu for "Start Menu", the desktop folder for "Desktop", with a trailing "\"; "" for any other
// name (ShortcutFolders.cpp).
std::string ShortcutFolder(const std::string& sFolder);

// The shortcut file of a shortcut item named `name` with this Origin: the shell folder of the
// origin's first part followed by the rest of the origin, "\", the name and ".lnk"; an origin whose
// first part names no shell folder lies below the Windows folder `winDir` (ShortcutFolders.cpp).
std::string ShortcutLinkPath(std::string_view origin, std::string_view name, std::string_view winDir);

// The program a shortcut entry stands for: its label `label`, or, when the label could not hold
// the target whole (IsWholeTarget), the target read from the shortcut file `link`; "" when that
// cannot be read (frmMain_Shortcuts.cpp).
std::string ShortcutTarget(std::string_view label, const std::string& link);

// The Origin of a shortcut file's item: the folder of `link` relative to the parent of the shell
// folder holding it ("Start Menu\Programs\Accessories", "Desktop"), else relative to the Windows
// folder `winDir` when below it ("" in it), else the whole folder. Letter case aside (A to Z); ""
// for a link without a folder.
std::string ShortcutOrigin(std::string_view link, std::span<const std::string> shellFolders,
                           std::string_view winDir);
