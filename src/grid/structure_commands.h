#pragma once

#include "grid/grid_commands.h"

#include <optional>
#include <string>

namespace kerbina {

// Commands that put the lines of a sheet that are not ordinary priced items (small sums, mid
// sums, range sums, the sum line, the consumption tax line, the unlisted summary), turn lines
// into amount-text or blank lines, and report a line's fields. They only set the fields of the
// lines they touch; the totals pass computes the amounts. Each change runs through the edit cycle;
// the sum and tax commands leave the selection on the row below the line they created, so that a
// second command places its line further down. Questions and refusals go through context.host.
// "No undo snapshot" below means no "UND" refresh before the change; the written sheet is still a
// new position on the undo tape.

// What the commands read from the environment settings.
struct StructureSettings {
    std::string smallSumName = "［小　計］";
    std::string midSumName = "【中　計】";
    std::string sumName = "【合　計】";
    Currency taxRate = Currency::fromWhole(10); // [Tax_Value], in percent
};

// Range sums: 93 hides the amounts of the lines in its range, 94 shows them.
enum class RangeSumKind { AmountsHidden = 93, AmountsShown = 94 };

// False, after one notice per amount-hidden range sum (kind 93) whose range holds `row`, when the
// row lies inside such a range: no sum or structure line may go there.
bool checkNotInHiddenRange(GridContext& context, int row);

// "小計": a small-sum line at the selection's first row, above the selected lines, in as many
// empty lines as rows are selected; on the row `bottom` when that is past the last line.
CommandResult addSmallSum(GridContext& context, Selection selection,
                          const StructureSettings& settings);
// "中計": a mid-sum line directly below the selection.
CommandResult addMidSum(GridContext& context, Selection selection,
                        const StructureSettings& settings);

// Whether a range sum of `kind` may sum the selected lines (an amount-hidden one takes only plain
// priced lines); notifies the refusal. The window asks this before it asks for the name.
bool rangeSumAllowed(GridContext& context, Selection selection, RangeSumKind kind);
// "範囲計(各項目計非表示)" / "範囲計(各項目計表示)": a range sum named `name` directly below the
// selection, over the selected rows.
CommandResult addRangeSum(GridContext& context, Selection selection, RangeSumKind kind,
                          const std::string& name);

// "合計線": the sum line over the line at the selection's first row (appended past the last line).
CommandResult addSumLine(GridContext& context, Selection selection,
                         const StructureSettings& settings);
// "消費税": the tax line over the line at the selection's first row, after asking whether the net
// side is charged the tax too. Refused while the breakdown list already charges tax.
CommandResult addConsumptionTax(GridContext& context, Selection selection,
                                const StructureSettings& settings);

// "選択中のデータを非掲載にしてまとめる": the name the prompt proposes (the name part of the line
// at the selection's first row); nothing when that row is past the last line, and then the window
// does not ask.
std::optional<std::string> unlistedSummaryDefaultName(const DocumentState& state,
                                                      Selection selection);
// Marks the selected lines unlisted and puts a summary line named `name` below them, whose price
// is 100 % of their sum. Expense lines (whose mark field holds their rounding code) and sum, tax
// and generated lines (kinds 90 and above) are left as they are. The selection is cut to the
// sheet. No undo snapshot.
CommandResult groupAsUnlisted(GridContext& context, Selection selection, const std::string& name);
// "選択中の非掲載データを通常データに戻す": the selected lines are listed again; expense lines keep
// their rounding code.
CommandResult ungroupUnlisted(GridContext& context, Selection selection);

// "選択中(減額・計算単価・経費・拾出以外)の金額欄を文字列にする": plain priced lines become
// amount-text lines showing `text` in the amount column (comments and amount-text lines take the
// text too); other lines are left alone. No undo snapshot.
CommandResult setAmountColumnText(GridContext& context, Selection selection,
                                  const std::string& text);
// "選択中(計算単価・経費・拾出以外)の数量・金額欄を空白にする": lines below kind 50 become comment
// lines showing `text` (which may be empty) in the amount column. No undo snapshot.
CommandResult blankQuantityAndAmount(GridContext& context, Selection selection,
                                     const std::string& text);
// "選択中(計算単価・経費・拾出以外)の数量・単位・金額欄を空白にする": as blankQuantityAndAmount,
// and the unit is emptied too.
CommandResult blankQuantityUnitAndAmount(GridContext& context, Selection selection,
                                         const std::string& text);

// "プロパティ": the report of the line at the selection's first row, its lines joined by "\n";
// nothing past the last line. Net values stand under "[仕 切]", submitted ones under "[提 出]".
std::optional<std::string> linePropertyReport(const DocumentState& state, Selection selection);
// Shows the report as a notice.
CommandResult showLineProperties(GridContext& context, Selection selection);

} // namespace kerbina
