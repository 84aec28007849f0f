#pragma once

#include "records/records.h"

#include <span>

namespace kerbina {

// The one sheet model that inserts and removes lines: rows count from 1 ([0] is the scratch
// slot), and every range line keeps pointing at the same lines. The row commands and the totals
// pass (which puts the title line in front) both go through here, so they cannot disagree about
// where a range ends after an insert.

// Whether a range that ends on the row just above an inserted line takes the new line in. Empty
// lines the user inserts below a range join it; a structure line (a sum or a title placed below
// the rows it belongs to) must stay outside, or a range sum would count it.
enum class RangeJoin { JoinRangeAbove, StayOutside };

// The line every emptied or inserted row holds: no texts, all numbers 0, kind 0.
LineRecord emptyLine();
// Inserts `line` at `row` (clamped to 1..lineCount + 1); ranges keep pointing at the same lines.
void insertLine(Sheet& sheet, int row, const LineRecord& line, RangeJoin join);
// Inserts `lines` at `row`, one below the other, in one step: the same as inserting them one at a
// time at row, row + 1, ..., without moving the lines below once for every inserted line.
void insertLineBlock(Sheet& sheet, int row, std::span<const LineRecord> lines, RangeJoin join);
// Inserts an empty line at `row`.
void insertEmptyLine(Sheet& sheet, int row, RangeJoin join);
// Removes the line at `row`; ranges keep pointing at the same lines.
void removeLine(Sheet& sheet, int row);
// Inserts `count` empty lines at `row` one after the other (each joining a range that ends just
// above it), as the Insert command does.
void insertEmptyLines(Sheet& sheet, int row, int count);

} // namespace kerbina
