#pragma once

#include "base/user_prompt.h"
#include "grid/grid_cells.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace kerbina {

// Column widths of the three grid layouts, kept in layout files under dataRoot + "/conf": one
// file per layout, so that switching layouts keeps each layout's own widths.
struct ColumnLayout {
    // Pixel widths from column 0. The list layout stores columns 0..7 only; its column 8 keeps
    // whatever width it has.
    std::vector<int> widths;
    // Left positions of the main window's two splitters (sheet layouts only).
    std::optional<int> splitter2;
    std::optional<int> splitter3;

    friend bool operator==(const ColumnLayout&, const ColumnLayout&) = default;
};

// The layout file of a layout; an existing file whose name differs only in letter case is used.
std::filesystem::path columnLayoutFile(const std::filesystem::path& dataRoot, GridLayout layout);

// Widths when there is no layout file, from the grid's client width in pixels.
ColumnLayout defaultColumnLayout(GridLayout layout, int clientWidth);
// The stored widths (a value that is not an integer reads as 50), or nothing when the layout has
// no file.
std::optional<ColumnLayout> readColumnLayout(const std::filesystem::path& dataRoot,
                                             GridLayout layout);
// The stored widths, or the defaults when the layout has no file.
ColumnLayout loadColumnLayout(const std::filesystem::path& dataRoot, GridLayout layout,
                              int clientWidth);
// Writes the layout file (raises FileError when it cannot be written). Widths beyond the layout's
// stored columns are not written; a splitter position that `columns` does not give keeps the value
// the file holds (0 when there is none).
void saveColumnLayout(const std::filesystem::path& dataRoot, GridLayout layout,
                      const ColumnLayout& columns);
// The list layout's save command: writes the file, then tells the user.
void saveItemListColumnLayout(const std::filesystem::path& dataRoot, const ColumnLayout& columns,
                              UserPrompt& host);
// The column that takes up the width the others leave: 名称 (column 1 on a sheet, 2 on the
// breakdown list), the widest text column of every layout.
int stretchColumn(GridLayout layout);
// The widths to show in a grid `clientWidth` pixels wide: every column at its set width, except
// the stretch column, which takes what the others leave (at least kMinimumStretchWidth), so the
// grid fills its window without scrolling sideways while the other columns fit.
inline constexpr int kMinimumStretchWidth = 80;
std::vector<int> fittedWidths(GridLayout layout, std::vector<int> widths, int clientWidth);
// Deletes the layout file and gives the defaults.
ColumnLayout resetColumnLayout(const std::filesystem::path& dataRoot, GridLayout layout,
                               int clientWidth);

} // namespace kerbina
