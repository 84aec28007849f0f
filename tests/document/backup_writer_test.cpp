#include "base/file_io.h"
#include "base/text_codec.h"
#include "document/direct_read.h"
#include "document/quotation_file.h"
#include "document/work_store.h"
#include "grid/item_commands.h"
#include "grid/row_commands.h"
#include "grid/work_folder_cycle.h"
#include "record_builders.h"
#include "records/line_kinds.h"
#include "scripted_prompt.h"
#include "work_store_fixture.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;
using testing_support::kToday;

// Sheets of the same number of lines (so their files have the same size) that differ in names
// and prices, with a sum line that takes the item's totals and a line priced from a unit-cost
// breakdown.
Sheet sheetNamed(const std::string& name, int price) {
    Sheet sheet{LineRecord{}};
    for (int row = 1; row <= 3; ++row) {
        LineRecord line = newLine();
        line.nameSpec = name + std::to_string(row) + ";SGP 25A";
        line.unit = "ｍ";
        line.netQuantity = line.submittedQuantity = Currency::fromWhole(row);
        line.netPrice = line.submittedPrice = Currency::fromWhole(price + row);
        line.priceCode = row == 2 ? "U" + name : "";
        sheet.push_back(line);
    }
    LineRecord sum = newLine();
    sum.kind = 99;
    sum.nameSpec = "合計";
    sheet.push_back(sum);
    return sheet;
}

class BackupTest : public testing_support::WorkStoreTest {
protected:
    void SetUp() override {
        WorkStoreTest::SetUp();
        std::vector<NamedSheet> sheets;
        for (int n = 1; n <= 4; ++n) {
            sheets.push_back({"工事" + std::to_string(n),
                              sheetNamed(std::string(1, static_cast<char>('A' + n)), n * 100)});
        }
        QuotationData data = quotationOf(newHeader(2024, 5, 17), sheets);
        data.unitCostBreakdowns = {"UB;配管", "UC;継手"};
        const fs::path file = root / "start.krb2";
        writeQuotationFile(file, data, {});
        loadQuotationFile(state, store, host, host.settings(), file, std::nullopt, kToday);
    }

    // The backup on disk against the quotation file written whole from the work folder.
    void expectAFullWrite(const std::string& step) {
        QuotationWriteOptions options;
        options.itemNameLine = state.itemNameLine;
        options.unitCostReferences = state.unitCostReferences;
        const std::string full =
            toCp932(writeQuotationText(collectQuotation(state, store.workFolder), options));
        const std::string backup = readFileBytes(backupFilePath(store.backupFolder));
        EXPECT_TRUE(backup == full) << step << ": the backup differs from a full write\n"
                                    << fromCp932(backup) << "\n---\n"
                                    << fromCp932(full);
    }

    ScriptedPrompt commandHost = ScriptedPrompt::answering(true);
    GridSession session;
};

TEST_F(BackupTest, IsTheWholeQuotationFileAfterEveryKindOfChange) {
    WorkFolderEditCycle cycle(state, store, host);
    GridContext context{state, cycle, commandHost, session, store.workFolder};
    expectAFullWrite("opened");

    openSheet(state, store, host, 2);
    const auto changePrice = [&](int row, int price) {
        ASSERT_LE(row, state.lineCount());
        cycle.takeSheetSnapshot();
        state.sheet[static_cast<std::size_t>(row)].submittedPrice = Currency::fromWhole(price);
        cycle.recalculate(false);
        cycle.writeSheet();
    };
    changePrice(1, 5000); // the sheet file keeps its size
    expectAFullWrite("price changed");
    insertLines(context, Selection{2, 2});
    expectAFullWrite("line inserted");
    openSheet(state, store, host, 3);
    changePrice(3, 7000);
    expectAFullWrite("sheet switched and changed");

    insertItem(context, Selection{2, 2}); // every file from item 2 on moves up one number
    expectAFullWrite("item inserted");
    copyItem(context, Selection{5, 5});
    pasteItem(context, Selection{1, 1});
    expectAFullWrite("item pasted over the first");
    deleteItem(context, Selection{3, 3});
    expectAFullWrite("item deleted");
    ASSERT_TRUE(cycle.undo(true));
    expectAFullWrite("list change undone");
    openSheet(state, store, host, 1); // the item pasted there has lines; item 2 is the empty one
    changePrice(2, 9000);
    ASSERT_TRUE(cycle.undo(false));
    expectAFullWrite("sheet change undone");

    // A sheet file another program replaced with one of the same size.
    writeSheetFile(store.workFolder / sheetFileName(4), sheetNamed("Z", 900), 4);
    saveItemList(state, store, ListMode::Wrk);
    expectAFullWrite("sheet file replaced");

    state.items[4].name = "改名";
    saveItemList(state, store, ListMode::Wrk);
    expectAFullWrite("item renamed");
    state.itemNameLine = false;
    saveItemList(state, store, ListMode::Wrk);
    expectAFullWrite("without title lines");
    state.unitCostReferences = true;
    saveItemList(state, store, ListMode::Wrk);
    expectAFullWrite("with unit-cost references");
    state.unitCostBreakdowns.insert(state.unitCostBreakdowns.begin(), "UA;弁");
    saveItemList(state, store, ListMode::Wrk);
    expectAFullWrite("unit-cost list changed");
}

TEST_F(BackupTest, IsRewrittenUnlessTheFileHoldsTheNextBackupAlready) {
    const fs::path backup = backupFilePath(store.backupFolder);
    openSheet(state, store, host, 1);
    saveSheetRecords(state, store, host, RecordMode::Wrk);
    const auto written = fileStamp(backup);
    saveSheetRecords(state, store, host, RecordMode::Und); // the snapshot before the next change
    EXPECT_EQ(fileStamp(backup), written);

    fs::remove(backup);
    saveSheetRecords(state, store, host, RecordMode::Und);
    expectAFullWrite("deleted by someone else");
    writeFileAtomically(backup, "replaced by someone else");
    saveSheetRecords(state, store, host, RecordMode::Und);
    expectAFullWrite("replaced by someone else");

    // A write that failed is made again even though nothing changed since.
    BackupWriter writer;
    const fs::path file = root / "unit.krb2";
    QuotationData data = collectQuotation(state, store.workFolder);
    writer.prepare(data, {}, store.workFolder);
    writer.write(file);
    data.header.workName = "変更";
    writer.prepare(data, {}, store.workFolder);
    EXPECT_THROW(writer.write(root / "missing" / "unit.krb2"), FileError);
    writer.prepare(data, {}, store.workFolder);
    writer.write(file);
    EXPECT_EQ(readFileBytes(file), toCp932(writeQuotationText(data, {})));
}

} // namespace
} // namespace kerbina
