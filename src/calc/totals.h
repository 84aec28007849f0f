#pragma once

#include "document/document_state.h"

namespace kerbina {

// The totals passes: the sheet pass recomputes the current sheet from top to bottom, the list
// pass the breakdown list and the grand totals. Both are deterministic functions of the records
// and the calculation settings.

// Sheet pass over state.sheet; true when both sheet totals are 0 (an empty sheet).
bool recalculateSheet(DocumentState& state);
// List pass over state.items; stores the grand totals in the header.
void recalculateItemList(DocumentState& state);

} // namespace kerbina
