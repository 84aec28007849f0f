#pragma once

#include "grid/grid_commands.h"
#include "grid/line_message.h"
#include "prices/catalogue.h"

#include <chrono>

namespace kerbina {

struct DocumentState;

// Puts a catalogue price into the current sheet as a line with `quantity` as net and submitted
// quantity, through writeLineFromMessage (saved): a double-click writes over the selection's
// last row (PriceSource::Editor, LineWriteMode::Overwrite), a search with one hit into an empty
// line inserted at the selection's first row (SingleSearchHit, InsertFirst). The line's mark is
// the current sheet's number. Nothing happens on the breakdown list.
CommandResult writeCataloguePrice(GridContext& context, Selection selection,
                                  const PriceRecord& price, PriceSource source, Currency quantity,
                                  LineWriteMode mode, bool listMode);

// Registers the selected lines of the current sheet (first to last selected row, as far as the
// sheet has lines) as catalogue rows of `group` (registerLinesAsPrices). Returns the number of
// rows registered.
int registerSelectedLines(Database& database, PriceGroup group, const DocumentState& state,
                          Selection selection, std::chrono::year_month_day today);

} // namespace kerbina
