#include "grid/list_commands.h"

#include "base/text_codec.h"
#include "grid/item_commands.h"
#include "grid/item_data.h"
#include "grid/registered_text_replies.h"
#include "money/typed_number.h"
#include "records/item_settings.h"
#include "records/line_kinds.h"

#include <algorithm>

namespace kerbina {

namespace {

constexpr const char* kNamePrompt = "名称を入力して下さい";

Selection ordered(Selection selection) {
    return Selection{std::min(selection.top, selection.bottom),
                     std::max(selection.top, selection.bottom)};
}

ItemRecord& itemAt(DocumentState& state, int row) {
    return state.items[static_cast<std::size_t>(row)];
}

// Items that sum or charge others and so cannot be grouped under a hierarchy parent.
bool isGroupingRefused(ItemKind kind) {
    return isExpenseItem(kind) || kind == ItemKind::Reduction || kind == ItemKind::Tax ||
           kind == ItemKind::SmallSum || kind == ItemKind::SumLine;
}

// The kind of a hierarchy parent put above an item of `kind`: one level above the item's own;
// nothing when the item is already at the deepest level.
std::optional<ItemKind> parentKindAbove(ItemKind kind) {
    if (kind == ItemKind::HierarchyParentLast || kind == ItemKind::HierarchySheetLast) {
        return std::nullopt;
    }
    if (isHierarchyParent(kind)) {
        return kind;
    }
    if (isHierarchySheet(kind)) {
        return ItemKind(kind.code() - 9);
    }
    return ItemKind::HierarchyParentFirst;
}

// The kind of an item grouped under a new parent of kind `parent`.
ItemKind oneLevelDown(ItemKind kind, ItemKind parent) {
    if (kind == ItemKind::Sheet) {
        return ItemKind(parent.code() + 10);
    }
    if ((isHierarchyParent(kind) && kind != ItemKind::HierarchyParentLast) ||
        (isHierarchySheet(kind) && kind != ItemKind::HierarchySheetLast)) {
        return ItemKind(kind.code() + 1);
    }
    return kind;
}

// The user's name for a new item, starting from `initial`; nothing when cancelled.
std::optional<std::string> askName(GridContext& context, const char* question,
                                   std::string initial) {
    if (!context.host.askText(question, initial)) {
        return std::nullopt;
    }
    return fitToWidth(initial, kItemNameWidth);
}

// The item at `row`, or a new one when `row` is past the last item, is the next one the command
// writes; an existing one is moved down with everything below it.
ItemRecord& itemMadeAt(GridContext& context, int row) {
    if (row <= context.state.itemMax()) {
        insertEmptyItem(context, row);
    }
    return itemCreatedAt(context.state, row);
}

// A sum item: nothing but its kind and name; the list pass gives it its totals.
ItemRecord sumItem(ItemKind kind, const std::string& name) {
    ItemRecord item;
    item.kind = kind;
    item.name = name;
    return item;
}

// The row after the last item, where a mid sum or the sum over several items goes.
int sumRow(const DocumentState& state, Selection selection, int single) {
    return selection.bottom > selection.top ? state.itemMax() + 1 : single;
}

CommandResult listWritten(GridContext& context, Selection selection, bool itemsChanged) {
    context.cycle.writeList();
    CommandResult result;
    result.changed = true;
    result.itemsChanged = itemsChanged;
    result.selection = selection;
    return result;
}

std::string firstNamePart(const std::string& name) {
    return name.substr(0, name.find(';'));
}

// `name` with its first ';'-separated part replaced by `first`.
std::string withFirstNamePart(const std::string& name, const std::string& first) {
    const std::size_t separator = name.find(';');
    return separator == std::string::npos ? first : first + name.substr(separator);
}

// The question a double-click on an item of `kind` asks for its name; nothing for kinds that are
// not renamed that way.
const char* renamePrompt(ItemKind kind) {
    if (isHierarchyParent(kind)) {
        return "階層元の名称を入力してください";
    }
    if (isExpenseItem(kind)) {
        return "諸経費の名称を入力してください";
    }
    if (kind == ItemKind::Reduction || kind == ItemKind::SmallSum ||
        kind == ItemKind::SumSincePrevious || kind == ItemKind::SumLine) {
        return "名称を入力してください";
    }
    if (kind == ItemKind::Welfare || kind == ItemKind::WelfareSum) {
        return "法定福利費の名称を入力してください";
    }
    return nullptr;
}

} // namespace

CommandResult addHierarchy(GridContext& context, Selection selection) {
    DocumentState& state = context.state;
    const auto [top, bottom] = ordered(selection);
    if (top < 1 || bottom > state.itemMax()) {
        context.host.notify("まだ名称の決まっていない項目があります。");
        return nothingChanged(selection);
    }
    for (int row = top; row <= bottom; ++row) {
        if (isGroupingRefused(itemAt(state, row).kind)) {
            context.host.notify("合計、小計、諸経費、減額等は階層に含める事はできません");
            return nothingChanged(selection);
        }
    }
    const std::optional<ItemKind> parentKind = parentKindAbove(itemAt(state, top).kind);
    if (!parentKind) {
        context.host.notify("これ以上階層を深くする事はできません");
        return nothingChanged(selection);
    }
    if (!context.host.askYesNo("ここに階層を作成しますか?")) {
        return nothingChanged(selection);
    }
    const auto name = askName(context, "階層元の名称を入力してください", {});
    if (!name) {
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    insertEmptyItem(context, top);
    ItemRecord& parent = itemAt(state, top);
    parent.name = *name;
    parent.kind = *parentKind;
    setItemRange(parent, top + 1, bottom + 1);
    parent.submittedTax = Currency();
    parent.laborTotal = Currency();
    for (int row = top + 1; row <= bottom + 1; ++row) {
        ItemRecord& member = itemAt(state, row);
        member.kind = oneLevelDown(member.kind, *parentKind);
    }
    return finishListChange(context, Selection{top + 1, bottom + 1});
}

CommandResult addListSmallSum(GridContext& context, Selection selection,
                              const ListSettings& settings) {
    const auto [top, bottom] = ordered(selection);
    if (top < 1 || !context.host.askYesNo("選択範囲の小計を作成しますか?")) {
        return nothingChanged(selection);
    }
    const auto name = askName(context, kNamePrompt, settings.smallSumName);
    if (!name) {
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    const int row = bottom + 1;
    ItemRecord& item = itemMadeAt(context, row);
    item.name = *name;
    item.kind = ItemKind::SmallSum;
    setItemRange(item, top, bottom);
    item.submittedTax = Currency();
    item.laborTotal = Currency();
    return finishListChange(context, Selection{row, row});
}

CommandResult addListMidSum(GridContext& context, Selection selection,
                            const ListSettings& settings) {
    selection = ordered(selection);
    if (selection.top < 1) {
        return nothingChanged(selection);
    }
    const int row = sumRow(context.state, selection, selection.bottom + 1);
    if (!context.host.askYesNo("中計を作成しますか?")) {
        return nothingChanged(selection);
    }
    const auto name = askName(context, kNamePrompt, settings.midSumName);
    if (!name) {
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    itemMadeAt(context, row) = sumItem(ItemKind::SumSincePrevious, *name);
    return finishListChange(context, Selection{row, row});
}

CommandResult addListSumLine(GridContext& context, Selection selection,
                             const ListSettings& settings) {
    selection = ordered(selection);
    if (selection.top < 1) {
        return nothingChanged(selection);
    }
    const int row = sumRow(context.state, selection, selection.top);
    if (itemHoldsData(context.state, context.workFolder, row)) {
        context.host.notify("すでに積算データが存在しますので合計にはできません");
        return nothingChanged(selection);
    }
    if (!context.host.askYesNo("合計を作成しますか?")) {
        return nothingChanged(selection);
    }
    const auto name = askName(context, kNamePrompt, settings.sumName);
    if (!name) {
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    itemCreatedAt(context.state, row) = sumItem(ItemKind::SumLine, *name);
    return finishListChange(context, Selection{row, row});
}

CommandResult addListReduction(GridContext& context, Selection selection,
                               const ListSettings& settings) {
    const int row = selection.top;
    if (row < 1) {
        return nothingChanged(selection);
    }
    if (itemHoldsData(context.state, context.workFolder, row)) {
        context.host.notify("すでに積算データが存在しますので減額にはできません");
        return nothingChanged(selection);
    }
    if (!context.host.askYesNo("ここに減額を作成しますか?")) {
        return nothingChanged(selection);
    }
    const auto name = askName(context, kNamePrompt, "減   額");
    if (!name) {
        return nothingChanged(selection);
    }
    std::string amountText = "0";
    if (!context.host.askText("金額を－抜きで入力して下さい", amountText)) {
        return nothingChanged(selection);
    }
    Currency amount;
    try {
        amount = parseTypedNumber(amountText);
    } catch (const NumberFormatError&) {
        context.host.notify("金額は数値で入力して下さい。");
        return nothingChanged(selection);
    }
    if (amount < Currency()) {
        context.host.notify("金額は－を付けずに入力して下さい。");
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    ItemRecord& item = itemCreatedAt(context.state, row);
    item.name = *name;
    item.kind = ItemKind::Reduction;
    item.submittedTotal = amount;
    item.netTotal = settings.reductionReducesCost ? amount : Currency();
    item.submittedTax = Currency();
    item.laborTotal = Currency();
    return finishListChange(context, Selection{row, row});
}

CommandResult addListTax(GridContext& context, Selection selection, const ListSettings& settings) {
    const int row = selection.top;
    if (row < 1) {
        return nothingChanged(selection);
    }
    if (context.state.header.opt2Int == 1) {
        context.host.notify("明細に既に消費税が入っていますので重複となります");
        return nothingChanged(selection);
    }
    if (itemHoldsData(context.state, context.workFolder, row)) {
        context.host.notify("すでに積算データが存在しますので消費税にはできません");
        return nothingChanged(selection);
    }
    if (!context.host.askYesNo("ここに消費税を作成しますか?")) {
        return nothingChanged(selection);
    }
    const bool chargedOnNet =
        context.host.askYesNo("仕切に提出金額と同金額の消費税分を加算しますか？");
    context.cycle.takeListSnapshot();
    ItemRecord& item = itemCreatedAt(context.state, row);
    item = sumItem(ItemKind::Tax, "消 費 税");
    setTaxSetting(item, TaxSetting{settings.taxRate, chargedOnNet});
    return finishListChange(context, Selection{row, row});
}

CommandResult editItemNote(GridContext& context, Selection selection) {
    DocumentState& state = context.state;
    const int row = selection.top;
    if (row < 1) {
        return nothingChanged(selection);
    }
    const bool exists = row <= state.itemMax();
    if (exists && itemAt(state, row).kind == ItemKind::Comment) {
        context.host.notify("特記事項が存在しますのでコメントにはできません");
        return nothingChanged(selection);
    }
    std::string note = exists ? itemAt(state, row).note : std::string();
    if (!context.host.askText("備考を入力して下さい", note)) {
        return nothingChanged(selection);
    }
    itemCreatedAt(state, row).note = fitToWidth(note, kItemNoteWidth);
    return listWritten(context, selection, !exists);
}

ItemOpening openListItem(GridContext& context, int row) {
    DocumentState& state = context.state;
    const Selection selection{row, row};
    ItemOpening opening{nothingChanged(selection), std::nullopt};
    if (row < 1) {
        return opening;
    }
    if (row > state.itemMax() + 1) {
        context.host.notify("内訳行を飛ばす事はできません");
        return opening;
    }
    if (row == state.itemMax() + 1) {
        itemCreatedAt(state, row);
        opening.result = listWritten(context, selection, true);
        opening.openSheet = row;
        return opening;
    }
    ItemRecord& item = itemAt(state, row);
    if (const char* prompt = renamePrompt(item.kind)) {
        const bool welfare = item.kind == ItemKind::Welfare || item.kind == ItemKind::WelfareSum;
        std::string name = welfare ? firstNamePart(item.name) : item.name;
        if (context.host.askText(prompt, name)) {
            item.name =
                fitToWidth(welfare ? withFirstNamePart(item.name, name) : name, kItemNameWidth);
            opening.result = listWritten(context, selection, false);
        }
        return opening;
    }
    if (item.kind == ItemKind::Tax) {
        context.host.notify("この項目は編集できません。");
        return opening;
    }
    if (item.kind == ItemKind::Comment) {
        std::string name = item.name;
        std::string note = item.note;
        const bool nameGiven = context.host.askText("コメントを入力してください", name);
        const bool noteGiven = context.host.askText("金額欄摘要を入力してください", note);
        opening.result =
            editCommentItem(context, selection, row, nameGiven ? std::optional(name) : std::nullopt,
                            noteGiven ? std::optional(note) : std::nullopt);
        return opening;
    }
    opening.openSheet = row;
    return opening;
}

} // namespace kerbina
