#include "base/file_io.h"
#include "grid/column_layout.h"
#include "scripted_prompt.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace kerbina {
namespace {

class ColumnLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::path(::testing::TempDir()) /
                ("layout_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "conf");
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
};

TEST_F(ColumnLayoutTest, DefaultsAreSharesOfTheClientWidth) {
    EXPECT_EQ(defaultColumnLayout(GridLayout::SheetCombined, 1001).widths,
              (std::vector<int>{30, 400, 50, 30, 40, 80, 100, 100, 150}));
    EXPECT_EQ(defaultColumnLayout(GridLayout::SheetSeparated, 1000).widths,
              (std::vector<int>{30, 200, 200, 50, 30, 40, 80, 100, 100, 150}));
    EXPECT_EQ(defaultColumnLayout(GridLayout::ItemList, 1000).widths,
              (std::vector<int>{30, 30, 300, 100, 100, 100, 100, 270}));
}

TEST_F(ColumnLayoutTest, EachLayoutKeepsItsOwnFile) {
    ColumnLayout combined{{30, 1, 2, 3, 4, 5, 6, 7, 8}, 120, 340};
    ColumnLayout separated{{30, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 100, 200};
    saveColumnLayout(root_, GridLayout::SheetCombined, combined);
    saveColumnLayout(root_, GridLayout::SheetSeparated, separated);
    EXPECT_EQ(loadColumnLayout(root_, GridLayout::SheetCombined, 1000), combined);
    EXPECT_EQ(loadColumnLayout(root_, GridLayout::SheetSeparated, 1000), separated);
    EXPECT_EQ(readTextLines(root_ / "conf" / "KRB_display_1.ini").front(), "[Version]=2.00");

    EXPECT_EQ(resetColumnLayout(root_, GridLayout::SheetCombined, 1000),
              defaultColumnLayout(GridLayout::SheetCombined, 1000));
    EXPECT_FALSE(fs::exists(root_ / "conf" / "KRB_display_1.ini"));
    EXPECT_EQ(readColumnLayout(root_, GridLayout::SheetSeparated), separated);

    // Saving the widths keeps the splitter positions it is not given (they were written as 0).
    saveColumnLayout(root_, GridLayout::SheetSeparated,
                     ColumnLayout{{30, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 150, std::nullopt});
    EXPECT_EQ(readColumnLayout(root_, GridLayout::SheetSeparated)->splitter2, 150);
    EXPECT_EQ(readColumnLayout(root_, GridLayout::SheetSeparated)->splitter3, 200);
    saveColumnLayout(root_, GridLayout::SheetCombined, ColumnLayout{{30}, std::nullopt, 5});
    EXPECT_EQ(readColumnLayout(root_, GridLayout::SheetCombined)->splitter2, 0);
    EXPECT_EQ(readColumnLayout(root_, GridLayout::SheetCombined)->splitter3, 5);
}

TEST_F(ColumnLayoutTest, UnreadableWidthsBecomeFiftyAndNamesIgnoreCase) {
    writeTextLines(root_ / "conf" / "krb_DISPLAY_3.INI",
                   {"[Version]=2.00", "[StrColGrid1_Colwidths[0]]=31",
                    "[StrColGrid1_Colwidths[1]]=abc", "[StrColGrid1_Colwidths[2]]=",
                    "[StrColGrid1_Colwidths[3]]=12.5", "[StrColGrid1_Colwidths[4]]= 77 ",
                    "[StrColGrid1_Colwidths[5]]=-3", "[StrColGrid1_Colwidths[6]]=2"});
    const auto layout = readColumnLayout(root_, GridLayout::ItemList);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->widths, (std::vector<int>{31, 50, 50, 50, 77, -3, 2, 50}));
    EXPECT_EQ(layout->splitter2, std::nullopt);

    ScriptedPrompt host = ScriptedPrompt::answering(false);
    saveItemListColumnLayout(root_, ColumnLayout{{1, 2, 3, 4, 5, 6, 7, 8, 9}, {}, {}}, host);
    ASSERT_FALSE(host.notices.empty());
    EXPECT_EQ(host.notices.back(), "セル幅の設定を保存しました。");
    // The existing file is rewritten under its own spelling; column 8 is not stored.
    EXPECT_EQ(readTextLines(root_ / "conf" / "krb_DISPLAY_3.INI").size(), 9u);
    EXPECT_FALSE(fs::exists(root_ / "conf" / "KRB_display_3.ini"));
}

// The default breakdown-list widths add up to more than the grid: the name column gives way, so
// 労務費 and 備考 stay in view; a wider window gives its width to the name column.
TEST_F(ColumnLayoutTest, TheNameColumnTakesTheWidthTheOthersLeave) {
    struct Case {
        GridLayout layout;
        std::vector<int> widths;
        int clientWidth;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {GridLayout::SheetCombined,
         {30, 400, 50, 30, 40, 80, 100, 100, 150},
         1000,
         {30, 420, 50, 30, 40, 80, 100, 100, 150}},
        {GridLayout::SheetSeparated,
         {30, 200, 200, 50, 30, 40, 80, 100, 100, 150},
         1500,
         {30, 720, 200, 50, 30, 40, 80, 100, 100, 150}},
        {GridLayout::ItemList,
         {30, 30, 300, 100, 100, 100, 100, 270, 100},
         1000,
         {30, 30, 170, 100, 100, 100, 100, 270, 100}},
        {GridLayout::ItemList,
         {30, 30, 300, 100, 100, 100, 100, 270, 100},
         800,
         {30, 30, 80, 100, 100, 100, 100, 270, 100}},
        {GridLayout::SheetCombined, {30}, 1000, {30}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fittedWidths(c.layout, c.widths, c.clientWidth), c.expected) << c.clientWidth;
    }
}

} // namespace
} // namespace kerbina
