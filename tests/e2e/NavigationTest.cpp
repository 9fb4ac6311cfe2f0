// The navigation tree of the running program, clicked with the real mouse: each node lists its
// source in the result list, read back from outside the program.
#include <gtest/gtest.h>

#include <string>

#include "IconMaker.h"
#include "StartedProgram.h"

TEST(Navigation, TreeNodesClickedWithTheMouseListTheirSources) {
    QuietStore store;
    TempDir dir;
    const std::string favorites = dir.Folder("Favorites");
    dir.Folder("Favorites\\Mine");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(WriteIconFile(favorites + "\\Mine\\icon" + std::to_string(i) + ".ico", 0x204080u * (i + 1)));
    dir.File("Favorites\\Mine\\readme.txt", "not an icon");
    StoreSetting("FavDir", favorites);

    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    HWND tree = FindChildOfClass(window, WC_TREEVIEWA);
    ASSERT_NE(tree, nullptr);

    struct Case {
        std::initializer_list<const char*> path;
        int items;
    } const cases[] = {
        // The test prefix sets no cursor of its own: the fourteen Windows defaults.
        {{"Your Icons", "Cursors", "Current"}, 14},
        {{"Your Icons", "Favorites", "Mine"}, 3},
        // The prefix's own file types with an icon of their own: Wine 8 has five.
        {{"Your Icons", "File Type Icons"}, 5},
        {{"Your Icons", "Cursors", "Current"}, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(*(c.path.end() - 1));
        HTREEITEM item = FindTreeItem(program.process(), tree, c.path);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(ClickTreeItem(program.process(), tree, item));
        EXPECT_EQ(program.WaitForShownItems(c.items, 15000), c.items);
    }

    ASSERT_TRUE(program.Close());
}
