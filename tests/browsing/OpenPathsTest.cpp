// Path lists, the open dialog's answer, the scan window's type filter and the favorites folder
// checks: tables of cases, and a folder tree removed for real.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "browsing/Favorites.h"
#include "common/OpenPaths.h"

using Strings = std::vector<std::string>;

TEST(OpenPaths, PathListSplitsAtTheSeparatorButNotInsideQuotes) {
    struct Case {
        const char* list;
        char separator;
        Strings items;
    } cases[] = {
        {"C:\\Icons c:\\x\\b.ICO", ' ', {"C:\\Icons", "c:\\x\\b.ICO"}},
        {"C:\\My Icons", ' ', {"C:\\My", "Icons"}},  // unquoted: split at the blank
        {"\"C:\\My Icons\" c:\\x\\b.ico", ' ', {"C:\\My Icons", "c:\\x\\b.ico"}},
        {"\"C:\\a b\\c d.ico\"", ' ', {"C:\\a b\\c d.ico"}},
        {"a  b ", ' ', {"a", "b"}},  // two blanks in a row, a blank at the end
        {"\"\" a", ' ', {"a"}},
        {"\"C:\\open end", ' ', {"C:\\open end"}},
        {"C:\\a b|C:\\c", '|', {"C:\\a b", "C:\\c"}},
        {"", ' ', {}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitPathList(c.list, c.separator), c.items) << c.list;
}

TEST(OpenPaths, OpenDialogAnswerGivesFilesAndTheFolderToRemember) {
    using namespace std::string_literals;
    struct Case {
        std::string answer;
        const char* folder;
        Strings files;
    } cases[] = {
        {"C:\\Icons\\a.ico", "C:\\Icons\\", {"C:\\Icons\\a.ico"}},
        {"C:\\Icons\0a.ico\0b.ICO"s, "C:\\Icons", {"C:\\Icons\\a.ico", "C:\\Icons\\b.ICO"}},
        {"C:\\\0a.ico\0b.ico"s, "C:\\", {"C:\\a.ico", "C:\\b.ico"}},  // a root keeps its one "\"
        {"", "", {}},
    };
    for (const Case& c : cases) {
        OpenSelection s = ParseOpenSelection(c.answer);
        EXPECT_EQ(s.folder, c.folder) << c.folder;
        EXPECT_EQ(s.files, c.files) << c.folder;
    }
}

TEST(OpenPaths, TypeFilterKeepsTheTickedTypesInAnyCase) {
    FileTypeFilter all;
    all.all = true;
    all.ico = false;  // the single boxes do not count while "All" is ticked
    FileTypeFilter icoDll;
    icoDll.ico = icoDll.dll = true;
    FileTypeFilter none;
    FileTypeFilter upper;
    upper.icl = upper.ani = true;
    struct Case {
        const FileTypeFilter& filter;
        const char* path;
        bool kept;
    } cases[] = {
        {all, "C:\\a.ico", true},    {all, "C:\\B.EXE", true},     {all, "C:\\c.Ani", true},
        {all, "C:\\d.txt", false},   {all, "C:\\sub", false},      {all, "ico", false},
        {icoDll, "C:\\a.ico", true}, {icoDll, "C:\\b.DLL", true},  {icoDll, "C:\\c.cur", false},
        {icoDll, "C:\\d.exe", false}, {none, "C:\\a.ico", false},  {none, "C:\\a.dll", false},
        {upper, "C:\\LIB.ICL", true}, {upper, "C:\\RUN.ANI", true}, {upper, "C:\\X.ICO", false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.filter.Keeps(c.path), c.kept) << c.path;
    for (const char* p : {"x.ani", "x.CUR", "x.dll", "x.exe", "x.icl", "x.ICO"}) EXPECT_TRUE(IsIconFileName(p)) << p;
    for (const char* p : {"x.bmp", "x.ico.txt", "xico", ""}) EXPECT_FALSE(IsIconFileName(p)) << p;
}

TEST(Favorites, FolderNamesWindowsAcceptsAndNoOthers) {
    for (const char* ok : {"Icons", "My Icons", "a.b", " lead", "\xC9toiles"}) EXPECT_TRUE(IsValidFolderName(ok)) << ok;
    for (const char* bad : {"", ".", "..", "a\\b", "a/b", "c:", "a*", "a?", "a\"b", "a<b", "a>b", "a|b", "end.",
                            "end ", "tab\there"})
        EXPECT_FALSE(IsValidFolderName(bad)) << bad;
}

TEST(Favorites, NodeFoldersAndWhatLiesInsideTheFavorites) {
    EXPECT_EQ(FavoritesFolderOf("C:\\Fav", "favori"), "C:\\Fav");
    EXPECT_EQ(FavoritesFolderOf("C:\\Fav\\", "favori"), "C:\\Fav");
    EXPECT_EQ(FavoritesFolderOf("C:\\Fav\\", "favori\\A\\B"), "C:\\Fav\\A\\B");

    struct Case {
        const char* path;
        const char* folder;
        bool inside;
    } cases[] = {
        {"C:\\Fav\\a.ico", "C:\\Fav", true},
        {"c:\\fav\\A\\a.ico", "C:\\Fav\\", true},
        {"C:\\Fav\\\\A\\a.ico", "C:\\Fav", true},
        {"C:\\Fav", "C:\\Fav", false},
        {"C:\\Fav\\", "C:\\Fav", false},
        {"C:\\Favorites2\\a.ico", "C:\\Fav", false},
        {"C:\\Fav\\..\\x.ico", "C:\\Fav", false},
        {"C:\\Other\\a.ico", "", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsInsideFolder(c.path, c.folder), c.inside) << c.path << " in " << c.folder;
}

TEST(Favorites, FolderTreeIsRemovedWithReadOnlyFilesAndAMissingOneReports) {
    TempDir dir;
    dir.File("Fav\\A\\a.ico");
    dir.File("Fav\\A\\B\\C\\deep.ico");
    const std::string locked = dir.File("Fav\\A\\B\\readonly.ico");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string keep = dir.File("Fav\\keep.ico");

    EXPECT_EQ(DeleteFolderTree(dir.path() + "Fav\\A\\"), 0u);
    EXPECT_EQ(GetFileAttributesA((dir.path() + "Fav\\A").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(keep.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(DeleteFolderTree(dir.path() + "Fav\\A"), 0u);  // already gone
}
