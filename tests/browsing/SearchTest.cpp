// The keyword search and the listing of the user's icon files in the loaded main window: which
// entries each source gives, the page they end on, busy mode and the abort.
#include <gtest/gtest.h>

#include "CursorFiles.h"
#include "PageFixture.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/FileIconReader.h"
#include "common/ResultEntry.h"
#include "formats/AniFile.h"
#include "mainwindow/Options.h"

namespace {

using Entries = std::vector<std::pair<std::string, int32_t>>;

constexpr int kSlot = 7;

class SearchTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        gScanSubDirs = false;
        gSearchFav = false;
        gFavDir = dir.Folder("Favorites");
        for (auto* list : {&frmMain.cmbResult, &frmMain.lstFiles, &frmMain.lstUser, &frmMain.cmbUser}) list->Clear();
    }
    void TearDown() override {
        for (auto* list : {&frmMain.lstFiles, &frmMain.lstUser, &frmMain.cmbUser}) list->Clear();
        gKeywords[kSlot].clear();
        gRefs[kSlot].clear();
        gSearchFav = false;
        PagesTest::TearDown();
    }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        return dir.File(name, std::string(bytes.begin(), bytes.end()));
    }
    static Entries Result() {
        Entries entries;
        for (int i = 0; i < frmMain.cmbResult.ListCount(); ++i)
            entries.emplace_back(frmMain.cmbResult.List(i), frmMain.cmbResult.ItemData(i));
        return entries;
    }
    // The entries procSearchOpen makes of these files.
    static Entries Listing(const std::vector<std::string>& files) {
        frmMain.cmbResult.Clear();
        frmMain.lstFiles.Clear();
        for (const auto& f : files) frmMain.lstFiles.AddItem(f);
        frmMain.procSearchOpen();
        return Result();
    }
    static bool Busy() { return !Enabled(ID_mnuFile); }
};

TEST_F(SearchTest, KeywordSearchListsCatalogueReferencesAndFavoritesOfTheKeyword) {
    const std::string star = "C:\\Icons\\star.ico;0;x;2user", Star = "C:\\Icons\\Star.ico;0;x;1user";
    const Bytes icon = StillFile(1, 32, 32);
    // One folder cannot hold both Star.ico and star.ICO: the file system ignores letter case.
    Write("Favorites\\Star.ico", icon);
    const std::string match = Write("Favorites\\more\\star.ICO", icon);
    Write("Favorites\\star.bmp", icon);
    std::string many;
    Entries manyEntries;
    for (int i = 0; i < 199; ++i) {
        many += "3:" + std::to_string(i) + ":x02;";
        manyEntries.emplace_back("3:" + std::to_string(i) + ":x02book", kSlot);
    }
    manyEntries.emplace_back(star, 1);
    struct Case {
        const char* what;
        std::string refs;
        bool searchFav;
        bool subDirs;   // as the last disk scan left the walker
        bool selected;  // the keyword chosen in the box, or only "star" typed into it
        Entries expected;
        int pages;
    };
    const Case cases[] = {
        {"two tokens", "12:40:x02;12:41:x12;", false, false, true,
         {{"12:40:x02book", kSlot}, {"12:41:x12book", kSlot}, {star, 1}}, 1},
        {"a token twice", "12:40:x02;12:40:x02;", false, false, true,
         {{"12:40:x02book", kSlot}, {"12:40:x02book", kSlot}, {star, 1}}, 1},
        {"favorites by exact name", "5:1:x02;", true, true, true,
         {{"5:1:x02book", kSlot}, {star, 1}, {OpenEntry(match, 0, "x", '2'), 0}}, 1},
        {"favorites in the top folder only", "5:1:x02;", true, false, true, {{"5:1:x02book", kSlot}, {star, 1}}, 1},
        {"nothing chosen: no earlier keyword's catalogue icons", "5:1:x02;", false, false, false, {{star, 1}}, 1},
        {"exactly one full page, then an empty one", many, false, false, true, manyEntries, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gKeywords[kSlot] = "star";
        gRefs[kSlot] = c.refs;
        frmMain.lstUser.AddItem("Star", 0);
        frmMain.cmbUser.AddItem(Star, 0);
        frmMain.lstUser.AddItem("star", 1);
        frmMain.cmbUser.AddItem(star, 1);
        frmMain.cmbSearch.Clear();
        frmMain.cmbSearch.AddItem("star");
        frmMain.cmbSearch.SetItemData(0, kSlot);
        frmMain.cmbSearch.AddItem("stars");
        frmMain.cmbSearch.SetItemData(1, kSlot + 1);
        if (c.selected) {
            frmMain.cmbSearch.SetListIndex(0);
        } else {
            frmMain.cmbSearch.SetListIndex(-1);
            frmMain.cmbSearch.SetText("star");
        }
        gSearchFav = c.searchFav;
        gScanSubDirs = c.subDirs;
        frmMain.cmbResult.AddItem("left over from before");
        frmMain.procSearchOrnavale();

        EXPECT_EQ(Result(), c.expected);
        EXPECT_EQ(gPageNr, 1);
        EXPECT_EQ(gPageCount, c.pages);
        EXPECT_EQ(Panel("message"), "");
        EXPECT_EQ(Panel("count"), std::to_string(c.expected.size()) + " Icon(s)");
        EXPECT_EQ(frmMain.pnlResult.Count(), static_cast<int>(c.expected.size()));
        EXPECT_FALSE(Busy());
        frmMain.lstUser.Clear();
        frmMain.cmbUser.Clear();
    }
    EXPECT_EQ(gFavDir.back(), '\\');
}

TEST_F(SearchTest, AnEmptyOrFailedSearchShowsOneEmptyPageAndLeavesBusyMode) {
    struct Case {
        const char* what;
        int32_t slot;
        std::string favDir;
        bool walked;  // the favorites pass ran and left its (empty) list of files
    };
    const Case cases[] = {{"nothing found, favorites walked", kSlot, gFavDir, true},
                          {"no favorites folder: the drive's root is not walked", kSlot, "", false},
                          {"a slot outside the keywords", kKeywordSlots, gFavDir, false}};
    gSearchFav = true;  // an empty favorites folder
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gFavDir = c.favDir;
        frmMain.lstFiles.Clear();
        frmMain.lstFiles.AddItem("C:\\kept.ico");
        frmMain.cmbResult.AddItem(OpenEntry(Write("old.ico", StillFile(1, 32, 4)), 0, "x", '0'));
        frmMain.procGetPage();  // the page of an earlier search
        frmMain.cmbSearch.Clear();
        frmMain.cmbSearch.AddItem("nothing");
        frmMain.cmbSearch.SetItemData(0, c.slot);
        frmMain.cmbSearch.SetListIndex(0);
        frmMain.procSearchOrnavale();
        EXPECT_TRUE(Result().empty());
        EXPECT_EQ(frmMain.pnlResult.Count(), 0);
        EXPECT_EQ(gPageCount, 1);
        EXPECT_EQ(Panel("count"), "0 Icon(s)");
        EXPECT_EQ(Panel("message"), "");
        EXPECT_FALSE(Busy());
        EXPECT_EQ(frmMain.lstFiles.ListCount(), c.walked ? 0 : 1);
    }
}

TEST_F(SearchTest, AddResultEntryAppendsAnOpenEntryAndShowsTheCount) {
    struct Case {
        const char* file;
        int32_t index;
        const char* label;
        const char* kind;
        const char* text;
    };
    const Case cases[] = {
        {"C:\\a\\b.ico", 0, "x", "2open", "C:\\a\\b.ico;0;x;2open"},
        {"C:\\x\\y.dll", 2, "#3 of 12", "dopen", "C:\\x\\y.dll;2;#3 of 12;dopen"},
        {"C:\\x\\run.ani", 31999, "frame 32000", "aopen", "C:\\x\\run.ani;31999;frame 32000;aopen"},
    };
    int n = 0;
    for (const Case& c : cases) {
        Sleep(60);  // a listing shows its count every 50 ms
        frmMain.procAddResultEntry(c.file, c.index, c.label, c.kind);
        ++n;
        EXPECT_EQ(frmMain.cmbResult.List(n - 1), c.text);
        EXPECT_EQ(frmMain.cmbResult.ItemData(n - 1), 0);
        EXPECT_EQ(Panel("count"), std::to_string(n) + " Icon(s)");
    }
}

TEST_F(SearchTest, EachFileGivesOneEntryPerIconOrFrame) {
    const std::string library = TestProgramDir() + "icons12.dll";
    const std::string upper = dir.path() + "ICONS12.DLL", icl = dir.path() + "icons12.icl";
    const std::string noIcons = dir.path() + "noicons.exe";
    ASSERT_TRUE(CopyFileA(library.c_str(), upper.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(library.c_str(), icl.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((TestProgramDir() + "noicons.exe").c_str(), noIcons.c_str(), FALSE));
    struct Icon {
        int32_t index;
        std::string label;
        char type;
    };
    struct Case {
        std::string file;
        std::vector<Icon> icons;
    };
    std::vector<Icon> twelve, twelveIcl;
    for (int i = 1; i <= 12; ++i) {
        twelve.push_back({i - 1, "#" + std::to_string(i) + " of 12", 'd'});
        twelveIcl.push_back({i - 1, "#" + std::to_string(i) + " of 12", 'i'});
    }
    // The size classes and the broken headers are the file reader's; here each kind once, as listed.
    const Case cases[] = {
        {Write("16.ico", StillFile(1, 32, 4)), {{0, "x", '0'}}},  // 766 bytes
        {Write("256.cur", StillFile(2, 32, 8)), {{0, "x", '7'}}},  // 2238 bytes
        {Write("\xE4rger.ico", StillFile(1, 32, 32)), {{0, "x", '2'}}},
        {upper, twelve},
        {icl, twelveIcl},
        {noIcons, {}},
        {Write("four.ani", AniFile(4)), {{0, "frame 1", 'a'}, {1, "frame 2", 'a'}, {2, "frame 3", 'a'}, {3, "frame 4", 'a'}}},
        {Write("pic.bmp", StillFile(1, 32, 4)), {}},
        {Write("cursor.ico", StillFile(2, 32, 4)), {{0, "x", '6'}}},  // read by its content, as Windows does
        {Write("neither.cur", StillFile(3, 32, 4)), {}},
        {Write("text.dll", ToBytes("not a library")), {}},
        {dir.path() + "missing.ico", {}},
    };
    std::vector<std::string> all;
    Entries allEntries;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Entries expected;
        for (const Icon& i : c.icons) expected.emplace_back(OpenEntry(c.file, i.index, i.label, i.type), 0);
        EXPECT_EQ(Listing({c.file}), expected);
        all.push_back(c.file);
        allEntries.insert(allEntries.end(), expected.begin(), expected.end());
    }

    // All at once, in list order, with the page and the count of the whole listing.
    EXPECT_EQ(Listing(all), allEntries);
    EXPECT_EQ(Panel("count"), std::to_string(allEntries.size()) + " Icon(s)");
    EXPECT_EQ(Panel("area"), "Page 1 of 1");
    EXPECT_EQ(Panel("message"), "");
    EXPECT_EQ(frmMain.pnlResult.Count(), static_cast<int>(allEntries.size()));
    EXPECT_FALSE(Busy());
}

TEST_F(SearchTest, FilesReadAheadCountAsFilesReadOneByOne) {
    std::vector<std::string> files = {
        Write("a.ico", StillFile(1, 32, 4)), Write("b.cur", StillFile(2, 32, 8)), Write("c.ani", AniFile(3)),
        TestProgramDir() + "icons12.dll",    TestProgramDir() + "noicons.exe",   Write("d.txt", ToBytes("text")),
        dir.path() + "missing.ico",
    };
    for (int i = 0; i < 40; ++i) files.push_back(Write("many" + std::to_string(i) + ".ico", StillFile(1, 32, i % 2 ? 4 : 32)));
    std::vector<FileIconCount> alone;
    for (const std::string& f : files) alone.push_back(ReadFileIconCount(f));
    EXPECT_EQ(alone[3].count, 12);
    EXPECT_EQ(alone[2].count, 3);

    // The whole list at once, or handed over file by file as a walk finds them while the counts of
    // the first half are taken; with the threads asked for, or fewer when the system gives fewer
    // (starts), down to none.
    struct Readers {
        unsigned workers;
        int starts;
    };
    for (bool handedOver : {false, true}) {
        for (const Readers r : {Readers{0, 0}, {1, 1}, {3, 3}, {64, 64}, {3, 1}, {2, 0}}) {
            const unsigned workers = r.workers;
            ReaderThreadStarts starts(r.starts);
            std::optional<FileIconCountsAhead> made;
            if (handedOver) made.emplace(workers);
            else made.emplace(files, workers);
            FileIconCountsAhead& ahead = *made;
            size_t taken = 0;
            auto takeUpTo = [&](size_t end) {
                for (; taken < end; ++taken) {
                    FileIconCount count;
                    while (!ahead.Wait(taken, 5, count)) {
                    }
                    EXPECT_EQ(count.count, alone[taken].count) << handedOver << workers << r.starts << " " << files[taken];
                    EXPECT_EQ(count.typeCode, alone[taken].typeCode)
                        << handedOver << workers << r.starts << " " << files[taken];
                }
            };
            if (handedOver) {
                for (size_t i = 0; i < files.size(); ++i) {
                    ahead.Add(files[i]);
                    takeUpTo((i + 1) / 2);
                }
                ahead.Close();
            }
            ASSERT_EQ(ahead.size(), files.size());
            takeUpTo(files.size());
        }
    }
    // Given up half-way (an abort): the workers stop without every file being taken, and without
    // waiting for the rest of a list still open.
    { FileIconCountsAhead ahead(files, 2); }
    {
        FileIconCountsAhead open(2);
        open.Add(files[0]);
    }
    FileIconCountsAhead none({}, 4);
    EXPECT_EQ(none.size(), 0u);
}

// The icon groups read from the headers against the shell's own count, over every program and
// library of the system folder, 32- and 64-bit, and the test libraries.
TEST(LibraryIcons, CountedAsTheShellCountsThem) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    std::vector<std::string> files = {TestProgramDir() + "icons12.dll", TestProgramDir() + "noicons.exe"};
    for (const std::string& folder : {std::string(system), std::string("C:\\windows\\syswow64")}) {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            const IconFileType type = IconFileTypeOf(found.cFileName);
            if (type == IconFileType::Dll || type == IconFileType::Exe)
                files.push_back(folder + "\\" + found.cFileName);
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    ASSERT_GT(files.size(), 100u);
    int withIcons = 0;
    for (const std::string& file : files) {
        const int shell =
            static_cast<int>(reinterpret_cast<UINT_PTR>(ExtractIconA(GetModuleHandleA(nullptr), file.c_str(), UINT(-1))));
        EXPECT_EQ(ReadFileIconCount(file).count, shell) << file;
        if (shell > 0) ++withIcons;
    }
    EXPECT_GT(withIcons, 10);
}

TEST_F(SearchTest, AnimatedFilesCountTheStepsTheSystemDraws) {
    const std::string path = Write("steps.ani", AniFile(3, {0, 1, 2, 1, 0}));
    Entries entries = Listing({path});
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries.back().first, OpenEntry(path, 4, "frame 5", 'a'));
    HICON icon = static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_TRUE(icon);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(32, 32, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (UINT step = 0; step <= 5; ++step)
        EXPECT_EQ(DrawIconEx(dc, 0, 0, icon, 0, 0, step, nullptr, DI_NORMAL) != FALSE, step < 5) << step;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyIcon(icon);
}

TEST_F(SearchTest, AnEmptyListShowsNoIconsOnPageOneOutOfBusyMode) {
    frmMain.procSetAbort(false);
    EXPECT_TRUE(Listing({}).empty());
    EXPECT_EQ(Panel("count"), "0 Icon(s)");
    EXPECT_EQ(gPageNr, 1);
    EXPECT_EQ(gPageCount, 1);
    EXPECT_FALSE(Busy());
    EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
}

bool gAbortLive = false;

TEST_F(SearchTest, AbortStopsTheListingAfterTheCurrentFile) {
    std::vector<std::string> files;
    for (int i = 0; i < 10; ++i) files.push_back(Write("i" + std::to_string(i) + ".ico", StillFile(1, 32, 4)));
    gAbortLive = false;
    const unsigned long eventsMs = gListingEventsMs;
    gListingEventsMs = 0;  // events after every file, so that the abort comes at the third
    gDoEventsHook = [] {
        if (frmMain.cmbResult.ListCount() == 3 && !gAbort) {
            gAbortLive = frmMain.pnlToolbar.Buttons("abort").Enabled();
            gAbort = true;
        }
    };
    Entries entries = Listing(files);
    gDoEventsHook = nullptr;
    gListingEventsMs = eventsMs;
    EXPECT_TRUE(gAbortLive);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].first, OpenEntry(files[2], 0, "x", '0'));
    EXPECT_EQ(frmMain.pnlResult.Count(), 3);
    EXPECT_EQ(Panel("count"), "3 Icon(s)");
    EXPECT_EQ(gPageNr, 1);
    EXPECT_FALSE(gAbort);
    EXPECT_FALSE(Busy());
}

}  // namespace
