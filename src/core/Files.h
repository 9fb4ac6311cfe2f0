// Small file, path and shell helpers shared by every window.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "ui/Win.h"

// A path in the program's ANSI code page as a path object: the standard library would read the
// bytes in another code page, so a name with accented letters would name another file.
std::filesystem::path WidePath(const std::string& path);

// Sets gResult to True when the path names a file that can be opened for reading, else False
// (folders, missing paths and files another program holds exclusively). Returns the same.
bool FileExists(const std::string& path);

// Cuts s at its first zero character; returns the (possibly shortened) s.
std::string& TrimAtNull(std::string& s);

// The short (8.3) form of an existing path; "" when Windows cannot resolve it.
std::string GetShortPath(const std::string& path);

// The long form of a path, component by component; a network path ("\\...") comes back
// unchanged; "" when a component is not found.
std::string GetLongPath(const std::string& path);

// The fixed part of the file's version resource; nothing without version information.
std::optional<VS_FIXEDFILEINFO> GetFixedFileInfo(const std::string& file);

// The file's product major version as decimal text; "" without version information.
std::string GetFileMajorVersion(const std::string& file);

// Shows the shell's property sheet of the file, owned by the window.
void ShowFileProperties(const std::string& file, HWND owner);

// Whether the two paths name one file: their full, long forms are equal but for letter case.
// False when either is empty.
bool SameFile(const std::string& a, const std::string& b);

// The highest number an icon copy's name carries.
inline constexpr int kMaxIconCopyNumber = 5000;

// The number an icon copy's file name carries for the extension (".ico", ".cur" or ".ani"): plain
// decimal digits, 1 to kMaxIconCopyNumber without a leading zero, then the extension in any letter
// case and nothing more; 0 for any other name.
int IconCopyNumber(const std::string& name, const std::string& extension);

// Whether the path names one of the program's own icon copies: a file directly in the Icons folder
// of the Windows folder, spelled as the program spells it, whose name is a copy's (<n>.ico, <n>.cur
// or <n>.ani).
bool IsIconCopyPath(const std::string& path);

// Deletes an earlier icon copy of the program's own: a file directly in the Icons folder of the
// Windows folder whose name is a copy's (<n>.ico, <n>.cur or <n>.ani). Any other file, there or
// elsewhere, is left where it is: the user may keep icons of their own in that folder.
void DeleteWinIconsFile(const std::string& path);
