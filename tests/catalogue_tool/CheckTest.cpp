// The catalogue check on a small catalogue written by the tool's own writers: sound as written,
// and each rule broken once.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "Check.h"
#include "Layout.h"
#include "formats/FileBytes.h"
#include "formats/ZipReader.h"

#include <unistd.h>

using namespace catalogue;
namespace fs = std::filesystem;

namespace {

// A picture of `colours` colours inside a transparent ring, made different from others by `seed`.
CellPicture Picture(int colours, std::uint32_t seed) {
    CellPicture c{};
    for (int i = 0; i < 30 * 30; ++i)
        c[static_cast<std::size_t>((1 + i / 30) * kSide + 1 + i % 30)] =
            kOpaque | ((static_cast<std::uint32_t>(i % colours) * 2654435761u + seed * 7919u) % 0xFF0000 + 0x100);
    return c;
}

Entry Make(std::vector<CellPicture> frames, char typeCode) {
    return Entry{std::move(frames), typeCode, '4'};  // none of the pictures uses magenta
}

class SmallCatalogue : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("catalogue-check-" + std::to_string(::getpid()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        entries_ = {
            Make({Picture(5, 1)}, '0'),
            Make({Picture(40, 2)}, '1'),
            Make({Picture(600, 3)}, '2'),
            Make({Picture(3, 4), Picture(3, 5), Picture(3, 6)}, '3'),
            Make({Picture(2, 7)}, '6'),
        };
        auto placed = Place(entries_, 324);
        ASSERT_TRUE(placed);
        placements_ = placed.value();
        ASSERT_TRUE(WriteArchives(folder_, LibraryPictures(entries_, placements_)));
        index_ = IndexText({"arrow", "Busy", "colour"}, {{0, 4}, {3}, {0, 1, 2, 3}}, entries_, placements_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    CheckResult Check(const std::string& index, CheckRules rules = {1, 1, 2800, false, false}) {
        EXPECT_TRUE(formats::WriteFileBytes(folder_ / "Icondata.dat",
                                            {reinterpret_cast<const std::uint8_t*>(index.data()), index.size()}));
        return CheckCatalogue(folder_, rules);
    }

    static std::string Replace(std::string s, const std::string& from, const std::string& to) {
        for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
            s.replace(at, from.size(), to);
        return s;
    }

    static std::string Joined(const std::vector<std::string>& faults) {
        std::string all;
        for (const auto& f : faults) all += f + "\n";
        return all;
    }

    fs::path folder_;
    std::vector<Entry> entries_;
    std::vector<Placement> placements_;
    std::string index_;
};

}  // namespace

TEST_F(SmallCatalogue, AsWrittenItIsSound) {
    EXPECT_EQ(index_,
              "arrow;1:0:40;1:6:46\r\n"
              "Busy;1:5:a143;1:4:a143;1:3:a143\r\n"
              "colour;1:0:40;1:1:41;1:2:42;1:5:a143;1:4:a143;1:3:a143\r\n");
    auto result = Check(index_);
    EXPECT_TRUE(result.faults.empty()) << Joined(result.faults);
    EXPECT_EQ(result.figures.keywords, 3u);
    EXPECT_EQ(result.figures.pictures, 7u);
    EXPECT_EQ(result.figures.libraries, 1u);
    EXPECT_EQ(result.figures.entries, (std::array<std::size_t, 9>{1, 1, 1, 1, 0, 0, 1, 0, 0}));
}

TEST_F(SmallCatalogue, EachRuleBroken) {
    struct Case {
        const char* what;
        std::function<std::string(const std::string&)> change;
        const char* fault;  // the start of the fault expected
    } cases[] = {
        {"trailing ;", [](const std::string& s) { return Replace(s, "1:6:46\r\n", "1:6:46;\r\n"); }, "empty token"},
        {"empty token", [](const std::string& s) { return Replace(s, "arrow;", "arrow;;"); }, "empty token"},
        {"LF only", [](const std::string& s) { return Replace(s, "\r\n", "\n"); }, "line end"},
        {"no end", [](const std::string& s) { return s.substr(0, s.size() - 2); }, "line end"},
        {"unsorted", [](const std::string& s) { return Replace(s, "arrow;", "cat;"); }, "keyword: \"Busy\" out of order"},
        {"twice", [](const std::string& s) { return Replace(s, "colour;", "BUSY;"); }, "keyword: \"BUSY\" twice"},
        {"no letter", [](const std::string& s) { return Replace(s, "arrow;", "1arrow;"); }, "keyword: \"1arrow\" does not"},
        {"outside the grid", [](const std::string& s) { return Replace(s, "1:6:46", "1:60:46"); }, "cell:"},
        {"no library", [](const std::string& s) { return Replace(s, "1:6:46", "2:6:46"); }, "library:"},
        {"a fraction of a library", [](const std::string& s) { return Replace(s, "1:6:46", "1.5:6:46"); }, "token:"},
        {"one cell, two tokens", [](const std::string& s) { return Replace(s, "arrow;1:0:40", "arrow;1:0:00"); }, "cell:"},
        {"frames in list order",
         [](const std::string& s) { return Replace(s, "Busy;1:5:a143;1:4:a143;1:3:a143", "Busy;1:3:a143;1:4:a143;1:5:a143"); },
         "animation: the frames of 1:a143 are out of order"},
        {"frames apart",
         [](const std::string& s) { return Replace(s, "Busy;1:5:a143;1:4:a143;1:3:a143", "Busy;1:5:a143;1:4:a143;1:0:40;1:3:a143"); },
         "animation"},
        {"fewer frames",
         [](const std::string& s) { return Replace(s, "Busy;1:5:a143;1:4:a143;1:3:a143", "Busy;1:5:a143;1:4:a143"); },
         "animation: 1:a143 has other frames"},
        {"class", [](const std::string& s) { return Replace(s, "1:1:41", "1:1:40"); }, "class: \"1:1:40\" has 40 colours"},
        {"mask", [](const std::string& s) { return Replace(s, "1:6:46", "1:6:06"); }, "mask:"},
        {"unlisted picture", [](const std::string& s) { return Replace(s, ";1:1:41", ""); }, "keyword: cell 1 of library 1"},
        {"no ;", [](const std::string& s) { return s + "lonely\r\n"; }, "index line"},
        {"a group of no design", [](const std::string& s) { return Replace(s, "colour;", "group;"); },
         "design group: \"group\" is no theme's design"},
    };
    for (const auto& c : cases) {
        auto result = Check(c.change(index_));
        const std::string all = Joined(result.faults);
        EXPECT_NE(all.find(c.fault), std::string::npos) << c.what << ":\n" << all;
    }
}

TEST_F(SmallCatalogue, CountsAndLimits) {
    auto result = Check(index_, CheckRules{8, 2, 2, true});
    const std::string all = Joined(result.faults);
    EXPECT_NE(all.find("keywords: 3 keywords, more than 2"), std::string::npos) << all;
    EXPECT_NE(all.find("count: 7 pictures, fewer than 8"), std::string::npos) << all;
    EXPECT_NE(all.find("count: 1 animations, fewer than 2"), std::string::npos) << all;
    EXPECT_NE(all.find("count: no entry of type 4"), std::string::npos) << all;
    EXPECT_NE(all.find("design group: no \"group Adwaita\""), std::string::npos) << all;
}

TEST_F(SmallCatalogue, ArchivesAreReadWithTheirPasswordOnly) {
    fs::remove(folder_ / "Iconlib.res");
    auto missing = Check(index_);
    EXPECT_NE(Joined(missing.faults).find("archive: Iconlib.res"), std::string::npos) << Joined(missing.faults);

    // The same pictures give the same archive bytes; and another password opens nothing.
    const fs::path again = folder_ / "again";
    fs::create_directories(again);
    const auto pictures = LibraryPictures(entries_, placements_);
    ASSERT_TRUE(WriteArchives(folder_, pictures));
    ASSERT_TRUE(WriteArchives(again, pictures));
    auto a = formats::ReadFileBytes(folder_ / "Iconlib.res", 1 << 24), b = formats::ReadFileBytes(again / "Iconlib.res", 1 << 24);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a.value(), b.value());
    auto archive = formats::ZipArchive::Open(a.value());
    ASSERT_TRUE(archive);
    auto entry = archive->Find("1.lib");
    ASSERT_TRUE(entry);
    EXPECT_TRUE(archive->Read(*entry, "Quillstarker"));
    EXPECT_FALSE(archive->Read(*entry, "quillstarker"));
}
