#include "base/file_io.h"
#include "catalogue_fixture.h"
#include "prices/lookup_panel.h"
#include "prices/price_editor.h"
#include "prices/price_histories.h"
#include "record_builders.h"
#include "recording_cycle.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

constexpr std::chrono::year_month_day kToday{std::chrono::year{2026}, std::chrono::December,
                                             std::chrono::day{11}};

// What the editor's fields hold for one price.
PriceRecord fields(const std::string& name, int kindChoice) {
    PriceRecord price;
    price.category = "配管";
    price.name = name;
    price.specification = "20A";
    price.unit = "ｍ";
    price.kind = flagChoiceToKind(kindChoice).code();
    price.netPrice = c("800.5");
    price.submittedPrice = c("1234.5");
    price.listPrice = c("1500");
    price.netAdditionalPrice = c("10");
    price.submittedAdditionalPrice = c("12");
    price.laborFactor = c("0.25");
    price.amountText = "御支給品";
    return price;
}

// The editor's choices and search texts.
PriceEditorFilter chosen(const char* category, const char* name = "", const char* search = "",
                         const char* searchSpecification = "") {
    return PriceEditorFilter{category, name, search, searchSpecification};
}

// A sheet of `count` named lines, and what a command needs around it.
struct SheetBench {
    explicit SheetBench(int count) {
        state.sheet = Sheet{LineRecord{}};
        for (int row = 1; row <= count; ++row) {
            state.sheet.push_back(namedLine("行" + std::to_string(row)));
        }
        state.currentSheetNumber = 2;
    }
    DocumentState state;
    RecordingCycle cycle;
    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    GridSession session;
    TempFolder folder;
    GridContext context{state, cycle, prompt, session, folder.path()};
};

TEST(FlagChoice, StoresAndShowsTheKindsOfTheChoice) {
    const std::pair<int, int> cases[] = {{0, 10}, {1, 20}, {2, 11}, {3, 21}, {4, 15},
                                         {5, 25}, {6, 30}, {7, 12}, {8, 22}};
    for (const auto& [choice, kind] : cases) {
        EXPECT_EQ(flagChoiceToKind(choice).code(), kind) << choice;
        EXPECT_EQ(kindToFlagChoice(kind), choice) << kind;
    }
    EXPECT_EQ(kindToFlagChoice(50), 0); // a kind the choice does not hold shows the first
    EXPECT_EQ(kindToFlagChoice(101), 0);
    EXPECT_EQ(flagChoiceToKind(9).code(), 10);
}

// "新規追加" with "減   額(数量小数)" stores FLAG 21, which shows that choice again; "修正登録"
// zeroes the prices the editor has no field for; "削除" removes only a row of its group.
TEST_F(CatalogueTest, TheEditorAddsUpdatesAndDeletesRowsOfItsGroup) {
    ASSERT_EQ(kFlagChoiceCaptions[3], "減   額(数量小数)");
    ASSERT_TRUE(addCataloguePrice(database, PriceGroup::Code, fields("鋼管\r\n", 3), kToday));
    const SqlRows stored =
        database.queryRows("SELECT ID,FLAG,ITEMNAME,Fixed_Price,created,modefied FROM tanka;");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].field(2), "21");
    EXPECT_EQ(stored[0].field(3), "鋼管");
    EXPECT_EQ(stored[0].field(4), "1500");
    EXPECT_EQ(stored[0].field(5), "2026/12/11");
    const std::int64_t id = std::stoll(stored[0].field(1));
    const auto shown = priceRecord(database, PriceGroup::Code, id);
    ASSERT_TRUE(shown);
    EXPECT_EQ(kindToFlagChoice(shown->kind), 3);
    EXPECT_EQ(shown->submittedPrice, c("1234.5"));

    database.execute("UPDATE tanka SET Price2=1,Price3=2,Price4=3,Price5=4,Present_Construction2=5,"
                     "Present_Construction3=6,Present_Construction4=7,Present_Construction5=8;");
    PriceRecord changed = fields("O'Brien 10%_継手", 0);
    ASSERT_TRUE(
        updateCataloguePrice(database, PriceGroup::Code, id, changed,
                             {std::chrono::year{2027}, std::chrono::January, std::chrono::day{5}}));
    EXPECT_EQ(database
                  .queryRows("SELECT Price2,Price3,Price4,Price5,Present_Construction2,"
                             "Present_Construction3,Present_Construction4,"
                             "Present_Construction5,ITEMNAME,FLAG,created,modefied FROM tanka;")[0]
                  .columns,
              (std::vector<std::string>{"0", "0", "0", "0", "0", "0", "0", "0", "O'Brien 10%_継手",
                                        "10", "2026/12/11", "2027/01/05"}));

    EXPECT_TRUE(updateCataloguePrice(database, PriceGroup::Tree, id, fields("別", 0), kToday));
    EXPECT_TRUE(deleteCataloguePrice(database, PriceGroup::Tree, id));
    EXPECT_EQ(priceRecord(database, PriceGroup::Code, id)->name, "O'Brien 10%_継手");
    EXPECT_TRUE(deleteCataloguePrice(database, PriceGroup::Code, id));
    EXPECT_FALSE(priceRecord(database, PriceGroup::Code, id));
}

// The lists follow the chosen category and name exactly and the search texts as contained texts;
// the tree editor searches name and specification apart.
TEST_F(CatalogueTest, TheEditorListsFollowChoiceAndSearch) {
    addPrice(PriceGroup::Code, "配管", "鋼管", "SGP 20A", "1200");
    addPrice(PriceGroup::Code, "配管2", "鋼管", "SUS 20A");
    addPrice(PriceGroup::Code, "器具", "便器", "20A型");
    addPrice(PriceGroup::Tree, "弁類", "仕切弁", "50A");
    addPrice(PriceGroup::Tree, "弁類", "玉形弁", "50A");
    addPrice(PriceGroup::Tree, "継手", "仕切弁", "25A");

    const auto ids = [](const std::vector<PriceEditorRow>& rows) {
        std::vector<std::int64_t> result;
        for (const PriceEditorRow& row : rows) {
            result.push_back(row.id);
        }
        return result;
    };
    const struct {
        const PriceEditorTable* table;
        PriceEditorFilter filter;
        std::vector<std::int64_t> prices;
        std::vector<std::string> categories;
        std::vector<std::string> names;
    } cases[] = {
        {&kCodePriceEditor, chosen(""), {1, 2, 3}, {"器具", "配管", "配管2"}, {"便器", "鋼管"}},
        {&kCodePriceEditor, chosen("配管"), {1}, {"器具", "配管", "配管2"}, {"鋼管"}},
        {&kCodePriceEditor,
         chosen("", "", "20A"),
         {1, 2, 3},
         {"器具", "配管", "配管2"},
         {"便器", "鋼管"}},
        {&kCodePriceEditor, chosen("", "", "便"), {3}, {"器具", "配管", "配管2"}, {"便器"}},
        {&kTreePriceEditor, chosen(""), {4, 5, 6}, {"弁類", "継手"}, {"仕切弁", "玉形弁"}},
        {&kTreePriceEditor, chosen("弁類", "仕切弁"), {4}, {"弁類", "継手"}, {"仕切弁", "玉形弁"}},
        {&kTreePriceEditor, chosen("", "", "仕切"), {4, 6}, {"弁類", "継手"}, {"仕切弁"}},
        {&kTreePriceEditor, chosen("", "", "", "25"), {6}, {"継手"}, {"仕切弁"}},
        {&kTreePriceEditor, chosen("", "", "玉", "50"), {5}, {"弁類"}, {"玉形弁"}},
        {&kTreePriceEditor, chosen("", "", "'%"), {}, {}, {}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.filter.category + "/" + test.filter.search + "/" +
                     test.filter.searchSpecification);
        EXPECT_EQ(ids(editorPrices(database, *test.table, test.filter)), test.prices);
        EXPECT_EQ(editorCategories(database, *test.table, test.filter), test.categories);
        EXPECT_EQ(editorNames(database, *test.table, test.filter), test.names);
    }
    const auto first = editorPrices(database, kCodePriceEditor, chosen("配管"));
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].submittedPrice, c("1200"));
    EXPECT_EQ(first[0].specification, "SGP 20A");
}

TEST(PriceRecordText, CarriesTheFieldsTheDataEntryDialogTakesOver) {
    const PriceRecord price = fields("鋼管", 3);
    EXPECT_EQ(priceRecordText(price), "[code];鋼管;20A;ｍ;800.5;1234.5;0;0;10;12;0.25;3;御支給品;");
    const LineEntry entry = priceRecordEntry(price);
    EXPECT_EQ(entry.flagChoice, 3);
    EXPECT_EQ(entry.submittedPrice, c("1234.5"));
    EXPECT_EQ(entry.amountText, "御支給品");
    EXPECT_EQ(entry.netQuantity, Currency());
    EXPECT_EQ(entryFromPriceRecord(priceRecordText(price)), entry);
    EXPECT_FALSE(entryFromPriceRecord("鋼管;20A;"));
}

// Three lines registered, found by the search, one put back with the quantity button "3": the
// line written equals the one registered but for its quantities.
TEST_F(CatalogueTest, RegisteredLinesComeBackByTheirSearch) {
    SheetBench bench(0);
    const auto line = [](const std::string& nameSpec, const char* price) {
        LineRecord made = newLine();
        made.nameSpec = nameSpec;
        made.kind = LineKind::DecimalPriced;
        made.unit = "ｍ";
        made.netPrice = c(price);
        made.submittedPrice = c(price) + c("100");
        made.netAdditionalPrice = c("5");
        made.submittedAdditionalPrice = c("6");
        made.laborFactor = c("0.3");
        made.netQuantity = c("7");
        made.submittedQuantity = c("7");
        return made;
    };
    bench.state.sheet.push_back(line("鋼管;SGP 20A", "1000"));
    bench.state.sheet.push_back(line("鋼管;SGP 25A", "1200"));
    bench.state.sheet.push_back(line("エルボ;SGP 25A", "300"));
    bench.state.sheet.push_back(newLine()); // an empty row registers nothing
    EXPECT_EQ(registerSelectedLines(database, PriceGroup::Code, bench.state, {1, 9}, kToday), 3);
    EXPECT_EQ(priceCategories(database, PriceGroup::Code),
              (std::vector<std::string>{std::string(kRegisteredLinesCategory)}));

    const std::vector<PriceRecord> found = searchCodePrices(database, "25A");
    ASSERT_EQ(found.size(), 2u);
    const auto price = priceRecord(database, PriceGroup::Code, found[0].id);
    ASSERT_TRUE(price);
    writeCataloguePrice(bench.context, {6, 6}, *price, PriceSource::Editor, c("3"),
                        LineWriteMode::Overwrite, false);
    ASSERT_EQ(bench.state.lineCount(), 6);
    LineRecord expected = bench.state.sheet[2];
    expected.nameSpec += ";"; // an appended line closes its 仕様
    expected.netQuantity = c("3");
    expected.submittedQuantity = c("3");
    expected.netAmount = Currency();
    expected.submittedAmount = Currency();
    expected.mark = 2;
    expected.sortCode = Currency(); // a catalogue price comes as data group code 0
    LineRecord written = bench.state.sheet[6];
    EXPECT_EQ(written, expected);
}

// The quantity buttons of the editor write into consecutive rows, each inserted before the line
// that stood there.
TEST(writeCataloguePrice, TheButtonThreeThreeTimesFillsConsecutiveRows) {
    SheetBench bench(3);
    const PriceRecord price = fields("鋼管", 0);
    for (int row = 2; row < 5; ++row) {
        writeCataloguePrice(bench.context, {row, row}, price, PriceSource::Editor, c("3"),
                            LineWriteMode::InsertFirst, false);
    }
    ASSERT_EQ(bench.state.lineCount(), 6);
    EXPECT_EQ(bench.state.sheet[1].nameSpec, "行1;");
    for (int row = 2; row < 5; ++row) {
        EXPECT_EQ(bench.state.sheet[static_cast<std::size_t>(row)].nameSpec, "鋼管;20A") << row;
        EXPECT_EQ(bench.state.sheet[static_cast<std::size_t>(row)].submittedQuantity, c("3"));
        EXPECT_EQ(bench.state.sheet[static_cast<std::size_t>(row)].amountText, "御支給品");
    }
    EXPECT_EQ(bench.state.sheet[5].nameSpec, "行2;");
    EXPECT_FALSE(writeCataloguePrice(bench.context, {1, 1}, price, PriceSource::Editor, c("1"),
                                     LineWriteMode::InsertFirst, true)
                     .changed);
}

TEST(PriceHistories, TheThirtyFirstCategoryPushesTheOldestOut) {
    TempFolder root;
    std::filesystem::create_directories(root.path() / "conf");
    PriceEditorHistories histories = readPriceEditorHistories(root.path(), kCodePriceEditor);
    EXPECT_EQ(histories, PriceEditorHistories{});
    for (int n = 1; n <= 31; ++n) {
        PriceRecord price;
        price.category = "分類" + std::to_string(n);
        price.name = "鋼管";
        rememberPriceTexts(histories, price);
        writePriceEditorHistories(root.path(), kCodePriceEditor, histories);
    }
    const PriceEditorHistories read = readPriceEditorHistories(root.path(), kCodePriceEditor);
    ASSERT_EQ(read.categories.size(), 30u);
    EXPECT_EQ(read.categories.front(), "分類31");
    EXPECT_EQ(read.categories.back(), "分類2");
    EXPECT_EQ(read.names, std::vector<std::string>{"鋼管"});
    EXPECT_TRUE(read.specifications.empty());
    EXPECT_FALSE(std::filesystem::exists(root.path() / "conf" / "CD_ITEMSIZE.lst"));
    EXPECT_TRUE(std::filesystem::exists(root.path() / "conf" / "CD_CATEGORY.lst"));
    EXPECT_EQ(readPriceEditorHistories(root.path(), kTreePriceEditor), PriceEditorHistories{});
}

// One store for both editors: what one adds the other offers, the settings' texts stay out.
TEST(PriceHistories, TheAmountTextStoreKeepsTheSettingsTextsOut) {
    TempFolder root;
    std::filesystem::create_directories(root.path() / "conf");
    const AmountSettingTexts settings{"御支給品", "既設品利用", "撤去品流用", "別途見積"};
    rememberAmountTextInHistory(root.path(), "別途見積", settings);
    rememberAmountTextInHistory(root.path(), "", settings);
    rememberAmountTextInHistory(root.path(), "支給材", settings);
    rememberAmountTextInHistory(root.path(), "既設流用", settings);
    EXPECT_EQ(rememberAmountTextInHistory(root.path(), "支給材", settings),
              (std::vector<std::string>{"既設流用", "支給材"}));
    EXPECT_EQ(readAmountTextHistory(root.path()), (std::vector<std::string>{"既設流用", "支給材"}));
    EXPECT_EQ(amountTextChoices(settings, readAmountTextHistory(root.path())),
              (std::vector<std::string>{"御支給品", "既設品利用", "撤去品流用", "別途見積",
                                        "既設流用", "支給材", "撤  去  品", "既 設 品"}));
}

TEST(PriceHistories, ColumnWidthsRoundTripAndSkipDamagedLines) {
    TempFolder root;
    std::filesystem::create_directories(root.path() / "conf");
    EXPECT_TRUE(readPriceListColumnWidths(root.path()).empty());
    writePriceListColumnWidths(root.path(), {40, 180, 120});
    EXPECT_EQ(readTextLines(root.path() / "conf" / "grid_code.ini"),
              (std::vector<std::string>{"[Version]=2.00", "[StrColGrid1_Colwidths[0]]=40",
                                        "[StrColGrid1_Colwidths[1]]=180",
                                        "[StrColGrid1_Colwidths[2]]=120"}));
    writeTextLines(root.path() / "conf" / "grid_code.ini",
                   {"[Version]=2.00", "[StrColGrid1_Colwidths[2]]=90",
                    "[StrColGrid1_Colwidths[x]]=5", "[StrColGrid1_Colwidths[0]]=wide"});
    EXPECT_EQ(readPriceListColumnWidths(root.path()), (std::vector<int>{-1, -1, 90}));
}

} // namespace
} // namespace kerbina
