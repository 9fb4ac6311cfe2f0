// The system icons the program lists and changes: one row per icon, by tree group and Windows version.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The rows of the tree group ("SysDesktop", "SysStart", "SysDrives", "SysFolders", "SysFiles") for
// the Windows version code ("95", "98", "NT3", "NT4"), in list order; none for any other group or code.
std::vector<std::string> SystemIconRowsOf(std::string_view groupKey, std::string_view osCode);
