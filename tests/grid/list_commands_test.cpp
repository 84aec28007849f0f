#include "base/file_io.h"
#include "document/document_events.h"
#include "document/work_store.h"
#include "grid/item_commands.h"
#include "grid/item_data.h"
#include "grid/list_commands.h"
#include "grid/work_folder_cycle.h"
#include "grid_test_support.h"
#include "record_builders.h"
#include "records/item_settings.h"
#include "records/line_kinds.h"
#include "records/sheet_rows.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace kerbina {
namespace {

using testing::CommandBench;

const std::vector<std::string> kListSteps = {"list snapshot", "list totals", "write list"};

std::vector<int> kindsOf(const DocumentState& state) {
    std::vector<int> kinds;
    for (int n = 1; n <= state.itemMax(); ++n) {
        kinds.push_back(state.items[static_cast<std::size_t>(n)].kind.code());
    }
    return kinds;
}

// Items "工事1".."工事n" of the given kinds, without sheet files.
void addItems(DocumentState& state, const std::vector<int>& kinds) {
    for (std::size_t n = 0; n < kinds.size(); ++n) {
        state.items.push_back(sheetItem("工事" + std::to_string(n + 1), kinds[n]));
    }
}

Sheet linesNamed(const std::string& name, int count) {
    Sheet sheet{LineRecord{}};
    for (int i = 0; i < count; ++i) {
        LineRecord line;
        line.nameSpec = name + ";";
        line.submittedQuantity = Currency::fromWhole(2);
        line.submittedPrice = Currency::fromWhole(100);
        sheet.push_back(line);
    }
    return sheet;
}

// Six work items with a sheet file each over the work folder's own edit cycle; the open sheet is
// item 4's.
struct ListBench {
    DocumentState state;
    WorkStore store{testing::freshFolder("work"), testing::freshFolder("backup")};
    QuietDocumentEvents events;
    WorkFolderEditCycle cycle{state, store, events};
    ScriptedPrompt host;
    GridSession session;
    GridContext context{state, cycle, host, session, store.workFolder};

    ListBench() {
        for (int n = 1; n <= 6; ++n) {
            state.items.push_back(sheetItem("工事" + std::to_string(n)));
            writeSheetFile(sheetFile(n), linesNamed("L" + std::to_string(n), n), n);
        }
        state.currentSheetNumber = 4;
        loadSheet(state, store.workFolder, 4);
        saveItemList(state, store, ListMode::Wrk);
    }

    fs::path sheetFile(int n) const { return itemSheetFile(store.workFolder, n); }
    // The first line's name of item n's sheet file: which item's lines it holds.
    std::string sheetOwner(int n) const {
        const Sheet sheet = readSheetFile(sheetFile(n));
        return sheet.size() > 1 ? sheet[1].nameSpec : std::string();
    }
};

TEST(ListCommands, HierarchyGroupsARangeMovesTheSheetsAndUndoesAndRedoes) {
    ListBench bench;
    const Sheet openSheet = bench.state.sheet;
    bench.host.answers = {true};
    bench.host.texts = {std::string("空調設備")};

    const CommandResult result = addHierarchy(bench.context, Selection{3, 5});
    EXPECT_EQ(bench.host.questions, (std::vector<std::string>{"ここに階層を作成しますか?",
                                                              "階層元の名称を入力してください"}));
    EXPECT_EQ(result.selection, (Selection{4, 6}));
    EXPECT_TRUE(result.itemsChanged);
    const auto grouped = [](const DocumentState& state) {
        EXPECT_EQ(kindsOf(state), (std::vector<int>{10, 10, 20, 30, 30, 30, 10}));
        EXPECT_EQ(state.items[3].name, "空調設備");
        EXPECT_EQ(itemRangeNumbers(state.items[3]), (std::pair{4, 6}));
        EXPECT_EQ(state.items[4].name, "工事3");
        EXPECT_EQ(state.currentSheetNumber, 5);
    };
    grouped(bench.state);
    // The sheets moved with their items; the parent has none, and the open sheet kept its lines.
    EXPECT_FALSE(fs::exists(bench.sheetFile(3)));
    for (int n = 4; n <= 7; ++n) {
        EXPECT_EQ(bench.sheetOwner(n), "L" + std::to_string(n - 1) + ";") << "item " << n;
    }
    EXPECT_EQ(bench.state.sheet, openSheet);

    ASSERT_TRUE(bench.cycle.undo(true));
    ASSERT_TRUE(bench.cycle.undo(true)); // the same list again
    EXPECT_EQ(kindsOf(bench.state), (std::vector<int>(6, 10)));
    EXPECT_EQ(bench.state.currentSheetNumber, 4);
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(bench.sheetOwner(n), "L" + std::to_string(n) + ";") << "item " << n;
    }
    EXPECT_FALSE(fs::exists(bench.sheetFile(7)));

    ASSERT_TRUE(bench.cycle.redoList());
    grouped(bench.state);
    EXPECT_FALSE(fs::exists(bench.sheetFile(3)));
    EXPECT_EQ(bench.sheetOwner(7), "L6;");
    EXPECT_EQ(bench.state.sheet, openSheet);
    // Redo brings back one undone change once.
    EXPECT_FALSE(bench.cycle.redoList());

    // A list change after an undo leaves nothing to redo.
    ASSERT_TRUE(bench.cycle.undo(true));
    bench.host.answers = {true};
    bench.host.texts = {std::string("次")};
    addHierarchy(bench.context, Selection{1, 1});
    EXPECT_FALSE(bench.cycle.redoList());
    EXPECT_EQ(bench.state.items[1].name, "次");
}

TEST(ListCommands, HierarchyParentKindFollowsTheFirstItemOrIsRefused) {
    struct Case {
        std::vector<int> kinds;
        Selection selection;
        int parentKind; // 0: refused with `refusal`
        std::vector<int> after;
        const char* refusal;
    };
    const Case cases[] = {
        {{10, 10}, {1, 2}, 20, {20, 30, 30}, ""},
        {{20, 30, 21, 31}, {2, 4}, 21, {20, 21, 31, 22, 32}, ""},
        {{28, 38, 99}, {2, 2}, 29, {28, 29, 39, 99}, ""},
        {{22, 96}, {1, 2}, 22, {22, 23, 96}, ""},
        {{38, 39}, {2, 2}, 0, {}, "これ以上階層を深くする事はできません"},
        {{29}, {1, 1}, 0, {}, "これ以上階層を深くする事はできません"},
        {{10, 91}, {1, 2}, 0, {}, "合計、小計、諸経費、減額等は階層に含める事はできません"},
        {{10, 82}, {1, 2}, 0, {}, "合計、小計、諸経費、減額等は階層に含める事はできません"},
        {{10, 10}, {2, 3}, 0, {}, "まだ名称の決まっていない項目があります。"},
    };
    for (const Case& c : cases) {
        CommandBench bench;
        addItems(bench.state, c.kinds);
        bench.host.answers = {true};
        bench.host.texts = {std::string("親")};
        addHierarchy(bench.context, c.selection);
        if (c.parentKind == 0) {
            EXPECT_EQ(bench.host.notices, std::vector<std::string>{c.refusal});
            EXPECT_TRUE(bench.host.questions.empty());
            EXPECT_EQ(kindsOf(bench.state), c.kinds);
            EXPECT_TRUE(bench.cycle.steps.empty());
        } else {
            EXPECT_EQ(kindsOf(bench.state), c.after);
            EXPECT_EQ(bench.state.items[static_cast<std::size_t>(c.selection.top)].kind.code(),
                      c.parentKind);
            EXPECT_EQ(bench.cycle.steps, kListSteps);
        }
    }
}

TEST(ListCommands, DeclinedQuestionsChangeNothing) {
    using Command = CommandResult (*)(GridContext&, Selection, const ListSettings&);
    const Command commands[] = {addListSmallSum, addListMidSum, addListSumLine, addListReduction,
                                addListTax};
    for (const Command command : commands) {
        for (const bool askedYes : {false, true}) {
            if (command == addListTax && askedYes) {
                continue; // the tax asks no name
            }
            CommandBench bench;
            addItems(bench.state, {10, 10});
            bench.host.answers = {askedYes};
            // The name prompt is cancelled when the question was answered Yes.
            command(bench.context, Selection{2, 2}, ListSettings{});
            EXPECT_EQ(kindsOf(bench.state), (std::vector<int>{10, 10}));
            EXPECT_TRUE(bench.cycle.steps.empty());
        }
    }
}

TEST(ListCommands, SmallSumGoesBelowTheSelectionOverItsRange) {
    CommandBench bench;
    addItems(bench.state, {10, 10, 10, 20, 30});
    setItemRange(bench.state.items[4], 5, 5);
    bench.state.currentSheetNumber = 5;
    bench.host.answers = {true};
    bench.host.texts = {std::string("小計A")};
    const CommandResult result = addListSmallSum(bench.context, Selection{1, 3}, ListSettings{});
    EXPECT_EQ(bench.host.questions,
              (std::vector<std::string>{"選択範囲の小計を作成しますか?", "名称を入力して下さい"}));
    EXPECT_EQ(kindsOf(bench.state), (std::vector<int>{10, 10, 10, 95, 20, 30}));
    EXPECT_EQ(bench.state.items[4].name, "小計A");
    EXPECT_EQ(itemRangeNumbers(bench.state.items[4]), (std::pair{1, 3}));
    EXPECT_EQ(itemRangeNumbers(bench.state.items[5]), (std::pair{6, 6}));
    EXPECT_EQ(bench.state.currentSheetNumber, 6);
    EXPECT_EQ(result.selection, (Selection{4, 4}));
    EXPECT_EQ(bench.cycle.steps, kListSteps);
}

TEST(ListCommands, MidSumAndSumOverSeveralItemsGoAfterTheLastItem) {
    struct Case {
        CommandResult (*command)(GridContext&, Selection, const ListSettings&);
        Selection selection;
        std::vector<int> after;
        int row;
        const char* name;
    };
    const ListSettings settings;
    const Case cases[] = {
        {addListMidSum, {1, 2}, {10, 10, 10, 98}, 4, "【中　計】"},
        {addListMidSum, {1, 1}, {10, 98, 10, 10}, 2, "【中　計】"},
        {addListMidSum, {3, 3}, {10, 10, 10, 98}, 4, "【中　計】"},
        {addListSumLine, {1, 3}, {10, 10, 10, 99}, 4, "【合　計】"},
        {addListSumLine, {5, 5}, {10, 10, 10, 10, 99}, 5, "【合　計】"},
    };
    for (const Case& c : cases) {
        CommandBench bench;
        addItems(bench.state, {10, 10, 10});
        bench.host.answers = {true};
        bench.host.texts = {std::optional<std::string>(c.name)};
        const CommandResult result = c.command(bench.context, c.selection, settings);
        EXPECT_EQ(kindsOf(bench.state), c.after);
        const ItemRecord& sum = bench.state.items[static_cast<std::size_t>(c.row)];
        EXPECT_EQ(sum.name, c.name);
        EXPECT_EQ(sum.setAmountRounding, Currency());
        EXPECT_EQ(result.selection, (Selection{c.row, c.row}));
        EXPECT_EQ(bench.cycle.steps, kListSteps);
    }
}

TEST(ListCommands, SumReductionAndTaxRefuseAnItemHoldingData) {
    struct Case {
        CommandResult (*command)(GridContext&, Selection, const ListSettings&);
        const char* refusal;
    };
    const Case cases[] = {
        {addListSumLine, "すでに積算データが存在しますので合計にはできません"},
        {addListReduction, "すでに積算データが存在しますので減額にはできません"},
        {addListTax, "すでに積算データが存在しますので消費税にはできません"},
    };
    for (const Case& c : cases) {
        // Item 2 has totals; item 3 has none, but its sheet holds a comment.
        CommandBench bench;
        addItems(bench.state, {10, 10, 10});
        bench.state.items[2].netTotal = Currency::fromWhole(1);
        writeSheetFile(itemSheetFile(bench.workFolder, 3), sheetWithLines({commentLine("注")}), 3);
        c.command(bench.context, Selection{2, 2}, ListSettings{});
        c.command(bench.context, Selection{3, 3}, ListSettings{});
        EXPECT_EQ(bench.host.notices, (std::vector<std::string>{c.refusal, c.refusal}));
        EXPECT_EQ(kindsOf(bench.state), (std::vector<int>{10, 10, 10}));
        EXPECT_TRUE(bench.cycle.steps.empty());
    }
}

TEST(ListCommands, ItemDataCheck) {
    CommandBench bench;
    addItems(bench.state, {10, 91, 82, 10, 10});
    bench.state.items[2].submittedTotal = Currency::fromWhole(5);
    bench.state.items[3].submittedTotal = Currency::fromWhole(5);
    bench.state.items[4].submittedTotal = Currency::fromWhole(5);
    writeSheetFile(itemSheetFile(bench.workFolder, 5), Sheet{LineRecord{}, emptyLine()}, 5);
    const auto holds = [&](int row, DataCheck check) {
        return itemHoldsData(bench.state, bench.workFolder, row, check);
    };
    EXPECT_FALSE(holds(1, DataCheck::Plain));
    EXPECT_FALSE(holds(2, DataCheck::Plain));
    EXPECT_TRUE(holds(3, DataCheck::Plain));
    EXPECT_FALSE(holds(3, DataCheck::ExpenseEntry));
    EXPECT_TRUE(holds(4, DataCheck::ExpenseEntry));
    EXPECT_FALSE(holds(5, DataCheck::Plain)); // empty lines only
    EXPECT_FALSE(holds(6, DataCheck::Plain));
    // The open sheet is judged by the lines in memory.
    bench.state.currentSheetNumber = 1;
    bench.state.sheet = sheetWithLines({commentLine("注")});
    EXPECT_TRUE(holds(1, DataCheck::Plain));
}

TEST(ListCommands, ReductionTakesAnUnsignedAmountAndReducesCostWithTheSetting) {
    struct Case {
        std::string typed;
        bool reducesCost;
        std::optional<Currency> amount; // nothing: refused with `refusal`
        const char* refusal;
    };
    const Case cases[] = {
        {"50000", true, Currency::fromWhole(50000), ""},
        {"５０,０００", false, Currency::fromWhole(50000), ""},
        {"12.5", true, Currency::fromRaw(125000), ""},
        {"abc", false, std::nullopt, "金額は数値で入力して下さい。"},
        {"-100", true, std::nullopt, "金額は－を付けずに入力して下さい。"},
    };
    for (const Case& c : cases) {
        CommandBench bench;
        addItems(bench.state, {10});
        bench.host.answers = {true};
        bench.host.texts = {std::string("値引き"), c.typed};
        ListSettings settings;
        settings.reductionReducesCost = c.reducesCost;
        addListReduction(bench.context, Selection{3, 3}, settings);
        EXPECT_EQ(bench.host.questions,
                  (std::vector<std::string>{"ここに減額を作成しますか?", "名称を入力して下さい",
                                            "金額を－抜きで入力して下さい"}));
        if (!c.amount) {
            EXPECT_EQ(bench.host.notices, std::vector<std::string>{c.refusal}) << c.typed;
            EXPECT_EQ(bench.state.itemMax(), 1);
            EXPECT_TRUE(bench.cycle.steps.empty());
            continue;
        }
        ASSERT_EQ(bench.state.itemMax(), 3) << c.typed;
        const ItemRecord& reduction = bench.state.items[3];
        EXPECT_EQ(reduction.kind, ItemKind::Reduction);
        EXPECT_EQ(reduction.name, "値引き");
        EXPECT_EQ(reduction.submittedTotal, *c.amount) << c.typed;
        EXPECT_EQ(reduction.netTotal, c.reducesCost ? *c.amount : Currency()) << c.typed;
        EXPECT_EQ(bench.cycle.steps, kListSteps);
    }
}

TEST(ListCommands, TaxItemTakesTheRateAndTheNetSideAnswer) {
    for (const bool onNet : {true, false}) {
        CommandBench bench;
        addItems(bench.state, {10, 10});
        bench.state.items[2].note = "残る";
        bench.host.answers = {true, onNet};
        ListSettings settings;
        settings.taxRate = Currency::fromWhole(8);
        addListTax(bench.context, Selection{2, 2}, settings);
        const ItemRecord& tax = bench.state.items[2];
        EXPECT_EQ(tax.kind, ItemKind::Tax);
        EXPECT_EQ(tax.name, "消 費 税");
        EXPECT_EQ(taxSetting(tax).ratePercent, Currency::fromWhole(8));
        EXPECT_EQ(taxSetting(tax).chargedOnNet, onNet);
        EXPECT_EQ(tax.setExpenseRounding, Currency());
        EXPECT_EQ(tax.setLaborRounding, Currency());
        EXPECT_EQ(bench.cycle.steps, kListSteps);
    }
    CommandBench bench;
    addItems(bench.state, {10});
    bench.state.header.opt2Int = 1;
    addListTax(bench.context, Selection{2, 2}, ListSettings{});
    EXPECT_EQ(bench.host.notices,
              std::vector<std::string>{"明細に既に消費税が入っていますので重複となります"});
    EXPECT_EQ(bench.state.itemMax(), 1);
}

TEST(ListCommands, NoteIsStoredOnOkAndRefusedOnAComment) {
    CommandBench bench;
    addItems(bench.state, {10, 96});
    bench.host.texts = {std::nullopt,
                        std::string("とても長い備考とても長い備考とても長い備考とても長い")};
    editItemNote(bench.context, Selection{4, 4});
    EXPECT_EQ(bench.state.itemMax(), 2); // cancelled: no item appended
    editItemNote(bench.context, Selection{4, 4});
    ASSERT_EQ(bench.state.itemMax(), 4);
    EXPECT_EQ(bench.state.items[4].note, "とても長い備考とても長い備考とても長い備");
    EXPECT_EQ(bench.cycle.steps, std::vector<std::string>{"write list"});

    editItemNote(bench.context, Selection{2, 2});
    EXPECT_EQ(bench.host.notices,
              std::vector<std::string>{"特記事項が存在しますのでコメントにはできません"});
}

TEST(ListCommands, DoubleClickOpensSheetsOrRenamesByKind) {
    struct Case {
        int row;
        std::vector<std::string> shown;
        std::optional<int> openSheet;
        std::string nameAfter; // of the item at row, when renamed
    };
    CommandBench bench;
    addItems(bench.state, {10, 20, 82, 91, 95, 98, 99, 101, 93, 96, 30});
    bench.state.items[8].name = "法定福利費;式の文";
    const Case cases[] = {
        {1, {}, 1, ""},
        {11, {}, 11, ""},
        {2, {"階層元の名称を入力してください"}, std::nullopt, "新"},
        {3, {"諸経費の名称を入力してください"}, std::nullopt, "新"},
        {4, {"名称を入力してください"}, std::nullopt, "新"},
        {5, {"名称を入力してください"}, std::nullopt, "新"},
        {6, {"名称を入力してください"}, std::nullopt, "新"},
        {7, {"名称を入力してください"}, std::nullopt, "新"},
        {8, {"法定福利費の名称を入力してください"}, std::nullopt, "新;式の文"},
        {9, {"この項目は編集できません。"}, std::nullopt, "工事9"},
        {10, {"コメントを入力してください", "金額欄摘要を入力してください"}, std::nullopt, "新"},
        {14, {"内訳行を飛ばす事はできません"}, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        bench.host.shown.clear();
        bench.host.texts = {std::string("新"), std::string("摘要")};
        const ItemOpening opening = openListItem(bench.context, c.row);
        EXPECT_EQ(bench.host.shown, c.shown) << "row " << c.row;
        EXPECT_EQ(opening.openSheet, c.openSheet) << "row " << c.row;
        if (!c.nameAfter.empty()) {
            EXPECT_EQ(bench.state.items[static_cast<std::size_t>(c.row)].name, c.nameAfter)
                << "row " << c.row;
        }
    }
    EXPECT_EQ(bench.state.items[10].note, "摘要");
    // The row right after the last item becomes a new work item and opens its sheet.
    bench.cycle.steps.clear();
    const ItemOpening opening = openListItem(bench.context, 12);
    EXPECT_EQ(opening.openSheet, 12);
    EXPECT_EQ(bench.state.itemMax(), 12);
    EXPECT_EQ(bench.state.items[12], newSheetItem());
    EXPECT_TRUE(opening.result.itemsChanged);
    EXPECT_EQ(bench.cycle.steps, std::vector<std::string>{"write list"});
}

} // namespace
} // namespace kerbina
