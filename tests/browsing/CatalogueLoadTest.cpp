// The catalogue load in the loaded main window: the index and the user's files from a program
// folder with a non-ASCII name, into the keyword slots, the keyword lists and the references.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BoxRecorder.h"
#include "LibraryMaker.h"
#include "TestSupport.h"
#include "browsing/FrmAdd.h"
#include "browsing/FrmKey.h"
#include "common/Paging.h"
#include "browsing/UserReferences.h"
#include "core/Global.h"
#include "core/SaveOnExit.h"
#include "core/ScopedValue.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "ui/App.h"

namespace {

std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;
std::vector<PointerShape> gPointers;  // the screen pointer while each box shows

// What a list or combo box window itself shows.
std::vector<std::string> WindowItems(const ListControl& list, bool combo) {
    std::vector<std::string> items;
    const HWND h = list.hwnd();
    const int count = static_cast<int>(SendMessageA(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(h, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

// An index of keywords "k0", "k1", … each with one token.
std::string IndexOf(int keywords) {
    std::string index;
    for (int i = 0; i < keywords; ++i) index += "k" + std::to_string(i) + ";1:" + std::to_string(i) + ":x00\r\n";
    return index;
}

std::vector<std::string> ModelItems(const ListControl& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.ListCount(); ++i) items.push_back(list.List(i));
    return items;
}

class CatalogueLoadTest : public testing::Test {
  protected:
    void SetUp() override {
        static bool started = (InitApp(GetModuleHandleA(nullptr)), gEndWhenNoForms = false, true);
        (void)started;
        PresetQuietStart();
        frmMain.Load();
        gBoxes.clear();
        gPointers.clear();
        BoxRecorder::onShow = [](const ShownBox&) { gPointers.push_back(ScreenMousePointer()); };
        gAppPath = dir.Folder("Ornav\xE4le") + "\\";
        gCatalogName = "Ornavale";
    }
    void TearDown() override {
        frmAdd.Unload();
        frmKey.Unload();
        frmMain.Unload();
        gAppPath.clear();
        gCatalogName = "Ornavale";
    }
    BoxRecorder recorder;
    void Write(const char* name, const std::string& content) { dir.File(std::string("Ornav\xE4le\\") + name, content); }
    static std::string CountPanel() { return frmMain.pnlStatusbar.FindPanel("count")->Text(); }
    // The load showed exactly one message, with the default pointer.
    static void ExpectOneMessage(const std::string& text) {
        ASSERT_EQ(gBoxes.size(), 1u);
        EXPECT_EQ(gBoxes[0].text, text);
        EXPECT_EQ(gBoxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
        EXPECT_EQ(gBoxes[0].title, "Ornavale error");
        EXPECT_EQ(gPointers[0], PointerShape::Default);
    }

    TempDir dir;
};

}  // namespace

TEST_F(CatalogueLoadTest, MissingIndexIsToldOnceAndTheUserFilesStillLoad) {
    Write("Keyuser.dat", "alpha\r\nbeta\r\ngamma\r\n");
    Write("Iconuser.dat", "flowers;C:\\a\\b.ico;0;x;1user\r\n");
    frmMain.procFillSearch();

    ExpectOneMessage(
        "Main Ornavale Index file Icondata.dat was not found.\rThe Ornavale icon features will be disabled.");
    EXPECT_EQ(gCatalogName, "");

    EXPECT_EQ(ModelItems(frmMain.cmbSearch), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(frmMain.cmbSearch.ItemData(slot), slot);
        EXPECT_EQ(gKeywords[slot], frmMain.cmbSearch.List(slot));
        EXPECT_EQ(gRefs[slot], "");
    }
    EXPECT_EQ(CountPanel(), "3 Keywords");
    EXPECT_EQ(frmMain.lstUser.ListCount(), 1);
    EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
}

TEST_F(CatalogueLoadTest, LinesEndingInCrOrCrLf) {
    for (std::string end : {"\r\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(end));
        Write("Icondata.dat", "stars;12:345:abc00;12:346:abc01" + end + "moon;1:2:x00" + end);
        Write("Keyuser.dat", "mine" + end);
        Write("Iconuser.dat", "flowers;C:\\a\\b.ico;0;x;1user" + end + "mine;C:\\x\\y.dll;2;#3 of 12;4user");
        // A second load replaces the first one's lists.
        for (int load = 0; load < 2; ++load) frmMain.procFillSearch();

        EXPECT_TRUE(gBoxes.empty());
        EXPECT_EQ(gCatalogName, "Ornavale");
        const std::vector<std::string> keywords = {"stars", "moon", "mine"};
        EXPECT_EQ(ModelItems(frmMain.cmbSearch), keywords);
        EXPECT_EQ(WindowItems(frmMain.cmbSearch, true), keywords);
        EXPECT_EQ(gRefs[0], "12:345:abc00;12:346:abc01;");
        EXPECT_EQ(gRefs[1], "1:2:x00;");
        EXPECT_EQ(gRefs[2], "");
        EXPECT_EQ(gKeywords[3], "");
        EXPECT_EQ(CountPanel(), "3 Keywords");

        // Each reference's two halves point at each other.
        const std::vector<std::pair<std::string, std::string>> refs = {
            {"flowers", "C:\\a\\b.ico;0;x;1user"}, {"mine", "C:\\x\\y.dll;2;#3 of 12;4user"}};
        ASSERT_EQ(frmMain.lstUser.ListCount(), 2);
        ASSERT_EQ(frmMain.cmbUser.ListCount(), 2);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(frmMain.lstUser.List(i), refs[i].first);
            EXPECT_EQ(frmMain.cmbUser.List(frmMain.lstUser.ItemData(i)), refs[i].second);
            EXPECT_EQ(frmMain.lstUser.List(frmMain.cmbUser.ItemData(i)), refs[i].first);
        }
    }
}

TEST_F(CatalogueLoadTest, UserKeywordsTakeTheSlotsAfterTheCatalogue) {
    Write("Icondata.dat", IndexOf(2000));
    Write("Keyuser.dat", "first mine\r\nsecond mine\r\n");
    frmMain.procFillSearch();

    EXPECT_EQ(gKeywords[2000], "first mine");
    EXPECT_EQ(frmMain.cmbSearch.List(2000), "first mine");
    EXPECT_EQ(frmMain.cmbSearch.ItemData(2000), 2000);
    EXPECT_EQ(frmMain.cmbSearch.ItemData(2001), 2001);
    EXPECT_EQ(CountPanel(), "2002 Keywords");

    // The reference window and the keyword editor, made later, show what the load found.
    frmAdd.Load();
    frmKey.Load();
    const std::vector<std::string> all = ModelItems(frmMain.cmbSearch);
    EXPECT_EQ(ModelItems(frmAdd.cmbSearch), all);
    EXPECT_EQ(WindowItems(frmAdd.cmbSearch, true), all);
    EXPECT_EQ(frmAdd.cmbSearch.ItemData(2000), 0);
    const std::vector<std::string> mine = {"first mine", "second mine"};
    EXPECT_EQ(ModelItems(frmKey.lstKey), mine);
    EXPECT_EQ(WindowItems(frmKey.lstKey, false), mine);
    EXPECT_EQ(frmKey.lstKey.ItemData(0), 2000);
    EXPECT_EQ(frmKey.lstKey.ItemData(1), 2001);
}

TEST_F(CatalogueLoadTest, WindowsMadeBeforeTheLoadAreFilledByIt) {
    frmAdd.Load();
    frmKey.Load();
    Write("Icondata.dat", "stars;1:1:x00\r\n");
    Write("Keyuser.dat", "mine\r\n");
    for (int load = 0; load < 2; ++load) frmMain.procFillSearch();
    EXPECT_EQ(WindowItems(frmAdd.cmbSearch, true), (std::vector<std::string>{"stars", "mine"}));
    EXPECT_EQ(WindowItems(frmKey.lstKey, false), std::vector<std::string>{"mine"});
    EXPECT_EQ(frmKey.lstKey.ItemData(0), 1);
}

TEST_F(CatalogueLoadTest, MalformedLinesAreSkippedAndToldOnce) {
    Write("Icondata.dat", "a;1:1:x00\r\nno separator\r\nb;1:2:x00\r\n\r\nalso broken\r\n");
    Write("Keyuser.dat", "mine\r\n");
    Write("Iconuser.dat", "k;C:\\a.ico;0;x;1user\r\nbad line\r\n");
    frmMain.procFillSearch();

    ExpectOneMessage("2 lines of Icondata.dat without \";\" skipped.\r1 line of Iconuser.dat without \";\" skipped.");
    EXPECT_EQ(gCatalogName, "Ornavale");
    EXPECT_EQ(ModelItems(frmMain.cmbSearch), (std::vector<std::string>{"a", "b", "mine"}));
    EXPECT_EQ(frmMain.cmbSearch.ItemData(2), 2);
    EXPECT_EQ(gRefs[1], "1:2:x00;");
    EXPECT_EQ(CountPanel(), "3 Keywords");
    EXPECT_EQ(frmMain.lstUser.ListCount(), 1);
    EXPECT_EQ(frmMain.cmbUser.List(0), "C:\\a.ico;0;x;1user");
}

TEST_F(CatalogueLoadTest, DamagedArchivesAndAFolderForThePicturesThatCannotBeMadeAreToldOnce) {
    Write("Icondata.dat", "stars;1:1:x00\r\n");
    const std::string app = dir.path() + "Ornav\xE4le\\";
    const formats::Image picture = LibraryPicture(2, 1, '2', [](int) { return 0x0000FFu; });
    ASSERT_TRUE(WriteLibraryArchive(app + "Iconlib.res", {{"1", picture}}));
    std::filesystem::resize_file(WidePath(app + "Iconlib.res"), std::filesystem::file_size(WidePath(app + "Iconlib.res")) - 10);
    Write("Iconlib1.res", "");
    frmMain.procFillSearch();
    ExpectOneMessage("Iconlib.res is damaged: its icons will show as placeholders.\r"
                     "Iconlib1.res is damaged: its icons will show as placeholders.");

    // Sound archives, and a file where the pictures' folder would go.
    ASSERT_TRUE(WriteLibraryArchive(app + "Iconlib.res", {{"1", picture}}));
    DeleteFileA((app + "Iconlib1.res").c_str());
    const ScopedValue<std::string> temp{gTempDir, dir.Folder("temp") + "\\"};
    dir.File("temp\\ornavale-libraries");
    gBoxes.clear();
    gPointers.clear();
    frmMain.procFillSearch();
    ExpectOneMessage("The catalogue's pictures cannot be written into " + ExtractedLibraryFolder() +
                     ": its icons will show as placeholders.");
}

TEST_F(CatalogueLoadTest, KeywordsPastTheLastSlotAreLeftOutWithOneMessage) {
    Write("Icondata.dat", IndexOf(3000));
    Write("Keyuser.dat", "u1\r\nu2\r\n");  // 3,002 keywords in all
    frmMain.procFillSearch();

    ExpectOneMessage("Ornavale holds at most 3001 keywords; 1 keyword was left out.");
    ASSERT_EQ(frmMain.cmbSearch.ListCount(), 3001);
    EXPECT_EQ(frmMain.cmbSearch.List(3000), "u1");
    EXPECT_EQ(gKeywords[3000], "u1");
    EXPECT_EQ(CountPanel(), "3002 Keywords");  // the count tells every keyword line, kept or not
    frmKey.Load();
    EXPECT_EQ(ModelItems(frmKey.lstKey), std::vector<std::string>{"u1"});
}

TEST_F(CatalogueLoadTest, TheExitUnloadsTheWindowsMadeOnFirstUse) {
    // A hidden window left loaded would keep the program from ending.
    frmAdd.Load();
    frmKey.Load();
    gSettingsSaved = false;
    SaveSettingsAndUnload();
    EXPECT_FALSE(frmAdd.IsLoaded());
    EXPECT_FALSE(frmKey.IsLoaded());
    EXPECT_FALSE(frmMain.IsLoaded());
    EXPECT_EQ(LoadedFormCount(), 0);
}

TEST_F(CatalogueLoadTest, ReferencesFiledAndDeletedSurviveARestart) {
    Write("Icondata.dat", "moon;1:2:x00\r\nsun;1:3:x00\r\n");
    Write("Iconuser.dat", "moon;C:\\a.ico;0;x;1user\r\nsun;C:\\b.ico;0;x;2user\r\nmoon;C:\\c.ico;0;x;4user\r\n");
    frmMain.procFillSearch();
    // As the reference window files one and References Delete removes another.
    FileReferenceFirst(frmMain.lstUser, frmMain.cmbUser, "sun", "C:\\d.ico;0;x;8user");
    ASSERT_TRUE(RemoveReference(frmMain.lstUser, frmMain.cmbUser, 2, "C:\\b.ico;0;x;2user"));
    gRefsChanged = true;
    gSettingsSaved = false;
    SaveSettingsAndUnload();

    frmMain.Load();
    gAppPath = dir.path() + "Ornav\xE4le\\";
    frmMain.procFillSearch();
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"sun", "C:\\d.ico;0;x;8user"}, {"moon", "C:\\a.ico;0;x;1user"}, {"moon", "C:\\c.ico;0;x;4user"}};
    ASSERT_EQ(frmMain.lstUser.ListCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < frmMain.lstUser.ListCount(); ++i) {
        EXPECT_EQ(frmMain.lstUser.List(i), expected[static_cast<size_t>(i)].first) << i;
        EXPECT_EQ(frmMain.cmbUser.List(i), expected[static_cast<size_t>(i)].second) << i;
    }
}
