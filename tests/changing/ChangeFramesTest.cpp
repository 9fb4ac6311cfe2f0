// The change window's frame collection in the loaded main window: which entries of the result set
// become frames and in what order, wherever the dropped entry stands in its run; no player, no
// frame number.
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
#include "changing/ChangeFrames.h"
#include "core/Global.h"
#include "mainwindow/Selection.h"
#include "output/AnimationFrames.h"

namespace {

constexpr COLORREF kBack = RGB(0, 255, 0);
constexpr int kSeedA = 1, kSeedB = 2, kSeedLong = 3;

uint32_t CellColour(int cell) { return RGB(10 * cell, 200, 30); }

int gPlayerShown = 0;

// The middle pixel of frame element `element`, drawn over kBack; kBack when it holds no picture.
COLORREF FrameMiddle(size_t element) {
    HICON icon = frmMain.FilmElement(element).Icon();
    MemoryBitmap picture(32, 32);
    UniqueBrush brush(CreateSolidBrush(kBack));
    RECT all{0, 0, 32, 32};
    FillRect(picture.dc(), &all, brush.get());
    if (icon) DrawIconEx(picture.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return GetPixel(picture.dc(), 16, 16);
}

class ChangeFramesTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        gAppPath = program.path();
        gTempDir = temp.path();
        gLoadedLib.clear();
        frmMain.picBMP.Clear();
        gFilmMode = false;
        gShowAnimationPlayer = [] { ++gPlayerShown; };
        fileA = dir.path() + "A.ani";
        fileB = dir.path() + "B.ani";
        fileLong = dir.path() + "long.ani";
        ASSERT_TRUE(WriteAniFile(fileA, kSeedA, 5));
        ASSERT_TRUE(WriteAniFile(fileB, kSeedB, 1));
        ASSERT_TRUE(WriteAniFile(fileLong, kSeedLong, 70));
        ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib.res", {{"12", LibraryPicture(10, 1, '2', CellColour)}}));
    }
    void TearDown() override {
        gShowAnimationPlayer = nullptr;
        gAppPath.clear();
        gTempDir.clear();
        gLoadedLib.clear();
        ReleaseAniIcon();
        SetScreenMousePointer(PointerShape::Default);
        PagesTest::TearDown();
    }
    static std::string Cell(int cell) { return BookEntry("12:" + std::to_string(cell) + ":24"); }
    TempDir program, temp;
    std::string fileA, fileB, fileLong;
};

std::vector<COLORREF> FileFrames(int seed, int first, int count) {
    std::vector<COLORREF> colours;
    for (int step = first; step < first + count; ++step) colours.push_back(FrameColour(seed, step));
    return colours;
}

}  // namespace

TEST_F(ChangeFramesTest, RunOfTheDroppedEntry) {
    const std::vector<std::string> a = AniRunEntries(fileA, 5), b = AniRunEntries(fileB, 1);
    const std::vector<std::string> longRun = AniRunEntries(fileLong, 70);
    std::vector<std::string> afterB = b;
    afterB.insert(afterB.end(), longRun.begin(), longRun.end());
    const std::string userA4 = *UserEntry(a[4], 1);  // the same file's frame listed as a user reference
    struct Case {
        const char* what;
        std::vector<std::string> entries;
        std::string dropped;
        std::vector<COLORREF> frames;  // middle pixel of each frame, in frame order
    } cases[] = {
        {"an animation of 5 dropped at frame 3", {b[0], a[0], a[1], a[2], a[3], a[4]}, a[2], FileFrames(kSeedA, 0, 5)},
        {"dropped at its last frame, last in the list", {b[0], a[0], a[1], a[2], a[3], a[4]}, a[4],
         FileFrames(kSeedA, 0, 5)},
        {"a run of 70 dropped at frame 70", afterB, longRun[69], FileFrames(kSeedLong, 0, 70)},
        {"a catalogue animation as the first entry", {Cell(5), Cell(6), Cell(7), b[0]}, Cell(5),
         {CellColour(7), CellColour(6), CellColour(5)}},
        {"the same key of another kind ends the run", {a[0], a[1], a[2], a[3], userA4}, a[1], FileFrames(kSeedA, 0, 4)},
        {"an entry gone from the result set", {a[0], a[1]}, a[3], {}},
        // Its frame 8 is not in the file: no blank frame goes into the cursor.
        {"a frame that cannot be read ends the run", {a[0], a[1], OpenEntry(fileA, 7, "frame 8", 'a'), a[3]}, a[3],
         FileFrames(kSeedA, 0, 2)},
    };
    // The collection for a change shows no box of its own.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frmMain.cmbResult.Clear();
        for (const std::string& e : c.entries) frmMain.cmbResult.AddItem(e);
        ReleaseAniIcon();
        ForgetKeptFileBytes();
        gPlayerShown = 0;
        gFrameNr = 9;
        SetScreenMousePointer(PointerShape::Default);
        const bool book = c.dropped.ends_with("book");
        const int32_t n = procCollectAniFrames(c.dropped, book ? ":" : ";", book ? 1 : -1, book ? 0 : 4);
        ASSERT_EQ(n, static_cast<int32_t>(c.frames.size()));
        EXPECT_EQ(gFrameCount, n);
        for (size_t i = 0; i < c.frames.size(); ++i) EXPECT_EQ(FrameMiddle(i + 1), c.frames[i]) << "frame " << i + 1;
        // No player and no frame number, and the hourglass stays for the change to give back.
        EXPECT_EQ(gPlayerShown, 0);
        EXPECT_EQ(gFrameNr, 9);
        EXPECT_EQ(ScreenMousePointer(), PointerShape::Hourglass);
        EXPECT_TRUE(recorder.boxes.empty());
    }
}
