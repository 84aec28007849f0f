#include "document/text_codec.h"

#include <gtest/gtest.h>
#include <string>

namespace kerbina {
namespace {

std::string repeat(std::string_view text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) {
        result += text;
    }
    return result;
}

TEST(TextCodec, WindowsCharactersRoundTripThroughCp932) {
    const struct {
        const char* utf8;
        const char* cp932;
    } cases[] = {
        {"～", "\x81\x60"},           {"－", "\x81\x7C"}, {"㎡", "\x87\x75"}, {"㌧", "\x87\x64"},
        {"配管", "\x94\x7A\x8A\xC7"}, {"ｍ", "\x82\x8D"}, {"ｶ", "\xB6"},      {"A;\\", "A;\\"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(toCp932(row.utf8), row.cp932) << row.utf8;
        EXPECT_EQ(fromCp932(row.cp932), row.utf8) << row.utf8;
    }
}

TEST(TextCodec, WhatCp932CannotHoldBecomesGeta) {
    EXPECT_EQ(toCp932("a😀b"), "a\x81\xAC"
                              "b");
    EXPECT_EQ(fromCp932(toCp932("é中ñ")), "〓中〓");
    EXPECT_EQ(toCp932("x\xFF\xE3\x80y"), "x\x81\xAC\x81\xAC"
                                         "y"); // broken UTF-8
    // A stray byte, an unassigned double-byte code and a lead byte cut off at the end.
    EXPECT_EQ(fromCp932("a\xFD"
                        "b\x85\x40"
                        "c\x94"),
              "a〓b〓c〓");
}

TEST(TextCodec, FitToWidthCutsAtTheLastWholeCharacter) {
    const std::string fiftyWide = repeat("配", 50);
    const struct {
        std::string text;
        int width;
        std::string fitted;
    } cases[] = {
        {"a" + fiftyWide, 100, "a" + repeat("配", 49)},
        {fiftyWide, 100, fiftyWide},
        {repeat("x", 101), 100, repeat("x", 100)},
        {"ｍ", 4, "ｍ"},
        {"ａｂｃ", 4, "ａｂ"},
        {"aａ", 2, "a"},
        {"ｶﾞｽ管", 4, "ｶﾞｽ"},
        {"😀😀😀", 4, "〓〓"},
        {"abc", 0, ""},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(fitToWidth(row.text, row.width), row.fitted) << row.text << " / " << row.width;
    }
    EXPECT_EQ(cp932Length("a" + fiftyWide), 101);
}

TEST(TextCodec, CutDropsADanglingLeadByte) {
    EXPECT_EQ(cutCp932("ab\x94", 10), "ab");
    EXPECT_EQ(cutCp932("\x94\x7A"
                       "a",
                       1),
              "");
}

} // namespace
} // namespace kerbina
