#include "grid/cell_entry.h"
#include "money_literal.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

TEST(CellEntry, WhichCellsTakeTyping) {
    DocumentState state;
    state.separateNameSpec = true;
    state.sheet = Sheet{LineRecord{}, newLine(), newLine()};
    state.sheet[2].kind = 95; // a small sum
    DisplayOptions options;
    const std::optional<CellField> separated[] = {
        std::nullopt, CellField::Name, CellField::Specification, std::nullopt,
        std::nullopt, CellField::Unit, CellField::Quantity,      CellField::Price,
        std::nullopt, CellField::Note,
    };
    for (int column = 0; column < 10; ++column) {
        EXPECT_EQ(cellFieldOf(state, options, column), separated[column]) << column;
    }
    EXPECT_TRUE(isCellEditable(state, options, 1, 1));
    EXPECT_FALSE(isCellEditable(state, options, 2, 1)); // structure lines keep their editors
    EXPECT_TRUE(isCellEditable(state, options, 9, 7));  // a row past the end becomes a line
    // Letters typed on text cells are text; on the others they are left to the row commands.
    const bool textCells[] = {false, true, true, false, false, true, false, false, false, true};
    for (int column = 0; column < 10; ++column) {
        EXPECT_EQ(isTextCell(state, options, 1, column), textCells[column]) << column;
        EXPECT_EQ(isTextCell(state, options, 9, column), textCells[column]) << column;
    }
    EXPECT_FALSE(isTextCell(state, options, 2, 1));
    options.additionalView = true;
    EXPECT_FALSE(isCellEditable(state, options, 1, 7));
    options = DisplayOptions{};
    options.listMode = true;
    EXPECT_FALSE(isCellEditable(state, options, 1, 1));
}

TEST(CellEntry, TypedTextsMakeTheLine) {
    DocumentState state;
    state.separateNameSpec = true;
    state.currentSheetNumber = 2;
    state.sheet = Sheet{LineRecord{}};
    DisplayOptions options;
    // A name on an empty row: a comment line.
    EntryOutcome outcome = typedCellEntry(state, options, 1, 1, "鋼管");
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->kind, 30);
    EXPECT_EQ(outcome.message->mark, 2);

    LineRecord line = newLine();
    line.nameSpec = "鋼管;SGP";
    line.unit = "ｍ";
    line.netQuantity = line.submittedQuantity = c("2");
    line.netPrice = c("1000");
    line.submittedPrice = c("1200");
    state.sheet.push_back(line);
    // A quantity goes to both sides while they agree; a price to the side shown.
    outcome = typedCellEntry(state, options, 1, 6, "12.5");
    EXPECT_EQ(outcome.message->netQuantity, c("12.5"));
    EXPECT_EQ(outcome.message->submittedQuantity, c("12.5"));
    EXPECT_EQ(outcome.message->kind, 20);
    outcome = typedCellEntry(state, options, 1, 7, "1,500");
    EXPECT_EQ(outcome.message->submittedPrice, c("1500"));
    EXPECT_EQ(outcome.message->netPrice, c("1000"));
    options.netView = true;
    EXPECT_EQ(typedCellEntry(state, options, 1, 7, "900").message->netPrice, c("900"));
    EXPECT_EQ(cellEditText(state, options, 1, 7), "1000");

    EXPECT_EQ(typedCellEntry(state, options, 1, 6, "12a").refusal,
              "数値を正しく入力してください。");
    EXPECT_EQ(typedCellEntry(state, options, 1, 9, "a;b").refusal,
              "名称、仕様に\";\"は使用できません。");
    EXPECT_EQ(typedCellEntry(state, options, 1, 6, "-3").refusal,
              "減額機能を使用し、－抜きで入力して下さい。");
}

} // namespace
} // namespace kerbina
