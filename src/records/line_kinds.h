#pragma once

#include "money/currency.h"
#include "records/kinds.h"
#include "records/records.h"

#include <string>
#include <utility>

namespace kerbina {

// True when the lines the sheet pass reaches (down to the first tax line 90 or sum line 99, [0]
// being the scratch slot) hold a title line (kind 100). A named sheet without one gets one in
// front, from the pass and from the file writer alike.
bool hasReachableTitleLine(const Sheet& sheet);

// Data group 1..6 of a sort code, and the sort code a new line of group g gets.
int dataGroupOf(Currency sortCode);
Currency sortCodeOfGroup(int group);

// The data-entry dialog's FLAG choices.
int kindToFlagChoice(LineKind kind);
LineKind flagChoiceToKind(int choice);

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
