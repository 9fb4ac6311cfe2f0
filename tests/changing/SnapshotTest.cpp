// Trust: every Windows icon change, made twice and then undone through the program's own way back,
// leaves Windows as it found it but for the traces the way back is meant to leave; a change that
// fails at any step of the icon copy leaves Windows as the change before it left it. Real keys of
// the test prefix (kept and put back), a private Windows folder, temporary folder and test folder.
#include "../browsing/MainFixture.h"

#include <filesystem>
#include <functional>
#include <optional>

#include "AniMaker.h"
#include "IconMaker.h"
#include "SystemSnapshot.h"
#include "browsing/ResultEntry.h"
#include "browsing/SystemIconRows.h"
#include "changing/FrmChange.h"
#include "changing/IconCopies.h"
#include "changing/ShellLink.h"
#include "core/Files.h"
#include "core/Global.h"
#include "core/OSVersion.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
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

std::string SystemFile(const char* name) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\" + name;
}

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

class SnapshotTest : public MainFixture {
  protected:
    void SetUp() override {
        MainFixture::SetUp();
        frmMain.imlResult32.Clear();
        frmMain.imlResult32.Add("", LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
        frmMain.pnlResult.SetIcons(&frmMain.imlResult32);
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
        frmChange.Unload();
        frmMain.pnlResult.Clear();
        frmMain.pnlResult.SetIcons(nullptr);
        frmMain.imlResult32.Clear();
        frmMain.lstChange.Clear();
        MainFixture::TearDown();
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
        WriteFixtureLink();
    }
    // The shortcut: notepad with arguments, folder, description, hot key, minimised (7) and
    // shell32.dll's fourth icon.
    void WriteFixtureLink() {
        ShellLinkObject().WriteLink(pad, SystemFile("notepad.exe"), "C:\\work", "-n notes.txt", SystemFile("shell32.dll"),
                                    3, 7);
        UniqueCom<IShellLinkA> link;
        ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(link.put())), S_OK);
        UniqueCom<IPersistFile> file;
        link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()));
        ASSERT_EQ(file.get()->Load(WidePath(pad).wstring().c_str(), STGM_READ), S_OK);
        link.get()->SetDescription("My notes");
        link.get()->SetHotkey(0x0641);
        link.get()->SetShowCmd(7);
        ASSERT_EQ(file.get()->Save(WidePath(pad).wstring().c_str(), FALSE), S_OK);
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
    static ListItem& Select(const std::string& text, const std::string& type, const std::string& origin,
                            const std::string& entry) {
        ListItem& item = frmMain.pnlResult.Add(-1, "", text, 1);
        item.SetSubItem(1, type);
        item.SetSubItem(2, origin);
        item.Tag = entry;
        frmMain.pnlResult.SetSelectedItem(&item);
        return item;
    }
    // An item the user drags onto "New": a text, a type and an entry.
    struct Item {
        std::string text, type, origin, entry;
    };
    // File > Change on the target's item as it was listed, the item dropped on "New" and Apply; with
    // nothing to drop, the default view and Apply.
    static void ChangeWindow(const Item& target, const Item* dropped) {
        frmMain.pnlResult.Clear();
        Select(target.text, target.type, target.origin, target.entry);
        frmMain.mnuFileChange_Click();
        if (!dropped) {
            frmChange.mnuViewDefault_Click();
        } else {
            ListItem& icon = Select(dropped->text, dropped->type, dropped->origin, dropped->entry);
            ClipboardData data = ClipboardData::Text(icon.Text());
            DWORD effect = DROPEFFECT_COPY;
            frmChange.picIconDrop.DragEnter(data.object(), MK_LBUTTON, POINTL{0, 0}, &effect);
            frmChange.picIconDrop.Drop(data.object(), 0, POINTL{0, 0}, &effect);
            EXPECT_EQ(frmChange.picIcon.Tag, dropped->entry);
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
             if (after.count(FilePlace(copy))) expected[FilePlace(copy)] = after.at(FilePlace(copy));
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
            SCOPED_TRACE(std::string(kind.name) + (fault ? ", a fault at step " + std::to_string(int(*fault)) : ""));
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
