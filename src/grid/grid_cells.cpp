#include "grid/grid_cells.h"

#include "base/bounds.h"
#include "money/rounding.h"
#include "records/item_settings.h"
#include "records/line_kinds.h"

#include <array>
#include <string_view>
#include <tuple>
#include <utility>

namespace kerbina {
namespace {

constexpr std::string_view kYen = "¥";
constexpr std::string_view kIdeographicSpace = "\u3000";

// "%3.3F": three decimals, halves away from zero.
std::string laborFactorText(Currency factor) {
    const std::int64_t raw = factor.raw();
    const std::int64_t magnitude = raw < 0 ? -raw : raw;
    const std::int64_t thousandths = (magnitude + 5) / 10;
    std::string fraction = std::to_string(thousandths % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    std::string text = std::to_string(thousandths / 1000) + "." + fraction;
    if (raw < 0 && thousandths != 0) {
        text.insert(text.begin(), '-');
    }
    return text;
}

// The note a calculated-price line (kinds 50..76) carries about the rounding level held in its
// labour-factor field.
std::string calculatedPriceNote(Currency laborFactor) {
    static constexpr std::array<std::string_view, 10> notes = {
        "※有効桁1",      "※有効桁10",      "※有効桁100", "※有効桁1000", "※有効桁10000",
        "※有効桁100000", "※有効桁1000000", "※有効2桁",   "※有効3桁",    "※有効4桁",
    };
    const std::int64_t code = laborFactor.wholePart();
    if (code < 0 || code >= static_cast<std::int64_t>(notes.size())) {
        return {};
    }
    return std::string(notes[static_cast<std::size_t>(code)]);
}

std::string rangeSuffix(const LineRecord& line) {
    std::string suffix =
        " [" + line.netQuantity.toString() + "～" + line.submittedQuantity.toString() + "]";
    if (isCalculatedRangeKind(line.kind)) {
        suffix += calculatedPriceNote(line.laborFactor);
    }
    return suffix;
}

// The labour-factor column of the calculated-price lines names what the line works on: all
// groups or group A..F.
std::string calculatedPriceLabel(LineKind kind, std::string_view what) {
    static constexpr std::array<std::string_view, 7> groups = {"全", "A", "B", "C", "D", "E", "F"};
    return std::string(groups[static_cast<std::size_t>(groupFilterOf(kind))]) + std::string(what);
}

std::string expenseLabel(LineKind kind) {
    static constexpr std::array<std::string_view, 4> labels = {"経費内", "経費外", "経費含",
                                                               "経費抜"};
    return std::string(
        labels[static_cast<std::size_t>(kind.code() - LineKind::ExpenseOnTotal.code())]);
}

bool isLaborLine(const LineRecord& line) {
    return line.priceKind == Currency::fromWhole(1);
}

// The current sheet's totals, stored in its item by the sheet pass.
Currency sheetTotal(const DocumentState& state, bool net) {
    if (state.currentSheetNumber < 1 || state.currentSheetNumber > state.itemMax()) {
        return {};
    }
    const ItemRecord& item = state.items[static_cast<std::size_t>(state.currentSheetNumber)];
    return net ? item.netTotal : item.submittedTotal;
}

std::string listMoney(Currency value) {
    std::string text = wholeYenText(value);
    if (!text.empty() && text.front() == '-') {
        return "-" + std::string(kYen) + text.substr(1);
    }
    return std::string(kYen) + text;
}

std::string repeat(std::string_view text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) {
        result += text;
    }
    return result;
}

std::string firstPart(const std::string& text) {
    return text.substr(0, text.find(';'));
}

std::string secondPart(const std::string& text) {
    const std::size_t first = text.find(';');
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t second = text.find(';', first + 1);
    return text.substr(first + 1,
                       second == std::string::npos ? std::string::npos : second - first - 1);
}

// The statutory welfare of the whole quotation: the welfare items (kind 101) of the list.
std::pair<Currency, Currency> welfareTotals(const DocumentState& state) {
    Currency net;
    Currency submitted;
    for (std::size_t n = 1; n < state.items.size(); ++n) {
        if (state.items[n].kind == ItemKind::Welfare) {
            net += state.items[n].netTotal;
            submitted += state.items[n].submittedTotal;
        }
    }
    return {net, submitted};
}

// The nine texts of a breakdown-list row, indexed by column.
using ItemCells = std::array<std::string, 9>;

ItemCells itemCells(const DocumentState& state, const DisplayOptions& options,
                    const ItemRecord& item) {
    constexpr std::size_t Fg = 1, Name = 2, Total = 3, Breakdown = 4, Net = 5, Difference = 6,
                          Labor = 7, Note = 8;
    ItemCells cells;
    cells[Name] = firstPart(item.name);
    cells[Total] = listMoney(item.submittedTotal);
    cells[Net] = listMoney(item.netTotal);
    cells[Difference] = listMoney(item.submittedTotal - item.netTotal);
    cells[Labor] = listMoney(item.laborTotal);
    cells[Note] = item.note;
    const auto rangeText = [&item] {
        const ItemRange range = itemRange(item);
        return "[" + range.first.toString() + "]～[" + range.last.toString() + "]";
    };
    const ItemKind kind = item.kind;
    if (kind == ItemKind::HierarchyParentFirst) {
        cells[Fg] = "→";
        cells[Name] = item.name;
        cells[Total] = "[" + listMoney(item.submittedTotal) + "]";
        cells[Net] = "[" + listMoney(item.netTotal) + "]";
        cells[Breakdown] = rangeText();
    } else if (isHierarchyParent(kind)) {
        cells[Fg] = "→";
        cells[Name] = repeat(kIdeographicSpace, hierarchyDepth(kind)) + item.name;
        cells[Total] = "(" + listMoney(item.submittedTotal) + ")";
        cells[Net] = "(" + listMoney(item.netTotal) + ")";
        cells[Breakdown] = rangeText();
    } else if (isHierarchySheet(kind)) {
        cells[Name] = repeat(kIdeographicSpace, hierarchyDepth(kind) + 1) + item.name;
        cells[Total].clear();
        cells[Breakdown] = listMoney(item.submittedTotal);
    } else if (kind == ItemKind::Reduction) {
        cells[Total] = options.reductionMark + cells[Total];
        cells[Net] = options.reductionMark + cells[Net];
        cells[Difference] = listMoney(item.netTotal - item.submittedTotal);
    } else if (kind == ItemKind::SmallSum) {
        cells[Breakdown] = rangeText();
        cells[Labor].clear();
    } else if (kind == ItemKind::Comment) {
        const std::string name = item.name;
        cells = ItemCells{};
        cells[Name] = name;
        cells[showsNoteInTotalColumn(item) ? Total : Note] = item.note;
    } else if (kind == ItemKind::SumSincePrevious) {
        cells[Labor].clear();
    } else if (kind == ItemKind::SumLine) {
        const auto [netWelfare, submittedWelfare] = welfareTotals(state);
        const Currency net = state.allNetTotal - netWelfare;
        const Currency submitted = state.allSubmittedTotal - submittedWelfare;
        cells[Fg] = std::string(kYen);
        cells[Net] = listMoney(net);
        cells[Total] = listMoney(submitted);
        cells[Difference] = listMoney(submitted - net);
        cells[Labor] = listMoney(options.laborTotal);
    } else if (kind == ItemKind::Welfare || kind == ItemKind::WelfareSum) {
        cells[Fg] = "法";
        if (showsFormulaWithName(item)) {
            cells[Name] = item.name + " " + item.note;
            cells[Note].clear();
        } else {
            cells[Name] = firstPart(item.name) + " " + secondPart(item.name);
        }
        cells[Labor].clear();
    }
    return cells;
}

Alignment itemAlignment(int column) {
    if (column >= 3 && column <= 7) {
        return Alignment::Right;
    }
    if (column == 2 || column == 8) {
        return Alignment::Left;
    }
    return Alignment::Center;
}

// Column roles of the sheet layouts, in column order from column 1.
enum class SheetColumn {
    NameSpec,
    Name,
    Specification,
    LaborFactor,
    Group,
    Unit,
    Quantity,
    Price,
    Amount,
    Note
};

constexpr std::array<SheetColumn, 8> kCombinedColumns = {
    SheetColumn::NameSpec, SheetColumn::LaborFactor, SheetColumn::Group,  SheetColumn::Unit,
    SheetColumn::Quantity, SheetColumn::Price,       SheetColumn::Amount, SheetColumn::Note,
};
constexpr std::array<SheetColumn, 9> kSeparatedColumns = {
    SheetColumn::Name,  SheetColumn::Specification, SheetColumn::LaborFactor,
    SheetColumn::Group, SheetColumn::Unit,          SheetColumn::Quantity,
    SheetColumn::Price, SheetColumn::Amount,        SheetColumn::Note,
};

std::optional<SheetColumn> sheetColumn(bool separated, int column) {
    if (column < 1) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(column - 1);
    if (separated) {
        return index < kSeparatedColumns.size() ? std::optional(kSeparatedColumns[index])
                                                : std::nullopt;
    }
    return index < kCombinedColumns.size() ? std::optional(kCombinedColumns[index]) : std::nullopt;
}

std::string sheetCellText(const LineCells& cells, SheetColumn role) {
    switch (role) {
    case SheetColumn::NameSpec:
        return cells.name + " " + cells.specification;
    case SheetColumn::Name:
        return cells.name;
    case SheetColumn::Specification:
        return cells.specification;
    case SheetColumn::LaborFactor:
        return cells.laborFactor;
    case SheetColumn::Group:
        return cells.group;
    case SheetColumn::Unit:
        return cells.unit;
    case SheetColumn::Quantity:
        return cells.quantity;
    case SheetColumn::Price:
        return cells.price;
    case SheetColumn::Amount:
        return cells.amount;
    case SheetColumn::Note:
        return cells.note;
    }
    return {};
}

Alignment sheetAlignment(SheetColumn role) {
    switch (role) {
    case SheetColumn::NameSpec:
    case SheetColumn::Name:
    case SheetColumn::Specification:
    case SheetColumn::Note:
        return Alignment::Left;
    case SheetColumn::Group:
    case SheetColumn::Unit:
        return Alignment::Center;
    case SheetColumn::LaborFactor:
    case SheetColumn::Quantity:
    case SheetColumn::Price:
    case SheetColumn::Amount:
        return Alignment::Right;
    }
    return Alignment::Left;
}

} // namespace

std::string groupText(Currency sortCode, LineKind kind) {
    const std::int64_t code = sortCode.wholePart();
    std::string letter = "+";
    if (code >= 0 && code <= 12000) {
        letter = "A";
    } else if (code > 12000 && code <= 27000) {
        letter = std::string(1, static_cast<char>('B' + (code - 12001) / 3000));
    }
    if ((kind == LineKind::WholePricedOutsideExpense ||
         kind == LineKind::DecimalPricedOutsideExpense) &&
        letter != "+") {
        letter[0] = static_cast<char>(letter[0] - 'A' + 'a');
    }
    return letter;
}

LineCells lineCells(const DocumentState& state, const DisplayOptions& options,
                    const LineRecord& line) {
    const bool net = options.netView;
    const Currency quantity = net ? line.netQuantity : line.submittedQuantity;
    const Currency price = net ? line.netPrice : line.submittedPrice;
    const Currency additional = net ? line.netAdditionalPrice : line.submittedAdditionalPrice;
    const Currency amount = net ? line.netAmount : line.submittedAmount;
    const Currency decimals = state.settings.quantityDecimals;
    const std::string& mark = options.reductionMark;
    const LineKind kind = line.kind;

    LineCells cells;
    std::tie(cells.name, cells.specification) = splitNameSpec(line.nameSpec);
    // Older files end the 仕様 text with ";" too: it reaches up to the next ";".
    cells.specification = firstPart(cells.specification);
    cells.unit = line.unit;
    cells.note = line.note;
    if (!line.laborFactor.isZero()) {
        cells.laborFactor = laborFactorText(line.laborFactor);
    }
    cells.group = groupText(line.sortCode, kind);

    if (kind == LineKind::WholePriced || kind == LineKind::WholePricedOutsideExpense) {
        cells.quantity = wholeYenText(quantity);
        cells.price = wholeYenText(price);
        cells.amount = wholeYenText(amount);
    } else if (kind == LineKind::WholeReduction) {
        cells.quantity = wholeYenText(quantity);
        cells.price = mark + wholeYenText(price);
        cells.amount = mark + wholeYenText(amount);
    } else if (kindWithin(kind, LineKind::WholeAmountTextFirst, LineKind::WholeAmountTextLast) ||
               kindWithin(kind, LineKind::TakeoffWholeAmountTextFirst,
                          LineKind::TakeoffWholeAmountTextLast)) {
        cells.quantity = wholeYenText(quantity);
        cells.amount = line.amountText;
    } else if (kind == LineKind::DecimalPriced || kind == LineKind::DecimalPricedOutsideExpense ||
               kind == LineKind::TakeoffDecimalPriced) {
        cells.quantity = fixedQuantityText(quantity, decimals);
        cells.price = wholeYenText(price);
        cells.amount = wholeYenText(amount);
    } else if (kind == LineKind::DecimalReduction) {
        cells.quantity = fixedQuantityText(quantity, decimals);
        cells.price = mark + wholeYenText(price);
        cells.amount = mark + wholeYenText(amount);
    } else if (kindWithin(kind, LineKind::DecimalAmountTextFirst,
                          LineKind::DecimalAmountTextLast) ||
               kindWithin(kind, LineKind::TakeoffDecimalAmountTextFirst,
                          LineKind::TakeoffDecimalAmountTextLast)) {
        cells.quantity = fixedQuantityText(quantity, decimals);
        cells.amount = line.amountText;
    } else if (kind == LineKind::Comment || kind == LineKind::TakeoffComment) {
        cells.amount = line.amountText;
    } else if (kind == LineKind::RangeSum) {
        cells.quantity = wholeYenText(price);
        cells.amount = wholeYenText(amount);
    } else if (isRangeAmountTimesRate(kind)) {
        cells.laborFactor = calculatedPriceLabel(kind, "単価");
        cells.quantity = wholeYenText(price) + "%";
        cells.amount = wholeYenText(amount);
    } else if (isRangeLaborTimesPrice(kind)) {
        cells.laborFactor = calculatedPriceLabel(kind, "歩掛");
        cells.quantity = fixedQuantityText(additional, decimals);
        cells.price = wholeYenText(price);
        cells.amount = wholeYenText(amount);
    } else if (isRangeAdditionalTimesRate(kind)) {
        cells.laborFactor = calculatedPriceLabel(kind, "付帯");
        cells.quantity = wholeYenText(price) + "%";
        cells.amount = wholeYenText(amount);
    } else if (isExpense(kind)) {
        cells.laborFactor = expenseLabel(kind);
        cells.quantity = fixedQuantityText(quantity, decimals);
        cells.amount = wholeYenText(amount);
    } else if (kind == LineKind::Tax) {
        cells.group = "税";
        cells.quantity = quantity.toString();
        cells.amount = wholeYenText(amount);
    } else if (isRangeTotal(kind)) {
        cells.unit.clear();
        cells.amount = wholeYenText(amount);
    } else if (kind == LineKind::SmallSum || kind == LineKind::MidSum) {
        cells.group = "=";
        cells.amount = wholeYenText(amount);
    } else if (isWelfare(kind)) {
        cells.group = "福利";
        cells.quantity = "1";
        cells.amount = wholeYenText(amount);
    } else if (kind == LineKind::SumLine) {
        cells.group = std::string(kYen);
        cells.amount = wholeYenText(sheetTotal(state, net));
    } else if (kind == LineKind::TakeoffWholePriced || kind == LineKind::TakeoffLumpSum ||
               kind == LineKind::TakeoffPriced170 || kind == LineKind::TakeoffHundredths) {
        if (kind != LineKind::TakeoffWholePriced) {
            cells.group = "拾";
        }
        cells.quantity =
            quantity.isWhole() ? wholeYenText(quantity) : fixedQuantityText(quantity, decimals);
        cells.price = wholeYenText(price);
        cells.amount = wholeYenText(amount);
    } else if (kind == LineKind::TakeoffPricePerHundred || kind == LineKind::TakeoffPriced145 ||
               kind == LineKind::TakeoffPriced150) {
        cells.group = "拾";
        cells.quantity = fixedQuantityText(quantity, decimals);
        cells.price = wholeYenText(price);
        cells.amount = wholeYenText(amount);
    }
    if (isRangeKind(kind)) {
        cells.specification += rangeSuffix(line);
    }

    if (options.additionalView) {
        if (isRangeAdditionalTimesRate(kind)) {
            cells.quantity = wholeYenText(price) + "%";
            cells.price.clear();
            cells.amount = wholeYenText(amount);
        } else {
            cells.price = wholeYenText(additional);
            cells.amount =
                wholeYenText(lineAmount(additional, quantity, state.settings.amountOffset));
        }
    }
    if (cells.amount == "0") {
        cells.amount.clear();
        if (amount > Currency()) {
            cells.price = wholeYenText(amount);
        }
    }
    if (isLaborLine(line)) {
        cells.group = "労" + cells.group;
    }
    return cells;
}

GridLayout gridLayout(const DocumentState& state, const DisplayOptions& options) {
    if (options.listMode) {
        return GridLayout::ItemList;
    }
    return state.separateNameSpec ? GridLayout::SheetSeparated : GridLayout::SheetCombined;
}

int columnCount(GridLayout layout) {
    return layout == GridLayout::SheetSeparated ? 10 : 9;
}

int columnCount(const DocumentState& state, const DisplayOptions& options) {
    return columnCount(gridLayout(state, options));
}

std::string headerText(const DocumentState& state, const DisplayOptions& options, int column) {
    const std::string price = options.additionalView ? "付帯単価" : "単  価";
    const std::string amount = options.netView ? "金  額[仕 切]" : "金  額[提 出]";
    switch (gridLayout(state, options)) {
    case GridLayout::SheetCombined: {
        const std::array<std::string, 9> headers = {
            "No",      "名    称　＆　仕　　様", "歩 掛", "GR", "単位", "数  量", price, amount,
            "備    考"};
        return column >= 0 && column < 9 ? headers[static_cast<std::size_t>(column)] : "";
    }
    case GridLayout::SheetSeparated: {
        const std::array<std::string, 10> headers = {
            "No",  "名  称＆品　名", "仕  様＆型  番", "歩 掛", "GR", "単位", "数  量",
            price, amount,           "備    考"};
        return column >= 0 && column < 10 ? headers[static_cast<std::size_t>(column)] : "";
    }
    case GridLayout::ItemList: {
        static const std::array<std::string, 9> headers = {"",         "FG",       "内 訳 名 称",
                                                           "合計金額", "内訳金額", "仕    切",
                                                           "差    額", "労 務 費", "備     考"};
        return column >= 0 && column < 9 ? headers[static_cast<std::size_t>(column)] : "";
    }
    }
    return {};
}

std::string cellText(const DocumentState& state, const DisplayOptions& options, int row,
                     int column) {
    if (row == 0) {
        return headerText(state, options, column);
    }
    if (row < 0 || column < 0 || column >= columnCount(state, options)) {
        return {};
    }
    if (options.listMode) {
        if (row > state.itemMax() || column == 0) {
            return {};
        }
        return itemCells(
            state, options,
            state.items[static_cast<std::size_t>(row)])[static_cast<std::size_t>(column)];
    }
    if (column == 0) {
        return std::to_string(row);
    }
    if (row > state.lineCount()) {
        return {};
    }
    const auto role = sheetColumn(state.separateNameSpec, column);
    if (!role) {
        return {};
    }
    return sheetCellText(lineCells(state, options, state.sheet[static_cast<std::size_t>(row)]),
                         *role);
}

CellStyle cellStyle(const DocumentState& state, const DisplayOptions& options, int row, int column,
                    bool selected) {
    CellStyle style;
    if (row == 0) {
        style.alignment = Alignment::Center;
        return style;
    }
    if (options.alternateRowShading && row % 2 == 0 && column > 0) {
        style.background = kShadedRow;
    }
    if (selected) {
        style.background = kSelectedCell;
    }
    if (options.listMode) {
        style.alignment = itemAlignment(column);
    } else if (column == 0) {
        style.alignment = Alignment::Center;
    } else {
        if (const auto role = sheetColumn(state.separateNameSpec, column)) {
            style.alignment = sheetAlignment(*role);
        }
        if (row <= state.lineCount()) {
            const LineRecord& line = state.sheet[static_cast<std::size_t>(row)];
            if (line.kind == LineKind::SmallSum || line.kind == LineKind::MidSum) {
                style.foreground = kNavy;
            } else if (isLaborLine(line)) {
                style.foreground = kMaroon;
            }
        }
    }
    if (selected) {
        style.foreground = kWhite;
    }
    return style;
}

} // namespace kerbina
