// File existence, path forms, file versions and the icon-copy removal, on real temporary folders.
#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "core/Files.h"
#include "core/Global.h"

namespace {

std::string SystemLongPath(const std::string& p) {
    char buffer[1024] = {};
    DWORD n = GetLongPathNameA(p.c_str(), buffer, sizeof buffer);
    return std::string(buffer, n);
}

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(FileExists, FilesFoldersAndLocks) {
    TempDir dir;
    std::string file = dir.File("icon.ico");
    std::string busy = dir.File("busy.ico");
    std::string shared = dir.File("shared.ico");
    std::string folder = dir.Folder("sub");

    HANDLE exclusive = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    HANDLE reader = CreateFileA(shared.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);

    struct Case {
        std::string path;
        bool exists;
    } cases[] = {
        {file, true},   {busy, false},  {shared, true},          {folder, false},
        {folder + "\\", false}, {dir.path() + "missing.ico", false}, {"", false}, {"C:\\no\\such\\dir\\x.ico", false},
    };
    for (const auto& c : cases) {
        gResult = Variant();
        EXPECT_EQ(FileExists(c.path), c.exists) << c.path;
        EXPECT_EQ(gResult, Variant(c.exists)) << c.path;
    }
    CloseHandle(exclusive);
    CloseHandle(reader);
    EXPECT_TRUE(FileExists(busy));
}

TEST(TrimAtNull, Table) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"plain", "plain"},
        {std::string("\0rest", 5), ""},
        {std::string("abc\0def\0", 8), "abc"},
        {"", ""},
    };
    for (auto c : cases) {
        std::string s = c.in;
        EXPECT_EQ(TrimAtNull(s), c.out);
        EXPECT_EQ(s, c.out);
    }
}

TEST(PathForms, ShortAndLongOnRealFolders) {
    TempDir dir;
    std::string file = dir.File("Long Folder Name With Blanks\\another long file name.ico");
    std::string folder = dir.path() + "Long Folder Name With Blanks";

    std::string shortFile = GetShortPath(file);
    ASSERT_FALSE(shortFile.empty());
    EXPECT_EQ(shortFile.find(' '), std::string::npos) << shortFile;
    EXPECT_EQ(GetLongPath(shortFile), SystemLongPath(shortFile));
    EXPECT_EQ(GetLongPath(file), SystemLongPath(file));
    EXPECT_EQ(GetLongPath(GetShortPath(folder)), SystemLongPath(folder));

    struct Case {
        std::string path;
        std::string shortForm;
        std::string longForm;
    } cases[] = {
        {"\\\\server\\share\\icons\\a.ico", "", "\\\\server\\share\\icons\\a.ico"},
        {dir.path() + "missing\\Long Folder Name With Blanks", "", ""},
        {folder + "\\no such file.ico", "", ""},
        {dir.path() + "Long*\\another long file name.ico", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetShortPath(c.path), c.shortForm) << c.path;
        EXPECT_EQ(GetLongPath(c.path), c.longForm) << c.path;
    }
}

TEST(GetFileMajorVersion, VersionResources) {
    const std::string here = TestProgramDir();
    struct Case {
        std::string file;
        const char* major;
    } cases[] = {
        {here + "ver5.dll", "5"},
        {here + "ver3.dll", "3"},
        {here + "nover.dll", ""},
        {here + "missing.dll", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(GetFileMajorVersion(c.file), c.major) << c.file;
}

TEST(DeleteWinIconsFile, OnlyDirectlyInTheIconsFolder) {
    TempDir dir;
    const std::string savedWinDir = gWinDir;
    gWinDir = dir.path() + "Windows";

    std::string copy = dir.File("Windows\\Icons\\12.ico");
    std::string deeper = dir.File("Windows\\Icons\\sub\\12.ico");
    std::string elsewhere = dir.File("Windows\\12.ico");
    std::string otherCase = dir.File("Windows\\ICONS\\13.ico");

    DeleteWinIconsFile(deeper);
    DeleteWinIconsFile(elsewhere);
    DeleteWinIconsFile("12.ico");
    DeleteWinIconsFile(dir.path() + "Windows\\ICONS\\13.ico");
    DeleteWinIconsFile(gWinDir + "\\Icons\\missing.ico");
    EXPECT_TRUE(Exists(deeper));
    EXPECT_TRUE(Exists(elsewhere));
    EXPECT_TRUE(Exists(otherCase));

    DeleteWinIconsFile(copy);
    EXPECT_FALSE(Exists(copy));
    gWinDir = savedWinDir;
}

// Only the program's own copies go: a user may keep icons of their own in that folder, and a
// setting may name them.
TEST(DeleteWinIconsFile, OnlyNamesOfTheProgramsCopies) {
    TempDir dir;
    const std::string savedWinDir = gWinDir;
    gWinDir = dir.path() + "Windows";
    const struct {
        const char* name;
        bool copy;
    } cases[] = {
        {"1.ico", true},      {"5000.ico", true},  {"12.cur", true},   {"3.ani", true},    {"1.ICO", true},
        {"7.Ani", true},      {"Mine.ico", false}, {"01.ico", false},  {"0.ico", false},   {"5001.ico", false},
        {"1.ico.bak", false}, {"1.bmp", false},    {".ico", false},    {"1", false},       {"-1.ico", false},
        {"1 .ico", false},    {"1a.ico", false},   {"99999999999.ico", false},
    };
    for (const auto& c : cases) {
        const std::string file = dir.File("Windows\\Icons\\" + std::string(c.name), c.name);
        DeleteWinIconsFile(file);
        EXPECT_EQ(Exists(file), !c.copy) << c.name;
        DeleteFileA(file.c_str());
    }
    const std::string folder = dir.Folder("Windows\\Icons\\3.ico");
    DeleteWinIconsFile(folder);
    EXPECT_TRUE(Exists(folder));
    gWinDir = savedWinDir;
}

namespace {

// The visible top-level windows of this process.
std::vector<HWND> ShownWindows() {
    std::vector<HWND> shown;
    EnumWindows(
        [](HWND w, LPARAM found) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(w))
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown;
}

// Whether ShowFileProperties, run on a thread of its own, comes back within ten seconds. A thread
// that does not is left waiting; the path stays with it.
bool ReturnsAtOnce(const std::string& path) {
    auto* owned = new std::string(path);
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            ShowFileProperties(*static_cast<std::string*>(p), nullptr);
            return 0;
        },
        owned, 0, nullptr);
    if (!thread) return false;
    const bool returned = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (returned) delete owned;
    return returned;
}

}  // namespace

// The sheet is never waited for, and a missing file gives no error box (which would wait for the user).
TEST(ShowFileProperties, ReturnsAtOnceAndShowsNoErrorBox) {
    TempDir dir;
    EXPECT_TRUE(ReturnsAtOnce(dir.path() + "missing.ico"));
    EXPECT_TRUE(ShownWindows().empty());
    EXPECT_TRUE(ReturnsAtOnce(dir.File("props.ico")));
}
