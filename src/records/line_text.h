#pragma once

#include "money/currency.h"
#include "records/records.h"

#include <string>
#include <string_view>

namespace kerbina {

// The 22-field text form of a line, fields separated by ";", used by the <DATA> section of
// quotation files and by the line copy files:
//   1 sheet number, 2 name, 3 specification, 4 laborFactor, 5 sortCode, 6 unit, 7 kind,
//   8 netQuantity, 9 submittedQuantity, 10 netPrice, 11 submittedPrice, 12 reserved176,
//   13 netAdditionalPrice, 14 submittedAdditionalPrice, 15 netAmount, 16 submittedAmount,
//   17 flag216, 18 hiddenFlag, 19 priceKind, 20 amountText, 21 note, 22 priceCode.

// The text of one line (no line end). Quantities of decimal-quantity kinds are written with the
// sheet's quantity decimals; texts lose their line breaks, and a ";" inside a text is written as
// "；" so that it cannot shift the fields after it.
std::string lineToText(int sheetNumber, const LineRecord& line, Currency quantityDecimals);

struct ParsedLine {
    int sheetNumber = -1; // -1 when field 1 is not a number
    LineRecord line;
};

// Reads the text form. Missing fields read as empty; Currency fields accept "" and `""` as 0 and
// raise NumberFormatError for anything else that is not a number; integer fields that are not
// numbers read as -1 (sheet number) or 0; texts are cut to their field widths.
ParsedLine lineFromText(std::string_view text);

} // namespace kerbina
