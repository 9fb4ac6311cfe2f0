// The keyword files read into keyword slots and user references.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "formats/KeywordFiles.h"

using namespace formats;

namespace {

std::vector<std::string_view> Texts(const KeywordTable& t) {
    std::vector<std::string_view> texts;
    for (const auto& k : t.keywords) texts.push_back(k.text);
    return texts;
}

}  // namespace

TEST(KeywordFiles, EveryLineEndingGivesTheSameTable) {
    for (std::string_view end : {"\r\n", "\r", "\n"}) {
        const std::string e(end);
        const std::string index = "stars" ";12:345:abc00;12:346:abc01" + e + "moon;1:2:x00" + e;
        const std::string keys = "mine" + e + "yours";  // the last line without an end
        const std::string refs = "flowers;C:\\a\\b.ico;0;x;1user" + e;
        const KeywordTable t = ReadKeywordFiles(index, keys, refs, 3001);
        SCOPED_TRACE(testing::PrintToString(e));
        EXPECT_EQ(Texts(t), (std::vector<std::string_view>{"stars", "moon", "mine", "yours"}));
        ASSERT_EQ(t.keywords.size(), 4u);
        EXPECT_EQ(t.keywords[0].refs, "12:345:abc00;12:346:abc01");
        EXPECT_FALSE(t.keywords[1].user);
        EXPECT_TRUE(t.keywords[2].user);
        EXPECT_EQ(t.keywords[3].refs, "");
        ASSERT_EQ(t.references.size(), 1u);
        EXPECT_EQ(t.references[0].keyword, "flowers");
        EXPECT_EQ(t.references[0].entry, "C:\\a\\b.ico;0;x;1user");
        EXPECT_EQ(t.skippedIndexLines + t.skippedReferenceLines + t.keywordsLeftOut, 0);
    }
}

TEST(KeywordFiles, MalformedAndBlankLines) {
    struct Case {
        const char* name;
        std::string_view index, keys, refs;
        std::vector<std::string_view> keywords;
        int skippedIndex, skippedRefs, references;
    } cases[] = {
        {"no files", "", "", "", {}, 0, 0, 0},
        {"index line without ;", "a;1:1:x00\r\nbroken\r\nb;1:2:x00\r\n", "", "", {"a", "b"}, 1, 0, 0},
        {"blank lines carry nothing", "\r\na;1:1:x00\r\n\r\n", "\r\nmine\r\n\r\n", "\r\n", {"a", "mine"}, 0, 0, 0},
        {"reference line without ;", "", "", "k;C:\\a.ico;0;x;1user\r\nnothing here\r\nx;\r\n", {}, 0, 1, 2},
        {"an empty keyword and an empty list are kept", ";\r\nk;\r\n", "", "", {"", "k"}, 0, 0, 0},
        {"a user keyword with ; is still one keyword", "", "a;b", "", {"a;b"}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const KeywordTable t = ReadKeywordFiles(c.index, c.keys, c.refs, 3001);
        EXPECT_EQ(Texts(t), c.keywords);
        EXPECT_EQ(t.skippedIndexLines, c.skippedIndex);
        EXPECT_EQ(t.skippedReferenceLines, c.skippedRefs);
        EXPECT_EQ(static_cast<int>(t.references.size()), c.references);
    }
}

TEST(KeywordFiles, KeywordsBeyondTheLastSlotAreLeftOut) {
    std::string index;
    for (int i = 0; i < 3000; ++i) index += "k" + std::to_string(i) + ";1:" + std::to_string(i) + ":x00\r\n";
    struct Case {
        std::string keys;
        size_t kept;
        int leftOut;
        std::string_view last;
    } cases[] = {
        {"", 3000, 0, "k2999"},
        {"u1\r\n", 3001, 0, "u1"},
        {"u1\r\nu2\r\n", 3001, 1, "u1"},  // 3,002 keywords
        {"u1\r\nu2\r\nu3\r\n", 3001, 2, "u1"},
    };
    for (const auto& c : cases) {
        const KeywordTable t = ReadKeywordFiles(index, c.keys, "", 3001);
        ASSERT_EQ(t.keywords.size(), c.kept) << c.keys;
        EXPECT_EQ(t.keywordsLeftOut, c.leftOut) << c.keys;
        EXPECT_EQ(t.keywords.back().text, c.last) << c.keys;
    }
    // The index alone can fill every slot; the user's keywords then all stay out.
    const std::string full = index + "k3000;1:1:x00\r\nk3001;1:1:x00\r\n";
    const KeywordTable t = ReadKeywordFiles(full, "u1", "", 3001);
    EXPECT_EQ(t.keywords.size(), 3001u);
    EXPECT_EQ(t.keywords.back().text, "k3000");
    EXPECT_EQ(t.keywordsLeftOut, 2);
}
