// The page items of the sources taken from Windows: shortcuts, current and scheme cursors, file
// types and system icons, with their names, types, origins and pictures; and where a shortcut's
// item says it lies.
#include "PageFixture.h"

#include <fstream>
#include <iterator>

#include "AniMaker.h"
#include "FormatsTestSupport.h"
#include "IconMaker.h"
#include "common/FileIconReader.h"
#include "common/PagePictures.h"
#include "common/ResultEntry.h"
#include "common/ShortcutOrigin.h"
#include "core/Folders.h"
#include "core/Global.h"
#include "core/ShellFolders.h"
#include "mainwindow/Selection.h"

namespace {

std::string SystemFile(const char* name) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\" + name;
}

COLORREF PageBack() { return frmMain.pnlResult.BackColor().value_or(GetSysColor(COLOR_WINDOW)) & 0xFFFFFF; }

Bytes FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The Windows cursor of an id as the system draws it on the page's background.
std::vector<COLORREF> SystemCursorDrawn(int id) {
    return SystemDrawn(LoadCursorA(nullptr, MAKEINTRESOURCEA(id)), PageBack());
}

// The icon at `index` of a module as the shell extracts it, on the page's background.
std::vector<COLORREF> ExtractedDrawn(const std::string& module, int index) {
    HICON icon = nullptr;
    if (ExtractIconExA(module.c_str(), index, &icon, nullptr, 1) != 1 || !icon) return {};
    std::vector<COLORREF> pixels = SystemDrawn(icon, PageBack());
    DestroyIcon(icon);
    return pixels;
}

// A cursor file as the system loads and draws it, on the page's background.
std::vector<COLORREF> CursorFileDrawn(const std::string& file) {
    HCURSOR cursor = static_cast<HCURSOR>(LoadImageA(nullptr, file.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    if (!cursor) return {};
    std::vector<COLORREF> pixels = SystemDrawn(cursor, PageBack());
    DestroyCursor(cursor);
    return pixels;
}

TEST(ShortcutOrigin, IsTheFolderBelowTheShellFolderOrTheWindowsFolder) {
    const std::vector<std::string> shell = {"C:\\Users\\me\\Start Menu\\", "C:\\Users\\me\\Desktop", "D:\\"};
    struct Case {
        const char* link;
        const char* winDir;
        const char* origin;
    } cases[] = {
        {"C:\\Users\\me\\Start Menu\\Programs\\Accessories\\Paint.lnk", "C:\\WINDOWS", "Start Menu\\Programs\\Accessories"},
        {"c:\\users\\ME\\desktop\\Notes.lnk", "C:\\WINDOWS", "desktop"},  // letter case aside, as the link spells it
        {"C:\\Users\\me\\Desktop2\\Notes.lnk", "C:\\WINDOWS", "C:\\Users\\me\\Desktop2"},  // not below Desktop
        {"C:\\WINDOWS\\Desktop\\Notes.lnk", "C:\\Windows\\", "Desktop"},  // Windows 98 keeps them in its folder
        {"C:\\WINDOWS\\Notes.lnk", "C:\\WINDOWS", ""},
        {"C:\\WINDOWS\\Start\\Notes.lnk", "", "C:\\WINDOWS\\Start"},
        {"D:\\Tools\\Notes.lnk", "C:\\WINDOWS", "D:\\Tools"},  // a shell folder at a drive's root has no parent
        {"Notes.lnk", "C:\\WINDOWS", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortcutOrigin(c.link, shell, c.winDir), c.origin) << c.link;
}

TEST_F(PagesTest, SystemItemsShowTheirNamesTypesAndOrigins) {
    const std::string shell = SystemFile("shell32.dll"), cur = dir.path() + "pen.cur";
    ASSERT_TRUE(WriteIconFile(cur, 0x00FF00, true));
    const std::string desktop = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    const std::string startMenu = GetSpecialFolder(CSIDL_STARTMENU);
    ASSERT_FALSE(desktop.empty());
    ASSERT_FALSE(startMenu.empty());
    const std::string winDir = gWinDir;
    gWinDir = WindowsFolder();
    frmMain.lstFiles.Clear();
    frmMain.lstFiles.AddItem(desktop + "Notes.lnk");
    frmMain.lstFiles.AddItem(startMenu + "Programs\\Accessories\\Paint.lnk");
    frmMain.lstFiles.AddItem(gWinDir + "\\Web\\Old.LNK");
    frmMain.lstFiles.AddItem("E:\\Links\\Far.lnk");
    struct Row {
        std::string entry;
        int32_t itemData;
        const char* name;  // nullptr: no item
        const char* type;
        const char* origin;
    } rows[] = {
        {ShortcutEntry(shell, 3, "C:\\notes.txt"), 0, "Notes", "Shortcut Icon", "Desktop"},
        {ShortcutEntry(shell, 3, "C:\\paint.exe"), 1, "Paint", "Shortcut Icon", "Start Menu\\Programs\\Accessories"},
        {ShortcutEntry(shell, 3, "C:\\old.exe"), 2, "Old", "Shortcut Icon", "Web"},
        {ShortcutEntry(shell, 3, "C:\\far.exe"), 3, "Far", "Shortcut Icon", "E:\\Links"},
        {ShortcutEntry(shell, 3, "C:\\gone.exe"), 9, "", "Shortcut Icon", ""},  // no such link in the list
        {FileTypeEntry(shell, "1", "Text Document", ".txt"), 0, "Text Document (*.txt)", "File Type Icon", "File"},
        {SystemIconEntry(shell, "19", "Programs"), 1, "Programs", "System Icon", "File"},
        {DefaultCursorEntry(32514), 0, "Wait", "Current Cursor", "Windows Default"},
        {DefaultCursorEntry(32651), 0, "Help Pointer", "Current Cursor", "Windows Default"},
        {DefaultCursorEntry(32649), 0, "", "Current Cursor", "Windows Default"},  // an id of no kind
        {CurrentCursorEntry(cur, 0, "NWPen", false), 0, "Pen", "Current Cursor", "File"},
        {SchemeCursorEntry("", 0, "Classic", 2, false), 0, "Help", "Theme Cursor", "Windows Default"},
        {SchemeCursorEntry(cur, 0, "My Scheme", 7, false), 0, "Pen", "Theme Cursor", "File"},
        {SchemeCursorEntry("", 0, "Classic", 15, false), 0, "", "Theme Cursor", "Windows Default"},
        {"abc", 0, nullptr, nullptr, nullptr},
        {"sycu", 0, nullptr, nullptr, nullptr},
    };
    frmMain.cmbResult.Clear();
    for (const Row& r : rows) frmMain.cmbResult.AddItem(r.entry, r.itemData);
    gPageCount = 1;
    gPageNr = 1;
    frmMain.procGetPage();
    gWinDir = winDir;

    ListView& list = frmMain.pnlResult;
    int k = 0;
    for (const Row& r : rows) {
        if (!r.name) continue;
        ++k;
        ASSERT_LE(k, list.Count());
        ListItem& item = list.Item(k);
        EXPECT_EQ(item.Text(), r.name) << r.entry;
        EXPECT_EQ(item.SubItem(1), r.type) << r.entry;
        EXPECT_EQ(item.SubItem(2), r.origin) << r.entry;
        EXPECT_EQ(item.Tag, r.entry);
    }
    EXPECT_EQ(list.Count(), k);
    EXPECT_EQ(frmMain.imlResult32.Count(), k);
}

TEST_F(PagesTest, SystemItemsLookAsTheSystemDrawsThem) {
    const std::string shell = SystemFile("shell32.dll"), ico = dir.path() + "one.ico", cur = dir.path() + "pen.cur";
    ASSERT_TRUE(WriteIconFile(ico, 0xFF0000));
    ASSERT_TRUE(WriteIconFile(cur, 0x00FF00, true));
    const std::string upperAni = dir.path() + "RUN.ANI";
    ASSERT_TRUE(WriteAniFile(upperAni, 1, 2));
    const std::vector<COLORREF> placeholder = SystemDrawn(PlaceholderIcon(), PageBack());
    struct Case {
        std::string entry;
        std::vector<COLORREF> expected;
    } cases[] = {
        {DefaultCursorEntry(32514), SystemCursorDrawn(32514)},
        {DefaultCursorEntry(32649), SystemCursorDrawn(32649)},  // drawn by its id, though of no kind
        {SchemeCursorEntry("", 0, "Classic", 1, false), SystemCursorDrawn(32512)},
        {SchemeCursorEntry("", 0, "Classic", 14, false), SystemCursorDrawn(32516)},
        {CurrentCursorEntry(cur, 0, "Arrow", false), CursorFileDrawn(cur)},
        {SchemeCursorEntry(cur, 0, "Classic", 3, false), CursorFileDrawn(cur)},
        {ShortcutEntry(shell, 5, "C:\\x.exe"), ExtractedDrawn(shell, 5)},
        {FileTypeEntry(shell, "3", "Folder", ".fld"), ExtractedDrawn(shell, 3)},
        {SystemIconEntry(shell, "19", "Programs"), ExtractedDrawn(shell, 19)},
        // A module named without its folder is found where the system finds it.
        {FileTypeEntry("shell32.dll", "4", "Folder", ".fld"), ExtractedDrawn(shell, 4)},
        {SystemIconEntry("SHELL32.DLL", "8", "Programs"), ExtractedDrawn(shell, 8)},
        // Nothing at the index, no file, no kind at the position: the placeholder.
        {FileTypeEntry(ico, "1", "Star", ".st"), placeholder},
        {FileTypeEntry(shell, "99999", "Far", ".far"), placeholder},
        {ShortcutEntry(dir.path() + "missing.exe", 0, "C:\\x.exe"), placeholder},
        {CurrentCursorEntry(dir.path() + "missing.cur", 0, "Wait", false), placeholder},
        {SchemeCursorEntry(ico, 1, "Classic", 3, false), placeholder},
        {SchemeCursorEntry("", 0, "Classic", 15, false), placeholder},
        // A user's ".ANI" is extracted as a still icon, and the shell extracts none from an animation.
        {OpenEntry(upperAni, 0, "frame 1", 'a'), placeholder},
    };
    std::vector<std::string> entries;
    for (const Case& c : cases) entries.push_back(c.entry);
    Fill(entries);
    ASSERT_EQ(frmMain.imlResult32.Count(), static_cast<int>(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_FALSE(cases[i].expected.empty()) << cases[i].entry;
        EXPECT_EQ(Differences(ImagePixels(static_cast<int>(i)), cases[i].expected), 0) << cases[i].entry;
    }
    EXPECT_NE(Differences(SystemCursorDrawn(32514), placeholder), 0);
}

TEST_F(PagesTest, FramesOfAnAnimatedCursorAreNumberedAndReadOnce) {
    // Four frames of their own colours, in a file whose ending is in capitals.
    constexpr int kFrames = 4;
    std::vector<Bytes> icons;
    std::vector<std::string> frames;
    for (int f = 0; f < kFrames; ++f) {
        frames.push_back(dir.path() + "frame" + std::to_string(f) + ".cur");
        ASSERT_TRUE(WriteIconFile(frames.back(), 0x402000u * static_cast<uint32_t>(f + 1) + 0x30, true));
        icons.push_back(Chunk("icon", FileBytes(frames.back())));
    }
    const Bytes ani = Riff("ACON", {Chunk("anih", AniHeaderBody(kFrames, kFrames, 1)), List("fram", icons)});
    const std::string busy = dir.File("BUSY.ANI", std::string(ani.begin(), ani.end()));

    std::vector<std::string> entries;
    for (int f = 0; f < kFrames; ++f) entries.push_back(CurrentCursorEntry(busy, f, "Wait", true));
    for (int f = 0; f < kFrames; ++f) entries.push_back(SchemeCursorEntry(busy, f, "Classic", 4, true));
    entries.push_back(FileTypeEntry(busy, "2", "Busy", ".bsy"));
    entries.push_back(SystemIconEntry(busy, "3", "Busy"));
    entries.push_back(ShortcutEntry(busy, 1, "C:\\busy.exe"));
    ForgetKeptFileBytes();
    ReleaseAniIcon();
    const int readsBefore = PageFileReads();
    Fill(entries);
    EXPECT_EQ(PageFileReads() - readsBefore, 1);

    ASSERT_EQ(frmMain.pnlResult.Count(), static_cast<int>(entries.size()));
    const int pictureFrames[] = {0, 1, 2, 3, 0, 1, 2, 3, 2, 3, 1};
    for (int k = 1; k <= static_cast<int>(entries.size()); ++k) {
        const ListItem& item = frmMain.pnlResult.Item(k);
        if (k <= kFrames) {
            EXPECT_EQ(item.Text(), "Wait #" + std::to_string(k));
            EXPECT_EQ(item.SubItem(1), "Animated Cursor");
        } else if (k <= 2 * kFrames) {
            EXPECT_EQ(item.Text(), "Application Starting #" + std::to_string(k - kFrames));
            EXPECT_EQ(item.SubItem(1), "Animated Icon");
        }
        EXPECT_EQ(Differences(ImagePixels(k - 1), CursorFileDrawn(frames[static_cast<size_t>(pictureFrames[k - 1])])), 0)
            << item.Text();
    }
}

}  // namespace

TEST_F(PagesTest, AWindowsDefaultCursorSelectedShowsNoPath) {
    Fill({DefaultCursorEntry(32514), SchemeCursorEntry("", 0, "Classic", 3, false)});
    for (int item : {1, 2}) {
        SCOPED_TRACE(item);
        frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(item));
        frmMain.procItemSelected();
        EXPECT_EQ(Panel("message"), "");
        EXPECT_EQ(gItemPath, "");
        EXPECT_EQ(gSelFile, "");
    }
}
