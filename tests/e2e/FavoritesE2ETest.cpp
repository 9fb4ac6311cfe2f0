// The favorites folders and the input windows of the running program, driven with the real
// keyboard and mouse: an icon added to a favorites folder through the Add to Favorites dialog, then
// that folder removed; what is typed at once into an input window, before any click.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "IconMaker.h"
#include "StartedProgram.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A folder of the program's own favorites (or the favorites root itself, from the program folder),
// gone again at the end whatever the test left in it.
struct FavoritesFolder {
    explicit FavoritesFolder(const std::string& name, const std::string& root = ProgramExeFolder() + "Favorites\\")
        : path(root + name) {
        std::filesystem::create_directories(path);
    }
    ~FavoritesFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

// The selected item added to the favorites as "copy" through the Add to Favorites dialog, typed
// with the real keyboard; the copy is looked for in `folder`, and the dialog has closed.
void AddToFavoritesAsCopy(StartedProgram& program, const std::string& folder) {
    TypeKeys({VK_MENU, 'A', 'A'});
    HWND dialog = program.WaitForWindow("Add to Favorites", 10000);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitForFocus(dialog, "Edit", 10000));
    TypeKeys({VK_HOME, VK_END | 0x100});
    TypeKeys(KeysOf("copy\r"));
    EXPECT_TRUE(WaitForFile(folder + "\\copy.ico", 10000));
    ASSERT_TRUE(WaitUntilGone(dialog, 10000));
}

}  // namespace

TEST(FavoritesFolders, AFolderJustSavedIntoIsRemovedWithoutABox) {
    QuietStore store;
    FavoritesFolder folder("Kept Icons");
    ASSERT_TRUE(WriteIconFile(folder.path + "\\blue.ico", 0x3366CC));
    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);

    // The folder's icon listed and selected, then added to the same folder as another file.
    ASSERT_TRUE(program.ClickTreeItem({"Your Icons", "Favorites", "Kept Icons"}));
    ASSERT_EQ(program.WaitForShownItems(1, 15000), 1);
    ASSERT_NE(program.SelectListItem(0), nullptr);
    ASSERT_NO_FATAL_FAILURE(AddToFavoritesAsCopy(program, folder.path));

    ASSERT_TRUE(BringToFront(window));
    TypeKeys({VK_MENU, 'A', 'R'});
    HWND question = program.WaitForWindow("Remove Favorite Folder", 10000);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(BringToFront(question));
    TypeKeys({VK_RETURN});  // Yes
    ASSERT_TRUE(WaitUntilGone(question, 10000));

    EXPECT_TRUE(WaitUntil(10000, [&] { return !Exists(folder.path); }));
    HWND tree = FindChildOfClass(window, WC_TREEVIEWA);
    EXPECT_EQ(FindTreeItem(program.process(), tree, {"Your Icons", "Favorites", "Kept Icons"}), nullptr);
    EXPECT_FALSE(program.ShowsWindowOtherThan(window));
    EXPECT_TRUE(program.Close());
}

TEST(FavoritesFolders, AddToFavoritesMakesTheFolderRemovedMeanwhileAgainAndSavesIntoIt) {
    QuietStore store;
    FavoritesFolder favorites("Gone Favorites", ProgramExeFolder()), source("Source Icons", ProgramExeFolder());
    ASSERT_TRUE(WriteIconFile(source.path + "\\blue.ico", 0x3366CC));
    StoreSetting("FavDir", favorites.path + "\\");
    StartedProgram program("\"" + source.path + "\\blue.ico\"");
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(program.WaitForShownItems(1, 15000), 1);
    ASSERT_NE(program.SelectListItem(0), nullptr);

    std::filesystem::remove_all(favorites.path);
    ASSERT_FALSE(Exists(favorites.path));
    ASSERT_NO_FATAL_FAILURE(AddToFavoritesAsCopy(program, favorites.path));

    ASSERT_TRUE(BringToFront(window));
    ASSERT_TRUE(program.ClickTreeItem({"Your Icons", "Favorites"}));
    HWND list = FindChildOfClass(window, WC_LISTVIEWA);
    std::string shown;
    EXPECT_TRUE(WaitUntil(15000, [&] {
        shown = program.ShownItems() == 1 ? ListItemText(program.process(), list, 0, 0) : "";
        return shown.starts_with("copy");
    })) << shown;
    EXPECT_TRUE(program.Close());
}

TEST(InputWindows, TextTypedAsSoonAsTheWindowOpensLandsInItsTextField) {
    QuietStore store;
    FavoritesFolder folder("Typed Into");
    ASSERT_TRUE(WriteIconFile(folder.path + "\\blue.ico", 0x3366CC));
    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    // The folder commands act on the favorites node last clicked; the click on its file's item
    // gives the result list the keyboard, where the menu keys are typed.
    ASSERT_TRUE(program.ClickTreeItem({"Your Icons", "Favorites", "Typed Into"}));
    ASSERT_EQ(program.WaitForShownItems(1, 15000), 1);
    ASSERT_NE(program.SelectListItem(0), nullptr);
    ASSERT_TRUE(WaitForFocus(window, WC_LISTVIEWA, 5000));

    struct Case {
        std::vector<WORD> menuKeys;
        const char* caption;
        const char* focused;  // the class of the control with the keyboard
        bool typed;           // what is typed lands in it
    } cases[] = {
        {{VK_MENU, 'A', 'C'}, "Create Favorite Folder", "Edit", true},  // the input box
        {{VK_MENU, 'R', 'K'}, "Edit Custom Keywords", "Edit", true},
        {{VK_MENU, 'F', 'F'}, "Open by Folder", "Edit", true},
        {{VK_MENU, 'R', 'A'}, "Add Reference", "ComboBox", false},
        {{VK_MENU, 'V', 'O'}, "Options", "ComboBox", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        ASSERT_TRUE(BringToFront(window));
        TypeKeys(c.menuKeys);
        HWND input = program.WaitForWindow(c.caption, 10000);
        ASSERT_NE(input, nullptr);
        EXPECT_TRUE(WaitForFocus(input, c.focused, 5000));
        if (c.typed) {
            TypeKeys(KeysOf("typed"));
            HWND field = FindChildOfClass(input, "Edit");
            EXPECT_TRUE(WaitUntil(5000, [&] { return WindowText(field) == "typed"; })) << WindowText(field);
        }
        PostMessageA(input, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntilGone(input, 5000));
    }
    EXPECT_TRUE(program.Close());
}

TEST(InputWindows, TheResultListHasTheKeyboardAgainWhenAWindowOrDialogCloses) {
    QuietStore store;
    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    HWND list = FindChildOfClass(window, WC_LISTVIEWA);
    RECT rect{};
    GetWindowRect(list, &rect);
    ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    ASSERT_TRUE(WaitForFocus(window, WC_LISTVIEWA, 5000));

    struct Case {
        std::vector<WORD> keys;
        const char* caption;
    } cases[] = {
        {{VK_MENU, 'R', 'K'}, "Edit Custom Keywords"},
        {{VK_MENU, 'F', 'O'}, "Open by File"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        TypeKeys(c.keys);
        HWND shown = program.WaitForWindow(c.caption, 10000);
        ASSERT_NE(shown, nullptr);
        ASSERT_TRUE(BringToFront(shown));
        TypeKeys({VK_ESCAPE});
        ASSERT_TRUE(WaitUntilGone(shown, 5000));
        EXPECT_TRUE(WaitForFocus(window, WC_LISTVIEWA, 5000));
    }
    EXPECT_TRUE(program.Close());
}
