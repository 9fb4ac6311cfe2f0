// The shell-link component: round trips of every value, what an overwrite keeps, and failures that
// raise and leave the disk as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "common/ShellLink.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/ScopedValue.h"
#include "formats/FileBytes.h"
#include "formats/LinkFile.h"
#include "ui/Unique.h"

namespace {

struct Link {
    std::string exe, dir, args, icon;
    int32_t index = 0;
    int32_t show = 0;
};

Link Read(const std::string& lnk) {
    Link l;
    ShellLinkObject().ReadLink(lnk, l.exe, l.dir, l.args, l.icon, l.index, l.show);
    return l;
}

void Write(const std::string& lnk, const Link& l) {
    ShellLinkObject().WriteLink(lnk, l.exe, l.dir, l.args, l.icon, l.index, l.show);
}

std::vector<uint8_t> Bytes(const std::string& path) {
    auto bytes = formats::ReadFileBytes(WidePath(path), 1 << 20);
    return bytes ? *bytes : std::vector<uint8_t>{};
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(WidePath(folder)))
        names.push_back(entry.path().filename().string());
    return names;
}

// The shell's own link object on a file, with what it reads.
struct ShellView {
    std::string exe, dir, args, icon, description;
    int index = 0;
    WORD hotKey = 0;
};

UniqueCom<IShellLinkA> ShellLoad(const std::string& lnk) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    UniqueCom<IShellLinkA> link;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(link.put())), S_OK);
    UniqueCom<IPersistFile> file;
    EXPECT_EQ(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())), S_OK);
    EXPECT_EQ(file.get()->Load(WidePath(lnk).wstring().c_str(), STGM_READ), S_OK);
    return link;
}

ShellView ShellRead(const std::string& lnk) {
    UniqueCom<IShellLinkA> link = ShellLoad(lnk);
    ShellView v;
    char buffer[1024] = {};
    link.get()->GetPath(buffer, 1024, nullptr, SLGP_RAWPATH);
    v.exe = buffer;
    link.get()->GetWorkingDirectory(buffer, 1024);
    v.dir = buffer;
    link.get()->GetArguments(buffer, 1024);
    v.args = buffer;
    link.get()->GetIconLocation(buffer, 1024, &v.index);
    v.icon = buffer;
    link.get()->GetDescription(buffer, 1024);
    v.description = buffer;
    link.get()->GetHotkey(&v.hotKey);
    return v;
}

class ShellLinkTest : public testing::Test {
  protected:
    TempDir dir;
};

}  // namespace

TEST_F(ShellLinkTest, WritesAndReadsEveryValue) {
    const std::string tools = dir.Folder("Tools");
    const std::string exe = tools + "\\app.exe";
    dir.File("Tools\\app.exe");
    const std::string nul("\0", 1);
    const struct {
        const char* name;
        Link written;
        Link read;
    } cases[] = {
        {"every field", {exe, tools, "-a -b", tools + "\\app.ico", 3, 1}, {exe, tools, "-a -b", tools + "\\app.ico", 3, 1}},
        {"maximised", {exe, "", "", "", 0, 3}, {exe, "", "", "", 0, 3}},
        {"minimised", {exe, "", "", "", 0, 7}, {exe, "", "", "", 0, 7}},
        {"blanks and quotes", {exe, "", "\"C:\\My Files\\a b.txt\"  /q \"x\"", "", 0, 1},
         {exe, "", "\"C:\\My Files\\a b.txt\"  /q \"x\"", "", 0, 1}},
        {"padded texts", {exe + nul + "junk", tools + nul + nul, "-x" + nul + "-y", "shell32.dll" + nul + "x", 2, 1},
         {exe, tools, "-x", "shell32.dll", 2, 1}},
        {"icon index -5", {exe, "", "", "%SystemRoot%\\system32\\shell32.dll", -5, 7},
         {exe, "", "", "%SystemRoot%\\system32\\shell32.dll", -5, 7}},
        {"no target", {"", "", "", tools + "\\app.ico", 1, 1}, {"", "", "", tools + "\\app.ico", 1, 1}},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string lnk = dir.path() + "case" + std::to_string(++n) + ".lnk" + nul + "x";
        Write(lnk, c.written);
        const Link got = Read(lnk);
        EXPECT_EQ(got.exe, c.read.exe) << c.name;
        EXPECT_EQ(got.dir, c.read.dir) << c.name;
        EXPECT_EQ(got.args, c.read.args) << c.name;
        EXPECT_EQ(got.icon, c.read.icon) << c.name;
        EXPECT_EQ(got.index, c.read.index) << c.name;
        EXPECT_EQ(got.show, c.read.show) << c.name;
    }
    // Only the links themselves: no temporary file stays behind.
    EXPECT_EQ(FilesIn(dir.path()).size(), std::size(cases) + 1);
}

TEST_F(ShellLinkTest, TheShellReadsWhatItWrote) {
    const std::string lnk = dir.path() + "B\xfcro.lnk";
    Write(lnk, {dir.path() + "B\xfcro\\notes.exe", dir.path() + "B\xfcro", "/open \"a b\"", "C:\\icons\\n.ico", 4, 3});
    const ShellView shell = ShellRead(lnk);
    EXPECT_EQ(shell.exe, dir.path() + "B\xfcro\\notes.exe");
    EXPECT_EQ(shell.dir, dir.path() + "B\xfcro");
    EXPECT_EQ(shell.args, "/open \"a b\"");
    EXPECT_EQ(shell.icon, "C:\\icons\\n.ico");
    EXPECT_EQ(shell.index, 4);
    auto header = formats::CheckLinkFile(Bytes(lnk));
    ASSERT_TRUE(header) << header.error();
    EXPECT_EQ(header->showCommand, 3u);
}

// A new shortcut over an old one is new: nothing of the file it replaces stays.
TEST_F(ShellLinkTest, AnOverwriteKeepsNothingOfTheOldLink) {
    const std::string lnk = dir.path() + "Notes.lnk";
    Write(lnk, {"C:\\old.exe", "", "old", "", 0, 7});
    {
        UniqueCom<IShellLinkA> link = ShellLoad(lnk);
        link.get()->SetDescription("Keep me");
        link.get()->SetHotkey(0x0641);
        UniqueCom<IPersistFile> file;
        link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()));
        ASSERT_EQ(file.get()->Save(WidePath(lnk).wstring().c_str(), FALSE), S_OK);
    }
    Write(lnk, {"C:\\new.exe", "C:\\", "new", "C:\\new.ico", 2, 3});
    const ShellView shell = ShellRead(lnk);
    EXPECT_EQ(shell.description, "");
    EXPECT_EQ(shell.hotKey, 0);
    EXPECT_EQ(shell.exe, "C:\\new.exe");
    EXPECT_EQ(shell.args, "new");
    EXPECT_EQ(Read(lnk).show, 3);
}

TEST_F(ShellLinkTest, ANewIconKeepsEverythingElse) {
    const std::string lnk = dir.path() + "Notes.lnk";
    Write(lnk, {"C:\\notes.exe", "C:\\", "-n", "C:\\old.ico", 1, 7});
    ShellLinkObject().ChangeLinkIcon(lnk, std::string("C:\\new.ico\0pad", 14), 0);
    const Link got = Read(lnk);
    EXPECT_EQ(got.icon, "C:\\new.ico");
    EXPECT_EQ(got.index, 0);
    EXPECT_EQ(got.exe, "C:\\notes.exe");
    EXPECT_EQ(got.args, "-n");
    EXPECT_EQ(got.show, 7) << "the header's show command, not the 1 the shell reads";
    EXPECT_THROW(ShellLinkObject().ChangeLinkIcon(dir.path() + "none.lnk", "C:\\a.ico", 0), RuntimeError);
    EXPECT_FALSE(std::filesystem::exists(WidePath(dir.path() + "none.lnk")));
}

TEST_F(ShellLinkTest, ReadingAFileThatIsNoShortcutRaises) {
    const std::string good = dir.path() + "good.lnk";
    Write(good, {"C:\\a.exe", "", "", "", 0, 1});
    const std::vector<uint8_t> bytes = Bytes(good);
    std::string cut(bytes.begin(), bytes.begin() + 90);
    std::string wrongClass(bytes.begin(), bytes.end());
    wrongClass[10] = 'x';
    const struct {
        const char* name;
        const char* content;  // nullptr: no file
        std::string bytes;
    } cases[] = {
        {"missing", nullptr, {}},
        {"empty", "", {}},
        {"text", "[InternetShortcut]\r\nURL=x\r\n", {}},
        {"cut short", "", cut},
        {"another class id", "", wrongClass},
    };
    for (const auto& c : cases) {
        const std::string path = dir.path() + c.name + std::string(".lnk");
        if (c.content) dir.File(std::string(c.name) + ".lnk", c.bytes.empty() ? c.content : c.bytes);
        EXPECT_THROW(Read(path), RuntimeError) << c.name;
    }
    EXPECT_THROW(Read(dir.path()), RuntimeError) << "a folder";
}

TEST_F(ShellLinkTest, AFileChangedAfterTheCheckDoesNotReachTheLoader) {
    const std::string lnk = dir.path() + "checked.lnk", other = dir.path() + "other.lnk";
    Write(lnk, {"C:\\checked.exe", "", "-c", "", 0, 3});
    Write(other, {"C:\\other.exe", "", "-o", "C:\\other.ico", 2, 1});
    const ScopedValue<std::function<void(const std::string&)>> change(
        gLinkChecked, [&](const std::string&) { ASSERT_TRUE(formats::WriteFileBytes(WidePath(lnk), Bytes(other))); });
    const Link got = Read(lnk);
    EXPECT_EQ(got.exe, "C:\\checked.exe");
    EXPECT_EQ(got.args, "-c");
    EXPECT_EQ(got.icon, "");
}

TEST_F(ShellLinkTest, AFailedWriteLeavesTheDiskAsItWas) {
    const std::string missing = dir.path() + "Missing\\new.lnk";
    EXPECT_THROW(Write(missing, {"C:\\a.exe", "", "", "", 0, 1}), RuntimeError);
    EXPECT_FALSE(std::filesystem::exists(WidePath(dir.path() + "Missing")));
    EXPECT_TRUE(FilesIn(dir.path()).empty());

    // An old link held open by another program without sharing cannot be replaced.
    const std::string lnk = dir.path() + "held.lnk";
    Write(lnk, {"C:\\old.exe", "", "", "", 0, 1});
    const std::vector<uint8_t> before = Bytes(lnk);
    {
        UniqueFile held(CreateFileA(lnk.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_THROW(Write(lnk, {"C:\\new.exe", "", "", "", 0, 1}), RuntimeError);
    }
    EXPECT_EQ(Bytes(lnk), before);
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"held.lnk"});
}
