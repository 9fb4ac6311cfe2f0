// Trust: every Windows icon change, made twice and then undone through the program's own way back,
// leaves Windows as it found it but for the traces the way back is meant to leave; a change that
// fails at any step of the icon copy leaves Windows as the change before it left it. Real keys of
// the test prefix (kept and put back), a private Windows folder, temporary folder and test folder.
#include "ChangeWindowFixture.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "AniMaker.h"
#include "IconMaker.h"
#include "LinkFixture.h"
#include "SystemSnapshot.h"
#include "common/ResultEntry.h"
#include "common/SystemIconRows.h"
#include "changing/DesktopIni.h"
#include "changing/FrmChange.h"
#include "changing/IconCopies.h"
#include "common/ShellLink.h"
#include "core/Files.h"
#include "core/Global.h"
#include "core/OSVersion.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "formats/FileBytes.h"
#include "ui/Unique.h"

namespace {

constexpr const char* kCursors = "Control Panel\\Cursors";
constexpr const char* kShellIcons = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
constexpr const char* kRecycleBin = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon";
constexpr const char* kMetrics = "Control Panel\\Desktop\\WindowMetrics";
constexpr const char* kTypeIcon = "%SystemRoot%\\system32\\shell32.dll,5";
// A desktop.ini of the user's: other sections and keys, the icon's section last.
constexpr const char* kIni = "[ViewState]\r\nMode=\r\nVid=\r\n[.ShellClassInfo]\r\nInfoTip=Mine\r\n";

std::string gPickPath;
PIDLIST_ABSOLUTE PickFolder(BROWSEINFOA*) { return ILCreateFromPathA(gPickPath.c_str()); }

void WriteText(HKEY hive, const std::string& key, const std::string& name, const std::string& text, DWORD type) {
    UniqueKey open;
    ASSERT_EQ(RegCreateKeyExA(hive, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, open.put(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(open.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

void DeleteValue(HKEY hive, const std::string& key, const std::string& name) {
    UniqueKey open;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_SET_VALUE, open.put()) == ERROR_SUCCESS)
        RegDeleteValueA(open.get(), name.c_str());
}

// The row of lstChange for the system icon of that name.
std::string ListedRow(const std::string& name) {
    for (int i = 0; i < frmMain.lstChange.ListCount(); ++i)
        if (frmMain.lstChange.List(i).rfind(name + ";", 0) == 0) return frmMain.lstChange.List(i);
    ADD_FAILURE() << name << " has no row";
    return "";
}

// The second field of a system icon row: its default icon.
std::string RowDefault(const std::string& row) {
    const size_t first = row.find(';');
    return row.substr(first + 1, row.find(';', first + 1) - first - 1);
}

class SnapshotTest : public ChangeWindowFixture {
  protected:
    void SetUp() override {
        ChangeWindowFixture::SetUp();
        // No reminder: a fault's box is the only one.
        for (const SettingDef& off : {setting::SysCache, setting::FolderCache, setting::ShortcutCache,
                                      setting::SysCursorRestart, setting::SysFileTypeRestart})
            WriteSetting(off, "1");
        WriteSetting(setting::NoCursorChange, "1");
        gFolderPicker = &PickFolder;
        gPickPath = folder;
        ASSERT_TRUE(WriteIconFile(ico, 0x2040C0));
        ASSERT_TRUE(WriteAniFile(ani, 4, 5));
    }
    void TearDown() override {
        gFolderPicker = &SHBrowseForFolderA;
        gIconCopyFault = nullptr;
        ChangeWindowFixture::TearDown();
    }

    // The state every run starts from, before its group is listed.
    void Prepare() {
        DeleteRegTree(HKEY_CLASSES_ROOT, ".ornvtest");
        DeleteRegTree(HKEY_CLASSES_ROOT, "ornvtest.file");
        WriteText(HKEY_CLASSES_ROOT, ".ornvtest", "", "ornvtest.file", REG_SZ);
        WriteText(HKEY_CLASSES_ROOT, "ornvtest.file", "", "Ornavale Test File", REG_SZ);
        WriteText(HKEY_CLASSES_ROOT, "ornvtest.file\\DefaultIcon", "", kTypeIcon, REG_EXPAND_SZ);
        CreateRegKey(kCursors, HKEY_CURRENT_USER);  // Windows always has it
        DeleteValue(HKEY_CURRENT_USER, kCursors, "Wait");
        DeleteValue(HKEY_CURRENT_USER, kCursors, "AppStarting");
        // Listing writes the rows' defaults where values are missing.
        DeleteValue(HKEY_LOCAL_MACHINE, kShellIcons, "22");
        DeleteValue(HKEY_CLASSES_ROOT, kRecycleBin, "Empty");
        WriteText(HKEY_CLASSES_ROOT, kRecycleBin, "", SystemFile("shell32.dll") + ",32", REG_SZ);

        std::filesystem::remove_all(WidePath(Icons()));
        win.Folder("Icons");
        SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        dir.File("Snapshot Folder\\desktop.ini", kIni);
        SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
        WriteFixtureLink(pad);
    }
    SystemSnapshot Take() const { return TakeSnapshot(places); }
    std::string Icons() const { return win.path() + "Icons\\"; }

    // Lists a tree group as the user would before choosing an item of it.
    static void List(const char* node) { frmMain.pnlNav_NodeClick(frmMain.pnlNav.Item(node)); }
    // The listed entry holding the text.
    static std::string ListedEntry(const std::string& part) {
        for (int i = 0; i < frmMain.cmbResult.ListCount(); ++i)
            if (frmMain.cmbResult.List(i).find(part) != std::string::npos) return frmMain.cmbResult.List(i);
        ADD_FAILURE() << part << " was not listed";
        return "";
    }
    // An item the user drags onto "New", or a target: a text, a type and an entry.
    struct Item {
        std::string text, type, origin, entry;
    };
    // The target with the entry the listing gave its text.
    static Item Listed(Item item) {
        item.entry = ListedEntry(";" + item.text + ";");
        return item;
    }
    // File > Change on the target's item as it was listed, the item dropped on "New" and Apply; with
    // nothing to drop, the default view and Apply.
    static void ChangeWindow(const Item& target, const Item* dropped) {
        frmMain.pnlResult.Clear();
        Change(target.text, target.type, target.origin, target.entry);
        if (!dropped) {
            frmChange.mnuViewDefault_Click();
        } else {
            EXPECT_EQ(Drop(Select(dropped->text, dropped->type, dropped->origin, dropped->entry).Text()),
                      DWORD{DROPEFFECT_COPY});
        }
        frmChange.mnuFileApply_Click();
    }

    TempDir win, temp;
    const ScopedValue<std::string> winDir{gWinDir, win.path().substr(0, win.path().size() - 1)};
    const ScopedValue<std::string> tempDir{gTempDir, temp.path()};
    const ScopedValue<std::string> osCode{gOSCode, "NT4"};
    const std::string userIcon = temp.File("0.ico", "a user's own icon");
    const std::string folder = dir.Folder("Snapshot Folder");
    const std::string ini = folder + "\\desktop.ini";
    const std::string pad = win.Folder("Links") + "\\Pad.lnk";
    const std::string ani = dir.path() + "busy.ani";
    // The pictures dropped: an icon file of the user's and a frame of an animated cursor.
    const std::string ico = dir.path() + "blue.ico";
    const Item icon{"blue", "Icon", dir.path(), OpenEntry(ico, 0, "blue", '2')};
    const Item frame{"AppStarting #3", "Animated Cursor", "Windows", CurrentCursorEntry(ani, 2, "AppStarting", true)};
    const std::vector<std::pair<HKEY, std::string>> keys{
        {HKEY_CURRENT_USER, kCursors},       {HKEY_CLASSES_ROOT, ".ornvtest"},  {HKEY_CLASSES_ROOT, "ornvtest.file"},
        {HKEY_LOCAL_MACHINE, kShellIcons},   {HKEY_CLASSES_ROOT, kRecycleBin}, {HKEY_CURRENT_USER, kMetrics},
    };
    KeptKeys kept{keys};
    const SnapshotPlaces places{keys, {Icons(), temp.path()}, {folder, ini}, {pad}};
};

// One kind of change: how its group is listed, one change, the way back, and the traces the way
// back leaves in the state before the first change, given the state after it.
struct Kind {
    const char* name;
    std::function<void()> list;  // the tree group listed first
    std::function<void()> change;
    std::function<void()> restore;
    std::function<void(SystemSnapshot& expected, const SystemSnapshot& after)> traces;
};

}  // namespace

TEST_F(SnapshotTest, ChangeChangeRestoreLeavesOnlyTheTracesOfTheWayBack) {
    const std::string shell32 = SystemFile("shell32.dll");
    const Item padItem{"Pad", "Shortcut Icon", "Links", ShortcutEntry(shell32, 3, SystemFile("notepad.exe"))};
    const Item type{"Ornavale Test File (*.ornvtest)", "File Type Icon", "Windows", ""};
    const Item find{"Find", "System Icon", "Windows", ""};
    const Item recycleBin{"Recycle Bin (Empty)", "System Icon", "Windows", ""};
    const Item wait{"Wait", "Current Cursor", "Windows", DefaultCursorEntry(32514)};
    const auto waitEmpty = [](SystemSnapshot& expected, const SystemSnapshot&) {
        expected[KeyPlace(HKEY_CURRENT_USER, kCursors, "Wait")] = TextValue(REG_SZ, "");
    };
    const Kind kinds[] = {
        {"folder", [] {}, [] { frmMain.mnuToolsChangeFolder_Click(); }, [] { frmMain.mnuToolsDefaultFolder_Click(); },
         [&](SystemSnapshot& expected, const SystemSnapshot&) {
             expected[FilePlace(ini)] = FileText(std::string(kIni) + "IconFile=\r\nIconIndex=\r\n");
         }},
        {"shortcut", [] {}, [&] { ChangeWindow(padItem, &icon); }, [&] { ChangeWindow(padItem, nullptr); },
         [&](SystemSnapshot& expected, const SystemSnapshot& after) {
             // Its target's icon, as a copy: the one file added.
             const std::string copy = after.at(LinkPlace(pad, "icon"));
             EXPECT_EQ(copy.rfind(Icons(), 0), 0u) << copy;
             expected[LinkPlace(pad, "icon")] = copy;
             expected[LinkPlace(pad, "icon index")] = "0";
             expected[FilePlace(copy)] = after.count(FilePlace(copy)) ? after.at(FilePlace(copy)) : "the new picture";
         }},
        {"file type", [] { List("SysAso"); }, [&] { ChangeWindow(Listed(type), &icon); },
         [&] { ChangeWindow(Listed(type), nullptr); },
         [](SystemSnapshot& expected, const SystemSnapshot&) {
             // The icon it had, kept as it was stored.
             expected[KeyPlace(HKEY_CLASSES_ROOT, "ornvtest.file\\OrDefault")] = "key";
             expected[KeyPlace(HKEY_CLASSES_ROOT, "ornvtest.file\\OrDefault", "")] = TextValue(REG_EXPAND_SZ, kTypeIcon);
         }},
        {"file type without an icon of its own",
         [] {
             // Listed with its icon, whose value was removed before the change.
             List("SysAso");
             DeleteValue(HKEY_CLASSES_ROOT, "ornvtest.file\\DefaultIcon", "");
         },
         [&] { ChangeWindow(Listed(type), &icon); }, [&] { ChangeWindow(Listed(type), nullptr); },
         [](SystemSnapshot& expected, const SystemSnapshot&) {
             // That it had none, kept: a value of no type and no data.
             expected[KeyPlace(HKEY_CLASSES_ROOT, "ornvtest.file\\OrDefault")] = "key";
             expected[KeyPlace(HKEY_CLASSES_ROOT, "ornvtest.file\\OrDefault", "")] = "hex(0):";
         }},
        {"shell icon", [] { List("SysStart"); }, [&] { ChangeWindow(Listed(find), &icon); },
         [&] { ChangeWindow(Listed(find), nullptr); }, [](SystemSnapshot&, const SystemSnapshot&) {}},
        {"recycle bin", [] { List("SysDesktop"); }, [&] { ChangeWindow(Listed(recycleBin), &icon); },
         [&] { ChangeWindow(Listed(recycleBin), nullptr); },
         [](SystemSnapshot& expected, const SystemSnapshot&) {
             // The bin shows its empty icon.
             expected[KeyPlace(HKEY_CLASSES_ROOT, kRecycleBin, "")] =
                 TextValue(REG_SZ, RowDefault(ListedRow("Recycle Bin (Empty)")));
         }},
        {"still cursor", [] { List("SysCurCurrent"); }, [&] { ChangeWindow(wait, &icon); }, [&] { ChangeWindow(wait, nullptr); },
         waitEmpty},
        {"animated cursor",
         [&] {
             List("SysCurCurrent");
             // The frames are collected from the result set.
             for (int step = 0; step < 5; ++step) frmMain.cmbResult.AddItem(CurrentCursorEntry(ani, step, "AppStarting", true));
         },
         [&] { ChangeWindow(wait, &frame); },
         [&] { ChangeWindow(wait, nullptr); }, waitEmpty},
    };
    const std::optional<CopyStep> faults[] = {std::nullopt, CopyStep::Write, CopyStep::Check, CopyStep::Move,
                                              CopyStep::Setting};
    HotSpotClicker clicker(3, 4);
    for (const Kind& kind : kinds) {
        for (const std::optional<CopyStep> fault : faults) {
            static const char* const kSteps[] = {"write", "check", "move", "setting"};
            SCOPED_TRACE(std::string(kind.name) + (fault ? std::string(", failing at the ") + kSteps[int(*fault)] : ""));
            Prepare();
            frmMain.cmbResult.Clear();
            kind.list();
            // The main window's selected item: the picture of a folder's change.
            frmMain.pnlResult.Clear();
            Select(icon.text, icon.type, icon.origin, icon.entry);
            const SystemSnapshot before = Take();
            boxes.clear();

            kind.change();
            const SystemSnapshot first = Take();
            EXPECT_NE(SnapshotDifferences(before, first), "") << "the first change changed nothing";
            gIconCopyFault = [&](CopyStep step) { return fault == step; };
            kind.change();
            gIconCopyFault = nullptr;
            if (fault) {
                EXPECT_EQ(boxes.size(), 1u);
                EXPECT_EQ(SnapshotDifferences(first, Take()), "") << "a failed change left";
            } else {
                EXPECT_TRUE(boxes.empty()) << boxes.front().text;
            }

            kind.restore();
            SystemSnapshot expected = before;
            const SystemSnapshot after = Take();
            kind.traces(expected, after);
            EXPECT_EQ(SnapshotDifferences(expected, after), "") << "the way back left";
            EXPECT_EQ(boxes.size(), fault ? 1u : 0u);
        }
    }
}

namespace {

// Points the folder's desktop.ini, otherwise as the user keeps it, at the icon file.
void NameInDesktopIni(const std::string& ini, const std::string& file) {
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(WidePath(ini), std::ios::binary) << kIni << "IconFile=" << file << "\r\nIconIndex=0\r\n";
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

// Change Any Folder and Default Folder on the folder, as picked by the user.
void ChangeFolder(const std::string& folder) {
    gPickPath = folder;
    frmMain.mnuToolsChangeFolder_Click();
}
void DefaultFolder(const std::string& folder) {
    gPickPath = folder;
    frmMain.mnuToolsDefaultFolder_Click();
}

// The icon file a shortcut names.
std::string LinkIcon(const std::string& link) {
    std::string target, folder, arguments, icon;
    int32_t index = 0, show = 0;
    ShellLinkObject().ReadLink(link, target, folder, arguments, icon, index, show);
    return icon;
}

}  // namespace

// A target naming a copy that is gone, whose number is the lowest free one: the change writes its
// new copy under that very name, and ends as the same change from the target's own icon does.
TEST_F(SnapshotTest, ATargetNamingAGoneCopyKeepsTheNewCopyOfThatName) {
    const Item padItem{"Pad", "Shortcut Icon", "Links",
                       ShortcutEntry(SystemFile("shell32.dll"), 3, SystemFile("notepad.exe"))};
    const Item type{"Ornavale Test File (*.ornvtest)", "File Type Icon", "Windows", ""};
    const Item find{"Find", "System Icon", "Windows", ""};
    const Item wait{"Wait", "Current Cursor", "Windows", DefaultCursorEntry(32514)};
    const auto listCursors = [] { List("SysCurCurrent"); };
    const auto nameInValue = [](HKEY hive, const char* key, const char* value, const char* index) {
        return [=](const std::string& gone) { WriteText(hive, key, value, gone + index, REG_SZ); };
    };
    struct Case {
        const char* name;
        const char* extension;
        std::function<void()> list;
        std::function<void(const std::string& gone)> nameGone;
        std::function<void()> change;
        std::vector<std::string> ownIconTraces;  // left only by the change from the target's own icon
    };
    const Case cases[] = {
        {"folder", ".ico", [] {}, [&](const std::string& gone) { NameInDesktopIni(ini, gone); },
         [&] { ChangeFolder(folder); }, {}},
        {"file type", ".ico", [] { List("SysAso"); },
         nameInValue(HKEY_CLASSES_ROOT, "ornvtest.file\\DefaultIcon", "", ",0"),
         [&] { ChangeWindow(Listed(type), &icon); },
         {KeyPlace(HKEY_CLASSES_ROOT, "ornvtest.file\\OrDefault"),
          KeyPlace(HKEY_CLASSES_ROOT, "ornvtest.file\\OrDefault", "")}},
        {"system row", ".ico", [] { List("SysStart"); }, nameInValue(HKEY_LOCAL_MACHINE, kShellIcons, "22", ",0"),
         [&] { ChangeWindow(Listed(find), &icon); }, {}},
        {"still cursor", ".cur", listCursors, nameInValue(HKEY_CURRENT_USER, kCursors, "Wait", ""),
         [&] { ChangeWindow(wait, &icon); }, {}},
        {"animated cursor", ".ani",
         [&] {
             listCursors();
             for (int step = 0; step < 5; ++step)
                 frmMain.cmbResult.AddItem(CurrentCursorEntry(ani, step, "AppStarting", true));
         },
         nameInValue(HKEY_CURRENT_USER, kCursors, "Wait", ""), [&] { ChangeWindow(wait, &frame); }, {}},
        {"shortcut", ".ico", [] {}, [&](const std::string& gone) { WriteFixtureLink(pad, gone, 0); },
         [&] { ChangeWindow(padItem, &icon); }, {}},
        {"dropped shortcut", ".ico", [] {}, [&](const std::string& gone) { WriteFixtureLink(pad, gone, 0); },
         [&] { DropOnList(ClipboardData::Files({pad}), ItemPoint(1)); }, {}},
    };
    HotSpotClicker clicker(3, 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string copy = Icons() + "1" + c.extension;
        SystemSnapshot fromOwnIcon, fromGoneCopy;
        for (const bool gone : {false, true}) {
            Prepare();
            frmMain.cmbResult.Clear();
            c.list();
            if (gone) c.nameGone(copy);
            frmMain.pnlResult.Clear();
            Select(icon.text, icon.type, icon.origin, icon.entry);
            boxes.clear();
            c.change();
            EXPECT_TRUE(boxes.empty()) << boxes.front().text;
            (gone ? fromGoneCopy : fromOwnIcon) = Take();
        }
        ASSERT_TRUE(fromOwnIcon.count(FilePlace(copy))) << "the change from the target's own icon made no " << copy;
        for (const std::string& place : c.ownIconTraces) fromOwnIcon.erase(place);
        EXPECT_EQ(SnapshotDifferences(fromOwnIcon, fromGoneCopy), "");
    }
}

// Two folders or shortcuts sharing one copy, as when the user copies them: one is changed, then
// the other. Each ends naming a copy of its own that holds the new picture.
TEST_F(SnapshotTest, TargetsSharingACopyEachEndWithTheNewPicture) {
    const std::string folder2 = dir.Folder("Snapshot Folder 2");
    const std::string ini2 = folder2 + "\\desktop.ini";
    const std::string pad2 = win.path() + "Links\\Pad 2.lnk";
    const auto padItem = [](const char* text) {
        return Item{text, "Shortcut Icon", "Links",
                    ShortcutEntry(SystemFile("shell32.dll"), 3, SystemFile("notepad.exe"))};
    };
    struct Case {
        const char* name;
        std::function<void(const std::string& shared)> share;
        std::function<void(int which)> change;
        std::function<std::string(int which)> named;
    };
    const Case cases[] = {
        {"folders",
         [&](const std::string& shared) {
             NameInDesktopIni(ini, shared);
             NameInDesktopIni(ini2, shared);
         },
         [&](int which) { ChangeFolder(which ? folder2 : folder); },
         [&](int which) { return ReadProfileText(which ? ini2 : ini, kShellClassInfo, "IconFile"); }},
        {"shortcuts",
         [&](const std::string& shared) {
             WriteFixtureLink(pad, shared, 0);
             WriteFixtureLink(pad2, shared, 0);
         },
         [&](int which) { ChangeWindow(padItem(which ? "Pad 2" : "Pad"), &icon); },
         [&](int which) { return LinkIcon(which ? pad2 : pad); }},
        {"dropped shortcuts",
         [&](const std::string& shared) {
             WriteFixtureLink(pad, shared, 0);
             WriteFixtureLink(pad2, shared, 0);
         },
         [&](int which) {
             frmMain.pnlResult.Clear();
             Select(icon.text, icon.type, icon.origin, icon.entry);
             DropOnList(ClipboardData::Files({which ? pad2 : pad}), ItemPoint(1));
         },
         [&](int which) { return LinkIcon(which ? pad2 : pad); }},
    };
    SnapshotPlaces both = places;
    both.files.insert(both.files.end(), {folder2, ini2});
    both.links.push_back(pad2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare();
        const std::string shared = win.File("Icons\\1.ico", "the copy both used");
        c.share(shared);
        frmMain.pnlResult.Clear();
        Select(icon.text, icon.type, icon.origin, icon.entry);
        const SystemSnapshot before = TakeSnapshot(both);
        boxes.clear();
        c.change(0);
        c.change(1);
        EXPECT_TRUE(boxes.empty()) << boxes.front().text;
        const SystemSnapshot after = TakeSnapshot(both);
        const std::string first = c.named(0), second = c.named(1);
        EXPECT_EQ(first, Icons() + "2.ico");
        EXPECT_EQ(second, Icons() + "1.ico");
        ASSERT_TRUE(after.count(FilePlace(first))) << first;
        const std::string picture = after.at(FilePlace(first));
        EXPECT_NE(picture, before.at(FilePlace(shared)));
        EXPECT_EQ(after.count(FilePlace(second)) ? after.at(FilePlace(second)) : "missing", picture) << second;
        EXPECT_EQ(NamesIn(WidePath(Icons())), (std::vector<std::string>{"1.ico", "2.ico"}));
        std::filesystem::remove(WidePath(pad2));
    }
}

// A user's own icon lying in the copy folder, named by a folder or a shortcut: changed and
// restored, the file is still there as it was.
TEST_F(SnapshotTest, AUsersOwnIconInTheCopyFolderStays) {
    const Item padItem{"Pad", "Shortcut Icon", "Links",
                       ShortcutEntry(SystemFile("shell32.dll"), 3, SystemFile("notepad.exe"))};
    struct Case {
        const char* name;
        std::function<void(const std::string& mine)> nameMine;
        std::function<void()> change, restore;
    };
    const Case cases[] = {
        {"folder", [&](const std::string& mine) { NameInDesktopIni(ini, mine); }, [&] { ChangeFolder(folder); },
         [&] { DefaultFolder(folder); }},
        {"shortcut", [&](const std::string& mine) { WriteFixtureLink(pad, mine, 0); },
         [&] { ChangeWindow(padItem, &icon); }, [&] { ChangeWindow(padItem, nullptr); }},
    };
    const std::string bytes = "not the program's: a user's own icon";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare();
        const std::string mine = win.File("Icons\\Mine.ico", bytes);
        c.nameMine(mine);
        frmMain.pnlResult.Clear();
        Select(icon.text, icon.type, icon.origin, icon.entry);
        c.change();
        c.restore();
        const auto kept = formats::ReadFileBytes(WidePath(mine), 1 << 10);
        EXPECT_EQ(kept ? std::string(kept->begin(), kept->end()) : "missing", bytes);
    }
}
