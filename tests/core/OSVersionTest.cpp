// The Windows version table, special folders and the shell version test.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "core/Files.h"
#include "core/OSVersion.h"
#include "core/Registry.h"
#include "core/ShellFolders.h"

namespace {

OSVersion gFakeVersion;
OSVersion FakeVersion() { return gFakeVersion; }

// Runs the probe under the given Wine version setting ("" for the prefix's own) and answers
// "code|name".
std::string ProbeUnder(const std::string& wineVersion) {
    const std::string appKey = "Software\\Wine\\AppDefaults\\osversion_probe.exe";
    if (!wineVersion.empty()) {
        CreateRegKey(appKey, HKEY_CURRENT_USER);
        WriteRegValue(appKey, "Version", Variant(wineVersion), REG_SZ);
    }
    TempDir dir;
    std::string out = dir.path() + "probe.txt";
    std::string command = "\"" + TestProgramDir() + "osversion_probe.exe\" \"" + out + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string result = "<not started>";
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 60000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        std::ifstream in(out, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        result = ss.str();
    }
    if (!wineVersion.empty()) DeleteRegTree(HKEY_CURRENT_USER, appKey);
    return result;
}

}  // namespace

TEST(GetOSVersion, TheVersionTable) {
    struct Case {
        OSVersion v;
        const char* code;
        const char* name;
    } cases[] = {
        {{1, 4, 0}, "95", "Windows 95 (4.0)"},
        {{1, 4, 10}, "98", "Windows 98 (4.10)"},
        {{1, 4, 90}, "before", "before (4.90)"},
        {{2, 3, 51}, "NT3", "Windows NT 3.51 (3.51)"},
        {{2, 4, 0}, "NT4", "Windows NT 4.0 (4.0)"},
        {{2, 5, 0}, "before", "before (5.0)"},
        {{0, 3, 1}, "NT4", "OS Unknown"},
        {{3, 5, 0}, "NT4", "OS Unknown"},
    };
    const auto saved = gOSVersionSource;
    gOSVersionSource = &FakeVersion;
    for (const auto& c : cases) {
        gFakeVersion = c.v;
        gOSCode = "before";
        gOSName = "before";
        GetOSVersion();
        EXPECT_EQ(gOSCode, c.code) << c.v.platformId << " " << c.v.major << "." << c.v.minor;
        EXPECT_EQ(gOSName, c.name);
    }
    // A later NT leaves an empty code when nothing was set before.
    gFakeVersion = {2, 5, 0};
    gOSCode.clear();
    gOSName.clear();
    GetOSVersion();
    EXPECT_EQ(gOSCode, "");
    EXPECT_EQ(gOSName, " (5.0)");
    gOSVersionSource = saved;
}

TEST(GetOSVersion, UnderTheWineVersionSettings) {
    EXPECT_EQ(ProbeUnder(""), "NT4|Windows NT 4.0 (4.0)");
    EXPECT_EQ(ProbeUnder("win98"), "98|Windows 98 (4.10)");
    EXPECT_EQ(ProbeUnder("win95"), "95|Windows 95 (4.0)");
}

TEST(GetSpecialFolder, FavoritesAndFailures) {
    std::string favorites = GetSpecialFolder(CSIDL_FAVORITES);
    ASSERT_FALSE(favorites.empty());
    EXPECT_EQ(favorites.back(), '\\');
    EXPECT_NE(favorites.substr(favorites.size() - 2), "\\\\");
    EXPECT_NE(GetFileAttributesA(favorites.c_str()), INVALID_FILE_ATTRIBUTES);
    // Folders without a file-system path, and ids that name nothing.
    EXPECT_EQ(GetSpecialFolder(CSIDL_DRIVES), "");
    EXPECT_EQ(GetSpecialFolder(0x7F), "");
    EXPECT_EQ(&SpecialFolders(), &SpecialFolders());
}

TEST(procCheckShellVersion, DefaultIconValues) {
    const std::string cls = "OrnavaleTest.ShellVersion";
    const std::string key = cls + "\\DefaultIcon";
    const std::string here = TestProgramDir();
    const std::string ie = "C:\\Program Files\\Internet Explorer\\Iexplore.exe";
    std::string ieVersion = GetFileMajorVersion(ie);
    const bool ieSupports = !ieVersion.empty() && std::stoi(ieVersion) >= 4;

    struct Case {
        const char* label;
        std::optional<std::string> value;  // nothing: value missing
        bool before;
        bool after;
    } cases[] = {
        {"missing value", std::nullopt, false, ieSupports},
        {"version 5 with index", here + "ver5.dll,0", false, true},
        {"version 5 without comma", here + "ver5.dll", false, true},
        {"version 3", here + "ver3.dll,1", false, false},
        {"no version information", here + "nover.dll,0", false, false},
        {"missing file", here + "missing.dll,0", false, false},
        {"never set back to False", here + "ver3.dll", true, true},
    };
    for (const auto& c : cases) {
        DeleteRegTree(HKEY_CLASSES_ROOT, cls);
        if (c.value) {
            CreateRegKey(key, HKEY_CLASSES_ROOT);
            ASSERT_EQ(WriteRegValue(key, "", Variant(*c.value), REG_SZ), ERROR_SUCCESS);
        }
        gFolderIconSupport = c.before;
        procCheckShellVersion(key);
        EXPECT_EQ(gFolderIconSupport, c.after) << c.label;
    }
    DeleteRegTree(HKEY_CLASSES_ROOT, cls);
    gFolderIconSupport = false;
}
