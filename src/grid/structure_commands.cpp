#include "grid/structure_commands.h"

#include "document/line_kinds.h"
#include "document/text_codec.h"
#include "grid/row_commands.h"

#include <algorithm>
#include <array>

namespace kerbina {
namespace {

constexpr int kSmallSumKind = 95;
constexpr int kMidSumKind = 96;
constexpr int kSumLineKind = 99;
constexpr int kTaxKind = 90;
constexpr int kListTaxItemKind = 93;
constexpr int kHiddenRangeKind = 93;

const std::string kNotHere = "ここへは入力できません";
const std::string kHiddenRangeRefusal = "範囲計(金額非表示)に計算項目を含める事はできません。";
const std::string kSeparatorInName = "名称、仕様に\";\"は使用できません。";

LineRecord& lineAt(DocumentState& state, int row) {
    return state.sheet[static_cast<std::size_t>(row)];
}

// A sum line: every field not set here is empty or 0; the row range is kept in the quantities.
LineRecord sumLine(int kind, const std::string& nameSpec, const std::string& unit, int first,
                   int last) {
    LineRecord line = emptyLine();
    line.kind = kind;
    line.nameSpec = fitToWidth(nameSpec, kNameSpecWidth);
    line.unit = fitToWidth(unit, kUnitWidth);
    line.netQuantity = Currency::fromWhole(first);
    line.submittedQuantity = Currency::fromWhole(last);
    line.sortCode = Currency::fromWhole(99999);
    return line;
}

// Puts `line` at `row` past the last line, with empty lines filling the gap.
void appendAt(DocumentState& state, int row, const LineRecord& line) {
    while (state.lineCount() < row - 1) {
        state.sheet.push_back(emptyLine());
    }
    state.sheet.push_back(line);
}

// Puts a structure line into a new row at `row`. A range that ends just above stays as it is: a
// sum placed below the rows of a range is not part of it (inside an amount-hidden range it would
// stop the totals pass).
void insertStructureLine(DocumentState& state, int row, const LineRecord& line) {
    if (row > state.lineCount()) {
        appendAt(state, row, line);
        return;
    }
    insertEmptyLine(state.sheet, row, RangeJoin::StayOutside);
    lineAt(state, row) = line;
}

bool refusesStructureLineAt(GridContext& context, int row) {
    if (row <= context.state.lineCount() && lineAt(context.state, row).kind > 100) {
        context.host.notify(kNotHere);
        return true;
    }
    return false;
}

CommandResult unchanged(Selection selection) {
    CommandResult result;
    result.selection = selection;
    return result;
}

// The ending of every command that created a line at `row`: totals, the work files, and the
// selection on the row below.
CommandResult finishCreated(GridContext& context, int row) {
    context.cycle.recalculate(false);
    context.cycle.writeSheet();
    CommandResult result;
    result.changed = true;
    result.selection = Selection{row + 1, row + 1};
    return result;
}

// Kinds an amount-hidden range may hold: plain priced lines whose amounts it can hide.
bool fitsHiddenRange(int kind) {
    constexpr std::array<int, 8> kAllowed = {10, 11, 20, 21, 110, 120, 145, 150};
    return std::ranges::find(kAllowed, kind) != kAllowed.end();
}

Selection normalized(Selection selection) {
    selection.top = std::max(selection.top, 1);
    selection.bottom = std::max(selection.bottom, selection.top);
    return selection;
}

// Rewrites each selected line up to the last one with `change`, then totals and the work files;
// the selection stays.
template <typename Change>
CommandResult changeSelectedLines(GridContext& context, Selection selection, Change change) {
    selection = normalized(selection);
    const int last = std::min(selection.bottom, context.state.lineCount());
    for (int row = selection.top; row <= last; ++row) {
        change(lineAt(context.state, row));
    }
    context.cycle.recalculate(false);
    context.cycle.writeSheet();
    CommandResult result;
    result.changed = true;
    result.selection = selection;
    return result;
}

// Expense lines keep their rounding code in the unlisted mark's field; sums, tax and generated
// lines are never unlisted.
bool canBeUnlisted(int kind) {
    return !isExpense(kind) && kind < 90;
}

// A ";" in a name would split it into name and specification, and in any text it would break the
// line texts of the copy file.
bool refusesSeparator(GridContext& context, const std::string& text) {
    if (text.find(';') == std::string::npos) {
        return false;
    }
    context.host.notify(kSeparatorInName);
    return true;
}

// Lines below the calculated kinds become comment lines that show `text` in the amount column.
CommandResult blankSelected(GridContext& context, Selection selection, const std::string& text,
                            bool clearUnit) {
    if (refusesSeparator(context, text)) {
        return unchanged(selection);
    }
    const std::string amountText = fitToWidth(text, kAmountTextWidth);
    return changeSelectedLines(context, selection, [&amountText, clearUnit](LineRecord& line) {
        if (line.kind >= 50) {
            return;
        }
        line.kind = 30;
        line.amountText = amountText;
        if (clearUnit) {
            line.unit.clear();
        }
    });
}

} // namespace

bool CheckNotInHiddenRange(GridContext& context, int row) {
    bool allowed = true;
    const Sheet& sheet = context.state.sheet;
    for (std::size_t rangeRow = 1; rangeRow < sheet.size(); ++rangeRow) {
        if (sheet[rangeRow].kind != kHiddenRangeKind) {
            continue;
        }
        const auto [first, last] = rangeOf(sheet[rangeRow]);
        if (row >= first && row <= last) {
            context.host.notify(kHiddenRangeRefusal + "\nno:" + std::to_string(rangeRow));
            allowed = false;
        }
    }
    return allowed;
}

CommandResult addSmallSum(GridContext& context, Selection selection,
                          const StructureSettings& settings) {
    selection = normalized(selection);
    const auto [top, bottom] = selection;
    if (!CheckNotInHiddenRange(context, bottom)) {
        return unchanged(selection);
    }
    DocumentState& state = context.state;
    context.cycle.takeSheetSnapshot();
    const LineRecord line = sumLine(kSmallSumKind, settings.smallSumName, "", top, bottom);
    if (bottom > state.lineCount()) {
        appendAt(state, bottom, line);
        return finishCreated(context, bottom);
    }
    if (refusesStructureLineAt(context, bottom)) {
        return unchanged(selection);
    }
    insertStructureLine(state, top, line);
    for (int extra = top + 1; extra <= bottom; ++extra) {
        insertEmptyLine(state.sheet, top + 1, RangeJoin::JoinRangeAbove);
    }
    return finishCreated(context, top);
}

CommandResult addMidSum(GridContext& context, Selection selection,
                        const StructureSettings& settings) {
    selection = normalized(selection);
    const auto [top, bottom] = selection;
    if (!CheckNotInHiddenRange(context, bottom)) {
        return unchanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    // Below the whole selection: the mid sum closes the selected rows.
    const int row = bottom + 1;
    if (refusesStructureLineAt(context, row)) {
        return unchanged(selection);
    }
    insertStructureLine(context.state, row,
                        sumLine(kMidSumKind, settings.midSumName, "", top, bottom));
    return finishCreated(context, row);
}

bool rangeSumAllowed(GridContext& context, Selection selection, RangeSumKind kind) {
    if (kind != RangeSumKind::AmountsHidden) {
        return true;
    }
    selection = normalized(selection);
    const int last = std::min(selection.bottom, context.state.lineCount());
    for (int row = selection.top; row <= last; ++row) {
        if (!fitsHiddenRange(lineAt(context.state, row).kind)) {
            context.host.notify(kHiddenRangeRefusal);
            return false;
        }
    }
    return true;
}

CommandResult addRangeSum(GridContext& context, Selection selection, RangeSumKind kind,
                          const std::string& name) {
    selection = normalized(selection);
    if (refusesSeparator(context, name)) {
        return unchanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    if (!rangeSumAllowed(context, selection, kind)) {
        return unchanged(selection);
    }
    const int row = selection.bottom + 1;
    insertStructureLine(
        context.state, row,
        sumLine(static_cast<int>(kind), name + ";", "式", selection.top, selection.bottom));
    return finishCreated(context, row);
}

CommandResult addSumLine(GridContext& context, Selection selection,
                         const StructureSettings& settings) {
    selection = normalized(selection);
    if (!CheckNotInHiddenRange(context, selection.bottom)) {
        return unchanged(selection);
    }
    DocumentState& state = context.state;
    context.cycle.takeSheetSnapshot();
    const int row = selection.top;
    LineRecord line = sumLine(kSumLineKind, settings.sumName, "", 0, 0);
    if (row > state.lineCount()) {
        appendAt(state, row, line);
        return finishCreated(context, row);
    }
    if (refusesStructureLineAt(context, row)) {
        return unchanged(selection);
    }
    LineRecord& target = lineAt(state, row);
    line.priceCode = target.priceCode;
    line.reserved176 = target.reserved176;
    target = line;
    return finishCreated(context, row);
}

CommandResult addConsumptionTax(GridContext& context, Selection selection,
                                const StructureSettings& settings) {
    selection = normalized(selection);
    DocumentState& state = context.state;
    // A tax item on the breakdown list already charges tax on every sheet; a sheet tax line on
    // top of it would charge it twice.
    const bool listChargesTax =
        state.header.opt2Int == 2 ||
        std::any_of(state.items.begin() + 1, state.items.end(),
                    [](const ItemRecord& item) { return item.kind == kListTaxItemKind; });
    if (listChargesTax) {
        context.host.notify("内訳表紙にすでに消費税が入っています。");
        return unchanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    const int row = selection.top;
    const bool netSideToo = context.host.ask("仕切に提出金額と同金額の消費税分を加算しますか？");
    LineRecord line = emptyLine();
    line.kind = kTaxKind;
    line.nameSpec = "消  費  税";
    line.unit = "％";
    line.netQuantity = netSideToo ? settings.taxRate : Currency();
    line.submittedQuantity = settings.taxRate;
    if (row > state.lineCount()) {
        appendAt(state, row, line);
    } else {
        lineAt(state, row) = line;
    }
    return finishCreated(context, row);
}

std::optional<std::string> unlistedSummaryDefaultName(const DocumentState& state,
                                                      Selection selection) {
    selection = normalized(selection);
    if (selection.top > state.lineCount()) {
        return std::nullopt;
    }
    return splitNameSpec(state.sheet[static_cast<std::size_t>(selection.top)].nameSpec).first;
}

CommandResult groupAsUnlisted(GridContext& context, Selection selection, const std::string& name) {
    selection = normalized(selection);
    DocumentState& state = context.state;
    if (selection.top > state.lineCount()) {
        return unchanged(selection);
    }
    if (refusesSeparator(context, name)) {
        return unchanged(selection);
    }
    const int top = selection.top;
    const int bottom = std::min(selection.bottom, state.lineCount());
    for (int row = top; row <= bottom; ++row) {
        LineRecord& line = lineAt(state, row);
        if (canBeUnlisted(line.kind)) {
            line.hiddenFlag = 1;
        }
    }
    // The summary: a calculated unit price of 100 % of the sum of the lines it stands for.
    LineRecord summary = sumLine(50, name + ";", "式", top, bottom);
    summary.sortCode = Currency();
    summary.netPrice = Currency::fromWhole(100);
    summary.submittedPrice = Currency::fromWhole(100);
    const int row = bottom + 1;
    insertStructureLine(state, row, summary);
    context.cycle.recalculate(false);
    context.cycle.writeSheet();
    CommandResult result;
    result.changed = true;
    result.selection = Selection{row, row};
    return result;
}

CommandResult ungroupUnlisted(GridContext& context, Selection selection) {
    selection = normalized(selection);
    if (selection.top > context.state.lineCount()) {
        return unchanged(selection);
    }
    return changeSelectedLines(context, selection, [](LineRecord& line) {
        if (!isExpense(line.kind)) {
            line.hiddenFlag = 0;
        }
    });
}

CommandResult setAmountColumnText(GridContext& context, Selection selection,
                                  const std::string& text) {
    if (refusesSeparator(context, text)) {
        return unchanged(selection);
    }
    const std::string amountText = fitToWidth(text, kAmountTextWidth);
    return changeSelectedLines(context, selection, [&amountText](LineRecord& line) {
        switch (line.kind) {
        case 10:
        case 12:
            line.kind = 15;
            break;
        case 20:
        case 22:
            line.kind = 25;
            break;
        case 15:
        case 25:
        case 30:
            break;
        default:
            return;
        }
        line.amountText = amountText;
    });
}

CommandResult blankQuantityAndAmount(GridContext& context, Selection selection,
                                     const std::string& text) {
    return blankSelected(context, selection, text, false);
}

CommandResult blankQuantityUnitAndAmount(GridContext& context, Selection selection,
                                         const std::string& text) {
    return blankSelected(context, selection, text, true);
}

} // namespace kerbina
