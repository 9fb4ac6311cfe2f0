// The Windows version table and the shell version test.
#include "core/OSVersion.h"

#include "core/Files.h"
#include "core/Registry.h"

std::string gOSCode;
std::string gOSName;
bool gFolderIconSupport = false;

OSVersion SystemOSVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return {};
#pragma GCC diagnostic pop
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

OSVersionSource gOSVersionSource = &SystemOSVersion;

void ClassifyOSVersion(const OSVersion& v, std::string& code, std::string& name) {
    if (v.platformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (v.minor == 0) {
            name = "Windows 95";
            code = "95";
        } else if (v.minor == 10) {
            name = "Windows 98";
            code = "98";
        }
    } else if (v.platformId == VER_PLATFORM_WIN32_NT) {
        if (v.major == 3) {
            name = "Windows NT 3.51";
            code = "NT3";
        } else if (v.major == 4) {
            name = "Windows NT 4.0";
            code = "NT4";
        }
    } else {
        name = "OS Unknown";
        code = "NT4";
        return;
    }
    name += " (" + std::to_string(v.major) + "." + std::to_string(v.minor) + ")";
}

void GetOSVersion() { ClassifyOSVersion(gOSVersionSource(), gOSCode, gOSName); }

void procCheckShellVersion(const std::string& classKey) {
    Variant value = ReadRegValue(HKEY_CLASSES_ROOT, classKey, "");
    std::string shellFile = "C:\\Program Files\\Internet Explorer\\Iexplore.exe";
    if (!value.IsEmpty()) {
        shellFile = value.Text();
        auto comma = shellFile.find(',');
        if (comma != std::string::npos) shellFile.erase(comma);
    }
    auto version = ParseLong(GetFileMajorVersion(shellFile));
    if (version && *version >= 4) gFolderIconSupport = true;
}
