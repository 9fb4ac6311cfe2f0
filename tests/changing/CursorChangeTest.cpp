// The cursor change through the change window in the loaded main window: File > Change on a current
// cursor, a real drop on "New", Apply; read back from HKEY_CURRENT_USER "Control Panel\Cursors"
// (kept aside and put back around each test), the written copy, the copy folder of a private Windows
// folder and the temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "AniMaker.h"
#include "IconMaker.h"
#include "LibraryMaker.h"
#include "PageFixture.h"
#include "RegistryFixture.h"
#include "ScratchFolder.h"
#include "browsing/Library.h"
#include "common/ResultEntry.h"
#include "changing/FrmChange.h"
#include "changing/IconCopies.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "formats/AniFile.h"
#include "formats/FileBytes.h"
#include "formats/IconFile.h"
#include "formats/IconPicture.h"
#include "output/WorkSurfaces.h"

namespace {

constexpr const char* kCursors = "Control Panel\\Cursors";
constexpr int kAniSeed = 4;
constexpr int kAniFrames = 5;

uint32_t CellColour(int cell) { return RGB(10 * cell, 200, 30); }


std::vector<std::string> Listing(const std::string& folder) { return NamesIn(WidePath(folder)); }

// The value under "Control Panel\Cursors"; "-" when it is missing.
std::string CursorValue(const std::string& name) {
    gRegType = REG_NONE;
    const Variant value = ReadRegValue(HKEY_CURRENT_USER, kCursors, name);
    if (gRegType == REG_NONE) return "-";
    EXPECT_EQ(gRegType, static_cast<DWORD>(REG_SZ)) << name;
    return value.Text();
}

// The colour (0x00BBGGRR) of the middle pixel of an icon or cursor file's first image.
uint32_t MiddleColour(formats::ByteSpan file) {
    const auto directory = formats::ReadIconDirectory(file);
    const auto image = directory ? formats::IconImageBytes(file, *directory, 0) : formats::Result<formats::ByteSpan>(formats::Fail(""));
    const auto picture = image ? formats::DecodeIconImage(*image) : formats::Result<formats::IconPicture>(formats::Fail(""));
    if (!picture) return ~0u;
    const formats::Pixel p = picture->color[16 * 32 + 16];
    return RGB(p.r, p.g, p.b);
}

// What a written copy holds: a cursor's hotspot and colour, or an animation's frame colours and rates.
struct Written {
    std::string kind;  // "cur", "ani" or what went wrong
    int hotX = 0, hotY = 0;
    std::vector<uint32_t> colours;
    std::vector<uint32_t> rates;
};

Written ReadWritten(const std::string& path) {
    const auto bytes = formats::ReadFileBytes(WidePath(path), 1 << 24);
    Written w;
    w.kind = "missing";
    if (!bytes) return w;
    if (const auto ani = formats::ReadAni(*bytes)) {
        w.kind = "ani";
        for (const formats::AniFrame& frame : ani->frames) w.colours.push_back(MiddleColour(formats::AniFrameBytes(*bytes, frame)));
        w.rates = ani->rates;
        return w;
    }
    const auto directory = formats::ReadIconDirectory(*bytes);
    w.kind = "unread";
    if (!directory || directory->kind != formats::IconKind::Cursor) return w;
    w.kind = "cur";
    w.hotX = directory->images.front().hotspotX;
    w.hotY = directory->images.front().hotspotY;
    w.colours = {MiddleColour(*bytes)};
    return w;
}

class CursorChangeTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        BoxRecorder::answer = IDNO;
        registry.Replace(kCursors);
        gAppPath = program.path();
        gTempDir = temp.path();
        gLoadedLib.clear();
        frmMain.picBMP.Clear();
        userZero = temp.File("0.ico", "the user's own");
        ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib.res", {{"12", LibraryPicture(10, 1, '2', CellColour)}}));
        ani = dir.path() + "busy.ani";
        ASSERT_TRUE(WriteAniFile(ani, kAniSeed, kAniFrames));
        ico = dir.path() + "blue.ico";
        ASSERT_TRUE(WriteIconFile(ico, 0x2040C0));
        userCursor = dir.path() + "mine.cur";
        ASSERT_TRUE(WriteIconFile(userCursor, 0x40C020, true));
        WriteSetting(setting::NoCursorChange, "1");
        WriteSetting(setting::SysCache, "1");
    }
    void TearDown() override {
        frmChange.Unload();
        gIconCopyFault = nullptr;
        gLoadedLib.clear();
        gAppPath.clear();
        gTempDir.clear();
        PagesTest::TearDown();
    }

    std::string Icons() const { return win.path() + "Icons\\"; }
    // The entries of the animated current cursor AppStarting, frame by frame.
    std::vector<std::string> AniRun() const {
        std::vector<std::string> run;
        for (int step = 0; step < kAniFrames; ++step) run.push_back(CurrentCursorEntry(ani, step, "AppStarting", true));
        return run;
    }
    static std::string Cell(int cell) { return BookEntry("12:" + std::to_string(cell) + ":24"); }
    static bool Select(const std::string& entry) {
        ListView& list = frmMain.pnlResult;
        for (int i = 1; i <= list.Count(); ++i)
            if (list.Item(i).Tag == entry) {
                list.SetSelectedItem(&list.Item(i));
                return true;
            }
        return false;
    }
    // File > Change on the target's item.
    static void Open(const std::string& target) {
        ASSERT_TRUE(Select(target)) << target;
        frmMain.mnuFileChange_Click();
    }
    // The item of the entry dragged from the list onto "New" through a real data object.
    static void Drop(const std::string& entry) {
        ASSERT_TRUE(Select(entry)) << entry;
        ClipboardData data = ClipboardData::Text(frmMain.pnlResult.SelectedItem()->Text());
        IDropTarget& target = frmChange.picIconDrop;
        DWORD effect = DROPEFFECT_COPY;
        target.DragEnter(data.object(), MK_LBUTTON, POINTL{0, 0}, &effect);
        target.DragOver(MK_LBUTTON, POINTL{0, 0}, &effect);
        target.Drop(data.object(), 0, POINTL{0, 0}, &effect);
        ASSERT_EQ(frmChange.State().dropped, entry);
    }

    CleanStore store;
    RegistryFixture registry{"CursorChange"};
    TempDir win, program, temp;
    const ScopedValue<std::string> winDir{gWinDir, win.path().substr(0, win.path().size() - 1)};
    std::string ani, ico, userCursor, userZero;
};

TEST_F(CursorChangeTest, ApplyWritesTheCopyAndNamesItForTheKind) {
    const std::vector<uint32_t> aniColours = {FrameColour(kAniSeed, 0), FrameColour(kAniSeed, 1), FrameColour(kAniSeed, 2),
                                              FrameColour(kAniSeed, 3), FrameColour(kAniSeed, 4)};
    // A catalogue animation is collected from its last cell back.
    const std::vector<uint32_t> cellColours = {CellColour(3), CellColour(2), CellColour(1), CellColour(0)};
    const uint32_t blue = RGB(0x20, 0x40, 0xC0), green = RGB(0x40, 0xC0, 0x20);
    struct Case {
        const char* what;
        std::string target;           // the current cursor's entry
        std::string before;           // its value beforehand; "-" missing
        std::vector<std::string> present;  // in the copy folder beforehand
        std::string dropped;          // "" for the default view
        bool dropGone = false;        // the result set is refilled between the drop and Apply
        const char* value;            // the value that changes
        std::string after;            // that value afterwards, the copy folder's path cut to "Icons\"
        std::vector<std::string> icons;  // the copy folder afterwards
        std::vector<uint32_t> colours;   // of the written copy, frame by frame
        int errors = 0;               // boxes telling of a failure
    };
    const std::string mine = dir.path() + "mine.cur";
    const Case cases[] = {
        {"a default cursor by its id", DefaultCursorEntry(32514), "-", {}, ico, false, "Wait", "Icons\\1.cur", {"1.cur"}, {blue}},
        {"another kind by its id", DefaultCursorEntry(32631), "-", {}, ico, false, "NWPen", "Icons\\1.cur", {"1.cur"}, {blue}},
        {"a cursor of its own, kept", CurrentCursorEntry(mine, 0, "Wait", false), mine, {}, ico, false, "Wait",
         "Icons\\1.cur", {"1.cur"}, {blue}},
        {"a current cursor dropped is still", DefaultCursorEntry(32514), "-", {}, CurrentCursorEntry(mine, 0, "Help", false),
         false, "Wait", "Icons\\1.cur", {"1.cur"}, {green}},
        {"an animated cursor's frame", DefaultCursorEntry(32514), "-", {}, CurrentCursorEntry(ani, 2, "AppStarting", true),
         false, "Wait", "Icons\\1.ani", {"1.ani"}, aniColours},
        {"a catalogue animation", DefaultCursorEntry(32512), "-", {}, Cell(2), false, "Arrow", "Icons\\1.ani", {"1.ani"},
         cellColours},
        {"an animation beside 1.cur", DefaultCursorEntry(32514), "-", {"1.cur"}, Cell(1), false, "Wait", "Icons\\1.ani",
         {"1.ani", "1.cur"}, cellColours},
        {"a cursor beside 1.cur", DefaultCursorEntry(32514), "-", {"1.cur"}, ico, false, "Wait", "Icons\\2.cur",
         {"1.cur", "2.cur"}, {blue}},
        {"the copy in use goes, though the entry is older", DefaultCursorEntry(32514), "Icons\\1.cur", {"1.cur"}, ico,
         false, "Wait", "Icons\\2.cur", {"2.cur"}, {blue}},
        {"restore removes the copy", CurrentCursorEntry("Icons\\1.cur", 0, "Wait", false), "Icons\\1.cur", {"1.cur"}, "",
         false, "Wait", "", {}, {}},
        {"restore of a missing value", DefaultCursorEntry(32651), "-", {}, "", false, "Help", "", {}, {}},
        {"restore keeps a cursor of its own", CurrentCursorEntry(mine, 0, "Wait", false), mine, {}, "", false, "Wait", "",
         {}, {}},
        {"a kind of no name writes nothing", CurrentCursorEntry(mine, 0, "Nonesuch", false), "-", {}, ico, false,
         "Nonesuch", "-", {}, {}, 1},
        {"a key elsewhere writes nothing", mine + ";0;Control Panel\\Desktop\\Wait;csycu", "-", {}, ico,
         false, "Wait", "-", {}, {}, 1},
        {"an id of no kind writes nothing", DefaultCursorEntry(1234), "-", {}, ico, false, "Wait", "-", {}, {}, 1},
        {"an animation gone from the list writes nothing", DefaultCursorEntry(32514), "Icons\\1.cur", {"1.cur"},
         Cell(2), true, "Wait", "Icons\\1.cur", {"1.cur"}, {}, 1},
    };
    auto inIcons = [&](const std::string& v) { return v.compare(0, 6, "Icons\\") == 0 ? Icons() + v.substr(6) : v; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(WidePath(Icons()));
        if (!c.present.empty()) win.Folder("Icons");
        for (const std::string& name : c.present) ASSERT_TRUE(WriteIconFile(Icons() + name, 0x808080, true));
        RegistryFixture values("CursorChangeCase");
        values.Replace(kCursors);
        if (c.before != "-") {
            ASSERT_EQ(CreateRegKey(kCursors, HKEY_CURRENT_USER), ERROR_SUCCESS);
            ASSERT_EQ(WriteRegValue(kCursors, c.value, Variant(inIcons(c.before)), REG_SZ), ERROR_SUCCESS);
        }
        const std::string target = c.target.find("Icons\\") == 0 ? inIcons(c.target) : c.target;
        std::vector<std::string> page = AniRun();
        for (int cell = 0; cell < 4; ++cell) page.push_back(Cell(cell));
        page.push_back(OpenEntry(ico, 0, "blue", '2'));
        page.push_back(CurrentCursorEntry(mine, 0, "Help", false));
        page.push_back(target);
        Fill(page);
        Open(target);
        if (c.dropped.empty()) {
            frmChange.mnuViewDefault_Click();
        } else {
            Drop(c.dropped == ico ? OpenEntry(ico, 0, "blue", '2') : c.dropped);
        }
        if (c.dropGone) frmMain.cmbResult.Clear();
        BoxRecorder::boxes.clear();
        const std::vector<std::string> tempBefore = Listing(temp.path());
        int clicks = 0;
        {
            HotSpotClicker clicker(35, 45);
            BoxRecorder::MessageWindow answerer(false);
            frmChange.mnuFileApply_Click();
            clicks = HotSpotClicker::Clicks();
            // One reminder for a change made, none when nothing was.
            EXPECT_EQ(answerer.Shown(), c.errors ? 0 : 1);
        }
        EXPECT_EQ(BoxRecorder::Titles(), std::vector<std::string>(c.errors, "Error"));
        EXPECT_EQ(CursorValue(c.value), inIcons(c.after));
        EXPECT_EQ(Listing(Icons()), c.icons);
        EXPECT_EQ(Listing(temp.path()), tempBefore);
        EXPECT_TRUE(FileExists(mine));
        if (!c.colours.empty()) {
            const Written w = ReadWritten(inIcons(c.after));
            const bool still = c.after.ends_with(".cur");
            EXPECT_EQ(w.kind, still ? "cur" : "ani");
            EXPECT_EQ(w.colours, c.colours);
            if (still) {
                // The pixel clicked in the picker.
                EXPECT_EQ(clicks, 1);
                EXPECT_EQ(w.hotX, 3);
                EXPECT_EQ(w.hotY, 4);
            } else {
                EXPECT_EQ(clicks, 0) << "no hotspot for an animation";
                EXPECT_EQ(w.rates, std::vector<uint32_t>(c.colours.size(), 20));
            }
            // The window shows the new copy as the current cursor.
            EXPECT_EQ(frmChange.Request().entry.substr(0, frmChange.Request().entry.find(';')), inIcons(c.after));
        }
    }
    const auto user = formats::ReadFileBytes(WidePath(userZero), 100);
    EXPECT_EQ(std::string(user->begin(), user->end()), "the user's own");
}

TEST_F(CursorChangeTest, SuccessiveChangesLeaveOneCopy) {
    Fill({DefaultCursorEntry(32514), OpenEntry(ico, 0, "blue", '2'), Cell(0), Cell(1)});
    HotSpotClicker clicker(35, 45);
    BoxRecorder::MessageWindow answerer(false);
    // Twice in one window, then once more in a window opened again on the same, older entry.
    for (const std::string& dropped : {OpenEntry(ico, 0, "blue", '2'), Cell(0), OpenEntry(ico, 0, "blue", '2')}) {
        SCOPED_TRACE(dropped);
        if (!frmChange.IsLoaded()) Open(DefaultCursorEntry(32514));
        Drop(dropped);
        frmChange.mnuFileApply_Click();
        const std::vector<std::string> icons = Listing(Icons());
        ASSERT_EQ(icons.size(), 1u);
        EXPECT_EQ(CursorValue("Wait"), Icons() + icons.front());
        if (dropped == Cell(0)) frmChange.Unload();
    }
    EXPECT_EQ(Listing(Icons()), std::vector<std::string>{"1.cur"});
}

TEST_F(CursorChangeTest, AFailedCopyLeavesTheValueAndItsCopy) {
    Fill({DefaultCursorEntry(32514), OpenEntry(ico, 0, "blue", '2')});
    win.Folder("Icons");
    ASSERT_TRUE(WriteIconFile(Icons() + "4.cur", 0x808080, true));
    ASSERT_EQ(CreateRegKey(kCursors, HKEY_CURRENT_USER), ERROR_SUCCESS);
    ASSERT_EQ(WriteRegValue(kCursors, "Wait", Variant(Icons() + "4.cur"), REG_SZ), ERROR_SUCCESS);
    for (CopyStep failing : {CopyStep::Write, CopyStep::Check, CopyStep::Move, CopyStep::Setting}) {
        SCOPED_TRACE(static_cast<int>(failing));
        gIconCopyFault = [failing](CopyStep step) { return step == failing; };
        Open(DefaultCursorEntry(32514));
        Drop(OpenEntry(ico, 0, "blue", '2'));
        HotSpotClicker clicker(35, 45);
        BoxRecorder::MessageWindow answerer(false);
        BoxRecorder::boxes.clear();
        frmChange.mnuFileApply_Click();
        EXPECT_EQ(answerer.Shown(), 0);
        EXPECT_EQ(BoxRecorder::Titles(), std::vector<std::string>{"Error"});
        EXPECT_EQ(CursorValue("Wait"), Icons() + "4.cur");
        EXPECT_EQ(Listing(Icons()), std::vector<std::string>{"4.cur"});
    }
}

TEST_F(CursorChangeTest, TheRestartReminder) {
    struct Case {
        const char* what;
        const char* setting;  // "SysCursorRestart"; nullptr missing
        bool press;
        int reminders;
        bool restartAsked;
    };
    const Case cases[] = {
        {"missing, closed", nullptr, false, 1, false},
        {"0, restart pressed", "0", true, 1, true},
        {"switched off", "1", true, 0, false},
    };
    Fill({DefaultCursorEntry(32514)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CleanStore::Wipe();
        WriteSetting(setting::SysCache, "1");
        if (c.setting) WriteSetting(setting::SysCursorRestart, c.setting);
        Open(DefaultCursorEntry(32514));
        frmChange.mnuViewDefault_Click();
        BoxRecorder::boxes.clear();
        BoxRecorder::MessageWindow answerer(c.press);
        frmChange.mnuFileApply_Click();
        EXPECT_EQ(answerer.Shown(), c.reminders);
        if (c.reminders) {
            EXPECT_EQ(answerer.Last().caption, "Change Current Cursor");
            EXPECT_EQ(answerer.Last().button, "Restart Windows Now!");
            EXPECT_EQ(answerer.Last().valueName, "SysCursorRestart");
        }
        // The restart asks first; the test answers No.
        EXPECT_EQ(BoxRecorder::Titles(), c.restartAsked ? std::vector<std::string>{"Restart Windows"} : std::vector<std::string>{});
        EXPECT_EQ(CursorValue("Wait"), "");
    }
}

}  // namespace
