#include "common/SystemIconRows.h"

#include <array>
#include <stdexcept>

#include "core/Folders.h"

namespace {

// The two spellings of the key that holds the shell's own icons.
#define S98 "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons"
#define SNT "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons"
#define CLSID_CR "HKEY_CLASSES_ROOT\\CLSID\\"
#define CLSID_LM98 "HKEY_LOCAL_MACHINE\\Software\\CLASSES\\CLSID\\"

// Where a default icon's file lies.
enum class Folder { Windows, System };

struct Row {
    const char* group;
    const char* name;
    const char* ntName;  // the row's name in the Windows 95 and NT list, when it differs
    Folder folder;
    const char* icon;    // file "," index, inside the folder
    const char* at98;    // registry place in the Windows 98 list; nullptr: no such row there
    const char* atNT;    // registry place in the Windows 95 and NT list; nullptr: no such row there
};

constexpr std::array kRows{
    // Desktop
    Row{"SysDesktop", "My Computer", nullptr, Folder::Windows, "explorer.exe,0",
        "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\Defaulticon",
        CLSID_CR "{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\Defaulticon"},
    Row{"SysDesktop", "Network Neighborhood", nullptr, Folder::System, "shell32.dll,17",
        "HKEY_USERS\\.DEFAULT\\Software\\Classes\\CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\Defaulticon",
        CLSID_CR "{208D2C60-3AEA-1069-A2D7-08002B30309D}\\Defaulticon"},
    Row{"SysDesktop", "Recycle Bin (Empty)", nullptr, Folder::System, "shell32.dll,31",
        "HKEY_USERS\\.DEFAULT\\Software\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon,Empty",
        CLSID_CR "{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon,Empty"},
    Row{"SysDesktop", "Recycle Bin (Full)", nullptr, Folder::System, "shell32.dll,32",
        "HKEY_USERS\\.DEFAULT\\Software\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon,full",
        CLSID_CR "{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon,full"},
    Row{"SysDesktop", "My Documents", nullptr, Folder::System, "mydocs.dll,0",
        "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\Defaulticon",
        nullptr},
    Row{"SysDesktop", "My Briefcase", nullptr, Folder::System, "syncui.dll,0",
        CLSID_LM98 "{85BBD920-42A0-1069-A2E4-08002B30309D}\\Defaulticon",
        CLSID_CR "{85BBD920-42A0-1069-A2E4-08002B30309D}\\Defaulticon"},
    // Start menu
    Row{"SysStart", "Program Group", "Programs", Folder::System, "shell32.dll,19", S98 ",19", SNT ",19"},
    Row{"SysStart", "Favorites", nullptr, Folder::System, "shell32.dll,43", S98 ",43", nullptr},
    Row{"SysStart", "Documents", nullptr, Folder::System, "shell32.dll,20", S98 ",20", SNT ",20"},
    Row{"SysStart", "Settings", nullptr, Folder::System, "shell32.dll,21", S98 ",21", SNT ",21"},
    Row{"SysStart", "Control Panel", nullptr, Folder::System, "shell32.dll,35", S98 ",35", SNT ",35"},
    Row{"SysStart", "Printers", nullptr, Folder::System, "shell32.dll,37", S98 ",37", SNT ",37"},
    Row{"SysStart", "Find", nullptr, Folder::System, "shell32.dll,22", S98 ",22", SNT ",22"},
    Row{"SysStart", "Help", nullptr, Folder::System, "shell32.dll,23", S98 ",23", SNT ",23"},
    Row{"SysStart", "Run", nullptr, Folder::System, "shell32.dll,24", S98 ",24", SNT ",24"},
    Row{"SysStart", "Log Off", nullptr, Folder::System, "shell32.dll,44", S98 ",44", nullptr},
    Row{"SysStart", "Suspend", nullptr, Folder::System, "shell32.dll,25", S98 ",25", SNT ",25"},
    Row{"SysStart", "Shut Down", nullptr, Folder::System, "shell32.dll,27", S98 ",27", SNT ",27"},
    // Drives
    Row{"SysDrives", "Hard Drive", nullptr, Folder::System, "shell32.dll,8", S98 ",8", SNT ",8"},
    Row{"SysDrives", "Floppy Drive [3,5]", nullptr, Folder::System, "shell32.dll,6", S98 ",6", SNT ",6"},
    Row{"SysDrives", "Floppy Drive [5,25]", nullptr, Folder::System, "shell32.dll,5", S98 ",5", SNT ",5"},
    Row{"SysDrives", "CD-ROM Drive", nullptr, Folder::System, "shell32.dll,11", S98 ",11", SNT ",11"},
    Row{"SysDrives", "Audio CD", nullptr, Folder::System, "shell32.dll,40", S98 ",40", SNT ",40"},
    Row{"SysDrives", "Network Drive [Connected]", nullptr, Folder::System, "shell32.dll,9", S98 ",9", SNT ",9"},
    Row{"SysDrives", "Network Drive [Offline]", nullptr, Folder::System, "shell32.dll,10", S98 ",10", SNT ",10"},
    Row{"SysDrives", "Removable Drive", nullptr, Folder::System, "shell32.dll,7", S98 ",7", SNT ",7"},
    Row{"SysDrives", "Ram Drive", nullptr, Folder::System, "shell32.dll,12", S98 ",12", SNT ",12"},
    // Folders
    Row{"SysFolders", "Closed Folder", nullptr, Folder::System, "shell32.dll,3", S98 ",3", SNT ",3"},
    Row{"SysFolders", "Open Folder", nullptr, Folder::System, "shell32.dll,4", S98 ",4", SNT ",4"},
    Row{"SysFolders", "Sharing Overlay", nullptr, Folder::System, "shell32.dll,28", S98 ",28", SNT ",28"},
    Row{"SysFolders", "Desktop", nullptr, Folder::System, "shell32.dll,34", S98 ",34", SNT ",34"},
    Row{"SysFolders", "Control Panel", nullptr, Folder::System, "shell32.dll,35", S98 ",35",
        CLSID_CR "{21EC2020-3AEA-1069-A2DD-08002B30309D}\\Defaulticon"},
    Row{"SysFolders", "Printers", nullptr, Folder::System, "shell32.dll,37", S98 ",37",
        CLSID_CR "{2227A280-3AEA-1069-A2DE-08002B30309D}\\Defaulticon"},
    Row{"SysFolders", "Dial-Up Networking", nullptr, Folder::System, "rnaui.dll,0",
        CLSID_LM98 "{992CFFA0-F557-101A-88EC-00DD010CCC48}\\Defaulticon",
        CLSID_CR "{992CFFA0-F557-101A-88EC-00DD010CCC48}\\Defaulticon"},
    Row{"SysFolders", "Program Group", nullptr, Folder::System, "shell32.dll,36", S98 ",36", SNT ",36"},
    Row{"SysFolders", "URL History", nullptr, Folder::System, "shdocvw.dll,32",
        CLSID_CR "{FF393560-C2A7-11CF-BFF4-444553540000}\\Defaulticon", nullptr},
    Row{"SysFolders", "ActiveX Cache", nullptr, Folder::System, "occache.dll,0",
        CLSID_CR "{88C6C381-2E85-11D0-94DE-444553540000}\\Defaulticon", nullptr},
    Row{"SysFolders", "Scheduled Tasks", nullptr, Folder::System, "mstask.dll,0",
        CLSID_CR "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}\\Defaulticon", nullptr},
    // File kinds
    Row{"SysFiles", "Text Document", nullptr, Folder::System, "shell32.dll,64",
        "HKEY_CLASSES_ROOT\\txtfile\\Defaulticon", "HKEY_CLASSES_ROOT\\txtfile\\Defaulticon"},
    Row{"SysFiles", "MS-DOS Application", nullptr, Folder::System, "shell32.dll,2",
        "HKEY_LOCAL_MACHINE\\Software\\CLASSES\\comfile\\Defaulticon",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\comfile\\Defaulticon"},
    Row{"SysFiles", "MS-DOS Batch File", nullptr, Folder::System, "shell32.dll,65",
        "HKEY_CLASSES_ROOT\\batfile\\Defaulticon", "HKEY_CLASSES_ROOT\\batfile\\Defaulticon"},
    Row{"SysFiles", "Configuration Settings", nullptr, Folder::System, "shell32.dll,63",
        "HKEY_CLASSES_ROOT\\inifile\\Defaulticon", "HKEY_CLASSES_ROOT\\inifile\\Defaulticon"},
    Row{"SysFiles", "Installation Settings", nullptr, Folder::System, "shell32.dll,64",
        "HKEY_LOCAL_MACHINE\\Software\\CLASSES\\inffile\\Defaulticon",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\inffile\\Defaulticon"},
    Row{"SysFiles", "Default Icon", nullptr, Folder::System, "shell32.dll,0", S98 ",0", SNT ",0"},
    Row{"SysFiles", "Default Document", nullptr, Folder::System, "shell32.dll,1", S98 ",1", SNT ",1"},
    Row{"SysFiles", "Shortcut Overlay", nullptr, Folder::System, "shell32.dll,29", S98 ",29", SNT ",29"},
};

#undef S98
#undef SNT
#undef CLSID_CR
#undef CLSID_LM98

HKEY HiveNamed(std::string_view name) {
    if (name == "HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
    if (name == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
    if (name == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
    if (name == "HKEY_USERS") return HKEY_USERS;
    throw std::invalid_argument("Invalid procedure call or argument");
}

// The default icon in the folder where this Windows keeps it.
std::string DefaultIcon(const Row& row) {
    return (row.folder == Folder::Windows ? WindowsFolder() : SystemFolder()) + "\\" + row.icon;
}

// The row's registry place in the list of the Windows version code; nullptr when that list has no
// such row or there is no list for the code.
const char* PlaceOf(const Row& row, std::string_view osCode) {
    if (osCode == "98") return row.at98;
    if (osCode == "95" || osCode == "NT3" || osCode == "NT4") return row.atNT;
    return nullptr;
}

}  // namespace

SystemIconPlace ReadSystemIconRow(std::string_view row) {
    SystemIconPlace place;
    const size_t first = row.find(';');
    const size_t second = first == std::string_view::npos ? first : row.find(';', first + 1);
    if (second == std::string_view::npos) throw std::invalid_argument("Invalid procedure call or argument");
    place.name = std::string(row.substr(0, first));
    place.defaultIcon = std::string(row.substr(first + 1, second - first - 1));
    const std::string_view location = row.substr(second + 1);
    const size_t slash = location.find('\\');
    place.hiveName = std::string(location.substr(0, slash));
    place.hive = HiveNamed(place.hiveName);
    const std::string_view rest = slash == std::string_view::npos ? std::string_view() : location.substr(slash + 1);
    const size_t comma = rest.find(',');
    place.key = std::string(rest.substr(0, comma));
    if (comma != std::string_view::npos) place.valueName = std::string(rest.substr(comma + 1));
    return place;
}

std::string RecycleBinIconKey(std::string_view osCode) {
    for (const Row& row : kRows) {
        if (std::string_view(row.name) != "Recycle Bin (Empty)") continue;
        const char* at = PlaceOf(row, osCode);
        if (!at) return {};
        const std::string_view location(at);
        return std::string(location.substr(0, location.rfind(',')));
    }
    return {};
}

std::vector<std::string> SystemIconRowsOf(std::string_view groupKey, std::string_view osCode) {
    std::vector<std::string> rows;
    for (const Row& row : kRows) {
        if (groupKey != row.group) continue;
        if (const char* at = PlaceOf(row, osCode)) {
            const char* name = osCode != "98" && row.ntName ? row.ntName : row.name;
            rows.push_back(std::string(name) + ";" + DefaultIcon(row) + ";" + at);
        }
    }
    return rows;
}
