// Entry name sanitising, extraction into a folder, and the unzip call sequence.
#include <gtest/gtest.h>

#include "FormatsTestSupport.h"
#include "formats/FileBytes.h"
#include "formats/Unzip.h"
#include "formats/ZipExtract.h"
#include "formats/ZipWriter.h"

using namespace formats;
namespace fs = std::filesystem;

namespace {

Bytes Read(const fs::path& p) {
    auto b = ReadFileBytes(p, 1 << 20);
    return b ? *b : Bytes{};
}

ZipArchive Open(const ZipWriter& w) {
    auto a = ZipArchive::Open(w.Finish());
    EXPECT_TRUE(a) << a.error();
    return std::move(a).value();
}

}  // namespace

TEST(SafeEntryPath, Table) {
    struct Case {
        const char* name;
        const char* path;  // generic form, or nullptr when refused
    } cases[] = {
        {"17.lib", "17.lib"},
        {"sub/17.lib", "sub/17.lib"},
        {"sub\\deep\\17.lib", "sub/deep/17.lib"},
        {"a b.lib", "a b.lib"},
        {".hidden", ".hidden"},
        {"", nullptr},
        {"../17.lib", nullptr},
        {"..\\17.lib", nullptr},
        {"sub/../../17.lib", nullptr},
        {"sub/..", nullptr},
        {"./17.lib", nullptr},
        {"... /17.lib", nullptr},
        {"../ /x", nullptr},
        {"sub./x", nullptr},
        {"/etc/passwd", nullptr},
        {"\\windows\\x", nullptr},
        {"\\\\server\\share\\x", nullptr},
        {"C:\\x.lib", nullptr},
        {"C:x.lib", nullptr},
        {"x.lib:stream", nullptr},
        {"sub//x.lib", nullptr},
        {"sub/", nullptr},
        {"CON", nullptr},
        {"nul.lib", nullptr},
        {"sub/Com1.txt", nullptr},
        {"lpt9", nullptr},
        {"COM10.lib", "COM10.lib"},
        {"console.lib", "console.lib"},
        {"a\x01.lib", nullptr},
        {"caf\xc3\xa9.lib", nullptr},
        {"a*.lib", nullptr},
        {"a?.lib", nullptr},
    };
    for (const auto& c : cases) {
        auto p = SafeEntryPath(c.name);
        if (c.path) {
            ASSERT_TRUE(p) << c.name;
            EXPECT_EQ(p->generic_string(), c.path);
            EXPECT_TRUE(p->is_relative());
        } else {
            EXPECT_FALSE(p) << c.name << " -> " << (p ? p->generic_string() : "");
        }
    }
    EXPECT_FALSE(SafeEntryPath(std::string("a\0b", 3)));
    EXPECT_FALSE(SafeEntryPath(std::string(300, 'a')));
}

TEST(ExtractEntry, UnsafeNamesWriteNothing) {
    ScratchFolder dir;
    ZipWriter w;
    for (const char* name : {"../evil.lib", "/evil.lib", "sub/../../evil.lib", "C:evil.lib", "..\\evil.lib", "CON"})
        ASSERT_TRUE(w.Add(name, ToBytes("evil")));
    ZipArchive a = Open(w);
    for (std::size_t i = 0; i < a.Entries().size(); ++i) {
        auto r = ExtractEntry(a, i, dir / "target", "", true);
        EXPECT_FALSE(r) << a.Entries()[i].name;
        EXPECT_NE(r.error().find("unsafe entry name"), std::string::npos);
    }
    EXPECT_TRUE(dir.Files().empty());
}

TEST(ExtractEntry, WritesIntoSubfoldersAndLeavesNoTemporaryFile) {
    ScratchFolder dir;
    ZipWriter w;
    ASSERT_TRUE(w.Add("sub/17.lib", ToBytes("picture"), ZipMethod::Deflated, "pw"));
    ZipArchive a = Open(w);
    auto r = ExtractEntry(a, 0, dir.path(), "pw", false);
    ASSERT_TRUE(r) << r.error();
    EXPECT_TRUE(r->written);
    EXPECT_EQ(r->file, dir / "sub/17.lib");
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"sub/17.lib"});
    EXPECT_EQ(Read(r->file), ToBytes("picture"));
}

TEST(ExtractEntry, OverwriteAndFailuresKeepTheOldFile) {
    ZipWriter w;
    ASSERT_TRUE(w.Add("17.lib", ToBytes("new"), ZipMethod::Stored, "pw"));
    ZipArchive a = Open(w);
    struct Case {
        const char* label;
        std::string password;
        bool overwrite, ok, written;
        const char* content;
    } cases[] = {
        {"kept", "pw", false, true, false, "old"},
        {"replaced", "pw", true, true, true, "new"},
        {"wrong password", "px", true, false, false, "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchFolder dir;
        ASSERT_TRUE(WriteFileBytes(dir / "17.lib", ToBytes("old")));
        auto r = ExtractEntry(a, 0, dir.path(), c.password, c.overwrite);
        EXPECT_EQ(r.ok(), c.ok) << r.error();
        if (r) {
            EXPECT_EQ(r->written, c.written);
        }
        EXPECT_EQ(Read(dir / "17.lib"), ToBytes(c.content));
        EXPECT_EQ(dir.Files(), std::vector<std::string>{"17.lib"});
    }
}

TEST(ExtractEntry, DamagedEntryWritesNothing) {
    ZipWriter w;
    ASSERT_TRUE(w.Add("17.lib", ToBytes("content of the picture"), ZipMethod::Stored));
    Bytes zip = w.Finish();
    zip[30 + 6 + 3] ^= 1;  // a byte of the stored data, after the header and the name
    auto a = ZipArchive::Open(zip);
    ASSERT_TRUE(a);
    ScratchFolder dir;
    auto r = ExtractEntry(*a, 0, dir.path(), "", true);
    EXPECT_NE(r.error().find("CRC error"), std::string::npos) << r.error();
    EXPECT_TRUE(dir.Files().empty());
}

TEST(UnzipSession, CallSequence) {
    ScratchFolder dir;
    ZipWriter w;
    ASSERT_TRUE(w.Add("17.lib", ToBytes("seventeen"), ZipMethod::Deflated, "secret"));
    ASSERT_TRUE(w.Add("18.lib", ToBytes("eighteen"), ZipMethod::Deflated, "secret"));
    ASSERT_TRUE(w.WriteTo(dir / "Iconlib.res"));
    fs::create_directory(dir / "temp");

    struct Case {
        const char* label;
        std::string archive, password, include;
        std::int32_t overwrite;
        std::int32_t result;
        const char* content;  // of temp/17.lib afterwards; nullptr: no such file
        const char* error;    // part of LastError
    } cases[] = {
        {"missing archive", "Iconlib1.res", "secret", "17.lib", 11, -1, nullptr, "cannot read"},
        {"wrong password", "Iconlib.res", "Secret", "17.lib", 11, -1, nullptr, "wrong password"},
        {"missing entry", "Iconlib.res", "secret", "99.lib", 11, 0, nullptr, "no entry named 99.lib"},
        {"extracted", "Iconlib.res", "secret", "17.LIB", 11, 1, "seventeen", ""},
        {"kept", "Iconlib.res", "secret", "17.lib", 0, 0, "seventeen", ""},
        {"replaced", "Iconlib.res", "secret", "17.lib", 11, 1, "seventeen", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        UnzipSession unzip;
        EXPECT_EQ(unzip.addUNZIP_ArchiveName(dir / c.archive), 0);
        EXPECT_EQ(unzip.addUNZIP_Decrypt(c.password), 0);
        EXPECT_EQ(unzip.addUNZIP_Include(c.include), 0);
        EXPECT_EQ(unzip.addUNZIP_ExtractTo(dir / "temp"), 0);
        EXPECT_EQ(unzip.addUNZIP_Overwrite(c.overwrite), 0);
        EXPECT_EQ(unzip.addUNZIP(), c.result);
        EXPECT_NE(unzip.LastError().find(c.error), std::string::npos) << unzip.LastError();
        if (c.content) {
            EXPECT_EQ(Read(dir / "temp/17.lib"), ToBytes(c.content));
        } else {
            EXPECT_FALSE(fs::exists(dir / "temp/17.lib"));
        }
        EXPECT_FALSE(fs::exists(dir / "temp/18.lib"));
    }
}
