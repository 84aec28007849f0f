#include "records/kinds.h"

#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

namespace kerbina {
namespace {

std::vector<int> members(const std::function<bool(int)>& inSet) {
    std::vector<int> found;
    for (int kind = -5; kind <= 300; ++kind) {
        if (inSet(kind)) {
            found.push_back(kind);
        }
    }
    return found;
}

// The kinds first..last of each pair, in order.
std::vector<int> kindsIn(std::initializer_list<std::pair<int, int>> ranges) {
    std::vector<int> kinds;
    for (const auto& [first, last] : ranges) {
        for (int kind = first; kind <= last; ++kind) {
            kinds.push_back(kind);
        }
    }
    return kinds;
}

// Every kind set, member by member: a kind that joins or leaves a set changes what the passes,
// the commands and the file formats do with it.
TEST(Kinds, EachSetHasExactlyItsMembers) {
    const struct {
        const char* set;
        std::function<bool(int)> inSet;
        std::vector<int> expected;
    } cases[] = {
        {"priced", isPriced,
         kindsIn({{10, 12},
                  {20, 22},
                  {110, 110},
                  {120, 120},
                  {140, 140},
                  {145, 145},
                  {150, 150},
                  {170, 170},
                  {180, 180}})},
        {"plain priced", isPlainPriced,
         kindsIn({{10, 12}, {20, 22}, {110, 110}, {120, 120}, {145, 145}, {150, 150}, {170, 170}})},
        {"reduction", isReduction, kindsIn({{11, 11}, {21, 21}})},
        {"ordinary line", isOrdinaryLine,
         kindsIn({{10, 12}, {15, 15}, {20, 22}, {25, 25}, {30, 30}})},
        {"hand priced", isHandPriced, kindsIn({{10, 12}, {20, 22}})},
        {"range", isRangeKind,
         kindsIn({{40, 40}, {50, 56}, {60, 66}, {70, 76}, {93, 94}, {193, 194}})},
        {"calculated range", isCalculatedRangeKind, kindsIn({{50, 56}, {60, 66}, {70, 76}})},
        {"range amount × rate", isRangeAmountTimesRate, kindsIn({{50, 56}})},
        {"range labour × price", isRangeLaborTimesPrice, kindsIn({{60, 66}})},
        {"range additional × rate", isRangeAdditionalTimesRate, kindsIn({{70, 76}})},
        {"range total", isRangeTotal, kindsIn({{93, 94}, {193, 194}})},
        {"hidden by a range total", mayBeHiddenByRangeTotal,
         kindsIn({{0, 0}, {10, 11}, {20, 21}, {110, 110}, {120, 120}, {145, 145}, {150, 150}})},
        {"expense", isExpense, kindsIn({{81, 84}})},
        {"welfare", isWelfare, kindsIn({{97, 98}})},
        {"whole quantity", isWholeQuantity, kindsIn({{10, 19}})},
        {"decimal quantity", isDecimalQuantity, kindsIn({{20, 29}})},
        {"decimal quantity text", hasDecimalQuantityText,
         kindsIn({{20, 22}, {25, 28}, {120, 120}, {125, 128}, {140, 140}, {145, 145}, {150, 150}})},
        {"generated", isGeneratedKind, kindsIn({{100, 300}})},
        {"owns a sheet", ownsSheet, kindsIn({{10, 10}, {30, 39}})},
        {"hierarchy parent", isHierarchyParent, kindsIn({{20, 29}})},
        {"hierarchy sheet", isHierarchySheet, kindsIn({{30, 39}})},
        {"expense item", isExpenseItem, kindsIn({{81, 84}})},
        {"left out of a small sum", isSkippedBySmallSum,
         kindsIn({{11, 29}, {95, 96}, {98, 98}, {102, 102}})},
        {"take-off line", isTakeoffLine, kindsIn({{101, 200}})},
        {"item range", hasItemRange, kindsIn({{20, 29}, {95, 95}})},
        {"list only", isListOnlyKind,
         kindsIn({{20, 29}, {81, 84}, {91, 91}, {93, 93}, {95, 96}, {101, 101}})},
        {"no data section", skipsDataSection,
         kindsIn({{20, 29}, {81, 84}, {91, 91}, {93, 93}, {95, 96}, {99, 99}})},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(members(row.inSet), row.expected) << row.set;
    }
}

TEST(Kinds, GroupFilterOfTheCalculatedRanges) {
    const struct {
        int kind;
        int group;
    } cases[] = {{40, 0}, {50, 0}, {51, 1}, {56, 6}, {57, 0}, {60, 0}, {63, 3},
                 {70, 0}, {76, 6}, {77, 0}, {93, 0}, {11, 0}, {151, 0}};
    for (const auto& row : cases) {
        EXPECT_EQ(groupFilterOf(row.kind), row.group) << row.kind;
    }
}

// A line kind and an item kind share their numbers but never stand in for each other; both are
// built from the stored numbers.
static_assert(!std::is_convertible_v<LineKind, ItemKind>);
static_assert(!std::is_convertible_v<ItemKind, LineKind>);
static_assert(std::is_convertible_v<int, LineKind> && std::is_convertible_v<int, ItemKind>);
static_assert(!std::is_convertible_v<LineKind, int> && !std::is_convertible_v<ItemKind, int>);

TEST(Kinds, HierarchyLevels) {
    const struct {
        int kind;
        int depth;
        int oneLevelUp;
    } cases[] = {{10, 0, 10}, {20, 0, 10}, {21, 1, 20}, {29, 9, 28}, {30, 0, 10},
                 {31, 1, 30}, {39, 9, 38}, {19, 0, 19}, {40, 0, 40}, {95, 0, 95}};
    for (const auto& row : cases) {
        EXPECT_EQ(hierarchyDepth(row.kind), row.depth) << row.kind;
        EXPECT_EQ(oneLevelUp(row.kind), row.oneLevelUp) << row.kind;
    }
}

} // namespace
} // namespace kerbina
