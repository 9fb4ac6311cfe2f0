// Special folders through the shell's item identifier lists.
#include "core/ShellFolders.h"

#include "ui/Unique.h"

std::string cSpecialFolders::GetSpecialFolder(int csidl) const {
    UniqueIdList list;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, list.put())) || !list) return {};
    char buffer[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListA(list.get(), buffer)) return {};
    std::string path(buffer, lstrlenA(buffer));
    if (path.empty()) return {};
    if (path.back() != '\\') path += '\\';
    return path;
}

cSpecialFolders& SpecialFolders() {
    static cSpecialFolders instance;
    return instance;
}

std::string GetSpecialFolder(int csidl) { return SpecialFolders().GetSpecialFolder(csidl); }
