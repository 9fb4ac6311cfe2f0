// The keyword box and the keys of the shown main window, with real key input: Enter finds a
// keyword by its beginning and lists it, Esc stops a running search from any control, "2" and "3"
// turn the pages, and a busy window ignores all but Esc.
#include "PageFixture.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "IconMaker.h"
#include "common/FileIconReader.h"
#include "common/ReaderThreads.h"
#include "common/ResultEntry.h"
#include "core/Global.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/Options.h"

namespace {

// The keyword box's items as the program sorts them, each with a slot of its own.
struct Keyword {
    const char* text;
    int slot;
    const char* refs;
};
constexpr Keyword kKeywords[] = {
    {"apple", 7, "1:1:x02;"},
    {"Flower", 8, "1:2:x02;1:3:x02;"},
    {"flowers", 9, "1:4:x02;"},
    {"zebra", 10, "1:5:x02;"},
};
constexpr const char* kLeftOver = "left over from before";

void Deliver() {
    Sleep(20);
    for (int i = 0; i < 5; ++i) DoEvents();
}

class MainWindowKeys : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        gSearchFav = false;
        for (const Keyword& k : kKeywords) {
            saved.emplace_back(gKeywords[k.slot], gRefs[k.slot]);
            gKeywords[k.slot] = k.text;
            gRefs[k.slot] = k.refs;
        }
        for (auto* list : {&frmMain.cmbResult, &frmMain.lstFiles, &frmMain.lstUser, &frmMain.cmbUser}) list->Clear();
        frmMain.cmbSearch.Clear();
        for (const Keyword& k : kKeywords) {
            frmMain.cmbSearch.AddItem(k.text);
            frmMain.cmbSearch.SetItemData(frmMain.cmbSearch.ListCount() - 1, k.slot);
        }
        frmMain.Show();
        ASSERT_TRUE(SetForegroundWindow(frmMain.hwnd()));
        DoEvents();
    }
    void TearDown() override {
        for (size_t i = 0; i < saved.size(); ++i) {
            gKeywords[kKeywords[i].slot] = saved[i].first;
            gRefs[kKeywords[i].slot] = saved[i].second;
        }
        for (auto* list : {&frmMain.lstFiles, &frmMain.lstUser, &frmMain.cmbUser}) list->Clear();
        gSearchFav = false;
        PagesTest::TearDown();
    }
    // The catalogue entries a search of this keyword lists.
    static std::vector<std::string> Hits(const Keyword& k) {
        std::vector<std::string> hits;
        std::string refs = k.refs;
        for (size_t at = 0, end; (end = refs.find(';', at)) != std::string::npos; at = end + 1)
            hits.push_back(refs.substr(at, end - at) + "book");
        return hits;
    }
    static std::vector<std::string> Result() {
        std::vector<std::string> r;
        for (int i = 0; i < frmMain.cmbResult.ListCount(); ++i) r.push_back(frmMain.cmbResult.List(i));
        return r;
    }
    // Types into the keyword box, after emptying it.
    static void TypeInBox(const std::string& text) {
        frmMain.cmbSearch.SetFocus();
        SendMessageA(frmMain.cmbSearch.hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        TypeKeys({VK_DELETE});
        TypeKeys(KeysOf(text));
        Deliver();
    }
    std::vector<std::pair<std::string, std::string>> saved;
};

TEST_F(MainWindowKeys, EnterSelectsTheFirstKeywordBeginningWithTheTextAndListsIt) {
    struct Case {
        const char* what;
        int selectedBefore;
        bool busy;
        const char* typed;
        int selected;  // -1: none
        bool searched;
    };
    const Case cases[] = {
        {"lower case finds the first of two", -1, false, "flo", 1, true},
        {"upper case", 0, false, "FLOWERS", 2, true},
        {"mixed case", 2, false, "fLo", 1, true},
        {"the keyword already selected", 1, false, "flo", 1, false},
        {"the whole keyword already selected", 3, false, "zebra", 3, false},
        {"no keyword begins so", 1, false, "flox", -1, false},
        {"busy: nothing", 0, true, "zeb", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frmMain.cmbSearch.SetListIndex(c.selectedBefore);
        frmMain.cmbResult.Clear();
        frmMain.cmbResult.AddItem(kLeftOver);
        if (c.busy) frmMain.procSetAbort(false);
        TypeInBox(std::string(c.typed) + "\r");
        if (c.busy) frmMain.procSetAbort(true);

        EXPECT_EQ(frmMain.cmbSearch.ListIndex(), c.selected);
        if (!c.searched) {
            EXPECT_EQ(Result(), std::vector<std::string>{kLeftOver});
            continue;
        }
        EXPECT_EQ(Result(), Hits(kKeywords[c.selected]));
        EXPECT_EQ(frmMain.cmbSearch.Text(), kKeywords[c.selected].text);
        EXPECT_EQ(Panel("count"), std::to_string(Hits(kKeywords[c.selected]).size()) + " Icon(s)");
        EXPECT_EQ(gPageNr, 1);
    }
}

TEST_F(MainWindowKeys, AKeywordChosenSearchesUnlessTheWindowIsBusy) {
    frmMain.cmbSearch.SetListIndex(0);
    for (bool busy : {true, false}) {
        SCOPED_TRACE(busy ? "busy" : "idle");
        frmMain.cmbResult.Clear();
        frmMain.cmbResult.AddItem(kLeftOver);
        if (busy) frmMain.procSetAbort(false);
        frmMain.cmbSearch.SetFocus();
        TypeKeys({VK_DOWN});  // the closed box moves its selection one down
        Deliver();
        if (busy) frmMain.procSetAbort(true);
        EXPECT_EQ(Result(), busy ? std::vector<std::string>{kLeftOver} : Hits(kKeywords[2]));
    }
}

int gPumps = 0;
int gEscAt = 0;

TEST_F(MainWindowKeys, EscStopsTheSearchFromAnyControlOfTheWindow) {
    // Thirty user references under the keyword: the page fill lets events run as it goes.
    const std::string ico = dir.path() + "i.ico";
    ASSERT_TRUE(WriteIconFile(ico, 0x4080C0));
    for (int i = 0; i < 30; ++i) {
        frmMain.lstUser.AddItem("Flower", i);
        frmMain.cmbUser.AddItem(OpenEntry(ico, 0, "x", '2'), i);
    }
    struct Case {
        const char* what;
        Control* focus;
    };
    const Case cases[] = {
        {"the result list", &frmMain.pnlResult},
        {"the keyword box", &frmMain.cmbSearch},
        {"the tree, which busy mode disables", &frmMain.pnlNav},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frmMain.cmbSearch.SetListIndex(-1);
        c.focus->SetFocus();
        ASSERT_TRUE(c.focus->HasFocus());
        gPumps = gEscAt = 0;
        // Esc is pressed while the page fills.
        gDoEventsHook = [] {
            if (++gPumps == 3 && IsBusy(frmMain)) {
                gEscAt = gPumps;
                TypeKeys({VK_ESCAPE});
                Sleep(20);
            }
        };
        frmMain.cmbSearch.SetListIndex(1);
        gDoEventsHook = nullptr;

        // The search found everything; the page shows that it was stopped.
        EXPECT_EQ(gEscAt, 3);
        EXPECT_EQ(frmMain.cmbResult.ListCount(), 32);
        EXPECT_EQ(Panel("count"), "Aborted!");
        EXPECT_EQ(frmMain.pnlResult.Count(), 0);
        EXPECT_EQ(gPageNr, 1);
        EXPECT_FALSE(gAbort);
        EXPECT_FALSE(IsBusy(frmMain));
        if (c.focus != &frmMain.pnlResult) {
            EXPECT_TRUE(c.focus->HasFocus());
        }
    }
}

TEST_F(MainWindowKeys, EscWhileNothingRunsStopsNoLaterListing) {
    for (Control* focus : {static_cast<Control*>(&frmMain.pnlResult), static_cast<Control*>(&frmMain.cmbSearch)}) {
        focus->SetFocus();
        TypeKeys({VK_ESCAPE});
        Deliver();
        frmMain.cmbResult.Clear();
        frmMain.lstFiles.Clear();
        for (int i = 0; i < 3; ++i) {
            const std::string ico = dir.path() + "e" + std::to_string(i) + ".ico";
            ASSERT_TRUE(WriteIconFile(ico, 0x204060));
            frmMain.lstFiles.AddItem(ico);
        }
        frmMain.procSearchOpen();
        EXPECT_EQ(frmMain.cmbResult.ListCount(), 3);
    }
}

// The first file read (or look at a file) is held, as on a slow share, until the test lets it go
// (3 s at most); the others read slowly meanwhile. Esc is typed while it is held, and it is let go once the abort is
// seen; the files opened after that are counted.
std::atomic<bool> gHoldTaken{false}, gHeld{false}, gLetGo{false};
std::atomic<int> gOpenedAfter{0};
bool gEscTyped = false, gAbortSeenWhileHeld = false;

void HoldTheFirstRead(const std::string&) {
    if (gLetGo) {
        ++gOpenedAfter;
        return;
    }
    if (gHoldTaken.exchange(true)) {
        Sleep(5);
        return;
    }
    gHeld = true;
    for (DWORD start = GetTickCount(); !gLetGo && GetTickCount() - start < 3000;) Sleep(1);
}

void EscWhileHeld() {
    if (!gHeld || gLetGo) return;
    if (!gEscTyped) {
        gEscTyped = true;
        TypeKeys({VK_ESCAPE});
    } else if (gAbort) {
        gAbortSeenWhileHeld = true;
        gLetGo = true;
    }
}

TEST_F(MainWindowKeys, EscWhileAFileReadIsHeldEndsTheFillOnceItIsLetGo) {
    for (int i = 0; i < 40; ++i) {
        const std::string ico = dir.path() + "slow" + std::to_string(i) + ".ico";
        ASSERT_TRUE(WriteIconFile(ico, 0x204060));
        frmMain.lstFiles.AddItem(ico);
    }
    struct Case {
        const char* what;
        void (*fill)();
        const char* count;  // a listing shows what it found before the abort, a page that it was stopped
    };
    const Case cases[] = {
        {"the listing's wait for its readers",
         [] {
             gUserFileOpenHook = HoldTheFirstRead;
             frmMain.procSearchOpen();
         },
         "0 Icon(s)"},
        {"the page's pictures",
         [] {
             frmMain.procSearchOpen();
             ForgetKeptFileBytes();
             gUserFileOpenHook = HoldTheFirstRead;
             frmMain.procGetPage();
         },
         "Aborted!"},
        {"the page's looks at the files the listing kept",
         [] {
             frmMain.procSearchOpen();
             gFileLookHook = HoldTheFirstRead;
             frmMain.procGetPage();
         },
         "Aborted!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gHoldTaken = gHeld = gLetGo = false;
        gOpenedAfter = 0;
        gEscTyped = gAbortSeenWhileHeld = false;
        frmMain.cmbResult.Clear();
        gDoEventsHook = EscWhileHeld;
        c.fill();
        gDoEventsHook = nullptr;
        gUserFileOpenHook = nullptr;
        gFileLookHook = nullptr;
        EXPECT_TRUE(gAbortSeenWhileHeld);
        EXPECT_LE(gOpenedAfter, 1);
        EXPECT_EQ(Panel("count"), c.count);
        EXPECT_EQ(frmMain.pnlResult.Count(), 0);
        EXPECT_FALSE(gAbort);
        EXPECT_FALSE(IsBusy(frmMain));
    }
}

// A handler that fails while a page waits for its held reader, the page started by a menu command:
// the error reaches the window's guard once every reader has stopped, and the next page reads on
// the readers again.
size_t gRunningAtTheBox = 0;
int gBoxes = 0;
DWORD gWindowThread = 0;
std::atomic<int> gReadsOnTheWindowThread{0};

TEST_F(MainWindowKeys, AHandlerFailingWhileAPageWaitsForItsReadersLeavesThemStoppedAndFree) {
    std::vector<std::string> entries;
    for (int i = 0; i < 40; ++i) {
        const std::string ico = dir.path() + "f" + std::to_string(i) + ".ico";
        ASSERT_TRUE(WriteIconFile(ico, 0x204060));
        entries.push_back(OpenEntry(ico, 0, "x", '2'));
    }
    for (const std::string& e : entries) frmMain.cmbResult.AddItem(e);
    gPageCount = 1;
    gHoldTaken = gHeld = gLetGo = false;
    SetExceptionHandler([](const char*, const std::exception&) {
        ++gBoxes;
        gRunningAtTheBox = ReaderPool::Running();
    });
    gUserFileOpenHook = HoldTheFirstRead;
    gDoEventsHook = [] {
        if (gHeld && !gLetGo.exchange(true)) throw std::runtime_error("a handler failed");
    };
    frmMain.Menus().SetEnabled(ID_mnuGoFirstPage, true);
    SendMessageA(frmMain.hwnd(), WM_COMMAND, MAKEWPARAM(ID_mnuGoFirstPage, 0), 0);
    gDoEventsHook = nullptr;
    SetExceptionHandler(nullptr);
    EXPECT_EQ(gBoxes, 1);
    EXPECT_EQ(gRunningAtTheBox, 0u);

    gWindowThread = GetCurrentThreadId();
    gUserFileOpenHook = [](const std::string&) {
        if (GetCurrentThreadId() == gWindowThread) ++gReadsOnTheWindowThread;
    };
    frmMain.procGetPage();
    gUserFileOpenHook = nullptr;
    EXPECT_EQ(gReadsOnTheWindowThread, 0);
    EXPECT_EQ(frmMain.pnlResult.Count(), 40);
}

TEST_F(MainWindowKeys, TwoAndThreeTurnThePagesOutsideTheKeywordBox) {
    const std::string ico = dir.path() + "i.ico";
    ASSERT_TRUE(WriteIconFile(ico, 0x808080));
    gIconsPerPage = 5;
    Fill(std::vector<std::string>(12, OpenEntry(ico, 0, "x", '2')));
    struct Step {
        const char* what;
        bool inBox;
        WORD key;
        int page;
    };
    const Step steps[] = {
        {"2: next", false, '2', 2},        {"2: last", false, '2', 3},
        {"2 on the last page", false, '2', 3}, {"3: back", false, '3', 2},
        {"2 typed in the keyword box", true, '2', 2}, {"3 typed in the keyword box", true, '3', 2},
        {"3: first", false, '3', 1},       {"3 on the first page", false, '3', 1},
        {"another digit", false, '4', 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.inBox) {
            frmMain.cmbSearch.SetFocus();
        } else {
            frmMain.pnlResult.SetFocus();
        }
        TypeKeys({s.key});
        Deliver();
        EXPECT_EQ(gPageNr, s.page);
        EXPECT_EQ(frmMain.pnlResult.Count(), s.page == 3 ? 2 : 5);
    }
    EXPECT_EQ(frmMain.cmbSearch.Text(), "23");
}

}  // namespace

TEST_F(MainWindowKeys, EscStopsAClassFillStartedFromTheTree) {
    // Five hundred hi-colour icons under one keyword; events run after each of them.
    std::string refs;
    for (int i = 0; i < 500; ++i) refs += "1:" + std::to_string(i) + ":x02;";
    gRefs[kKeywords[0].slot] = refs;
    const unsigned long pace = gListingEventsMs;
    gListingEventsMs = 0;
    frmMain.cmbSearch.SetListIndex(-1);
    gCatalogName = "Ornavale";
    frmMain.procBuildNavTree();
    frmMain.pnlNav.SetFocus();
    gPumps = gEscAt = 0;
    gDoEventsHook = [] {
        if (++gPumps == 50 && IsBusy(frmMain)) {
            gEscAt = gPumps;
            TypeKeys({VK_ESCAPE});
            Sleep(20);
        }
    };
    frmMain.pnlNav_NodeClick(frmMain.pnlNav.Item("IconHi"));
    gDoEventsHook = nullptr;
    gListingEventsMs = pace;

    // Page 1 of what was found before the key.
    EXPECT_EQ(gEscAt, 50);
    const int found = frmMain.cmbResult.ListCount();
    EXPECT_GT(found, 0);
    EXPECT_LT(found, 500);
    EXPECT_EQ(frmMain.pnlResult.Count(), std::min(found, 200));
    EXPECT_EQ(Panel("count"), std::to_string(found) + " Icon(s)");
    EXPECT_FALSE(gAbort);
    EXPECT_FALSE(IsBusy(frmMain));
    EXPECT_TRUE(frmMain.pnlNav.Enabled());
}
