// Save As in the loaded main window, driven through the dialog seam and the message-box hook: what
// each use writes where, the texts it shows, and the files read back at their depth.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "AniMaker.h"
#include "IconMaker.h"
#include "PageFixture.h"
#include "TestSupport.h"
#include "browsing/Favorites.h"
#include "common/PagePictures.h"
#include "common/FileIcons.h"
#include "common/ResultEntry.h"
#include "core/Files.h"
#include "core/FolderWalk.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "formats/AniFile.h"
#include "formats/Bmp.h"
#include "formats/FileBytes.h"
#include "formats/IconFile.h"
#include "formats/IconPicture.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Selection.h"
#include "output/AnimationFrames.h"
#include "output/SaveAs.h"
#include "output/WorkSurfaces.h"
#include "ui/App.h"
#include "ui/CommonDialog.h"

namespace {

// What the dialog was shown with, and what it answers: a file name and filter, or Cancel.
struct DialogPlay {
    bool shown = false;
    std::string title, filter, initDir, offered, defaultExt;
    DWORD flags = 0;
    int offeredIndex = 0;
    bool cancel = false;
    std::string answer;
    int answerIndex = 0;  // 0: the offered one
};
DialogPlay gDialog;

bool PlayedDialog(OPENFILENAMEA& ofn) {
    gDialog.shown = true;
    gDialog.title = ofn.lpstrTitle ? ofn.lpstrTitle : "";
    for (const char* f = ofn.lpstrFilter; f && *f; f += strlen(f) + 1) gDialog.filter += std::string(f) + "|";
    if (!gDialog.filter.empty()) gDialog.filter.pop_back();
    gDialog.initDir = ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "";
    gDialog.offered = ofn.lpstrFile;
    gDialog.defaultExt = ofn.lpstrDefExt ? ofn.lpstrDefExt : "";
    gDialog.flags = ofn.Flags;
    gDialog.offeredIndex = static_cast<int>(ofn.nFilterIndex);
    if (gDialog.cancel) return false;
    lstrcpynA(ofn.lpstrFile, gDialog.answer.c_str(), static_cast<int>(ofn.nMaxFile));
    if (gDialog.answerIndex) ofn.nFilterIndex = static_cast<DWORD>(gDialog.answerIndex);
    return true;
}

std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;
std::deque<int>& gAnswers = BoxRecorder::answers;  // then OK

const char* const kSaveFailed = "An error occured while saving.";

// The size and type class of a written icon or cursor file; "" when it does not read as one.
std::string Written(const std::string& file) {
    const auto bytes = formats::ReadFileBytes(WidePath(file), 1 << 20);
    if (!bytes) return "";
    const auto directory = formats::ReadIconDirectory(*bytes);
    if (!directory) return "unread";
    return std::to_string(bytes->size()) + " " + StillTypeCode(bytes->size(), *directory);
}

// The colour of pixel (10, 10) of a written icon file, 0xRRGGBB; ~0 when it does not read.
uint32_t CentreColour(const std::string& file) {
    const auto bytes = formats::ReadFileBytes(WidePath(file), 1 << 20);
    if (!bytes) return ~0u;
    const auto directory = formats::ReadIconDirectory(*bytes);
    if (!directory) return ~0u;
    const auto image = formats::IconImageBytes(*bytes, *directory, 0);
    const auto picture = image ? formats::DecodeIconImage(*image) : formats::Result<formats::IconPicture>(formats::Fail(""));
    if (!picture) return ~0u;
    const formats::Pixel p = picture->color[10 * 32 + 10];
    return static_cast<uint32_t>(p.r) << 16 | p.g << 8 | p.b;
}

// FrameColour as 0xRRGGBB.
uint32_t FrameRgb(int seed, int step) {
    const uint32_t c = FrameColour(seed, step);
    return (c & 0xFF) << 16 | (c & 0xFF00) | c >> 16;
}

bool Exists(const std::string& file) { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

class SaveAsTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        savedDialog_ = std::exchange(gSaveFileDialog, PlayedDialog);
        gDialog = {};
        gAddByDrag = gEditWithMode = false;
        gAddByDragFile.clear();
        savedTemp_ = std::exchange(gTempDir, dir.Folder("temp") + "\\");
        gFavDir = dir.Folder("favorites");
        dir.Folder("favorites\\Tools");
        // A cursor is written after the user clicks its hotspot: the reminder is off and the picker
        // is answered at the pixel (3, 4).
        WriteSetting(setting::NoCursorChange, std::string("1"));
        clicker_.emplace(35, 45);
    }
    void TearDown() override {
        clicker_.reset();
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, StoreKey(setting::NoCursorChange.store), 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, setting::NoCursorChange.name);
            RegCloseKey(key);
        }
        gSaveFileDialog = savedDialog_;
        gAddByDrag = gEditWithMode = gFavoritesMode = false;
        gTempDir = savedTemp_;
        PagesTest::TearDown();
    }
    // A page of one still file of the type code, named `name`, its item selected.
    void ShowItem(const std::string& name, char typeCode, uint32_t rgb = 0x2080C0) {
        const std::string file = dir.path() + "source\\" + name;
        dir.Folder("source");
        ASSERT_TRUE(WriteIconFile(file, rgb, typeCode >= '6' && typeCode <= '8'));
        Fill({OpenEntry(file, 0, "x", typeCode)});
        ASSERT_EQ(frmMain.pnlResult.Count(), 1);
        ASSERT_EQ(frmMain.pnlResult.Tag, name);
    }
    // The favorites tree with its root and one folder; the node `key` selected ("" for none).
    void FavoritesTree(const std::string& key) {
        if (!frmMain.pnlNav.Exists("favori")) frmMain.pnlNav.Add("", tvwFirst, "favori", "Favorites", "", "");
        if (!frmMain.pnlNav.Exists("favori\\Tools"))
            frmMain.pnlNav.Add("favori", tvwChild, "favori\\Tools", "Tools", "", "");
        if (!frmMain.pnlNav.Exists("other")) frmMain.pnlNav.Add("", tvwLast, "other", "Other", "", "");
        frmMain.pnlNav.SetSelectedItem(key);
    }
    void AddToFavorites() { frmMain.mnuFavoriteAdd_Click(); }
    void Drop() {
        gAddByDrag = true;
        frmMain.mnuFavoriteAdd_Click();
        gAddByDrag = false;
    }

  private:
    std::optional<HotSpotClicker> clicker_;
    FileDialog savedDialog_ = nullptr;
    std::string savedTemp_;
};

}  // namespace

TEST_F(SaveAsTest, ChosenNamesAndFilters) {
    const std::string out = dir.Folder("out") + "\\";
    struct Case {
        const char* name;
        char type;
        std::string answer;
        int index;
        std::string written;  // the file that must exist afterwards; "" for none
        std::string content;  // size and class, or "bmp"
        size_t boxes;
    } cases[] = {
        {"upper case extension kept", '2', out + "A.ICO", 1, out + "A.ICO", "3262 2", 0},
        {"icon filter forces .ico", '6', out + "a.cur", 1, out + "a.cur.ico", "766 0", 0},
        {"cursor filter", '6', out + "c", 2, out + "c.cur", "766 6", 0},
        {"256 colours", '1', out + "b.ico", 1, out + "b.ico", "2238 1", 0},
        {"bitmap", '0', out + "p", 3, out + "p.bmp", "bmp", 0},
        {"missing folder", '2', out + "none\\x.ico", 1, "", "", 1},
        {"bitmap into a missing folder", '0', out + "none\\p", 3, "", "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowItem("item.ico", c.type);
        gDialog = {};
        gDialog.answer = c.answer;
        gDialog.answerIndex = c.index;
        gBoxes.clear();
        frmMain.mnuFileSaveAs_Click();
        EXPECT_TRUE(gDialog.shown);
        EXPECT_EQ(gDialog.flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXTENSIONDIFFERENT |
                                                    OFN_PATHMUSTEXIST | OFN_LONGNAMES));
        EXPECT_EQ(gDialog.title, "");
        EXPECT_EQ(gDialog.offered, "item.ico");
        EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
        ASSERT_EQ(gBoxes.size(), c.boxes);
        if (c.boxes) {
            EXPECT_EQ(gBoxes[0].text, kSaveFailed);
            EXPECT_EQ(gBoxes[0].title, "Error");
            EXPECT_EQ(gBoxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
        }
        if (c.written.empty()) continue;
        EXPECT_EQ(frmMain.dlgIcon.FileName, c.written);
        if (c.content == "bmp") {
            const auto bytes = formats::ReadFileBytes(WidePath(c.written), 1 << 20);
            ASSERT_TRUE(bytes);
            EXPECT_EQ(bytes->size(), 3126u);
            const auto image = formats::ReadBmp(*bytes);
            ASSERT_TRUE(image);
            EXPECT_EQ(image->At(10, 10), (formats::Pixel{0xC0, 0x80, 0x20, 255}));
        } else {
            EXPECT_EQ(Written(c.written), c.content);
        }
        if (c.index == 2) {
            // The cursor's hotspot is the pixel the user clicked in the picker.
            const auto bytes = formats::ReadFileBytes(WidePath(c.written), 1 << 20);
            ASSERT_TRUE(bytes && bytes->size() > 14);
            EXPECT_EQ((*bytes)[10] | (*bytes)[11] << 8, 3);
            EXPECT_EQ((*bytes)[12] | (*bytes)[13] << 8, 4);
        }
    }
}

TEST_F(SaveAsTest, DialogOffersTheFiltersOfTheType) {
    const std::string still = "Icon (*.ico)|*.ico|Cursor (*.cur)|*.cur|Bitmap (*.bmp)|*.bmp";
    const std::string animated =
        still + "|Animated icon (*.ani)|*.ani|Seperate icons (*.ico)|*.ico";
    struct Case {
        char type;
        std::string filter;
        int index;
        const char* extension;
    } cases[] = {
        {'2', still, 1, "ico"}, {'8', still, 2, "cur"}, {'c', still, 2, "cur"},
        {'t', still, 2, "cur"}, {'w', still, 1, "ico"}, {'3', animated, 4, "ani"},
        {'5', animated, 4, "ani"}, {'a', animated, 4, "ani"}, {'g', animated, 4, "ani"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ShowItem("item.ico", c.type);
        gDialog = {};
        gDialog.cancel = true;
        frmMain.mnuFileSaveAs_Click();
        EXPECT_EQ(gDialog.filter, c.filter);
        EXPECT_EQ(gDialog.offeredIndex, c.index);
        EXPECT_EQ(gDialog.defaultExt, c.extension);
    }
    // Cancel writes nothing and says nothing.
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
}

TEST_F(SaveAsTest, FavoritesTitleAndStartFolder) {
    ShowItem("item.ico", '2');
    struct Case {
        const char* node;
        std::string folder;
    } cases[] = {
        {"favori\\Tools", gFavDir + "\\Tools"},
        {"favori", gFavDir},
        {"other", gFavDir},
        {"", gFavDir},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node);
        FavoritesTree(c.node);
        gDialog = {};
        gDialog.cancel = true;
        AddToFavorites();
        EXPECT_EQ(gDialog.title, "Add to Favorites");
        EXPECT_EQ(gDialog.initDir, c.folder);
    }
    EXPECT_FALSE(gFavoritesMode);
    // A plain Save As afterwards has the dialog's own title and keeps the folder.
    gDialog = {};
    gDialog.cancel = true;
    frmMain.mnuFileSaveAs_Click();
    EXPECT_EQ(gDialog.title, "");
    EXPECT_EQ(gDialog.initDir, gFavDir);
}

TEST_F(SaveAsTest, DroppedOnAFavoritesFolder) {
    const std::string tools = gFavDir + "\\Tools\\";
    struct Case {
        const char* name;
        const char* item;
        char type;
        const char* node;
        std::string written;  // "" for none
        std::vector<int> answers;
        std::vector<std::string> boxes;
        bool dialog;
    } cases[] = {
        {"cursor into a folder", "Arrow.old", '6', "favori\\Tools", tools + "Arrow.cur", {}, {}, false},
        {"cursor into the root", "Arrow.old", '6', "favori", gFavDir + "\\Arrow.cur", {}, {}, false},
        {"animated icon as an icon", "Spin.ani", 'a', "favori\\Tools", tools + "Spin.ico", {}, {}, false},
        {"right quote refused, Cancel", "Say \x94hi\x94.ico", '2', "favori\\Tools", "", {IDCANCEL},
         {"illegal"}, false},
        {"right quote refused, OK", "Say \x94hi\x94.ico", '2', "favori\\Tools", tools + "chosen.ico", {IDOK},
         {"illegal"}, true},
        {"colon refused", "a:b.ico", '2', "favori", "", {IDCANCEL}, {"illegal"}, false},
        {"existing name, Cancel", "Old.ico", '2', "favori\\Tools", "", {IDCANCEL}, {"exists"}, false},
        {"existing name, OK", "Old.ico", '2', "favori\\Tools", tools + "chosen.ico", {IDOK}, {"exists"}, true},
    };
    const std::string illegal =
        "The Favorite Name contains illegal characters, do not use ?\x94/\\<>*|: characters. Please specify the "
        "Favorite Name";
    const std::string exists =
        "A Favorite with this Name already excists in this Favorites Folder.\rPlease specify a new Favorite Name.";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The item's name is its own, whatever its file is called.
        ShowItem(c.type == '6' ? "named.cur" : "named.ico", c.type);
        frmMain.pnlResult.Tag = c.item;
        FavoritesTree(c.node);
        dir.File("favorites\\Tools\\Old.ico", "mine");
        DeleteFileA((tools + "chosen.ico").c_str());
        gDialog = {};
        gDialog.answer = tools + "chosen.ico";
        gBoxes.clear();
        gAnswers.assign(c.answers.begin(), c.answers.end());
        Drop();
        EXPECT_FALSE(gAddByDrag);
        EXPECT_EQ(gDialog.shown, c.dialog);
        ASSERT_EQ(gBoxes.size(), c.boxes.size());
        for (size_t i = 0; i < gBoxes.size(); ++i) {
            const bool isIllegal = c.boxes[i] == "illegal";
            EXPECT_EQ(gBoxes[i].text, isIllegal ? illegal : exists);
            EXPECT_EQ(gBoxes[i].title, "Add to Favorites");
            EXPECT_EQ(gBoxes[i].style,
                      static_cast<UINT>(MB_OKCANCEL | (isIllegal ? MB_ICONINFORMATION : MB_ICONEXCLAMATION)));
        }
        if (c.dialog) {
            EXPECT_EQ(gDialog.offered, c.item);
        }
        if (!c.written.empty()) {
            EXPECT_NE(Written(c.written), "");
            EXPECT_EQ(gAddByDragFile, c.written);
        } else {
            EXPECT_EQ(gAddByDragFile, "");
        }
        EXPECT_EQ(Written(tools + "Old.ico"), "unread") << "an existing favorite stays";
        gAddByDragFile.clear();
    }
}

// An item whose picture does not read from its file is never saved as the placeholder the page
// shows for it: nothing is written, whatever the use, and the failure is told once.
TEST_F(SaveAsTest, APictureThatDoesNotReadIsNotSaved) {
    const std::string out = dir.Folder("out") + "\\";
    const std::string source = dir.Folder("source") + "\\item.ico";
    enum class Source { HugeHeader, BrokenPng, RemovedSinceListed };
    struct Case {
        const char* name;
        Source source;
        int index;  // the dialog's filter; 0 for a drop on a favorites folder
        std::string unwritten;
    } cases[] = {
        {"60000 x 240000 as an icon", Source::HugeHeader, 1, out + "a.ico"},
        {"60000 x 240000 as a cursor", Source::HugeHeader, 2, out + "a.cur"},
        {"60000 x 240000 as a bitmap", Source::HugeHeader, 3, out + "a.bmp"},
        {"a broken PNG inside", Source::BrokenPng, 1, out + "a.ico"},
        {"removed since it was listed", Source::RemovedSinceListed, 1, out + "a.ico"},
        {"dropped on a favorites folder", Source::HugeHeader, 0, gFavDir + "\\Tools\\item.ico"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.source == Source::RemovedSinceListed ? WriteIconFile(source, 0x2080C0)
                                                           : WriteUnreadableIconFile(source, c.source == Source::BrokenPng));
        Fill({OpenEntry(source, 0, "x", '2')});
        if (c.source == Source::RemovedSinceListed) ASSERT_TRUE(DeleteFileA(source.c_str()));
        gBoxes.clear();
        if (c.index) {
            gDialog = {};
            gDialog.answer = out + "a";
            gDialog.answerIndex = c.index;
            frmMain.mnuFileSaveAs_Click();
        } else {
            FavoritesTree("favori\\Tools");
            Drop();
            EXPECT_EQ(gAddByDragFile, "");
        }
        EXPECT_FALSE(Exists(c.unwritten));
        ASSERT_EQ(gBoxes.size(), 1u);
        EXPECT_EQ(gBoxes[0].text, kSaveFailed);
        EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
    }
}

// The quote check alone: an item name with the ASCII quotation mark is not refused, and goes on to
// the file name, which the file system then refuses with the writer's message.
TEST_F(SaveAsTest, DroppedNameWithAsciiQuotePassesTheNameCheck) {
    ShowItem("Quote.ico", '2');
        frmMain.pnlResult.Tag = "Say \"hi\"";
    FavoritesTree("favori\\Tools");
    Drop();
    EXPECT_FALSE(gDialog.shown);
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0].text, kSaveFailed);
}

TEST_F(SaveAsTest, EditWithWritesTheFixedTemporaryIcon) {
    const std::string file = gTempDir + "ORTemp.ico";
    for (char type : {'6', '2'}) {
        ShowItem("item.cur", type);
        gEditWithMode = true;
        frmMain.mnuFileSaveAs_Click();
        gEditWithMode = false;
        EXPECT_FALSE(gDialog.shown);
        EXPECT_EQ(frmMain.dlgIcon.FileName, file);
        EXPECT_EQ(Written(file), type == '6' ? "766 0" : "3262 2");
    }
}

TEST_F(SaveAsTest, NonAsciiFileName) {
    ShowItem("item.ico", '2');
    const std::string file = dir.Folder("out") + "\\Ic\xF4ne d'\xE9t\xE9.ico";
    gDialog.answer = file;
    gDialog.answerIndex = 1;
    frmMain.mnuFileSaveAs_Click();
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_EQ(Written(file), "3262 2");
}

TEST_F(SaveAsTest, AnIconSavedOverAListedFileShowsOnTheNextPage) {
    const std::string listed = dir.path() + "listed.ico", other = dir.path() + "other.ico";
    ASSERT_TRUE(WriteIconFile(listed, 0xFF0000));
    ASSERT_TRUE(WriteIconFile(other, 0x2080C0));
    frmMain.cmbResult.Clear();
    frmMain.lstFiles.Clear();
    for (const std::string& file : {listed, other}) frmMain.lstFiles.AddItem(file);
    frmMain.procSearchOpen();
    frmMain.lstFiles.Clear();
    ASSERT_EQ(frmMain.pnlResult.Count(), 2);
    frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(2));
    frmMain.procItemSelected();
    gDialog.answer = listed;
    gDialog.answerIndex = 1;
    frmMain.mnuFileSaveAs_Click();
    ASSERT_EQ(CentreColour(listed), 0x2080C0u);

    frmMain.procGetPage();
    EXPECT_EQ(ImagePixels(0)[16 * 32 + 16], RGB(0x20, 0x80, 0xC0));
}

// Animations: the frames of the selected animation as an animated cursor or as numbered icons,
// written through the program's own frame folder and only there.
class SaveFramesTest : public SaveAsTest {
  protected:
    void SetUp() override {
        SaveAsTest::SetUp();
        gFilmMode = false;
        ani = dir.path() + "source\\Spin.ani";
        dir.Folder("source");
        ASSERT_TRUE(WriteAniFile(ani, kSeed, 3));
        still = dir.path() + "source\\still.ico";
        ASSERT_TRUE(WriteIconFile(still, 0x30A050));
        Fill({OpenEntry(ani, 0, "frame 1", 'a'), OpenEntry(ani, 1, "frame 2", 'a'), OpenEntry(ani, 2, "frame 3", 'a'),
              OpenEntry(still, 0, "x", '2')});
        Select(2);
    }
    void TearDown() override {
        ReleaseAniIcon();
        SaveAsTest::TearDown();
    }
    static void Select(int item) {
        frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(item));
        frmMain.procItemSelected();
    }
    void SaveAs(const std::string& file, int filterIndex) {
        gDialog = {};
        gDialog.answer = file;
        gDialog.answerIndex = filterIndex;
        frmMain.mnuFileSaveAs_Click();
    }
    // Files left in the program's frame folder.
    static int FramesLeft() {
        int n = 0;
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((FrameFolder() + "*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return 0;
        do n += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (FindNextFileA(h, &found));
        FindClose(h);
        return n;
    }
    static constexpr int kSeed = 5;
    std::string ani, still;
};

TEST_F(SaveFramesTest, AnimatedCursorThenAStillIcon) {
    // The user's own file of the frame names in the temporary folder stays as it is.
    const std::string own = dir.File("temp\\0.ico", "mine");
    const std::string out = dir.Folder("out") + "\\";
    SaveAs(out + "spin", 4);
    EXPECT_EQ(gDialog.offeredIndex, 4);
    EXPECT_TRUE(gBoxes.empty());
    const auto bytes = formats::ReadFileBytes(WidePath(out + "spin.ani"), 1 << 20);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 76u + 3 * (12 + 3262));
    const auto read = formats::ReadAni(*bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->header.frames, 3u);
    EXPECT_EQ(read->header.steps, 3u);
    EXPECT_EQ(read->rates, (std::vector<uint32_t>{20, 20, 20}));
    for (int i = 0; i < 3; ++i) {
        const formats::AniFrame& f = read->frames[static_cast<size_t>(i)];
        const auto image = formats::IconImageBytes({bytes->data() + f.offset, f.size}, f.directory, 0);
        ASSERT_TRUE(image);
        const auto picture = formats::DecodeIconImage(*image);
        ASSERT_TRUE(picture);
        const formats::Pixel p = picture->color[10 * 32 + 10];
        EXPECT_EQ(static_cast<uint32_t>(p.r) << 16 | p.g << 8 | p.b, FrameRgb(kSeed, i)) << i;
    }
    EXPECT_EQ(gFrameCount, 2);
    EXPECT_EQ(gLoopIndex, 3);
    EXPECT_FALSE(gFilmMode);
    EXPECT_EQ(FramesLeft(), 0);
    EXPECT_EQ(formats::ReadFileBytes(WidePath(own), 16)->size(), 4u);
    EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);

    // Another item afterwards is written as itself.
    Select(4);
    SaveAs(out + "still.ico", 1);
    EXPECT_EQ(CentreColour(out + "still.ico"), 0x30A050u);
}

TEST_F(SaveFramesTest, SeparateIcons) {
    const std::string out = dir.Folder("out") + "\\";
    SaveAs(out + "X", 5);
    EXPECT_TRUE(gBoxes.empty());
    // The chosen name is the selected frame's icon; beside it one icon per frame.
    EXPECT_EQ(CentreColour(out + "X.ico"), FrameRgb(kSeed, 1));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(Written(out + "X" + std::to_string(i) + ".ico"), "3262 2") << i;
        EXPECT_EQ(CentreColour(out + "X" + std::to_string(i) + ".ico"), FrameRgb(kSeed, i - 1)) << i;
    }
    EXPECT_FALSE(Exists(out + "X.ani"));
    EXPECT_EQ(FramesLeft(), 0);
    EXPECT_FALSE(gFilmMode);
}

TEST_F(SaveFramesTest, NothingWrittenWithoutEveryFrame) {
    const std::string out = dir.Folder("out") + "\\";
    const std::string missing = dir.path() + "missing\\";
    struct Case {
        const char* name;
        std::function<void()> spoil;
        std::string folder;  // chosen in the dialog
    } cases[] = {
        // The chosen folder cannot be written: the first file that fails ends the run.
        {"chosen folder missing", [] {}, missing},
        // A file where the frame folder would be: no frame can be written.
        {"frame folder blocked",
         [&] {
             RemoveDirectoryA((gTempDir + "ornavale-frames").c_str());
             dir.File("temp\\ornavale-frames", "x");
         },
         out},
        // The selected entry is gone from the result set: no frame is collected.
        {"no frame collected", [] { frmMain.cmbResult.Clear(); }, out},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.spoil();
        for (int index : {4, 5}) {
            gBoxes.clear();
            SaveAs(c.folder + "spoilt", index);
            ASSERT_EQ(gBoxes.size(), 1u);
            EXPECT_EQ(gBoxes[0].text, kSaveFailed);
            EXPECT_FALSE(Exists(c.folder + "spoilt.ani"));
            EXPECT_FALSE(Exists(c.folder + "spoilt1.ico"));
            EXPECT_FALSE(gFilmMode);
            EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
        }
    }
}

// Whatever ends the frame run, the next Save As writes the selected icon, not a frame.
TEST_F(SaveFramesTest, FilmModeEndsWithARunCutShort) {
    dir.File("temp\\ornavale-frames", "x");
    BoxRecorder::onShow = [](const ShownBox&) { throw std::runtime_error("cut short"); };
    EXPECT_THROW(SaveAs(dir.Folder("out") + "\\cut", 4), std::runtime_error);
    BoxRecorder::onShow = nullptr;
    EXPECT_FALSE(gFilmMode);
}

TEST_F(SaveFramesTest, AnimationDroppedOnAFavoritesFolder) {
    const std::string ani3 = dir.path() + "source\\Run.ani";
    ASSERT_TRUE(WriteAniFile(ani3, 2, 2));
    Fill({OpenEntry(ani3, 0, "frame 1", '3'), OpenEntry(ani3, 1, "frame 2", '3')});
    Select(1);
    FavoritesTree("favori\\Tools");
    Drop();
    EXPECT_TRUE(gBoxes.empty());
    const std::string file = gFavDir + "\\Tools\\" + frmMain.pnlResult.Tag.substr(0, frmMain.pnlResult.Tag.find('.')) + ".ani";
    EXPECT_EQ(gAddByDragFile, file);
    const auto bytes = formats::ReadFileBytes(WidePath(file), 1 << 20);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(formats::ReadAni(*bytes)->header.frames, 2u);
}
