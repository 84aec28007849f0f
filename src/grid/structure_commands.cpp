#include "grid/structure_commands.h"

#include "base/bounds.h"
#include "base/text_codec.h"
#include "grid/row_commands.h"
#include "records/line_kinds.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kerbina {
namespace {

const std::string kNotHere = "ここへは入力できません";
const std::string kHiddenRangeRefusal = "範囲計(金額非表示)に計算項目を含める事はできません。";
const std::string kSeparatorInName = "名称、仕様に\";\"は使用できません。";

LineRecord& lineAt(DocumentState& state, int row) {
    return state.sheet[static_cast<std::size_t>(row)];
}

// A line made by these commands: every field not set here is empty or 0; a row range is kept in
// the quantities.
LineRecord structureLine(LineKind kind, const std::string& nameSpec, const std::string& unit,
                         int first, int last) {
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
    if (row <= context.state.lineCount() && isGeneratedKind(lineAt(context.state, row).kind) &&
        lineAt(context.state, row).kind != LineKind::Title) {
        context.host.notify(kNotHere);
        return true;
    }
    return false;
}

// The ending of every command that created a line at `row`: totals, the work files, and the
// selection on the row below.
CommandResult finishCreated(GridContext& context, int row) {
    return finishChange(context, Selection{row + 1, row + 1});
}

// Kinds an amount-hidden range may hold: plain priced lines whose amounts it can hide.
bool fitsHiddenRange(LineKind kind) {
    return mayBeHiddenByRangeTotal(kind) && kind != LineKind::Empty;
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
    return finishChange(context, selection);
}

// Expense lines keep their rounding code in the unlisted mark's field; sums, tax and generated
// lines are never unlisted.
bool canBeUnlisted(LineKind kind) {
    return !isExpense(kind) && kind.code() < LineKind::Tax.code();
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
        return nothingChanged(selection);
    }
    const std::string amountText = fitToWidth(text, kAmountTextWidth);
    return changeSelectedLines(context, selection, [&amountText, clearUnit](LineRecord& line) {
        if (line.kind.code() >= LineKind::RangeAmountTimesRate.code()) {
            return;
        }
        line.kind = LineKind::Comment;
        line.amountText = amountText;
        if (clearUnit) {
            line.unit.clear();
        }
    });
}

// What the property report says a line of this kind does.
std::string kindDescription(const LineRecord& line) {
    const LineKind kind = line.kind;
    if (kindWithin(kind, LineKind::WholeAmountTextFirst, LineKind::WholeAmountTextLast)) {
        return "数量実数 金額欄" + line.amountText;
    }
    if (kindWithin(kind, LineKind::DecimalAmountTextFirst, LineKind::DecimalAmountTextLast)) {
        return "数量小数 金額欄" + line.amountText;
    }
    if (isRangeAmountTimesRate(kind) && groupFilterOf(kind) != 0) {
        return "指定範囲内単価合計×掛率";
    }
    if (isRangeLaborTimesPrice(kind) && groupFilterOf(kind) != 0) {
        return "指定範囲内指定範囲歩掛×単価";
    }
    if (isRangeAdditionalTimesRate(kind) && groupFilterOf(kind) != 0) {
        return "指定範囲内付帯単価合計×掛率";
    }
    switch (kind.code()) {
    case LineKind::WholePriced.code():
        return "数量実数 通常単価  経費対象";
    case LineKind::WholeReduction.code():
        return "数量実数 減    額";
    case LineKind::WholePricedOutsideExpense.code():
        return "数量実数 通常単価  経費対象外";
    case LineKind::DecimalPriced.code():
        return "数量小数 通常単価  経費対象";
    case LineKind::DecimalReduction.code():
        return "数量小数 減    額";
    case LineKind::Comment.code():
        return "コメント";
    case LineKind::RangeAmountTimesRate.code():
        return "指定範囲単価合計×掛率";
    case LineKind::RangeLaborTimesPrice.code():
        return "指定範囲歩掛×単価";
    case LineKind::RangeAdditionalTimesRate.code():
        return "指定範囲付帯単価合計×掛率";
    case LineKind::ExpenseOnTotal.code():
        return "諸経費  見積金額＋他の諸経費×掛率  丸込処理無";
    case LineKind::ExpenseOutsideOtherExpenses.code():
        return "諸経費  諸経費計算の際、計算外となります";
    case LineKind::ExpenseOnTotalRoundedOff.code():
        return "諸経費  見積金額＋他の諸経費×掛率  丸込処理有";
    case LineKind::ExpenseWithoutOthersRoundedOff.code():
        return "諸経費  見積金額＋諸経費外と指定のある諸経費を含まない×掛率\n"
               "丸込処理有丸込処理有";
    case LineKind::Welfare.code():
        return "法定福利費";
    case LineKind::WelfareSum.code():
        return "法定福利計";
    case LineKind::SumLine.code():
        return "合計線  印刷時ここに合計が印刷されます";
    case LineKind::TakeoffComment.code():
        return "(拾出)コメント";
    default:
        return "";
    }
}

// The two sides of a calculated unit price line (kinds 50..56, 60..66, 70..76): its rate or
// percentage and its amount on each side.
void appendCalculatedSides(std::vector<std::string>& report, const LineRecord& line) {
    const bool laborTimesPrice = isRangeLaborTimesPrice(line.kind);
    const std::string rateLabel = laborTimesPrice ? "単    価  =  " : "掛 け 率  =  ";
    const std::string priceCodeLine = "単価番号 = " + line.priceCode;
    const auto [first, last] = rangeOf(line);
    report.push_back("計算対象範囲  =  " + std::to_string(first) + "～" + std::to_string(last));
    report.push_back("----------------------------------[提 出]---");
    report.push_back(rateLabel + line.submittedPrice.toString() + "%");
    report.push_back("金    額  =  " + line.submittedAmount.toString());
    report.push_back(priceCodeLine);
    report.push_back("----------------------------------[仕 切]---");
    report.push_back(rateLabel + line.netPrice.toString() + "%");
    report.push_back("金    額  =  " + line.netAmount.toString());
    report.push_back(laborTimesPrice ? priceCodeLine
                                     : "付 帯 単 価  =  " + line.netAdditionalPrice.toString());
}

void appendPricedSides(std::vector<std::string>& report, const LineRecord& line) {
    report.push_back("----------------------------------[提 出]---");
    report.push_back("歩    掛     =  " + line.laborFactor.toString());
    report.push_back("提 出 数 量  =  " + line.submittedQuantity.toString());
    report.push_back("提 出 単 価  =  " + line.submittedPrice.toString());
    report.push_back("提 出 金 額  =  " + line.submittedAmount.toString());
    report.push_back("付 帯 単 価  =  " + line.submittedAdditionalPrice.toString());
    report.push_back("----------------------------------[仕 切]---");
    report.push_back("数 量 仕 切  =  " + line.netQuantity.toString());
    report.push_back("仕 切 単 価  =  " + line.netPrice.toString());
    report.push_back("仕 切 金 額  =  " + line.netAmount.toString());
    report.push_back("単価番号 = " + line.priceCode);
}

} // namespace

bool checkNotInHiddenRange(GridContext& context, int row) {
    bool allowed = true;
    const Sheet& sheet = context.state.sheet;
    for (std::size_t rangeRow = 1; rangeRow < sheet.size(); ++rangeRow) {
        if (sheet[rangeRow].kind != LineKind::RangeTotalHidingItems) {
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
    if (!checkNotInHiddenRange(context, bottom)) {
        return nothingChanged(selection);
    }
    DocumentState& state = context.state;
    context.cycle.takeSheetSnapshot();
    const LineRecord line =
        structureLine(LineKind::SmallSum, settings.smallSumName, "", top, bottom);
    if (bottom > state.lineCount()) {
        appendAt(state, bottom, line);
        return finishCreated(context, bottom);
    }
    if (refusesStructureLineAt(context, bottom)) {
        return nothingChanged(selection);
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
    if (!checkNotInHiddenRange(context, bottom)) {
        return nothingChanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    // Below the whole selection: the mid sum closes the selected rows.
    const int row = bottom + 1;
    if (refusesStructureLineAt(context, row)) {
        return nothingChanged(selection);
    }
    insertStructureLine(context.state, row,
                        structureLine(LineKind::MidSum, settings.midSumName, "", top, bottom));
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
        return nothingChanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    if (!rangeSumAllowed(context, selection, kind)) {
        return nothingChanged(selection);
    }
    const int row = selection.bottom + 1;
    insertStructureLine(
        context.state, row,
        structureLine(static_cast<int>(kind), name + ";", "式", selection.top, selection.bottom));
    return finishCreated(context, row);
}

CommandResult addSumLine(GridContext& context, Selection selection,
                         const StructureSettings& settings) {
    selection = normalized(selection);
    if (!checkNotInHiddenRange(context, selection.bottom)) {
        return nothingChanged(selection);
    }
    DocumentState& state = context.state;
    context.cycle.takeSheetSnapshot();
    const int row = selection.top;
    LineRecord line = structureLine(LineKind::SumLine, settings.sumName, "", 0, 0);
    if (row > state.lineCount()) {
        appendAt(state, row, line);
        return finishCreated(context, row);
    }
    if (refusesStructureLineAt(context, row)) {
        return nothingChanged(selection);
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
                    [](const ItemRecord& item) { return item.kind == ItemKind::Tax; });
    if (listChargesTax) {
        context.host.notify("内訳表紙にすでに消費税が入っています。");
        return nothingChanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    const int row = selection.top;
    const bool netSideToo =
        context.host.askYesNo("仕切に提出金額と同金額の消費税分を加算しますか？");
    LineRecord line = emptyLine();
    line.kind = LineKind::Tax;
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
        return nothingChanged(selection);
    }
    if (refusesSeparator(context, name)) {
        return nothingChanged(selection);
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
    LineRecord summary = structureLine(50, name + ";", "式", top, bottom);
    summary.sortCode = Currency();
    summary.netPrice = Currency::fromWhole(100);
    summary.submittedPrice = Currency::fromWhole(100);
    const int row = bottom + 1;
    insertStructureLine(state, row, summary);
    return finishChange(context, Selection{row, row});
}

CommandResult ungroupUnlisted(GridContext& context, Selection selection) {
    selection = normalized(selection);
    if (selection.top > context.state.lineCount()) {
        return nothingChanged(selection);
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
        return nothingChanged(selection);
    }
    const std::string amountText = fitToWidth(text, kAmountTextWidth);
    return changeSelectedLines(context, selection, [&amountText](LineRecord& line) {
        if (line.kind == LineKind::WholePriced ||
            line.kind == LineKind::WholePricedOutsideExpense) {
            line.kind = LineKind::WholeAmountTextFirst;
        } else if (line.kind == LineKind::DecimalPriced ||
                   line.kind == LineKind::DecimalPricedOutsideExpense) {
            line.kind = LineKind::DecimalAmountTextFirst;
        } else if (line.kind != LineKind::WholeAmountTextFirst &&
                   line.kind != LineKind::DecimalAmountTextFirst &&
                   line.kind != LineKind::Comment) {
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

std::optional<std::string> linePropertyReport(const DocumentState& state, Selection selection) {
    const int row = std::max(selection.top, 1);
    if (row > state.lineCount()) {
        return std::nullopt;
    }
    const LineRecord& line = state.sheet[static_cast<std::size_t>(row)];
    const std::string doubleRule = "============================================";
    std::vector<std::string> report;
    report.push_back("No : " + std::to_string(row) + " データのプロパティ");
    report.push_back(doubleRule);
    report.push_back("名       称  =  " + line.nameSpec);
    report.emplace_back();
    report.push_back(line.kind == LineKind::WholePricedOutsideExpense ||
                             line.kind == LineKind::DecimalPricedOutsideExpense
                         ? "経 費 計 算 = 対 象 外"
                         : "経 費 計 算 = 対    象");
    report.push_back(kindDescription(line));
    if (isCalculatedRangeKind(line.kind)) {
        appendCalculatedSides(report, line);
    } else {
        appendPricedSides(report, line);
    }
    report.push_back("--------------------------------------------");
    report.push_back("sort = " + line.sortCode.toString());
    report.push_back("FLAG = " + std::to_string(line.kind.code()));
    report.push_back("OPT1 = " + std::to_string(line.hiddenFlag));
    report.push_back(doubleRule);
    std::string text;
    for (const std::string& reportLine : report) {
        if (!text.empty()) {
            text += "\n";
        }
        text += reportLine;
    }
    return text;
}

CommandResult showLineProperties(GridContext& context, Selection selection) {
    if (const auto report = linePropertyReport(context.state, selection)) {
        context.host.notify(*report);
    }
    return nothingChanged(selection);
}

} // namespace kerbina
