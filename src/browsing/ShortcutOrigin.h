// Where the user's shortcuts lie, as their items show it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The shell folders that hold the user's shortcuts: the Start Menu and the Desktop of the user and
// of all users, those the shell names, each with a trailing "\" (ShortcutFolders.cpp).
std::vector<std::string> ShortcutShellFolders();

// The Origin of a shortcut file's item: the folder of `link` relative to the parent of the shell
// folder holding it ("Start Menu\Programs\Accessories", "Desktop"), else relative to the Windows
// folder `winDir` when below it ("" in it), else the whole folder. Letter case aside (A to Z); ""
// for a link without a folder.
std::string ShortcutOrigin(std::string_view link, std::span<const std::string> shellFolders,
                           std::string_view winDir);
