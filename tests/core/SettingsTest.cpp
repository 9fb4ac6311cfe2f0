// The settings store: defaults on an empty registry, stored values kept apart from missing ones.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <strings.h>

#include "TestSupport.h"
#include "core/Registry.h"
#include "core/Settings.h"

namespace {

struct Expected {
    Store store;
    DWORD type;
    Variant fallback;
};

// What an empty registry must give, value by value.
const std::map<std::string, Expected>& ExpectedDefaults() {
    static const std::map<std::string, Expected> m = [] {
        std::map<std::string, Expected> e;
        auto sz = [&](const char* n, Variant v) { e[n] = {Store::Settings, REG_SZ, v}; };
        sz("Path", {});
        sz("Tip", "1");
        e["TipNr"] = {Store::Settings, REG_DWORD, int32_t{1}};
        sz("IconsPerPage", "200");
        sz("ViewType", "0");
        for (auto n : {"TextLabel", "Statusbar", "Toolbar", "YourToolbar", "Keywordbar", "YourPos",
                       "KeywordPos"})
            sz(n, "True");
        sz("StandardToolbarWidth", "0");
        sz("YourToolbarWidth", "0");
        for (auto n : {"KeywordbarPos", "SingleSel", "BackColor", "Colwidth1", "Colwidth2", "Colwidth3",
                       "FavDir", "MaskColor", "ImportDirectory", "ScanAll", "ScanANI", "ScanCUR",
                       "ScanDLL", "ScanEXE", "ScanICL", "ScanICO"})
            sz(n, {});
        sz("HotTracking", "False");
        for (auto n : {"SearchFav", "DCPlay", "DCRef", "DCRun", "DCChange", "AsoANI", "AsoCUR", "AsoDLL",
                       "AsoICL", "AsoICO"})
            sz(n, "0");
        sz("DCAction", "None");
        e["DCZoom"] = {Store::Settings, REG_DWORD, int32_t{4}};
        sz("UseMask", "False");
        sz("ExtEditFile", "");
        sz("ExtEditFolder", "");
        sz("ScanDirectory", "");
        sz("ScanSubDir", "False");
        for (auto n : {"OrganizeFav", "ExtEditMessage", "NoCursorChange", "OrnavaleLight", "FolderCache",
                       "ShortcutCache", "SysCache", "SysCursorRestart", "SysFileTypeRestart"})
            sz(n, "0");
        for (auto n : {"MainTop", "MainLeft", "MainWidth", "MainHeight", "MainState", "KeyTop", "KeyLeft",
                       "AddTop", "AddLeft", "AniTop", "AniLeft", "ZoomTop", "ZoomLeft", "ImportTop",
                       "ImportLeft", "ScanTop", "ScanLeft", "ChangeTop", "ChangeLeft", "MessageTop",
                       "MessageLeft"})
            e[n] = {Store::Pos, REG_DWORD, {}};
        e["Splitter"] = {Store::Pos, REG_SZ, {}};
        return e;
    }();
    return m;
}

class SettingsTest : public ::testing::Test {
  protected:
    CleanStore clean_;
};

}  // namespace

TEST_F(SettingsTest, EveryDefaultOnAnEmptyRegistry) {
    std::set<std::string> seen;
    for (const SettingDef* def : AllSettings()) {
        auto it = ExpectedDefaults().find(def->name);
        ASSERT_NE(it, ExpectedDefaults().end()) << "unexpected value " << def->name;
        EXPECT_TRUE(seen.insert(def->name).second) << "listed twice: " << def->name;
        EXPECT_EQ(def->store, it->second.store) << def->name;
        EXPECT_EQ(def->type, it->second.type) << def->name;
        EXPECT_TRUE(ReadStoredSetting(*def).IsEmpty()) << def->name;
        EXPECT_EQ(ReadSetting(*def), it->second.fallback) << def->name;
    }
    EXPECT_EQ(seen.size(), ExpectedDefaults().size());
}

TEST_F(SettingsTest, MissingEmptyAndZeroAreKeptApart) {
    struct Case {
        const char* stored;  // nullptr: nothing stored
        Variant read;
    } cases[] = {{nullptr, Variant("1")}, {"", Variant("")}, {"0", Variant("0")}, {"1", Variant("1")}};
    for (const auto& c : cases) {
        DeleteRegTree(HKEY_CURRENT_USER, kSettingsKey);
        if (c.stored) {
            ASSERT_EQ(WriteSetting(setting::Tip, c.stored), ERROR_SUCCESS);
        }
        EXPECT_EQ(ReadSetting(setting::Tip), c.read) << (c.stored ? c.stored : "missing");
        EXPECT_EQ(ReadStoredSetting(setting::Tip).IsEmpty(), c.stored == nullptr);
    }
}

TEST_F(SettingsTest, ValuesAreWrittenInTheirOwnTypes) {
    WriteSetting(setting::TipNr, int32_t{7});
    WriteSetting(setting::IconsPerPage, int32_t{120});
    WriteSetting(setting::HotTracking, true);
    EXPECT_EQ(ReadSetting(setting::TipNr), Variant(int32_t{7}));
    EXPECT_EQ(ReadSetting(setting::IconsPerPage), Variant("120"));
    EXPECT_EQ(ReadSetting(setting::HotTracking), Variant("True"));
    // Names that other code reads in another case find the same values.
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kSettingsKey, "TipNR"), Variant(int32_t{7}));
    WriteSetting(setting::BackColor, "16777215");
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kSettingsKey, "Backcolor"), Variant("16777215"));
}

TEST_F(SettingsTest, WindowPositions) {
    EXPECT_FALSE(ReadWindowPos(windowpos::Message));
    WriteWindowPos(windowpos::Message, {0, 0});
    auto at = ReadWindowPos(windowpos::Message);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->top, 0);
    EXPECT_EQ(at->left, 0);
    WriteWindowPos(windowpos::Zoom, {1500, -300});
    at = ReadWindowPos(windowpos::Zoom);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->top, 1500);
    EXPECT_EQ(at->left, -300);
    // Half a position is no position.
    WriteSetting(setting::ScanTop, int32_t{10});
    EXPECT_FALSE(ReadWindowPos(windowpos::Scan));
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kPosKey, "ZoomTop"), Variant(int32_t{1500}));
}
