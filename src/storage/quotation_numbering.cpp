#include "storage/quotation_numbering.h"

#include "base/text.h"
#include "base/text_codec.h"

namespace kerbina {
namespace {

// Characters of a UTF-8 text: its bytes that do not continue a character.
std::int64_t characterCount(std::string_view text) {
    std::int64_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

// A stored counter or width as a whole number; anything else (an empty or damaged value)
// counts as 0, as the counter always has.
std::int64_t storedNumber(const std::string& text) {
    return parseInteger(text, IntegerText::Lenient).value_or(0);
}

// The counter is advanced where it is stored: an integer goes up by one, any other stored value
// (NULL, a text that is no number) counts as 0. RETURNING hands back the row as updated, within
// the same statement, so no other connection can take the same value in between.
constexpr std::string_view kAdvanceCentralCounter =
    "UPDATE krbconf SET number=(CASE WHEN typeof(number)='integer' THEN number ELSE 0 END)+1 "
    "WHERE conf=? RETURNING number,header,keta;";
constexpr std::string_view kAdvanceCustomerCounter =
    "UPDATE address SET sex=(CASE WHEN typeof(sex)='integer' THEN sex ELSE 0 END)+1 "
    "WHERE ID=? RETURNING sex,club,class;";

} // namespace

std::string formatQuotationNumber(std::string_view prefix, std::int64_t counter,
                                  std::int64_t width) {
    const std::string digits = std::to_string(counter);
    const std::int64_t zeros =
        width - characterCount(prefix) - static_cast<std::int64_t>(digits.size());
    std::string number(prefix);
    if (zeros > 0) {
        number.append(static_cast<std::size_t>(zeros), '0');
    }
    number += digits;
    return number;
}

std::string fitQuotationNumber(std::string_view number) {
    return fitToWidth(number, kQuotationNumberBytes);
}

std::optional<std::string> issueQuotationNumber(Database& quotations, Database& addresses,
                                                const NumberingMode& mode,
                                                std::string_view customerId, UserPrompt& prompt) {
    const bool perCustomer = mode.perCustomer;
    std::optional<std::int64_t> customer;
    if (perCustomer) {
        if (trimBlanks(customerId).empty()) {
            prompt.notify(std::string(kNoCustomerText));
            return std::nullopt;
        }
        customer = parseInteger(customerId, IntegerText::Lenient);
        if (!customer) {
            prompt.notify(std::string(kNoCustomerRowText));
            return std::nullopt;
        }
    }
    SqlRows rows;
    try {
        rows = perCustomer ? addresses.queryRows(kAdvanceCustomerCounter, {*customer})
                           : quotations.queryRows(kAdvanceCentralCounter, {"KERBINA"});
    } catch (const DatabaseError& error) {
        prompt.reportError(kSqlErrorText, databaseFaultMessage(error));
        return std::nullopt;
    }
    if (rows.empty()) {
        prompt.notify(std::string(perCustomer ? kNoCustomerRowText : kNoCounterRowText));
        return std::nullopt;
    }
    const SqlRow& row = rows.front();
    return fitQuotationNumber(formatQuotationNumber(row.field(2), storedNumber(row.field(1)),
                                                    storedNumber(row.field(3))));
}

} // namespace kerbina
