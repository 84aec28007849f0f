#include "record_builders.h"
#include "records/line_kinds.h"
#include "records/sheet_rows.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace kerbina {
namespace {

std::pair<int, int> rangeOfKind(const Sheet& sheet, LineKind kind) {
    for (std::size_t i = 1; i < sheet.size(); ++i) {
        if (sheet[i].kind == kind) {
            return rangeOf(sheet[i]);
        }
    }
    ADD_FAILURE() << "no line of kind " << kind;
    return {};
}

TEST(RangeUpkeep, EveryRangeKindFollowsInsertsAndRemovals) {
    enum class Change { InsertThree, InsertStructureLine, Remove };
    const struct {
        Change change;
        int row;
        std::pair<int, int> before;
        std::pair<int, int> after;
    } cases[] = {
        {Change::InsertThree, 5, {5, 9}, {8, 12}},
        {Change::InsertThree, 5, {2, 4}, {2, 7}}, // the empty lines below the range join it
        {Change::InsertThree, 5, {2, 3}, {2, 3}},
        {Change::InsertThree, 5, {3, 6}, {3, 9}},
        {Change::InsertStructureLine, 5, {2, 4}, {2, 4}}, // a sum line below stays outside
        {Change::InsertStructureLine, 5, {3, 6}, {3, 7}},
        {Change::InsertStructureLine, 5, {5, 9}, {6, 10}},
        {Change::Remove, 5, {5, 9}, {5, 8}},
        {Change::Remove, 5, {6, 9}, {5, 8}},
        {Change::Remove, 5, {2, 4}, {2, 4}},
        {Change::Remove, 5, {5, 5}, {5, 4}},
    };
    for (const int kind : {40, 50, 56, 60, 66, 70, 76, 93, 94, 193, 194}) {
        for (const auto& row : cases) {
            Sheet sheet = numberedLines(11);
            sheet.push_back(rangeLine(kind, row.before.first, row.before.second));
            switch (row.change) {
            case Change::InsertThree:
                insertEmptyLines(sheet, row.row, 3);
                break;
            case Change::InsertStructureLine:
                insertEmptyLine(sheet, row.row, RangeJoin::StayOutside);
                break;
            case Change::Remove:
                removeLine(sheet, row.row);
                break;
            }
            EXPECT_EQ(rangeOfKind(sheet, kind), row.after)
                << "kind " << kind << " range " << row.before.first << ".." << row.before.second
                << " change at " << row.row;
        }
    }
}

// Only range lines hold rows in their quantities: on every other line (kinds 57..59, 67..69 and
// 77..79 are no range kinds either) an insert or a removal must leave the quantities alone.
TEST(RangeUpkeep, LinesOfOtherKindsKeepTheirQuantities) {
    for (const int kind : {10, 20, 30, 57, 59, 67, 77, 79, 81, 95, 97, 100, 140}) {
        for (const bool insert : {true, false}) {
            Sheet sheet = numberedLines(11);
            sheet.push_back(rangeLine(kind, 5, 9));
            if (insert) {
                insertEmptyLines(sheet, 3, 2);
            } else {
                removeLine(sheet, 3);
            }
            EXPECT_EQ(rangeOf(sheet.back()), std::make_pair(5, 9))
                << "kind " << kind << (insert ? " insert" : " remove");
        }
    }
}

// A damaged file may hold range bounds beyond the int range; inserting and removing rows moves
// them by exactly one instead of wrapping them around or cutting them to the int range.
TEST(RangeUpkeep, BoundsBeyondTheIntRangeMoveByOne) {
    const std::int64_t first = 3'000'000'000;
    const std::int64_t last = 4'000'000'000;
    for (const bool insert : {true, false}) {
        Sheet sheet = numberedLines(11);
        LineRecord range = namedLine("range", LineKind::RangeSum);
        range.netQuantity = Currency::fromWhole(first);
        range.submittedQuantity = Currency::fromWhole(last);
        sheet.push_back(range);
        if (insert) {
            insertEmptyLine(sheet, 2, RangeJoin::JoinRangeAbove);
        } else {
            removeLine(sheet, 2);
        }
        const std::int64_t step = insert ? 1 : -1;
        EXPECT_EQ(sheet.back().netQuantity, Currency::fromWhole(first + step));
        EXPECT_EQ(sheet.back().submittedQuantity, Currency::fromWhole(last + step));
    }
}

} // namespace
} // namespace kerbina
