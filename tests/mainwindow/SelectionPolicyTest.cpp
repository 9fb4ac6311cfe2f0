// The commands, paths, type presets and double-click action a selected result item gives.
#include <gtest/gtest.h>

#include "common/ResultEntry.h"
#include "mainwindow/SelectionPolicy.h"

namespace {

// The item as the page fill shows it; its path resolves to itself unless told otherwise.
SelectionFacts Facts(const std::string& tag, const OriginContext& origin = {}, DoubleClickOptions options = {},
                     const char* longPath = nullptr) {
    auto entry = ParseEntry(tag);
    EXPECT_TRUE(entry) << tag;
    SelectionFacts f;
    f.item = SelectedItem{"name", std::string(procSetTypeName(entry->typeCode)), OriginText(*entry, origin),
                          longPath ? longPath : SelectedFilePath(tag)};
    f.options = std::move(options);
    return f;
}

SelectionFacts Facts(const char* type, const char* origin, const char* path) {
    SelectionFacts f;
    f.item = SelectedItem{"name", type, origin, path};
    return f;
}

}  // namespace

TEST(SelectionPolicy, CommandsAndDoubleClickByKind) {
    const OriginContext fav{true, "", "", ""}, lnk{false, "", "C:\\W\\Desktop\\N.lnk", "C:\\W"};
    const DoubleClickOptions none{"Zoom"}, all{"Zoom", true, true, true, true};
    struct Case {
        const char* tag;
        OriginContext origin;
        bool play, run, change, addRef, delRef, delFav, path;
        const char* action;  // with all four priority flags set
    } cases[] = {
        {"1:2:04book", {}, true, false, false, false, false, false, false, "Play"},
        {"1:2:02book", {}, false, false, false, false, false, false, false, "Zoom"},
        {"C:\\f\\a.ani;0;frame 1;aopen", {}, true, false, false, true, false, false, true, "Ref"},
        {"C:\\f\\a.icl;0;#1 of 2;iopen", fav, false, false, false, true, false, true, true, "Ref"},
        {"C:\\f\\a.ico;0;x;4user", {}, true, false, false, false, true, false, true, "Play"},
        {"C:\\f\\a.exe;0;C:\\f\\a.exe;sshor", lnk, false, true, true, false, false, false, true, "Change"},
        {"default;0;32512;csycu", {}, false, false, true, false, false, false, true, "Change"},
        {"C:\\f\\w.ani;2;Control Panel\\Cursors\\Wait;gsycu", {}, true, false, true, true, false, false, true, "Change"},
        {"C:\\f\\w.ani;2;Control Panel\\Cursors\\Schemes\\S:3;asytu", {}, true, false, false, true, false, false, true,
         "Ref"},
        {"C:\\f\\a.dll;1;T (*.t);fsyas", {}, false, false, true, true, false, false, true, "Change"},
        {"C:\\f\\a.dll;1;Row;wsysy", {}, false, false, true, true, false, false, true, "Change"},
    };
    for (const auto& c : cases) {
        SelectionState s = SelectionFor(Facts(c.tag, c.origin, none));
        const bool got[] = {s.play, s.run, s.change, s.addRef, s.delRef, s.delFav, s.pathInMessage, s.addFav};
        const bool want[] = {c.play, c.run, c.change, c.addRef, c.delRef, c.delFav, c.path, true};
        for (size_t i = 0; i < std::size(got); ++i) EXPECT_EQ(got[i], want[i]) << c.tag << " flag " << i;
        EXPECT_EQ(s.div16, c.addRef || c.delRef) << c.tag;
        EXPECT_EQ(s.dcActionNow, "Zoom") << c.tag;
        EXPECT_EQ(SelectionFor(Facts(c.tag, c.origin, all)).dcActionNow, c.action) << c.tag;
    }
    const char* shortcut = "C:\\a.exe;0;C:\\a.exe;sshor";
    EXPECT_EQ(SelectionFor(Facts(shortcut, lnk, {"None", false, false, true, false})).dcActionNow, "Run");
}

TEST(SelectionPolicy, FirstSelectionOnly) {
    SelectionFacts f = Facts("1:2:00book");
    f.folderIconSupport = true;
    for (int32_t pages : {1, 3}) {
        f.pageCount = pages;
        auto first = SelectionFor(f).first;
        ASSERT_TRUE(first);
        EXPECT_EQ(first->pageMenus, pages > 1);
        EXPECT_TRUE(first->changeFolder);
    }
    f.commandsCleared = false;
    EXPECT_FALSE(SelectionFor(f).first);
}

TEST(SelectionPolicy, TypePresets) {
    struct Case {
        const char* type;
        std::vector<size_t> enabled;
        std::optional<int> chosen;
    } cases[] = {
        {"16 Color Icon", {0}, 0},      {"Hi-Color Icon", {2}, 2},    {"Animated Cursor", {3, 4, 5}, 5},
        {"256 Color Cursor", {7}, 7},   {"Theme Cursor", {8}, 8},     {"Icon Library", {0, 1, 2, 6, 7, 8}, 2},
        {"File Type Icon", {0, 1, 2}, 2}, {"System Icon", {}, 2},
    };
    for (const auto& c : cases) {
        SelectionState s = SelectionFor(Facts(c.type, "File Favorite", "C:\\a.ico"));
        std::array<bool, 9> expected{};
        for (size_t i : c.enabled) expected[i] = true;
        EXPECT_EQ(s.typeOptions, expected) << c.type;
        EXPECT_EQ(s.typeChosen, c.chosen) << c.type;
    }
    SelectionState ref = SelectionFor(Facts("Hi-Color Icon", "Reference", "C:\\a.ico"));
    EXPECT_EQ(ref.typeOptions, (std::array<bool, 9>{}));
    EXPECT_FALSE(ref.typeChosen);
}

TEST(SelectionPolicy, Paths) {
    SelectionState book = SelectionFor(Facts("1:2:00book"));
    EXPECT_TRUE(book.itemPath.empty() && !book.selDir);  // a catalogue item leaves folder and file

    const OriginContext fav{false, "C:\\Fav\\", "", ""};
    SelectionState file = SelectionFor(Facts("C:\\Fav\\my;dir\\a.ico;0;x;2open", fav));
    EXPECT_EQ(file.itemPath, "C:\\Fav\\my;dir\\a.ico");
    EXPECT_EQ(file.selDir, "C:\\Fav\\my;dir\\");
    EXPECT_EQ(file.selFile, "a.ico");
    EXPECT_TRUE(file.delFav);

    SelectionState gone = SelectionFor(Facts("C:\\Fav\\gone.ico;0;x;2open", fav, {}, ""));
    EXPECT_TRUE(gone.selDir->empty() && gone.selFile->empty());
    EXPECT_FALSE(gone.delFav);  // nothing there to delete

    SelectionFacts nothing;
    nothing.options.action = "Copy";
    SelectionState empty = SelectionFor(nothing);
    EXPECT_FALSE(empty.first);
    EXPECT_FALSE(empty.play || empty.run || empty.change || empty.addRef || empty.delRef || empty.addFav);
    EXPECT_EQ(empty.selDir, "");
    EXPECT_EQ(empty.dcActionNow, "Copy");
    EXPECT_EQ(SelectedFilePath("default;0;32512;csycu"), "");
}

TEST(SelectionPolicy, PathInMessagePanel) {
    auto width = [](std::string_view s) { return static_cast<int32_t>(2 * s.size()); };
    SelectionState s = SelectionFor(Facts("Hi-Color Icon", "File", "C:\\icons\\set\\a.ico"));
    EXPECT_EQ(PathForMessagePanel(s, 40, width), "C:\\icons\\set\\a.ico");
    // k = width / 2 - (5 + 5), halves to the even number
    EXPECT_EQ(PathForMessagePanel(s, 29, width), "C:\\i...\\a.ico");
    EXPECT_EQ(PathForMessagePanel(s, 31, width), "C:\\ico...\\a.ico");
    EXPECT_EQ(PathForMessagePanel(s, 3, width), "...\\a.ico");
}

TEST(SelectionPolicy, PageButtons) {
    EXPECT_FALSE(PageButtonsFor(1, 1).back || PageButtonsFor(1, 1).forward);
    EXPECT_TRUE(PageButtonsFor(2, 3).back && PageButtonsFor(2, 3).forward);
    EXPECT_FALSE(PageButtonsFor(3, 3).forward);
    EXPECT_TRUE(PageButtonsFor(3, 3).back);
}
