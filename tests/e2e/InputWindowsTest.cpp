// The program's input windows opened with the real keyboard: what is typed at once, before any
// click, lands in their text field, read back from outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StartedProgram.h"

TEST(InputWindows, TextTypedAsSoonAsTheWindowOpensLandsInItsTextField) {
    QuietStore store;
    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    // The folder commands act on the favorites node last clicked.
    HWND tree = FindChildOfClass(window, WC_TREEVIEWA);
    HTREEITEM favorites = FindTreeItem(program.process(), tree, {"Your Icons", "Favorites"});
    ASSERT_TRUE(favorites && ClickTreeItem(program.process(), tree, favorites));
    ASSERT_TRUE(WaitUntil(10000, [&] {
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) == favorites;
    }));
    // A click gives the keyboard to the (empty) result list, where the menu keys are typed.
    HWND list = FindChildOfClass(window, WC_LISTVIEWA);
    ASSERT_NE(list, nullptr);
    RECT rect{};
    GetWindowRect(list, &rect);
    ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    ASSERT_TRUE(WaitForFocus(window, WC_LISTVIEWA, 5000));

    struct Case {
        std::vector<WORD> menuKeys;
        const char* caption;
    } cases[] = {
        {{VK_MENU, 'A', 'C'}, "Create Favorite Folder"},  // the input box
        {{VK_MENU, 'R', 'K'}, "Edit Custom Keywords"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        ASSERT_TRUE(BringToFront(window));
        TypeKeys(c.menuKeys);
        HWND input = program.WaitForWindow(c.caption, 10000);
        ASSERT_NE(input, nullptr);
        TypeKeys(KeysOf("typed"));
        HWND field = FindChildOfClass(input, "Edit");
        ASSERT_NE(field, nullptr);
        EXPECT_TRUE(WaitUntil(5000, [&] { return WindowText(field) == "typed"; })) << WindowText(field);
        PostMessageA(input, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntilGone(input, 5000));
    }
    EXPECT_TRUE(program.Close());
}
