#include "calc/totals.h"

#include "calc/totals_internal.h"
#include "records/item_settings.h"
#include "records/line_kinds.h"

namespace kerbina {

namespace {

// Decimal text of a whole number that may exceed 64 bits.
std::string wholeText(WideInt value) {
    const bool negative = value < 0;
    auto magnitude = static_cast<UnsignedWideInt>(negative ? -value : value);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? "-" + digits : digits;
}

SheetFigures figures(Currency net, Currency submitted) {
    return SheetFigures{net, submitted, submitted - net, marginText(net, submitted)};
}

} // namespace

namespace {

std::string overflowText(int sheet, int row, const std::string& itemName) {
    const std::string where =
        sheet == 0 ? "内訳表"
                   : "内訳 " + std::to_string(sheet) +
                         (itemName.empty() ? std::string(" ") : "「" + itemName + "」") + "の明細";
    return where + " " + std::to_string(row) + " 行目で金額が大きすぎます。";
}

} // namespace

AmountOverflow::AmountOverflow(int sheet, int row, const std::string& itemName)
    : CurrencyOverflow(overflowText(sheet, row, itemName)), sheet_(sheet), row_(row) {}

void loadSheetSettings(DocumentState& state, int itemNumber) {
    readSheetSettings(state.items.at(static_cast<std::size_t>(itemNumber)), state.settings);
}

void storeSheetSettings(DocumentState& state) {
    ItemRecord* item = currentItem(state);
    if (item == nullptr || !ownsSheet(item->kind)) {
        return;
    }
    writeSheetSettings(*item, state.settings);
}

namespace {

// [KETA] 0 is computed as level 1.
Currency headerGrandTotalLevel(const QuotationHeader& header) {
    return Currency::fromWhole(header.keta == 0 ? 1 : header.keta);
}

} // namespace

CalcSettings settingsShownInDialog(const DocumentState& state) {
    CalcSettings shown = state.settings;
    shown.grandTotalLevel = headerGrandTotalLevel(state.header);
    shown.grandTotalOffset = state.header.cutLevel;
    return shown;
}

void applyCalcSettings(DocumentState& state, const CalcSettings& chosen) {
    state.settings = chosen;
    if (chosen.grandTotalLevel != headerGrandTotalLevel(state.header)) {
        state.header.keta = static_cast<std::int32_t>(chosen.grandTotalLevel.wholePart());
    }
    state.header.cutLevel = chosen.grandTotalOffset;
}

std::map<int, SheetPassResult>
recalculateQuotation(QuotationData& data, const CalcSettings& settings, bool itemNameLine) {
    DocumentState state;
    state.header = std::move(data.header);
    state.items = std::move(data.items);
    state.settings = settings;
    // The quotation keeps the tax offset its totals were computed with: written without it, a
    // file would reopen with another offset and recompute to another tax.
    data.taxOffset = data.taxOffset.value_or(settings.taxOffset);
    state.settings.taxOffset = *data.taxOffset;
    state.itemNameLine = itemNameLine;
    if (data.sheets.size() < state.items.size()) {
        data.sheets.resize(state.items.size(), Sheet{LineRecord{}});
    }

    std::map<int, SheetPassResult> results;
    for (int n = 1; n <= state.itemMax(); ++n) {
        if (!ownsSheet(state.items[static_cast<std::size_t>(n)].kind)) {
            continue;
        }
        Sheet& sheet = data.sheets[static_cast<std::size_t>(n)];
        if (sheet.empty()) {
            sheet.emplace_back(); // the scratch slot
        }
        state.currentSheetNumber = n;
        state.sheet = std::move(sheet);
        loadSheetSettings(state, n);
        results.emplace(n, recalculateSheet(state));
        storeSheetSettings(state);
        sheet = std::move(state.sheet);
    }
    recalculateItemList(state);

    data.header = std::move(state.header);
    data.items = std::move(state.items);
    return results;
}

std::string marginText(Currency net, Currency submitted) {
    if (submitted.isZero()) {
        return "  0%";
    }
    if (net.isZero()) {
        return "100%";
    }
    // Int(net ÷ submitted × 100) on the exact quotient; C++ division truncates toward zero.
    const WideInt percent = static_cast<WideInt>(net.raw()) * 100 / submitted.raw();
    return wholeText(100 - percent) + "%";
}

RecalcOutcome recalculateTotals(DocumentState& state, bool listMode, int gridRowCount) {
    RecalcOutcome outcome;
    if (!listMode) {
        SheetPassResult sheet = recalculateSheet(state);
        outcome.panel.sheet = figures(sheet.netTotal, sheet.submittedTotal);
        outcome.error = std::move(sheet.error);
    }
    const ListPassResult list = recalculateItemList(state);
    outcome.panel.all = figures(state.allNetTotal, state.allSubmittedTotal);
    outcome.panel.allLabor = list.allLabor;
    // The page in front decides: the breakdown list shows items, a sheet its lines (each list
    // counted with its placeholder, which stands for the header row).
    const auto entries = static_cast<int>(listMode ? state.items.size() : state.sheet.size());
    if (gridRowCount < entries) {
        outcome.growGridTo = entries + 10;
    }
    return outcome;
}

} // namespace kerbina
