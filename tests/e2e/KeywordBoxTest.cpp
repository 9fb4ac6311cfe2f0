// Ornavale.exe under Wine, driven from outside with real key input: a keyword's beginning typed into
// the keyword box and Enter select the keyword and list its icons.
#include <gtest/gtest.h>

#include <string>

#include "ProgramProcess.h"
#include "TestSupport.h"

namespace {

TEST(KeywordBox, APrefixAndEnterListTheFirstKeywordBeginningWithIt) {
    CleanStore clean;
    QuietProgramStart();

    Process program("");
    ASSERT_TRUE(program.started);
    HWND window = MainWindowAfterNotice(program);
    ASSERT_NE(window, nullptr);
    HWND combo = FindChildOfClass(window, "ComboBox");
    ASSERT_NE(combo, nullptr);
    HWND edit = FindChildOfClass(combo, "Edit");
    ASSERT_NE(edit, nullptr);
    if (!CatalogueInstalled() || SendMessageA(combo, CB_GETCOUNT, 0, 0) == 0)
        GTEST_SKIP() << "no catalogue keywords in the program folder";

    ASSERT_EQ(ShownItems(window, 5000), 0);  // nothing listed before

    // Typed in upper case; the catalogue has "folder" and "folders" in lower case.
    const std::string prefix = "FOLD";
    ASSERT_TRUE(TypeIntoKeywordBox(window, prefix + "\r"));

    int listed = 0;
    for (DWORD waited = 0; waited < 20000 && listed <= 0; waited += 100) {
        Sleep(100);
        listed = ShownItems(window, 5000);
    }
    EXPECT_GT(listed, 0);
    EXPECT_GE(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    // The box shows the keyword chosen. (Under Wine another process cannot read the box's items:
    // CB_GETLBTEXT and CB_FINDSTRING carry no text across processes.)
    char text[256] = {};
    SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(_strnicmp(text, prefix.c_str(), prefix.size()), 0) << text;

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(program.pi.hProcess, 20000), WAIT_OBJECT_0);
}

}  // namespace
