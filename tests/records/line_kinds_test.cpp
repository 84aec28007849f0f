#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

TEST(LineKinds, DataGroupBoundaries) {
    const struct {
        const char* sortCode;
        int group;
    } cases[] = {
        {"-5", 1},    {"11999", 1}, {"12000", 1}, {"12000.0001", 2}, {"12001", 2}, {"15000", 2},
        {"15001", 3}, {"18001", 4}, {"21000", 4}, {"24000", 5},      {"24001", 6}, {"30000", 6},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(dataGroupOf(parseNumber(row.sortCode)), row.group) << row.sortCode;
    }
    for (int group = 1; group <= 6; ++group) {
        EXPECT_EQ(dataGroupOf(sortCodeOfGroup(group)), group);
    }
    EXPECT_EQ(sortCodeOfGroup(6), Currency::fromWhole(26999));
}

TEST(LineKinds, FlagMappingBothWays) {
    const int kinds[] = {10, 20, 11, 21, 15, 25, 30, 12, 22};
    for (int choice = 0; choice < 9; ++choice) {
        EXPECT_EQ(flagChoiceToKind(choice), kinds[choice]);
        EXPECT_EQ(kindToFlagChoice(kinds[choice]), choice);
    }
    EXPECT_EQ(kindToFlagChoice(120), 1);
    EXPECT_EQ(kindToFlagChoice(999), 0);
    EXPECT_EQ(kindToFlagChoice(16), 0);
    EXPECT_EQ(flagChoiceToKind(9), 10);
    EXPECT_EQ(flagChoiceToKind(-1), 10);
}

TEST(LineKinds, KindGroups) {
    const struct {
        int kind;
        bool priced, reduction, range, expense, welfare, whole, decimal;
    } cases[] = {
        {10, true, false, false, false, false, true, false},
        {11, true, true, false, false, false, true, false},
        {15, false, false, false, false, false, true, false},
        {21, true, true, false, false, false, false, true},
        {28, false, false, false, false, false, false, true},
        {30, false, false, false, false, false, false, false},
        {40, false, false, true, false, false, false, false},
        {56, false, false, true, false, false, false, false},
        {57, false, false, false, false, false, false, false},
        {66, false, false, true, false, false, false, false},
        {76, false, false, true, false, false, false, false},
        {84, false, false, false, true, false, false, false},
        {85, false, false, false, false, false, false, false},
        {97, false, false, false, false, true, false, false},
        {140, true, false, false, false, false, false, false},
        {160, false, false, false, false, false, false, false},
        {180, true, false, false, false, false, false, false},
        {194, false, false, true, false, false, false, false},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(isPriced(row.kind), row.priced) << row.kind;
        EXPECT_EQ(isReduction(row.kind), row.reduction) << row.kind;
        EXPECT_EQ(isRangeKind(row.kind), row.range) << row.kind;
        EXPECT_EQ(isExpense(row.kind), row.expense) << row.kind;
        EXPECT_EQ(isWelfare(row.kind), row.welfare) << row.kind;
        EXPECT_EQ(isWholeQuantity(row.kind), row.whole) << row.kind;
        EXPECT_EQ(isDecimalQuantity(row.kind), row.decimal) << row.kind;
    }
    EXPECT_TRUE(ownsSheet(10));
    EXPECT_TRUE(ownsSheet(39));
    EXPECT_FALSE(ownsSheet(20));
    EXPECT_FALSE(ownsSheet(96));
}

TEST(LineKinds, NameAndSpecificationSplitAtTheFirstSemicolon) {
    const struct {
        const char* nameSpec;
        const char* name;
        const char* specification;
    } cases[] = {
        {"配管;SGP 25A", "配管", "SGP 25A"},
        {"配管", "配管", ""},
        {";仕様", "", "仕様"},
        {"a;b;c", "a", "b;c"},
    };
    for (const auto& row : cases) {
        const auto [name, specification] = splitNameSpec(row.nameSpec);
        EXPECT_EQ(name, row.name) << row.nameSpec;
        EXPECT_EQ(specification, row.specification) << row.nameSpec;
    }
    EXPECT_EQ(joinNameSpec("配管", "SGP 25A"), "配管;SGP 25A");
}

TEST(LineKinds, RangeRowsAreTruncatedQuantities) {
    LineRecord line = newLine();
    line.netQuantity = parseNumber("3.9");
    line.submittedQuantity = parseNumber("12");
    EXPECT_EQ(rangeOf(line), std::make_pair(3, 12));
    line.netQuantity = parseNumber("-1.5");
    line.submittedQuantity = parseNumber("900000000000");
    EXPECT_EQ(rangeOf(line), std::make_pair(-1, 2147483647));
}

TEST(LineKinds, NewRecords) {
    const LineRecord line = newLine();
    EXPECT_EQ(line.sortCode, Currency::fromWhole(11999));
    EXPECT_EQ(line.kind, 10);
    EXPECT_TRUE(line.nameSpec.empty() && line.netQuantity.isZero() && line.priceKind.isZero());

    const ItemRecord item = newSheetItem();
    EXPECT_EQ(item.kind, 10);
    EXPECT_EQ(item.setAmountRounding, parseNumber("0.5"));
    EXPECT_EQ(item.setExpenseRounding, parseNumber("0.5"));
    EXPECT_EQ(item.setQuantityDecimals, parseNumber("0.5"));
    EXPECT_EQ(item.setTotalLevel, parseNumber("1"));
    EXPECT_EQ(item.setLaborRounding, parseNumber("0.5"));
    EXPECT_TRUE(item.setTotalRounding.isZero() && item.subKind.isZero() && item.name.empty());

    QuotationHeader expected;
    expected.storedYear = 36;
    expected.month = 4;
    expected.day = 1;
    expected.dataLevel = 0;
    expected.status = -1;
    expected.keta = 1;
    expected.cutLevel = parseNumber("0.5");
    EXPECT_EQ(newHeader(2024, 4, 1), expected);
}

} // namespace
} // namespace kerbina
