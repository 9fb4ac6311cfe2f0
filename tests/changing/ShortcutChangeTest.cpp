// Shortcut icons: the change window's shortcut change and files dropped on the result list, on real
// shortcut files in a private Windows folder, read back through the shell's link object and the
// links' own headers; drops through real data objects from the clipboard.
#include "../browsing/MainFixture.h"
#include "LinkFixture.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>

#include "IconMaker.h"
#include "ScratchFolder.h"
#include "common/OpenPaths.h"
#include "common/ResultEntry.h"
#include "common/ShortcutOrigin.h"
#include "changing/FrmChange.h"
#include "changing/IconCopies.h"
#include "common/SaveShortcut.h"
#include "common/ShellLink.h"
#include "core/Files.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/IconCache.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "core/ShellFolders.h"
#include "formats/FileBytes.h"
#include "formats/LinkFile.h"
#include "ui/CommonDialog.h"
#include "ui/Unique.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& path) {
    auto bytes = formats::ReadFileBytes(WidePath(path), 1 << 20);
    return bytes ? *bytes : std::vector<uint8_t>{};
}

// Every field of a shortcut as the shell reads it, the show command from the file's header.
struct LinkState {
    std::string exe, dir, args, icon, description, idList;
    int index = 0;
    WORD hotKey = 0;
    uint32_t show = 0;
    bool operator==(const LinkState&) const = default;
};

LinkState ReadState(const std::string& lnk) {
    UniqueCom<IShellLinkA> link = ShellLoad(lnk);
    IShellLinkA* l = link.get();
    LinkState s;
    char buffer[1024] = {};
    l->GetPath(buffer, 1024, nullptr, SLGP_RAWPATH), s.exe = buffer;
    l->GetWorkingDirectory(buffer, 1024), s.dir = buffer;
    l->GetArguments(buffer, 1024), s.args = buffer;
    l->GetIconLocation(buffer, 1024, &s.index), s.icon = buffer;
    l->GetDescription(buffer, 1024), s.description = buffer;
    l->GetHotkey(&s.hotKey);
    LPITEMIDLIST ids = nullptr;
    if (SUCCEEDED(l->GetIDList(&ids)) && ids) {
        s.idList.assign(reinterpret_cast<const char*>(ids), ILGetSize(ids));
        CoTaskMemFree(ids);
    }
    auto header = formats::CheckLinkFile(Bytes(lnk));
    s.show = header ? header->showCommand : 0;
    return s;
}

// Answers the message window from a timer inside its modal loop with Close, keeping what it showed.
struct Reminders {
    static inline std::vector<std::string> shown;  // caption and value name
    UINT_PTR timer;
    Reminders() : timer(SetTimer(nullptr, 0, 20, Tick)) { shown.clear(); }
    ~Reminders() { KillTimer(nullptr, timer); }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!frmMessage.IsLoaded() || !frmMessage.Visible()) return;
        shown.push_back(frmMessage.Caption() + "|" + frmMessage.chkNoShow.Tag);
        SendMessageA(frmMessage.cmdOK.hwnd(), BM_CLICK, 0, 0);
    }
};

// The save dialog answered by the test: each use takes the next name, nullptr cancels.
struct SaveDialog {
    static inline std::deque<std::optional<std::string>> answers;
    // Title, filter (its zeros as "|"), default extension, flags, first folder and the name offered.
    static inline std::vector<std::string> shown;
    static bool Answer(OPENFILENAMEA& ofn) {
        std::string filter;
        for (const char* p = ofn.lpstrFilter; p && *p; p += strlen(p) + 1) filter += std::string(p) + "|";
        shown.push_back(std::string(ofn.lpstrTitle) + "; " + filter + "; " + ofn.lpstrDefExt + "; " +
                        std::to_string(ofn.Flags) + "; " + ofn.lpstrInitialDir + "; " + ofn.lpstrFile);
        const std::optional<std::string> name = answers.empty() ? std::nullopt : answers.front();
        if (!answers.empty()) answers.pop_front();
        if (!name) return false;
        strncpy(ofn.lpstrFile, name->c_str(), ofn.nMaxFile - 1);
        return true;
    }
};

class ShortcutChangeTest : public MainFixture {
  protected:
    void SetUp() override {
        MainFixture::SetUp();
        ListView& list = frmMain.pnlResult;
        list.Clear();
        frmMain.imlResult32.Clear();
        frmMain.imlResult32.Add("", LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
        list.SetIcons(&frmMain.imlResult32);
        WriteSetting(setting::SysCache, "1");
        SaveDialog::answers.clear();
        SaveDialog::shown.clear();
        savedDialog = std::exchange(gSaveFileDialog, SaveDialog::Answer);
    }
    void TearDown() override {
        gSaveFileDialog = savedDialog;
        gIconCopyFault = nullptr;
        frmChange.Unload();
        frmMain.pnlResult.Clear();
        frmMain.pnlResult.SetIcons(nullptr);
        frmMain.imlResult32.Clear();
        MainFixture::TearDown();
    }

    std::string Icons() const { return win.path() + "Icons\\"; }
    std::vector<std::string> Copies() const { return NamesIn(WidePath(Icons())); }
    static ListItem& AddItem(const std::string& text, const std::string& type, const std::string& entry) {
        ListItem& item = frmMain.pnlResult.Add(-1, "", text, 1);
        item.SetSubItem(1, type);
        item.SetSubItem(2, "Links");
        item.Tag = entry;
        return item;
    }
    // File > Change on the shortcut "Pad" of the folder Links.
    static void ChangePad(const std::string& entry = ShortcutEntry("x", 0, "x")) {
        frmMain.pnlResult.Clear();
        frmMain.pnlResult.SetSelectedItem(&AddItem("Pad", "Shortcut Icon", entry));
        frmMain.mnuFileChange_Click();
    }
    // File > Change on Pad, an icon dropped on "New", Apply.
    void ApplyToPad() {
        ChangePad();
        ListItem& icon = AddItem("sun", "Icon", "7:9:a1book");
        frmMain.pnlResult.SetSelectedItem(&icon);
        ClipboardData data = ClipboardData::Text("sun");
        DWORD effect = DROPEFFECT_COPY;
        frmChange.picIconDrop.DragEnter(data.object(), MK_LBUTTON, POINTL{0, 0}, &effect);
        frmChange.picIconDrop.Drop(data.object(), 0, POINTL{0, 0}, &effect);
        frmChange.mnuFileApply_Click();
    }

    FileDialog savedDialog = nullptr;
    TempDir win;
    const ScopedValue<std::string> winDir{gWinDir, win.path().substr(0, win.path().size() - 1)};
    const std::string pad = win.Folder("Links") + "\\Pad.lnk";
};

}  // namespace

TEST_F(ShortcutChangeTest, TheShortcutGetsACopyAndKeepsEverythingElse) {
    WriteFixtureLink(pad);
    const LinkState before = ReadState(pad);
    ASSERT_EQ(before.show, 7u);
    ASSERT_FALSE(before.idList.empty());
    const std::vector<uint8_t> shell32 = Bytes(SystemFile("shell32.dll"));
    gCacheDirty = false;
    Reminders reminders;
    // Each change gets a new number and removes the copy it replaces.
    for (const char* copy : {"1.ico", "2.ico"}) {
        SCOPED_TRACE(copy);
        ApplyToPad();
        LinkState expected = before;
        expected.icon = Icons() + copy;
        expected.index = 0;
        EXPECT_EQ(ReadState(pad), expected);
        EXPECT_EQ(Copies(), std::vector<std::string>{copy});
    }
    EXPECT_EQ(Bytes(SystemFile("shell32.dll")), shell32);
    EXPECT_TRUE(gCacheDirty);
    EXPECT_TRUE(Reminders::shown.empty());
    EXPECT_TRUE(boxes.empty());
}

// A link to a program without icons: its Windows default is no icon location of its own, and the
// rest of the link stays as it was to the byte.
TEST_F(ShortcutChangeTest, TheDefaultOfALinkToAProgramWithoutIconsIsNoIconOfItsOwn) {
    const std::string program = win.path() + "noicons.exe";
    ASSERT_TRUE(CopyFileA((TestProgramDir() + "noicons.exe").c_str(), program.c_str(), FALSE));
    {
        UniqueCom<IShellLinkA> link;
        ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(link.put())), S_OK);
        link.get()->SetPath(program.c_str());
        link.get()->SetArguments("-n notes.txt");
        link.get()->SetDescription("My notes");
        link.get()->SetHotkey(0x0641);
        link.get()->SetShowCmd(7);
        UniqueCom<IPersistFile> file;
        link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()));
        ASSERT_EQ(file.get()->Save(WidePath(pad).wstring().c_str(), TRUE), S_OK);
    }
    const std::vector<uint8_t> bare = Bytes(pad);
    ASSERT_EQ(formats::CheckLinkFile(bare)->flags & formats::kLinkHasIconLocation, 0u);
    ApplyToPad();
    ASSERT_EQ(ReadState(pad).icon, Icons() + "1.ico");
    Reminders reminders;
    gCacheDirty = false;

    ChangePad(ShortcutEntry(Icons() + "1.ico", 0, program));
    frmChange.mnuViewDefault_Click();
    EXPECT_EQ(frmChange.Status(), "Could not Retrieve Default!");
    frmChange.mnuFileApply_Click();
    EXPECT_EQ(Bytes(pad), bare);
    EXPECT_EQ(Copies(), std::vector<std::string>{});
    EXPECT_TRUE(gCacheDirty);
    EXPECT_TRUE(Reminders::shown.empty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ShortcutChangeTest, ALinkThatCannotBeChangedIsLeftWithoutACopy) {
    struct Case {
        const char* name;
        std::optional<CopyStep> fault;
        bool damaged, held;
        const char* told;  // the start of the box
    };
    const Case cases[] = {
        {"a damaged link", std::nullopt, true, false, "The shortcut "},
        {"a link held open", std::nullopt, false, true, "Windows could not be pointed"},
        {"a failed check of the copy", CopyStep::Check, false, false, "The new icon written"},
        {"a failed setting", CopyStep::Setting, false, false, "Windows could not be pointed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFixtureLink(pad);
        const std::string earlier = win.File("Icons\\4.ico", "the copy the link used");
        ShellLinkObject().ChangeLinkIcon(pad, earlier, 0);
        if (c.damaged) {
            std::vector<uint8_t> bytes = Bytes(pad);
            bytes.resize(bytes.size() - 40);
            win.File("Links\\Pad.lnk", std::string(bytes.begin(), bytes.end()));
        }
        const std::vector<uint8_t> link = Bytes(pad);
        gIconCopyFault = [&](CopyStep step) { return c.fault == step; };
        boxes.clear();
        {
            // Another program reads it and lets others read, but not replace it.
            UniqueFile held(c.held ? CreateFileA(pad.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                                 nullptr)
                                   : INVALID_HANDLE_VALUE);
            ApplyToPad();
        }
        EXPECT_EQ(Bytes(pad), link);
        EXPECT_EQ(Copies(), std::vector<std::string>{"4.ico"});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.rfind(c.told, 0), 0u) << boxes[0].text;
        if (c.damaged) {
            EXPECT_NE(boxes[0].text.find(pad), std::string::npos) << "named";
        }
        gIconCopyFault = nullptr;
    }
}

TEST_F(ShortcutChangeTest, ALinkNamingAMissingCopyOffersTheCacheRebuild) {
    struct Case {
        const char* setting;  // "ShortcutCache"; nullptr: missing
        bool reminded;
    };
    // The change window's Apply, and the link dropped on a result item, which leaves the cache's
    // flag as it was.
    struct Way {
        const char* caption;
        bool marksCache;
        std::function<void()> apply;
    };
    const Way ways[] = {
        {"Change Shortcut Icon", true, [this] { ApplyToPad(); }},
        {"Change Shortcut", false,
         [this] {
             frmMain.pnlResult.Clear();
             AddItem("sun", "Icon", "7:9:a1book");
             DropOnList(ClipboardData::Files({pad}), ItemPoint(1));
         }},
    };
    for (const auto& [caption, marksCache, apply] : ways) {
        for (const Case& c : {Case{nullptr, true}, Case{"0", true}, Case{"1", false}}) {
            SCOPED_TRACE(std::string(caption) + ", " + (c.setting ? c.setting : "missing"));
            if (c.setting) WriteSetting(setting::ShortcutCache, c.setting);
            else DeleteRegTree(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings");
            WriteSetting(setting::SysCache, "1");
            std::filesystem::remove_all(WidePath(Icons()));
            // The link names 1.ico, which is gone: the new copy takes that very name.
            WriteFixtureLink(pad, Icons() + "1.ico", 0);
            gCacheDirty = false;
            Reminders reminders;
            apply();
            EXPECT_EQ(ReadState(pad).icon, Icons() + "1.ico");
            // The reminder is for the new picture under the old name, which must be there to be shown.
            EXPECT_EQ(Copies(), std::vector<std::string>{"1.ico"});
            EXPECT_EQ(Reminders::shown, c.reminded ? std::vector<std::string>{std::string(caption) + "|ShortcutCache"}
                                                   : std::vector<std::string>{});
            EXPECT_EQ(gCacheDirty, marksCache);
        }
    }
}

TEST_F(ShortcutChangeTest, DroppedFilesGetShortcutsWithTheIconUnderThePointer) {
    const std::string tool = win.File("Apps\\tool.exe");
    const std::string more = win.File("Apps\\more.exe");
    const std::string notes = win.path() + "Notes.lnk";
    const std::string damaged = win.File("Broken.lnk", "L not a link");
    const std::string made = win.Folder("Made") + "\\";
    struct Case {
        const char* name;
        std::vector<std::string> files;
        std::vector<const char*> answers;  // the save dialog's, nullptr cancels
        std::vector<std::pair<std::string, std::string>> written;  // new shortcuts in Made, their targets
        bool notesChanged;
        size_t boxes;
        std::string told;   // in the box
        std::string entry;  // of the item dropped on
    };
    const std::string sun = "7:9:a1book", bad = win.path() + "bad.ico";
    ASSERT_TRUE(WriteUnreadableIconFile(bad));
    const Case cases[] = {
        {"an item whose picture does not read", {notes, tool}, {}, {}, false, 1, "could not read",
         OpenEntry(bad, 0, "x", '2')},
        {"a program named Tool", {tool}, {"Tool"}, {{"Tool.lnk", tool}}, false, 0, "", sun},
        {"a shortcut and a program", {notes, more}, {"more.lnk"}, {{"more.lnk", more}}, true, 0, "", sun},
        {"three files, the second dialog cancelled", {tool, more, tool}, {"One", nullptr, "Three"},
         {{"One.lnk", tool}}, false, 0, "", sun},
        {"a damaged shortcut among them", {damaged, tool}, {"Tool"}, {{"Tool.lnk", tool}}, false, 1, damaged, sun},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(WidePath(made));
        std::filesystem::remove_all(WidePath(Icons()));
        win.Folder("Made");
        WriteFixtureLink(notes);
        const LinkState notesBefore = ReadState(notes);
        const std::vector<uint8_t> damagedBefore = Bytes(damaged);
        frmMain.pnlResult.Clear();
        AddItem("moon", "Icon", "5:1:a1book");
        AddItem("sun", "Icon", c.entry);
        SaveDialog::answers.clear();
        for (const char* a : c.answers)
            SaveDialog::answers.push_back(a ? std::optional<std::string>(made + a) : std::nullopt);
        SaveDialog::shown.clear();
        boxes.clear();
        DropOnList(ClipboardData::Files(c.files), ItemPoint(2));

        EXPECT_EQ(frmMain.pnlResult.SelectedItem(), &frmMain.pnlResult.Item(2));
        // None after a cancel.
        EXPECT_EQ(SaveDialog::shown.size(),
                  std::min(c.answers.size(), size_t(std::find(c.answers.begin(), c.answers.end(), nullptr) -
                                                    c.answers.begin()) + 1));
        std::vector<std::string> names, written;
        for (const auto& entry : std::filesystem::directory_iterator(WidePath(made)))
            written.push_back(entry.path().filename().string());
        for (const auto& [name, target] : c.written) names.push_back(name);
        EXPECT_EQ(written, names);
        // One copy for each shortcut given an icon, each link naming its own.
        std::vector<std::string> icons;
        for (const auto& [name, target] : c.written) {
            const LinkState link = ReadState(made + name);
            EXPECT_EQ(link.exe, target);
            EXPECT_EQ(link.dir, win.path() + "Apps\\");
            EXPECT_EQ(link.args, "");
            EXPECT_EQ(link.show, 1u);
            EXPECT_EQ(link.index, 0);
            icons.push_back(link.icon);
        }
        LinkState notesExpected = notesBefore;
        if (c.notesChanged) {
            notesExpected.icon = ReadState(notes).icon;
            notesExpected.index = 0;
            icons.push_back(notesExpected.icon);
        }
        EXPECT_EQ(ReadState(notes), notesExpected);
        EXPECT_EQ(Bytes(damaged), damagedBefore);
        std::vector<std::string> copies;
        for (const std::string& icon : icons) copies.push_back(icon.substr(Icons().size()));
        std::sort(copies.begin(), copies.end());
        EXPECT_EQ(Copies(), copies);
        ASSERT_EQ(boxes.size(), c.boxes);
        if (c.boxes) {
            EXPECT_NE(boxes[0].text.find(c.told), std::string::npos) << boxes[0];
        }
    }
    // The dialog as the last drop offered it for the program.
    ASSERT_FALSE(SaveDialog::shown.empty());
    const DWORD flags =
        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXTENSIONDIFFERENT | OFN_PATHMUSTEXIST | OFN_LONGNAMES;
    EXPECT_EQ(SaveDialog::shown.back(), "Create Shortcut; Shortcut (*.lnk)|*.lnk|; lnk; " + std::to_string(flags) +
                                            "; " + GetSpecialFolder(CSIDL_STARTMENU) + "; tool.exe");
}

TEST_F(ShortcutChangeTest, FilesBesideTheItemsAreOpenedAndTextIsNotTaken) {
    const std::string ico = win.File("Open\\a.ico");
    const std::string folder = win.Folder("Open\\More");
    win.File("Open\\More\\b.cur");
    frmMain.pnlResult.Clear();
    AddItem("sun", "Icon", "7:9:a1book");
    frmMain.lstFiles.AddItem("c:\\earlier\\old.ico");
    DropOnList(ClipboardData::Files({ico, folder}), ItemPoint(0));
    EXPECT_EQ(frmMain.pnlResult.SelectedItem(), nullptr);
    std::set<std::string> listed;
    for (int i = 0; i < frmMain.lstFiles.ListCount(); ++i) listed.insert(LowerAnsi(frmMain.lstFiles.List(i)));
    EXPECT_EQ(listed, (std::set<std::string>{LowerAnsi(ico), LowerAnsi(folder + "\\b.cur")}))
        << "the files dropped, and nothing opened before";
    EXPECT_TRUE(gPathList.empty());

    frmMain.pnlResult.Clear();
    AddItem("sun", "Icon", "7:9:a1book");
    frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(1));
    DropOnList(ClipboardData::Text(ico), ItemPoint(1));
    EXPECT_TRUE(SaveDialog::shown.empty());
    EXPECT_TRUE(Copies().empty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ShortcutChangeTest, SaveShortcutWritesItsSevenValues) {
    const std::string lnk = win.path() + "Ornavale.lnk";
    procSaveShortcut(lnk, "C:\\Ornavale\\Ornavale.exe", "C:\\Ornavale\\", "", "C:\\Ornavale\\Ornavale.exe", 2, 3);
    const LinkState s = ReadState(lnk);
    EXPECT_EQ(s.exe, "C:\\Ornavale\\Ornavale.exe");
    EXPECT_EQ(s.dir, "C:\\Ornavale\\");
    EXPECT_EQ(s.args, "");
    EXPECT_EQ(s.icon, "C:\\Ornavale\\Ornavale.exe");
    EXPECT_EQ(s.index, 2);
    EXPECT_EQ(s.show, 3u);
}
