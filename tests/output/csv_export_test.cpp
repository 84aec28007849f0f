#include "base/file_io.h"
#include "money_literal.h"
#include "output/csv_export.h"
#include "records/kinds.h"
#include "scripted_prompt.h"
#include "temp_folder.h"
#include "test_data.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

// Compares a written file with its golden file byte for byte. KERBINA_REGENERATE_GOLDEN=1 writes
// the golden file instead (see tests/data/output/README.md).
void expectGolden(const fs::path& written, const std::string& golden) {
    const fs::path expected = testDataFile("output/" + golden);
    if (std::getenv("KERBINA_REGENERATE_GOLDEN") != nullptr) {
        fs::copy_file(written, expected, fs::copy_options::overwrite_existing);
    }
    EXPECT_EQ(readFileBytes(written), readFileBytes(expected)) << golden;
}

LineRecord line(LineKind kind, std::string nameSpec, std::string unit, const char* quantity,
                const char* price, const char* amount) {
    LineRecord record;
    record.kind = kind;
    record.nameSpec = std::move(nameSpec);
    record.unit = std::move(unit);
    record.submittedQuantity = c(quantity);
    record.submittedPrice = c(price);
    record.submittedAmount = c(amount);
    record.netQuantity = c("999"); // the net side never reaches the file
    return record;
}

TEST(CsvValue, QuotesOnlyWhatWouldShiftTheColumns) {
    const struct {
        std::string value;
        std::string written;
    } cases[] = {
        {"配管", "配管"},         {"SGP 25A", "SGP 25A"}, {"", ""},
        {"1234.5", "1234.5"},     {"1,234", "\"1,234\""}, {"3\"管", "\"3\"\"管\""},
        {"a\r\nb", "\"a\r\nb\""},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(csvValue(row.value), row.written) << row.value;
    }
    EXPECT_EQ(csvLine({"a", "b,c", ""}), "a,\"b,c\",,");
}

TEST(SheetCsv, GoldenFile) {
    Sheet sheet{LineRecord{}};
    sheet.push_back(line(LineKind::Title, "空調設備工事", "", "0", "0", "0"));
    sheet.push_back(line(LineKind::WholePriced, "配管;SGP 25A", "m", "12", "1500", "18000"));
    sheet.push_back(
        line(LineKind::DecimalPriced, "保温;t=25;屋内", "ｍ", "2.5", "1234.5", "3086.25"));
    sheet.push_back(line(LineKind::Empty, "", "", "0", "0", "0"));
    sheet.push_back(line(LineKind::WholePriced, "名称だけ", "式", "1", "-300", "-300"));
    sheet.push_back(
        line(LineKind::WholePriced, "支持金物,吊り;3\"用", "個", "1000", "12.25", "12250"));
    sheet.push_back(line(LineKind::SumLine, "合計線  印刷時ここに合計が印刷されます", "", "0", "0",
                         "29036.25"));
    TempFolder folder;
    const fs::path file = folder.path() / "sheet.csv";
    writeCsvFile(file, sheetCsvLines(sheet));
    expectGolden(file, "sheet.csv");
}

// A line that totals other lines keeps row numbers and rates in its quantity fields: only its
// amount is written.
TEST(SheetCsv, SumsAreWrittenWithoutTheirInternalNumbers) {
    const struct {
        LineKind kind;
        const char* written;
    } cases[] = {
        {LineKind::RangeTotalShowingItems, "［小　計］,,,,,203950,"},
        {LineKind::RangeTotalHidingItems, "［小　計］,,,,,203950,"},
        {LineKind::RangeSum, "［小　計］,,,,,203950,"},
        {LineKind::RangeAmountTimesRate, "［小　計］,,,,,203950,"},
        {LineKind::RangeLaborTimesPrice.code() + 2, "［小　計］,,,,,203950,"},
        {LineKind::TakeoffRangeTotalShowingItems, "［小　計］,,,,,203950,"},
        {LineKind::SmallSum, "［小　計］,,,,,203950,"},
        {LineKind::MidSum, "［小　計］,,,,,203950,"},
        {LineKind::Welfare, "［小　計］,,,,,203950,"},
        {LineKind::WelfareSum, "［小　計］,,,,,203950,"},
        {LineKind::WholePriced, "［小　計］,,,9,5,203950,"},
        {LineKind::Tax, "［小　計］,,,9,5,203950,"},
    };
    for (const auto& row : cases) {
        LineRecord sum = line(row.kind, "［小　計］", "", "9", "5", "203950");
        sum.netQuantity = c("1");
        EXPECT_EQ(sheetCsvLines(Sheet{LineRecord{}, sum}), std::vector<std::string>{row.written})
            << row.kind;
    }
}

// The export is offered under the quotation's own name in the quotation folder.
TEST(SheetCsv, OfferedUnderTheQuotationsName) {
    const fs::path folder = "/data/kerbina_data";
    DocumentState numbered;
    numbered.header.number = "K-0001";
    const struct {
        const DocumentState* state;
        fs::path ownFile;
        fs::path offered;
    } cases[] = {
        {&numbered, {}, folder / "K-0001.csv"},
        {&numbered, "/elsewhere/現場A.krb2", folder / "現場A.csv"},
        {&numbered, "/elsewhere/v1.2.krb2", folder / "v1.2.csv"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(suggestedCsvPath(*row.state, row.ownFile, folder), row.offered) << row.ownFile;
    }
    EXPECT_EQ(suggestedCsvPath(DocumentState{}, {}, folder), folder / "見積書.csv");
}

TEST(CsvExportCommand, AsksWritesAndTells) {
    TempFolder folder;
    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    EXPECT_FALSE(exportCsv(prompt, CsvExport::Sheet, folder.path() / "見積.csv", {"a,"}));
    EXPECT_TRUE(prompt.shown.empty());
    ASSERT_EQ(prompt.fileDialogs.size(), 1u);
    EXPECT_EQ(prompt.fileDialogs[0].filter, "csvファイル (*.csv)");
    EXPECT_EQ(prompt.fileDialogs[0].suffix, "csv");
    EXPECT_EQ(prompt.fileDialogs[0].start.filename(), "見積.csv");
    prompt.fileToSave = folder.path() / "out.csv";
    EXPECT_TRUE(exportCsv(prompt, CsvExport::Sheet, folder.path(), {"配管,", "b,"}));
    EXPECT_EQ(readFileBytes(*prompt.fileToSave), "\x94\x7a\x8a\xc7,\r\nb,\r\n");
    EXPECT_EQ(prompt.shown.back(), kCsvWrittenNotice);
    EXPECT_TRUE(exportCsv(prompt, CsvExport::QuotationList, folder.path(), {"x,"}));
    EXPECT_EQ(prompt.shown.back(), kListCsvWrittenNotice);
    EXPECT_EQ(prompt.fileDialogs.back().filter, "CSVファイル (*.csv)");
    EXPECT_EQ(prompt.fileDialogs.back().suffix, "csv");
}

// A FIFO or a folder chosen in the save dialog is left as it is and the export fails instead of
// telling the user a file was written.
TEST(CsvExportCommand, NeverReplacesWhatIsNoRegularFile) {
    TempFolder folder;
    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    prompt.fileToSave = folder.path() / "pipe.csv";
    ASSERT_EQ(std::system(("mkfifo '" + prompt.fileToSave->string() + "'").c_str()), 0);
    EXPECT_THROW(exportCsv(prompt, CsvExport::Sheet, folder.path() / "見積.csv", {"a,"}),
                 FileError);
    EXPECT_TRUE(fs::is_fifo(*prompt.fileToSave));
    prompt.fileToSave = folder.path() / "folder.csv";
    fs::create_directory(*prompt.fileToSave);
    EXPECT_THROW(exportCsv(prompt, CsvExport::Sheet, folder.path() / "見積.csv", {"a,"}),
                 FileError);
    EXPECT_TRUE(fs::is_directory(*prompt.fileToSave));
    EXPECT_EQ(std::count(prompt.shown.begin(), prompt.shown.end(), std::string(kCsvWrittenNotice)),
              0);
}

TEST(SheetCsv, SpecificationIsTheSecondField) {
    const struct {
        std::string nameSpec;
        std::string name;
        std::string specification;
    } cases[] = {
        {"配管;SGP 25A", "配管", "SGP 25A"},
        {"名称だけ", "名称だけ", ""},
        {"保温;t=25;屋内", "保温", "t=25"},
        {";仕様", "", "仕様"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(csvNameAndSpecification(row.nameSpec),
                  std::make_pair(row.name, row.specification))
            << row.nameSpec;
    }
}

TEST(UnitCostCsv, HeaderThenRowsUpToTheFirstWithoutColumnZero) {
    std::vector<std::vector<std::string>> grid(4, std::vector<std::string>(28));
    for (std::size_t column = 0; column < 28; ++column) {
        grid[0][column] = "H" + std::to_string(column);
        grid[1][column] = "a" + std::to_string(column);
        grid[3][column] = "c" + std::to_string(column);
    }
    grid[2][0] = "";
    grid[2][1] = "ignored";
    const std::vector<std::string> lines = unitCostCsvLines(grid);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("H1,H2,"));
    EXPECT_TRUE(lines[0].ends_with(",H27,"));
    EXPECT_TRUE(lines[1].starts_with("a1,"));
    EXPECT_TRUE(lines[1].ends_with(",a27,"));
    EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), ','), 27);
}

TEST(TakeoffCsv, EntriesAsTheGridShowsThem) {
    TakeoffCsvEntry pipe;
    pipe.origin = 2;
    pipe.kind = 110;
    pipe.system = "給水";
    pipe.nameSpec = "配管;SGP 25A";
    pipe.unit = "m";
    pipe.netQuantity = c("1000.5");
    pipe.submittedQuantity = c("1234.5");
    pipe.netPrice = c("800");
    pipe.submittedPrice = c("1000");
    pipe.netCompositePrice = c("900");
    pipe.submittedCompositePrice = c("1100");
    pipe.netLaborFactor = c("0.05");
    pipe.submittedLaborFactor = c("0.06");
    pipe.place = 1;
    pipe.note = "注";
    pipe.amountText = "別途";
    pipe.shares = {c("50"), c("20"), c("10"), c("10"), c("5"), c("5")};
    pipe.submittedBaseCost = c("12.5");
    pipe.mode1 = "M1";
    pipe.mode2 = "M2";
    TakeoffCsvEntry byHand = pipe;
    byHand.origin = 1;
    TakeoffCsvEntry amountShown = pipe;
    amountShown.kind = 115;
    amountShown.place = 3;

    const std::vector<std::string> submitted =
        takeoffCsvLines({pipe, byHand, amountShown}, false, c("100"));
    ASSERT_EQ(submitted.size(), 3u);
    EXPECT_EQ(submitted[0], "No,系　統,名    称  ＆  仕    様,型  番 ＆ 口  径,単位,数  量,単　価,"
                            "複合単価,歩掛,細　目,備　考,管,継手,接合材,支持金物,はつり補修,その他,"
                            "基礎工費,モード1,モード2,");
    EXPECT_EQ(submitted[1],
              "1,給水,配管,SGP 25A,m,1234.50,1000,1100,0.06,機械室,注,50,20,10,10,5,5,"
              "12.5,M1,M2,");
    EXPECT_EQ(submitted[2], "3,給水,配管,SGP 25A,m,1234.50,1000,1100,0.06,地中配管,別途注 ,50,20,"
                            "10,10,5,5,12.5,M1,M2,");
    const std::vector<std::string> net = takeoffCsvLines({pipe}, true, c("10"));
    EXPECT_EQ(net[1], "1,給水,配管,SGP 25A,m,1000.5,800,900,0.05,機械室,注,50,20,10,10,5,5,12.5,M1,"
                      "M2,");
}

// The breakdown list CSV takes the list grid's texts: amounts lose their "," and the "¥" before a
// digit, other texts (the "¥" flag of a sum line, a note with a ",") only their ",".
TEST(ItemListCsv, GridTextsWithPlainAmounts) {
    const std::vector<std::vector<std::string>> grid{
        {"", "FG", "内訳名称", "合計金額", "備　考"},
        {"", "", "配管工事", "¥1,234,567", "5,447,455×18.5%"},
        {"", "", "", "", ""},
        {"", "¥", "合計", "-¥300", "¥は円"},
    };
    EXPECT_EQ(itemListCsvLines(grid),
              (std::vector<std::string>{"FG,内訳名称,合計金額,備　考,",
                                        ",配管工事,1234567,5447455×18.5%,", "¥,合計,-300,¥は円,"}));
}

} // namespace
} // namespace kerbina
