// Image lists: keys without regard to case, 1-based indexes, strips, and a handle that never changes.
#include <gtest/gtest.h>

#include "UiTest.h"
#include "ui/ImageList.h"
#include "ui/Keys.h"

namespace {

HBITMAP Strip(int images, int size = 16) { return CreateBitmap(images * size, size, 1, 32, nullptr); }

}  // namespace

TEST(ImageList, KeysFindImagesWithoutRegardToCase) {
    ImageList list(16, 16);
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    EXPECT_EQ(list.Add("Folder", icon), 1);
    EXPECT_EQ(list.Add("", icon), 2);  // no key
    EXPECT_EQ(list.Add("open", icon), 3);

    struct Case {
        const char* key;
        int index;
    };
    for (Case c : {Case{"folder", 1}, Case{"FOLDER", 1}, Case{"Open", 3}, Case{"", -1}, Case{"missing", -1}}) {
        EXPECT_EQ(list.IndexOf(c.key), c.index) << c.key;
        EXPECT_EQ(list.ImageIndex(c.key), c.index < 0 ? -1 : c.index - 1) << c.key;
    }
}

TEST(ImageList, DuplicateKeyAddsNothing) {
    ImageList list(16, 16);
    HBITMAP one = Strip(1);
    list.Add("a", one, RGB(255, 0, 255));
    EXPECT_THROW(list.Add("A", one, RGB(255, 0, 255)), KeyError);
    EXPECT_THROW(list.AddStrip(one, RGB(255, 0, 255), {"b", "B"}), KeyError);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.IndexOf("b"), -1);
    DeleteObject(one);
}

TEST(ImageList, StripAddsEveryCellAndNamesThoseWithKeys) {
    ImageList list(16, 16);
    list.Add("first", Strip(1), static_cast<HBITMAP>(nullptr));
    HBITMAP strip = Strip(5);
    EXPECT_EQ(list.AddStrip(strip, RGB(128, 64, 64), {"x", "", "z"}), 2);
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(list.IndexOf("x"), 2);
    EXPECT_EQ(list.IndexOf("z"), 4);
    DeleteObject(strip);
}

TEST(ImageList, ClearKeepsTheHandleThatControlsHold) {
    ImageList list(16, 16);
    HIMAGELIST handle = list.handle();
    HBITMAP strip = Strip(3);
    list.AddStrip(strip, RGB(0, 0, 0), {"a", "b", "c"});
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.IndexOf("a"), -1);
    EXPECT_EQ(list.handle(), handle);
    EXPECT_EQ(list.AddStrip(strip, RGB(0, 0, 0), {"a"}), 1);  // the keys are free again
    DeleteObject(strip);
}
