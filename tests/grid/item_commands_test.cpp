#include "base/file_io.h"
#include "base/text_codec.h"
#include "document/document_events.h"
#include "document/work_store.h"
#include "grid/item_commands.h"
#include "grid/row_commands.h"
#include "grid/work_folder_cycle.h"
#include "grid_test_support.h"
#include "record_builders.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace kerbina {
namespace {

using testing::CommandBench;

const std::vector<std::string> kListSteps = {"list snapshot", "list totals", "write list"};

ItemRecord rangeItem(ItemKind kind, int first, int last) {
    ItemRecord item = sheetItem("範囲", kind);
    item.setAmountRounding = Currency::fromWhole(first);
    item.setExpenseRounding = Currency::fromWhole(last);
    return item;
}

std::pair<int, int> rangeAt(const DocumentState& state, int item) {
    const ItemRecord& record = state.items[static_cast<std::size_t>(item)];
    return {static_cast<int>(record.setAmountRounding.wholePart()),
            static_cast<int>(record.setExpenseRounding.wholePart())};
}

// `count` records of `size` bytes: the sheet number, then a byte that tells the files apart.
std::string records(int sheet, std::size_t size, int count, char fill) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        std::string record(size, fill);
        record[0] = static_cast<char>(sheet);
        record[1] = record[2] = record[3] = 0;
        bytes += record;
    }
    return bytes;
}

std::optional<std::string> fileBytes(const fs::path& file) {
    if (!fs::exists(file)) {
        return std::nullopt;
    }
    return readFileBytes(file);
}

// Items "工事1".."工事4". Every item has a sheet file; item 2 has take-off records, item 3
// aggregation settings.
struct ItemBench : CommandBench {
    ItemBench() {
        for (int n = 1; n <= 4; ++n) {
            state.items.push_back(sheetItem("工事" + std::to_string(n)));
            writeFileAtomically(itemSheetFile(workFolder, n),
                                records(n, kLineRecordSize, n, static_cast<char>('a' + n)));
        }
        writeFileAtomically(itemPickupFile(workFolder, 2), records(2, 440, 2, 'p'));
        writeFileAtomically(itemAggregationFile(workFolder, 3), "[HN1]=配管工事費\r\n");
        for (int n = 1; n <= 4; ++n) {
            sheetBytes.push_back(readFileBytes(itemSheetFile(workFolder, n)));
        }
        sheetBytes.insert(sheetBytes.begin(), std::string());
    }

    std::vector<std::string> sheetBytes; // [n]: item n's sheet file as written
};

TEST(ItemCommands, InsertMovesEveryFileOfTheFollowingItems) {
    ItemBench bench;
    bench.state.currentSheetNumber = 3;
    bench.host.answers = {true};
    const CommandResult result = insertItem(bench.context, Selection{2, 2});
    EXPECT_EQ(bench.host.questions, std::vector<std::string>{"工事2以降１つずらしますか？"});
    EXPECT_TRUE(result.itemsChanged);
    EXPECT_EQ(bench.cycle.steps, kListSteps);

    ASSERT_EQ(bench.state.itemMax(), 5);
    EXPECT_EQ(bench.state.items[2], newSheetItem());
    EXPECT_EQ(bench.state.items[3].name, "工事2");
    const fs::path& work = bench.workFolder;
    EXPECT_FALSE(fs::exists(itemSheetFile(work, 2)));
    EXPECT_FALSE(fs::exists(itemPickupFile(work, 2)));
    EXPECT_EQ(fileBytes(itemSheetFile(work, 3)), bench.sheetBytes[2]);
    EXPECT_EQ(fileBytes(itemPickupFile(work, 3)), records(2, 440, 2, 'p'));
    EXPECT_FALSE(fs::exists(itemAggregationFile(work, 3)));
    EXPECT_EQ(fileBytes(itemAggregationFile(work, 4)), "[HN1]=配管工事費\r\n");
    EXPECT_EQ(fileBytes(itemSheetFile(work, 5)), bench.sheetBytes[4]);
    // The open sheet's item moved down with its file.
    EXPECT_EQ(bench.state.currentSheetNumber, 4);

    bench.cycle.steps.clear();
    bench.host.answers = {false};
    insertItem(bench.context, Selection{1, 1});
    insertItem(bench.context, Selection{6, 6});
    EXPECT_EQ(bench.state.itemMax(), 5);
    EXPECT_TRUE(bench.cycle.steps.empty());
    EXPECT_EQ(bench.host.notices, std::vector<std::string>{"ここに割込することはできません。"});
}

TEST(ItemCommands, DeleteMovesFilesUpAndLeavesNoStaleOnes) {
    ItemBench bench;
    bench.state.currentSheetNumber = 3;
    bench.host.answers = {true};
    deleteItem(bench.context, Selection{2, 2});
    EXPECT_EQ(bench.host.questions, std::vector<std::string>{"工事2 を削除しますか？"});
    EXPECT_EQ(bench.cycle.steps, kListSteps);

    ASSERT_EQ(bench.state.itemMax(), 3);
    EXPECT_EQ(bench.state.items[2].name, "工事3");
    const fs::path& work = bench.workFolder;
    EXPECT_EQ(fileBytes(itemSheetFile(work, 2)), bench.sheetBytes[3]);
    // Item 3 had no take-off file: item 2's must not survive under the number.
    EXPECT_FALSE(fs::exists(itemPickupFile(work, 2)));
    EXPECT_EQ(fileBytes(itemAggregationFile(work, 2)), "[HN1]=配管工事費\r\n");
    EXPECT_FALSE(fs::exists(itemAggregationFile(work, 3)));
    EXPECT_EQ(fileBytes(itemSheetFile(work, 3)), bench.sheetBytes[4]);
    EXPECT_FALSE(fs::exists(itemSheetFile(work, 4)));
    EXPECT_EQ(bench.state.currentSheetNumber, 2);

    // Removing the open sheet's item loads the sheet that takes its number.
    bench.cycle.steps.clear();
    bench.host.answers = {true};
    deleteItem(bench.context, Selection{2, 2});
    EXPECT_EQ(bench.cycle.steps,
              (std::vector<std::string>{"list snapshot", "reload", "list totals", "write list"}));
    EXPECT_EQ(bench.state.currentSheetNumber, 2);
}

TEST(ItemCommands, DeletingTheOnlyItemLeavesAnEmptyOne) {
    CommandBench bench;
    bench.state.items.push_back(sheetItem("唯一"));
    writeFileAtomically(itemSheetFile(bench.workFolder, 1), records(1, kLineRecordSize, 1, 'x'));
    bench.host.answers = {true};
    deleteItem(bench.context, Selection{1, 1});
    ASSERT_EQ(bench.state.itemMax(), 1);
    EXPECT_EQ(bench.state.items[1], newSheetItem());
    EXPECT_FALSE(fs::exists(itemSheetFile(bench.workFolder, 1)));

    bench.host.notices.clear();
    deleteItem(bench.context, Selection{2, 2});
    EXPECT_EQ(bench.host.notices, std::vector<std::string>{"ここには削除する工種がありません。"});
}

TEST(ItemCommands, HierarchyRangesFollowInsertsAndDeletes) {
    const struct {
        bool insert;
        int row;
        std::pair<int, int> before;
        std::pair<int, int> after;
    } cases[] = {
        {true, 3, {4, 5}, {5, 6}},  {true, 3, {2, 3}, {2, 4}},  {true, 3, {3, 5}, {3, 6}},
        {true, 3, {1, 2}, {1, 2}},  {false, 3, {4, 5}, {3, 4}}, {false, 3, {2, 4}, {2, 3}},
        {false, 3, {3, 3}, {3, 2}}, {false, 3, {1, 2}, {1, 2}},
    };
    for (const int kind : {20, 25, 29, 95}) {
        for (const auto& row : cases) {
            CommandBench bench;
            for (int n = 1; n <= 5; ++n) {
                bench.state.items.push_back(sheetItem("工事" + std::to_string(n)));
            }
            bench.state.items.push_back(rangeItem(kind, row.before.first, row.before.second));
            bench.host.answers = {true};
            if (row.insert) {
                insertItem(bench.context, Selection{row.row, row.row});
            } else {
                deleteItem(bench.context, Selection{row.row, row.row});
            }
            EXPECT_EQ(rangeAt(bench.state, bench.state.itemMax()), row.after)
                << "kind " << kind << (row.insert ? " insert at " : " delete at ") << row.row
                << " range " << row.before.first << ".." << row.before.second;
        }
    }
}

TEST(ItemCommands, DeletingAParentLiftsItsMembersOneLevel) {
    CommandBench bench;
    bench.state.items.push_back(rangeItem(20, 2, 5));
    bench.state.items.push_back(sheetItem("子", 30));
    bench.state.items.push_back(rangeItem(21, 4, 5));
    bench.state.items.push_back(sheetItem("孫", 31));
    bench.state.items.push_back(rangeItem(95, 2, 4));
    bench.state.items.push_back(sheetItem("外", 30));
    bench.host.answers = {true};
    deleteItem(bench.context, Selection{1, 1});
    std::vector<int> kinds;
    for (std::size_t n = 1; n < bench.state.items.size(); ++n) {
        kinds.push_back(bench.state.items[n].kind.code());
    }
    EXPECT_EQ(kinds, (std::vector<int>{10, 20, 30, 95, 30}));
    EXPECT_EQ(rangeAt(bench.state, 2), (std::pair{3, 4}));
}

TEST(ItemCommands, CopyHoldsTheItemAndItsFilesAsTheyWere) {
    ItemBench bench;
    bench.state.items[1] = rangeItem(20, 3, 4);
    copyItem(bench.context, Selection{2, 2});
    EXPECT_EQ(bench.host.notices, std::vector<std::string>{"工 種 :工事2を複写しました。"});
    EXPECT_TRUE(bench.cycle.steps.empty());

    // Later changes to the source do not reach the paste.
    writeFileAtomically(itemSheetFile(bench.workFolder, 2), "changed");
    bench.state.items[2].name = "変更後";

    bench.host.answers = {true};
    const CommandResult result = pasteItem(bench.context, Selection{6, 6});
    EXPECT_EQ(bench.host.questions, std::vector<std::string>{"工事2 を6:に貼付ますか？"});
    EXPECT_TRUE(result.itemsChanged);
    EXPECT_EQ(bench.cycle.steps, kListSteps);
    ASSERT_EQ(bench.state.itemMax(), 6);
    EXPECT_EQ(bench.state.items[5], newSheetItem());
    EXPECT_EQ(bench.state.items[6].name, "工事2");
    // The parent's range ended at the last item, so it takes in the appended ones.
    EXPECT_EQ(rangeAt(bench.state, 1), (std::pair{3, 6}));
    const fs::path& work = bench.workFolder;
    EXPECT_EQ(fileBytes(itemSheetFile(work, 6)), records(6, kLineRecordSize, 2, 'c'));
    EXPECT_EQ(fileBytes(itemPickupFile(work, 6)), records(6, 440, 2, 'p'));
    EXPECT_FALSE(fs::exists(itemAggregationFile(work, 6)));

    // Pasting an item onto itself leaves it and its files as they are.
    bench.host.answers = {true};
    copyItem(bench.context, Selection{3, 3});
    pasteItem(bench.context, Selection{3, 3});
    EXPECT_EQ(bench.host.questions.back(), "工事3 を工事3:に貼付ますか？");
    EXPECT_EQ(bench.state.items[3].name, "工事3");
    EXPECT_EQ(fileBytes(itemSheetFile(work, 3)), bench.sheetBytes[3]);
    EXPECT_EQ(fileBytes(itemAggregationFile(work, 3)), "[HN1]=配管工事費\r\n");
}

TEST(ItemCommands, RefusalsSayWhy) {
    ItemBench bench;
    bench.state.items[1] = rangeItem(20, 2, 3);
    copyItem(bench.context, Selection{1, 1});
    copyItem(bench.context, Selection{5, 5});
    cutItem(bench.context, Selection{1, 1});
    cutItem(bench.context, Selection{9, 9});
    copyItem(bench.context, Selection{2, 2});
    pasteItem(bench.context, Selection{1, 1});
    EXPECT_EQ(bench.host.notices, (std::vector<std::string>{
                                      "階層元はコピーできません",
                                      "ここには複写するデータがありません。",
                                      "階層元は切り取りできません",
                                      "ここには切り取るデータがありません。",
                                      "工 種 :工事2を複写しました。",
                                      "階層元に貼り付ける事はできません",
                                  }));
    EXPECT_TRUE(bench.host.questions.empty());
    EXPECT_TRUE(bench.cycle.steps.empty());
}

TEST(ItemCommands, RenameIsUndoableAndWritesTheSheetOnlyInSheetMode) {
    ItemBench bench;
    renameItem(bench.context, Selection{1, 1}, 2, "ダクト工事;第1系統", true);
    EXPECT_EQ(bench.state.items[2].name, "ダクト工事;第1系統");
    EXPECT_EQ(bench.cycle.steps, kListSteps);

    bench.cycle.steps.clear();
    renameItem(bench.context, Selection{1, 1}, 6,
               std::string(60, 'x') + "配管工事配管工事配管工事配管工事配管工事配管工事", false);
    ASSERT_EQ(bench.state.itemMax(), 6);
    EXPECT_EQ(cp932Length(bench.state.items[6].name), 100); // cut to the field's width
    EXPECT_EQ(bench.cycle.steps,
              (std::vector<std::string>{"list snapshot", "totals", "write list", "write"}));
}

TEST(ItemCommands, CutThenPasteBringsTheItemBack) {
    ItemBench bench;
    bench.host.answers = {true, true};
    cutItem(bench.context, Selection{2, 2});
    EXPECT_EQ(bench.host.notices, std::vector<std::string>{"工 種 :工事2を切り取りました。"});
    ASSERT_EQ(bench.state.itemMax(), 3);
    pasteItem(bench.context, Selection{3, 3});
    EXPECT_EQ(bench.host.questions,
              (std::vector<std::string>{"工事2 を削除しますか？", "工事2 を工事4:に貼付ますか？"}));
    EXPECT_EQ(bench.state.items[3].name, "工事2");
    EXPECT_EQ(fileBytes(itemSheetFile(bench.workFolder, 3)), records(3, kLineRecordSize, 2, 'c'));
    EXPECT_EQ(fileBytes(itemPickupFile(bench.workFolder, 3)), records(3, 440, 2, 'p'));
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

TEST(WorkFolderEditCycle, ListUndoBringsBackTheItemFiles) {
    DocumentState state;
    WorkStore store{testing::freshFolder("work"), testing::freshFolder("backup")};
    QuietDocumentEvents documentEvents;
    WorkFolderEditCycle cycle(state, store, documentEvents);
    ScriptedPrompt host;
    GridSession session;
    GridContext context{state, cycle, host, session, store.workFolder};

    for (int n = 1; n <= 3; ++n) {
        state.items.push_back(sheetItem("工事" + std::to_string(n)));
        writeSheetFile(itemSheetFile(store.workFolder, n), linesNamed("L" + std::to_string(n), n),
                       n);
    }
    writeFileAtomically(itemAggregationFile(store.workFolder, 2), "[HN1]=x\r\n");
    state.currentSheetNumber = 3;
    loadSheet(state, store.workFolder, 3);
    const auto before = [&](int n) {
        return fileBytes(itemSheetFile(store.workFolder, n));
    };
    const std::vector<std::optional<std::string>> original = {before(1), before(2), before(3)};

    host.answers = {true};
    deleteItem(context, Selection{2, 2});
    ASSERT_EQ(state.itemMax(), 2);
    EXPECT_EQ(state.currentSheetNumber, 2);
    ASSERT_TRUE(cycle.undo(true));

    ASSERT_EQ(state.itemMax(), 3);
    EXPECT_EQ(state.items[2].name, "工事2");
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(before(n), original[static_cast<std::size_t>(n - 1)]) << "sheet " << n;
    }
    EXPECT_EQ(fileBytes(itemAggregationFile(store.workFolder, 2)), "[HN1]=x\r\n");
    EXPECT_EQ(state.currentSheetNumber, 3);
    EXPECT_EQ(state.sheet, readSheetFile(itemSheetFile(store.workFolder, 3)));

    // A list snapshot that something else wrote later is not paired with these files.
    writeFileAtomically(itemSheetFile(store.workFolder, 1), "later");
    state.items[1].name = "後";
    saveItemList(state, store, ListMode::Und);
    ASSERT_TRUE(cycle.undo(true));
    EXPECT_EQ(fileBytes(itemSheetFile(store.workFolder, 1)), "later");
}

TEST(WorkFolderEditCycle, MovedLinesAreRecalculatedBeforeTheSheetIsWritten) {
    DocumentState state;
    WorkStore store{testing::freshFolder("work"), testing::freshFolder("backup")};
    QuietDocumentEvents documentEvents;
    WorkFolderEditCycle cycle(state, store, documentEvents);
    ScriptedPrompt host;
    GridSession session;
    GridContext context{state, cycle, host, session, store.workFolder};
    state.itemNameLine = false;
    state.items.push_back(sheetItem("工事1"));
    state.sheet = linesNamed("L", 3);
    state.sheet[3].submittedPrice = Currency::fromWhole(250);

    moveLineUp(context, Selection{3, 3});
    const Sheet written = readSheetFile(itemSheetFile(store.workFolder, 1));
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(written[2].submittedPrice, Currency::fromWhole(250));
    EXPECT_EQ(written[2].submittedAmount, Currency::fromWhole(500));
    EXPECT_EQ(written[3].submittedAmount, Currency::fromWhole(200));
}

} // namespace
} // namespace kerbina
