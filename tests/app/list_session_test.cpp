// The breakdown list edited through the session as the window drives it, saved and opened again:
// the sheets stay with their items and the totals are those the command-line tool computes.
#include "app/quotation_session.h"
#include "calc/totals.h"
#include "document/quotation_file.h"
#include "document/work_store.h"
#include "grid/item_commands.h"
#include "grid/line_message.h"
#include "grid/list_commands.h"
#include "grid/registered_text_replies.h"
#include "money_literal.h"
#include "records/kinds.h"
#include "scripted_prompt.h"
#include "session_fixture.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

class ListSessionTest : public ::testing::Test {
protected:
    // One priced line "工事n" at row 1 of the sheet in front: 2 × price.
    void writeLine(const std::string& name, const std::string& price) {
        LineMessage line;
        line.name = name;
        line.unit = "m";
        line.netQuantity = line.submittedQuantity = c("2");
        line.netPrice = line.submittedPrice = c(price);
        line.kind = LineKind::WholePriced;
        session->runGridCommand(
            [&](GridContext& context, Selection) {
                return writeLineFromMessage(context, Selection{1, 1}, line,
                                            LineWriteMode::Overwrite, AfterWrite::Save, false);
            },
            Selection{1, 1});
    }

    void runOnList(const std::function<CommandResult(GridContext&, Selection)>& command,
                   Selection selection) {
        ASSERT_TRUE(session->listMode());
        const RunOutcome outcome =
            session->run([&] { session->runGridCommand(command, selection); });
        ASSERT_TRUE(outcome.succeeded) << outcome.error.value_or("");
    }

    ScriptedPrompt prompt = ScriptedPrompt::answering(true);
    StartedSession started{prompt};
    std::unique_ptr<QuotationSession>& session = started.session;
};

// Open sheet 3, go to the list, insert an item at 2, name it through a reply, add a reduction and
// the tax, save, open the file again: every sheet is with its item and every total is what the
// command-line tool computes from the saved file.
TEST_F(ListSessionTest, ListEditsKeepEverySheetWithItsItemThroughSaveAndReopen) {
    const std::vector<std::string> prices = {"1000", "2000", "3000", "4000"};
    for (int n = 1; n <= 4; ++n) {
        session->showPage(n);
        writeLine("工事" + std::to_string(n), prices[static_cast<std::size_t>(n - 1)]);
        session->runGridCommand(
            [n](GridContext& context, Selection selection) {
                return renameItem(context, selection, n, "工事" + std::to_string(n), false);
            },
            Selection{1, 1});
    }
    session->showPage(3);
    session->showPage(0);

    runOnList(insertItem, Selection{2, 2});
    EXPECT_EQ(session->document().currentSheetNumber, 4);
    LineMessage reply = itemNameLineMessage("", "新しい工事");
    runOnList(
        [&](GridContext& context, Selection selection) {
            return renameItemFromReply(context, selection, reply, true);
        },
        Selection{2, 2});
    prompt.texts = {std::string("出精値引"), std::string("500")};
    runOnList(
        [](GridContext& context, Selection selection) {
            return addListReduction(context, selection, ListSettings{});
        },
        Selection{6, 6});
    runOnList([](GridContext& context,
                 Selection selection) { return addListTax(context, selection, ListSettings{}); },
              Selection{7, 7});
    EXPECT_TRUE(session->document().modified);

    const fs::path file = started.root.path() / "list.krb2";
    session->run([&] { session->saveQuotationFile(file); });
    const DocumentState saved = session->document();

    ASSERT_TRUE(session->openQuotationFile(file, FileRole::OwnFile, StartedSession::kToday).done);
    session->showPage(0);
    const DocumentState& reopened = session->document();
    ASSERT_EQ(reopened.itemMax(), 7);
    const std::vector<std::string> names = {"工事1", "新しい工事", "工事2",   "工事3",
                                            "工事4", "出精値引",   "消 費 税"};
    for (int n = 1; n <= 7; ++n) {
        EXPECT_EQ(reopened.items[static_cast<std::size_t>(n)].name,
                  names[static_cast<std::size_t>(n - 1)]);
    }

    QuotationData data = readQuotationFile(file);
    recalculateQuotation(data, session->settings().calc, reopened.itemNameLine);
    const std::vector<std::pair<int, std::string>> sheetLines = {
        {1, "工事1"}, {3, "工事2"}, {4, "工事3"}, {5, "工事4"}};
    for (const auto& [item, name] : sheetLines) {
        const Sheet& sheet = data.sheets[static_cast<std::size_t>(item)];
        ASSERT_GE(sheet.size(), 2u) << "item " << item;
        bool found = false;
        for (const LineRecord& line : sheet) {
            found = found || line.nameSpec.starts_with(name);
        }
        EXPECT_TRUE(found) << "item " << item << " lost " << name;
    }
    for (int n = 1; n <= 7; ++n) {
        const auto i = static_cast<std::size_t>(n);
        EXPECT_EQ(data.items[i].submittedTotal, reopened.items[i].submittedTotal) << "item " << n;
        EXPECT_EQ(data.items[i].netTotal, reopened.items[i].netTotal) << "item " << n;
        EXPECT_EQ(saved.items[i].submittedTotal, reopened.items[i].submittedTotal) << "item " << n;
    }
    EXPECT_EQ(data.items[4].submittedTotal, c("6000"));
    EXPECT_EQ(data.items[6].submittedTotal, c("500"));
    EXPECT_EQ(data.header.submittedGrandTotal, reopened.header.submittedGrandTotal);
    EXPECT_EQ(data.header.netGrandTotal, reopened.header.netGrandTotal);
    EXPECT_EQ(data.header.submittedTaxTotal, reopened.header.submittedTaxTotal);
    EXPECT_EQ(reopened.header.submittedGrandTotal, saved.header.submittedGrandTotal);
    // 20000 of the sheets less the reduction of 500, and 10 % tax.
    EXPECT_EQ(data.header.submittedGrandTotal, c("21450"));
}

// 取り消し and やり直し on the list take back and repeat an insert together with the sheet files.
TEST_F(ListSessionTest, ListUndoAndRedoMoveTheSheetsWithTheItems) {
    for (int n = 1; n <= 2; ++n) {
        session->showPage(n);
        writeLine("工事" + std::to_string(n), "1000");
    }
    session->showPage(0);
    const auto firstLineOf = [&](int item) {
        return readSheetFile(session->store().workFolder / sheetFileName(item))[1].nameSpec;
    };
    runOnList(insertItem, Selection{1, 1});
    ASSERT_EQ(session->document().itemMax(), 3);
    EXPECT_TRUE(firstLineOf(2).starts_with("工事1"));

    ASSERT_TRUE(session->undo().done);
    EXPECT_EQ(session->document().itemMax(), 2);
    EXPECT_TRUE(firstLineOf(1).starts_with("工事1"));
    EXPECT_TRUE(firstLineOf(2).starts_with("工事2"));
    EXPECT_EQ(session->document().currentSheetNumber, 2);

    ASSERT_TRUE(session->redo().done);
    EXPECT_EQ(session->document().itemMax(), 3);
    EXPECT_TRUE(firstLineOf(3).starts_with("工事2"));
    EXPECT_EQ(session->document().currentSheetNumber, 3);
    EXPECT_FALSE(session->redo().done);
}

} // namespace
} // namespace kerbina
