#pragma once

#include "base/user_error.h"
#include "records/quotation_data.h"

#include <string>
#include <string_view>

namespace kerbina {

class TakeoffImportError : public UserError {
public:
    using UserError::UserError;
};

// Adds an entry to the unit-cost breakdown list, which stays sorted and holds each text once.
void addUnitCostBreakdown(std::vector<std::string>& breakdowns, std::string entry);

// Brings received take-off payloads into sheet `sheet` of a quotation, one "WM_DATAWRITE;…"
// payload per line (CP932 or UTF-8; empty lines skipped), as the take-off page receives them with
// no entry selected: each entry goes to the end of the list with its unit-cost breakdown. Every
// line is read before the quotation changes: a line that is no take-off payload raises
// TakeoffImportError naming it, and nothing is added. Returns the number of entries added.
int importTakeoffPayloads(QuotationData& data, int sheet, std::string_view payloadFileBytes);

} // namespace kerbina
