#include "records/line_kinds.h"

#include "money/rounding.h"

#include <algorithm>
#include <array>

namespace kerbina {
namespace {

// The data-entry dialog's FLAG choices 0..8 in order.
constexpr std::array<LineKind, 9> kFlagChoiceKinds = {LineKind::WholePriced,
                                                      LineKind::DecimalPriced,
                                                      LineKind::WholeReduction,
                                                      LineKind::DecimalReduction,
                                                      LineKind::WholeAmountTextFirst,
                                                      LineKind::DecimalAmountTextFirst,
                                                      LineKind::Comment,
                                                      LineKind::WholePricedOutsideExpense,
                                                      LineKind::DecimalPricedOutsideExpense};

} // namespace

bool hasReachableTitleLine(const Sheet& sheet) {
    for (std::size_t row = 1; row < sheet.size(); ++row) {
        const LineKind kind = sheet[row].kind;
        if (kind == LineKind::Title) {
            return true;
        }
        if (kind == LineKind::Tax || kind == LineKind::SumLine) {
            return false;
        }
    }
    return false;
}

int dataGroupOf(Currency sortCode) {
    // Group 1 runs up to 12000, each further group spans 3000, group 6 is open-ended.
    for (int group = 1; group < 6; ++group) {
        if (sortCode <= Currency::fromWhole(12000 + 3000 * (group - 1))) {
            return group;
        }
    }
    return 6;
}

Currency sortCodeOfGroup(int group) {
    return Currency::fromWhole(11999 + 3000 * (std::clamp(group, 1, 6) - 1));
}

int kindToFlagChoice(LineKind kind) {
    if (kind == LineKind::TakeoffDecimalPriced) {
        return 1; // the take-off decimal line edits as a decimal-quantity line
    }
    const auto found = std::ranges::find(kFlagChoiceKinds, kind);
    return found == kFlagChoiceKinds.end() ? 0 : static_cast<int>(found - kFlagChoiceKinds.begin());
}

LineKind flagChoiceToKind(int choice) {
    if (choice < 0 || choice >= static_cast<int>(kFlagChoiceKinds.size())) {
        return kFlagChoiceKinds[0];
    }
    return kFlagChoiceKinds[static_cast<std::size_t>(choice)];
}

std::pair<std::string, std::string> splitNameSpec(const std::string& nameSpec) {
    const std::size_t separator = nameSpec.find(';');
    if (separator == std::string::npos) {
        return {nameSpec, std::string()};
    }
    return {nameSpec.substr(0, separator), nameSpec.substr(separator + 1)};
}

std::string joinNameSpec(const std::string& name, const std::string& specification) {
    return name + ";" + specification;
}

Currency truncateQuantity(Currency quantity, LineKind kind, Currency quantityDecimals) {
    if (isWholeQuantity(kind)) {
        return quantity.truncated();
    }
    if (isDecimalQuantity(kind)) {
        return truncateToQuantityDecimals(quantity, quantityDecimals);
    }
    return quantity;
}

LineKind wholeQuantityTwin(LineKind kind) {
    return kind.code() - (LineKind::DecimalPriced.code() - LineKind::WholePriced.code());
}

std::pair<int, int> rangeOf(const LineRecord& line) {
    return {line.netQuantity.clampedWhole(), line.submittedQuantity.clampedWhole()};
}

LineRecord newLine() {
    return LineRecord{};
}

ItemRecord newSheetItem() {
    ItemRecord item;
    item.kind = ItemKind::Sheet;
    item.setAmountRounding = Currency::fromRaw(5000);
    item.setExpenseRounding = Currency::fromRaw(5000);
    // 0.5 is no valid quantity setting: the totals pass replaces it with 100 on first use.
    item.setQuantityDecimals = Currency::fromRaw(5000);
    item.setTotalLevel = Currency::fromWhole(1);
    item.setLaborRounding = Currency::fromRaw(5000);
    return item;
}

QuotationHeader newHeader(int gregorianYear, int month, int day) {
    QuotationHeader header; // data level 0, status -1, keta 1, cut level 0.5
    header.storedYear = gregorianYear - 1988;
    header.month = month;
    header.day = day;
    return header;
}

} // namespace kerbina
