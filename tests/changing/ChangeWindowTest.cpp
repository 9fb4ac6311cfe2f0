// The change window: what File > Change hands it for each kind, a drop through a real data object,
// the default views, Apply with its reminder and flags, and the window's own commands.
#include "ChangeWindowFixture.h"

#include <functional>
#include <string>
#include <utility>

#include "IconMaker.h"
#include "RegistryFixture.h"
#include "common/ResultEntry.h"
#include "common/ShortcutOrigin.h"
#include "changing/FrmChange.h"
#include "common/ShellLink.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/IconCache.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/Selection.h"
#include "output/WorkSurfaces.h"
#include "ui/Control.h"

namespace {

constexpr const char* kFindRow =
    "Find;shell32.dll,22;HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons,23";
constexpr const char* kDropPrompt = "Drop icon from Ornavale on New";
constexpr const char* kNoTarget = "This item cannot be changed";

bool MenuOn(int id) { return frmChange.Menus().Find(id)->enabled; }
bool ApplyOn() {
    const bool menus = MenuOn(FrmChange::ID_mnuFileApply);
    EXPECT_EQ(MenuOn(FrmChange::ID_mnuFileCloseApply), menus);
    EXPECT_EQ(frmChange.pnlToolbar.Buttons("apply").Enabled(), menus);
    EXPECT_EQ(frmChange.pnlToolbar.Buttons("applyexit").Enabled(), menus);
    return menus;
}

// Whether the label draws text below its first line, where a wrapped title's cut second line shows.
bool DrawsBelowItsFirstLine(const Label& label) {
    RECT r{};
    GetClientRect(label.hwnd(), &r);
    MemoryBitmap printed(r.right, r.bottom);
    HDC dc = printed.dc();
    SendMessageA(label.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(label.hwnd(), WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, font);
    for (int y = metrics.tmHeight; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 384) return true;  // dark text on the light face
        }
    return false;
}

class ChangeWindowTest : public ChangeWindowFixture {
  protected:
    void SetUp() override {
        ChangeWindowFixture::SetUp();
        frmMain.lstChange.AddItem("Help;shell32.dll,23;HKEY_CLASSES_ROOT\\x");
        frmMain.lstChange.AddItem(kFindRow);
        frmMain.lstChange.AddItem(".txtx:other;a.dll,1;Other;");
        frmMain.lstChange.AddItem(".txt:txtfile;notepad.exe,0;Text Document;notepad.exe %1");
    }
};

const std::string kCursorEntry = CurrentCursorEntry("C:\\cursors\\wait.cur", 0, "Wait", false);
const std::string kAniEntry = CurrentCursorEntry("C:\\cursors\\busy.ani", 3, "AppStarting", true);
const std::string kTypeEntry = FileTypeEntry("notepad.exe", "0", "Text Document", ".txt");
const std::string kShortcutEntry = ShortcutEntry("C:\\apps\\pad.exe", 0, "C:\\apps\\pad.exe");

TEST_F(ChangeWindowTest, HandsOverEachKindItsTarget) {
    struct Case {
        const char* text;
        const char* type;
        const char* origin;
        std::string entry;
        std::string target;  // picImport.Tag
        const char* title;
    };
    const std::string link = ShortcutLinkPath("Start Menu\\Programs", "Pad", gWinDir);
    const Case cases[] = {
        {"Find", "System Icon", "Windows", SystemIconEntry("shell32.dll", "22", "Find"), kFindRow, "Find"},
        {"Run", "System Icon", "Windows", SystemIconEntry("shell32.dll", "24", "Run"), "", "Run"},
        {"Text Document (*.txt)", "File Type Icon", "Windows", kTypeEntry, frmMain.lstChange.List(3),
         "Text Document (*.txt)"},
        {"Rich Text (*.rtf)", "File Type Icon", "Windows", FileTypeEntry("w.exe", "1", "Rich Text", ".rtf"), "",
         "Rich Text (*.rtf)"},
        // Longer than the window is wide: it stays on its line, whole in the label's text.
        {"Microsoft Office Excel Macro-Enabled Workbook Template Document (*.xltm)", "File Type Icon", "Windows",
         FileTypeEntry("x.exe", "1", "Microsoft Office Excel Macro-Enabled Workbook Template Document", ".xltm"), "",
         "Microsoft Office Excel Macro-Enabled Workbook Template Document (*.xltm)"},
        {"Wait", "Current Cursor", "Windows", kCursorEntry, kCursorEntry, "Wait"},
        {"Wait #3", "Animated Cursor", "Windows", kAniEntry, kAniEntry, "Wait"},
        {"Pad", "Shortcut Icon", "Start Menu\\Programs", kShortcutEntry, link, "Pad"},
        {"star #2", "Icon", "Ornavale", "12:3:a1book", "", "star"},
    };
    for (bool catalogue : {true, false}) {
        gCatalogName = catalogue ? "Ornavale" : "";
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.text) + (catalogue ? " with the catalogue" : ""));
            // An earlier use with a target never leaves it behind.
            Change("Find", "System Icon", "Windows", SystemIconEntry("shell32.dll", "22", "Find"));
            frmChange.mnuViewDefault_Click();
            Change(c.text, c.type, c.origin, c.entry);
            EXPECT_TRUE(frmChange.Visible());
            EXPECT_TRUE(GetWindowLongA(frmChange.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
            EXPECT_EQ(frmChange.Request().kind, c.type);
            EXPECT_EQ(frmChange.Caption(), std::string("Change ") + c.type);
            EXPECT_EQ(frmChange.lblTitle.Text(), c.title);
            EXPECT_FALSE(DrawsBelowItsFirstLine(frmChange.lblTitle));
            EXPECT_EQ(frmChange.Request().entry, c.entry);
            EXPECT_EQ(frmChange.Request().target, c.target);
            const bool shortcut = std::string(c.type) == "Shortcut Icon";
            EXPECT_EQ(frmChange.Request().shortcutEntry, shortcut ? c.entry : "");
            EXPECT_TRUE(frmChange.picImport.HasPicture());
            EXPECT_FALSE(frmChange.picIcon.HasPicture());
            EXPECT_FALSE(ApplyOn());
            EXPECT_EQ(MenuOn(FrmChange::ID_mnuViewDefault), !c.target.empty());
            EXPECT_EQ(MenuOn(FrmChange::ID_mnuViewEquiv), catalogue && !shortcut);
            EXPECT_EQ(frmChange.pnlToolbar.Buttons("lookalike").Enabled(), catalogue && !shortcut);
            EXPECT_EQ(frmChange.Status(), c.target.empty() ? kNoTarget : kDropPrompt);
            // The default view stays as it was shown: File > Change does not reset it.
            EXPECT_TRUE(frmChange.State().defaultShown);
        }
    }
}

TEST_F(ChangeWindowTest, ADropOnNewArmsApplyOnlyForTheSelectedItemAndATarget) {
    struct Case {
        const char* name;
        const char* type;      // of the dropped item
        const char* changeOf;  // the window's kind: "Find" has a row, "Run" none
        const char* text;      // the dragged text; nullptr: the selected item's
        DWORD effect;
        const char* status;
        bool apply;
    };
    const Case cases[] = {
        {"the selected icon", "Icon", "Find", nullptr, DROPEFFECT_COPY, "Choose File, Apply to Change", true},
        {"an animated icon", "Animated Icon", "Find", nullptr, DROPEFFECT_COPY, "File, Apply to Change to Full ANI",
         true},
        {"other text", "Icon", "Find", "something else", DROPEFFECT_NONE, "Drag an Icon from Ornavale!", false},
        {"an empty text", "Icon", "Find", "", DROPEFFECT_NONE, "Drag an Icon from Ornavale!", false},
        {"no target", "Icon", "Run", nullptr, DROPEFFECT_COPY, kNoTarget, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Change(c.changeOf, "System Icon", "Windows", SystemIconEntry("shell32.dll", "1", c.changeOf));
        frmChange.mnuViewDefault_Click();
        ASSERT_TRUE(frmChange.State().defaultShown);
        frmChange.picIcon.SetPicture(nullptr);
        ListItem& dragged = Select("sun #4", c.type, "Ornavale", "7:9:a1book");
        EXPECT_EQ(Drop(c.text ? c.text : dragged.Text()), c.effect);
        EXPECT_FALSE(frmChange.State().defaultShown);
        EXPECT_EQ(frmChange.Status(), c.status);
        EXPECT_EQ(ApplyOn(), c.apply);
        EXPECT_EQ(frmChange.State().dropped, c.effect ? dragged.Tag : "");
        EXPECT_EQ(frmChange.picIcon.HasPicture(), c.effect != DROPEFFECT_NONE);
    }
}

// A dropped item whose picture does not read from its file is not taken as the new icon.
TEST_F(ChangeWindowTest, ADropOfAPictureThatDoesNotReadTakesNothing) {
    const std::string bad = dir.path() + "\\bad.ico";
    ASSERT_TRUE(WriteUnreadableIconFile(bad));
    Change("Find", "System Icon", "Windows", SystemIconEntry("shell32.dll", "1", "Find"));
    Drop(Select("bad", "Icon", "File", OpenEntry(bad, 0, "x", '2')).Text());
    EXPECT_FALSE(ApplyOn());
    EXPECT_EQ(frmChange.State().dropped, "");
    EXPECT_FALSE(frmChange.picIcon.HasPicture());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], (ShownBox{"An error occurred while reading the icon.", MB_ICONEXCLAMATION, "Error"}));
}

TEST_F(ChangeWindowTest, DefaultViewsOfFileTypesAndSystemIcons) {
    const std::string ico = dir.path() + "\\blue.ico";
    ASSERT_TRUE(WriteIconFile(ico, 0x2040C0));
    const std::string plain = dir.File("plain.txt", "no icon here");
    SetEnvironmentVariableA("ORNAVALE_CHANGE_DIR", dir.path().c_str());
    auto escaped = [](std::string s) {
        std::string out;
        for (char ch : s) out += ch == '\\' ? std::string("\\\\") : ch == '"' ? std::string("\\\"") : std::string(1, ch);
        return out;
    };
    struct Case {
        const char* name;
        std::string registry;  // below [HKEY_CLASSES_ROOT\txtfile]
        bool drawn;
        const char* status;
        std::string targetRef;
    };
    const Case cases[] = {
        {"OrDefault over DefaultIcon",
         "[HKEY_CLASSES_ROOT\\txtfile\\OrDefault]\n@=\"" + escaped(ico) + ",0\"\n[HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon]\n@=\"" +
             escaped(plain) + ",0\"\n",
         true, "Choose File, Apply to Change", ico},
        {"DefaultIcon only", "[HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon]\n@=\"" + escaped(ico) + ",0\"\n", true,
         "Choose File, Apply to Change", ico},
        {"neither", "[HKEY_CLASSES_ROOT\\txtfile]\n@=\"Text Document\"\n", false, kDropPrompt, ""},
        // Changed while it had no icon of its own: none is what Apply puts back, not the copy in use.
        {"kept: no icon of its own",
         "[HKEY_CLASSES_ROOT\\txtfile\\OrDefault]\n@=hex(0):\n[HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon]\n@=\"" +
             escaped(ico) + ",0\"\n",
         true, "Choose File, Apply to Change", ""},
        {"no comma", "[HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon]\n@=\"" + escaped(ico) + "\"\n", true,
         "Choose File, Apply to Change", ico},
        {"quoted", "[HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon]\n@=\"\\\"" + escaped(ico) + "\\\",0\"\n", true,
         "Choose File, Apply to Change", ico},
        {"expandable", "[HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon]\n@=hex(2):" + RegHexText("%ORNAVALE_CHANGE_DIR%\\blue.ico,0") + "\n",
         true, "Choose File, Apply to Change", ico},
        {"a file without icons", "[HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon]\n@=\"" + escaped(plain) + ",0\"\n", true,
         "Could not Retrieve Default!", plain},
        {"an index past its icons", "[HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon]\n@=\"" + escaped(ico) + ",5\"\n", true,
         "Could not Retrieve Default!", ico},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegistryFixture registry("ChangeDefaults");
        registry.Load("REGEDIT4\n" + c.registry);
        Change("Text Document (*.txt)", "File Type Icon", "Windows", kTypeEntry);
        frmChange.mnuViewDefault_Click();
        EXPECT_TRUE(frmChange.State().defaultShown);
        EXPECT_EQ(frmChange.State().keyName, "txtfile");
        EXPECT_EQ(frmChange.State().targetRef, c.targetRef);
        EXPECT_EQ(frmChange.picIcon.HasPicture(), c.drawn);
        EXPECT_EQ(frmChange.Status(), c.status);
        EXPECT_EQ(ApplyOn(), c.drawn);
    }
    SetEnvironmentVariableA("ORNAVALE_CHANGE_DIR", nullptr);

    // A system icon row's default location, a file and an icon index after its last comma.
    frmMain.lstChange.AddItem("Blue;" + ico + ",0;HKEY_CLASSES_ROOT\\x");
    Change("Blue", "System Icon", "Windows", SystemIconEntry(ico, "0", "Blue"));
    frmChange.mnuViewDefault_Click();
    EXPECT_EQ(frmChange.State().targetRef, ico);
    EXPECT_EQ(frmChange.Status(), "Choose File, Apply to Change");
    EXPECT_TRUE(ApplyOn());
    // Shown twice, still shown; a drop ends it.
    frmChange.mnuViewDefault_Click();
    EXPECT_TRUE(frmChange.State().defaultShown);
}

TEST_F(ChangeWindowTest, DefaultViewsOfShortcutsAndCursors) {
    const std::string ico = dir.path() + "\\green.ico";
    ASSERT_TRUE(WriteIconFile(ico, 0x20C040));
    const std::string plain = dir.File("tool.txt", "text");
    // A shortcut's default is its target's first icon; a target without one still arms Apply: the
    // link then goes back to no icon of its own.
    for (const auto& [target, drawn] : {std::pair{ico, true}, std::pair{plain, false}}) {
        SCOPED_TRACE(target);
        Change("Tool", "Shortcut Icon", "Desktop", ShortcutEntry("C:\\x.exe", 3, target));
        frmChange.mnuViewDefault_Click();
        EXPECT_EQ(frmChange.picIcon.HasPicture(), true);
        EXPECT_EQ(frmChange.Status(), drawn ? "Choose File, Apply to Change" : "Could not Retrieve Default!");
        EXPECT_TRUE(ApplyOn());
    }

    struct Case {
        const char* name;
        std::string entry;
        const char* marker;
        const char* cursorId;
        const char* status;
    };
    const Case cases[] = {
        {"a default cursor", DefaultCursorEntry(32514), "default", "32514", "Choose File, Apply to Change"},
        {"a cursor with a file", CurrentCursorEntry("C:\\w.cur", 0, "Wait", false), "C:\\w.cur", "32514",
         "Choose File, Apply to Change"},
        {"an animated cursor", CurrentCursorEntry("C:\\b.ani", 2, "AppStarting", true), "C:\\b.ani", "32650",
         "Choose File, Apply to Change"},
        {"a kind of no id", CurrentCursorEntry("C:\\n.cur", 0, "Nonesuch", false), "C:\\n.cur", "",
         "Could not Retrieve Windows Default"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Change("Wait", "Current Cursor", "Windows", c.entry);
        // The case before drew another kind's id: a new hand-over starts without it.
        frmChange.mnuViewDefault_Click();
        EXPECT_EQ(frmChange.State().defaultMarker, c.marker);
        EXPECT_EQ(frmChange.State().defaultCursorId, c.cursorId);
        EXPECT_EQ(frmChange.State().targetRef, c.cursorId);
        EXPECT_EQ(frmChange.Status(), c.status);
        EXPECT_TRUE(frmChange.picIcon.HasPicture());
        EXPECT_TRUE(ApplyOn());
    }
}

// A ";" in the target's folder: its entry cannot hold it, the default is read from the link.
TEST_F(ChangeWindowTest, TheDefaultOfAShortcutWhoseTargetHoldsASemicolon) {
    const std::string ico = dir.Folder("a;b") + "\\green.ico";
    ASSERT_TRUE(WriteIconFile(ico, 0x20C040));
    const std::string name = "Ornavale semicolon " + std::to_string(GetCurrentProcessId());
    const std::string link = ShortcutLinkPath("Desktop", name, gWinDir);
    ShellLinkObject().WriteLink(link, ico, "", "", "", 0, 1);
    Change(name, "Shortcut Icon", "Desktop", ShortcutEntry(ico, 0, ico));
    frmChange.mnuViewDefault_Click();
    DeleteFileA(link.c_str());
    EXPECT_EQ(frmChange.Status(), "Choose File, Apply to Change");
    EXPECT_TRUE(ApplyOn());
}

TEST_F(ChangeWindowTest, ApplyHandsEachKindToItsChangeAndEndsTheSameWay) {
    struct Case {
        const char* type;
        const char* text;
        std::string entry;
        const char* sysCache;  // nullptr: missing
        bool fails;
        int reminders;
    };
    const Case cases[] = {
        {"System Icon", "Find", SystemIconEntry("a.dll", "1", "Find"), nullptr, false, 1},
        {"File Type Icon", "Text Document (*.txt)", kTypeEntry, "0", false, 1},
        {"Current Cursor", "Wait", kCursorEntry, nullptr, true, 1},
        {"Animated Cursor", "Wait", kAniEntry, "1", false, 0},
        {"Shortcut Icon", "Pad", kShortcutEntry, "1", true, 0},
    };
    static std::vector<std::string> ran;
    static bool fail = false;
    static int told = 0;
    SetExceptionHandler([](const char*, const std::exception&) { ++told; });
    gChangeProcedureHook = [](FrmChange& form, const ChangeRequest& request) {
        ran.push_back(request.kind);
        EXPECT_TRUE(gChangeApplying);
        EXPECT_EQ(ChangePicture(), &form.picIcon);
        gChangeMode = gFilmMode = true;  // as a change raises them around its rendering
        if (fail) throw std::runtime_error("the change failed");
        return false;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ran.clear();
        fail = c.fails;
        if (c.sysCache) WriteSetting(setting::SysCache, c.sysCache);
        else DeleteRegTree(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings");
        Change(c.text, c.type, "Windows", c.entry);
        ListItem& dropped = Select("sun", "Icon", "Ornavale", "7:9:a1book");
        Drop(dropped.Text());
        told = 0;
        BoxRecorder::MessageWindow answerer(false);
        frmChange.mnuFileApply_Click();
        EXPECT_EQ(ran, std::vector<std::string>{c.type});
        EXPECT_FALSE(gChangeApplying || gChangeMode || gFilmMode);
        EXPECT_EQ(told, c.fails ? 1 : 0) << "a failure is told";
        EXPECT_EQ(answerer.Shown(), c.reminders);
        if (c.reminders) {
            EXPECT_EQ(answerer.Last().caption, std::string("Change ") + c.type);
            EXPECT_EQ(answerer.Last().button, "Rebuild Icon Cache Now!");
            EXPECT_EQ(answerer.Last().valueName, "SysCache");
        }
        EXPECT_EQ(frmChange.Status(), "Select a System Icon to Change");
        EXPECT_FALSE(ApplyOn());
        EXPECT_FALSE(frmChange.picIcon.HasPicture());
    }
    SetExceptionHandler(nullptr);
}

TEST_F(ChangeWindowTest, OneCacheReminderWhenTheChangeShowedItsOwn) {
    DeleteRegTree(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings");
    gChangeProcedureHook = [](FrmChange& form, const ChangeRequest&) {
        form.procRemind("The system icons changed.", "SysCache", "Rebuild Icon Cache Now!");
        return true;
    };
    Change("Find", "System Icon", "Windows", SystemIconEntry("a.dll", "1", "Find"));
    BoxRecorder::MessageWindow answerer(true);
    frmChange.mnuFileApply_Click();
    EXPECT_EQ(answerer.Shown(), 1);
}

TEST_F(ChangeWindowTest, ApplyAndCloseUnloadsAndKeepsThePlace) {
    Change("Find", "System Icon", "Windows", SystemIconEntry("a.dll", "1", "Find"));
    frmChange.Move(1500, 900);
    frmChange.mnuFileCloseApply_Click();
    EXPECT_FALSE(frmChange.IsLoaded());
    EXPECT_EQ(ChangePicture(), nullptr);
    const auto pos = ReadWindowPos(windowpos::Change);
    ASSERT_TRUE(pos);
    EXPECT_EQ(pos->left, 1500);
    EXPECT_EQ(pos->top, 900);
}

TEST_F(ChangeWindowTest, AMissingLeftCentresTheWindowAcross) {
    WriteSetting(setting::ChangeTop, 600);
    frmChange.Load();
    const int screen = GetSystemMetrics(SM_CXSCREEN) * gTwipsX;
    EXPECT_NEAR(frmChange.Left(), (screen - frmChange.Width()) / 2, gTwipsX);
    EXPECT_EQ(frmChange.Top(), 600);
}

TEST_F(ChangeWindowTest, BackToGroupListsTheRememberedNodeWhileItExists) {
    frmMain.pnlNav.NodeClick = nullptr;
    struct Case {
        const char* name;
        std::string remembered;
        bool lists;
    };
    const Case cases[] = {
        {"a node gone from the tree", "gone away", false},
        {"no node", "", false},
        {"the node", "SysCurCurrent", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmMain.cmbResult.Clear();
        frmMain.cmbResult.AddItem("left over");
        gChangeNode = c.remembered;
        frmChange.mnuViewGroup_Click();
        // A listing starts by emptying the result set.
        EXPECT_EQ(frmMain.cmbResult.ListCount() == 1 && frmMain.cmbResult.List(0) == "left over", !c.lists);
        if (c.lists) {
            EXPECT_EQ(frmMain.pnlNav.SelectedItem()->key, c.remembered);
        }
    }
    gChangeNode.clear();
}

TEST_F(ChangeWindowTest, LookALikesSearchesOnce) {
    ComboBox& keywords = frmMain.cmbSearch;
    keywords.Clear();
    for (const char* k : {"arrow", "star", "sun"}) keywords.AddItem(k);
    static int clicks = 0;
    clicks = 0;
    const auto savedClick = std::exchange(keywords.Click, [] { ++clicks; });
    struct Case {
        const char* title;
        int before;
        int after;
        int clicks;
        bool direct;  // the search ran without the box's Click
    };
    const Case cases[] = {
        {"STAR", 1, 1, 0, true},
        {"su", 0, 2, 1, false},
        {"moon", -1, -1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        clicks = 0;
        keywords.SetListIndex(c.before);
        clicks = 0;
        frmChange.Load();
        frmChange.lblTitle.SetText(c.title);
        frmMain.cmbResult.Clear();
        frmMain.cmbResult.AddItem("left over");
        frmChange.mnuViewEquiv_Click();
        EXPECT_EQ(keywords.ListIndex(), c.after);
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(frmMain.cmbResult.ListCount() == 1 && frmMain.cmbResult.List(0) == "left over", !c.direct);
    }
    keywords.Click = savedClick;
    keywords.Clear();
}

// While the main window fills or scans, only its abort acts: each command of the change window does
// nothing then (an Apply would read the result set being refilled), and acts once the fill is over.
TEST_F(ChangeWindowTest, TheCommandsWaitWhileTheMainWindowIsBusy) {
    static int applied = 0, picked = 0;
    gChangeProcedureHook = [](FrmChange&, const ChangeRequest&) {
        ++applied;
        return false;
    };
    const ScopedValue<ColorPicker> picker(gColorPicker, [](CHOOSECOLORA& choice) {
        ++picked;
        choice.rgbResult = RGB(10, 20, 30);
        return true;
    });
    const ScopedValue<SettingBroadcast> broadcast(gBroadcastSetting, [](UINT, WPARAM, LPARAM) { return true; });
    frmMain.pnlNav.NodeClick = nullptr;
    const auto leftOver = [] { return frmMain.cmbResult.ListCount() == 1 && frmMain.cmbResult.List(0) == "left over"; };
    struct Case {
        const char* command;
        std::function<void()> run;
        std::function<bool()> acted;
    };
    const Case cases[] = {
        {"Apply", [] { frmChange.mnuFileApply_Click(); }, [] { return applied == 1; }},
        {"Apply and Close", [] { frmChange.mnuFileCloseApply_Click(); },
         [] { return applied == 1 && !frmChange.IsLoaded(); }},
        {"Windows Default", [] { frmChange.mnuViewDefault_Click(); }, [] { return frmChange.State().defaultShown; }},
        {"a drop on New", [] { Drop(Select("moon", "Icon", "Ornavale", "8:1:a1book").Text()); },
         [] { return frmChange.State().dropped == "8:1:a1book"; }},
        {"Back colour", [] { frmChange.mnuViewBackcolor_Click(); }, [] { return picked == 1; }},
        {"Rebuild Icon Cache", [] { frmChange.mnuToolsRebuild_Click(); }, [] { return !gCacheDirty; }},
        {"Back to Group",
         [] {
             gChangeNode = "SysCurCurrent";
             frmChange.mnuViewGroup_Click();
         },
         [&] { return !leftOver(); }},
    };
    for (const Case& c : cases) {
        for (bool busy : {true, false}) {
            SCOPED_TRACE(std::string(c.command) + (busy ? " while busy" : " when idle"));
            Change("Find", "System Icon", "Windows", SystemIconEntry("shell32.dll", "22", "Find"));
            ASSERT_EQ(Drop(Select("sun", "Icon", "Ornavale", "7:9:a1book").Text()), DWORD{DROPEFFECT_COPY});
            frmMain.cmbResult.Clear();
            frmMain.cmbResult.AddItem("left over");
            applied = picked = 0;
            gCacheDirty = true;
            if (busy) frmMain.procSetAbort(false);
            c.run();
            const bool acted = c.acted();
            if (busy) frmMain.procSetAbort(true);
            EXPECT_EQ(acted, !busy);
            if (busy) {
                EXPECT_TRUE(frmChange.IsLoaded());
                EXPECT_TRUE(ApplyOn()) << "still armed for when the fill is over";
            }
        }
    }
    gChangeNode.clear();
    gCacheDirty = false;
}

}  // namespace
