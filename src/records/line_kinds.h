#pragma once

#include "money/currency.h"
#include "records/records.h"

#include <string>
#include <utility>

namespace kerbina {

// Kind groups of detail-sheet lines.
bool isPriced(int kind);          // 10, 11, 12, 20, 21, 22, 110, 120, 145, 150, 170, 140, 180
bool isReduction(int kind);       // 11, 21
bool isRangeKind(int kind);       // 40, 50..56, 60..66, 70..76, 93, 94, 193, 194
bool isExpense(int kind);         // 81..84
bool isWelfare(int kind);         // 97, 98
bool isWholeQuantity(int kind);   // 10..19
bool isDecimalQuantity(int kind); // 20..29
// Breakdown items that own a detail sheet: kinds 10 and 30..39.
bool ownsSheet(int itemKind);
// True when the lines the sheet pass reaches (down to the first tax line 90 or sum line 99, [0]
// being the scratch slot) hold a title line (kind 100). A named sheet without one gets one in
// front, from the pass and from the file writer alike.
bool hasReachableTitleLine(const Sheet& sheet);

// Data group 1..6 of a sort code, and the sort code a new line of group g gets.
int dataGroupOf(Currency sortCode);
Currency sortCodeOfGroup(int group);

// The data-entry dialog's FLAG choices.
int kindToFlagChoice(int kind);
int flagChoiceToKind(int choice);

// nameSpec is name ";" specification, split at the first ";".
std::pair<std::string, std::string> splitNameSpec(const std::string& nameSpec);
std::string joinNameSpec(const std::string& name, const std::string& specification);

// First and last row of a range line: netQuantity and submittedQuantity truncated to integers.
std::pair<int, int> rangeOf(const LineRecord& line);

LineRecord newLine();
ItemRecord newSheetItem();
QuotationHeader newHeader(int gregorianYear, int month, int day);

} // namespace kerbina
