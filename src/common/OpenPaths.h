// The paths the open commands work with: path lists, the open dialog's answer and the kinds of
// file whose icons the program lists.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/HiddenList.h"

// The extensions whose icons are listed, with their dot, in lower case.
inline constexpr const char* kIconExtensions[] = {".ani", ".cur", ".dll", ".exe", ".icl", ".ico"};

// The last four characters of a path in lower case ("" when it is shorter).
std::string ExtensionOf(const std::string& path);
// Whether the path ends in one of the six listed extensions, in any case.
bool IsIconFileName(const std::string& path);

// The file types the disk scan window keeps: all six, or those whose box is ticked.
struct FileTypeFilter {
    bool all = false;
    bool ani = false, cur = false, dll = false, exe = false, icl = false, ico = false;
    bool Keeps(const std::string& path) const;
};

// Keeps the entries for which keep answers true, in their order, with their item data.
void KeepFiles(HiddenList& files, const std::function<bool(const std::string&)>& keep);

// Splits a path list at the separator. A part in double quotes stays whole, separators and all;
// the quotes themselves are dropped. Empty parts (two separators in a row) are dropped.
std::vector<std::string> SplitPathList(const std::string& list, char separator);

// What the open dialog returned, taken apart: the full path of each chosen file, and the folder
// to remember: a single file's folder with its closing "\", or the folder the dialog returned
// for several files, as it returned it.
struct OpenSelection {
    std::string folder;
    std::vector<std::string> files;
};
OpenSelection ParseOpenSelection(const std::string& fileName);

// The path made whole against the current directory; as it is when that cannot be done.
std::string FullPath(const std::string& path);

// Windows' own settings name many icon files without a folder ("url.dll,0", "msiexec.exe"): the
// shell finds them where the loader finds a module, in the system folders first. A path with a
// folder stays as it is, and so does a name found nowhere.
std::string OnSearchPath(const std::string& file);

// The text in lower case, by the rules of the ANSI code page.
std::string LowerAnsi(std::string text);

// Sets gResult to True for a folder and to False for anything else that exists, and answers the
// same. "." and ".." and a path that cannot be examined (missing, empty) leave gResult as it was
// and answer nothing.
std::optional<bool> procIsFolder(const std::string& sPath);
