// Play and the frame collection in the loaded main window: the animation key, which entries form
// a run and in what order, what each frame holds, and that a file is read once for all its frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AniMaker.h"
#include "LibraryMaker.h"
#include "PageFixture.h"
#include "common/FileIconReader.h"
#include "browsing/Library.h"
#include "common/PagePictures.h"
#include "common/ResultEntry.h"
#include "core/Global.h"
#include "mainwindow/Selection.h"
#include "output/AnimationFrames.h"

namespace {

constexpr COLORREF kBack = RGB(0, 255, 0), kWhite = RGB(255, 255, 255);
constexpr int kSeedA = 1, kSeedB = 2;

COLORREF CellColour(int cell) { return RGB(10 * cell, 200, 30); }

int gPlayerShown = 0;
// The boxes shown: title, style and the text's first line.
std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;

// The pixels of frame element `element`, drawn over kBack; empty when it holds no picture.
std::vector<COLORREF> FramePixels(size_t element) {
    HICON icon = frmMain.FilmElement(element).Icon();
    if (!icon) return {};
    MemoryBitmap picture(32, 32);
    UniqueBrush brush(CreateSolidBrush(kBack));
    RECT all{0, 0, 32, 32};
    FillRect(picture.dc(), &all, brush.get());
    DrawIconEx(picture.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) pixels.push_back(GetPixel(picture.dc(), x, y));
    return pixels;
}

// Frame `step` of the file of `seed` as AniMaker made it, over kBack.
std::vector<COLORREF> FileFrame(int seed, int step) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels.push_back(FrameIsClear(x, y) ? kBack : x == 4 && y == 4 ? kWhite : FrameColour(seed, step));
    return pixels;
}

// Cell `cell` of the test library over kBack.
std::vector<COLORREF> CellFrame(int cell) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels.push_back(x >= 8 && x < 24 && y >= 8 && y < 24 ? CellColour(cell) : kBack);
    return pixels;
}

class FramesTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        savedApp = gAppPath;
        savedTemp = gTempDir;
        gAppPath = program.path();
        gTempDir = temp.path();
        gLoadedLib.clear();
        frmMain.picBMP.Clear();
        gFilmMode = false;
        gPlayerShown = 0;
        savedPlayer = gShowAnimationPlayer;
        gShowAnimationPlayer = [] { ++gPlayerShown; };
        fileA = dir.path() + "A.ani";
        fileB = dir.path() + "B.ani";
        ASSERT_TRUE(WriteAniFile(fileA, kSeedA, 3));
        ASSERT_TRUE(WriteAniFile(fileB, kSeedB, 1));
        ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib.res",
                                        {{"12", LibraryPicture(10, 1, '2', CellColour)}}));
    }
    void TearDown() override {
        gShowAnimationPlayer = savedPlayer;
        gFilmMode = false;
        gAppPath = savedApp;
        gTempDir = savedTemp;
        gLoadedLib.clear();
        ReleaseAniIcon();
        PagesTest::TearDown();
    }
    static std::string Frame(const std::string& file, int step) {
        return OpenEntry(file, step, "frame " + std::to_string(step + 1), 'a');
    }
    static std::string Cell(int cell) { return BookEntry("12:" + std::to_string(cell) + ":24"); }
    // Nothing of an earlier read is kept, as after selecting an item.
    static void ForgetReads() {
        ReleaseAniIcon();
        ForgetKeptFileBytes();
    }
    TempDir program, temp;
    std::string savedApp, savedTemp, fileA, fileB;
    void (*savedPlayer)() = nullptr;
};

}  // namespace

TEST(AnimationKey, Kinds) {
    struct Case {
        const char* entry;
        char sep;
        int skip;
        const char* key;
    } cases[] = {
        {"12:5:04book", ':', 0, "1204book"},
        {"12:123:04book", ':', 0, "1204book"},
        {"A;0;frame 1;aopen", ';', 4, "Aaopen"},
        {"A;12;frame 13;ausersyst", ';', 4, "Aausersyst"},
        {"c:\\x.ani;999;frame 1000;gsycu", ';', 4, "c:\\x.anigsycu"},
        // A frame field of four characters keeps the label in the key.
        {"A;1000;frame 1001;aopen", ';', 4, "Aframe 1001;aopen"},
        {"A;1001;frame 1002;aopen", ';', 4, "Aframe 1002;aopen"},
        // Without the separators the entry is its own key.
        {"nothing", ';', 4, "nothing"},
        {"A;0", ';', 4, "A;0"},
        {"", ':', 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(AnimationKey(c.entry, c.sep, c.skip), c.key) << c.entry;
}

TEST_F(FramesTest, RunsAndTheirOrder) {
    const std::string a0 = Frame(fileA, 0), a1 = Frame(fileA, 1), a2 = Frame(fileA, 2), b0 = Frame(fileB, 0);
    const std::string userA2 = *UserEntry(a2, 1);
    struct Case {
        const char* what;
        std::vector<std::string> entries;
        int source;  // -1: an entry no longer in the result set
        bool film;
        std::vector<std::vector<COLORREF>> frames;
        int reads;
        size_t boxes = 0;  // a frame that cannot be drawn ends the run and is told
    } cases[] = {
        {"the second of a run", {a0, a1, a2, b0}, 1, false, {FileFrame(kSeedA, 0), FileFrame(kSeedA, 1), FileFrame(kSeedA, 2)}, 1},
        {"the last of a run from the first entry", {a0, a1, a2, b0}, 2, false,
         {FileFrame(kSeedA, 0), FileFrame(kSeedA, 1), FileFrame(kSeedA, 2)}, 1},
        {"another kind ends the run", {a0, a1, userA2}, 0, false, {FileFrame(kSeedA, 0), FileFrame(kSeedA, 1)}, 1},
        {"a single frame", {a0, a1, b0}, 2, false, {FileFrame(kSeedB, 0)}, 1},
        {"frame 1000, which the file lacks",
         {Frame(fileA, 999), Frame(fileA, 1000), Frame(fileA, 1001)}, 1, false, {}, 1, 1},
        {"a frame the file lacks in the middle", {a0, Frame(fileA, 7), a2}, 2, false, {FileFrame(kSeedA, 0)}, 1, 1},
        {"in film mode too", {a0, Frame(fileA, 7)}, 0, true, {FileFrame(kSeedA, 0)}, 1, 1},
        {"film mode", {a0, a1}, 1, true, {FileFrame(kSeedA, 0), FileFrame(kSeedA, 1)}, 1},
        {"an entry gone from the result set", {a0, a1}, -1, false, {}, 0},
        {"catalogue, the first selected", {Cell(5), Cell(6), Cell(7)}, 0, false, {CellFrame(7), CellFrame(6), CellFrame(5)}, 0},
        {"catalogue, ending at the last entry", {a0, Cell(5), Cell(6), Cell(7)}, 2, false,
         {CellFrame(7), CellFrame(6), CellFrame(5)}, 0},
        {"catalogue, another library ends the run", {Cell(5), Cell(6), BookEntry("13:7:24")}, 0, false,
         {CellFrame(6), CellFrame(5)}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frmMain.cmbResult.Clear();
        for (const std::string& e : c.entries) frmMain.cmbResult.AddItem(e);
        const std::string source = c.source >= 0 ? c.entries[static_cast<size_t>(c.source)] : Frame(fileA, 7);
        const bool book = source.ends_with("book");
        ForgetReads();
        gFilmMode = c.film;
        gPlayerShown = 0;
        gBoxes.clear();
        const int reads = PageFileReads();
        const int32_t n = frmMain.CollectAniFrames(source, book ? ":" : ";", book ? 1 : -1, book ? 0 : 4, !gFilmMode);
        EXPECT_EQ(n, static_cast<int32_t>(c.frames.size()));
        EXPECT_EQ(gFrameCount, n);
        EXPECT_EQ(gFrameNr, 1);
        for (size_t i = 0; i < c.frames.size() && i < static_cast<size_t>(n); ++i)
            EXPECT_EQ(FramePixels(i + 1), c.frames[i]) << "frame " << i + 1;
        EXPECT_EQ(PageFileReads() - reads, c.reads);
        EXPECT_EQ(gPlayerShown, !c.film && n > 0 ? 1 : 0);
        ASSERT_EQ(gBoxes.size(), c.boxes);
        for (const ShownBox& box : gBoxes) {
            EXPECT_EQ(box.title, "Error");
            EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONEXCLAMATION));
            EXPECT_TRUE(box.text.starts_with("Error Nr. ")) << box;
        }
    }
    gFilmMode = false;
}

TEST_F(FramesTest, PlayTakesTheSelectedItemsRun) {
    const std::string sysIcon = SystemIconEntry(fileB, "0", "Row");
    Fill({Frame(fileA, 0), Frame(fileA, 1), Frame(fileA, 2), Frame(fileB, 0), sysIcon});
    auto select = [](const std::string& entry) {
        for (int i = 1; i <= frmMain.pnlResult.Count(); ++i)
            if (frmMain.pnlResult.Item(i).Tag == entry) frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(i));
    };
    // Without a player the pointer comes back at once.
    gShowAnimationPlayer = nullptr;
    select(Frame(fileA, 1));
    ForgetReads();
    frmMain.mnuFilePlay_Click();
    ASSERT_EQ(gFrameCount, 3);
    EXPECT_EQ(FramePixels(3), FileFrame(kSeedA, 2));
    EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);

    // Another kind plays nothing; the frames stay.
    select(sysIcon);
    frmMain.mnuFilePlay_Click();
    EXPECT_EQ(gFrameCount, 3);

    // Film mode: the frames of the last collection are cleared, and the pointer is the caller's.
    gShowAnimationPlayer = [] { ++gPlayerShown; };
    gFilmMode = true;
    select(Frame(fileB, 0));
    frmMain.mnuFilePlay_Click();
    EXPECT_EQ(gFrameCount, 1);
    EXPECT_EQ(FramePixels(1), FileFrame(kSeedB, 0));
    EXPECT_TRUE(FramePixels(2).empty());
    EXPECT_EQ(gPlayerShown, 0);
    EXPECT_EQ(ScreenMousePointer(), PointerShape::Hourglass);
    SetScreenMousePointer(PointerShape::Default);
}

TEST_F(FramesTest, SeventyFramesAllCollected) {
    const std::string file = dir.path() + "long.ani";
    ASSERT_TRUE(WriteAniFile(file, 3, 70));
    frmMain.cmbResult.Clear();
    frmMain.cmbResult.AddItem(Frame(fileB, 0));
    for (int step = 0; step < 70; ++step) frmMain.cmbResult.AddItem(Frame(file, step));
    ForgetReads();
    const int reads = PageFileReads();
    ASSERT_EQ(frmMain.CollectAniFrames(Frame(file, 40), ";", -1, 4, false), 70);
    EXPECT_EQ(PageFileReads() - reads, 1);
    for (int step = 0; step < 70; ++step) EXPECT_EQ(FramePixels(static_cast<size_t>(step) + 1), FileFrame(3, step)) << step;
}

TEST_F(FramesTest, LaterFramesComeFromTheBytesReadForTheFirst) {
    ForgetReads();
    gFrameCount = 1;
    std::string entry = Frame(fileA, 0);
    frmMain.procGetOpenAni(entry);
    EXPECT_EQ(entry, "aopen");  // file, frame and label are cut from the front
    ASSERT_TRUE(DeleteFileA(fileA.c_str()));
    for (int step = 1; step < 3; ++step) {
        gFrameCount = step + 1;
        entry = Frame(fileA, step);
        frmMain.procGetOpenAni(entry);
        EXPECT_EQ(FramePixels(static_cast<size_t>(step) + 1), FileFrame(kSeedA, step)) << step;
    }
    // Another file is read anew: gone now, its frame stays empty.
    ReleaseAniIcon();
    gFrameCount = 4;
    frmMain.FilmElement(4).SetPicture(nullptr);
    entry = Frame(fileA, 0);
    frmMain.procGetOpenAni(entry);
    EXPECT_TRUE(FramePixels(4).empty());

    std::string cell = Cell(3);
    gFrameCount = 5;
    frmMain.procGetOrnavaleAni(cell);
    EXPECT_EQ(cell, "24book");
    EXPECT_EQ(FramePixels(5), CellFrame(3));
}
