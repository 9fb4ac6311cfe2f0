// The result page in the loaded main window: items, pictures and tags of a page, an abort in the
// middle, and the page menus and buttons as result sets shrink and grow.
#include "PageFixture.h"

#include <algorithm>

#include "IconMaker.h"
#include "browsing/FrmAdd.h"
#include "common/ResultEntry.h"
#include "core/Files.h"
#include "mainwindow/Selection.h"

namespace {

TEST_F(PagesTest, PageItemsCarryTextsTypesOriginsTagsAndPictures) {
    const std::string ico = dir.path() + "star.ico", cur = dir.path() + "arrow.cur";
    const std::string fav = dir.Folder("Favorites") + "\\a.b.ico";
    ASSERT_TRUE(WriteIconFile(ico, 0xFF0000));
    ASSERT_TRUE(WriteIconFile(cur, 0x00FF00, true));
    ASSERT_TRUE(WriteIconFile(fav, 0x0000FF));
    gFavDir = dir.path() + "Favorites";
    const std::vector<std::string> entries = {
        OpenEntry(ico, 0, "x", '2'),
        "nofolder.ico;0;x;2open",  // no "\": no item, and no gap after it
        OpenEntry(cur, 0, "x", '8'),
        "C:\\icons\\starBOOK",  // not a kind
        OpenEntry(fav, 0, "x", '1'),
        OpenEntry(dir.path() + "missing.dll", 5, "#5 of 238", 'i'),
        OpenEntry(ico, 0, "x", 'x'),
    };
    // The user widens a column of the twin list while the page fills; the result list keeps it.
    gDoEventsHook = [] { frmMain.pnlDummy.SetColumnWidth(2, 3015); };
    Fill(entries);
    gDoEventsHook = nullptr;
    EXPECT_EQ(frmMain.pnlResult.ColumnWidth(2), 3015);
    struct Row {
        const char* text;
        const char* type;
        const char* origin;
        size_t entry;
    };
    const Row rows[] = {
        {"star.ico", "Hi-Color Icon", "File", 0},
        {"arrow.cur", "Hi-Color Cursor", "File", 2},
        {"a", "256 Color Icon", "File Favorite", 4},
        {"missing.dll #5 of 238", "Icon Library", "File", 5},
        {"star.ico", "", "File", 6},
    };
    ListView& list = frmMain.pnlResult;
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(ListView_GetItemCount(list.hwnd()), 5);
    EXPECT_EQ(frmMain.imlResult32.Count(), 5);
    for (int k = 1; k <= 5; ++k) {
        const Row& r = rows[k - 1];
        ListItem& item = list.Item(k);
        EXPECT_EQ(item.Text(), r.text) << k;
        EXPECT_EQ(item.SubItem(1), r.type) << k;
        EXPECT_EQ(item.SubItem(2), r.origin) << k;
        EXPECT_EQ(item.Tag, entries[r.entry]) << k;
        EXPECT_EQ(item.Icon(), k);
    }
    EXPECT_TRUE(list.Visible());
    EXPECT_FALSE(frmMain.pnlDummy.Visible());
    EXPECT_EQ(Panel("count"), "7 Icon(s)");
    EXPECT_EQ(Panel("area"), "Page 1 of 1");
    EXPECT_TRUE(Enabled(ID_mnuFile));
    EXPECT_TRUE(Enabled(ID_mnuFileProperties));

    // The first item is selected, with its commands and its path.
    EXPECT_EQ(Panel("type"), "Hi-Color Icon");
    EXPECT_EQ(gSelFile, "star.ico");
    EXPECT_EQ(gItemPath, GetLongPath(ico));
    EXPECT_TRUE(Enabled(ID_mnuRefAdd));
    EXPECT_TRUE(Visible(ID_mnuResultClickAddRef));
    EXPECT_FALSE(Visible(ID_mnuResultClickDelFav));
    EXPECT_FALSE(Enabled(ID_mnuGoToPage));  // one page
    // A favorite chosen later: Delete Favorite comes on, the page commands stay.
    list.SetSelectedItem(&list.Item(3));
    frmMain.procItemSelected();
    EXPECT_EQ(gSelFile, "a.b.ico");
    EXPECT_TRUE(Visible(ID_mnuResultClickDelFav));
    EXPECT_TRUE(frmMain.pnlToolbarYour.Buttons("favdel").Enabled());
    EXPECT_TRUE(Enabled(ID_mnuFileProperties));

    // The picture of the first item is the red of its file, not the placeholder.
    HICON icon = ImageList_GetIcon(frmMain.imlResult32.handle(), 0, ILD_NORMAL);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, info.hbmColor);
    EXPECT_EQ(GetPixel(dc, 16, 16) & 0xFFFFFF, RGB(255, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

TEST_F(PagesTest, EveryIconOfALibraryHasItsOwnPicture) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string shell = std::string(system) + "\\shell32.dll";
    std::vector<std::string> entries;
    for (int i = 0; i < 12; ++i) entries.push_back(OpenEntry(shell, i, "#" + std::to_string(i + 1) + " of 12", 'd'));
    entries.push_back(OpenEntry(shell, -3, "x", 'd'));  // by resource id
    entries.push_back(OpenEntry(dir.path() + "missing.dll", 0, "x", 'd'));
    Fill(entries);
    ASSERT_EQ(frmMain.imlResult32.Count(), 14);
    const std::vector<COLORREF> placeholder = ImagePixels(13);
    std::vector<std::vector<COLORREF>> distinct;
    for (int k = 0; k < 13; ++k) {
        std::vector<COLORREF> pixels = ImagePixels(k);
        EXPECT_NE(pixels, placeholder) << "icon " << k;
        if (std::find(distinct.begin(), distinct.end(), pixels) == distinct.end()) distinct.push_back(pixels);
    }
    EXPECT_GE(distinct.size(), 8u);
}

int gPumps = 0;
int gAbortAt = 0;
int gGreyedPumps = 0;

TEST_F(PagesTest, AbortEndsWithAnEmptyPageButSmallSetsRunToTheEnd) {
    const std::string ico = dir.path() + "i.ico";
    ASSERT_TRUE(WriteIconFile(ico, 0x808080));
    struct Case {
        int entries;
        int abortAt;  // the pump that sets gAbort
        int items;
        const char* count;
    };
    const Case cases[] = {{20, 7, 0, "Aborted!"}, {5, 1, 5, "5 Icon(s)"}, {20, 0, 20, "20 Icon(s)"}};
    for (const Case& c : cases) {
        gPumps = 0;
        gGreyedPumps = 0;
        gAbortAt = c.abortAt;
        gDoEventsHook = [] {
            if (++gPumps == gAbortAt) gAbort = true;
            // Busy mode greys the File menu on the bar while the page fills.
            if (GetMenuState(GetMenu(frmMain.hwnd()), 0, MF_BYPOSITION) & MF_GRAYED) ++gGreyedPumps;
        };
        Fill(std::vector<std::string>(static_cast<size_t>(c.entries), OpenEntry(ico, 0, "x", '2')));
        EXPECT_EQ(frmMain.pnlResult.Count(), c.items) << c.entries;
        EXPECT_EQ(Panel("count"), c.count) << c.entries;
        EXPECT_FALSE(gAbort);
        EXPECT_TRUE(Enabled(ID_mnuFile));
        EXPECT_TRUE(frmMain.pnlResult.Visible());
        EXPECT_EQ(gGreyedPumps, gPumps);
        EXPECT_FALSE(GetMenuState(GetMenu(frmMain.hwnd()), 0, MF_BYPOSITION) & MF_GRAYED);
        if (c.abortAt == 7) {
            EXPECT_EQ(gPumps, 7);
        }
    }
    // The result set is unchanged: the next page fill draws it again.
    gDoEventsHook = nullptr;
    frmMain.procGetPage();
    EXPECT_EQ(frmMain.pnlResult.Count(), 20);
}

// Reader threads that the system does not give: the page reads its pictures without them.
TEST_F(PagesTest, APageReadsItsPicturesWhateverThreadsTheSystemGives) {
    constexpr uint32_t colours[] = {0x3366CC, 0xCC3333, 0x33CC33, 0x808080};
    std::vector<std::string> entries;
    for (size_t i = 0; i < std::size(colours); ++i) {
        const std::string ico = dir.path() + "f" + std::to_string(i) + ".ico";
        ASSERT_TRUE(WriteIconFile(ico, colours[i]));
        entries.push_back(OpenEntry(ico, 0, "x", '2'));
    }
    for (int starts : {0, 1}) {
        ReaderThreadStarts limit(starts);
        Fill(entries);
        ASSERT_EQ(frmMain.imlResult32.Count(), 4) << starts;
        for (size_t i = 0; i < std::size(colours); ++i)
            EXPECT_EQ(ImagePixels(static_cast<int>(i))[16 * 32 + 16],
                      RGB(colours[i] >> 16, (colours[i] >> 8) & 0xFF, colours[i] & 0xFF))
                << starts << " " << i;
    }
}

TEST_F(PagesTest, PageMenusLightAndButtonsFollowTheResultSet) {
    const std::string ico = dir.path() + "i.ico";
    ASSERT_TRUE(WriteIconFile(ico, 0x808080));
    const int base = ID_mnuGoToPageNr_First, bar = ID_mnuGoBarToPageNr_First;
    struct Case {
        int entries;
        int pages;
        bool light;
    };
    const Case cases[] = {{450, 3, true}, {50, 1, false}, {200, 2, true}, {0, 1, false}, {450, 3, true}};
    for (const Case& c : cases) {
        Fill(std::vector<std::string>(static_cast<size_t>(c.entries), OpenEntry(ico, 0, "x", '2')));
        EXPECT_EQ(gPageCount, c.pages) << c.entries;
        for (int k = 1; k <= 3; ++k) {
            EXPECT_EQ(Visible(base + k), k <= c.pages) << c.entries << " page " << k;
            EXPECT_EQ(Visible(bar + k), k <= c.pages) << c.entries << " page " << k;
        }
        EXPECT_EQ(frmMain.tmrLed.TimerEnabled(), c.light) << c.entries;
    }
    EXPECT_EQ(frmMain.Menus().ArrayUBound(base), 3);  // no second copy of an item
    EXPECT_TRUE(Enabled(ID_mnuGoToPage));

    struct Step {
        void (FrmMain::*go)();
        int page, items;
        bool back, forward;
    };
    const Step steps[] = {
        {&FrmMain::mnuGoNextPage_Click, 2, 200, true, true},
        {&FrmMain::mnuGoLastPage_Click, 3, 50, true, false},
        {&FrmMain::mnuGoNextPage_Click, 3, 50, true, false},  // never past the last page
        {&FrmMain::mnuGoFirstPage_Click, 1, 200, false, true},
        {&FrmMain::mnuGoPrevPage_Click, 1, 200, false, true},
    };
    for (const Step& s : steps) {
        (frmMain.*s.go)();
        EXPECT_EQ(gPageNr, s.page);
        EXPECT_EQ(frmMain.pnlResult.Count(), s.items);
        EXPECT_EQ(Panel("area"), "Page " + std::to_string(s.page) + " of 3");
        EXPECT_EQ(Enabled(ID_mnuGoFirstPage), s.back);
        EXPECT_EQ(frmMain.pnlToolbar.Buttons("prevpage").Enabled(), s.back);
        EXPECT_EQ(Enabled(ID_mnuGoLastPage), s.forward);
        EXPECT_EQ(frmMain.pnlToolbar.Buttons("nextpage").Enabled(), s.forward);
    }
    frmMain.mnuGoToPageNr_Click(9);
    EXPECT_EQ(gPageNr, 3);

    // More pages than the menus hold: they end at their last id, and nothing breaks.
    gPageCount = 40000;
    frmMain.procSetPageNr();
    EXPECT_EQ(frmMain.Menus().ArrayUBound(base), ID_mnuGoToPageNr_Last - base);
    EXPECT_EQ(frmMain.Menus().ArrayUBound(bar), ID_mnuGoBarToPageNr_Last - bar);
}

TEST_F(PagesTest, ThePageListsRedrawOnlyForAnotherPage) {
    const std::string ico = dir.path() + "i.ico";
    ASSERT_TRUE(WriteIconFile(ico, 0x808080));
    Fill(std::vector<std::string>(450, OpenEntry(ico, 0, "x", '2')));
    struct Case {
        const char* what;
        void (FrmMain::*choose)(int);
        int page;
        bool redrawn;
    };
    const Case cases[] = {
        {"Go To Page, the page shown", &FrmMain::mnuGoToPageNr_Click, 1, false},
        {"page bar, the page shown", &FrmMain::mnuGoBarToPageNr_Click, 1, false},
        {"Go To Page, another page", &FrmMain::mnuGoToPageNr_Click, 3, true},
        {"page bar, the page shown", &FrmMain::mnuGoBarToPageNr_Click, 3, false},
        {"page bar, another page", &FrmMain::mnuGoBarToPageNr_Click, 2, true},
        {"Go To Page, the page shown", &FrmMain::mnuGoToPageNr_Click, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A page drawn again has lost the mark.
        frmMain.pnlResult.Item(1).SetText("marked");
        (frmMain.*c.choose)(c.page);
        EXPECT_EQ(gPageNr, c.page);
        EXPECT_EQ(frmMain.pnlResult.Item(1).Text() != "marked", c.redrawn);
        EXPECT_EQ(Panel("area"), "Page " + std::to_string(c.page) + " of 3");
    }
}

}  // namespace

namespace {

TEST_F(PagesTest, SelectionPresetsTheReferenceTypes) {
    const std::string ico = dir.path() + "star.ico";
    ASSERT_TRUE(WriteIconFile(ico, 0xFF0000));
    gKeywords[0] = "star";
    Fill({OpenEntry(ico, 0, "x", '0'), OpenEntry(dir.path() + "lib.icl", 3, "#4 of 9", 'i'), BookEntry("1:0:a25")});
    struct Case {
        int item;
        std::vector<int> enabled;
        int chosen;
    } cases[] = {
        {1, {0}, 0},
        {2, {0, 1, 2, 6, 7, 8}, 2},
        {3, {}, 2},  // a catalogue cell files no reference: the chosen type stays
    };
    for (bool windowMade : {false, true}) {
        if (windowMade) frmAdd.Load();
        for (const Case& c : cases) {
            frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(c.item));
            frmMain.procItemSelected();
            for (int i = 0; i < 9; ++i) {
                const bool on = std::find(c.enabled.begin(), c.enabled.end(), i) != c.enabled.end();
                EXPECT_EQ(frmAdd.TypeEnabled(i), on) << c.item << " option " << i;
                if (windowMade) {
                    EXPECT_EQ(IsWindowEnabled(frmAdd.optType[static_cast<size_t>(i)].hwnd()) != 0, on);
                }
            }
            EXPECT_EQ(frmAdd.ChosenType(), c.chosen) << c.item;
            if (windowMade) {
                EXPECT_TRUE(frmAdd.optType[static_cast<size_t>(c.chosen)].Value()) << c.item;
            }
        }
    }
    frmAdd.Unload();
}

}  // namespace

namespace {

// A library's pictures are kept from page to page, but never past a change of the file.
TEST_F(PagesTest, ALibraryReplacedBetweenTwoPagesShowsItsNewPictures) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string shell = std::string(system) + "\\shell32.dll", user = std::string(system) + "\\user32.dll";
    const std::string lib = dir.path() + "lib.dll", other = dir.path() + "other.dll";
    ASSERT_TRUE(CopyFileA(shell.c_str(), lib.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(user.c_str(), other.c_str(), FALSE));
    Fill({OpenEntry(lib, 0, "#", 'd')});
    const std::vector<COLORREF> before = ImagePixels(0);
    Fill({OpenEntry(other, 0, "#", 'd')});
    const std::vector<COLORREF> replacement = ImagePixels(0);
    ASSERT_NE(before, replacement);

    ASSERT_TRUE(CopyFileA(other.c_str(), lib.c_str(), FALSE));
    Fill({OpenEntry(lib, 0, "#", 'd')});
    EXPECT_EQ(ImagePixels(0), replacement);
}

}  // namespace
