#include "base/file_io.h"
#include "money_literal.h"
#include "output/csv_import.h"
#include "records/kinds.h"
#include "records/sheet_rows.h"
#include "temp_folder.h"

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
        int kind;
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

// The steps of the edit cycle in the order the import takes them.
class RecordingCycle : public EditCycle {
public:
    std::vector<std::string> steps;
    void takeSheetSnapshot() override { steps.push_back("snapshot"); }
    void recalculate(bool) override { steps.push_back("totals"); }
    void writeSheet() override { steps.push_back("write"); }
    void takeListSnapshot() override {}
    void writeList() override {}
    void reloadSheet() override {}
    bool undo(bool) override { return false; }
};

class NoticeKeeper : public QuietPrompt {
public:
    std::vector<std::string> notices;
    void notify(const std::string& text) override { notices.push_back(text); }
};

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
    NoticeKeeper prompt;
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
