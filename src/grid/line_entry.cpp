#include "grid/line_entry.h"

#include "base/text.h"
#include "base/text_codec.h"
#include "records/line_kinds.h"

#include <algorithm>
#include <array>

namespace kerbina {

namespace {

constexpr std::size_t kHistoryLength = 20;

// Lines the data-entry dialog edits without making them ordinary lines: sums of a range,
// calculated unit prices, expenses, tax and the sum lines keep their kind.
bool keepsItsKind(LineKind kind) {
    return kind == LineKind::RangeSum || isCalculatedRangeKind(kind) || isExpense(kind) ||
           kindWithin(kind, LineKind::Tax, LineKind::SumLine);
}

bool containsSeparator(const LineEntry& entry) {
    for (const std::string* text :
         {&entry.name, &entry.specification, &entry.unit, &entry.note, &entry.amountText}) {
        if (text->find(';') != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<LineEntry> entryFromPriceRecord(std::string_view record) {
    const std::vector<std::string_view> fields = splitFields(record, ';');
    if (fields.front() != "[code]") {
        return std::nullopt;
    }
    const auto field = [&fields](std::size_t n) {
        return n < fields.size() ? fields[n] : std::string_view();
    };
    LineEntry entry;
    entry.name = field(1);
    entry.specification = field(2);
    entry.unit = field(3);
    entry.netPrice = parseNumberOrZero(field(4));
    entry.submittedPrice = parseNumberOrZero(field(5));
    entry.netQuantity = parseNumberOrZero(field(6));
    entry.submittedQuantity = parseNumberOrZero(field(7));
    entry.netAdditionalPrice = parseNumberOrZero(field(8));
    entry.submittedAdditionalPrice = parseNumberOrZero(field(9));
    entry.laborFactor = parseNumberOrZero(field(10));
    entry.flagChoice = parseInteger32(field(11)).value_or(0);
    entry.amountText = field(12);
    return entry;
}

LineEntry entryFromLine(const LineRecord& line) {
    LineEntry entry;
    const auto [name, specification] = splitNameSpec(line.nameSpec);
    entry.name = name;
    // An appended line keeps a closing ";" after its 仕様.
    entry.specification = specification.substr(0, specification.find(';'));
    entry.unit = line.unit;
    entry.netQuantity = line.netQuantity;
    entry.netPrice = line.netPrice;
    entry.netAdditionalPrice = line.netAdditionalPrice;
    entry.submittedQuantity = line.submittedQuantity;
    entry.submittedPrice = line.submittedPrice;
    entry.submittedAdditionalPrice = line.submittedAdditionalPrice;
    entry.laborFactor = line.laborFactor;
    entry.note = line.note;
    entry.flagChoice = kindToFlagChoice(line.kind);
    entry.priceKindChoice = line.priceKind.isZero() ? 0 : 1;
    entry.amountText = line.amountText;
    entry.editedKind = line.kind;
    entry.hiddenFlag = line.hiddenFlag;
    entry.priceCode = line.priceCode;
    return entry;
}

int correctedFlagChoice(const LineEntry& entry) {
    int choice = entry.flagChoice;
    if (!entry.netQuantity.isWhole() || !entry.submittedQuantity.isWhole()) {
        switch (choice) {
        case 0:
            choice = 1;
            break;
        case 2:
            choice = 3;
            break;
        case 4:
            choice = 5;
            break;
        case 7:
            choice = 8;
            break;
        default:
            break;
        }
    }
    if (entry.submittedQuantity.isZero() && entry.netPrice.isZero() &&
        entry.submittedPrice.isZero() && entry.netAdditionalPrice.isZero() &&
        entry.submittedAdditionalPrice.isZero() && entry.laborFactor.isZero() &&
        entry.unit.empty()) {
        choice = 6;
    }
    if (!entry.netPrice.isZero() || !entry.submittedPrice.isZero()) {
        if (choice == 4 || choice == 6) {
            choice = 0;
        } else if (choice == 5) {
            choice = 1;
        }
    }
    return choice;
}

EntryOutcome lineMessageFromEntry(const LineEntry& entry, Currency groupCode, int sheetNumber) {
    if (containsSeparator(entry)) {
        return {std::nullopt, "名称、仕様に\";\"は使用できません。"};
    }
    LineMessage message;
    const bool keptKind =
        entry.editedKind && !isOrdinaryLine(*entry.editedKind) && keepsItsKind(*entry.editedKind);
    const int choice = correctedFlagChoice(entry);
    message.kind = keptKind ? *entry.editedKind : flagChoiceToKind(choice);
    message.amountText = !keptKind && choice >= 4 && choice <= 6 ? entry.amountText : "";
    message.netPrice = entry.netPrice;
    message.submittedPrice = entry.submittedPrice;
    if (!keptKind && !isHandPriced(message.kind)) {
        message.netPrice = Currency();
        message.submittedPrice = Currency();
    }
    const Currency zero;
    if (entry.netQuantity < zero || entry.submittedQuantity < zero || message.netPrice < zero ||
        message.submittedPrice < zero) {
        return {std::nullopt, "減額機能を使用し、－抜きで入力して下さい。"};
    }
    message.name = entry.name;
    message.specification = entry.specification;
    message.unit = entry.unit;
    message.netAdditionalPrice = entry.netAdditionalPrice;
    message.submittedAdditionalPrice = entry.submittedAdditionalPrice;
    message.netQuantity = entry.netQuantity;
    message.submittedQuantity = entry.submittedQuantity;
    message.groupCode = groupCode;
    message.note = entry.note;
    message.flag216 = 30000;
    message.laborFactor = entry.laborFactor;
    message.mark = sheetNumber;
    message.hiddenFlag = entry.hiddenFlag;
    message.priceKind = Currency::fromWhole(entry.priceKindChoice);
    message.priceCode = entry.priceCode;
    return {message, {}};
}

CommandResult renameLine(GridContext& context, int row, const std::string& name) {
    CommandResult result;
    result.selection = Selection{row, row};
    if (row < 1 || row > context.state.lineCount()) {
        return result;
    }
    context.cycle.takeSheetSnapshot();
    context.state.sheet[static_cast<std::size_t>(row)].nameSpec =
        fitToWidth(name + ";", kNameSpecWidth);
    return finishChange(context, result.selection);
}

LineMessage commentLineMessage(const std::string& text, const std::string& unit,
                               CommentQuantity quantity, const std::string& amountText) {
    LineMessage message;
    message.messageName = "WM_ITEMNOTE";
    message.name = text;
    message.unit = quantity == CommentQuantity::One ? unit : std::string();
    message.netQuantity = message.submittedQuantity = Currency::fromWhole(1);
    message.kind =
        quantity == CommentQuantity::One ? LineKind::WholeAmountTextFirst : LineKind::Comment;
    message.groupCode = Currency::fromWhole(99999);
    message.flag216 = 30000;
    message.amountText = amountText;
    return message;
}

Currency groupCodeOfButton(int group) {
    return sortCodeOfGroup(group);
}

void rememberAtTop(std::vector<std::string>& texts, const std::string& text) {
    if (text.empty()) {
        return;
    }
    std::erase(texts, text);
    texts.insert(texts.begin(), text);
    if (texts.size() > kHistoryLength) {
        texts.resize(kHistoryLength);
    }
}

} // namespace kerbina
