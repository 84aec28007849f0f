#include "grid/registered_text_replies.h"

#include "base/text.h"
#include "base/text_codec.h"
#include "grid/item_data.h"
#include "records/item_settings.h"
#include "records/kinds.h"
#include "records/line_kinds.h"

#include <algorithm>

namespace kerbina {

namespace {

const char* const kFirstRowRefusal = "先頭行にコメントを入れる事はできません。";
const char* const kHoldsDataRefusal = "すでに積算データが存在しますのでコメントにはできません";

} // namespace

const std::vector<std::string>& itemNumberPrefixes() {
    static const std::vector<std::string> prefixes = [] {
        std::vector<std::string> list;
        for (int n = 1; n <= 10; ++n) {
            list.push_back(std::to_string(n) + ".");
        }
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            list.push_back(std::string(1, letter) + ".");
        }
        return list;
    }();
    return prefixes;
}

LineMessage itemNameLineMessage(const std::string& prefix, const std::string& name) {
    LineMessage message;
    message.messageName = kItemNameReply;
    message.name = std::string(trimBlanks(prefix)) + name;
    message.kind = LineKind::Empty;
    message.groupCode = Currency::fromWhole(99999);
    message.flag216 = 30000;
    return message;
}

bool holdsFieldSeparator(const LineMessage& message) {
    return std::ranges::any_of(
        std::initializer_list<const std::string*>{&message.name, &message.specification,
                                                  &message.unit, &message.note, &message.amountText,
                                                  &message.priceCode},
        [](const std::string* text) { return text->find(';') != std::string::npos; });
}

CommandResult renameItemFromReply(GridContext& context, Selection selection,
                                  const LineMessage& reply, bool listMode) {
    DocumentState& state = context.state;
    const int item = listMode ? selection.top : state.currentSheetNumber;
    if (item < 1) {
        return nothingChanged(selection);
    }
    // On the list the rename is one list change, so that the list's undo takes back exactly it.
    if (listMode) {
        context.cycle.takeListSnapshot();
    } else {
        context.cycle.takeSheetSnapshot();
    }
    itemCreatedAt(state, item).name = fitToWidth(reply.name, kItemNameWidth);
    context.cycle.recalculate(listMode);
    context.cycle.writeList();
    if (!listMode) {
        context.cycle.writeSheet();
    }
    CommandResult result;
    result.changed = true;
    result.itemsChanged = listMode;
    result.selection = Selection{selection.top + 1, selection.top + 1};
    return result;
}

std::optional<std::string> commentItemRefusal(const DocumentState& state,
                                              const std::filesystem::path& workFolder, int row) {
    if (row <= 1) {
        return std::string(kFirstRowRefusal);
    }
    if (itemHoldsData(state, workFolder, row)) {
        return std::string(kHoldsDataRefusal);
    }
    return std::nullopt;
}

CommandResult writeCommentItem(GridContext& context, Selection selection,
                               const LineMessage& reply) {
    DocumentState& state = context.state;
    const int row = selection.top;
    if (const auto refusal = commentItemRefusal(state, context.workFolder, row)) {
        context.host.notify(*refusal);
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    ItemRecord& item = itemCreatedAt(state, row);
    item.name = fitToWidth(reply.name, kItemNameWidth);
    item.kind = ItemKind::Comment;
    setCommentPlacement(item, Currency::fromWhole(reply.kind.code()));
    item.note = fitToWidth(reply.amountText, kItemNoteWidth);
    return finishListChange(context, Selection{row + 1, row + 1});
}

CommandResult editCommentItem(GridContext& context, Selection selection, int row,
                              const std::optional<std::string>& name,
                              const std::optional<std::string>& note) {
    DocumentState& state = context.state;
    if (row < 1 || row > state.itemMax() ||
        state.items[static_cast<std::size_t>(row)].kind != ItemKind::Comment || (!name && !note)) {
        return nothingChanged(selection);
    }
    ItemRecord& item = state.items[static_cast<std::size_t>(row)];
    if (name) {
        item.name = fitToWidth(*name, kItemNameWidth);
    }
    if (note) {
        item.note = fitToWidth(*note, kItemNoteWidth);
    }
    context.cycle.writeList();
    CommandResult result;
    result.changed = true;
    result.selection = selection;
    return result;
}

} // namespace kerbina
