#include "base/file_io.h"
#include "costs/expense_files.h"
#include "money_literal.h"
#include "temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

void writeData(const fs::path& dataRoot, const std::string& name,
               const std::vector<std::string>& lines) {
    createFolders(dataRoot / "data");
    writeTextLines(dataRoot / "data" / name, lines);
}

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

TEST(ExpenseNames, DefaultsStandUntilAFileOverlaysThem) {
    TempFolder root;
    const ExpenseNameButtons defaults = readExpenseNames(root.path());
    EXPECT_EQ(defaults[0], (ExpenseNameButton{"消耗品雑材料", 0}));
    EXPECT_EQ(defaults[3], (ExpenseNameButton{"現場調査費", 3}));
    EXPECT_EQ(defaults[15], (ExpenseNameButton{"諸 経 費", 15}));

    std::vector<std::string> lines = {"共通仮設費;2;", "安全費;x;"};
    for (int n = 3; n <= 17; ++n) {
        lines.push_back("経費" + std::to_string(n) + ";1;");
    }
    writeData(root.path(), "KEIHI_name.DAT", lines);
    const ExpenseNameButtons read = readExpenseNames(root.path());
    EXPECT_EQ(read[0], (ExpenseNameButton{"共通仮設費", 2}));
    EXPECT_EQ(read[1], (ExpenseNameButton{"安全費", 0}));  // a target that is no number
    EXPECT_EQ(read[15], (ExpenseNameButton{"経費16", 1})); // the seventeenth line is ignored
}

// The file is found in whatever case it was written and written back under that name, so the
// names registered are the names read at the next showing.
TEST(ExpenseNames, AreFoundWithoutRegardToCaseAndWrittenBackUnderTheNameFound) {
    TempFolder root;
    writeData(root.path(), "KEIHI_name.DAT", {"旧名;1;"});
    ExpenseNameButtons buttons = readExpenseNames(root.path());
    buttons[0] = {"新名", 3};
    writeExpenseNames(root.path(), buttons);

    EXPECT_EQ(filesIn(root.path() / "data"), std::vector<std::string>{"KEIHI_name.DAT"});
    EXPECT_EQ(readExpenseNames(root.path()), buttons);
    const std::vector<std::string> written = readTextLines(root.path() / "data" / "KEIHI_name.DAT");
    ASSERT_EQ(written.size(), 16U);
    EXPECT_EQ(written[0], "新名;3;");
    EXPECT_EQ(written[4], "諸 経 費;4;");
}

TEST(ExpenseNames, ANewFileTakesTheRegistrationsName) {
    TempFolder root;
    writeExpenseNames(root.path(), defaultExpenseNames());
    EXPECT_EQ(filesIn(root.path() / "data"), std::vector<std::string>{"keihi_name.dat"});
}

// Rates keep their decimals both ways; damaged fields read as the safe values.
TEST(ExpensePattern, ReadsRatesWithDecimalsAndMendsDamagedFields) {
    TempFolder root;
    writeData(root.path(), "KEIHI_03.DAT",
              {"現場管理費;管理;％;2.5;3.75;83;", "運搬費;;式;abc;5;7;", "雑費;雑;式;;;"});
    const auto lines = readExpensePattern(root.path(), 3);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 3U);
    EXPECT_EQ((*lines)[0],
              (ExpensePatternLine{"現場管理費", "管理", "％", c("2.5"), c("3.75"), 83}));
    EXPECT_EQ((*lines)[1], (ExpensePatternLine{"運搬費", "", "式", c("0"), c("5"), 81}));
    EXPECT_EQ((*lines)[2], (ExpensePatternLine{"雑費", "雑", "式", c("0"), c("0"), 81}));
    EXPECT_EQ(patternButtonCaption(lines), "管理(3.75%) 雑(%) ");

    EXPECT_FALSE(readExpensePattern(root.path(), 4));
    EXPECT_EQ(patternButtonCaption(readExpensePattern(root.path(), 4)), "");
}

TEST(ExpensePattern, EditorRowsAreWrittenUnderTheNameFoundAndReadBackAlike) {
    TempFolder root;
    writeData(root.path(), "Keihi_01.Dat", {"old;;式;1;1;81;"});
    std::vector<ExpensePatternLine> rows(kExpensePatternRows, emptyPatternRow());
    rows[0] = {"現場管理費", "管理", "％", c("2.5"), c("10"), 84};
    writeExpensePattern(root.path(), 1, rows);

    EXPECT_EQ(filesIn(root.path() / "data"), std::vector<std::string>{"Keihi_01.Dat"});
    const std::vector<std::string> written = readTextLines(root.path() / "data" / "Keihi_01.Dat");
    ASSERT_EQ(written.size(), 10U);
    EXPECT_EQ(written[0], "現場管理費;管理;％;2.5;10;84;");
    EXPECT_EQ(written[9], ";;式;;;81;");
    EXPECT_EQ(readExpensePattern(root.path(), 1), rows);
}

TEST(ExpenseFiles, ASeparatorInAStoredTextIsRefused) {
    EXPECT_FALSE(separatorRefusal("現場管理費"));
    EXPECT_EQ(separatorRefusal("現場;管理費"), "「;」は入力できません。");
}

} // namespace
} // namespace kerbina
