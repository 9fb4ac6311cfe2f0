// The favorites folders of the running program, driven with the real keyboard and mouse: an icon
// added to a favorites folder through the Add to Favorites dialog, then that folder removed.
#include <gtest/gtest.h>

#include <string>

#include "IconMaker.h"
#include "StartedProgram.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A folder of the program's own favorites, gone again at the end whatever the test left in it.
struct FavoritesFolder {
    explicit FavoritesFolder(const std::string& name) : path(ProgramExeFolder() + "Favorites\\" + name) {
        CreateDirectoryA((ProgramExeFolder() + "Favorites").c_str(), nullptr);
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~FavoritesFolder() {
        std::string from = path + '\0';  // the list of paths ends with a second zero
        SHFILEOPSTRUCTA op{};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        if (Exists(path)) SHFileOperationA(&op);
    }
    std::string path;
};

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
    TypeKeys({VK_MENU, 'A', 'A'});
    HWND dialog = program.WaitForWindow("Add to Favorites", 10000);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitForFocus(dialog, "Edit", 10000));
    TypeKeys({VK_HOME, VK_END | 0x100});
    TypeKeys(KeysOf("copy\r"));
    ASSERT_TRUE(WaitForFile(folder.path + "\\copy.ico", 10000));
    ASSERT_TRUE(WaitUntilGone(dialog, 10000));

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
