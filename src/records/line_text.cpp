#include "records/line_text.h"

#include "base/text.h"
#include "base/text_codec.h"
#include "money/rounding.h"
#include "records/line_kinds.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kerbina {
namespace {

constexpr int kFieldCount = 22;

std::string quantityText(Currency quantity, LineKind kind, Currency quantityDecimals) {
    if (!hasDecimalQuantityText(kind)) {
        return quantity.toString();
    }
    const bool known = quantityDecimals == Currency::fromWhole(10) ||
                       quantityDecimals == Currency::fromWhole(100) ||
                       quantityDecimals == Currency::fromWhole(1000);
    const std::string text =
        fixedQuantityText(quantity, known ? quantityDecimals : Currency::fromWhole(10));
    return text.substr(std::min(text.find_first_not_of(' '), text.size()));
}

// Appends a field after its separator. No field carries a line break; a text field must not
// carry the separator either, or the fields after it would shift on reading.
void appendField(std::string& text, std::string_view field, bool escapeSeparator) {
    text += ';';
    if (escapeSeparator) {
        appendAsSeparatedField(text, field);
    } else {
        appendWithoutLineBreaks(text, field);
    }
}

// Integer fields: optional spaces around an optional sign and digits; anything else gives the
// field's default.
int integerOr(std::string_view text, int fallback) {
    return parseInteger32(text, IntegerText::SpacePadded).value_or(fallback);
}

// The fields in order, each up to the next ";". A line with more fields than the form has (a copy
// file ends every field with ";") keeps only the first 22.
std::array<std::string_view, kFieldCount> fieldsOf(std::string_view text) {
    std::array<std::string_view, kFieldCount> fields;
    const std::vector<std::string_view> all = splitFields(text, ';');
    std::copy_n(all.begin(), std::min(all.size(), fields.size()), fields.begin());
    return fields;
}

} // namespace

std::string lineToText(int sheetNumber, const LineRecord& line, Currency quantityDecimals) {
    const auto [name, rest] = splitNameSpec(line.nameSpec);
    // The 仕様 is the second ";"-field of nameSpec: text after a further ";" (the
    // closing ";" of an appended line, a welfare line's formula end) is not part of it.
    const std::string_view specification = std::string_view(rest).substr(0, rest.find(';'));
    std::string text = std::to_string(sheetNumber);
    text.reserve(200 + line.nameSpec.size() + line.note.size());
    // Numbers are digits, a sign and a point; the name (the part of nameSpec before its first
    // ";") holds no ";" of its own.
    const auto number = [&text](const std::string& value) {
        text += ';';
        text += value;
    };
    appendField(text, name, false);
    appendField(text, specification, true);
    number(line.laborFactor.toString());
    number(line.sortCode.toString());
    appendField(text, line.unit, true);
    number(std::to_string(line.kind.code()));
    number(quantityText(line.netQuantity, line.kind, quantityDecimals));
    number(quantityText(line.submittedQuantity, line.kind, quantityDecimals));
    number(line.netPrice.toString());
    number(line.submittedPrice.toString());
    number(line.reserved176.toString());
    number(line.netAdditionalPrice.toString());
    number(line.submittedAdditionalPrice.toString());
    number(line.netAmount.toString());
    number(line.submittedAmount.toString());
    number(std::to_string(line.flag216));
    number(std::to_string(line.hiddenFlag));
    number(line.priceKind.toString());
    appendField(text, line.amountText, true);
    appendField(text, line.note, true);
    appendField(text, line.priceCode, true);
    return text;
}

ParsedLine lineFromText(std::string_view text) {
    const auto f = fieldsOf(text);
    ParsedLine parsed;
    parsed.sheetNumber = integerOr(f[0], -1);
    LineRecord& line = parsed.line;
    line.nameSpec = fitToWidth(joinNameSpec(std::string(f[1]), std::string(f[2])), kNameSpecWidth);
    line.laborFactor = parseNumber(f[3]);
    line.sortCode = parseNumber(f[4]);
    line.unit = fitToWidth(f[5], kUnitWidth);
    line.kind = integerOr(f[6], 0);
    line.netQuantity = parseNumber(f[7]);
    line.submittedQuantity = parseNumber(f[8]);
    line.netPrice = parseNumber(f[9]);
    line.submittedPrice = parseNumber(f[10]);
    line.reserved176 = parseNumber(f[11]);
    line.netAdditionalPrice = parseNumber(f[12]);
    line.submittedAdditionalPrice = parseNumber(f[13]);
    line.netAmount = parseNumber(f[14]);
    line.submittedAmount = parseNumber(f[15]);
    line.flag216 = integerOr(f[16], 0);
    line.hiddenFlag = integerOr(f[17], 0);
    line.priceKind = parseNumber(f[18]);
    line.amountText = fitToWidth(f[19], kAmountTextWidth);
    line.note = fitToWidth(f[20], kLineNoteWidth);
    line.priceCode = fitToWidth(f[21], kPriceCodeWidth);
    return parsed;
}

} // namespace kerbina
