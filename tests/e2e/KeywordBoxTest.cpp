// Ornavale.exe under Wine, driven from outside with real key input: a keyword's beginning typed into
// the keyword box and Enter select the keyword and list its icons; Tab reaches the box.
#include <gtest/gtest.h>

#include <string>

#include "StartedProgram.h"

namespace {

// The program started with the shipped catalogue's keywords in its keyword box.
class KeywordBox : public testing::Test {
  protected:
    void SetUp() override {
        window = program.Main();
        ASSERT_NE(window, nullptr);
        combo = FindChildOfClass(window, "ComboBox");
        ASSERT_NE(combo, nullptr);
        if (!CatalogueInstalled() || SendMessageA(combo, CB_GETCOUNT, 0, 0) == 0)
            GTEST_SKIP() << "no catalogue keywords in the program folder";
    }
    QuietStore store;
    StartedProgram program;
    HWND window = nullptr, combo = nullptr;
};

TEST_F(KeywordBox, APrefixAndEnterListTheFirstKeywordBeginningWithIt) {
    HWND edit = FindChildOfClass(combo, "Edit");
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(program.ShownItems(), 0);  // nothing listed before

    // Typed in upper case; the catalogue has "folder" and "folders" in lower case.
    const std::string prefix = "FOLD";
    ASSERT_TRUE(program.TypeIntoKeywordBox(prefix + "\r"));

    int listed = 0;
    WaitUntil(20000, [&] { return (listed = program.ShownItems()) > 0; });
    EXPECT_GT(listed, 0);
    EXPECT_GE(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    // The box shows the keyword chosen. (Under Wine another process cannot read the box's items:
    // CB_GETLBTEXT and CB_FINDSTRING carry no text across processes.)
    char text[256] = {};
    SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(_strnicmp(text, prefix.c_str(), prefix.size()), 0) << text;

    EXPECT_TRUE(program.Close());
}

TEST_F(KeywordBox, TabFromTheTreeReachesTheBoxWhereTypingSearches) {
    ASSERT_TRUE(program.ClickTreeItem({"Your Icons"}));
    ASSERT_TRUE(WaitForFocus(window, WC_TREEVIEWA, 5000));
    // The result list stands between the tree and the box, which the first Tab may already reach.
    int tabs = 0;
    while (tabs < 2 && !WaitForFocus(combo, "Edit", tabs == 0 ? 0 : 2000)) {
        TypeKeys({VK_TAB});
        ++tabs;
    }
    ASSERT_TRUE(WaitForFocus(combo, "Edit", 2000)) << tabs << " Tab(s)";
    TypeKeys(KeysOf("FOLD\r"));
    EXPECT_TRUE(WaitUntil(20000, [&] { return program.ShownItems() > 0; }));
    EXPECT_GE(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(program.Close());
}

}  // namespace
