#include "grid/bulk_edits.h"
#include "grid_test_support.h"
#include "money_literal.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

using testing::CommandBench;

const Currency kHalfUp = c("0.5");
const Currency kUp = c("0.9");
const Currency kDown = c("0");

LineRecord line(LineKind kind, const char* nameSpec, const char* netQuantity = "1",
                const char* submittedQuantity = "1", const char* netPrice = "0",
                const char* submittedPrice = "0") {
    LineRecord l = newLine();
    l.kind = kind;
    l.nameSpec = nameSpec;
    l.netQuantity = c(netQuantity);
    l.submittedQuantity = c(submittedQuantity);
    l.netPrice = c(netPrice);
    l.submittedPrice = c(submittedPrice);
    return l;
}

CommandBench benchWith(std::vector<LineRecord> lines) {
    CommandBench bench;
    bench.state.sheet = Sheet{LineRecord{}};
    bench.state.sheet.insert(bench.state.sheet.end(), lines.begin(), lines.end());
    return bench;
}

TEST(BulkEdits, FactorsAndSignificantDigits) {
    const struct {
        FactorTarget target;
        Currency offset;
        const char* factor;
        LineRecord line;
        const char* submittedPrice;
        const char* submittedQuantity;
    } cases[] = {
        {FactorTarget::SubmittedPriceFromSubmitted, kHalfUp, "1.05",
         line(10, "a", "1", "1", "0", "1234"), "1296", "1"},
        {FactorTarget::SubmittedPriceFromSubmitted, kDown, "1.05",
         line(10, "a", "1", "1", "0", "1234"), "1295", "1"},
        {FactorTarget::SubmittedPriceFromSubmitted, kHalfUp, "2",
         line(50, "a", "1", "1", "0", "1234"), "1234", "1"},
        {FactorTarget::SubmittedPriceFromNet, kUp, "1.2", line(10, "a", "1", "1", "1000", "0"),
         "1200", "1"},
        {FactorTarget::SubmittedQuantityFromNet, kUp, "1", line(20, "a", "2.05", "0"), "0", "2"},
        {FactorTarget::SubmittedQuantityFromNet, kUp, "1", line(20, "a", "2.5", "0"), "0", "3"},
        {FactorTarget::SubmittedQuantityFromSubmitted, kHalfUp, "1.5", line(10, "a", "1", "3"), "0",
         "5"},
    };
    for (const auto& row : cases) {
        CommandBench bench = benchWith({row.line});
        multiplyByFactor(bench.context, Selection{1, 5}, row.target, c(row.factor), row.offset);
        EXPECT_EQ(bench.state.sheet[1].submittedPrice, c(row.submittedPrice)) << row.factor;
        EXPECT_EQ(bench.state.sheet[1].submittedQuantity, c(row.submittedQuantity)) << row.factor;
    }

    CommandBench bench =
        benchWith({line(10, "a", "1", "1", "7", "123456"), line(10, "b", "1", "1", "7", "1234.5"),
                   line(10, "c", "1", "1", "7", "950")});
    const CommandResult result = keepSignificantDigits(bench.context, Selection{1, 3}, 3, kHalfUp);
    EXPECT_EQ(bench.state.sheet[1].submittedPrice, c("123000"));
    EXPECT_EQ(bench.state.sheet[2].submittedPrice, c("1000")); // "1234.5" has six characters
    EXPECT_EQ(bench.state.sheet[3].submittedPrice, c("950"));
    EXPECT_EQ(bench.state.sheet[1].netPrice, c("7"));
    EXPECT_EQ(result.selection, (Selection{1, 1}));
    EXPECT_EQ(bench.cycle.steps, (std::vector<std::string>{"snapshot", "totals", "write"}));
}

TEST(BulkEdits, WholeQuantitiesAndTheSum) {
    CommandBench bench =
        benchWith({line(21, "a", "2.7", "3.2"), line(30, "b", "0", "0"), line(93, "c", "1", "2")});
    EXPECT_EQ(quantitySumReport(bench.state, Selection{1, 1}),
              "■数量集計結果\r\n仕切数量:2.7\r\n提出数量:3.2");
    makeQuantitiesWhole(bench.context, Selection{1, 9}, kDown);
    EXPECT_EQ(bench.state.sheet[1].kind, 11);
    EXPECT_EQ(bench.state.sheet[1].netQuantity, c("2"));
    EXPECT_EQ(bench.state.sheet[1].submittedQuantity, c("3"));
    EXPECT_EQ(bench.state.sheet[2].kind, 20);
    EXPECT_EQ(bench.state.sheet[3].kind, 93);
}

TEST(BulkEdits, NameAndSpecificationTexts) {
    const struct {
        std::function<CommandResult(testing::CommandBench&)> command;
        const char* before;
        const char* after;
    } cases[] = {
        {[](CommandBench& b) {
             return splitAtFirstBlank(b.context, Selection{1, 1});
         },
         "ケーブル CV 2sq", "ケーブル ;CV 2sq"},
        {[](CommandBench& b) {
             return splitAtFirstBlank(b.context, Selection{1, 1});
         },
         "配管;SGP 20A", "配管SGP ;20A"},
        {[](CommandBench& b) {
             return splitAtFirstBlank(b.context, Selection{1, 1});
         },
         "継手", "継手"},
        {[](CommandBench& b) {
             return removeBlanksBeforeSpecification(b.context, Selection{1, 1});
         },
         "弁;\u3000 10K  JIS", "弁;10K\u3000JIS"},
        {[](CommandBench& b) {
             return removeTextFromNames(b.context, Selection{1, 1}, "SUS");
         },
         "SUS管;SUS304", "管;304"},
        {[](CommandBench& b) {
             return prefixNames(b.context, Selection{1, 1}, "新設");
         },
         "配管;20A", "新設配管;20A"},
        {[](CommandBench& b) {
             return suffixSpecifications(b.context, Selection{1, 1}, "-2");
         },
         "配管;20A;", "配管;20A-2;"},
        {[](CommandBench& b) {
             return suffixSpecifications(b.context, Selection{1, 1}, "-2");
         },
         "配管", "配管-2"},
        {[](CommandBench& b) {
             return moveNamesToSpecifications(b.context, Selection{1, 1});
         },
         "バルブ;10K", ";バルブ10K"},
        {[](CommandBench& b) {
             return moveSpecificationsToNames(b.context, Selection{1, 1});
         },
         "バルブ;10K;x", "バルブ10K"},
    };
    for (const auto& row : cases) {
        CommandBench bench = benchWith({line(10, row.before)});
        EXPECT_TRUE(row.command(bench).changed) << row.before;
        EXPECT_EQ(bench.state.sheet[1].nameSpec, row.after) << row.before;
    }

    CommandBench bench = benchWith({line(10, "a"), line(30, "b")});
    setUnits(bench.context, Selection{1, 5}, "ｾｯﾄ超過");
    EXPECT_EQ(bench.state.sheet[2].unit, "ｾｯﾄ");
    EXPECT_EQ(bench.cycle.steps, (std::vector<std::string>{"snapshot", "write"}));
}

} // namespace
} // namespace kerbina
