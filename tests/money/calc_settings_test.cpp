#include "money/calc_settings.h"
#include "money_literal.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace kerbina {
namespace {

// Each option list in index order, checked both ways, plus what falls outside it.
TEST(CalcSettingsOptions, IndexesAndValuesMapBothWays) {
    const struct {
        std::optional<Currency> (*fromIndex)(int);
        std::optional<int> (*toIndex)(Currency);
        std::vector<const char*> values;
        std::vector<const char*> unmatched;
    } lists[] = {
        {offsetFromOptionIndex, optionIndexOfOffset, {"0.5", "0.9", "0"}, {"0.3", "1", "-0.5"}},
        {quantityDecimalsFromOptionIndex,
         optionIndexOfQuantityDecimals,
         {"10", "100", "1000"},
         {"0", "1", "10000", "10.5"}},
        {levelFromOptionIndex,
         optionIndexOfLevel,
         {"1", "10", "100", "1000", "10000", "100000", "1000000", "7", "8", "9"},
         {"2", "6", "5000", "10000000", "7.5", "-1"}},
    };
    for (const auto& list : lists) {
        const int count = static_cast<int>(list.values.size());
        for (int index = 0; index < count; ++index) {
            EXPECT_EQ(list.fromIndex(index), c(list.values[index])) << index;
            EXPECT_EQ(list.toIndex(c(list.values[index])), index) << list.values[index];
        }
        EXPECT_EQ(list.fromIndex(-1), std::nullopt);
        EXPECT_EQ(list.fromIndex(count), std::nullopt);
        for (const char* value : list.unmatched) {
            EXPECT_EQ(list.toIndex(c(value)), std::nullopt) << value;
        }
    }
}

TEST(CalcSettingsOptions, LevelZeroSelectsOne) {
    EXPECT_EQ(optionIndexOfLevel(Currency()), 0);
    EXPECT_EQ(optionIndexOfLevel(CalcSettings().grandTotalLevel), 0);
}

} // namespace
} // namespace kerbina
