// File > Properties on hand-made result items: which origins open the properties window, which the
// shell's property sheet of which file, which nothing; the catalogue keywords that list an icon.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "MainFixture.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "core/Global.h"
#include "core/ScopedValue.h"
#include "core/ShellFolders.h"
#include "mainwindow/FrmMain.h"
#include "output/FrmProp.h"
#include "ui/App.h"
#include "ui/ListView.h"

namespace {

using Slots = std::array<std::string, kKeywordSlots>;

// Keyword i of the table is "k<i>".
Slots KeywordNames() {
    Slots keywords;
    for (int i = 0; i < kKeywordSlots; ++i) keywords[static_cast<size_t>(i)] = "k" + std::to_string(i);
    return keywords;
}

TEST(CatalogueKeywordsOf, WholeTokensInSlotOrder) {
    const Slots keywords = KeywordNames();
    const std::string token = "3:17:a02";
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::string>> refs;  // slot, reference list
        int32_t lastSlot;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"keywords 4 and 9", {{4, "1:2:a02;3:17:a02;"}, {9, "3:17:a02;"}, {6, "3:18:a02;"}}, 20, "k4, k9"},
        {"listed twice in one keyword, shown once", {{4, "3:17:a02;3:17:a02;"}}, 20, "k4"},
        {"no keyword lists it", {{4, "1:2:a02;"}, {9, "3:18:a02;"}}, 20, ""},
        {"tokens that begin with it or lie inside it",
         {{2, "3:17:a02x;"}, {3, "13:17:a02;"}, {5, "3:17:a0;"}, {7, "17:a02;"}}, 20, ""},
        {"a last token without its \";\" is none", {{4, "1:2:a02;3:17:a02"}}, 20, ""},
        {"empty lists", {}, 3000, ""},
        {"up to and including the last slot", {{9, "3:17:a02;"}, {10, "3:17:a02;"}}, 9, "k9"},
        {"slot 3000", {{3000, "3:17:a02;"}}, 3000, "k3000"},
        {"slots past the lists are not read", {{0, "3:17:a02;"}, {3000, "3:17:a02;"}}, 100000, "k0, k3000"},
        {"no slot at all", {{0, "3:17:a02;"}}, -1, ""},
    };
    for (const Case& c : cases) {
        Slots refs;
        for (const auto& [slot, list] : c.refs) refs[static_cast<size_t>(slot)] = list;
        EXPECT_EQ(CatalogueKeywordsOf(token, c.lastSlot, keywords, refs), c.expected) << c.what;
    }
}

// What a properties window showed while it was open.
struct Shown {
    std::string name, type, origin, keywords, file;
    bool picture = false;
    PointerShape pointer = PointerShape::Default;
};
std::optional<Shown> shown;

// Reads the open window and closes it with OK, from the modal loop.
void CALLBACK ReadAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!frmProp.IsLoaded()) return;
    shown = Shown{frmProp.txtName.Text(),     frmProp.txtType.Text(), frmProp.txtOrigin.Text(),
                  frmProp.txtKeywords.Text(), frmProp.txtFile.Text(), frmProp.picIcon.HasPicture(),
                  ScreenMousePointer()};
    frmProp.cmdOK_Click();
}

std::vector<std::string> sheets;
void RecordSheet(const std::string& file, HWND owner) {
    EXPECT_EQ(owner, frmMain.hwnd());
    sheets.push_back(file);
}

class PropertiesTest : public MainFixture {
  protected:
    void SetUp() override {
        MainFixture::SetUp();
        shown.reset();
        sheets.clear();
        frmMain.pnlResult.Clear();
        frmMain.imlResult32.Clear();
        frmMain.cmbSearch.Clear();
        picture_ = frmMain.imlResult32.Add("", LoadIconA(nullptr, IDI_APPLICATION));
        // After the main window's load, which reads the catalogue's keywords.
        savedKeywords_ = std::exchange(gKeywords, KeywordNames());
        savedRefs_ = std::exchange(gRefs, Slots{});
    }
    void TearDown() override {
        frmMain.pnlResult.Clear();
        frmMain.imlResult32.Clear();
        frmMain.cmbSearch.Clear();
        gKeywords = savedKeywords_;
        gRefs = savedRefs_;
        MainFixture::TearDown();
    }
    // One item on the page, selected unless told otherwise.
    void Item(const std::string& name, const std::string& type, const std::string& origin, const std::string& tag,
              bool selected = true) {
        ListItem& item = frmMain.pnlResult.Add(-1, "", name, picture_);
        item.SetSubItem(1, type);
        item.SetSubItem(2, origin);
        item.Tag = tag;
        if (selected) frmMain.pnlResult.SetSelectedItem(&item);
    }
    // Runs File > Properties, reading the properties window if it opens.
    void RunProperties() {
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadAndClose);
        frmMain.mnuFileProperties_Click();
        KillTimer(nullptr, timer);
    }

    int picture_ = 0;
    ScopedValue<FilePropertiesSheet> sheet_{gShowFileProperties, &RecordSheet};
    Slots savedKeywords_, savedRefs_;
};

TEST_F(PropertiesTest, OriginChoosesWindowSheetOrNothing) {
    const std::string startMenu = GetSpecialFolder(CSIDL_STARTMENU);
    const std::string desktop = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(startMenu.empty());
    ASSERT_FALSE(desktop.empty());
    struct Case {
        std::string origin, name, tag;
        bool window;
        std::string sheet;  // "" when no sheet opens
    };
    const std::vector<Case> cases = {
        {"Ornavale", "star", BookEntry("3:17:a02"), true, ""},
        {"Windows Default", "Arrow", DefaultCursorEntry(32512), true, ""},
        {"File", "a", "C:\\icons\\a.ico;0;x;0open", false, "C:\\icons\\a.ico"},
        {"File Favorite", "b", "C:\\Fav\\b;c.ico;2;b;1open", false, "C:\\Fav\\b;c.ico"},
        {"Reference", "c", "C:\\icons\\c.dll;4;c;duser", false, "C:\\icons\\c.dll"},
        {"Theme Cursor", "d", "C:\\cur\\d.cur;0;Scheme:3;tsytu", false, "C:\\cur\\d.cur"},
        {"Start Menu\\Programs", "Editor", "C:\\e.exe;0;C:\\e.exe;sshor", false, startMenu + "Programs\\Editor.lnk"},
        {"Start Menu", "Top", "C:\\e.exe;0;C:\\e.exe;sshor", false, startMenu + "Top.lnk"},
        {"Desktop", "Notes", "C:\\n.exe;0;C:\\n.exe;sshor", false, desktop + "Notes.lnk"},
        {"Desktop\\Tools\\Old", "Notes", "C:\\n.exe;0;C:\\n.exe;sshor", false, desktop + "Tools\\Old\\Notes.lnk"},
        // Below the Windows folder: the origin is relative to it.
        {"Desktop Themes", "Sky", "C:\\s.exe;0;C:\\s.exe;sshor", false, gWinDir + "\\Desktop Themes\\Sky.lnk"},
        {"file", "x", "C:\\x.ico;0;x;0open", false, ""},
        {"ornavale", "x", BookEntry("3:17:a02"), false, ""},
        {"Current Cursor", "x", "C:\\x.cur;0;Arrow;csycu", false, ""},
        {"", "x", "C:\\x.ico;0;x;0open", false, ""},
        {"Programs", "x", "C:\\e.exe;0;C:\\e.exe;sshor", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.origin);
        shown.reset();
        sheets.clear();
        frmMain.pnlResult.Clear();
        Item(c.name, "256 Color Icon", c.origin, c.tag);
        RunProperties();
        EXPECT_EQ(shown.has_value(), c.window);
        if (shown) {
            EXPECT_EQ(shown->name, c.name);
            EXPECT_EQ(shown->type, "256 Color Icon");
            EXPECT_EQ(shown->origin, c.origin);
            EXPECT_TRUE(shown->picture);
            EXPECT_EQ(shown->pointer, PointerShape::Default);  // the hourglass ends once the window is filled
        }
        EXPECT_EQ(sheets, c.sheet.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.sheet});
        EXPECT_FALSE(frmProp.IsLoaded());
        EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
    }
}

TEST_F(PropertiesTest, CatalogueIconShowsTheKeywordsThatListIt) {
    for (int i = 0; i < 9; ++i) frmMain.cmbSearch.AddItem("k" + std::to_string(i), i);
    gRefs[4] = "1:2:a02;3:17:a02;";
    gRefs[6] = "3:17:a02x;";
    gRefs[9] = "3:17:a02;";
    gRefs[10] = "3:17:a02;";  // past the keyword box's count: not read
    Item("star", "16 Color Icon", "Ornavale", BookEntry("3:17:a02"));
    RunProperties();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->keywords, "k4, k9");
    EXPECT_EQ(shown->file, "");

    // Shown again, the window is filled afresh.
    gRefs[4].clear();
    RunProperties();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->keywords, "k9");
}

TEST_F(PropertiesTest, WindowsDefaultCursorShowsOriginAndFileWithoutKeywords) {
    for (int i = 0; i < 9; ++i) frmMain.cmbSearch.AddItem("k" + std::to_string(i), i);
    const std::string entry = DefaultCursorEntry(32512);
    gRefs[4] = entry.substr(0, entry.size() - 4) + ";";  // even a list holding the entry's text
    Item("Normal Select", "Current Cursor", "Windows Default", entry);
    RunProperties();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->origin, "Windows Default");
    EXPECT_EQ(shown->keywords, "");
    EXPECT_EQ(shown->file, "Windows Default");
}

TEST_F(PropertiesTest, NoSelectedItemDoesNothing) {
    Item("a", "256 Color Icon", "File", "C:\\icons\\a.ico;0;x;0open", false);
    Item("star", "16 Color Icon", "Ornavale", BookEntry("3:17:a02"), false);
    ASSERT_EQ(frmMain.pnlResult.SelectedItem(), nullptr);
    RunProperties();
    EXPECT_FALSE(shown);
    EXPECT_TRUE(sheets.empty());
    EXPECT_FALSE(frmProp.IsLoaded());
    EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
}

}  // namespace
