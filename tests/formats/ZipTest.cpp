// ZIP reading against Info-ZIP and Python archives, our writer against unzip, and broken archives.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "FormatsTestSupport.h"
#include "formats/FileBytes.h"
#include "formats/ZipReader.h"
#include "formats/ZipWriter.h"

using namespace formats;
namespace fs = std::filesystem;

namespace {

// Something like a library picture: a compressible part and a part that is not.
Bytes Content(std::size_t size = 40000) {
    Bytes b;
    for (int i = 0; b.size() < size / 2; ++i) {
        std::string line = "icon " + std::to_string(i) + "\n";
        b.insert(b.end(), line.begin(), line.end());
    }
    std::mt19937 random(1);
    while (b.size() < size) b.push_back(static_cast<std::uint8_t>(random()));
    return b;
}

Bytes Archive(std::initializer_list<std::tuple<std::string, Bytes, ZipMethod, std::string>> entries) {
    ZipWriter w;
    for (const auto& [name, data, method, password] : entries) EXPECT_TRUE(w.Add(name, data, method, password));
    return w.Finish();
}

std::size_t CentralRecord(const Bytes& zip, int n = 0) {
    for (std::size_t i = 0; i + 4 <= zip.size(); ++i)
        if (zip[i] == 0x50 && zip[i + 1] == 0x4b && zip[i + 2] == 1 && zip[i + 3] == 2 && n-- == 0) return i;
    ADD_FAILURE() << "no central record";
    return 0;
}

}  // namespace

TEST(ZipReader, ReadsArchivesOfInfoZipAndPython) {
    if (!HostToolsAvailable()) GTEST_SKIP() << "zip, unzip or python3 missing";
    ScratchFolder dir;
    const Bytes content = Content();
    ASSERT_TRUE(WriteFileBytes(dir / "17.lib", content));
    ASSERT_TRUE(WriteFileBytes(dir / "mkzip.py", ToBytes(R"(import sys, zipfile
out, method, src = sys.argv[1:4]
m = zipfile.ZIP_STORED if method == 'stored' else zipfile.ZIP_DEFLATED
f = sys.stdout.buffer if out == '-' else open(out, 'wb')
with zipfile.ZipFile(f, 'w', m) as z:
    z.write(src, '17.lib')
)")));

    struct Case {
        const char* label;
        std::string command;  // run in the folder, makes a.zip
        std::string entry, password;
        std::uint16_t method;
        bool descriptor;
    } cases[] = {
        {"zip deflated", "zip -q a.zip 17.lib", "17.lib", "", 8, false},
        {"zip stored", "zip -q -0 a.zip 17.lib", "17.lib", "", 0, false},
        // zip writes encrypted entries with a descriptor even into a file.
        {"zip -P deflated", "zip -q -P pw a.zip 17.lib", "17.lib", "pw", 8, true},
        {"zip -P stored", "zip -q -0 -P pw a.zip 17.lib", "17.lib", "pw", 0, true},
        // Output to a pipe makes zip stream: sizes and CRC follow the data in a descriptor.
        {"zip -P streamed", "zip -q -P pw - 17.lib | cat > a.zip", "17.lib", "pw", 8, true},
        {"zip -P -0 streamed", "zip -q -0 -P pw - 17.lib | cat > a.zip", "17.lib", "pw", 0, true},
        {"zip from stdin", "zip -q - - < 17.lib | cat > a.zip", "-", "", 8, true},
        {"python stored", "python3 mkzip.py a.zip stored 17.lib", "17.lib", "", 0, false},
        {"python deflated", "python3 mkzip.py a.zip deflated 17.lib", "17.lib", "", 8, false},
        {"python streamed", "python3 mkzip.py - deflated 17.lib | cat > a.zip", "17.lib", "", 8, true},
        {"python stored streamed", "python3 mkzip.py - stored 17.lib | cat > a.zip", "17.lib", "", 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove(dir / "a.zip");
        ASSERT_EQ(RunCommand("cd " + Quote(dir.path()) + " && " + c.command), 0);
        auto zip = ZipArchive::OpenFile(dir / "a.zip");
        ASSERT_TRUE(zip) << zip.error();
        auto i = zip->Find(c.entry);
        ASSERT_TRUE(i);
        const ZipEntry& e = zip->Entries()[*i];
        EXPECT_EQ(e.method, c.method);
        EXPECT_EQ((e.flags & 8) != 0, c.descriptor);
        EXPECT_EQ(e.Encrypted(), !c.password.empty());
        auto data = zip->Read(*i, c.password);
        ASSERT_TRUE(data) << data.error();
        EXPECT_EQ(*data, content);
        if (e.Encrypted()) {
            for (const char* wrong : {"", "PW", "pw ", "wrong"}) EXPECT_FALSE(zip->Read(*i, wrong)) << wrong;
        }
    }
}

TEST(ZipWriter, UnzipReadsWhatWeWrite) {
    if (!HostToolsAvailable()) GTEST_SKIP() << "zip, unzip or python3 missing";
    ScratchFolder dir;
    const Bytes content = Content();
    struct Case {
        ZipMethod method;
        std::string password;
    } cases[] = {{ZipMethod::Stored, ""}, {ZipMethod::Deflated, ""}, {ZipMethod::Stored, "pw"}, {ZipMethod::Deflated, "pw"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.method));
        SCOPED_TRACE(c.password);
        ZipWriter w;
        ASSERT_TRUE(w.Add("17.lib", content, c.method, c.password));
        ASSERT_TRUE(w.Add("sub/empty.lib", {}, c.method, c.password));
        ASSERT_TRUE(w.WriteTo(dir / "w.zip"));
        std::string pass = c.password.empty() ? "" : " -P " + c.password;
        EXPECT_EQ(RunCommand("unzip -tq" + pass + " " + Quote(dir / "w.zip")), 0);
        auto printed = RunOutput("unzip -p" + pass + " " + Quote(dir / "w.zip") + " 17.lib");
        ASSERT_TRUE(printed);
        EXPECT_EQ(ToBytes(*printed), content);
        if (!c.password.empty()) {
            EXPECT_NE(RunCommand("unzip -tq -P nope " + Quote(dir / "w.zip")), 0);
        }
    }
}

TEST(ZipReader, RoundTripAndWrongPasswords) {
    const Bytes content = Content(3000);
    Bytes zip = Archive({{"a.lib", content, ZipMethod::Deflated, "pw"},
                         {"b.lib", content, ZipMethod::Stored, ""},
                         {"Empty.LIB", {}, ZipMethod::Deflated, "pw"}});
    auto a = ZipArchive::Open(zip);
    ASSERT_TRUE(a) << a.error();
    ASSERT_EQ(a->Entries().size(), 3u);
    EXPECT_EQ(a->Find("A.LIB"), 0u);
    EXPECT_EQ(a->Find("empty.lib"), 2u);
    EXPECT_FALSE(a->Find("c.lib"));
    EXPECT_EQ(*a->Read(0, "pw"), content);
    EXPECT_EQ(*a->Read(1), content);
    EXPECT_TRUE(a->Read(2, "pw")->empty());
    // Many wrong passwords: each fails, whether at the check byte or at the CRC.
    for (int i = 0; i < 600; ++i) EXPECT_FALSE(a->Read(0, "x" + std::to_string(i))) << i;
    EXPECT_FALSE(a->Read(3));
}

TEST(ZipReader, EveryFlippedByteFailsOrReadsTheSameContent) {
    const Bytes content = Content(600);
    const Bytes zip = Archive({{"a.lib", content, ZipMethod::Deflated, "pw"}, {"b.lib", content, ZipMethod::Stored, ""}});
    int failures = 0;
    for (std::size_t at = 0; at < zip.size(); ++at) {
        Bytes bad = zip;
        bad[at] ^= 0xFF;
        auto a = ZipArchive::Open(bad);
        if (!a) { ++failures; continue; }
        for (const char* name : {"a.lib", "b.lib"}) {
            auto i = a->Find(name);
            if (!i) { ++failures; continue; }
            auto data = a->Read(*i, "pw");
            if (!data) ++failures;
            else EXPECT_EQ(*data, content) << "byte " << at;
        }
    }
    EXPECT_GT(failures, 600);  // at least every byte of the stored entry
}

TEST(ZipReader, EveryTruncationFails) {
    const Bytes zip = Archive({{"a.lib", Content(500), ZipMethod::Deflated, "pw"}});
    for (std::size_t n = 0; n < zip.size(); ++n)
        EXPECT_FALSE(ZipArchive::Open(Bytes(zip.begin(), zip.begin() + static_cast<std::ptrdiff_t>(n)))) << n;
}

TEST(ZipReader, BrokenStructuresGiveClearErrors) {
    const Bytes good = Archive({{"a.lib", Content(2000), ZipMethod::Deflated, ""}});
    const std::size_t end = good.size() - 22, cd = CentralRecord(good);
    struct Case {
        const char* label;
        std::function<void(Bytes&)> damage;
        const char* message;  // part of the error of Open, or of Read when Open succeeds
    } cases[] = {
        {"garbage", [](Bytes& b) { b.assign(100, 0x41); }, "not a ZIP archive"},
        {"comment past the end", [&](Bytes& b) { Poke16(b, end + 20, 5); }, "not a ZIP archive"},
        {"ZIP64 directory offset", [&](Bytes& b) { Poke32(b, end + 16, 0xFFFFFFFF); }, "ZIP64"},
        {"ZIP64 entry count", [&](Bytes& b) { Poke16(b, end + 8, 0xFFFF); Poke16(b, end + 10, 0xFFFF); }, "ZIP64"},
        {"ZIP64 entry size", [&](Bytes& b) { Poke32(b, cd + 24, 0xFFFFFFFF); }, "ZIP64"},
        {"second disk", [&](Bytes& b) { Poke16(b, end + 4, 1); }, "multi-part"},
        {"count beyond directory", [&](Bytes& b) { Poke16(b, end + 8, 5000); Poke16(b, end + 10, 5000); }, "too small"},
        {"directory past the end", [&](Bytes& b) { Poke32(b, end + 16, 0x7FFFFFF0); }, "outside"},
        {"name runs past directory", [&](Bytes& b) { Poke16(b, cd + 28, 0x7FFF); }, "damaged central"},
        {"local header offset past end", [&](Bytes& b) { Poke32(b, cd + 42, 0x7FFFFFF0); }, "damaged local header"},
        {"compressed size past end", [&](Bytes& b) { Poke32(b, cd + 20, 0x7FFFFFF0); }, "cut short"},
        {"method 12", [&](Bytes& b) { Poke16(b, cd + 10, 12); Poke16(b, 8, 12); }, "method 12"},
        {"strong encryption", [&](Bytes& b) { Poke16(b, cd + 8, 0x41); }, "strong encryption"},
        {"local method differs", [&](Bytes& b) { Poke16(b, 8, 0); }, "does not match"},
        {"declared size too large", [&](Bytes& b) { Poke32(b, cd + 24, 0x20000000); }, "too large"},
        {"declared size too small", [&](Bytes& b) { Poke32(b, cd + 24, 1000); }, "larger than its declared size"},
        {"declared size larger", [&](Bytes& b) { Poke32(b, cd + 24, 3000); }, "smaller than its declared size"},
        {"crc", [&](Bytes& b) { Poke32(b, cd + 16, 0x12345678); }, "CRC error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes bad = good;
        c.damage(bad);
        auto a = ZipArchive::Open(bad);
        std::string error = a ? a->Read(0).error() : a.error();
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(ZipReader, CompressionBombStopsAtTheDeclaredSize) {
    Bytes zeros(8 << 20, 0);
    Bytes zip = Archive({{"bomb", zeros, ZipMethod::Deflated, ""}});
    EXPECT_LT(zip.size(), 20000u);
    auto a = ZipArchive::Open(zip);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Read(0)->size(), zeros.size());
    EXPECT_NE(a->Read(0, {}, 1 << 20).error().find("too large"), std::string::npos);
    Poke32(zip, CentralRecord(zip) + 24, 4096);
    EXPECT_NE(ZipArchive::Open(zip)->Read(0).error().find("larger than its declared size"), std::string::npos);
}

TEST(ZipReader, EmptyArchiveAndMissingFile) {
    auto empty = ZipArchive::Open(ZipWriter().Finish());
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->Entries().empty());
    ScratchFolder dir;
    EXPECT_FALSE(ZipArchive::OpenFile(dir / "missing.res"));
    EXPECT_EQ(ZipArchive::OpenFile(dir.path()).error(), "cannot read the archive: not a file");
}

TEST(ZipReader, TheDirectoryAloneListsWhatOpenListsAndEveryTruncationFails) {
    ScratchFolder dir;
    // The second archive's directory lies before the last 64 KB, so it is read on its own.
    const Bytes small = Archive({{"1.lib", Content(500), ZipMethod::Deflated, "pw"}, {"2.lib", {}, ZipMethod::Stored, ""}});
    const Bytes large = Archive({{"3.lib", Content(90000), ZipMethod::Stored, ""}, {"4.lib", Content(300), ZipMethod::Deflated, ""}});
    for (const Bytes* zip : {&small, &large}) {
        ASSERT_TRUE(WriteFileBytes(dir / "a.res", *zip));
        auto listed = ZipArchive::ReadDirectory(dir / "a.res");
        ASSERT_TRUE(listed) << listed.error();
        const auto archive = ZipArchive::Open(*zip);
        const auto& opened = archive->Entries();
        ASSERT_EQ(listed->size(), opened.size());
        for (std::size_t i = 0; i < opened.size(); ++i) {
            EXPECT_EQ((*listed)[i].name, opened[i].name);
            EXPECT_EQ((*listed)[i].uncompressedSize, opened[i].uncompressedSize);
            EXPECT_EQ((*listed)[i].localHeaderOffset, opened[i].localHeaderOffset);
        }
        for (std::size_t n = 0; n < zip->size(); n += zip == &small ? 1 : 997) {
            ASSERT_TRUE(WriteFileBytes(dir / "a.res", ByteSpan(zip->data(), n)));
            EXPECT_FALSE(ZipArchive::ReadDirectory(dir / "a.res")) << n;
        }
    }
    EXPECT_FALSE(ZipArchive::ReadDirectory(dir / "missing.res"));
    EXPECT_FALSE(ZipArchive::ReadDirectory(dir.path()));
}
