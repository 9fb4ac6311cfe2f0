// The system icons the program lists and changes: one row per icon, by tree group and Windows version.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Win.h"

// The rows of the tree group ("SysDesktop", "SysStart", "SysDrives", "SysFolders", "SysFiles") for
// the Windows version code ("95", "98", "NT3", "NT4"), in list order; none for any other group or code.
std::vector<std::string> SystemIconRowsOf(std::string_view groupKey, std::string_view osCode);

// A system icon row taken apart: name ";" default ";" hive "\" key ["," value name].
struct SystemIconPlace {
    std::string name;
    std::string defaultIcon;
    std::string hiveName;  // "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE" or "HKEY_USERS"
    HKEY hive = nullptr;
    std::string key;
    std::string valueName;  // "" for the key's unnamed value
};

// Throws std::invalid_argument for a row without its two ";" or with a hive word of none of the
// four predefined hives.
SystemIconPlace ReadSystemIconRow(std::string_view row);

// The key that holds the Recycle Bin's icons for the Windows version code, as "<hive>\<key>":
// its "Empty" and "full" values, and the unnamed value that goes with "Empty". "" for a code of
// no list.
std::string RecycleBinIconKey(std::string_view osCode);
