#include "base/file_io.h"
#include "grid/line_copy_file.h"
#include "grid/named_commands.h"
#include "grid/row_commands.h"
#include "grid_test_support.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

using testing::CommandBench;

const std::vector<std::string> kEditSteps = {"snapshot", "totals", "write"};

LineRecord named(const std::string& name, LineKind kind = 10) {
    LineRecord line;
    line.nameSpec = name + ";";
    line.kind = kind;
    return line;
}

// Lines "L1".."Ln" of kind 10.
void fillSheet(DocumentState& state, int count) {
    state.sheet = Sheet{LineRecord{}};
    for (int i = 1; i <= count; ++i) {
        state.sheet.push_back(named("L" + std::to_string(i)));
    }
}

std::string nameAt(const DocumentState& state, int row) {
    return state.sheet[static_cast<std::size_t>(row)].nameSpec;
}

TEST(RowCommands, InsertPutsEmptyLinesAtTheSelection) {
    CommandBench bench;
    fillSheet(bench.state, 10);
    const CommandResult result = insertLines(bench.context, Selection{5, 7});
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(bench.cycle.steps, kEditSteps);
    ASSERT_EQ(bench.state.lineCount(), 13);
    for (int row = 5; row <= 7; ++row) {
        EXPECT_EQ(bench.state.sheet[static_cast<std::size_t>(row)], emptyLine()) << row;
    }
    EXPECT_EQ(nameAt(bench.state, 8), "L5;");

    bench.cycle.steps.clear();
    EXPECT_FALSE(insertLines(bench.context, Selection{14, 14}).changed);
    EXPECT_TRUE(bench.cycle.steps.empty());
}

TEST(RowCommands, DeleteRemovesOnlyExistingLines) {
    CommandBench bench;
    fillSheet(bench.state, 5);
    const CommandResult result = deleteLines(bench.context, Selection{4, 9});
    EXPECT_EQ(result.selection, (Selection{4, 4}));
    EXPECT_EQ(bench.cycle.steps, kEditSteps);
    EXPECT_EQ(bench.state.lineCount(), 3);
    EXPECT_EQ(nameAt(bench.state, 3), "L3;");
}

TEST(RowCommands, EraseEmptiesInPlaceButLeavesGeneratedLines) {
    CommandBench bench;
    fillSheet(bench.state, 4);
    bench.state.sheet[2].reserved176 = Currency::fromWhole(7);
    bench.state.sheet[4].kind = 140;
    const Sheet before = bench.state.sheet;

    EXPECT_FALSE(eraseLines(bench.context, Selection{3, 4}).changed);
    EXPECT_EQ(bench.state.sheet, before);
    EXPECT_TRUE(bench.cycle.steps.empty());

    EXPECT_TRUE(eraseLines(bench.context, Selection{2, 3}).changed);
    EXPECT_EQ(bench.state.lineCount(), 4);
    EXPECT_EQ(bench.state.sheet[2].nameSpec, "");
    EXPECT_EQ(bench.state.sheet[2].kind, 0);
    EXPECT_EQ(bench.state.sheet[2].reserved176, Currency::fromWhole(7));
    EXPECT_EQ(bench.state.sheet[3], emptyLine());
    EXPECT_EQ(nameAt(bench.state, 4), "L4;");

    // The named form says why it refuses.
    runNamedCommand(bench.context, "erase", Selection{4, 4}, false);
    EXPECT_EQ(bench.host.notices,
              std::vector<std::string>{"ここでは修正できないデータが含まれています"});
}

TEST(RowCommands, MovesSwapNeighboursAndRecalculateBeforeWriting) {
    CommandBench bench;
    fillSheet(bench.state, 4);

    CommandResult result = moveLineUp(bench.context, Selection{3, 3});
    EXPECT_EQ(result.selection, (Selection{2, 2}));
    EXPECT_EQ(bench.cycle.steps, kEditSteps);
    EXPECT_EQ(nameAt(bench.state, 2), "L3;");
    EXPECT_EQ(nameAt(bench.state, 3), "L2;");

    bench.cycle.steps.clear();
    result = moveLineDown(bench.context, Selection{1, 1});
    EXPECT_EQ(result.selection, (Selection{2, 2}));
    EXPECT_EQ(bench.cycle.steps, kEditSteps);
    EXPECT_EQ(nameAt(bench.state, 1), "L3;");
    EXPECT_EQ(nameAt(bench.state, 2), "L1;");

    // "swap" copies the selected line over the row the last move took its line from.
    runNamedCommand(bench.context, "swap", Selection{4, 4}, false);
    EXPECT_EQ(nameAt(bench.state, 1), "L4;");

    bench.cycle.steps.clear();
    const Sheet before = bench.state.sheet;
    EXPECT_FALSE(moveLineUp(bench.context, Selection{1, 1}).changed);
    EXPECT_FALSE(moveLineDown(bench.context, Selection{4, 4}).changed);
    EXPECT_FALSE(moveLineUp(bench.context, Selection{5, 5}).changed);
    EXPECT_EQ(bench.state.sheet, before);
    EXPECT_TRUE(bench.cycle.steps.empty());
}

// Lines whose every field differs, so that a round trip through the copy file shows any field
// it loses.
Sheet variedLines() {
    Sheet lines{LineRecord{}};
    for (int i = 1; i <= 10; ++i) {
        LineRecord line = named("名" + std::to_string(i), i % 2 == 0 ? 20 : 10);
        line.nameSpec = "名" + std::to_string(i) + ";仕様" + std::to_string(i);
        line.laborFactor = parseNumber("0.125");
        line.sortCode = Currency::fromWhole(15000 + i);
        line.unit = "ｍ";
        line.netQuantity = parseNumber("2.5");
        line.submittedQuantity = Currency::fromWhole(i);
        line.netPrice = parseNumber("1234.5");
        line.submittedPrice = Currency::fromWhole(2000);
        line.reserved176 = Currency::fromWhole(3);
        line.netAdditionalPrice = Currency::fromWhole(4);
        line.submittedAdditionalPrice = Currency::fromWhole(5);
        line.netAmount = Currency::fromWhole(-6);
        line.submittedAmount = Currency::fromWhole(7);
        line.flag216 = 1;
        line.hiddenFlag = 2;
        line.priceKind = Currency::fromWhole(1);
        line.amountText = "一式";
        line.note = "備考" + std::to_string(i);
        line.priceCode = "P" + std::to_string(i);
        lines.push_back(line);
    }
    return lines;
}

TEST(RowCommands, CopyAndPasteRoundTripThroughTheCopyFile) {
    CommandBench bench;
    bench.state.sheet = variedLines();
    const Sheet original = bench.state.sheet;

    copyLines(bench.context, Selection{2, 5});
    const auto file = readTextLines(copyDataFile(bench.workFolder));
    ASSERT_EQ(file.size(), 5u);
    EXPECT_EQ(file[0], "[Version]=2.00");
    EXPECT_EQ(file[1].substr(0, 2), "0;");
    EXPECT_EQ(file[1].back(), ';');
    EXPECT_TRUE(bench.cycle.steps.empty());

    const CommandResult inserted = pasteLinesInserting(bench.context, Selection{3, 8});
    EXPECT_EQ(inserted.selection, (Selection{3, 3}));
    EXPECT_EQ(bench.cycle.steps, kEditSteps);
    ASSERT_EQ(bench.state.lineCount(), 14);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bench.state.sheet[static_cast<std::size_t>(3 + i)],
                  original[static_cast<std::size_t>(2 + i)])
            << "pasted row " << 3 + i;
    }
    EXPECT_EQ(bench.state.sheet[7], original[3]);

    // Overwriting at row 13 of 14 lines overwrites two lines and appends two.
    pasteLinesOverwriting(bench.context, Selection{13, 13});
    ASSERT_EQ(bench.state.lineCount(), 16);
    EXPECT_EQ(bench.state.sheet[13], original[2]);
    EXPECT_EQ(bench.state.sheet[16], original[5]);

    // Past the end, empty lines fill the gap.
    bench.state.sheet = variedLines();
    pasteLinesInserting(bench.context, Selection{13, 13});
    ASSERT_EQ(bench.state.lineCount(), 16);
    EXPECT_EQ(bench.state.sheet[11], emptyLine());
    EXPECT_EQ(bench.state.sheet[13], original[2]);
}

TEST(RowCommands, PasteIgnoresMissingOrForeignFiles) {
    CommandBench bench;
    fillSheet(bench.state, 3);
    const Sheet before = bench.state.sheet;
    EXPECT_FALSE(pasteLinesInserting(bench.context, Selection{1, 1}).changed);
    writeTextLines(copyDataFile(bench.workFolder), {"[Version]=1.00", "0;x;;0;0;;30;"});
    EXPECT_FALSE(pasteLinesInserting(bench.context, Selection{1, 1}).changed);
    EXPECT_EQ(bench.state.sheet, before);
    // A line whose numbers cannot be read is left out; the others are pasted.
    writeTextLines(copyDataFile(bench.workFolder),
                   {"[Version]=2.00", "0;a;;abc;0;;30;", "0;b;;0;0;;30;"});
    EXPECT_TRUE(pasteLinesInserting(bench.context, Selection{1, 1}).changed);
    EXPECT_EQ(bench.state.lineCount(), 4);
    EXPECT_EQ(nameAt(bench.state, 1), "b;");
}

TEST(ClipboardText, SplitsOnEveryLineEnd) {
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\r\rb", {"a", "", "b"}},
        {"\n", {""}},
        {"a\n\r\nb\r", {"a", "", "b"}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(splitClipboardText(row.text), row.lines) << row.text;
    }
}

TEST(ClipboardText, PastesCommentLinesAndKeepsLineTexts) {
    CommandBench bench;
    fillSheet(bench.state, 3);
    LineRecord priced = named("管", 10);
    priced.submittedPrice = Currency::fromWhole(1500);
    const std::string lineText = copyFileLineText(priced, Currency::fromWhole(10));

    const CommandResult result = pasteClipboardText(bench.context, Selection{2, 3},
                                                    "配管工事\r\nA;B;C\n" + lineText + "\r\n");
    EXPECT_EQ(result.selection, (Selection{2, 2}));
    EXPECT_EQ(bench.cycle.steps, kEditSteps);
    ASSERT_EQ(bench.state.lineCount(), 6);
    EXPECT_EQ(bench.state.sheet[2].kind, 30);
    EXPECT_EQ(nameAt(bench.state, 2), "配管工事;");
    EXPECT_EQ(bench.state.sheet[2].sortCode, Currency());
    EXPECT_EQ(bench.state.sheet[3].kind, 30);
    EXPECT_EQ(nameAt(bench.state, 3), "A；B；C;");
    EXPECT_EQ(bench.state.sheet[4], priced);
    EXPECT_EQ(nameAt(bench.state, 5), "L2;");

    bench.cycle.steps.clear();
    EXPECT_FALSE(pasteClipboardText(bench.context, Selection{1, 1}, "").changed);
    EXPECT_TRUE(bench.cycle.steps.empty());
}

TEST(SelectionCommands, GoWhereTheyName) {
    DocumentState state;
    fillSheet(state, 30);
    state.items.push_back(ItemRecord{});
    const Selection any{5, 6};
    EXPECT_EQ(selectAll(state, any, false).selection, (Selection{1, 30}));
    EXPECT_EQ(selectAll(state, any, true).selection, (Selection{1, 1}));
    EXPECT_EQ(cancelSelection(state, any, false).selection, (Selection{1, 1}));
    EXPECT_EQ(cancelSelection(state, any, true).selection, any);
    EXPECT_EQ(goToFirstLine(state, any, false).scrollTop, 1);
    const CommandResult last = goToLastLine(state, any, false);
    EXPECT_EQ(last.selection, (Selection{30, 30}));
    EXPECT_EQ(last.scrollTop, 30);

    CommandBench bench;
    fillSheet(bench.state, 30);
    const NamedCommandResult named = runNamedCommand(bench.context, "Last_Line", any, false);
    EXPECT_EQ(named.result.scrollTop, 29);
    EXPECT_EQ(runNamedCommand(bench.context, "print", any, true).windowCommand, "print");
    EXPECT_EQ(runNamedCommand(bench.context, "part_load", any, true).windowCommand, "");
    EXPECT_EQ(runNamedCommand(bench.context, "ketain", any, false).windowCommand, "");
    EXPECT_TRUE(bench.cycle.steps.empty());
}

} // namespace
} // namespace kerbina
