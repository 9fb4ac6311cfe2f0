// The shell folders that hold the user's shortcuts.
#include "browsing/ShortcutOrigin.h"

#include "core/ShellFolders.h"
#include "ui/Win.h"

std::vector<std::string> ShortcutShellFolders() {
    std::vector<std::string> folders;
    for (int csidl : {CSIDL_STARTMENU, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_DESKTOPDIRECTORY}) {
        std::string folder = GetSpecialFolder(csidl);
        if (!folder.empty()) folders.push_back(std::move(folder));
    }
    return folders;
}
