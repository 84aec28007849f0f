#include "document/direct_read.h"
#include "document/file_io.h"
#include "document/quotation_file.h"
#include "document/text_codec.h"
#include "document/work_store.h"
#include "work_store_fixture.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

using testing_support::kToday;
using testing_support::namesOf;

std::string itemLine(std::string_view kind, std::string_view name) {
    return std::string(kind) + ";" + std::string(name) + ";0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n";
}

std::string dataLine(int sheet, std::string_view name, std::string_view price) {
    return std::to_string(sheet) + ";" + std::string(name) + ";;0;11999;;10;2;2;" +
           std::string(price) + ";" + std::string(price) + ";0;0;0;0;0;0;0;0;;;\r\n";
}

std::string quotationText(std::string_view items, int itemMax, std::string_view lines) {
    return "<TITLE>\r\n[ATESAKI_1]=山田建設株式会社御中\r\n[NUMBER]=Q-77\r\n[STATUS]=2\r\n"
           "[ItemMax]=" +
           std::to_string(itemMax) + "\r\n[Tax_opt_1]=0.9\r\n</TITLE>\r\n<ITEM>\r\n" +
           std::string(items) + "</ITEM>\r\n<DATA>\r\n" + std::string(lines) +
           "</DATA>\r\n<PICKUP>\r\n2;0;0;拾出\r\n</PICKUP>\r\n<CONFIG>\r\n</CONFIG>\r\n"
           "<DAIKA>\r\n複合単価:0000001;a;\r\n</DAIKA>\r\n</EOF>\r\n";
}

class DirectReadTest : public testing_support::WorkStoreTest {
protected:
    std::filesystem::path writeFile(const std::string& name, std::string_view utf8) {
        const std::filesystem::path path = root / name;
        writeFileAtomically(path, toCp932(utf8));
        return path;
    }
};

TEST_F(DirectReadTest, OpensEveryItemAndShowsTheBreakdownList) {
    const auto path =
        writeFile("two.krb2",
                  quotationText(itemLine("93", "消費税") + itemLine("10", "") + itemLine("10", ""),
                                3, dataLine(2, "配管", "100") + dataLine(3, "継手", "50")));
    startNewQuotation(state, store, host, kToday);
    state.modified = true;

    EXPECT_EQ(Direct_read(state, store, host, path, std::nullopt, kToday), OpenedView::ItemList);
    EXPECT_EQ(state.itemMax(), 3);
    EXPECT_EQ(state.header.atesaki1, "山田建設株式会社");
    EXPECT_EQ(state.header.keisyo, "御中");
    EXPECT_EQ(state.header.status, 2);
    EXPECT_EQ(state.currentSheetNumber, 2); // the tax item has no sheet of its own
    EXPECT_EQ(namesOf(state.sheet), "配管;");
    EXPECT_FALSE(state.modified);
    EXPECT_EQ(state.settings.taxOffset, parseNumber("0.9"));
    EXPECT_EQ(state.unitCostBreakdowns, std::vector<std::string>{"複合単価:0000001;a;"});
    EXPECT_EQ(namesOf(readSheetFile(work("WITEM3.WRK"))), "継手;");
    EXPECT_EQ(readTextLines(work("WITEM2.PUP")), std::vector<std::string>{"0;0;拾出"});
    EXPECT_TRUE(std::filesystem::exists(work("WITEM1.WRK")));

    // The backup now holds the opened quotation.
    const QuotationData backup = readQuotationFile(backupFilePath(store.backupFolder));
    EXPECT_EQ(backup.header.number, "Q-77");
    EXPECT_EQ(namesOf(backup.sheets[3]), "継手;");
}

TEST_F(DirectReadTest, OneItemOpensItsSheetComputedWithAFreshUndoTape) {
    const auto path =
        writeFile("one.krb2", quotationText(itemLine("10", ""), 1, dataLine(1, "配管", "100")));
    startNewQuotation(state, store, host, kToday);

    EXPECT_EQ(Direct_read(state, store, host, path, 5, kToday), OpenedView::Sheet);
    EXPECT_EQ(state.header.status, 5);
    ASSERT_EQ(state.lineCount(), 1);
    EXPECT_EQ(state.sheet[1].submittedAmount, parseNumber("200"));
    EXPECT_EQ(state.items[1].submittedTotal, parseNumber("200"));
    // Undo never goes behind the sheet as it was opened.
    EXPECT_EQ(namesOf(readSheetFile(work("1WITEM1.UND"))), "配管;");
    EXPECT_FALSE(state.modified);
}

TEST_F(DirectReadTest, UnreadableFileLeavesTheOpenQuotationAlone) {
    const auto good =
        writeFile("one.krb2", quotationText(itemLine("10", "工事"), 1, dataLine(1, "配管", "1")));
    startNewQuotation(state, store, host, kToday);
    Direct_read(state, store, host, good, std::nullopt, kToday);
    state.modified = true;
    const DocumentState before = state;
    const std::string headerFile = readFileBytes(work("HEAD.WRK"));
    const std::string sheetFile = readFileBytes(work("WITEM1.WRK"));

    const auto shortFile =
        writeFile("short.krb2", quotationText(itemLine("10", "") + itemLine("10", ""), 3,
                                              dataLine(1, "別", "1")));
    try {
        Direct_read(state, store, host, shortFile, std::nullopt, kToday);
        ADD_FAILURE() << "opened a file with fewer items than [ItemMax]";
    } catch (const QuotationFileError& error) {
        EXPECT_EQ(error.line(), 11);
    }
    EXPECT_THROW(
        Direct_read(state, store, host, writeFile("old.krb", "not old"), std::nullopt, kToday),
        QuotationFileError);
    EXPECT_THROW(Direct_read(state, store, host, root / "missing.krb2", std::nullopt, kToday),
                 FileError);

    EXPECT_EQ(state.header, before.header);
    EXPECT_EQ(state.items, before.items);
    EXPECT_EQ(state.sheet, before.sheet);
    EXPECT_TRUE(state.modified);
    EXPECT_EQ(readFileBytes(work("HEAD.WRK")), headerFile);
    EXPECT_EQ(readFileBytes(work("WITEM1.WRK")), sheetFile);
}

} // namespace
} // namespace kerbina
