// The shared value's text and number forms.
#include <gtest/gtest.h>

#include "core/Variant.h"

TEST(Variant, TextForms) {
    struct Case {
        Variant v;
        const char* text;
        bool blank;
    } cases[] = {
        {Variant(), "", true},          {Variant(""), "", true},
        {Variant("0"), "0", false},     {Variant(true), "True", false},
        {Variant(false), "False", false}, {Variant(int32_t{-5}), "-5", false},
        {Variant(int32_t{0}), "0", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.v.Text(), c.text);
        EXPECT_EQ(c.v.IsBlank(), c.blank) << c.text;
    }
    EXPECT_NE(Variant(), Variant(""));
}

TEST(Variant, NumbersAndTruth) {
    struct Case {
        Variant v;
        std::optional<int32_t> number;
        bool truth;
    } cases[] = {
        {Variant(), std::nullopt, false},
        {Variant(""), std::nullopt, false},
        {Variant(" 200 "), 200, true},
        {Variant("0"), 0, false},
        {Variant("-1"), -1, true},
        {Variant("12abc"), std::nullopt, false},
        {Variant("99999999999"), std::nullopt, false},
        {Variant("True"), std::nullopt, true},
        {Variant("true"), std::nullopt, true},
        {Variant("False"), std::nullopt, false},
        {Variant(true), -1, true},
        {Variant(int32_t{4}), 4, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.v.Number(), c.number) << c.v.Text();
        EXPECT_EQ(c.v.Truth(), c.truth) << c.v.Text();
    }
}
