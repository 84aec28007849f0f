#include "base/file_io.h"
#include "money_literal.h"
#include "output/csv_import.h"
#include "recording_cycle.h"
#include "records/kinds.h"
#include "records/line_kinds.h"
#include "records/sheet_rows.h"
#include "scripted_prompt.h"
#include "temp_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

TEST(CsvImportLine, FieldsGoToTheirPlaces) {
    const LineRecord line =
        csvImportLine("  配管;SGP 25A;m;0.05;10;12;800;1000;7;30;20;注記;余り  ");
    EXPECT_EQ(line.nameSpec, "配管;SGP 25A");
    EXPECT_EQ(line.unit, "m");
    EXPECT_EQ(line.laborFactor, c("0.05"));
    EXPECT_EQ(line.netQuantity, c("10"));
    EXPECT_EQ(line.submittedQuantity, c("12"));
    EXPECT_EQ(line.netPrice, c("800"));
    EXPECT_EQ(line.submittedPrice, c("1000"));
    EXPECT_EQ(line.reserved176, c("7"));
    EXPECT_EQ(line.submittedAdditionalPrice, c("30"));
    EXPECT_EQ(line.netAdditionalPrice, c("20"));
    EXPECT_EQ(line.note, "注記");
    EXPECT_EQ(line.sortCode, c("11999"));
}

TEST(CsvImportLine, KindFollowsTheQuantities) {
    const struct {
        const char* text;
        LineKind kind;
    } cases[] = {
        {"a;;;;2;2", LineKind::WholePriced},     {"a;;;;2;2.5", LineKind::DecimalPriced},
        {"a;;;;0.1;3", LineKind::DecimalPriced}, {"a;;;;\"\";", LineKind::WholePriced},
        {"名称だけ", LineKind::WholePriced},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(csvImportLine(row.text).kind, row.kind) << row.text;
    }
    EXPECT_EQ(csvImportLine("名称だけ").nameSpec, "名称だけ;");
}

TEST(CsvImportLine, TextsAreCutToTheirFields) {
    const LineRecord line = csvImportLine(std::string(60, 'n') + ";" + std::string(60, 's') +
                                          ";メートル;;;;;;;;;" + std::string(50, 'x'));
    EXPECT_EQ(line.nameSpec.size(), 100u);
    EXPECT_EQ(line.unit, "メー");
    EXPECT_EQ(line.note, std::string(40, 'x'));
}

TEST(CsvImportLine, ANumberThatIsNoneIsAnError) {
    EXPECT_THROW(csvImportLine("a;b;m;x"), NumberFormatError);
    EXPECT_THROW(csvImportLine("a;b;m;;1,000"), NumberFormatError);
}

// A number beyond the range of an amount is refused as the field it is in, like text in a number
// field, so that the import can name the line and keep the lines above it.
TEST(CsvImportLine, ANumberTooLargeNamesItsField) {
    const struct {
        std::string text;
        const char* named;
    } cases[] = {
        {"a;b;m;;99999999999999999999", "5 番目の項目「99999999999999999999」は大きすぎます"},
        {"a;b;m;;;;;-922337203685478", "8 番目の項目「-922337203685478」は大きすぎます"},
        {"a;b;m;;;;;;;;" + std::string(40, '9'), "11 番目の項目"},
    };
    for (const auto& row : cases) {
        try {
            csvImportLine(row.text);
            ADD_FAILURE() << row.text << " was read";
        } catch (const NumberFormatError& error) {
            EXPECT_NE(std::string(error.what()).find(row.named), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(csvImportLine("a;b;m;;922337203685477").netQuantity.toString(), "922337203685477");
}

// The editor checks its rows before it writes the import file: the first row the import would
// refuse is named (counted as the editor shows its rows), and blank rows count as rows too.
TEST(CsvEditorRows, TheFirstUnreadableRowIsNamed) {
    const std::vector<std::vector<std::string>> rows{
        {"配管", "SGP", "m", "", "1", "1"},
        {},
        {"保温", "", "m", "", "x"},
        {"弁", "", "個", "", "99999999999999999999"},
    };
    const auto problem = firstUnreadableCsvEditorRow(rows);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->row, 2u);
    EXPECT_TRUE(problem->text.starts_with("3 行目を取り込めません: 5 番目の項目「x」"))
        << problem->text;
    EXPECT_EQ(firstUnreadableCsvEditorRow({rows[3]})->row, 0u);
    EXPECT_FALSE(firstUnreadableCsvEditorRow({rows[0], rows[1]}));
}

class CsvImportTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"一", "二", "三"}) {
            LineRecord line;
            line.nameSpec = std::string(name) + ";";
            state.sheet.push_back(line);
        }
    }

    // An editor that saves `lines` as the import file.
    std::function<bool()> editorSaving(std::vector<std::string> lines) {
        return [this, lines] {
            writeTextLines(csvImportFile(folder.path()), lines);
            return true;
        };
    }

    std::vector<std::string> names() const {
        std::vector<std::string> shown;
        for (std::size_t row = 1; row < state.sheet.size(); ++row) {
            shown.push_back(state.sheet[row].nameSpec);
        }
        return shown;
    }

    TempFolder folder;
    DocumentState state;
    RecordingCycle cycle;
    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    GridSession session;
    GridContext context{state, cycle, prompt, session, folder.path()};
};

TEST_F(CsvImportTest, LinesGoInAtTheSelectedRowAsOneChange) {
    const CommandResult result =
        importCsvLines(context, Selection{2, 2}, false, editorSaving({"A;a;m", "B;b;m;;1;1.5"}));
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(names(), (std::vector<std::string>{"一;", "A;a", "B;b", "二;", "三;"}));
    EXPECT_EQ(state.sheet[3].kind, LineKind::DecimalPriced);
    EXPECT_EQ(cycle.steps, (std::vector<std::string>{"snapshot", "totals", "write"}));
    EXPECT_FALSE(fs::exists(csvImportFile(folder.path())));
    EXPECT_TRUE(prompt.notices.empty());
}

TEST_F(CsvImportTest, ABadLineIsNamedAndTheLinesAboveItStay) {
    const CommandResult result =
        importCsvLines(context, Selection{1, 1}, false,
                       editorSaving({"A;;m;;1;1", "B;;m;;1;1", "C;;m;;x", "D;;m;;1;1"}));
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(names(), (std::vector<std::string>{"A;", "B;", "一;", "二;", "三;"}));
    ASSERT_EQ(prompt.notices.size(), 1u);
    EXPECT_NE(prompt.notices[0].find("3 行目"), std::string::npos) << prompt.notices[0];
    EXPECT_NE(prompt.notices[0].find("「x」"), std::string::npos) << prompt.notices[0];
    EXPECT_FALSE(fs::exists(csvImportFile(folder.path())));
}

// A number too large for an amount, or a quantity and a price whose product is, stops the import
// at its line like text in a number field: the lines above it stay and the line is named.
TEST_F(CsvImportTest, ANumberTooLargeIsNamedAndTheLinesAboveItStay) {
    const struct {
        const char* bad;
        const char* named;
    } cases[] = {
        {"C;;m;;99999999999999999999;1", "CSVデータの 3 行目を取り込めません: 5 番目の項目"},
        {"C;;m;;1;1000000000;;1000000000",
         "CSVデータの 3 行目を取り込めません: 数量と単価を掛けた金額"},
        {"C;;m;;1000000000;;1000000000",
         "CSVデータの 3 行目を取り込めません: 数量と単価を掛けた金額"},
        {"C;;m;;;1000000000;;;;1000000000",
         "CSVデータの 3 行目を取り込めません: 数量と単価を掛けた金額"},
    };
    for (const auto& row : cases) {
        prompt.notices.clear();
        const CommandResult result = importCsvLines(
            context, Selection{1, 1}, false, editorSaving({"A;;m;;1;1", "B;;m;;1;1", row.bad}));
        EXPECT_TRUE(result.changed) << row.bad;
        EXPECT_EQ(names(), (std::vector<std::string>{"A;", "B;", "一;", "二;", "三;"})) << row.bad;
        ASSERT_EQ(prompt.notices.size(), 1u) << row.bad;
        EXPECT_TRUE(prompt.notices[0].starts_with(row.named)) << prompt.notices[0];
        EXPECT_NE(prompt.notices[0].find("2 行目までを取り込みました。"), std::string::npos);
        state.sheet.erase(state.sheet.begin() + 1, state.sheet.begin() + 3);
    }
}

// An import file that is a FIFO is refused at once instead of freezing the window.
TEST_F(CsvImportTest, AnImportFileThatIsAFifoIsRefused) {
    const fs::path file = csvImportFile(folder.path());
    const auto editorLeavingAFifo = [&file] {
        return std::system(("mkfifo '" + file.string() + "'").c_str()) == 0;
    };
    EXPECT_THROW(importCsvLines(context, Selection{1, 1}, false, editorLeavingAFifo), FileError);
    EXPECT_EQ(names(), (std::vector<std::string>{"一;", "二;", "三;"}));
}

// Many lines go in at once with the ranges below them still pointing at their lines.
TEST_F(CsvImportTest, ManyLinesGoInAsOneBlockAndRangesFollow) {
    LineRecord range;
    range.nameSpec = "計;";
    range.kind = LineKind::RangeSum;
    range.netQuantity = c("2");
    range.submittedQuantity = c("3");
    state.sheet.push_back(range);
    std::vector<std::string> texts;
    for (int n = 0; n < 1000; ++n) {
        texts.push_back("L" + std::to_string(n) + ";;m;;1;1");
    }
    importCsvLines(context, Selection{2, 2}, false, editorSaving(texts));
    ASSERT_EQ(state.lineCount(), 1004);
    EXPECT_EQ(state.sheet[2].nameSpec, "L0;");
    EXPECT_EQ(state.sheet[1001].nameSpec, "L999;");
    EXPECT_EQ(state.sheet[1002].nameSpec, "二;");
    EXPECT_EQ(rangeOf(state.sheet[1004]), std::make_pair(1002, 1003));
}

TEST_F(CsvImportTest, ABadFirstLineChangesNothing) {
    const CommandResult result =
        importCsvLines(context, Selection{1, 1}, false, editorSaving({"A;;m;abc"}));
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(names(), (std::vector<std::string>{"一;", "二;", "三;"}));
    ASSERT_EQ(prompt.notices.size(), 1u);
    EXPECT_NE(prompt.notices[0].find("1 行目"), std::string::npos);
}

TEST_F(CsvImportTest, AnEditorClosedWithoutSavingImportsNothing) {
    // A file left over from an earlier import must not come in again.
    writeTextLines(csvImportFile(folder.path()), {"古い;;m;;1;1"});
    const CommandResult result =
        importCsvLines(context, Selection{1, 1}, false, [] { return true; });
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(names(), (std::vector<std::string>{"一;", "二;", "三;"}));
    EXPECT_EQ(cycle.steps, std::vector<std::string>{"snapshot"});
}

TEST_F(CsvImportTest, ASelectionBelowTheSheetIsReachedWithBlankLines) {
    importCsvLines(context, Selection{6, 6}, false, editorSaving({"A;;m;;1;1"}));
    EXPECT_EQ(names(), (std::vector<std::string>{"一;", "二;", "三;", "", "", "A;"}));
    EXPECT_EQ(state.sheet[4].kind, LineKind::WholePriced);
    EXPECT_EQ(state.sheet[5].kind, LineKind::WholePriced);
}

TEST_F(CsvImportTest, RefusedOnTheBreakdownListAndWithoutEditor) {
    bool started = false;
    importCsvLines(context, Selection{1, 1}, true, [&] { return started = true; });
    EXPECT_FALSE(started);
    importCsvLines(context, Selection{1, 1}, false, [] { return false; });
    EXPECT_EQ(prompt.notices, (std::vector<std::string>{std::string(kCsvListModeNotice),
                                                        std::string(kCsvEditorMissingNotice)}));
    EXPECT_EQ(names(), (std::vector<std::string>{"一;", "二;", "三;"}));
}

} // namespace
} // namespace kerbina
