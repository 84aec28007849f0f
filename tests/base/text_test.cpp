#include "base/text.h"

#include <clocale>
#include <gtest/gtest.h>
#include <optional>
#include <utility>

namespace kerbina {
namespace {

TEST(Text, Trimming) {
    const struct {
        std::string_view text, blanks, blanksAndFullWidth, trailing;
    } cases[] = {
        {"", "", "", ""},
        {" \t a b \r\n", "a b", "a b", " \t a b"},
        {"\u3000山田\u3000 ", "\u3000山田\u3000", "山田", "\u3000山田"},
        {" \u3000 \u3000", "\u3000 \u3000", "", ""},
        {"銀行", "銀行", "銀行", "銀行"},
        {"御中 \u3000\t", "御中 \u3000", "御中", "御中"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(trimBlanks(c.text), c.blanks) << c.text;
        EXPECT_EQ(trimBlanksAndFullWidthSpaces(c.text), c.blanksAndFullWidth) << c.text;
        EXPECT_EQ(trimTrailingBlanksAndFullWidthSpaces(c.text), c.trailing) << c.text;
    }
}

// The C locale Qt sets (for example Turkish, where "I" lowers to a dotless i) changes nothing.
TEST(Text, AsciiCaseIgnoresTheLocale) {
    std::setlocale(LC_ALL, "tr_TR.UTF-8");
    EXPECT_TRUE(equalsIgnoringAsciiCase("KRB_DISPLAY_1.INI", "krb_display_1.ini"));
    EXPECT_TRUE(equalsIgnoringAsciiCase("Backup.KRB2", "backup.krb2"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("a.krb", "a.krb2"));
    EXPECT_TRUE(equalsIgnoringAsciiCase("見積A", "見積a"));
    EXPECT_EQ(asciiLowered("WITEM12.WRK ÄÖ"), "witem12.wrk ÄÖ");
    std::setlocale(LC_ALL, "C");
}

TEST(Text, Integers) {
    const struct {
        std::string_view text;
        std::optional<std::int64_t> exact, lenient, spacePadded;
    } cases[] = {
        {"0", 0, 0, 0},
        {"-42", -42, -42, -42},
        {" 42 ", std::nullopt, 42, 42},
        {"\t42\r", std::nullopt, 42, std::nullopt},
        {"+7", std::nullopt, 7, 7},
        {" +7", std::nullopt, 7, 7},
        {"+", std::nullopt, std::nullopt, std::nullopt},
        {"+-7", std::nullopt, std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt, std::nullopt},
        {"  ", std::nullopt, std::nullopt, std::nullopt},
        {"1.5", std::nullopt, std::nullopt, std::nullopt},
        {"12a", std::nullopt, std::nullopt, std::nullopt},
        {"1 2", std::nullopt, std::nullopt, std::nullopt},
        {"９", std::nullopt, std::nullopt, std::nullopt},
        {"9223372036854775807", INT64_MAX, INT64_MAX, INT64_MAX},
        {"9223372036854775808", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseInteger(c.text), c.exact) << c.text;
        EXPECT_EQ(parseInteger(c.text, IntegerText::Lenient), c.lenient) << c.text;
        EXPECT_EQ(parseInteger(c.text, IntegerText::SpacePadded), c.spacePadded) << c.text;
    }
    EXPECT_EQ(parseInteger32("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger32("2147483648"), std::nullopt);
    EXPECT_EQ(parseInteger32("-2147483648"), INT32_MIN);
}

TEST(Text, FieldsAndSeparators) {
    using Fields = std::vector<std::string_view>;
    EXPECT_EQ(splitFields("", ';'), Fields{""});
    EXPECT_EQ(splitFields("a;;b;", ';'), (Fields{"a", "", "b", ""}));
    EXPECT_EQ(splitFields("[KEY]=v=w", '='), (Fields{"[KEY]", "v", "w"}));
    EXPECT_EQ(asSeparatedField("鋼管;SGP\r\n25A"), "鋼管；SGP25A");
    EXPECT_EQ(splitFields(asSeparatedField("a;b") + ";c", ';'), (Fields{"a；b", "c"}));
    std::string line = "1";
    appendAsSeparatedField(line, ";x;\ny");
    EXPECT_EQ(line, "1；x；y");
    EXPECT_EQ(withoutLineBreaks("a\r\nb;c\n"), "ab;c");
    appendWithoutLineBreaks(line, "\r;z");
    EXPECT_EQ(line, "1；x；y;z");
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

TEST(JsonString, QuotesAndControlCharactersAreEscapedAndUtf8PassesWhole) {
    const struct {
        std::string_view text;
        std::string json;
    } cases[] = {
        {"", R"("")"},
        {"見積\"1\"", R"("見積\"1\"")"},
        {"a\\b", R"("a\\b")"},
        {"1\r\n2\t3", R"("1\r\n2\t3")"},
        {std::string_view("\x00\x1f\x7f", 3), "\"\\u0000\\u001f\x7f\""},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(jsonString(row.text), row.json) << row.json;
    }
}

TEST(OnOneLine, LineBreaksBecomeBlanks) {
    EXPECT_EQ(onOneLine("保存できません。\r\n再度お試しください。\nERROR"),
              "保存できません。 再度お試しください。 ERROR");
}

TEST(JapaneseEraDate, EraYearsAndTheirFirstDays) {
    const struct {
        int year, month, day;
        const char* text;
    } cases[] = {
        {2026, 12, 10, "令和8年12月10日"},  {2019, 5, 1, "令和元年5月1日"},
        {2019, 4, 30, "平成31年4月30日"},   {1989, 1, 8, "平成元年1月8日"},
        {1989, 1, 7, "昭和64年1月7日"},     {1926, 12, 25, "昭和元年12月25日"},
        {1926, 12, 24, "大正15年12月24日"}, {1912, 7, 30, "大正元年7月30日"},
        {1912, 7, 29, "明治45年7月29日"},   {1868, 1, 1, "明治元年1月1日"},
        {1867, 12, 31, "1867年12月31日"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(japaneseEraDateText(c.year, c.month, c.day), c.text) << c.year;
    }
}

// Every year of every era leads back to the Western year it was taken from.
TEST(JapaneseEraDate, EraYearsLeadBackToTheWesternYear) {
    for (int year = 1868; year <= 2100; ++year) {
        for (const auto& [month, day] : {std::pair{1, 1}, std::pair{7, 30}, std::pair{12, 31}}) {
            const std::optional<EraYear> eraYear = eraYearOf(year, month, day);
            ASSERT_TRUE(eraYear.has_value()) << year;
            EXPECT_EQ(westernYearOf(*eraYear), year);
        }
    }
    EXPECT_EQ(eraYearOf(2026, 12, 10), (EraYear{4, 8}));
    EXPECT_FALSE(eraYearOf(1867, 12, 31).has_value());
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// Only the full-width digits, signs and spaces change; letters and other characters stay.
TEST(AsciiNumberText, FullWidthDigitsAndSignsOnly) {
    EXPECT_EQ(asciiNumberText("－１，２３４．５０"), "-1,234.50");
    EXPECT_EQ(asciiNumberText("＋９　"), "+9 ");
    EXPECT_EQ(asciiNumberText("ＳＧＰ２５Ａ／ｍ"), "ＳＧＰ25Ａ／ｍ");
    EXPECT_EQ(asciiNumberText("鋼管12"), "鋼管12");
}

} // namespace
} // namespace kerbina
