#pragma once

#include "grid/grid_commands.h"

#include <string>

namespace kerbina {

// The bulk edits of the menu "各種変換＆計算": many lines of the current sheet at once. Each works
// on the existing lines of the selection in row order (rows past the last line are skipped) and
// goes through the edit cycle: one undo snapshot, the change, then the totals pass where amounts
// can change, and the write of the sheet. The window asks for the factor or text first; a
// cancelled prompt does not call the command.
//
// `offset` is the rounding choice of the menu entry: 0.5 (四捨五入), 0.9 (切上げ: fractions below
// 0.1 are dropped), 0 (切捨て), added before the fraction is cut off.

// "選択中の数量の合計を表示": the report text; nothing changes.
std::string quantitySumReport(const DocumentState& state, Selection selection);

// "単価を有効N桁にする": the submitted price of each ordinary line keeps N significant characters
// of its plain text (the point and the decimals count): with k = length − N > 0 and u = 10^k,
// Int(price ÷ u + offset) × u. Net prices are never changed.
CommandResult keepSignificantDigits(GridContext& context, Selection selection, int digits,
                                    Currency offset);

// The four "×入力値" families: target = Int(source × factor + offset), always a whole number.
enum class FactorTarget {
    SubmittedPriceFromSubmitted, // 提出単価=提出単価×入力値
    SubmittedPriceFromNet,       // 提出単価=原単価×入力値
    SubmittedQuantityFromSubmitted,
    SubmittedQuantityFromNet,
};
CommandResult multiplyByFactor(GridContext& context, Selection selection, FactorTarget target,
                               Currency factor, Currency offset);

// "数量を実数に変換する": decimal kinds (20, 21, 22, 25) and comments (30) get whole quantities
// Int(q + offset) and the kind 10 lower.
CommandResult makeQuantitiesWhole(GridContext& context, Selection selection, Currency offset);

// "左から１つ目の空白から仕様＆型番にする".
CommandResult splitAtFirstBlank(GridContext& context, Selection selection);
// "仕様＆型番の左にある空白を除去する".
CommandResult removeBlanksBeforeSpecification(GridContext& context, Selection selection);
// "特定文字除去": every occurrence of `text` leaves the name and specification.
CommandResult removeTextFromNames(GridContext& context, Selection selection,
                                  const std::string& text);
// "選択中の名称の前に同一文字を入力する".
CommandResult prefixNames(GridContext& context, Selection selection, const std::string& text);
// "選択中の仕様の末尾に同一文字を入力する": appended to the 仕様 part (a closing ";" of an
// appended line stays closing).
CommandResult suffixSpecifications(GridContext& context, Selection selection,
                                   const std::string& text);
// "選択中の単位を同一単位に変更する".
CommandResult setUnits(GridContext& context, Selection selection, const std::string& unit);
// "選択中の名称を仕様欄に移動" / "カーソル行の…" (`selection` of one row): the name goes in front
// of the 仕様 part; and back: the 仕様 part joins the name.
CommandResult moveNamesToSpecifications(GridContext& context, Selection selection);
CommandResult moveSpecificationsToNames(GridContext& context, Selection selection);

} // namespace kerbina
