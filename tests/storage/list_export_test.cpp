#include "base/file_io.h"
#include "base/text_codec.h"
#include "storage/list_export.h"
#include "storage_fixture.h"

#include <cstdlib>
#include <minizip/unzip.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

const std::vector<QuotationListRow> kRows = {
    {"0012", "1", "東西,設備", "空調工事", "市立病院", "1500000", "佐藤", "2024-04-01 00:00:00"},
    {"NF00013", "6", "", "衛生工事", "駅前ビル", "2500.5", "", "2024-04-02\r\n00:00:00"},
};

TEST(ListCsv, ShownColumnsEachFollowedByAComma) {
    EXPECT_EQ(listCsvText(kRows, true),
              "0012,提出済,東西設備,空調工事,市立病院,1500000,佐藤,2024-04-01 00:00:00,\r\n"
              "NF00013,領収済,,衛生工事,駅前ビル,2500.5,,2024-04-0200:00:00,\r\n");
    EXPECT_EQ(listCsvText({QuotationListRow{}}, false), "");
}

// The list's values lose their grouping commas (amounts stay numbers) and are then written as
// every CSV export writes values: a quote inside one is quoted.
TEST(ListCsv, ValuesAreQuotedAsInEveryExport) {
    const QuotationListRow row{"A-001", "0", "", "本社\"改修\"", "倉庫", "1,234", "", "2024-04-01"};
    EXPECT_EQ(listCsvText({row}, false),
              "A-001,下書き,\"本社\"\"改修\"\"\",倉庫,1234,,2024-04-01,\r\n");
}

// One member of the .xlsx package, read back with a zip reader.
std::string packageMember(const std::filesystem::path& file, const char* member) {
    unzFile zip = unzOpen64(file.c_str());
    if (zip == nullptr) {
        ADD_FAILURE() << "not a zip file";
        return {};
    }
    std::string bytes;
    if (unzLocateFile(zip, member, 0) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buffer[4096];
        int read = 0;
        while ((read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0) {
            bytes.append(buffer, static_cast<std::size_t>(read));
        }
        unzCloseCurrentFile(zip);
    } else {
        ADD_FAILURE() << "no member " << member;
    }
    unzClose(zip);
    return bytes;
}

struct Cell {
    bool shared = false; // t="s": an index into the shared strings
    std::string value;
};

Cell cellOf(const std::string& sheet, const std::string& reference) {
    const std::size_t start = sheet.find("<c r=\"" + reference + "\"");
    if (start == std::string::npos) {
        return {false, "(missing)"};
    }
    const std::size_t end = sheet.find("</c>", start);
    const std::string cell = sheet.substr(start, end - start);
    const std::size_t value = cell.find("<v>");
    return {cell.find("t=\"s\"") != std::string::npos,
            value == std::string::npos ? ""
                                       : cell.substr(value + 3, cell.find("</v>") - value - 3)};
}

std::vector<std::string> sharedStrings(const std::string& xml) {
    std::vector<std::string> strings;
    for (std::size_t at = xml.find("<si>"); at != std::string::npos;
         at = xml.find("<si>", at + 1)) {
        const std::size_t open = xml.find('>', xml.find("<t", at)) + 1;
        strings.push_back(xml.substr(open, xml.find("</t>", open) - open));
    }
    return strings;
}

class ListWorkbookTest : public StorageTest {};

TEST_F(ListWorkbookTest, CellsNumbersAndTextNumbers) {
    const auto file = folder() / "一覧.xlsx";
    writeListWorkbook(file, kRows, listColumns(false, "現場名称", "工事名称", 0), false);
    const std::string sheet = packageMember(file, "xl/worksheets/sheet1.xml");
    const std::vector<std::string> strings =
        sharedStrings(packageMember(file, "xl/sharedStrings.xml"));
    const auto textAt = [&](const std::string& reference) {
        const Cell cell = cellOf(sheet, reference);
        EXPECT_TRUE(cell.shared) << reference << " is no text";
        const auto index = static_cast<std::size_t>(std::stoul("0" + cell.value));
        return index < strings.size() ? strings[index] : "(bad index)";
    };
    const auto numberAt = [&](const std::string& reference) {
        const Cell cell = cellOf(sheet, reference);
        EXPECT_FALSE(cell.shared) << reference << " is no number";
        return cell.value;
    };
    EXPECT_EQ(textAt("D1"), "見積一覧表");
    EXPECT_EQ(textAt("F2"), "合計金額");
    EXPECT_EQ(numberAt("G2"), "1502500.5");
    EXPECT_EQ(textAt("A3"), "No");
    EXPECT_EQ(textAt("B3"), "見積番号"); // the grid's sort mark is no part of the title
    EXPECT_EQ(numberAt("A4"), "1");
    EXPECT_EQ(textAt("B4"), "0012");
    EXPECT_EQ(textAt("C4"), "提出済");
    EXPECT_EQ(textAt("D4"), "空調工事");
    EXPECT_EQ(numberAt("F4"), "1500000");
    EXPECT_EQ(numberAt("F5"), "2500.5");
    // Dates are dates: the day number of the spreadsheet calendar, shown as a date.
    EXPECT_EQ(numberAt("H4"), "45383");
    EXPECT_EQ(numberAt("H5"), "45384");
    EXPECT_NE(cellOf(sheet, "H4").value, "(missing)");
    EXPECT_EQ(cellOf(sheet, "I4").value, "(missing)");
    for (const auto& entry : std::filesystem::directory_iterator(folder())) {
        EXPECT_EQ(entry.path().filename(), file.filename()); // no temporary left behind
    }
}

TEST_F(ListWorkbookTest, AnUnwritableFileIsReported) {
    EXPECT_THROW(writeListWorkbook(folder() / "missing" / "x.xlsx", kRows,
                                   listColumns(true, "a", "b", 0), true),
                 FileError);
    // A FIFO or a folder under the chosen name stays what it is.
    const auto fifo = folder() / "pipe.xlsx";
    ASSERT_EQ(std::system(("mkfifo '" + fifo.string() + "'").c_str()), 0);
    fs::create_directory(folder() / "folder.xlsx");
    for (const auto& target : {fifo, folder() / "folder.xlsx"}) {
        EXPECT_THROW(writeListWorkbook(target, kRows, listColumns(true, "a", "b", 0), true),
                     FileError);
        EXPECT_THROW(writeListCsv(target, kRows, true), FileError);
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_directory(folder() / "folder.xlsx"));
}

// Dates the list holds in another form, or that are no dates, are written as their text.
TEST_F(ListWorkbookTest, DatesThatAreNoneStayText) {
    const std::vector<std::string> created = {"2024-02-30", "2024-4-1", "令和6年", "",
                                              "2024-04-01 25:00:00"};
    std::vector<QuotationListRow> rows;
    for (const std::string& date : created) {
        rows.push_back({"K-1", "0", "", "", "", "1", "", date});
    }
    const auto file = folder() / "dates.xlsx";
    writeListWorkbook(file, rows, listColumns(false, "a", "b", 0), false);
    const std::string sheet = packageMember(file, "xl/worksheets/sheet1.xml");
    for (std::size_t n = 0; n < created.size(); ++n) {
        const Cell cell = cellOf(sheet, "H" + std::to_string(n + 4));
        const bool number = !cell.shared && !cell.value.empty() && cell.value != "(missing)";
        EXPECT_FALSE(number) << created[n] << " became " << cell.value;
    }
    rows = {{"K-1", "0", "", "", "", "1", "", "2024-04-01 13:30:00"}};
    writeListWorkbook(file, rows, listColumns(false, "a", "b", 0), false);
    EXPECT_EQ(cellOf(packageMember(file, "xl/worksheets/sheet1.xml"), "H4").value, "45383.5625");
}

TEST_F(ListWorkbookTest, CsvFileIsCp932) {
    const auto file = folder() / "list.csv";
    writeListCsv(file, kRows, false);
    EXPECT_EQ(readFileBytes(file), toCp932(listCsvText(kRows, false)));
}

} // namespace
} // namespace kerbina
