// Giving a shortcut a new icon: the change window's shortcut change and files dropped on the result
// list both read the link, write the work surfaces as an icon copy and point the link at it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The six values of a shortcut as the link component reads them.
struct ShortcutFields {
    std::string target, folder, arguments, iconFile;
    int32_t iconIndex = 0;
    int32_t showCommand = 1;
};

// The shortcut's values; when it cannot be read (gone, damaged, no shortcut at all) the user is
// told which one and nothing is answered, and the file is left as it is.
std::optional<ShortcutFields> ReadShortcutOrTell(const std::string& lnkFile);

// The work surfaces, as procMask left them, encoded as an icon file at the colour depth; when they
// cannot be read the user is told and nothing is answered.
std::optional<std::vector<uint8_t>> SurfaceIconBytes(int32_t bitCount);

// Makes the icon copy of `bytes` and points the shortcut at it through writeLink (given the copy's
// path; a link component failure counts as not pointed), then removes previousIcon when it is an
// earlier copy. Answers the copy's path; nothing after a failure, which the user has been told of,
// with the shortcut and its earlier icon as they were.
std::optional<std::string> GiveShortcutIcon(const std::string& previousIcon, const std::vector<uint8_t>& bytes,
                                            const std::function<void(const std::string& copyPath)>& writeLink);

// Takes the shortcut's icon of its own away, so that the shell draws its target's picture, and keeps
// everything else; then removes previousIcon when it is an earlier copy. False after a failure,
// which the user has been told of, with the shortcut and its earlier icon as they were.
bool TakeShortcutIcon(const std::string& lnkFile, const std::string& previousIcon);

// Offers to rebuild the icon cache because a shortcut's new icon has the path of its old one, unless
// the user switched the reminder off. Answers whether it was shown.
bool RemindShortcutCache(const std::string& caption);
