#include "base/file_io.h"
#include "base/text_codec.h"
#include "document/quotation_file.h"
#include "money_literal.h"
#include "records/line_kinds.h"
#include "records/takeoff_text.h"
#include "test_data.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>

namespace kerbina {
namespace {

// Lines as the program holds them after reading a file: nameSpec always has its ";".
LineRecord line(std::string nameSpec, LineKind kind, std::string_view quantity,
                std::string_view price) {
    LineRecord record;
    record.nameSpec = nameSpec.find(';') == std::string::npos ? nameSpec + ";" : nameSpec;
    record.kind = kind;
    record.netQuantity = c(quantity);
    record.submittedQuantity = c(quantity);
    record.netPrice = c(price);
    record.submittedPrice = c(price);
    return record;
}

LineRecord titleLine(std::string name) {
    LineRecord record;
    record.nameSpec = name + ";";
    record.kind = 100;
    return record;
}

ItemRecord sheetItem(std::string name, std::string_view decimals = "10") {
    ItemRecord item = newSheetItem();
    item.name = std::move(name);
    item.setQuantityDecimals = c(decimals);
    return item;
}

// A quotation with every kind of content the file carries.
QuotationData sampleQuotation() {
    QuotationData data;
    QuotationHeader& header = data.header;
    header.id = "C-001";
    header.addressee1 = "山田建設株式会社";
    header.siteName1 = "東西ビル新築工事";
    header.workName = "衛生設備工事";
    header.number = "2024-0012";
    header.honorific = "御中";
    header.storedYear = 36;
    header.month = 4;
    header.day = 15;
    header.author = "佐藤";
    header.opt2Str = ",,,";
    header.keta = 1000;
    header.cutLevel = c("0.9");
    header.status = 1;
    header.submittedGrandTotal = c("1650000");
    header.netGrandTotal = c("1200000");
    data.taxOffset = c("0.5");

    data.items.push_back(ItemRecord{}); // placeholder
    ItemRecord piping = sheetItem("配管工事", "100");
    piping.submittedTotal = c("1500000");
    piping.netTotal = c("1200000");
    piping.laborTotal = c("300000");
    piping.note = "別紙参照";
    data.items.push_back(piping);
    data.items.push_back(sheetItem(""));
    ItemRecord comment;
    comment.kind = 96;
    comment.name = "特記事項";
    comment.subKind = c("15");
    data.items.push_back(comment);
    ItemRecord welfare;
    welfare.kind = 101;
    welfare.name = "法定福利費";
    welfare.setAmountRounding = c("20");
    welfare.setExpenseRounding = c("16.5");
    welfare.setTotalRounding = c("100");
    welfare.submittedTotal = c("150000");
    welfare.netTotal = c("120000");
    data.items.push_back(welfare);

    // Sheets 3 and 4 have no work file.
    data.sheets.resize(data.items.size());
    data.sheets[1].emplace_back();
    data.sheets[2].emplace_back();
    Sheet& first = data.sheets[1];
    first.push_back(titleLine("配管工事"));
    LineRecord pipe = line("配管;SGP 25A", 20, "12.25", "1500");
    pipe.unit = "ｍ";
    pipe.laborFactor = c("0.125");
    pipe.netAmount = c("18375");
    pipe.submittedAmount = c("18375");
    pipe.priceKind = c("1");
    pipe.priceCode = "P-100";
    first.push_back(pipe);
    LineRecord unlisted = line("継手;SGP 25A", 10, "4", "800");
    unlisted.hiddenFlag = 1;
    first.push_back(unlisted);
    LineRecord range = line("範囲計", 93, "2", "0");
    range.submittedQuantity = c("3");
    range.note = "2行目から3行目";
    first.push_back(range);
    LineRecord supplied = line("支給品", 15, "2", "0");
    supplied.amountText = "御支給品";
    supplied.flag216 = 7;
    supplied.reserved176 = c("3.5");
    first.push_back(supplied);
    LineRecord sum = line("合計", 99, "0", "0");
    sum.netAmount = piping.netTotal;
    sum.submittedAmount = piping.submittedTotal;
    first.push_back(sum);
    data.sheets[2].push_back(line("撤去;既設配管", 10, "1", "-5000"));

    data.takeoffEntries[1] = {takeoffFromText("1;1;0;配管;SGP 25A;0.25;10.1;ｍ;110;10;12.5"),
                              takeoffFromText("1;1;0;継手;;0;11999;個;110;0;4")};
    data.configLines[1] = {"[HN1]=配管工事費", "[Many_Process_A]=0.5"};
    data.unitCostBreakdowns = {"複合単価:0000101;a;", "複合単価:0000102;b;"};
    return data;
}

std::string sectionOf(const std::string& text, std::string_view open, std::string_view close) {
    const std::size_t begin = text.find(open);
    const std::size_t end = text.find(close);
    EXPECT_NE(begin, std::string::npos);
    EXPECT_NE(end, std::string::npos);
    return text.substr(begin + open.size() + 2, end - begin - open.size() - 2);
}

TEST(QuotationFile, FullRoundTripKeepsEverythingAndIsStable) {
    const QuotationData original = sampleQuotation();
    const std::string first = writeQuotationText(original, {});
    const QuotationData read = readQuotationText(first);
    const std::string second = writeQuotationText(read, {});
    EXPECT_EQ(first, second);
    EXPECT_EQ(readQuotationText(second).sheets, read.sheets);

    EXPECT_EQ(read.header, original.header);
    EXPECT_EQ(read.items, original.items);
    // Sheet 2 has no name, so no title line is added; every row stays where it was.
    ASSERT_GE(read.sheets.size(), 3u);
    EXPECT_EQ(read.sheets[1], original.sheets[1]);
    EXPECT_EQ(read.sheets[2], original.sheets[2]);
    EXPECT_EQ(read.takeoffEntries, original.takeoffEntries);
    EXPECT_EQ(read.configLines, original.configLines);
    EXPECT_EQ(read.unitCostBreakdowns, original.unitCostBreakdowns);
    EXPECT_EQ(read.taxOffset, original.taxOffset);
}

TEST(QuotationFile, WritesTheSectionsInOrder) {
    const std::string text = writeQuotationText(sampleQuotation(), {});
    std::size_t at = 0;
    for (std::string_view marker :
         {"<TITLE>\r\n[NUMBER_ID]=C-001\r\n[id]=C-001\r\n",
          "[NHOTEITOTAL]=120000\r\n[GHOTEITOTAL]=150000\r\n[WHERE]=",
          "[KETA]=1000\r\n[CUTLEVEL]=0.9\r\n[STATUS]=1\r\n[ItemMax]=4\r\n"
          "[Tax_opt_1]=0.5\r\n</TITLE>\r\n<ITEM>\r\n",
          "</ITEM>\r\n<DATA>\r\n", "</DATA>\r\n<PICKUP>\r\n1;1;0;配管",
          "</PICKUP>\r\n<CONFIG>\r\n1;[HN1]=配管工事費\r\n",
          "</CONFIG>\r\n<DAIKA>\r\n複合単価:0000101;a;\r\n複合単価:0000102;b;"
          "\r\n</DAIKA>\r\n</EOF>\r\n"}) {
        const std::size_t found = text.find(marker, at);
        ASSERT_NE(found, std::string::npos) << marker;
        at = found + marker.size();
    }
    EXPECT_EQ(at, text.size());
}

TEST(QuotationFile, ItemLinesCarryTheSubKindAsACountOfTenThousandths) {
    const std::string items =
        sectionOf(writeQuotationText(sampleQuotation(), {}), "<ITEM>", "</ITEM>");
    EXPECT_EQ(items, "10;配管工事;1500000;1200000;0.5;0.5;100;1;0.5;0;0;別紙参照;0;300000\r\n"
                     "10;;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n"
                     "96;特記事項;0;0;0;0;0;0;0;150000;0;;0;0\r\n"
                     "101;法定福利費;150000;120000;20;16.5;0;0;0;0;100;;0;0\r\n");
    EXPECT_EQ(readQuotationText(writeQuotationText(sampleQuotation(), {})).items[3].subKind,
              c("15"));
}

TEST(QuotationFile, SeparatorsAndLineBreaksInTextsCannotShiftFields) {
    QuotationData data = sampleQuotation();
    data.items[1].name = "配管;工事";
    data.items[1].note = "別紙;参照\r\n";
    data.sheets[1][2].note = "一;二";
    data.sheets[1][2].unit = "ｍ;";
    data.header.workName = "衛生\r\n設備";
    data.takeoffEntries[1][0].note = "支持;\r\n金物";

    const QuotationData read = readQuotationText(writeQuotationText(data, {}));
    EXPECT_EQ(read.items[1].name, "配管；工事");
    EXPECT_EQ(read.items[1].note, "別紙；参照");
    EXPECT_EQ(read.items[1].submittedTotal, c("1500000"));
    EXPECT_EQ(read.sheets[1][2].note, "一；二");
    EXPECT_EQ(read.sheets[1][2].priceCode, "P-100");
    EXPECT_EQ(read.header.workName, "衛生設備");
    EXPECT_EQ(read.header.number, "2024-0012");
    EXPECT_EQ(read.takeoffEntries.at(1).size(), 2u);
    EXPECT_EQ(read.takeoffEntries.at(1)[0].note, "支持；金物");
    // The title line of the renamed item keeps its name in one field too.
    EXPECT_EQ(read.sheets[1][1].nameSpec, "配管工事;");
    EXPECT_EQ(readQuotationText(writeQuotationText(read, {})).items, read.items);
}

TEST(QuotationFile, UnlistedLinesAreSavedAndOnlyLeftOutOfPrintData) {
    const QuotationData data = sampleQuotation();
    const std::string saved = sectionOf(writeQuotationText(data, {}), "<DATA>", "</DATA>");
    EXPECT_NE(saved.find("1;継手;SGP 25A;0;11999;;10;4;4;800;800;0;0;0;0;0;0;1;0;;;\r\n"),
              std::string::npos);
    EXPECT_EQ(readQuotationText(writeQuotationText(data, {})).sheets[1][3].hiddenFlag, 1);

    QuotationWriteOptions print;
    print.omitUnlisted = true;
    EXPECT_EQ(sectionOf(writeQuotationText(data, print), "<DATA>", "</DATA>").find("継手"),
              std::string::npos);
}

TEST(QuotationFile, SumLinesCarryTheItemTotals) {
    QuotationData data = sampleQuotation();
    data.sheets[1][6].netAmount = Currency();
    data.sheets[1][6].submittedAmount = Currency();
    const std::string text = writeQuotationText(data, {});
    EXPECT_NE(text.find("1;合計;;0;11999;;99;0;0;0;0;0;0;0;1200000;1500000;"), std::string::npos);
}

TEST(QuotationFile, WelfareSumsBeyondTheCurrencyRangeDoNotStopASave) {
    QuotationData data = sampleQuotation();
    data.items[4].submittedTotal = Currency::fromRaw(std::numeric_limits<std::int64_t>::max());
    data.items.push_back(data.items[4]);
    data.sheets.emplace_back();
    const std::string text = writeQuotationText(data, {});
    EXPECT_NE(text.find("[GHOTEITOTAL]=1844674407370955.1614\r\n"), std::string::npos);
    EXPECT_EQ(readQuotationText(text).items, data.items);
}

TEST(QuotationFile, TitleLineIsWrittenOnceAndNeverShiftsRows) {
    QuotationData data = sampleQuotation();
    data.sheets[1].erase(data.sheets[1].begin() + 1); // the sheet no longer starts with it
    const std::string title = "1;配管工事;;0;11999;;100;0;0;0;0;0;0;0;0;0;0;0;0;;;\r\n";

    std::string text = writeQuotationText(data, {});
    EXPECT_NE(sectionOf(text, "<DATA>", "</DATA>").find(title), std::string::npos);
    EXPECT_EQ(readQuotationText(text).sheets[1].size(), data.sheets[1].size() + 1);

    QuotationWriteOptions noTitle;
    noTitle.itemNameLine = false;
    EXPECT_EQ(writeQuotationText(data, noTitle).find(title), std::string::npos);

    // A file from a writer that always added the line: two title lines in front of the sheet.
    text = writeQuotationText(sampleQuotation(), noTitle);
    const std::size_t firstLine = text.find("1;配管工事;;");
    text.insert(firstLine, title);
    const QuotationData read = readQuotationText(text);
    EXPECT_EQ(read.sheets[1], sampleQuotation().sheets[1]);

    // A sheet that does start with two title lines comes back with both, with or without names.
    for (const std::string name : {"配管工事", ""}) {
        data = sampleQuotation();
        data.items[1].name = name;
        data.sheets[1].insert(data.sheets[1].begin() + 1, titleLine(name));
        for (const QuotationWriteOptions& options : {QuotationWriteOptions{}, noTitle}) {
            EXPECT_EQ(readQuotationText(writeQuotationText(data, options)).sheets[1],
                      data.sheets[1]);
        }
    }
}

// A sheet whose title line is not its first line gets no second one in front: that line would
// move every row, and every range would cover other lines after reading.
TEST(QuotationFile, SheetWithItsTitleFurtherDownComesBackRowForRow) {
    QuotationData data = sampleQuotation();
    LineRecord comment;
    comment.kind = 30;
    comment.nameSpec = "注記;";
    data.sheets[1].insert(data.sheets[1].begin() + 1, comment);
    ASSERT_EQ(data.sheets[1][2].kind, 100);
    EXPECT_EQ(readQuotationText(writeQuotationText(data, {})).sheets[1], data.sheets[1]);
}

TEST(QuotationFile, UnitCostReferencesNameThePageAndNumber) {
    QuotationData data = sampleQuotation();
    data.unitCostBreakdowns.clear();
    for (int i = 0; i < 20; ++i) {
        data.unitCostBreakdowns.push_back("複合単価:" + std::to_string(1000000 + i) + ";x;");
    }
    data.unitCostBreakdowns[16] = "複合単価:P-100;配管;";
    data.unitCostBreakdowns[17] = "複合単価:P-100;二つ目;";
    QuotationWriteOptions options;
    options.unitCostReferences = true;
    const QuotationData read = readQuotationText(writeQuotationText(data, options));
    EXPECT_EQ(read.sheets[1][2].note, "代価表 P-2 No.17");
    EXPECT_EQ(read.sheets[1][4].note, "2行目から3行目"); // no price code: note unchanged
    EXPECT_EQ(readQuotationText(writeQuotationText(data, {})).sheets[1][2].note, "");
}

TEST(QuotationFile, HonorificIsTakenOnlyFromTheEndOfTheAddressee) {
    const struct {
        const char* addressee1;
        const char* addressee2;
        const char* honorific;
        const char* expected1;
        const char* expected2;
        const char* expectedHonorific;
    } cases[] = {
        {"山田建設株式会社御中", "", "", "山田建設株式会社", "", "御中"},
        {"  山田建設株式会社　御中　 ", "", "", "山田建設株式会社", "", "御中"},
        {"東西銀行御中", "", "", "東西銀行", "", "御中"},
        {"東西銀行", "", "", "東西銀行", "", ""},
        {"山田　太郎様", "", "", "山田　太郎", "", "様"},
        {"行田工業", "総務部　係", "", "行田工業", "総務部", "係"},
        {"山田建設", "", "様", "山田建設", "", "様"},
        {"東西設備御中", "", "殿", "東西設備御中", "", "殿"},
        {"様", "", "", "様", "", ""},
        {"山田建設 行", "", "", "山田建設", "", "行"},
    };
    for (const auto& row : cases) {
        QuotationData data = sampleQuotation();
        data.header.addressee1 = row.addressee1;
        data.header.addressee2 = row.addressee2;
        data.header.honorific = row.honorific;
        const QuotationHeader read = readQuotationText(writeQuotationText(data, {})).header;
        EXPECT_EQ(read.addressee1, row.expected1) << row.addressee1;
        EXPECT_EQ(read.addressee2, row.expected2) << row.addressee1;
        EXPECT_EQ(read.honorific, row.expectedHonorific) << row.addressee1;
    }
}

// A minimal file around the given title entries, item lines and data lines.
std::string fileText(std::string_view title, std::string_view items, std::string_view data = "") {
    return "<TITLE>\r\n" + std::string(title) + "</TITLE>\r\n<ITEM>\r\n" + std::string(items) +
           "</ITEM>\r\n<DATA>\r\n" + std::string(data) + "</DATA>\r\n</EOF>\r\n";
}

TEST(QuotationFile, TitleRulesForOlderAndOddValues) {
    const QuotationData data =
        readQuotationText(fileText("[ALLTOTAL]=1234.5\r\n[CUTLEVEL]=1.5\r\n[STATUS]=済\r\n"
                                   "[DATALEVEL]=-3\r\n[KEYCODE]=9\r\n[NHOTEITOTAL]=x\r\n"
                                   "[Unknown]=y\r\n[ItemMax]=1\r\n",
                                   "10;;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n"));
    EXPECT_EQ(data.header.submittedGrandTotal, c("1234.5"));
    EXPECT_EQ(data.header.cutLevel, c("0.5"));
    EXPECT_EQ(data.header.status, 0);
    EXPECT_EQ(data.header.dataLevel, 0);
    EXPECT_EQ(data.header.keyCode, 0);
    EXPECT_EQ(data.header.keta, 0);
    EXPECT_FALSE(data.taxOffset.has_value());
    EXPECT_EQ(data.itemMax(), 1);
}

TEST(QuotationFile, ItemsBeyondItemMaxAreKeptAndReportedAndNoneGiveOneNewItem) {
    const std::string item = "10;A;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n";
    const std::string text = fileText("[ItemMax]=1\r\n", item + item);
    const QuotationReading reading = readQuotationTextLeniently(text);
    EXPECT_EQ(reading.data.itemMax(), 2);
    EXPECT_EQ(reading.problems, (std::vector<QuotationFileProblem>{
                                    {7, "[ItemMax]=1 と内訳の行数 2 が一致しません。"}}));
    EXPECT_THROW(readQuotationText(text), QuotationFileError);
    const QuotationData empty = readQuotationText(fileText("[ItemMax]=0\r\n", ""));
    ASSERT_EQ(empty.itemMax(), 1);
    EXPECT_EQ(empty.items[1], newSheetItem());
}

TEST(QuotationFile, SheetNumberMetAgainAppendsToItsSheet) {
    const std::string item = "10;;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n";
    const QuotationReading reading =
        readQuotationTextLeniently(fileText("[ItemMax]=2\r\n", item + item,
                                            "1;A;;0;11999;;10;1;1;0;0;0;0;0;0;0;0;0;0;;;\r\n"
                                            "2;B;;0;11999;;10;1;1;0;0;0;0;0;0;0;0;0;0;;;\r\n"
                                            "1;C;;0;11999;;10;1;1;0;0;0;0;0;0;0;0;0;0;;;\r\n"
                                            "-1;;;;;;;;;;;;;;;;;;;;;\r\n"
                                            "2;D;;0;11999;;10;1;1;0;0;0;0;0;0;0;0;0;0;;;\r\n"));
    const QuotationData& data = reading.data;
    ASSERT_EQ(data.sheets[1].size(), 3u);
    EXPECT_EQ(data.sheets[1][1].nameSpec, "A;");
    EXPECT_EQ(data.sheets[1][2].nameSpec, "C;");
    ASSERT_EQ(data.sheets[2].size(), 2u); // -1 ended the section before D, and says so
    EXPECT_EQ(data.sheets[2][1].nameSpec, "B;");
    ASSERT_EQ(reading.problems.size(), 1u);
    EXPECT_NE(reading.problems[0].message.find("この後の 1 行は読み込めません"), std::string::npos);
}

// Take-off entries and aggregation settings are kept by the sheet number that starts their lines;
// an entry is written with the sheet it is kept under, whatever its own field says.
TEST(QuotationFile, TakeOffEntriesAndAggregationLinesAreKeptByTheirSheetNumber) {
    const std::string text = fileText("[ItemMax]=0\r\n", "") +
                             "<PICKUP>\r\n7;1;0;a;b\r\n\r\n2;3;0;c\r\n7;1;0;d\r\n</PICKUP>\r\n"
                             "<CONFIG>\r\n500\r\n</CONFIG>\r\n";
    QuotationData data = readQuotationText(text);
    ASSERT_EQ(data.takeoffEntries.size(), 2u);
    ASSERT_EQ(data.takeoffEntries.at(7).size(), 2u);
    EXPECT_EQ(data.takeoffEntries.at(7)[0].nameSpec, "a;b");
    EXPECT_EQ(data.takeoffEntries.at(7)[1].nameSpec, "d;");
    EXPECT_EQ(data.takeoffEntries.at(2).at(0).origin, 3);
    EXPECT_EQ(data.configLines, (std::map<int, std::vector<std::string>>{{500, {""}}}));

    data.takeoffEntries.at(2)[0].sheet = 9;
    const std::string written = writeQuotationText(data, {});
    EXPECT_NE(written.find("<PICKUP>\r\n2;3;0;c;;0;0;;"), std::string::npos);
    EXPECT_NE(written.find("\r\n7;1;0;a;b;0;0;;"), std::string::npos);
    const QuotationData read = readQuotationText(written);
    data.takeoffEntries.at(2)[0].sheet = 2;
    EXPECT_EQ(read.takeoffEntries, data.takeoffEntries);
    EXPECT_EQ(read.configLines, data.configLines);

    const std::string damaged =
        fileText("[ItemMax]=0\r\n", "") + "<PICKUP>\r\n7;1;0;a;b;x\r\n</PICKUP>\r\n";
    try {
        readQuotationText(damaged);
        ADD_FAILURE() << "a take-off entry with text in a number field was read";
    } catch (const QuotationFileError& error) {
        EXPECT_NE(std::string(error.what()).find("数値が正しくありません"), std::string::npos);
    }
}

TEST(QuotationFile, MalformedFilesAreRejectedWithTheLine) {
    const std::string item = "10;;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n";
    const std::string dataLine = "1;A;;0;11999;;10;1;1;0;0;0;0;0;0;0;0;0;0;;;\r\n";
    const struct {
        std::string text;
        int line;
        const char* message;
    } cases[] = {
        {"", 0, "見積ファイルではありません"},
        {"社内メモ\r\n[ItemMax]=1\r\n", 1, "見積ファイルではありません"},
        {"\x89\x50\x4E\x47\r\n\x1A\n", 1, "見積ファイルではありません"},
        {"<TITLE>\r\n[ItemMax]=1\r\n", 0, "</TITLE>"},
        {fileText("", item), 2, "[ItemMax]"},
        {fileText("[KETA]=abc\r\n[ItemMax]=1\r\n", item), 2, "[KETA]=abc"},
        {fileText("[ItemMax]=1\r\n[ALLGTOTAL]=1,000\r\n", item), 3, "[ALLGTOTAL]=1,000"},
        {fileText("[ItemMax]=1\r\n[Tax_opt_1]=half\r\n", item), 3, "[Tax_opt_1]"},
        {fileText("[ItemMax]=1\r\n[DY]=99999999999\r\n", item), 3, "[DY]"},
        {fileText("[ItemMax]=3\r\n", item + item), 7, "[ItemMax]=3"},
        {"<TITLE>\r\n[ItemMax]=1\r\n</TITLE>\r\n<ITEM>\r\n" + item, 0, "</ITEM>"},
        {"<TITLE>\r\n[ItemMax]=1\r\n</TITLE>\r\n", 0, "<ITEM>"},
        {fileText("[ItemMax]=1\r\n", "10;;abc;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n"), 5, "abc"},
        {fileText("[ItemMax]=1\r\n", item, dataLine + "1;B;;x;11999;;10;1;1;0;0;0;0;0;0;;;\r\n"), 9,
         "1;B;;x"},
        {fileText("[ItemMax]=1\r\n", item, "0;A;;0;11999;;10;1;1;0;0;0;0;0;0;0;0;0;0;;;\r\n"), 8,
         "シート番号"},
        {fileText("[ItemMax]=1\r\n", item, "2000000000;A;;0;11999;;10;1;1;0;0;0;0;0;0;0;;;\r\n"), 8,
         "2000000000"},
        {fileText("[ItemMax]=1\r\n", item) + "<PICKUP>\r\n1;a\r\nx;b\r\n</PICKUP>\r\n", 12,
         "拾出データ"},
        {fileText("[ItemMax]=1\r\n", item) + "<CONFIG>\r\n;[HN1]=a\r\n</CONFIG>\r\n", 11,
         "集計設定"},
    };
    for (const auto& row : cases) {
        try {
            readQuotationText(row.text);
            ADD_FAILURE() << "accepted: " << row.text << " (" << row.message << ")";
        } catch (const QuotationFileError& error) {
            EXPECT_EQ(error.line(), row.line) << row.text;
            EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos)
                << row.text << " -> " << error.what();
        }
    }
}

TEST(QuotationFile, MissingLaterSectionsReadAsEmpty) {
    const QuotationReading reading = readQuotationTextLeniently(
        "<TITLE>\n[ItemMax]=1\n</TITLE>\n<ITEM>\n10;A;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\n</ITEM>\n");
    // Without its end marker the file was cut short: only a reader that asks may use the rest.
    ASSERT_EQ(reading.problems.size(), 1u);
    EXPECT_EQ(reading.problems[0].line, 6);
    EXPECT_NE(reading.problems[0].message.find("</EOF>"), std::string::npos);
    const QuotationData& data = reading.data;
    EXPECT_EQ(data.items[1].name, "A");
    ASSERT_EQ(data.sheets.size(), 2u);
    EXPECT_EQ(data.sheets[1].size(), 1u);
    EXPECT_TRUE(data.takeoffEntries.empty());
    EXPECT_TRUE(data.unitCostBreakdowns.empty());
}

// Files that can be read past their problem: the problem comes back with its line, what could be
// read with it, and the strict reader refuses them.
TEST(QuotationFile, CutAndInconsistentFilesAreReportedWithWhatCouldBeRead) {
    const std::string item = "10;;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n";
    const std::string tax = "93;消費税;0;0;0;0;10;0;0;0;0;;0;0\r\n";
    const auto dataLine = [](int sheet, const std::string& name) {
        return std::to_string(sheet) + ";" + name + ";;0;11999;;10;1;1;5;5;0;0;0;0;0;0;0;0;;;\r\n";
    };
    const std::string whole =
        fileText("[ItemMax]=1\r\n", item, dataLine(1, "A") + dataLine(1, "B") + dataLine(1, "C"));
    const std::string cutInsideLine = whole.substr(0, whole.find("1;C;") + 9);
    const std::string cutAtLineEnd = whole.substr(0, whole.find("1;C;"));
    const struct {
        const char* what;
        std::string text;
        std::vector<int> lines; // of the problems, in order
        const char* message;    // in the first problem
        int sheetLines;         // read into sheet 1
        int items;
    } cases[] = {
        {"whole", whole, {}, "", 3, 1},
        {"end marker without its line end", whole.substr(0, whole.size() - 2), {}, "", 3, 1},
        {"cut inside a line", cutInsideLine, {10}, "改行がありません）: 1;C;;0", 2, 1},
        {"cut at a line end", cutAtLineEnd, {9}, "</EOF>", 2, 1},
        {"cut inside the end marker",
         whole.substr(0, whole.size() - 4),
         {12},
         "改行がありません）: </EO",
         3,
         1},
        {"[ItemMax] above the item lines",
         fileText("[ItemMax]=3\r\n", item + item),
         {7},
         "[ItemMax]=3 と内訳の行数 2",
         0,
         2},
        {"[ItemMax] below the item lines",
         fileText("[ItemMax]=1\r\n", item + item + item),
         {8},
         "[ItemMax]=1 と内訳の行数 3",
         0,
         3},
        {"lines of a sheet beyond the items",
         fileText("[ItemMax]=1\r\n", item,
                  dataLine(1, "A") + dataLine(3, "X") + dataLine(3, "Y") + dataLine(4, "Z")),
         {9, 11},
         "シート 3 の内訳がありません",
         1,
         1},
        {"lines after a sheet number of -1",
         fileText("[ItemMax]=1\r\n", item,
                  dataLine(1, "A") + "-1;\r\n" + dataLine(1, "B") + "\r\n" + dataLine(1, "C")),
         {9},
         "この後の 2 行は読み込めません",
         1,
         1},
        {"a sheet number of -1 just before the end marker",
         fileText("[ItemMax]=1\r\n", item, dataLine(1, "A") + "-1;\r\n"),
         {},
         "",
         1,
         1},
        {"lines of an item without a sheet",
         fileText("[ItemMax]=2\r\n", item + tax, dataLine(2, "X")),
         {9},
         "内訳 2 は明細を持たない種類です",
         0,
         2},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        const QuotationReading reading = readQuotationTextLeniently(row.text);
        std::vector<int> lines;
        for (const QuotationFileProblem& problem : reading.problems) {
            lines.push_back(problem.line);
        }
        EXPECT_EQ(lines, row.lines);
        if (!reading.problems.empty()) {
            EXPECT_NE(reading.problems[0].message.find(row.message), std::string::npos)
                << reading.problems[0].message;
            EXPECT_THROW(readQuotationText(row.text), QuotationFileError);
        }
        EXPECT_EQ(reading.data.itemMax(), row.items);
        ASSERT_GE(reading.data.sheets.size(), 2u);
        EXPECT_EQ(static_cast<int>(reading.data.sheets[1].size()) - 1, row.sheetLines);
        // No sheet is held for lines that have no item.
        EXPECT_EQ(reading.data.sheets.size(), reading.data.items.size());
    }
}

// A message quotes at most about 80 characters of the file, however long the offending line.
TEST(QuotationFile, MessagesQuoteOnlyTheStartOfALongLine) {
    const std::string item = "10;;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n";
    const std::string longLine =
        "1;" + std::string(200, 'x') + "工事;;bad" + std::string(100000, '9');
    try {
        readQuotationText(fileText("[ItemMax]=1\r\n", item, longLine + "\r\n"));
        ADD_FAILURE() << "accepted a line with a bad number";
    } catch (const QuotationFileError& error) {
        EXPECT_EQ(error.line(), 8);
        const std::string expected = "数値が正しくありません: 1;" + std::string(78, 'x') + "…";
        EXPECT_EQ(error.detail(), expected);
    }
}

TEST(QuotationFile, UnitCostListIsSortedUniqueAndTrimmed) {
    const QuotationData data = readQuotationText(
        fileText("[ItemMax]=0\r\n", "") +
        "<DAIKA>\r\n  \r\n複合単価:0000003;c;\r\n\r\n 複合単価:0000002;b; \r\n"
        "複合単価:0000001;a;\r\n複合単価:0000003;c;\r\n複合単価:0000001;z;\r\n</DAIKA>\r\n");
    const std::vector<std::string> expected{"複合単価:0000001;a;", "複合単価:0000001;z;",
                                            "複合単価:0000002;b;", "複合単価:0000003;c;"};
    EXPECT_EQ(data.unitCostBreakdowns, expected);
    EXPECT_EQ(readQuotationText(writeQuotationText(data, {})).unitCostBreakdowns, expected);
}

// Tests run with KERBINA_APPDATA set to a fresh folder of their own.
std::filesystem::path testFolder() {
    const char* appData = std::getenv("KERBINA_APPDATA");
    const std::filesystem::path folder =
        (appData != nullptr ? std::filesystem::path(appData)
                            : std::filesystem::temp_directory_path()) /
        "quotation_file_test";
    std::filesystem::create_directories(folder);
    return folder;
}

TEST(QuotationFile, FilesAreCp932WithCrLf) {
    QuotationData data = sampleQuotation();
    data.header.opt3Str = "～－㎡㌧";
    const std::filesystem::path path = testFolder() / "round.krb2";
    writeQuotationFile(path, data, {});
    const std::string bytes = readFileBytes(path);
    EXPECT_TRUE(bytes.starts_with("<TITLE>\r\n[NUMBER_ID]=C-001\r\n"));
    EXPECT_NE(bytes.find(toCp932("[Opt3Str]=～－㎡㌧\r\n")), std::string::npos);
    const QuotationData read = readQuotationFile(path);
    EXPECT_EQ(read.header, data.header);
    EXPECT_EQ(read.sheets[1], data.sheets[1]);
    std::filesystem::remove_all(path.parent_path());
}

// Only regular files are read, up to a limit, and a file saved as UTF-8 is named as such instead
// of being read as garbage; every message names the file.
TEST(QuotationFile, ReadersTakeOnlyRegularCp932FilesOfSensibleSize) {
    const std::filesystem::path folder = testFolder() / "inputs";
    std::filesystem::create_directories(folder);
    const std::string text =
        fileText("[ItemMax]=1\r\n", "10;配管工事;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n");
    const std::filesystem::path utf8 = folder / "utf8.krb2";
    writeFileAtomically(utf8, text);
    const std::filesystem::path cp932 = folder / "cp932.krb2";
    writeFileAtomically(cp932, toCp932(text));
    const std::filesystem::path fifo = folder / "fifo.krb2";
    ASSERT_EQ(std::system(("mkfifo '" + fifo.string() + "'").c_str()), 0);

    EXPECT_EQ(readQuotationFile(cp932).items[1].name, "配管工事");
    try {
        readQuotationFile(utf8);
        ADD_FAILURE() << "read a UTF-8 file as CP932";
    } catch (const QuotationFileError& error) {
        EXPECT_EQ(error.line(), 5);
        EXPECT_NE(error.detail().find("UTF-8"), std::string::npos);
        EXPECT_EQ(std::string(error.what()), utf8.string() + " の 5 行目: " + error.detail());
    }
    const struct {
        std::filesystem::path path;
        const char* message;
    } refused[] = {
        {fifo, "通常のファイルではない"},        // would block forever when opened for reading
        {"/dev/zero", "通常のファイルではない"}, // would never end
        {folder, "通常のファイルではない"},
        {folder / "missing.krb2", "読み込めませんでした"},
    };
    for (const auto& row : refused) {
        try {
            readQuotationFile(row.path);
            ADD_FAILURE() << "read " << row.path;
        } catch (const FileError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(row.message), std::string::npos) << message;
            EXPECT_NE(message.find(row.path.string()), std::string::npos) << message;
        }
    }
    EXPECT_EQ(readRegularFile(cp932, toCp932(text).size()), toCp932(text));
    try {
        readRegularFile(cp932, toCp932(text).size() - 1);
        ADD_FAILURE() << "read beyond the limit";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("大きすぎる"), std::string::npos);
    }
    std::filesystem::remove_all(folder);
}

// Print data of one sheet, compared whole with tests/data/quotation_single_sheet.krb2 (CP932).
// To regenerate it after an intended change of the format, run
//   KERBINA_REGENERATE_GOLDEN=1 build/tests/test_document --gtest_filter='*SingleSheetGolden*'
// and review the difference before committing it.
TEST(QuotationFile, SingleSheetGoldenFile) {
    QuotationData data = sampleQuotation();
    LineRecord welfare = line("法定福利費", 97, "20", "0");
    welfare.submittedAmount = c("60000");
    data.sheets[1].push_back(welfare);
    QuotationWriteOptions options;
    options.singleSheet = 1;
    options.omitUnlisted = true;
    const std::string bytes = toCp932(writeQuotationText(data, options));

    const std::filesystem::path golden = testDataFile("quotation_single_sheet.krb2");
    if (std::getenv("KERBINA_REGENERATE_GOLDEN") != nullptr) {
        writeFileAtomically(golden, bytes);
    }
    EXPECT_EQ(bytes, readFileBytes(golden));
}

} // namespace
} // namespace kerbina
