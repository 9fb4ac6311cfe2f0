// The fillers of the catalogue's classes and letters and of the user's references, in the loaded
// main window: which entries each gives in which order, the page they end on and the abort.
#include <gtest/gtest.h>

#include "PageFixture.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/FileIconReader.h"

namespace {

using Entries = std::vector<std::pair<std::string, int32_t>>;

// Three keywords of the catalogue; the icon 1:1 is filed under two of them.
constexpr int kApple = 7, kApricot = 8, kBird = 9;

class FillersTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        gKeywords[kApple] = "Apple";
        gRefs[kApple] = "1:1:x01;1:2:x02;2:5:x01;";
        gKeywords[kApricot] = "apricot";
        gRefs[kApricot] = "1:1:x01;3:3:x12;";
        gKeywords[kBird] = "bird";
        gRefs[kBird] = "4:4:x01;4:5:x04;";
        frmMain.cmbSearch.Clear();
        for (int slot : {kApple, kApricot, kBird}) {
            frmMain.cmbSearch.AddItem(gKeywords[slot]);
            frmMain.cmbSearch.SetItemData(frmMain.cmbSearch.ListCount() - 1, slot);
        }
        // User references, keyword halves and entry halves, each pointing at its twin.
        References({{"apple", "C:\\i\\a.ico;0;x;1user"},
                    {"Bird", "C:\\i\\b.ico;0;x;4user"},
                    {"Avocado", "C:\\i\\c.ico;0;x;7user"},
                    {"cherry", "C:\\i\\a.ico;0;x;1user"}});
        frmMain.cmbResult.AddItem("left over from before");
    }
    void TearDown() override {
        for (int slot : {kApple, kApricot, kBird}) gKeywords[slot].clear(), gRefs[slot].clear();
        frmMain.lstUser.Clear();
        frmMain.cmbUser.Clear();
        PagesTest::TearDown();
    }
    static void References(const std::vector<std::pair<std::string, std::string>>& refs) {
        frmMain.lstUser.Clear();
        frmMain.cmbUser.Clear();
        for (const auto& [keyword, entry] : refs) {
            frmMain.lstUser.AddItem(keyword, frmMain.cmbUser.ListCount());
            frmMain.cmbUser.AddItem(entry, frmMain.lstUser.ListCount() - 1);
        }
    }
    static Entries Result() {
        Entries entries;
        for (int i = 0; i < frmMain.cmbResult.ListCount(); ++i)
            entries.emplace_back(frmMain.cmbResult.List(i), frmMain.cmbResult.ItemData(i));
        return entries;
    }
    // Page 1 of `entries` on screen, out of busy mode, as every fill ends.
    static void ExpectFirstPage(size_t entries, int pages) {
        EXPECT_EQ(gPageNr, 1);
        EXPECT_EQ(gPageCount, pages);
        EXPECT_EQ(frmMain.pnlResult.Count(), static_cast<int>(std::min<size_t>(entries, gIconsPerPage)));
        EXPECT_EQ(Panel("count"), std::to_string(entries) + " Icon(s)");
        EXPECT_TRUE(Enabled(ID_mnuFile));
        EXPECT_FALSE(gAbort);
        EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
    }
};

const std::string kRefA = "C:\\i\\a.ico;0;x;1user", kRefB = "C:\\i\\b.ico;0;x;4user", kRefC = "C:\\i\\c.ico;0;x;7user";

TEST_F(FillersTest, ClassAndLetterListEachCatalogueIconOnceThenTheirReferences) {
    struct Case {
        const char* what;
        int16_t iClass;       // a class fill, or
        const char* letter;   // a letter fill
        Entries expected;
    };
    const Case cases[] = {
        {"class 1: 1:1 under two keywords once, the same reference twice", 1, nullptr,
         {{"1:1:x01book", kApple}, {"2:5:x01book", kApple}, {"4:4:x01book", kBird}, {kRefA, 0}, {kRefA, 3}}},
        {"class 2", 2, nullptr, {{"1:2:x02book", kApple}, {"3:3:x12book", kApricot}}},
        {"class 4: a reference only of that code", 4, nullptr, {{"4:5:x04book", kBird}, {kRefB, 1}}},
        {"class 0: nothing", 0, nullptr, {}},
        {"letter a: keywords and references of either case", 0, "a",
         {{"1:1:x01book", kApple}, {"1:2:x02book", kApple}, {"2:5:x01book", kApple}, {"3:3:x12book", kApricot},
          {kRefA, 0}, {kRefC, 2}}},
        {"letter B upper case", 0, "B", {{"4:4:x01book", kBird}, {"4:5:x04book", kBird}, {kRefB, 1}}},
        {"letter c: a reference only", 0, "c", {{kRefA, 3}}},
        {"letter z: nothing", 0, "z", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frmMain.cmbResult.AddItem("left over from before");
        if (c.letter)
            frmMain.procFillBookByLetter(c.letter);
        else
            frmMain.procFillBookByClass(c.iClass);
        EXPECT_EQ(Result(), c.expected);
        ExpectFirstPage(c.expected.size(), 1);
        // Filled again, the same: nothing is kept from the fill before.
        if (c.letter)
            frmMain.procFillBookByLetter(c.letter);
        else
            frmMain.procFillBookByClass(c.iClass);
        EXPECT_EQ(Result(), c.expected);
    }
}

TEST_F(FillersTest, ReferencesOfAColourClassTakeItsThreeShapes) {
    std::vector<std::pair<std::string, std::string>> refs;
    for (char d : std::string("012345678a")) refs.emplace_back("k", std::string("C:\\r.ico;0;x;") + d + "user");
    refs.emplace_back("k", "user");  // too short for a type code
    References(refs);
    struct Case {
        int16_t iClass;
        std::vector<int> positions;
    };
    const Case cases[] = {{0, {0, 3, 6}}, {1, {1, 4, 7}}, {2, {2, 5, 8}}, {3, {}}, {-1, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.iClass);
        frmMain.cmbResult.AddItem("left over from before");
        frmMain.procFillReferences(c.iClass);
        Entries expected;
        for (int i : c.positions) expected.emplace_back(frmMain.cmbUser.List(i), i);
        EXPECT_EQ(Result(), expected);
        ExpectFirstPage(expected.size(), 1);
    }
}

TEST_F(FillersTest, AnExactMultipleOfThePageSizeEndsWithAnEmptyPage) {
    gIconsPerPage = 5;  // class 1 gives five entries
    frmMain.procFillBookByClass(1);
    ExpectFirstPage(5, 2);
    EXPECT_TRUE(Visible(ID_mnuGoToPageNr_First + 2));
    gIconsPerPage = 4;
    frmMain.procFillBookByClass(1);
    ExpectFirstPage(5, 2);
}

int gAbortAt = 0;
bool gAbortLive = false;

TEST_F(FillersTest, AnAbortInTheCataloguePassShowsPageOneOfWhatWasFound) {
    const unsigned long eventsMs = gListingEventsMs;
    gListingEventsMs = 0;  // events after every token
    gDoEventsHook = [] {
        if (frmMain.cmbResult.ListCount() == gAbortAt && !gAbort) {
            gAbortLive = frmMain.pnlToolbar.Buttons("abort").Enabled();
            gAbort = true;
        }
    };
    gAbortAt = 2;
    gAbortLive = false;
    frmMain.procFillBookByClass(1);
    EXPECT_TRUE(gAbortLive);
    EXPECT_EQ(Result(), (Entries{{"1:1:x01book", kApple}, {"2:5:x01book", kApple}}));
    ExpectFirstPage(2, 1);

    gAbortAt = 3;
    frmMain.procFillBookByLetter("a");
    EXPECT_EQ(Result(), (Entries{{"1:1:x01book", kApple}, {"1:2:x02book", kApple}, {"2:5:x01book", kApple}}));
    ExpectFirstPage(3, 1);
    gDoEventsHook = nullptr;
    gListingEventsMs = eventsMs;
}

}  // namespace
