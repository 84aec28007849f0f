#include "money/rounding.h"
#include "money_literal.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>
#include <limits>

namespace kerbina {
namespace {

const Currency kMax = Currency::fromRaw(std::numeric_limits<std::int64_t>::max());
const Currency kMin = Currency::fromRaw(std::numeric_limits<std::int64_t>::min());

// Rows of (a, b, offset) → expected, for the primitives of that shape.
struct Case {
    const char* a;
    const char* b;
    const char* offset;
    const char* expected;
};

TEST(LineAmount, TruncatesTheExactProductPlusOffsetTowardZero) {
    const Case cases[] = {
        {"100", "1.25", "0.5", "125"},
        {"33", "0.5", "0.5", "17"},
        {"33", "0.5", "0", "16"},
        {"33", "0.5", "0.9", "17"},
        {"201", "0.05", "0.9", "10"}, // 10.95: round-up drops fractions below 0.1
        {"-2.7", "1", "0.5", "-2"},   // negatives truncate toward zero after the offset
        {"-33", "0.5", "0.5", "-16"},
        {"-33", "0.5", "0", "-16"},
        // 0.49995 exactly: rounding the product to 1/10000 first (0.5) would give 1.
        {"0.9999", "0.5", "0.5", "0"},
        {"922337203685477", "1", "0.9", "922337203685477"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(lineAmount(c(row.a), c(row.b), c(row.offset)), c(row.expected))
            << row.a << " x " << row.b << " + " << row.offset;
    }
}

TEST(PercentOf, TruncatesTheExactShareAndIsZeroForAZeroRate) {
    const Case cases[] = {
        {"12345", "10", "0.5", "1235"},
        {"-12345", "10", "0.5", "-1234"},
        {"12345", "0", "0.5", "0"},
        {"12345", "12.5", "0", "1543"}, // 1543.125
        // 0.499995 exactly: a quotient rounded to 1/10000 (0.5) would give 1.
        {"16.6665", "3", "0.5", "0"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(percentOf(c(row.a), c(row.b), c(row.offset)), c(row.expected))
            << row.b << "% of " << row.a << " + " << row.offset;
    }
}

TEST(RoundToSetting, RoundsToTheUnitOfTheLevel) {
    const Case cases[] = {
        {"123456", "1000", "0.5", "123000"},
        {"123456", "1000", "0.9", "124000"}, // remainder 456 >= 100
        {"123050", "1000", "0.9", "123000"},
        {"123456", "1", "0", "123456"},
        {"123456.7", "1", "0.5", "123457"},
        {"123456.7", "0", "0", "123456"}, // 0 is read as 1
        {"1234567", "1000000", "0.5", "1000000"},
        {"-5", "10", "0.5", "0"}, // Int(-0.5 + 0.5)
        {"-123456", "1000", "0", "-123000"},
        {"123456", "5", "0.5", "123456"},    // unlisted level: unchanged
        {"123456.7", "50", "0", "123456.7"}, // unlisted level: unchanged, decimals kept
    };
    for (const auto& row : cases) {
        EXPECT_EQ(roundToSetting(c(row.a), c(row.b), c(row.offset)), c(row.expected))
            << row.a << " level " << row.b << " + " << row.offset;
    }
}

TEST(RoundToSetting, SignificantDigitsCountTheValuesText) {
    const Case cases[] = {
        {"123456", "7", "0.5", "120000"},   {"123456", "8", "0.5", "123000"},
        {"123456", "9", "0.9", "123500"},   {"95", "9", "0.5", "95"}, // k = 2 - 4 <= 0: unchanged
        {"1234.5", "9", "0.5", "1200"},     // "1234.5" is six characters: k = 2
        {"-123456", "7", "0", "-120000"},   // the minus sign is not counted
        {"-123456", "7", "0.5", "-110000"}, // Int(-12.3456 + 0.5) = -11
    };
    for (const auto& row : cases) {
        EXPECT_EQ(roundToSetting(c(row.a), c(row.b), c(row.offset)), c(row.expected))
            << row.a << " level " << row.b << " + " << row.offset;
    }
}

TEST(RoundToLevel, CodesNameAPowerOfTenOrTheUnitItself) {
    const Case cases[] = {
        {"123456", "1", "0", "123450"}, // code 1 means tens
        {"123456.5", "0", "0.5", "123457"}, {"123456", "3", "0.5", "123000"},
        {"1234567", "6", "0.9", "2000000"}, // 1.234567 + 0.9
        {"123456", "10", "0", "123450"},    {"123456", "1000", "0.9", "124000"},
        {"123456", "7", "0.5", "120000"},   {"-123456", "8", "0", "-123000"},
        {"123456", "11", "0.5", "123456"}, // unlisted code: unchanged
        {"123456", "0.5", "0.5", "123456"}, {"123456", "-1", "0.5", "123456"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(roundToLevel(c(row.a), c(row.b), c(row.offset)), c(row.expected))
            << row.a << " code " << row.b << " + " << row.offset;
    }
}

TEST(Rounding, OverflowIsAnErrorNotAWrapAround) {
    EXPECT_THROW(lineAmount(kMax, c("2"), c("0")), CurrencyOverflow);
    EXPECT_THROW(lineAmount(kMin, kMin, c("0.5")), CurrencyOverflow);
    EXPECT_THROW(percentOf(kMax, c("200"), c("0")), CurrencyOverflow);
    EXPECT_THROW(roundToSetting(kMax, c("1000000"), c("0.9")), CurrencyOverflow);
    EXPECT_THROW(roundToLevel(kMax, c("6"), c("0.9")), CurrencyOverflow);
    EXPECT_THROW(lineAmount(kMax, kMin, c("0.5")), CurrencyOverflow);
    EXPECT_EQ(roundToSetting(kMax, c("1"), c("0")), c("922337203685477"));
}

TEST(TruncateQuantity, KeepsWholeOrSettingDecimalsByKind) {
    const struct {
        const char* quantity;
        int kind;
        const char* decimals;
        const char* expected;
    } cases[] = {
        {"2.567", 20, "100", "2.56"},
        {"2.567", 10, "100", "2"},
        {"2.9", 19, "10", "2"},
        {"2.5678", 29, "1000", "2.567"},
        {"2.5678", 25, "10", "2.5"},
        {"-2.567", 20, "100", "-2.56"},
        {"-2.9", 10, "10", "-2"},
        {"2.567", 30, "10", "2.567"},
        {"2.567", 9, "10", "2.567"},
        {"2.5678", 20, "50", "2.5678"}, // decimals outside the options: left for the totals pass
    };
    for (const auto& row : cases) {
        EXPECT_EQ(truncateQuantity(c(row.quantity), row.kind, c(row.decimals)), c(row.expected))
            << row.quantity << " kind " << row.kind << " decimals " << row.decimals;
    }
}

TEST(RoundQuantityAsShown, HalvesAwayFromZeroToTheShownDecimals) {
    const struct {
        const char* quantity;
        const char* decimals;
        const char* expected;
    } cases[] = {
        {"120.05", "10", "120.1"},  {"120.04", "10", "120"},     {"-2.55", "10", "-2.6"},
        {"2.555", "100", "2.56"},   {"2.5675", "1000", "2.568"}, {"-0.04", "10", "0"},
        {"2.5678", "50", "2.5678"}, // decimals outside the options: left for the totals pass
    };
    for (const auto& row : cases) {
        EXPECT_EQ(roundQuantityAsShown(c(row.quantity), c(row.decimals)), c(row.expected))
            << row.quantity << " decimals " << row.decimals;
    }
    EXPECT_THROW(roundQuantityAsShown(kMin, c("1000")), CurrencyOverflow);
}

TEST(TruncateLaborFactor, KeepsThreeDecimalsTowardZero) {
    EXPECT_EQ(truncateLaborFactor(c("0.1239")), c("0.123"));
    EXPECT_EQ(truncateLaborFactor(c("-0.1239")), c("-0.123"));
    EXPECT_EQ(truncateLaborFactor(c("12")), c("12"));
}

TEST(wholeYenText, WholeYenGroupedInThrees) {
    const struct {
        Currency value;
        const char* text;
    } cases[] = {
        {c("0"), "0"},
        {c("999"), "999"},
        {c("1000"), "1,000"},
        {c("1234567"), "1,234,567"},
        {c("-1234567"), "-1,234,567"},
        {c("-100000"), "-100,000"},
        {c("1234.4999"), "1,234"},
        {c("0.5"), "1"},
        {c("-0.5"), "-1"},
        {c("-0.4"), "0"},
        {kMax, "922,337,203,685,478"},
        {kMin, "-922,337,203,685,478"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(wholeYenText(row.value), row.text) << row.value.toString();
    }
}

TEST(fixedQuantityText, FixedDecimalsPaddedToTheFormatWidth) {
    const struct {
        const char* quantity;
        const char* decimals;
        const char* text;
    } cases[] = {
        {"2.5", "10", "    2.5"},
        {"2.5", "100", "  2.50"},
        {"2.5", "1000", "2.500"},
        {"12", "100", " 12.00"},
        {"2.55", "10", "    2.6"}, // halves away from zero
        {"-2.55", "10", "   -2.6"},
        {"2.5675", "1000", "2.568"},
        {"2.5674", "1000", "2.567"},
        {"9.96", "10", "   10.0"},
        {"-0.04", "10", "    0.0"},
        {"1234567.5", "10", "1234567.5"}, // wider than the format: never cut
        {"2.5", "1", ""},
        {"2.5", "0", ""},
        {"2.5", "10000", ""},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(fixedQuantityText(c(row.quantity), c(row.decimals)), row.text)
            << row.quantity << " decimals " << row.decimals;
    }
    EXPECT_EQ(fixedQuantityText(kMin, c("1000")), "-922337203685477.581");
}

} // namespace
} // namespace kerbina
