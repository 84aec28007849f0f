#include "base/file_io.h"
#include "base/text_codec.h"
#include "catalogue_fixture.h"
#include "prices/price_list.h"
#include "storage/sqlite_connection.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

namespace kerbina {
namespace {

constexpr std::chrono::year_month_day kToday{std::chrono::year{2026}, std::chrono::December,
                                             std::chrono::day{11}};

PriceListFileRow fileRow(int line, std::string name, std::string specification,
                         std::string submittedPrice, std::string category = {}) {
    PriceListFileRow row;
    row.line = line;
    row.name = std::move(name);
    row.specification = std::move(specification);
    row.submittedPrice = std::move(submittedPrice);
    row.category = std::move(category);
    return row;
}

// Writes an .xlsx workbook of the given parts (name, XML text).
void writeWorkbook(const std::filesystem::path& file,
                   const std::vector<std::pair<std::string, std::string>>& parts) {
    zipFile zip = zipOpen64(file.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, text] : parts) {
        ASSERT_EQ(zipOpenNewFileInZip64(zip, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr,
                                        Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size())),
                  ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

const std::string kWorkbook =
    R"(<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="単価表" sheetId="1" r:id="rId3"/><sheet name="メモ" sheetId="2" r:id="rId1"/></sheets></workbook>)";
const std::string kRelationships =
    R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet2.xml"/><Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet1.xml"/></Relationships>)";
// Texts of a Japanese workbook carry their readings (rPh), which are no part of the text.
const std::string kSharedStrings =
    R"(<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>提出単価</t></si><si><t>名称</t><rPh sb="0" eb="2"><t>メイショウ</t></rPh></si><si><r><t>仕</t></r><r><rPr><b/></rPr><t>様</t></r></si><si><t>鋼管</t><rPh sb="0" eb="2"><t>コウカン</t></rPh></si><si><t xml:space="preserve">O'Brien &amp; 50%_継手</t></si></sst>)";
const std::string kSheet =
    R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
    R"(<row r="1"><c r="A1" t="s"><v>1</v></c><c r="B1" t="s"><v>2</v></c><c r="D1" t="s"><v>0</v></c><c r="E1" t="inlineStr"><is><t>単位</t></is></c></row>)"
    R"(<row r="3"><c r="A3" t="s"><v>3</v></c><c r="B3" t="inlineStr"><is><t>SGP 20A</t></is></c><c r="D3"><v>1234.5</v></c><c r="E3" t="str"><v>ｍ</v></c></row>)"
    R"(<row r="4"><c r="A4" t="s"><v>4</v></c><c r="D4"><v>1.5E-3</v></c></row>)"
    R"(<row r="5"><c r="A5" t="inlineStr"><is><t>大口</t></is></c><c r="D5"><v>1.2E+5</v></c></row>)"
    R"(</sheetData></worksheet>)";

TEST_F(CatalogueTest, WorkbookFirstSheetIsReadByItsHeader) {
    const std::filesystem::path book = folder.path() / "supplier.XLSX";
    writeWorkbook(book, {{"xl/workbook.xml", kWorkbook},
                         {"xl/_rels/workbook.xml.rels", kRelationships},
                         {"xl/sharedStrings.xml", kSharedStrings},
                         {"xl/worksheets/sheet1.xml", kSheet},
                         {"xl/worksheets/sheet2.xml", "<worksheet/>"}});
    PriceListFileRow pipe = fileRow(3, "鋼管", "SGP 20A", "1234.5");
    pipe.unit = "ｍ";
    EXPECT_EQ(readPriceListFile(book),
              (std::vector<PriceListFileRow>{pipe, fileRow(4, "O'Brien & 50%_継手", "", "0.0015"),
                                             fileRow(5, "大口", "", "120000")}));

    const std::filesystem::path damaged = folder.path() / "damaged.xlsx";
    writeFileAtomically(damaged, "PK not really a workbook");
    EXPECT_THROW(readPriceListFile(damaged), PriceListFileError);
    const std::filesystem::path noSheet = folder.path() / "nosheet.xlsx";
    writeWorkbook(noSheet, {{"xl/workbook.xml", kWorkbook}});
    EXPECT_THROW(readPriceListFile(noSheet), PriceListFileError);
}

TEST(PriceListCsvTest, EncodingsAndColumnOrderGiveTheSameRows) {
    const std::string text = "\r\nカテゴリー,提出単価,名称,備考,仕様\r\n"
                             "配管,1200,鋼管,\"安い, 早い\",20A\r\n"
                             ",,,,\r\n"
                             "継手,\"3,5\",\"エルボ \"\"90\"\"\",,\"25A\n長\"\n"
                             "弁類,800,仕切弁,,";
    const std::vector<PriceListFileRow> expected = {
        fileRow(3, "鋼管", "20A", "1200", "配管"),
        fileRow(5, "エルボ \"90\"", "25A\n長", "3,5", "継手"),
        fileRow(7, "仕切弁", "", "800", "弁類"),
    };
    EXPECT_EQ(readPriceListCsv(text), expected);
    EXPECT_EQ(readPriceListCsv("\xEF\xBB\xBF" + text), expected);
    EXPECT_EQ(readPriceListCsv(toCp932(text)), expected);

    EXPECT_THROW(readPriceListCsv("品名,単価\r\n鋼管,100\r\n"), PriceListFileError);
    EXPECT_THROW(readPriceListCsv("\r\n"), PriceListFileError);
}

TEST_F(CatalogueTest, PriceListAddsUpdatesAndRefusesThenExportLoadsBackUnchanged) {
    const std::int64_t pipe = addPrice(PriceGroup::Code, "配管", "鋼管", "20A", "1000");
    addPrice(PriceGroup::Tree, "配管", "鋼管", "25A", "1000");

    const std::vector<PriceListFileRow> rows = {
        fileRow(2, "鋼管", "20A", "1200"),                         // update in the chosen category
        fileRow(3, "O'Brien's 50%_継手", "25A", "350.25", "継手"), // addition with its own category
        fileRow(4, "仕切弁", "", "abc"),
        fileRow(5, "", "40A", "100"),
        fileRow(6, "あいうえおかきくけこさしすせそたちつてとなにぬねのは", "", "1"), // 52 bytes
        fileRow(7, "O'Brien's 50%_継手", "25A", "400", "継手"),
        fileRow(8, "鋼管", "20A", "1200", "別分類"), // another category: an addition
    };
    const PriceListPreview preview = previewPriceList(database, PriceGroup::Code, "配管", rows);
    EXPECT_EQ(preview.count(PriceListAction::Add), 2);
    EXPECT_EQ(preview.count(PriceListAction::Update), 1);
    EXPECT_EQ(preview.count(PriceListAction::Refuse), 4);
    const struct {
        std::size_t row;
        std::string reason;
    } refusals[] = {
        {2, "提出単価が数値ではありません（abc）。"},
        {3, "名称がありません。"},
        {4, "名称が長すぎます（50バイトまで）。"},
        {5, "同じカテゴリー・名称・仕様の行が3行目にあります。"},
    };
    for (const auto& [row, reason] : refusals) {
        EXPECT_EQ(preview.rows[row].action, PriceListAction::Refuse) << row;
        EXPECT_EQ(preview.rows[row].reason, reason) << row;
    }
    EXPECT_EQ(preview.rows[0].id, pipe);

    applyPriceList(file, preview, kToday);
    EXPECT_EQ(
        database.queryRows("SELECT Price1,modefied FROM tanka WHERE ID=?;", {pipe})[0].columns,
        (std::vector<std::string>{"1200", "2026/12/11"}));
    EXPECT_EQ(searchCodePrices(database, "'s 50%_").at(0).submittedPrice, c("350.25"));
    EXPECT_EQ(priceCategories(database, PriceGroup::Code),
              (std::vector<std::string>{"別分類", "継手", "配管"}));
    EXPECT_EQ(searchTreePrices(database, "鋼管", "").at(0).submittedPrice, c("1000"));

    const std::filesystem::path exported = folder.path() / "code.csv";
    exportPriceList(database, PriceGroup::Code, exported);
    const std::string bytes = readRegularFile(exported);
    EXPECT_TRUE(
        bytes.starts_with(toCp932("名称,仕様,単位,仕切単価,提出単価,定価,歩掛,カテゴリー,\r\n")));
    const SqlRows before = database.queryRows("SELECT * FROM tanka ORDER BY ID;");
    const PriceListPreview again =
        previewPriceList(database, PriceGroup::Code, "配管", readPriceListFile(exported));
    EXPECT_EQ(again.rows.size(), 3u);
    EXPECT_EQ(again.count(PriceListAction::Unchanged), 3);
    applyPriceList(file, again,
                   std::chrono::year_month_day{std::chrono::year{2027}, std::chrono::January,
                                               std::chrono::day{5}});
    EXPECT_EQ(database.queryRows("SELECT * FROM tanka ORDER BY ID;"), before);
    EXPECT_TRUE(reporter.reports.empty());
}

// A list is written whole or not at all.
TEST_F(CatalogueTest, APriceListThatFailsHalfwayLeavesTheCatalogueAsItWas) {
    addPrice(PriceGroup::Code, "配管", "鋼管", "20A", "1000");
    database.execute("CREATE TRIGGER refuse BEFORE INSERT ON tanka WHEN NEW.ITEMNAME='拒否' "
                     "BEGIN SELECT RAISE(ABORT,'refused'); END;");
    const PriceListPreview preview =
        previewPriceList(database, PriceGroup::Code, "配管",
                         {fileRow(2, "鋼管", "20A", "1500"), fileRow(3, "継手", "", "10"),
                          fileRow(4, "拒否", "", "1")});
    const SqlRows before = database.queryRows("SELECT * FROM tanka ORDER BY ID;");
    EXPECT_THROW(applyPriceList(file, preview, kToday), DatabaseError);
    EXPECT_EQ(database.queryRows("SELECT * FROM tanka ORDER BY ID;"), before);
}

} // namespace
} // namespace kerbina
