// The catalogue's archive table, index lines and mask colours.
#include <gtest/gtest.h>

#include "formats/Catalogue.h"

using namespace formats;

TEST(Catalogue, ArchiveTableAtEveryEdge) {
    struct Case {
        double x;
        const char* archive;  // nullptr: no choice
    } cases[] = {
        {0, nullptr},           {0.5, nullptr},         {1, "Iconlib.res"},    {86, "Iconlib.res"},
        {86.99, "Iconlib.res"}, {87, "Iconlib1.res"},   {124, "Iconlib1.res"}, {125, "Iconlib2.res"},
        {149, "Iconlib2.res"},  {150, "Iconlib3.res"},  {174, "Iconlib3.res"}, {175, "Iconlib4.res"},
        {200, "Iconlib5.res"},  {225, "Iconlib6.res"},  {250, "Iconlib7.res"}, {275, "Iconlib8.res"},
        {299, "Iconlib8.res"},  {300, "Iconlib9.res"},  {324.9, "Iconlib9.res"}, {325, nullptr},
        {-3, nullptr},          {1e300, nullptr},
    };
    for (const auto& c : cases) {
        auto archive = ArchiveForLibrary(c.x);
        if (!c.archive) {
            EXPECT_FALSE(archive) << c.x;
        } else {
            ASSERT_TRUE(archive) << c.x;
            EXPECT_EQ(*archive, c.archive) << c.x;
        }
    }
}

TEST(Catalogue, LinesEndAtCrCrLfOrLf) {
    struct Case {
        std::string_view text;
        std::vector<std::string_view> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(Catalogue, IndexLineAndTokens) {
    auto line = ParseIndexLine("stars;12:345:abc00;12:346:abc01");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->keyword, "stars");
    EXPECT_EQ(SplitTokens(line->refs), (std::vector<std::string_view>{"12:345:abc00", "12:346:abc01"}));
    EXPECT_FALSE(ParseIndexLine("no separator"));
    auto empty = ParseIndexLine(";");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->keyword, "");
    EXPECT_TRUE(SplitTokens(empty->refs).empty());
    EXPECT_EQ(SplitTokens("a;;b;"), (std::vector<std::string_view>{"a", "b"}));
}

TEST(Catalogue, MaskColoursOfEveryDigit) {
    const uint32_t expected[10] = {0xFFFFFF, 0x808000, 0x00FF00, 0x008000, 0xFF00FF,
                                   0x800080, 0x0000FF, 0x000080, 0x00FFFF, 0x008080};
    for (char d = '0'; d <= '9'; ++d) EXPECT_EQ(MaskColor(d), expected[d - '0']) << d;
    EXPECT_FALSE(MaskColor('a'));
    EXPECT_FALSE(MaskColor('/'));
}
