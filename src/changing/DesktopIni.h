// A folder's desktop.ini, where the shell finds the folder's own icon ("IconFile" and "IconIndex"
// of ".ShellClassInfo"), read and written through the system's profile functions.
#pragma once

#include <string>
#include <utility>
#include <vector>

inline constexpr const char* kShellClassInfo = ".ShellClassInfo";

// The folder's desktop.ini: folder & "\desktop.ini", with one "\" after a drive's root too.
std::string DesktopIniOf(const std::string& folder);

// The key's text in the section of the profile file, whole however long it is; "" when the file,
// the section or the key is missing.
std::string ReadProfileText(const std::string& file, const std::string& section, const std::string& key);

// Sets the keys of the section in the profile file, every other section and key staying as it is.
// The writes go to a copy of the file in its folder (a name only this program uses), which then
// takes the file's place with the file's attributes (hidden, system). A missing file is made.
// Answers "" when done, else what failed; the file is then as it was and no copy is left.
std::string RewriteProfile(const std::string& file, const std::string& section,
                           const std::vector<std::pair<std::string, std::string>>& keys);
