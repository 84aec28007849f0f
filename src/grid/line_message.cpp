#include "grid/line_message.h"

#include "base/text.h"
#include "base/text_codec.h"
#include "grid/row_commands.h"
#include "records/item_settings.h"
#include "records/line_kinds.h"
#include "records/records.h"

#include <algorithm>
#include <vector>

namespace kerbina {

namespace {

constexpr std::size_t kMessageFields = 22;
constexpr std::size_t kItemMessageFields = 10;

int integerOrZero(std::string_view text) {
    return parseInteger32(text, IntegerText::Lenient).value_or(0);
}

} // namespace

LineMessage parseLineMessage(std::string_view text) {
    std::vector<std::string_view> fields = splitFields(text, ';');
    fields.resize(std::max(fields.size(), kMessageFields));
    LineMessage message;
    message.messageName = std::string(fields[0]);
    message.name = std::string(fields[1]);
    message.specification = std::string(fields[2]);
    message.unit = std::string(fields[3]);
    message.netPrice = parseNumberOrZero(fields[4]);
    message.submittedPrice = parseNumberOrZero(fields[5]);
    message.netAdditionalPrice = parseNumberOrZero(fields[6]);
    message.submittedAdditionalPrice = parseNumberOrZero(fields[7]);
    message.netQuantity = parseNumberOrZero(fields[8]);
    message.submittedQuantity = parseNumberOrZero(fields[9]);
    message.netAmount = parseNumberOrZero(fields[10]);
    message.submittedAmount = parseNumberOrZero(fields[11]);
    message.kind = integerOrZero(fields[12]);
    message.groupCode = parseNumberOrZero(fields[13]);
    message.note = std::string(fields[14]);
    message.flag216 = integerOrZero(fields[15]);
    message.laborFactor = parseNumberOrZero(fields[16]);
    message.mark = integerOrZero(fields[17]);
    message.hiddenFlag = integerOrZero(fields[18]);
    message.priceKind = parseNumberOrZero(fields[19]);
    message.amountText = std::string(fields[20]);
    message.priceCode = std::string(fields[21]);
    return message;
}

std::string lineMessageText(const LineMessage& m) {
    const std::string fields[kMessageFields] = {
        asSeparatedField(m.messageName),
        asSeparatedField(m.name),
        asSeparatedField(m.specification),
        asSeparatedField(m.unit),
        m.netPrice.toString(),
        m.submittedPrice.toString(),
        m.netAdditionalPrice.toString(),
        m.submittedAdditionalPrice.toString(),
        m.netQuantity.toString(),
        m.submittedQuantity.toString(),
        m.netAmount.toString(),
        m.submittedAmount.toString(),
        std::to_string(m.kind.code()),
        m.groupCode.toString(),
        asSeparatedField(m.note),
        std::to_string(m.flag216),
        m.laborFactor.toString(),
        std::to_string(m.mark),
        std::to_string(m.hiddenFlag),
        m.priceKind.toString(),
        asSeparatedField(m.amountText),
        asSeparatedField(m.priceCode),
    };
    std::string text;
    for (std::size_t i = 0; i < kMessageFields; ++i) {
        if (i > 0) {
            text += ';';
        }
        text += fields[i];
    }
    return text;
}

void applyLineMessage(LineRecord& line, const LineMessage& message, bool appended) {
    if (appended) {
        line.nameSpec =
            fitToWidth(message.name + ";" + message.specification + ";", kNameSpecWidth);
        line.netAmount = Currency();
        line.submittedAmount = Currency();
    } else {
        line.nameSpec =
            fitToWidth(joinNameSpec(message.name, message.specification), kNameSpecWidth);
        line.netAmount = message.netAmount;
        line.submittedAmount = message.submittedAmount;
    }
    line.unit = fitToWidth(message.unit, kUnitWidth);
    line.netPrice = message.netPrice;
    line.submittedPrice = message.submittedPrice;
    line.netAdditionalPrice = message.netAdditionalPrice;
    line.submittedAdditionalPrice = message.submittedAdditionalPrice;
    line.netQuantity = message.netQuantity;
    line.submittedQuantity = message.submittedQuantity;
    line.kind = message.kind;
    line.sortCode = message.groupCode;
    line.note = fitToWidth(message.note, kLineNoteWidth);
    line.flag216 = message.flag216;
    line.laborFactor = message.laborFactor;
    line.mark = message.mark;
    line.hiddenFlag = message.hiddenFlag;
    line.priceKind = message.priceKind;
    line.amountText = fitToWidth(message.amountText, kAmountTextWidth);
    line.priceCode = fitToWidth(message.priceCode, kPriceCodeWidth);
    line.reserved176 = Currency();
}

CommandResult writeLineFromMessage(GridContext& context, Selection selection,
                                   const LineMessage& message, LineWriteMode mode,
                                   AfterWrite afterWrite, bool listMode) {
    CommandResult result;
    result.selection = selection;
    if (listMode) {
        return result;
    }
    DocumentState& state = context.state;
    context.cycle.takeSheetSnapshot();
    int row = std::max(selection.bottom, 1);
    if (mode == LineWriteMode::InsertFirst) {
        row = std::max(selection.top, 1);
        if (row <= state.lineCount()) {
            insertEmptyLines(state.sheet, row, std::max(selection.bottom - selection.top + 1, 1));
        }
    }

    if (row > state.lineCount()) {
        while (state.lineCount() < row - 1) {
            state.sheet.push_back(emptyLine());
        }
        state.sheet.push_back(emptyLine());
        applyLineMessage(state.sheet.back(), message, true);
    } else {
        applyLineMessage(state.sheet[static_cast<std::size_t>(row)], message, false);
    }

    context.cycle.recalculate(false);
    if (afterWrite == AfterWrite::Save) {
        context.cycle.writeSheet();
    } else {
        state.modified = true; // in memory only: closing must still ask
    }
    result.changed = true;
    result.selection = Selection{row + 1, row + 1};
    return result;
}

ItemMessage parseItemMessage(std::string_view text) {
    std::vector<std::string_view> fields = splitFields(text, ';');
    fields.resize(std::max(fields.size(), kItemMessageFields));
    ItemMessage message;
    message.messageName = std::string(fields[0]);
    message.kind = integerOrZero(fields[1]);
    message.name = std::string(fields[2]);
    message.note = std::string(fields[3]);
    message.submittedTotal = parseNumberOrZero(fields[4]);
    message.netTotal = parseNumberOrZero(fields[5]);
    message.setting144 = parseNumberOrZero(fields[6]);
    message.setting152 = parseNumberOrZero(fields[7]);
    message.setting160 = parseNumberOrZero(fields[8]);
    message.setting168 = parseNumberOrZero(fields[9]);
    return message;
}

std::string itemMessageText(const ItemMessage& m) {
    return asSeparatedField(m.messageName) + ';' + std::to_string(m.kind.code()) + ';' +
           asSeparatedField(m.name) + ';' + asSeparatedField(m.note) + ';' +
           m.submittedTotal.toString() + ';' + m.netTotal.toString() + ';' +
           m.setting144.toString() + ';' + m.setting152.toString() + ';' + m.setting160.toString() +
           ';' + m.setting168.toString();
}

CommandResult writeItemFromMessage(GridContext& context, int row, const ItemMessage& message,
                                   const std::function<void(ItemRecord&)>& completeItem) {
    if (row < 1) {
        return nothingChanged(Selection{row, row});
    }
    ItemRecord& item = itemCreatedAt(context.state, row);
    item.kind = message.kind;
    item.name = fitToWidth(message.name, kItemNameWidth);
    item.note = fitToWidth(message.note, kItemNoteWidth);
    item.submittedTotal = message.submittedTotal;
    item.netTotal = message.netTotal;
    setItemMessageSettings(item, message.setting144, message.setting152, message.setting160,
                           message.setting168);
    if (completeItem) {
        completeItem(item);
    }
    return finishListChange(context, Selection{row, row});
}

} // namespace kerbina
