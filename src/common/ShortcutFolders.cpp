// The shell folders that hold the user's shortcuts.
#include "common/ShortcutOrigin.h"

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

std::string ShortcutFolder(const std::string& sFolder) {
    // Neither "<Windows>\Start Menu" nor "<Windows>\Desktop" exists on NT or under Wine.
    if (sFolder == "Start Menu") return GetSpecialFolder(CSIDL_STARTMENU);
    if (sFolder == "Desktop") return GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    return {};
}

std::string ShortcutLinkPath(std::string_view origin, std::string_view name, std::string_view winDir) {
    const size_t slash = origin.find('\\');
    const std::string folder = ShortcutFolder(std::string(origin.substr(0, slash)));
    const std::string file = std::string(name) + ".lnk";
    if (folder.empty()) return std::string(winDir) + "\\" + std::string(origin) + "\\" + file;
    if (slash == std::string_view::npos) return folder + file;
    return folder + std::string(origin.substr(slash + 1)) + "\\" + file;
}
