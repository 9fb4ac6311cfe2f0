// The file-type and system icon changes through the change window: a drop on "New" and Apply, a
// second change, and the way back, read from a private registry and a private copy folder.
#include "ChangeWindowFixture.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "RegistryFixture.h"
#include "ScratchFolder.h"
#include "common/ResultEntry.h"
#include "common/SystemIconRows.h"
#include "changing/IconCopies.h"
#include "changing/WindowsRestart.h"
#include "core/Files.h"
#include "core/Folders.h"
#include "core/IconCache.h"
#include "core/OSVersion.h"
#include "core/ScopedValue.h"
#include "ui/App.h"
#include "ui/Unique.h"

namespace {

constexpr const char* kShellIcons = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";

// A value as stored: its type and its text up to the first zero; REG_NONE when missing.
struct Stored {
    DWORD type = REG_NONE;
    std::string text;
    bool operator==(const Stored&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Stored& s) { return os << s.type << " \"" << s.text << "\""; }

Stored Read(HKEY hive, const std::string& key, const std::string& name) {
    Stored s;
    UniqueKey k;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) return s;
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    if (RegQueryValueExA(k.get(), name.c_str(), nullptr, &s.type, reinterpret_cast<BYTE*>(buffer), &size) ==
        ERROR_SUCCESS)
        s.text = buffer;
    return s;
}

// The value as stored, or nothing when it is not there.
std::optional<Stored> Present(HKEY hive, const std::string& key, const std::string& name) {
    UniqueKey k;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS ||
        RegQueryValueExA(k.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    return Read(hive, key, name);
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char ch : text) out += ch == '\\' || ch == '"' ? std::string{'\\', ch} : std::string(1, ch);
    return out;
}

class RegistryChangeTest : public ChangeWindowFixture {
  protected:
    void SetUp() override {
        ChangeWindowFixture::SetUp();
        WriteSetting(setting::SysFileTypeRestart, "1");
        registry = std::make_unique<RegistryFixture>("RegistryChange");
        gCacheDirty = false;
    }
    void TearDown() override {
        registry.reset();
        gIconCopyFault = nullptr;
        ChangeWindowFixture::TearDown();
    }
    // A fresh registry for the next case.
    RegistryFixture& Registry(const std::string& text) {
        registry.reset();
        registry = std::make_unique<RegistryFixture>("RegistryChange");
        registry->Load("REGEDIT4\n" + text);
        return *registry;
    }
    std::string Icons() const { return win.path() + "Icons\\"; }
    std::vector<std::string> Copies() const { return NamesIn(WidePath(Icons())); }
    // An icon of the list dropped on "New", then Apply.
    static void ApplyDropped() {
        const ListItem& dropped = Select("sun", "Icon", "Ornavale", "7:9:a1book");
        ASSERT_EQ(Drop(dropped.Text()), DWORD{DROPEFFECT_COPY});
        frmChange.mnuFileApply_Click();
    }
    // View > Windows Default, then Apply.
    static void ApplyDefault() {
        frmChange.mnuViewDefault_Click();
        frmChange.mnuFileApply_Click();
    }

    std::unique_ptr<RegistryFixture> registry;
    TempDir win;
    const ScopedValue<std::string> winDir{gWinDir, win.path().substr(0, win.path().size() - 1)};
};

// ---- file types

class FileTypeChangeTest : public RegistryChangeTest {
  protected:
    // The class ".ornvtest" / "ornvtest.file" with its "DefaultIcon" as given (REGEDIT4 value text;
    // "" the key without a value) and further keys, listed by a line whose icon is older than the
    // class's.
    void Class(const std::string& defaultIcon, const std::string& more = "") {
        Registry("[HKEY_CLASSES_ROOT\\.ornvtest]\n@=\"ornvtest.file\"\n"
                 "[HKEY_CLASSES_ROOT\\ornvtest.file]\n@=\"Ornavale Test\"\n"
                 "[HKEY_CLASSES_ROOT\\ornvtest.file\\DefaultIcon]\n" +
                 (defaultIcon.empty() ? "" : "@=" + defaultIcon + "\n") + more);
        frmMain.lstChange.Clear();
        frmMain.lstChange.AddItem(".ornvtest:ornvtest.file;C:\\listed\\stale.dll,9;Ornavale Test;");
        Change("Ornavale Test (*.ornvtest)", "File Type Icon", "Windows",
               FileTypeEntry("C:\\listed\\stale.dll", "9", "Ornavale Test", ".ornvtest"));
        ASSERT_EQ(frmChange.Request().target, frmMain.lstChange.List(0));
    }
    static Stored DefaultIcon() { return Read(HKEY_CLASSES_ROOT, "ornvtest.file\\DefaultIcon", ""); }
    static Stored Kept() { return Read(HKEY_CLASSES_ROOT, "ornvtest.file\\OrDefault", ""); }
};

TEST_F(FileTypeChangeTest, ChangeTwiceThenRestoreGivesBackTheValueAsStored) {
    const std::string system = SystemFolder();
    struct Case {
        const char* what;
        std::string regedit;  // the class's "DefaultIcon" in REGEDIT4
        Stored before;
    };
    const Case cases[] = {
        {"text", "\"" + Escaped(system) + "\\\\shell32.dll,3\"", {REG_SZ, system + "\\shell32.dll,3"}},
        {"expandable", "hex(2):" + RegHexText("%SystemRoot%\\system32\\shell32.dll,5"),
         {REG_EXPAND_SZ, "%SystemRoot%\\system32\\shell32.dll,5"}},
        {"no index", "\"msiexec.exe\"", {REG_SZ, "msiexec.exe"}},
        {"an index of two digits", "\"C:\\\\apps\\\\tool.exe,12\"", {REG_SZ, "C:\\apps\\tool.exe,12"}},
        {"a quoted file", "\"\\\"C:\\\\Program Files\\\\a,b\\\\tool.exe\\\",1\"",
         {REG_SZ, "\"C:\\Program Files\\a,b\\tool.exe\",1"}},
        {"the user's own icon in the copy folder", "\"" + Escaped(Icons()) + "Mine.ico,0\"",
         {REG_SZ, Icons() + "Mine.ico,0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Class(c.regedit);
        ASSERT_EQ(DefaultIcon(), c.before);

        ApplyDropped();
        const std::vector<std::string> first = Copies();
        ASSERT_EQ(first.size(), 1u);
        EXPECT_EQ(DefaultIcon(), (Stored{REG_SZ, Icons() + first[0] + ",0"}));
        EXPECT_EQ(Kept(), c.before);
        EXPECT_TRUE(frmChange.picImport.HasPicture());

        // A second change in the same window: a new number, the first copy gone, the kept icon as it was.
        ApplyDropped();
        const std::vector<std::string> second = Copies();
        ASSERT_EQ(second.size(), 1u);
        EXPECT_NE(second[0], first[0]);
        EXPECT_EQ(DefaultIcon(), (Stored{REG_SZ, Icons() + second[0] + ",0"}));
        EXPECT_EQ(Kept(), c.before);

        ApplyDefault();
        EXPECT_EQ(DefaultIcon(), c.before);
        EXPECT_EQ(Kept(), c.before);
        EXPECT_EQ(Copies(), std::vector<std::string>{});

        // A class never changed: the restore keeps its value and writes that same value back.
        Class(c.regedit);
        ApplyDefault();
        EXPECT_EQ(DefaultIcon(), c.before);
        EXPECT_EQ(Kept(), c.before);
    }
    EXPECT_TRUE(boxes.empty());
}

// A class listed with an icon whose value was removed or emptied before the first change: the way
// back removes the value the change wrote, then the copy. An icon kept before stays what the way
// back gives, and an empty "OrDefault" keeps nothing, as it always has.
TEST_F(FileTypeChangeTest, AClassWithoutAnIconOfItsOwnGetsBackNone) {
    const Stored noIcon{REG_NONE, ""};  // the record: a value of no type and no data
    const std::string tool = "\"C:\\\\apps\\\\tool.exe,2\"";
    const Stored toolIcon{REG_SZ, "C:\\apps\\tool.exe,2"};
    struct Case {
        const char* what;
        std::string defaultIcon;  // "" : no value
        std::string orDefault;    // "" : no key
        Stored kept;
        std::optional<Stored> restored;  // nothing: no value
    };
    const Case cases[] = {
        {"the value removed", "", "", noIcon, std::nullopt},
        {"the value emptied", "\"\"", "", noIcon, std::nullopt},
        {"the value removed, an icon kept before", "", "@=" + tool, toolIcon, toolIcon},
        {"an icon, an empty OrDefault", tool, "@=\"\"", toolIcon, toolIcon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(WidePath(Icons()));
        Class(c.defaultIcon, c.orDefault.empty() ? "" : "[HKEY_CLASSES_ROOT\\ornvtest.file\\OrDefault]\n" + c.orDefault + "\n");
        for (int change = 0; change < 2; ++change) {
            ApplyDropped();
            const std::vector<std::string> copies = Copies();
            ASSERT_EQ(copies.size(), 1u);
            EXPECT_EQ(DefaultIcon(), (Stored{REG_SZ, Icons() + copies[0] + ",0"}));
            EXPECT_EQ(Present(HKEY_CLASSES_ROOT, "ornvtest.file\\OrDefault", ""), c.kept) << "after change " << change + 1;
        }
        ApplyDefault();
        EXPECT_EQ(Present(HKEY_CLASSES_ROOT, "ornvtest.file\\DefaultIcon", ""), c.restored);
        EXPECT_EQ(Copies(), std::vector<std::string>{});
        EXPECT_EQ(Present(HKEY_CLASSES_ROOT, "ornvtest.file\\OrDefault", ""), c.kept);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FileTypeChangeTest, AFailedCopyLeavesTheClassAndTheCopyInUse) {
    Class("\"C:\\\\apps\\\\tool.exe,2\"");
    ApplyDropped();
    const std::vector<std::string> first = Copies();
    ASSERT_EQ(first.size(), 1u);
    const Stored inUse = DefaultIcon();
    for (CopyStep step : {CopyStep::Write, CopyStep::Check, CopyStep::Move, CopyStep::Setting}) {
        SCOPED_TRACE(static_cast<int>(step));
        boxes.clear();
        gIconCopyFault = [step](CopyStep at) { return at == step; };
        ApplyDropped();
        EXPECT_EQ(DefaultIcon(), inUse);
        EXPECT_EQ(Kept(), (Stored{REG_SZ, "C:\\apps\\tool.exe,2"}));
        EXPECT_EQ(Copies(), first);
        EXPECT_EQ(boxes.size(), 1u);
    }
}

TEST_F(FileTypeChangeTest, TheRestartReminder) {
    struct Case {
        const char* setting;  // nullptr: missing
        bool press;
        int shown;
        bool restartAsked;
    };
    const Case cases[] = {
        {nullptr, false, 1, false},
        {"0", true, 1, true},
        {"1", true, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting ? c.setting : "missing");
        if (c.setting) WriteSetting(setting::SysFileTypeRestart, c.setting);
        else RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", "SysFileTypeRestart");
        Class("\"C:\\\\apps\\\\tool.exe,2\"");
        boxes.clear();
        boxAnswers = {IDNO};
        BoxRecorder::MessageWindow answerer(c.press);
        ApplyDropped();
        EXPECT_EQ(answerer.Shown(), c.shown);
        if (c.shown) {
            EXPECT_EQ(answerer.Last().caption, "Change File Type Icon");
            EXPECT_EQ(answerer.Last().button, "Restart Windows Now!");
            EXPECT_EQ(answerer.Last().valueName, "SysFileTypeRestart");
        }
        // Restarting asks first; answered No here.
        EXPECT_EQ(boxes.size(), c.restartAsked ? 1u : 0u);
    }
}

// "Restart Windows Now!" pressed inside Apply: the restart runs only once Apply has returned, and
// takes the change window with every other window.
TEST_F(FileTypeChangeTest, RestartFromTheReminderRunsAfterApply) {
    static std::vector<UINT> restarts;
    restarts.clear();
    const ScopedValue<ExitWindowsCall> exitWindows(gExitWindows, [](UINT flags, DWORD) -> BOOL {
        restarts.push_back(flags);
        return TRUE;
    });
    const ScopedValue<std::string> os(gOSCode, "98");
    WriteSetting(setting::SysFileTypeRestart, "0");
    Class("\"C:\\\\apps\\\\tool.exe,2\"");
    boxes.clear();
    boxAnswers = {IDYES};
    {
        BoxRecorder::MessageWindow answerer(true);
        ApplyDropped();
        EXPECT_EQ(answerer.Shown(), 1);
    }
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(restarts.empty());
    EXPECT_TRUE(frmChange.IsLoaded());

    for (int i = 0; i < 10 && restarts.empty(); ++i) DoEvents();
    EXPECT_EQ(restarts, std::vector<UINT>{EWX_REBOOT});
    EXPECT_FALSE(frmChange.IsLoaded());
    EXPECT_FALSE(frmMain.IsLoaded());
}

// ---- system icons

class SystemIconChangeTest : public RegistryChangeTest {
  protected:
    void SetUp() override {
        RegistryChangeTest::SetUp();
        savedOS = gOSCode;
    }
    void TearDown() override {
        gOSCode = savedOS;
        RegistryChangeTest::TearDown();
    }
    // The row listed and handed over; the item's entry names a file the row's value no longer does.
    static void ChangeRow(const std::string& row) {
        frmMain.lstChange.Clear();
        frmMain.lstChange.AddItem(row);
        const std::string name = row.substr(0, row.find(';'));
        Change(name, "System Icon", "Windows", SystemIconEntry("C:\\listed\\stale.dll", "9", name));
        ASSERT_EQ(frmChange.Request().target, row);
    }
    std::string savedOS;
};

TEST_F(SystemIconChangeTest, ChangeTwiceThenRestoreTheRowsValue) {
    const std::string shell = SystemFolder() + "\\shell32.dll";
    const std::string ornavale = "Software\\OrnavaleChangeTest\\Icon";
    struct Case {
        const char* what;
        const char* os;
        std::string row;  // "" : the Recycle Bin row of the group, by the name in `registry`
        std::string registry;
        HKEY hive;
        std::string key;
        // The values of the key read after each step: the row's own, then others that must follow
        // or keep theirs. "=copy,0" and "=copy" stand for the copy in use; "=default" for the row's.
        std::vector<std::pair<std::string, std::string>> changed, restored;
    };
    const std::string bin = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon";
    const std::string bin98 = ".DEFAULT\\Software\\Classes\\" + bin;
    auto binRegistry = [&](const std::string& root) {
        return "[" + root + "]\n@=\"" + Escaped(shell) + "\"\n\"Empty\"=\"" + Escaped(shell) + ",31\"\n\"full\"=\"" +
               Escaped(shell) + ",32\"\n";
    };
    const Case cases[] = {
        {"a value of Shell Icons", "NT4", "Find;" + shell + ",22;HKEY_LOCAL_MACHINE\\" + kShellIcons + ",22",
         "[HKEY_LOCAL_MACHINE\\" + std::string(kShellIcons) + "]\n\"22\"=\"C:\\\\mine\\\\find.ico,0\"\n\"23\"=\"x.dll,1\"\n",
         HKEY_LOCAL_MACHINE, kShellIcons, {{"22", "=copy,0"}, {"23", "x.dll,1"}},
         {{"22", "=default"}, {"23", "x.dll,1"}}},
        {"a key's unnamed value", "NT4", "Mine;" + shell + ",4;HKEY_CURRENT_USER\\" + ornavale,
         "[HKEY_CURRENT_USER\\" + ornavale + "]\n@=\"" + Escaped(shell) + ",4\"\n\"other\"=\"o.dll,1\"\n",
         HKEY_CURRENT_USER, ornavale, {{"", "=copy,0"}, {"other", "o.dll,1"}}, {{"", "=default"}, {"other", "o.dll,1"}}},
        {"the Recycle Bin empty under NT", "NT4", "Recycle Bin (Empty)", binRegistry("HKEY_CLASSES_ROOT\\" + bin),
         HKEY_CLASSES_ROOT, bin, {{"Empty", "=copy,0"}, {"", "=copy"}, {"full", shell + ",32"}},
         {{"Empty", "=default"}, {"", "=default"}, {"full", shell + ",32"}}},
        {"the Recycle Bin empty under 98", "98", "Recycle Bin (Empty)", binRegistry("HKEY_USERS\\" + bin98), HKEY_USERS,
         bin98, {{"Empty", "=copy,0"}, {"", "=copy"}, {"full", shell + ",32"}},
         {{"Empty", "=default"}, {"", "=default"}, {"full", shell + ",32"}}},
        {"the Recycle Bin full", "98", "Recycle Bin (Full)", binRegistry("HKEY_USERS\\" + bin98), HKEY_USERS, bin98,
         {{"full", "=copy,0"}, {"", shell}, {"Empty", shell + ",31"}},
         {{"full", "=default"}, {"", shell}, {"Empty", shell + ",31"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gOSCode = c.os;
        std::string row = c.row;
        if (row.find(';') == std::string::npos) {
            for (const std::string& r : SystemIconRowsOf("SysDesktop", c.os))
                if (r.compare(0, row.size() + 1, row + ";") == 0) row = r;
        }
        ASSERT_NE(row.find(';'), std::string::npos);
        const std::string fallback = row.substr(row.find(';') + 1, row.find(';', row.find(';') + 1) - row.find(';') - 1);
        Registry(c.registry);
        ChangeRow(row);
        auto expect = [&](const std::vector<std::pair<std::string, std::string>>& values) {
            const std::vector<std::string> copies = Copies();
            for (const auto& [name, text] : values) {
                SCOPED_TRACE("value \"" + name + "\"");
                std::string wanted = text;
                if (text == "=default") wanted = fallback;
                if (text.compare(0, 5, "=copy") == 0) {
                    ASSERT_EQ(copies.size(), 1u);
                    wanted = Icons() + copies[0] + text.substr(5);
                }
                EXPECT_EQ(Read(c.hive, c.key, name), (Stored{REG_SZ, wanted}));
            }
        };
        ApplyDropped();
        const std::vector<std::string> first = Copies();
        expect(c.changed);
        ApplyDropped();
        EXPECT_NE(Copies(), first) << "a new number, the first copy gone";
        expect(c.changed);
        ApplyDefault();
        EXPECT_EQ(Copies(), std::vector<std::string>{});
        expect(c.restored);
    }
    EXPECT_TRUE(boxes.empty());
}

// Nothing written, nothing claimed: the user is told, the icon cache is not marked out of date and
// no rebuild is offered.
TEST_F(SystemIconChangeTest, ARowThatCannotBeWrittenGetsNoCopy) {
    gOSCode = "NT4";
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", "SysCache");
    struct Case {
        const char* what;
        std::string row;
        size_t told;  // as a fault
        size_t boxes;
    };
    const Case cases[] = {
        {"a value that is not there", "Find;shell32.dll,22;HKEY_LOCAL_MACHINE\\" + std::string(kShellIcons) + ",22", 0, 1},
        {"an empty value", "Help;shell32.dll,23;HKEY_LOCAL_MACHINE\\" + std::string(kShellIcons) + ",23", 0, 1},
        {"a key that is not there", "Run;shell32.dll,24;HKEY_LOCAL_MACHINE\\Software\\Nowhere,24", 0, 1},
        {"a hive outside the table", "Run;shell32.dll,24;HKEY_DYN_DATA\\" + std::string(kShellIcons) + ",24", 1, 0},
    };
    static size_t told = 0;
    SetExceptionHandler([](const char*, const std::exception&) { ++told; });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Registry("[HKEY_LOCAL_MACHINE\\" + std::string(kShellIcons) + "]\n\"23\"=\"\"\n\"24\"=\"kept.dll,1\"\n");
        ChangeRow(c.row);
        told = 0;
        boxes.clear();
        for (bool restore : {false, true}) {
            BoxRecorder::MessageWindow answerer(false);
            if (restore) ApplyDefault();
            else ApplyDropped();
            EXPECT_EQ(answerer.Shown(), 0);
            EXPECT_FALSE(gCacheDirty);
            EXPECT_EQ(Copies(), std::vector<std::string>{});
            EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kShellIcons, "22"), Stored{});
            EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kShellIcons, "23"), (Stored{REG_SZ, ""}));
            EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kShellIcons, "24"), (Stored{REG_SZ, "kept.dll,1"}));
        }
        EXPECT_EQ(told, c.told * 2) << "the row is told of, on each Apply";
        ASSERT_EQ(boxes.size(), c.boxes * 2) << "the row is told of, on each Apply";
        for (const ShownBox& box : boxes) {
            EXPECT_EQ(box.title, "Error");
            EXPECT_NE(box.text.find(c.row.substr(0, c.row.find(';'))), std::string::npos) << box.text;
        }
    }
    SetExceptionHandler(nullptr);
}

TEST_F(SystemIconChangeTest, OneCacheReminderPerApply) {
    gOSCode = "NT4";
    const ScopedValue<SettingBroadcast> broadcast(gBroadcastSetting, [](UINT, WPARAM, LPARAM) { return true; });
    struct Case {
        const char* setting;  // nullptr: missing
        bool press;
        int shown;
        bool dirty;  // afterwards
    };
    const Case cases[] = {
        {nullptr, false, 1, true},
        {"0", true, 1, false},
        {"1", true, 0, true},
    };
    const std::string row = "Find;shell32.dll,22;HKEY_LOCAL_MACHINE\\" + std::string(kShellIcons) + ",22";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting ? c.setting : "missing");
        if (c.setting) WriteSetting(setting::SysCache, c.setting);
        else RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", "SysCache");
        Registry("[HKEY_LOCAL_MACHINE\\" + std::string(kShellIcons) + "]\n\"22\"=\"shell32.dll,22\"\n");
        ChangeRow(row);
        for (bool restore : {false, true}) {
            gCacheDirty = false;
            BoxRecorder::MessageWindow answerer(c.press);
            if (restore) ApplyDefault();
            else ApplyDropped();
            EXPECT_EQ(answerer.Shown(), c.shown);
            if (c.shown) {
                EXPECT_EQ(answerer.Last().caption, "Change System Icon");
                EXPECT_EQ(answerer.Last().button, "Rebuild Icon Cache Now!");
                EXPECT_EQ(answerer.Last().valueName, "SysCache");
            }
            EXPECT_EQ(gCacheDirty, c.dirty) << "the rebuild clears it";
        }
    }
}

}  // namespace
