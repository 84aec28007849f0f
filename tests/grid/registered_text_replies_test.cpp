#include "document/work_store.h"
#include "grid/line_entry.h"
#include "grid/registered_text_replies.h"
#include "grid_test_support.h"
#include "records/kinds.h"
#include "records/line_kinds.h"
#include "records/sheet_rows.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

using testing::CommandBench;

ItemRecord itemOf(ItemKind kind, const std::string& name, Currency submittedTotal = {}) {
    ItemRecord item = newSheetItem();
    item.kind = kind;
    item.name = name;
    item.submittedTotal = submittedTotal;
    return item;
}

LineRecord lineNamed(LineKind kind, const std::string& nameSpec) {
    LineRecord line;
    line.kind = kind;
    line.nameSpec = nameSpec;
    return line;
}

TEST(ItemNameReplies, ThePrefixListRunsFromOneToTenThenAToZ) {
    const std::vector<std::string>& prefixes = itemNumberPrefixes();
    ASSERT_EQ(prefixes.size(), 36u);
    EXPECT_EQ(prefixes.front(), "1.");
    EXPECT_EQ(prefixes[9], "10.");
    EXPECT_EQ(prefixes[10], "A.");
    EXPECT_EQ(prefixes[18], "I."); // one point, as every other prefix
    EXPECT_EQ(prefixes.back(), "Z.");
    for (const std::string& prefix : prefixes) {
        EXPECT_EQ(prefix.find('.'), prefix.size() - 1) << prefix;
    }
}

TEST(ItemNameReplies, TheReplyCarriesThePrefixedNameAndNoQuantities) {
    const struct {
        std::string prefix;
        std::string name;
        std::string expected;
    } cases[] = {
        {"", "給水設備工事", "給水設備工事"},
        {"A.", "給水設備工事", "A.給水設備工事"},
        {" 10. ", "排水設備工事", "10.排水設備工事"},
    };
    for (const auto& c : cases) {
        const LineMessage reply = itemNameLineMessage(c.prefix, c.name);
        EXPECT_EQ(reply.name, c.expected);
        EXPECT_EQ(reply.messageName, "WM_KEITO");
        EXPECT_EQ(reply.kind, 0);
        EXPECT_EQ(reply.netQuantity, Currency());
        EXPECT_EQ(reply.submittedQuantity, Currency());
        EXPECT_EQ(reply.groupCode, Currency::fromWhole(99999));
        EXPECT_EQ(reply.flag216, 30000);
    }
}

TEST(ItemNameReplies, AFieldSeparatorInAnyTextIsFound) {
    const LineMessage clean = commentLineMessage("夜間作業", "式", CommentQuantity::One, "別途");
    EXPECT_FALSE(holdsFieldSeparator(clean));
    for (std::string LineMessage::*field :
         {&LineMessage::name, &LineMessage::specification, &LineMessage::unit, &LineMessage::note,
          &LineMessage::amountText, &LineMessage::priceCode}) {
        LineMessage message = clean;
        message.*field += ";";
        EXPECT_TRUE(holdsFieldSeparator(message)) << message.*field;
    }
    EXPECT_TRUE(holdsFieldSeparator(itemNameLineMessage("A;", "給水設備工事")));
}

// On a sheet the open sheet's item is renamed with a sheet snapshot; on the list the selected
// item (appended when missing) with a list snapshot, so that the list's undo takes back only it.
TEST(ItemNameReplies, TheReplyRenamesTheOpenSheetsItemOrTheSelectedItem) {
    const struct {
        bool listMode;
        Selection selection;
        int renamed;
        std::vector<std::string> steps;
    } cases[] = {
        {false, {4, 6}, 2, {"snapshot", "totals", "write list", "write"}},
        {true, {3, 3}, 3, {"list snapshot", "list totals", "write list"}},
        {true, {5, 5}, 5, {"list snapshot", "list totals", "write list"}},
    };
    for (const auto& c : cases) {
        CommandBench bench;
        bench.state.items = {ItemRecord{}, itemOf(10, "工事1"), itemOf(10, "工事2"),
                             itemOf(10, "工事3")};
        bench.state.currentSheetNumber = 2;
        const CommandResult result = renameItemFromReply(
            bench.context, c.selection, itemNameLineMessage("B.", "空調設備工事"), c.listMode);
        ASSERT_GE(bench.state.itemMax(), c.renamed);
        EXPECT_EQ(bench.state.items[static_cast<std::size_t>(c.renamed)].name, "B.空調設備工事");
        EXPECT_EQ(bench.state.itemMax(), std::max(3, c.renamed));
        EXPECT_EQ(bench.cycle.steps, c.steps);
        EXPECT_TRUE(result.changed);
        EXPECT_EQ(result.itemsChanged, c.listMode);
        EXPECT_EQ(result.selection, (Selection{c.selection.top + 1, c.selection.top + 1}));
    }
}

TEST(CommentItems, ARowTakesACommentOnlyWhenNothingOfItWouldBeLost) {
    CommandBench bench;
    bench.state.items = {ItemRecord{},
                         itemOf(10, "工事1", Currency::fromWhole(1000)),
                         itemOf(10, "工事2", Currency::fromWhole(1000)),
                         itemOf(ItemKind::Reduction, "減額", Currency::fromWhole(500)),
                         itemOf(10, "空の工事"),
                         itemOf(10, "注記だけの工事"),
                         itemOf(10, "開いている工事"),
                         itemOf(10, "表題だけの工事"),
                         itemOf(ItemKind::Comment, "特記")};
    writeSheetFile(itemSheetFile(bench.workFolder, 5), Sheet{{}, lineNamed(30, "注記;")}, 5);
    writeSheetFile(itemSheetFile(bench.workFolder, 7),
                   Sheet{{}, lineNamed(LineKind::Title, "表題だけの工事"), emptyLine()}, 7);
    bench.state.currentSheetNumber = 6;
    bench.state.sheet = {LineRecord{}, emptyLine(), lineNamed(30, "夜間作業;")};
    const std::string first = "先頭行にコメントを入れる事はできません。";
    const std::string holdsData = "すでに積算データが存在しますのでコメントにはできません";
    const struct {
        int row;
        std::optional<std::string> refusal;
    } cases[] = {
        {1, first},     {2, holdsData},    {3, std::nullopt}, {4, std::nullopt}, {5, holdsData},
        {6, holdsData}, {7, std::nullopt}, {8, std::nullopt}, {9, std::nullopt}, {12, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(commentItemRefusal(bench.state, bench.workFolder, c.row), c.refusal)
            << "row " << c.row;
    }
}

TEST(CommentItems, TheReplyMakesTheSelectedRowACommentItemAndMovesDown) {
    CommandBench bench;
    bench.state.items = {ItemRecord{}, itemOf(10, "工事1", Currency::fromWhole(1000))};
    LineMessage reply;
    reply.messageName = kItemNoteReply;
    reply.name = "既設配管撤去は別途";
    reply.kind = 30;
    reply.amountText = std::string(30, 'x') + "別途見積とします";
    const CommandResult result = writeCommentItem(bench.context, Selection{3, 4}, reply);
    ASSERT_EQ(bench.state.itemMax(), 3);
    const ItemRecord& comment = bench.state.items[3];
    EXPECT_EQ(comment.kind, ItemKind::Comment);
    EXPECT_EQ(comment.name, "既設配管撤去は別途");
    EXPECT_EQ(comment.subKind, Currency::fromWhole(30));
    EXPECT_EQ(comment.note, std::string(30, 'x') + "別途見積と"); // 40 bytes
    EXPECT_EQ(bench.state.items[2].kind, ItemKind::Sheet);
    EXPECT_EQ(bench.cycle.steps,
              (std::vector<std::string>{"list snapshot", "list totals", "write list"}));
    EXPECT_TRUE(result.itemsChanged);
    EXPECT_EQ(result.selection, (Selection{4, 4}));
}

// The dialog stays open after a reply and the selection has moved on: a row holding data that
// the next reply meets is refused then, not overwritten.
TEST(CommentItems, AReplyOnARowHoldingDataIsRefusedAndChangesNothing) {
    CommandBench bench;
    bench.state.items = {ItemRecord{}, itemOf(10, "工事1"),
                         itemOf(10, "工事2", Currency::fromWhole(1000))};
    const DocumentState before = bench.state;
    LineMessage reply;
    reply.name = "夜間作業を含む";
    const CommandResult result = writeCommentItem(bench.context, Selection{2, 2}, reply);
    EXPECT_EQ(bench.host.notices,
              std::vector<std::string>{"すでに積算データが存在しますのでコメントにはできません"});
    EXPECT_EQ(bench.state.items, before.items);
    EXPECT_TRUE(bench.cycle.steps.empty());
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(result.selection, (Selection{2, 2}));
}

// Editing a comment item changes only what the user confirmed, and is written at once.
TEST(CommentItems, EditingACommentItemKeepsWhatWasNotConfirmed) {
    const struct {
        int row;
        std::optional<std::string> name;
        std::optional<std::string> note;
        std::string expectedName;
        std::string expectedNote;
        std::vector<std::string> steps;
    } cases[] = {
        {2, "夜間作業を除く", "別途", "夜間作業を除く", "別途", {"write list"}},
        {2, std::nullopt, "一式", "夜間作業を含む", "一式", {"write list"}},
        {2, "昼間作業", std::nullopt, "昼間作業", "注", {"write list"}},
        {2, std::nullopt, std::nullopt, "夜間作業を含む", "注", {}},
        {1, "工事に付けない", "x", "夜間作業を含む", "注", {}}, // not a comment item
    };
    for (const auto& c : cases) {
        CommandBench bench;
        ItemRecord comment = itemOf(ItemKind::Comment, "夜間作業を含む");
        comment.note = "注";
        bench.state.items = {ItemRecord{}, itemOf(10, "工事1"), comment};
        const CommandResult result =
            editCommentItem(bench.context, Selection{c.row, c.row}, c.row, c.name, c.note);
        EXPECT_EQ(bench.state.items[2].name, c.expectedName);
        EXPECT_EQ(bench.state.items[2].note, c.expectedNote);
        EXPECT_EQ(bench.state.items[1].name, "工事1");
        EXPECT_EQ(bench.cycle.steps, c.steps);
        EXPECT_EQ(result.changed, !c.steps.empty());
    }
}

} // namespace
} // namespace kerbina
