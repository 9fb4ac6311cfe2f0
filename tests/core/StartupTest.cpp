// Start-up helpers: the command line, the hand-over bytes, the folders and the tip setting.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Folders.h"
#include "core/Instance.h"
#include "core/Registry.h"
#include "core/Settings.h"

TEST(Startup, ArgumentsOfTheCommandLine) {
    struct Case {
        const char* commandLine;
        const char* arguments;
    } cases[] = {
        {"Ornavale.exe", ""},
        {"\"C:\\Program Files\\Ornavale\\Ornavale.exe\"", ""},
        {"\"C:\\Program Files\\Ornavale\\Ornavale.exe\" C:\\a.ico", "C:\\a.ico"},
        {"C:\\Ornavale\\Ornavale.exe   C:\\a.ico  D:\\b.dll", "C:\\a.ico  D:\\b.dll"},
        {"Ornavale.exe \"C:\\My Icons\\x.ico\"", "\"C:\\My Icons\\x.ico\""},
        {"\"C:\\Ornavale\\Ornavale.exe\"\tC:\\tab.ico", "C:\\tab.ico"},
        {"  Ornavale.exe x", "x"},
    };
    for (const auto& c : cases) EXPECT_EQ(ArgumentsOf(c.commandLine), c.arguments) << c.commandLine;
}

TEST(Startup, HandoverBytes) {
    EXPECT_EQ(HandoverBytes(""), std::vector<char>{'\0'});
    EXPECT_EQ(HandoverBytes("C:\\a.ico"), (std::vector<char>{'C', ':', '\\', 'a', '.', 'i', 'c', 'o'}));
}

TEST(Startup, TemporaryFolderRule) {
    struct Case {
        const char* raw;
        const char* kept;
    } cases[] = {
        {"C:\\TEMP\\", "c:\\temp\\"},
        {"C:\\Users\\Ann\\AppData\\Local\\Temp\\", "c:\\users\\ann\\appdata\\local\\temp\\"},
        {"C:\\TEMP", "c:\\temp\\"},
        {"C:\\TEMP\\\\", "c:\\temp\\"},
        {"D:\\\xC4RGER\\", "d:\\\xE4rger\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeTempFolder(c.raw), c.kept) << c.raw;
    std::string temp = TempFolder();
    ASSERT_GE(temp.size(), 2u);
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_NE(temp[temp.size() - 2], '\\');
}

TEST(Startup, PathWrittenOnlyWhenItDiffers) {
    CleanStore clean;
    const std::string app = "C:\\Program Files\\Ornavale\\";
    PublishProgramFolder(app);
    EXPECT_EQ(ReadStoredSetting(setting::Path), Variant(app));
    // Stored already (here as an expandable text, which a rewrite would turn into a plain one).
    HKEY k;
    RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &k);
    RegSetValueExA(k, "Path", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(app.c_str()),
                   static_cast<DWORD>(app.size() + 1));
    PublishProgramFolder(app);
    DWORD type = 0;
    RegQueryValueExA(k, "Path", nullptr, &type, nullptr, nullptr);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    PublishProgramFolder("D:\\Moved\\");
    RegQueryValueExA(k, "Path", nullptr, &type, nullptr, nullptr);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    RegCloseKey(k);
    EXPECT_EQ(ReadStoredSetting(setting::Path), Variant("D:\\Moved\\"));
}

TEST(Startup, TipSetting) {
    struct Case {
        Variant stored;
        bool shown;
    } cases[] = {
        {Variant(), true},         {Variant(""), true},     {Variant("1"), true},
        {Variant(int32_t{1}), true}, {Variant("0"), false}, {Variant("True"), false},
        {Variant("2"), false},
    };
    for (const auto& c : cases) EXPECT_EQ(TipWanted(c.stored), c.shown) << c.stored.Text();
}
