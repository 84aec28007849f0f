#include "money/currency.h"
#include "money/typed_number.h"
#include "money_literal.h"

#include <gtest/gtest.h>
#include <limits>

namespace kerbina {
namespace {

TEST(CurrencyText, ShortestDecimalForm) {
    const struct {
        std::int64_t raw;
        const char* text;
    } cases[] = {
        {0, "0"},
        {15000000, "1500"},
        {5000, "0.5"},
        {122500, "12.25"},
        {-3000000, "-300"},
        {1, "0.0001"},
        {-1, "-0.0001"},
        {-5000, "-0.5"},
        {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(Currency::fromRaw(row.raw).toString(), row.text) << row.raw;
    }
}

TEST(CurrencyParse, AcceptsPlainDecimals) {
    const struct {
        const char* text;
        std::int64_t raw;
    } cases[] = {
        {"", 0},        {"\"\"", 0},      {"0", 0},           {"12.25", 122500}, {"-300", -3000000},
        {"+7", 70000},  {".5", 5000},     {"5.", 50000},      {" 2.5 ", 25000},  {"0.00005", 0},
        {"0.00015", 2}, {"-0.00015", -2}, {"1.23456", 12346},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(parseNumber(row.text).raw(), row.raw) << row.text;
    }
}

TEST(CurrencyParse, RejectsAnythingElse) {
    for (const char* text :
         {"1,000", "abc", "-", ".", "1.2.3", "1e5", "１２", "\"", "12a", "--1"}) {
        EXPECT_THROW(parseNumber(text), NumberFormatError) << text;
    }
    EXPECT_THROW(parseNumber("99999999999999999999"), CurrencyOverflow);
}

// What an input method in full-width mode leaves reads as the same number typed in ASCII.
TEST(CurrencyParse, TypedNumbersTakeFullWidthDigitsAndDigitGroups) {
    const struct {
        const char* text;
        std::int64_t raw;
    } cases[] = {
        {"１２", 120000},     {"１，５００", 15000000}, {"－３００", -3000000},
        {"２．５", 25000},    {"＋７", 70000},          {"1,234.5", 12345000},
        {"　１２　", 120000}, {"１2．5", 125000},       {"", 0},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(parseTypedNumber(row.text).raw(), row.raw) << row.text;
    }
    for (const char* text : {"１２ａ", "abc", "１．２．３", "１／２", "一二"}) {
        EXPECT_THROW(parseTypedNumber(text), NumberFormatError) << text;
    }
}

TEST(CurrencyArithmetic, ProductsAndQuotientsRoundHalfToEven) {
    EXPECT_EQ(c("1.25") * c("100"), c("125"));
    EXPECT_EQ(c("0.0001") * c("0.5"), c("0"));      // 0.00005 -> even 0
    EXPECT_EQ(c("0.0003") * c("0.5"), c("0.0002")); // 0.00015 -> even 0.0002
    EXPECT_EQ(c("-0.0003") * c("0.5"), c("-0.0002"));
    EXPECT_EQ(c("1") / c("3"), c("0.3333"));
    EXPECT_EQ(c("2") / c("3"), c("0.6667"));
    EXPECT_EQ(c("-2") / c("3"), c("-0.6667"));
    EXPECT_EQ(c("1") / c("-8"), c("-0.125"));
    EXPECT_THROW(c("1") / c("0"), std::domain_error);
}

TEST(CurrencyArithmetic, OverflowIsAnErrorNotAWrapAround) {
    const Currency max = Currency::fromRaw(std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(max + Currency::fromRaw(1), CurrencyOverflow);
    EXPECT_THROW(-Currency::fromRaw(std::numeric_limits<std::int64_t>::min()), CurrencyOverflow);
    EXPECT_THROW(c("1000000000000") * c("1000000"), CurrencyOverflow);
}

TEST(CurrencyArithmetic, TruncationGoesTowardZero) {
    EXPECT_EQ(c("2.7").truncated(), c("2"));
    EXPECT_EQ(c("-2.7").truncated(), c("-2"));
    EXPECT_EQ(c("-0.3").truncated(), c("0"));
}

TEST(CurrencyArithmetic, ClampedWholeTruncatesAndHoldsToIntRange) {
    constexpr int intMax = std::numeric_limits<int>::max();
    constexpr int intMin = std::numeric_limits<int>::min();
    const struct {
        const char* value;
        int whole;
    } cases[] = {
        {"12.9", 12},
        {"-12.9", -12},
        {"2147483647.5", intMax},
        {"2147483648", intMax},
        {"-2147483648", intMin},
        {"-2147483649", intMin},
        {"800000000000000", intMax},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(c(row.value).clampedWhole(), row.whole) << row.value;
    }
}

} // namespace
} // namespace kerbina
