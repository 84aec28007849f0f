#include "base/text.h"
#include "catalogue_fixture.h"
#include "record_builders.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

std::vector<std::string> namesOf(const std::vector<PriceRecord>& prices) {
    std::vector<std::string> names;
    for (const PriceRecord& price : prices) {
        names.push_back(price.name);
    }
    return names;
}

constexpr std::chrono::year_month_day kToday{std::chrono::year{2026}, std::chrono::December,
                                             std::chrono::day{11}};

TEST_F(CatalogueTest, ListsFillByGroupSortedWithoutEmptyTexts) {
    addPrice(PriceGroup::Code, "配管", "鋼管", "20A");
    addPrice(PriceGroup::Code, "", "分類なし", "");
    addPrice(PriceGroup::Code, "器具", "", "名称なし");
    addPrice(PriceGroup::Code, "器具", "便器", "洋式");
    addPrice(PriceGroup::Tree, "弁類", "仕切弁", "50A");
    addPrice(PriceGroup::Tree, "弁類", "玉形弁", "25A");
    addPrice(PriceGroup::Tree, "弁類", "仕切弁", "25A");
    addPrice(PriceGroup::Tree, "弁類", "", "名称なし");

    EXPECT_EQ(priceCategories(database, PriceGroup::Code),
              (std::vector<std::string>{"器具", "配管"}));
    EXPECT_EQ(pricesInCategory(database, PriceGroup::Code, "器具"),
              (std::vector<PriceListEntry>{{4, "便器", "洋式"}}));
    EXPECT_EQ(priceCategories(database, PriceGroup::Tree), (std::vector<std::string>{"弁類"}));
    EXPECT_EQ(priceNames(database, PriceGroup::Tree, "弁類"),
              (std::vector<std::string>{"仕切弁", "玉形弁"}));
    EXPECT_EQ(pricesOfName(database, PriceGroup::Tree, "弁類", "仕切弁"),
              (std::vector<PriceListEntry>{{5, "仕切弁", "50A"}, {7, "仕切弁", "25A"}}));
    EXPECT_TRUE(priceCategories(database, PriceGroup::Calculated).empty());
    EXPECT_FALSE(priceRecord(database, PriceGroup::Tree, 1));
    EXPECT_EQ(priceRecord(database, PriceGroup::Code, 1)->name, "鋼管");
}

// Texts with the characters SQL and LIKE treat specially are stored and found as themselves.
TEST_F(CatalogueTest, SearchesMatchTheTextExactly) {
    addPrice(PriceGroup::Code, "配管", "鋼管", "SGP 20A");
    addPrice(PriceGroup::Code, "配管", "O'Brien継手", "");
    addPrice(PriceGroup::Code, "配管", "割増10%品", "");
    addPrice(PriceGroup::Code, "配管", "割増10円品", "");
    addPrice(PriceGroup::Code, "配管", "A_1", "");
    addPrice(PriceGroup::Code, "配管", "AB1", "");
    addPrice(PriceGroup::Code, "配管", "C:\\部材", "");
    addPrice(PriceGroup::Tree, "弁類", "仕切弁", "JIS 10K 50A");
    addPrice(PriceGroup::Tree, "弁類", "玉形弁", "JIS 10K 25A");

    const struct {
        std::string text;
        std::vector<std::string> names;
    } codeCases[] = {
        {"20A", {"鋼管"}}, // matches the 仕様 text only
        {"'", {"O'Brien継手"}},
        {"O'B", {"O'Brien継手"}},
        {"10%", {"割増10%品"}},
        {"A_", {"A_1"}},
        {"_", {"A_1"}},
        {"\\", {"C:\\部材"}},
        {"%", {"割増10%品"}},
        {"弁", {}},
        {"", {}},
    };
    for (const auto& [text, names] : codeCases) {
        EXPECT_EQ(namesOf(searchCodePrices(database, text)), names) << text;
    }

    const struct {
        std::string name;
        std::string specification;
        std::vector<std::string> names;
    } treeCases[] = {
        {"弁", "", {"仕切弁", "玉形弁"}},    {"", "50A", {"仕切弁"}}, {"玉", "50A", {}},
        {"弁", "10K", {"仕切弁", "玉形弁"}}, {"鋼管", "", {}},        {"", "", {}},
    };
    for (const auto& [name, specification, names] : treeCases) {
        EXPECT_EQ(namesOf(searchTreePrices(database, name, specification)), names)
            << name << " / " << specification;
    }
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(CatalogueTest, PriceBecomesTheLineMessageOfItsSource) {
    const std::int64_t id = addPrice(PriceGroup::Code, "配管", "鋼管", "20A", "1234.5");
    database.execute("UPDATE tanka SET CI='ｍ',FLAG=21,NET_Price=1.23456,Net_Construction=7,"
                     "Present_Construction1=8.5,Construction=0.25,OPT3='支給品' WHERE ID=?;",
                     {id});
    const PriceRecord price = *priceRecord(database, PriceGroup::Code, id);
    EXPECT_EQ(price.netPrice, c("1.2346"));

    const std::string editorText =
        lineMessageText(priceLineMessage(price, PriceSource::Editor, c("3"), 2));
    const std::string searchText =
        lineMessageText(priceLineMessage(price, PriceSource::SingleSearchHit, c("1"), 0));
    const std::vector<std::string_view> fromEditor = splitFields(editorText, ';');
    const std::vector<std::string_view> fromSearch = splitFields(searchText, ';');
    // Field n of the message is element n - 1.
    const std::vector<std::string_view> expectedEditor = {
        "WM_DATAWRITE", "鋼管", "20A", "ｍ", "1.2346", "1234.5", "7", "8.5", "3",     "3", "0", "0",
        "21",           "0",    "",    "0",  "0.25",   "2",      "0", "0",   "支給品"};
    for (std::size_t i = 0; i < expectedEditor.size(); ++i) {
        EXPECT_EQ(fromEditor[i], expectedEditor[i]) << "field " << i + 1;
    }
    EXPECT_EQ(fromSearch[8], "1");
    EXPECT_EQ(fromSearch[17], "0");
    EXPECT_EQ(fromSearch[20], "");
}

TEST_F(CatalogueTest, SelectedLinesBecomeRowsOfTheRegisteredLinesCategory) {
    LineRecord pipe = namedLine("鋼管;SGP 20A;");
    pipe.unit = "ｍ";
    pipe.kind = LineKind::DecimalPriced;
    pipe.netPrice = c("800");
    pipe.submittedPrice = c("1234.5");
    pipe.netAdditionalPrice = c("10");
    pipe.submittedAdditionalPrice = c("12");
    pipe.laborFactor = c("0.05");
    pipe.amountText = "御支給品";
    const LineRecord quoted = namedLine("O'Brien's 50%_継手\r\n");
    const LineRecord valve = namedLine("仕切弁;50A");
    const LineRecord empty = namedLine("");

    const std::vector<LineRecord> lines = {pipe, empty, quoted, valve};
    EXPECT_EQ(registerLinesAsPrices(database, PriceGroup::Tree, lines, kToday), 3);

    const SqlRows rows = database.queryRows(
        "SELECT GROUPID,CATEGORY,ITEMNAME,ITEMSIZE,CI,FLAG,NET_Price,Price1,Net_Construction,"
        "Present_Construction1,Construction,OPT3,created,modefied FROM tanka ORDER BY ID;");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].columns,
              (std::vector<std::string>{"10", "取込データ", "鋼管", "SGP 20A", "ｍ", "20", "800",
                                        "1234.5", "10", "12", "0.05", "御支給品", "2026/12/11",
                                        "2026/12/11"}));
    EXPECT_EQ(rows[1].field(3), "O'Brien's 50%_継手");
    EXPECT_EQ(rows[1].field(4), "");
    EXPECT_EQ(rows[2].field(4), "50A");
    EXPECT_EQ(namesOf(searchTreePrices(database, "'s 50%_", "")),
              (std::vector<std::string>{"O'Brien's 50%_継手"}));
    EXPECT_EQ(priceNames(database, PriceGroup::Tree, "取込データ"),
              (std::vector<std::string>{"O'Brien's 50%_継手", "仕切弁", "鋼管"}));
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(CatalogueTest, AFailedRegistrationIsReportedAndTheNextLineStillRegistered) {
    database.execute("CREATE TRIGGER refuse BEFORE INSERT ON tanka WHEN NEW.ITEMNAME='拒否' "
                     "BEGIN SELECT RAISE(ABORT,'refused'); END;");
    const std::vector<LineRecord> lines = {namedLine("拒否;1"), namedLine("鋼管;2")};
    EXPECT_EQ(registerLinesAsPrices(database, PriceGroup::Code, lines, kToday), 1);
    EXPECT_EQ(reporter.reports.size(), 1u);
    EXPECT_EQ(namesOf(searchCodePrices(database, "鋼管")), (std::vector<std::string>{"鋼管"}));
}

} // namespace
} // namespace kerbina
