// Catalogue cells on the page: the library pictures extracted from their archives, the archive
// table, the cache of extracted and loaded pictures, and broken archives and pictures.
#include "PageFixture.h"

#include <filesystem>
#include <fstream>

#include "LibraryMaker.h"
#include "browsing/Library.h"
#include "common/ResultEntry.h"
#include "core/Files.h"
#include "core/Folders.h"
#include "core/Global.h"

namespace {

constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;

class LibraryTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        savedApp = gAppPath;
        savedTemp = gTempDir;
        gAppPath = program.path();
        gTempDir = temp.path();
        gArchiveName.clear();
        gLoadedLib.clear();
        frmMain.picBMP.Clear();
    }
    void TearDown() override {
        gAppPath = savedApp;
        gTempDir = savedTemp;
        gLoadedLib.clear();
        PagesTest::TearDown();
    }
    static formats::Image Solid(uint32_t color, char mask = '2') {
        return LibraryPicture(10, 2, mask, [color](int) { return color; });
    }
    // The colour in the middle of cell `cell` of the loaded library, or 1 for no cell.
    static uint32_t MiddleOf(int cell, char mask = '2') {
        auto c = frmMain.picBMP.GraphicCell(cell, *formats::MaskColor(mask));
        if (!c) return 1;
        const formats::Pixel& p = c->pixels[16 * 32 + 16];
        return static_cast<uint32_t>(p.r) | p.g << 8 | p.b << 16;
    }
    bool Extracted(const std::string& library) const { return FileExists(LibraryPicturePath(library)); }
    TempDir program, temp;
    std::string savedApp, savedTemp;
};

TEST_F(LibraryTest, ArchiveByLibraryNumberAndTheLastOneOutsideTheTable) {
    ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib.res", {{"86", Solid(kRed)}, {"0", Solid(kRed)}}));
    ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib1.res", {{"87", Solid(kRed)}}));
    ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib9.res", {{"324.9", Solid(kRed)}, {"325", Solid(kRed)}}));
    struct Case {
        const char* library;
        const char* archive;
        bool present;
    } cases[] = {
        {"86", "Iconlib.res", true},    {"87", "Iconlib1.res", true},  {"124", "Iconlib1.res", false},
        {"324.9", "Iconlib9.res", true}, {"325", "Iconlib9.res", true}, {"86", "Iconlib9.res", true},
        {"0", "Iconlib9.res", false},    {"1", "Iconlib.res", false},   {"0", "Iconlib.res", true},
    };
    for (const Case& c : cases) {
        frmMain.procExtractLibrary(c.library);
        // 86 the second time is already extracted: no archive is chosen for it.
        EXPECT_EQ(gArchiveName, c.archive) << c.library;
        EXPECT_EQ(gLibPresent, c.present) << c.library;
        EXPECT_EQ(Extracted(c.library), c.present) << c.library;
    }
}

TEST_F(LibraryTest, ExtractedOnceLoadedOnce) {
    ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib.res", {{"5", Solid(kRed)}, {"6", Solid(kBlue)}}));
    frmMain.procExtractLibrary("5");
    ASSERT_TRUE(gLibPresent);
    EXPECT_EQ(gLoadedLib, "5");
    EXPECT_EQ(MiddleOf(3), kRed);

    // With the archive gone, the extracted picture still serves.
    DeleteFileA((program.path() + "Iconlib.res").c_str());
    frmMain.procExtractLibrary("5");
    EXPECT_TRUE(gLibPresent);

    // Asked for again in a row, the picture is not read again: a changed file shows only after
    // another library was loaded in between.
    auto blue = formats::WriteBmp24(Solid(kBlue));
    ASSERT_TRUE(formats::WriteFileBytes(WidePath(LibraryPicturePath("5")), *blue));
    frmMain.procExtractLibrary("5");
    EXPECT_EQ(MiddleOf(3), kRed);
    frmMain.procExtractLibrary("6");  // gone with its archive
    EXPECT_FALSE(gLibPresent);
    EXPECT_EQ(gLoadedLib, "5");
    ASSERT_TRUE(formats::WriteFileBytes(WidePath(LibraryPicturePath("7")), *blue));
    frmMain.procExtractLibrary("7");
    frmMain.procExtractLibrary("5");
    EXPECT_EQ(MiddleOf(3), kBlue);
}

TEST_F(LibraryTest, BrokenArchivesAndNamesGiveNoPicture) {
    const std::string archive = program.path() + "Iconlib.res";
    auto attempt = [&](const std::string& library) {
        gLoadedLib.clear();
        frmMain.procExtractLibrary(library);
        return gLibPresent;
    };
    ASSERT_TRUE(WriteLibraryArchive(archive, {{"1", Solid(kRed)}}, "wrong password"));
    EXPECT_FALSE(attempt("1"));

    ASSERT_TRUE(WriteLibraryArchive(archive, {{"1", Solid(kRed)}}));
    std::string bytes;
    {
        std::ifstream in(archive, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::string flipped = bytes;
    flipped[bytes.size() / 3] ^= 0x40;
    std::ofstream(archive, std::ios::binary | std::ios::trunc) << flipped;
    EXPECT_FALSE(attempt("1"));
    std::ofstream(archive, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() / 2);
    EXPECT_FALSE(attempt("1"));

    // Library texts that are no number never name a file, inside the folder or out of it.
    for (const char* library : {"", "..\\1", "1;2", "-1", "1e3", "1.", ".5"}) EXPECT_FALSE(attempt(library)) << library;

    // Nothing was left behind: no picture and no half-written file.
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((ExtractedLibraryFolder() + "*").c_str(), &found);
    int files = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (FindNextFileA(h, &found));
        FindClose(h);
    }
    EXPECT_EQ(files, 0);
}

TEST_F(LibraryTest, APictureCutShortOnDiskIsExtractedAgain) {
    ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib.res", {{"5", Solid(kRed)}}));
    frmMain.procExtractLibrary("5");
    const std::string picture = LibraryPicturePath("5");
    const auto whole = std::filesystem::file_size(picture);
    // What a kill in the middle of its writing leaves for a later start.
    std::filesystem::resize_file(picture, whole / 2);
    gLoadedLib.clear();
    frmMain.picBMP.Clear();
    frmMain.procExtractLibrary("5");
    EXPECT_TRUE(gLibPresent);
    EXPECT_EQ(std::filesystem::file_size(picture), whole);
    EXPECT_EQ(MiddleOf(3), kRed);
}

TEST_F(LibraryTest, UnreadablePictureNeverShowsAnotherLibrarysCell) {
    ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib.res", {{"1", Solid(kRed)}}));
    frmMain.procExtractLibrary("1");
    ASSERT_TRUE(gLibPresent);
    std::ofstream(LibraryPicturePath("2"), std::ios::binary) << "not a picture";
    frmMain.procExtractLibrary("2");
    EXPECT_FALSE(gLibPresent);
    EXPECT_EQ(gLoadedLib, "1");
}

TEST_F(LibraryTest, PageShowsCellsWithTheirMaskTransparent) {
    // Library 3: cell n has its own colour; the mask is green (digit 2). Library 4 is missing.
    ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib.res",
                                    {{"3", LibraryPicture(10, 2, '2', [](int n) { return 0x000008u * (n + 1); })}}));
    gKeywords[7] = "star";
    frmMain.cmbResult.Clear();
    for (const char* token : {"3:0:x22", "3:19:x25", "3:20:x22", "4:0:x22", "3:1:x2"})
        frmMain.cmbResult.AddItem(BookEntry(token), 7);
    frmMain.cmbResult.AddItem(OpenEntry(dir.path() + "missing.dll", 0, "x", 'd'));
    gPageCount = 1;
    gPageNr = 1;
    frmMain.procGetPage();
    ListView& list = frmMain.pnlResult;
    // The last book entry's token has no mask digit before its type: no item.
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Item(1).Text(), "star");
    EXPECT_EQ(list.Item(1).SubItem(1), "Hi-Color Icon");
    EXPECT_EQ(list.Item(1).SubItem(2), "Ornavale");
    EXPECT_EQ(list.Item(2).SubItem(1), "Hi-Color Animation");
    const std::vector<COLORREF> placeholder = ImagePixels(4);
    struct Shown {
        int image;
        COLORREF middle;  // COLORREF of the square; 0 for the placeholder
    } shown[] = {{0, RGB(8, 0, 0)}, {1, RGB(8 * 20, 0, 0)}, {2, 0}, {3, 0}};
    for (const Shown& s : shown) {
        const std::vector<COLORREF> pixels = ImagePixels(s.image);
        if (!s.middle) {
            EXPECT_EQ(pixels, placeholder) << s.image;
            continue;
        }
        EXPECT_EQ(pixels[16 * 32 + 16] & 0xFFFFFF, s.middle) << s.image;
        // The green around the square is transparent: the white under the picture shows.
        EXPECT_EQ(pixels[0] & 0xFFFFFF, RGB(255, 255, 255)) << s.image;
        EXPECT_EQ(pixels[31 * 32 + 31] & 0xFFFFFF, RGB(255, 255, 255)) << s.image;
    }
}

TEST_F(LibraryTest, WithoutATemporaryFolderYetPicturesGoToTheSystemsAndNothingToTheCurrentDirectory) {
    // A library beyond the shipped catalogue's, so that no other program's picture is touched.
    const std::string library = "323";
    ASSERT_TRUE(WriteLibraryArchive(program.path() + "Iconlib9.res", {{library, Solid(kRed)}}));
    gTempDir.clear();
    const std::string picture = LibraryPicturePath(library);
    EXPECT_EQ(picture, TempFolder() + "ornavale-libraries\\" + library + ".lib");
    DeleteFileA(picture.c_str());

    TempDir current;
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(current.path().c_str()));
    gKeywords[7] = "star";
    gRefs[7] = library + ":0:x22;";
    frmMain.cmbSearch.Clear();
    frmMain.cmbSearch.AddItem("star");
    frmMain.cmbSearch.SetItemData(0, 7);
    frmMain.cmbSearch.SetListIndex(0);
    frmMain.procSearchOrnavale();
    const bool extracted = FileExists(picture);
    SetCurrentDirectoryA(before);
    gKeywords[7].clear();
    gRefs[7].clear();
    DeleteFileA(picture.c_str());

    EXPECT_EQ(frmMain.pnlResult.Count(), 1);
    EXPECT_TRUE(extracted);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((current.path() + "*").c_str(), &found);
    std::vector<std::string> written;
    if (h != INVALID_HANDLE_VALUE) {
        do
            if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..") written.push_back(found.cFileName);
        while (FindNextFileA(h, &found));
        FindClose(h);
    }
    EXPECT_EQ(written, std::vector<std::string>{});
}

}  // namespace
