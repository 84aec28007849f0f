// A quotation built the way an estimator builds one: sheets with priced lines, expenses and
// statutory welfare on the sheets (each welfare layout once) and on the breakdown list, a
// hierarchy, a reduction and the tax. Saved and opened again, every total is what the command-line
// tool computes from the saved file.
#include "app/quotation_session.h"
#include "calc/totals.h"
#include "costs/expenses.h"
#include "costs/welfare_form.h"
#include "costs/welfare_writes.h"
#include "document/quotation_file.h"
#include "grid/item_commands.h"
#include "grid/line_message.h"
#include "grid/list_commands.h"
#include "money_literal.h"
#include "records/kinds.h"
#include "scripted_prompt.h"
#include "session_fixture.h"

#include <gtest/gtest.h>
#include <variant>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

class CostsSessionTest : public ::testing::Test {
protected:
    void run(const std::function<CommandResult(GridContext&, Selection)>& command,
             Selection selection) {
        const RunOutcome outcome =
            session->run([&] { session->runGridCommand(command, selection); });
        ASSERT_TRUE(outcome.succeeded) << outcome.error.value_or("");
    }

    // 2 × price at row 1 of the sheet in front, named after its item.
    void priceSheet(int item, const std::string& price) {
        session->showPage(item);
        LineMessage line;
        line.name = "配管" + std::to_string(item);
        line.unit = "m";
        line.netQuantity = line.submittedQuantity = c("2");
        line.netPrice = line.submittedPrice = c(price);
        line.kind = LineKind::WholePriced;
        run(
            [&](GridContext& context, Selection) {
                return writeLineFromMessage(context, Selection{1, 1}, line,
                                            LineWriteMode::Overwrite, AfterWrite::Save, false);
            },
            Selection{1, 1});
    }

    void writeWelfareAt(int row, WelfareLayout layout, bool listMode, const std::string& worker) {
        WelfareForm form;
        form.labourRate = "20";
        form.insuranceRates = {"9.98", "9.15", "0", "0.6", "0"};
        form.employerRate = employerRateText(form.insuranceRates).value();
        form.workerRate = worker;
        const auto checked = checkedWelfareEntry(form);
        ASSERT_TRUE(std::holds_alternative<WelfareEntry>(checked));
        const WelfareEntry entry = std::get<WelfareEntry>(checked);
        run(
            [&](GridContext& context, Selection selection) {
                return writeWelfare(context, selection, entry, layout, listMode);
            },
            Selection{row, row});
    }

    ScriptedPrompt prompt = ScriptedPrompt::answering(true);
    StartedSession started{prompt};
    std::unique_ptr<QuotationSession>& session = started.session;
};

TEST_F(CostsSessionTest, ExpensesWelfareHierarchyReductionAndTaxSurviveSaveAndReopen) {
    const std::vector<std::string> prices = {"100000", "200000", "300000", "400000"};
    for (int item = 1; item <= 4; ++item) {
        priceSheet(item, prices[static_cast<std::size_t>(item - 1)]);
    }
    // Sheet 1: an expense line (net 5 %, submitted 8 %, outside the other expenses, to 100 yen)
    // and the single welfare line; sheet 2 the expanded welfare; sheet 3 the formula form.
    session->showPage(1);
    const ExpenseEntry sheetExpense{"現場管理費", "5", "8", ExpenseUnit::Lump, 1, 2};
    run([&](GridContext& context,
            Selection selection) { return writeExpenseLine(context, selection, sheetExpense); },
        Selection{2, 2});
    writeWelfareAt(3, WelfareLayout::Single, false, "100");
    session->showPage(2);
    writeWelfareAt(2, WelfareLayout::Expanded, false, "100");
    session->showPage(3);
    writeWelfareAt(2, WelfareLayout::Formula, false, "80");

    session->showPage(0);
    prompt.texts = {std::string("設備工事")};
    run(addHierarchy, Selection{3, 4}); // parent at 3 over the sheets 3 and 4, now at 4 and 5
    const ExpenseEntry listExpense{"諸 経 費", "10", "10", ExpenseUnit::Percent, 0, 0};
    run([&](GridContext& context,
            Selection selection) { return writeExpenseItem(context, selection, listExpense); },
        Selection{6, 6});
    writeWelfareAt(7, WelfareLayout::Single, true, "100");
    prompt.texts = {std::string("出精値引"), std::string("50000")};
    run([](GridContext& context,
           Selection selection) { return addListReduction(context, selection, ListSettings{}); },
        Selection{8, 8});
    run([](GridContext& context,
           Selection selection) { return addListTax(context, selection, ListSettings{}); },
        Selection{9, 9});

    const DocumentState& built = session->document();
    ASSERT_EQ(built.itemMax(), 9);
    const std::vector<ItemKind> kinds = {ItemKind::Sheet,
                                         ItemKind::Sheet,
                                         ItemKind::HierarchyParentFirst,
                                         ItemKind::HierarchySheetFirst,
                                         ItemKind::HierarchySheetFirst,
                                         ItemKind::ExpenseOnTotal,
                                         ItemKind::Welfare,
                                         ItemKind::Reduction,
                                         ItemKind::Tax};
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(built.items[static_cast<std::size_t>(n)].kind,
                  kinds[static_cast<std::size_t>(n - 1)])
            << "item " << n;
    }

    const fs::path file = started.root.path() / "costs.krb2";
    session->run([&] { session->saveQuotationFile(file); });
    const DocumentState saved = session->document();
    ASSERT_TRUE(session->openQuotationFile(file, FileRole::OwnFile, StartedSession::kToday).done);
    session->showPage(0);
    const DocumentState& reopened = session->document();

    QuotationData data = readQuotationFile(file);
    recalculateQuotation(data, session->settings().calc, reopened.itemNameLine);
    ASSERT_EQ(data.items.size(), reopened.items.size());
    for (std::size_t n = 1; n < data.items.size(); ++n) {
        EXPECT_EQ(data.items[n].submittedTotal, reopened.items[n].submittedTotal) << "item " << n;
        EXPECT_EQ(data.items[n].netTotal, reopened.items[n].netTotal) << "item " << n;
        EXPECT_EQ(data.items[n].laborTotal, reopened.items[n].laborTotal) << "item " << n;
        EXPECT_EQ(saved.items[n].submittedTotal, reopened.items[n].submittedTotal) << "item " << n;
    }
    EXPECT_EQ(data.header.submittedGrandTotal, reopened.header.submittedGrandTotal);
    EXPECT_EQ(data.header.netGrandTotal, reopened.header.netGrandTotal);
    EXPECT_EQ(data.header.submittedTaxTotal, reopened.header.submittedTaxTotal);
    EXPECT_EQ(saved.header.submittedGrandTotal, reopened.header.submittedGrandTotal);

    // Sheet 1: 200,000 + 8 % expense (16,000) + welfare 216,000 × 20 % × 19.73 % = 8,523.36.
    EXPECT_EQ(data.items[1].submittedTotal, c("224523"));
    // Each sheet keeps its own lines through the hierarchy's moves.
    ASSERT_EQ(data.sheets.size(), data.items.size());
    for (const auto& [item, name] : std::vector<std::pair<int, std::string>>{
             {1, "配管1"}, {2, "配管2"}, {4, "配管3"}, {5, "配管4"}}) {
        EXPECT_TRUE(data.sheets[static_cast<std::size_t>(item)][1].nameSpec.starts_with(name))
            << "item " << item;
    }
}

} // namespace
} // namespace kerbina
