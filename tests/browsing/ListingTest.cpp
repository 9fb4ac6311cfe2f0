// The open commands and the scan window through to the result page: real icon and cursor files
// listed, the count shown and busy mode left.
#include "MainFixture.h"

#include "IconMaker.h"
#include "common/FileIconReader.h"
#include "common/PagePictures.h"
#include "browsing/Favorites.h"
#include "browsing/FrmScan.h"
#include "common/Paging.h"
#include "core/Global.h"
#include "mainwindow/Options.h"
#include "mainwindow/Selection.h"

namespace {

// Hands a command line over as a later start does.
void HandOver(const std::string& line) {
    COPYDATASTRUCT cds{};
    cds.cbData = static_cast<DWORD>(line.size());
    cds.lpData = const_cast<char*>(line.data());
    SendMessageA(frmMain.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
}

// Lists a folder of 60 icons with events run after every entry; the hook runs with those events.
void ListBigFolder(const TempDir& dir, void (*hook)()) {
    dir.Folder("Big");
    for (int i = 0; i < 60; ++i) WriteIconFile(dir.path() + "Big\\icon" + std::to_string(i) + ".ico", 0x808080);
    gDoEventsHook = hook;
    const unsigned long eventsMs = gListingEventsMs;
    gListingEventsMs = 0;
    gPathList = dir.path() + "Big";
    frmMain.procOpenPathList(32);
    gListingEventsMs = eventsMs;
    gDoEventsHook = nullptr;
}

class ListingTest : public MainFixture {
  protected:
    void SetUp() override {
        MainFixture::SetUp();
        gIconsPerPage = 200;
        dir.Folder("Tree\\sub");
        for (const char* f : {"Tree\\a.ico", "Tree\\B.ICO", "Tree\\sub\\d.ico"}) WriteIconFile(dir.path() + f, 0x3366CC);
        WriteIconFile(dir.path() + "Tree\\c.cur", 0x00AA00, true);
        dir.File("Tree\\notes.txt");
    }
    // The page and the state every listing ends in.
    static void ExpectShown(int entries, const std::string& name) {
        EXPECT_EQ(frmMain.cmbResult.ListCount(), entries) << name;
        EXPECT_EQ(frmMain.pnlResult.Count(), entries) << name;
        EXPECT_EQ(Panel("count"), std::to_string(entries) + " Icon(s)") << name;
        EXPECT_EQ(Panel("area"), "Page 1 of 1") << name;
        EXPECT_TRUE(MenuEnabled(ID_mnuFile)) << name;
        EXPECT_TRUE(frmMain.pnlNav.Enabled()) << name;
        EXPECT_EQ(gPageNr, 1) << name;
    }
};

}  // namespace

TEST_F(ListingTest, ScanOfATemporaryTreeListsItsIcons) {
    struct Case {
        const char* name;
        bool all, ico, sub;
        int entries;
    } cases[] = {
        {"icons, sub-folders", false, true, true, 3},
        {"all, this folder", true, false, false, 3},
        {"all, sub-folders", true, false, true, 4},
    };
    for (const Case& c : cases) {
        frmMain.cmbResult.AddItem("C:\\before\\x.ico;0;x;2open");
        frmMain.cmbSearch.SetText("keyword");
        frmScan.Load();
        frmScan.txtDir.SetText(dir.path() + "Tree");
        frmScan.chkALL.SetValue(c.all ? 1 : 0);
        frmScan.chkICO.SetValue(c.ico ? 1 : 0);
        frmScan.chkScanSubDir.SetValue(c.sub ? 1 : 0);
        frmScan.cmdStart_Click();
        ExpectShown(c.entries, c.name);
        EXPECT_EQ(frmMain.cmbSearch.Text(), "") << c.name;
        // Read while the walk went on, listed in the walk's order: one entry per file.
        ASSERT_EQ(frmMain.lstFiles.ListCount(), c.entries) << c.name;
        for (int i = 0; i < c.entries; ++i)
            EXPECT_EQ(frmMain.cmbResult.List(i).rfind(frmMain.lstFiles.List(i) + ";", 0), 0u) << c.name << i;
    }
}

TEST_F(ListingTest, PathListAndOpenByFileListTheirFiles) {
    gPathList = "\"" + dir.path() + "Tree\" " + dir.path() + "Tree\\A.ICO";
    frmMain.procOpenPathList(32);
    ExpectShown(5, "path list");  // a.ico twice: once found in the folder, once named

    using namespace std::string_literals;
    FileDialog system = gOpenFileDialog;
    static std::string answer;
    answer = dir.path() + "Tree\0a.ico\0c.cur"s;
    gOpenFileDialog = [](OPENFILENAMEA& ofn) {
        memcpy(ofn.lpstrFile, answer.data(), answer.size());
        ofn.lpstrFile[answer.size()] = ofn.lpstrFile[answer.size() + 1] = '\0';
        return true;
    };
    frmMain.mnuFileOpen_Click();
    gOpenFileDialog = system;
    ExpectShown(2, "open by file");
}

TEST_F(ListingTest, DeletingAFavoriteFoundByKeywordSearchesAgain) {
    const std::string saved = gFavDir;
    gFavDir = dir.Folder("Favorites");
    WriteIconFile(gFavDir + "\\star.ico", 0xCC3333);
    WriteIconFile(gFavDir + "\\moon.ico", 0x3333CC);
    gSearchFav = true;
    gKeywords[7] = "star";
    frmMain.cmbSearch.AddItem("star");
    frmMain.cmbSearch.SetItemData(frmMain.cmbSearch.ListCount() - 1, 7);
    frmMain.cmbSearch.SetListIndex(frmMain.cmbSearch.ListCount() - 1);
    frmMain.procSearchOrnavale();
    ASSERT_EQ(frmMain.cmbResult.ListCount(), 1);

    gFavFolderNode.clear();
    gSelDir = gFavDir + "\\";
    gSelFile = "star.ico";
    frmMain.mnuFavoriteDel_Click();
    EXPECT_EQ(frmMain.cmbResult.ListCount(), 0);
    EXPECT_EQ(Panel("count"), "0 Icon(s)");
    gSearchFav = false;
    gKeywords[7].clear();
    gFavDir = saved;
}

TEST_F(ListingTest, AHandOverDuringAListingWaitsForItsEnd) {
    const std::string later = dir.path() + "Tree\\a.ico";
    static std::string handedOver;
    static bool sent;
    handedOver = later;
    sent = false;
    // A second start hands its path over while the first listing is a third done.
    ListBigFolder(dir, [] {
        if (sent || frmMain.cmbResult.ListCount() < 20) return;
        sent = true;
        HandOver(handedOver);
    });
    EXPECT_TRUE(sent);
    ExpectShown(60, "the first listing, whole");

    // Then, once it is done, the handed-over path opens.
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000 && frmMain.cmbResult.ListCount() != 1;) {
        DoEvents();
        Sleep(20);
    }
    ExpectShown(1, "the handed-over path");
    EXPECT_EQ(frmMain.cmbResult.List(0).rfind(LowerAnsi(later), 0), 0u) << frmMain.cmbResult.List(0);
}

// Three later starts during one listing, as Explorer makes when three files are opened at once:
// once it is done the list shows the last one's file, and no start is left waiting behind it.
TEST_F(ListingTest, HandOversDuringAListingEndWithTheLatest) {
    static std::vector<std::string> starts;
    starts.clear();
    for (const char* name : {"first.ico", "second.ico", "third.ico", "fourth.ico"}) {
        starts.push_back(dir.path() + name);
        WriteIconFile(starts.back(), 0x3366CC);
    }
    static size_t sent;
    sent = 0;
    ListBigFolder(dir, [] {
        if (sent < 3 && frmMain.cmbResult.ListCount() >= 20 + 10 * static_cast<int>(sent)) HandOver(starts[sent++]);
    });
    ASSERT_EQ(sent, 3u);

    auto shows = [](const std::string& file) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 2000; Sleep(20)) {
            DoEvents();
            if (frmMain.cmbResult.ListCount() == 1 && frmMain.cmbResult.List(0).rfind(LowerAnsi(file), 0) == 0)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(shows(starts[2])) << frmMain.cmbResult.List(0);
    HandOver(starts[3]);
    EXPECT_TRUE(shows(starts[3])) << frmMain.cmbResult.List(0);
}

TEST_F(ListingTest, ItsPagesShowTheListingsOwnReadingOfEachFile) {
    frmScan.Load();
    frmScan.txtDir.SetText(dir.path() + "Tree");
    frmScan.chkALL.SetValue(0);
    frmScan.chkICO.SetValue(1);
    frmScan.chkScanSubDir.SetValue(1);
    frmScan.cmdStart_Click();
    ExpectShown(3, "scan");
    std::vector<std::string> listed;
    for (int i = 0; i < frmMain.lstFiles.ListCount(); ++i) listed.push_back(frmMain.lstFiles.List(i));
    ASSERT_EQ(listed.size(), 3u);
    for (const std::string& path : listed) ASSERT_TRUE(KeptFileBytes(path)) << path;
    // One file replaced by another picture of the same size, one gone, one as it was.
    WIN32_FILE_ATTRIBUTE_DATA before{}, after{};
    ASSERT_TRUE(GetFileAttributesExA(listed[0].c_str(), GetFileExInfoStandard, &before));
    ASSERT_TRUE(WriteIconFile(listed[0], 0xCC6633));
    ASSERT_TRUE(GetFileAttributesExA(listed[0].c_str(), GetFileExInfoStandard, &after));
    ASSERT_EQ(after.nFileSizeLow, before.nFileSizeLow);
    ASSERT_TRUE(DeleteFileA(listed[1].c_str()));

    // The page shows each file as it is now: it opens those that changed, the other as the listing read it.
    const int reads = PageFileReads();
    frmMain.procGetPage();
    EXPECT_EQ(PageFileReads() - reads, 2);
    ASSERT_EQ(frmMain.imlResult32.Count(), 3);
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, 32, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP surface = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, surface);
    for (int i = 0; i < 3; ++i) {
        ImageList_Draw(frmMain.imlResult32.handle(), i, dc, 0, 0, ILD_NORMAL);
        EXPECT_EQ(GetPixel(dc, 16, 16) == RGB(0x33, 0x66, 0xCC), i == 2) << i;
        if (i == 0) {
            EXPECT_EQ(GetPixel(dc, 16, 16), RGB(0xCC, 0x66, 0x33));
        }
    }
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);

    // The next listing forgets them.
    WriteIconFile(dir.Folder("Other") + "\\e.ico", 0x3366CC);
    frmScan.txtDir.SetText(dir.path() + "Other");
    frmScan.cmdStart_Click();
    ExpectShown(1, "another scan");
    for (const std::string& path : listed) EXPECT_FALSE(KeptFileBytes(path)) << path;
}
