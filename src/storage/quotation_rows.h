#pragma once

#include "base/user_prompt.h"
#include "records/records.h"
#include "storage/database.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

// The kerbina table holds one row per saved quotation, keyed by krbnumber. Its columns repeat the
// header fields the list shows and searches; `data` holds the whole quotation file text exactly as
// the quotation file writer renders it, in UTF-8 with CR LF line ends (the database's own text
// encoding). Encoding that text to CP932 gives back, byte for byte, the file the writer writes.

// "yyyy-mm-dd hh:nn:ss" of a local time.
std::string dateTimeText(std::chrono::system_clock::time_point time);
// The quotation date as the `created` column holds it: era year + 1988, month and day formatted
// from the header's integers as they stand ("2026-02-31 00:00:00" for a date that does not exist,
// which is kept rather than refused), time 00:00:00.
std::string quotationDateText(const QuotationHeader& header);

// The column values of a quotation row in column order, krbnumber first and data last:
// krbnumber and NUMBER the header's number, the cover texts, the four totals and cutlevel as
// money texts, created the quotation date, modified `modified`, the header integers as decimals,
// status 0 to 6 (a quotation without a status, -1, as 0: a draft).
SqlParams quotationRowValues(const QuotationHeader& header, std::string_view data,
                             std::string_view modified);

enum class RowWrite {
    InsertOrUpdate, // a new row, or the row of the same number brought up to date
    InsertOnly,     // a new row only; an existing row of the number is left as it is
};
enum class RowWriteResult { Written, NumberTaken, Failed };

// Writes the quotation into the kerbina table in one statement. An update keeps krbnumber and
// replaces every other column, `modified` included. NumberTaken (InsertOnly only): a row of the
// number exists and nothing was written. Failed: the database failed; the fault has been reported
// to the user ("ERROR") and nothing was written.
RowWriteResult writeQuotationRow(Database& quotations, const QuotationHeader& header,
                                 std::string_view data, RowWrite mode,
                                 std::chrono::system_clock::time_point now, UserPrompt& prompt);

// Whether a row of the number exists. Raises DatabaseError.
bool quotationRowExists(Database& quotations, std::string_view number);
// The stored quotation file text (`data`) of the number; nothing when there is no such row.
// Raises DatabaseError.
std::optional<std::string> storedQuotationText(Database& quotations, std::string_view number);

} // namespace kerbina
