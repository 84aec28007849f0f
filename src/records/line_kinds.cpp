#include "records/line_kinds.h"

#include <algorithm>
#include <array>
#include <limits>

namespace kerbina {
namespace {

bool between(int value, int low, int high) {
    return value >= low && value <= high;
}

// The data-entry dialog's FLAG choices 0..8 in order.
constexpr std::array<int, 9> kFlagChoiceKinds = {10, 20, 11, 21, 15, 25, 30, 12, 22};

int clampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

} // namespace

bool isPriced(int kind) {
    constexpr std::array<int, 13> kPriced = {10,  11,  12,  20,  21,  22, 110,
                                             120, 140, 145, 150, 170, 180};
    return std::ranges::find(kPriced, kind) != kPriced.end();
}

bool isReduction(int kind) {
    return kind == 11 || kind == 21;
}

bool isRangeKind(int kind) {
    return kind == 40 || between(kind, 50, 56) || between(kind, 60, 66) || between(kind, 70, 76) ||
           kind == 93 || kind == 94 || kind == 193 || kind == 194;
}

bool isExpense(int kind) {
    return between(kind, 81, 84);
}

bool isWelfare(int kind) {
    return kind == 97 || kind == 98;
}

bool isWholeQuantity(int kind) {
    return between(kind, 10, 19);
}

bool isDecimalQuantity(int kind) {
    return between(kind, 20, 29);
}

bool ownsSheet(int itemKind) {
    return itemKind == 10 || between(itemKind, 30, 39);
}

bool hasReachableTitleLine(const Sheet& sheet) {
    for (std::size_t row = 1; row < sheet.size(); ++row) {
        const int kind = sheet[row].kind;
        if (kind == 100) {
            return true;
        }
        if (kind == 90 || kind == 99) {
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

int kindToFlagChoice(int kind) {
    if (kind == 120) {
        return 1; // the take-off decimal line edits as a decimal-quantity line
    }
    const auto found = std::ranges::find(kFlagChoiceKinds, kind);
    return found == kFlagChoiceKinds.end() ? 0 : static_cast<int>(found - kFlagChoiceKinds.begin());
}

int flagChoiceToKind(int choice) {
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

std::pair<int, int> rangeOf(const LineRecord& line) {
    return {clampToInt(line.netQuantity.wholePart()),
            clampToInt(line.submittedQuantity.wholePart())};
}

LineRecord newLine() {
    return LineRecord{};
}

ItemRecord newSheetItem() {
    ItemRecord item;
    item.kind = 10;
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
    header.dy = gregorianYear - 1988;
    header.dm = month;
    header.dd = day;
    return header;
}

} // namespace kerbina
