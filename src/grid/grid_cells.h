#pragma once

#include "money/currency.h"
#include "records/document_state.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kerbina {

// The quotation grid is a pure view: every text and colour is built here on demand from the
// in-memory document, and the window's model and delegate only ask and paint. Coordinates are
// those of the grid: row 0 is the header, rows 1.. show lines (or breakdown items) 1..; column 0
// is the row-number column.

// How the grid is shown. Belongs to the main window and lives for the whole process; the
// name/specification split is the document's own flag (DocumentState::separateNameSpec).
struct DisplayOptions {
    bool listMode = false;       // tab 0: the breakdown list instead of the current sheet
    bool netView = false;        // quantities, prices and amounts from the net (仕切) fields
    bool additionalView = false; // prices and amounts from the additional unit price (付帯単価)
    bool alternateRowShading = false; // setting "積算明細行" = "行を交互に色を反転する"
    std::string reductionMark;        // [GENGAKU]
    // The quotation's labour total from the last list pass (RecalcOutcome::panel.allLabor); the
    // sum item (kind 99) of the breakdown list shows it.
    Currency laborTotal;
};

enum class GridLayout { SheetCombined, SheetSeparated, ItemList };

enum class Alignment { Left, Center, Right };

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kNavy{0, 0, 128};
inline constexpr Rgb kMaroon{128, 0, 0};
inline constexpr Rgb kShadedRow{240, 241, 244};
inline constexpr Rgb kSelectedCell{83, 85, 108};

// How one cell is painted. No background means the grid's normal background; a filled background
// starts 4 pixels left of the cell's left edge.
struct CellStyle {
    Rgb foreground = kBlack;
    std::optional<Rgb> background;
    Alignment alignment = Alignment::Left;
    bool bold = false;

    friend bool operator==(const CellStyle&, const CellStyle&) = default;
};

GridLayout gridLayout(const DocumentState& state, const DisplayOptions& options);
// 9 in list mode and in the combined sheet layout, 10 with name and specification separated.
int columnCount(const DocumentState& state, const DisplayOptions& options);
int columnCount(GridLayout layout);

std::string headerText(const DocumentState& state, const DisplayOptions& options, int column);
// The text of a cell; "" for rows past the last line or item. The yen sign of the sum line's
// group text, the sum item's FG mark and list amounts is "¥".
std::string cellText(const DocumentState& state, const DisplayOptions& options, int row,
                     int column);
// Row 0 is the header (centred, black).
CellStyle cellStyle(const DocumentState& state, const DisplayOptions& options, int row, int column,
                    bool selected);

// The nine texts of a sheet line before they are placed into columns.
struct LineCells {
    std::string name;
    std::string specification; // with the range suffix of range lines
    std::string laborFactor;
    std::string group; // with "労" in front for labour lines
    std::string unit;
    std::string quantity;
    std::string price;
    std::string amount;
    std::string note;
};

LineCells lineCells(const DocumentState& state, const DisplayOptions& options,
                    const LineRecord& line);

// The group letter of a sort code: "A".."F" by ranges of 3000 above 12000, "+" outside;
// lower case for the kinds 12 and 22.
std::string groupText(Currency sortCode, LineKind kind);

} // namespace kerbina
