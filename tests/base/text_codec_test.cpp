#include "base/cp932_iconv.h"
#include "base/text_codec.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

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

// The codec as the system converter alone gives it: convert as far as it goes, then one "〓" for
// the refused sequence (a whole UTF-8 sequence as far as it is well formed; a CP932 lead byte with
// its trail byte, else one byte) and go on. The tables must say exactly the same.
std::string referenceConversion(platform::Cp932Direction direction, std::string_view input) {
    const auto byte = [&input](std::size_t i) {
        return static_cast<std::uint8_t>(input[i]);
    };
    std::string output;
    for (;;) {
        input.remove_prefix(platform::convertCp932Prefix(direction, input, output));
        if (input.empty()) {
            return output;
        }
        std::size_t refused = 1;
        if (direction == platform::Cp932Direction::FromUtf8) {
            output += "\x81\xAC";
            const std::size_t expected = byte(0) >= 0xC2 && byte(0) <= 0xDF   ? 2
                                         : byte(0) >= 0xE0 && byte(0) <= 0xEF ? 3
                                         : byte(0) >= 0xF0 && byte(0) <= 0xF4 ? 4
                                                                              : 1;
            while (refused < expected && refused < input.size() && (byte(refused) & 0xC0) == 0x80) {
                ++refused;
            }
        } else {
            output += "〓";
            const bool lead = (byte(0) >= 0x81 && byte(0) <= 0x9F) || byte(0) >= 0xE0;
            if (lead && byte(0) <= 0xFC && input.size() >= 2 && byte(1) >= 0x40 &&
                byte(1) <= 0xFC && byte(1) != 0x7F) {
                refused = 2;
            }
        }
        input.remove_prefix(refused);
    }
}

std::string hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        text += kDigits[b >> 4];
        text += kDigits[b & 0xF];
        text += ' ';
    }
    return text;
}

// Compares both directions with the reference over every input; reports the first few
// differences by their bytes.
class AgainstTheConverter {
public:
    void check(std::string_view input, platform::Cp932Direction direction) {
        const std::string expected = referenceConversion(direction, input);
        const std::string actual =
            direction == platform::Cp932Direction::FromUtf8 ? toCp932(input) : fromCp932(input);
        note(input, actual, expected);
    }
    // A field of `width` bytes: the text through CP932 and back, cut in between.
    void checkFit(std::string_view utf8, int width) {
        using platform::Cp932Direction;
        const std::string cp932 = referenceConversion(Cp932Direction::FromUtf8, utf8);
        note(utf8, fitToWidth(utf8, width),
             referenceConversion(Cp932Direction::ToUtf8, cutCp932(cp932, width)));
        note(utf8, std::to_string(cp932Length(utf8)), std::to_string(cp932.size()));
    }
    const std::vector<std::string>& differences() const { return differences_; }

private:
    void note(std::string_view input, const std::string& actual, const std::string& expected) {
        if (actual != expected && differences_.size() < 10) {
            differences_.push_back(hex(input) + "-> " + hex(actual) + "instead of " +
                                   hex(expected));
        }
    }

    std::vector<std::string> differences_;
};

std::string utf8Of(std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        return std::string(1, static_cast<char>(codePoint));
    }
    if (codePoint < 0x800) {
        return {static_cast<char>(0xC0 | codePoint >> 6),
                static_cast<char>(0x80 | (codePoint & 0x3F))};
    }
    if (codePoint < 0x10000) {
        return {static_cast<char>(0xE0 | codePoint >> 12),
                static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)),
                static_cast<char>(0x80 | (codePoint & 0x3F))};
    }
    return {static_cast<char>(0xF0 | codePoint >> 18),
            static_cast<char>(0x80 | (codePoint >> 12 & 0x3F)),
            static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)),
            static_cast<char>(0x80 | (codePoint & 0x3F))};
}

TEST(TextCodec, TablesSayWhatTheSystemConverterSays) {
    using platform::Cp932Direction;
    AgainstTheConverter compare;
    // Every code point (surrogates written as if they were characters), every CP932 byte and
    // byte pair.
    for (std::uint32_t codePoint = 0; codePoint < 0x110000; ++codePoint) {
        compare.check(utf8Of(codePoint), Cp932Direction::FromUtf8);
    }
    for (int first = 0; first < 256; ++first) {
        const char one[] = {static_cast<char>(first)};
        compare.check(std::string_view(one, 1), Cp932Direction::ToUtf8);
        for (int second = 0; second < 256; ++second) {
            const char two[] = {static_cast<char>(first), static_cast<char>(second)};
            compare.check(std::string_view(two, 2), Cp932Direction::ToUtf8);
            compare.check(std::string_view(two, 2), Cp932Direction::FromUtf8);
        }
    }
    // Texts mixing characters, stray and cut-off bytes, in both directions and fitted to fields.
    std::mt19937 random(932);
    const std::string pieces[] = {"a",
                                  ";",
                                  "\\",
                                  "~",
                                  "配管",
                                  "ｶﾞ",
                                  "㎡",
                                  "¥",
                                  "😀",
                                  "\xF3\xA0\x80\x81",
                                  "\xE3\x80",
                                  "\xC1\x81",
                                  "\xED\xA0\x80",
                                  "\x80",
                                  "\xFF",
                                  "\x94\x7A",
                                  "\x85\x40",
                                  "\x81",
                                  "\xA0\xFD",
                                  "\xF0\x90\x80"};
    for (int text = 0; text < 20000; ++text) {
        std::string input;
        for (int length = static_cast<int>(random() % 8); length >= 0; --length) {
            input += pieces[random() % std::size(pieces)];
        }
        compare.check(input, Cp932Direction::FromUtf8);
        compare.check(input, Cp932Direction::ToUtf8);
        compare.checkFit(input, static_cast<int>(random() % 12));
    }
    EXPECT_TRUE(compare.differences().empty()) << ::testing::PrintToString(compare.differences());
}

} // namespace
} // namespace kerbina
