#pragma once

#include "money/currency.h"
#include "records/kinds.h"
#include "records/records.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace kerbina {

// True when the lines the sheet pass reaches (down to the first tax line 90 or sum line 99, [0]
// being the scratch slot) hold a title line (kind 100). A named sheet without one gets one in
// front, from the pass and from the file writer alike.
bool hasReachableTitleLine(const Sheet& sheet);

// Data group 1..6 of a sort code, and the sort code a new line of group g gets.
int dataGroupOf(Currency sortCode);
Currency sortCodeOfGroup(int group);

// The line kind choice (FLAG) of the data-entry dialog and the price editors: choice i stores
// flagChoiceToKind(i); a kind the choice does not hold shows the first choice.
inline constexpr std::array<std::string_view, 9> kFlagChoiceCaptions = {"数量実数",
                                                                        "数量小数",
                                                                        "減   額(数量実数)",
                                                                        "減   額(数量小数)",
                                                                        "金額欄摘要(数量実数)",
                                                                        "金額欄摘要(数量小数)",
                                                                        "金額欄摘要(数量なし)",
                                                                        "数量実数+経費対象外",
                                                                        "数量小数+経費対象外"};
int kindToFlagChoice(LineKind kind);
LineKind flagChoiceToKind(int choice);

// The units the line dialogs offer when no unit list of the user's is there.
inline constexpr std::array<std::string_view, 13> kDefaultUnits = {
    "ｍ", "ケ", "式", "%", "％", "本", "人", "kg", "㌧", "台", "ｾｯﾄ", "枚", "束"};

// nameSpec is name ";" specification, split at the first ";".
std::pair<std::string, std::string> splitNameSpec(const std::string& nameSpec);
std::string joinNameSpec(const std::string& name, const std::string& specification);

// The quantity a line computes with: whole-number kinds (10..19) Int(quantity); decimal kinds
// (20..29) cut to the quantity decimals; other kinds unchanged.
Currency truncateQuantity(Currency quantity, LineKind kind, Currency quantityDecimals);

// The kind ten lower: a decimal-quantity kind's whole-quantity twin (20..29 → 10..19); the bulk
// edit to whole quantities also takes a comment (30) to 20.
LineKind wholeQuantityTwin(LineKind kind);

// First and last row of a range line: netQuantity and submittedQuantity truncated to integers.
std::pair<int, int> rangeOf(const LineRecord& line);

LineRecord newLine();
ItemRecord newSheetItem();
QuotationHeader newHeader(int gregorianYear, int month, int day);

} // namespace kerbina
