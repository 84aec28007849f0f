#pragma once

#include "calc/totals.h"
#include "records/quotation_data.h"

#include <map>
#include <string>

namespace kerbina {

// The totals report of a quotation recomputed with recalculateQuotation: one JSON object (UTF-8)
// with the grand totals, every item of the breakdown list and the lines of every computed sheet
// with its pass error, if any. Money values are strings in the Currency text form, so that no
// reader has to trust a floating-point number.
std::string totalsReportJson(const QuotationData& data,
                             const std::map<int, SheetPassResult>& sheets);

} // namespace kerbina
