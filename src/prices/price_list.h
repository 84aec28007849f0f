#pragma once

#include "prices/catalogue.h"
#include "prices/price_list_file.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kerbina {

// What loading a supplier's price list into one group of the catalogue will do, row by row,
// before anything is written. A row's category is its own カテゴリー, or the category chosen for
// the list when that cell is empty. A row that matches a catalogue row of the group in category,
// name and specification updates that row (the first of them); any other row adds one.
enum class PriceListAction {
    Add,
    Update,    // changes the unit or a price of a catalogue row
    Unchanged, // matches a catalogue row that already holds its values
    Refuse,
};

struct PriceListPreviewRow {
    int line = 0; // where the row is in the file
    PriceListAction action = PriceListAction::Add;
    std::int64_t id = 0; // the catalogue row updated (Update, Unchanged)
    PriceRecord price;   // the values the row gives (category, name, ..., the four numbers)
    std::string reason;  // why the row is refused, in the system's words
};

struct PriceListPreview {
    PriceGroup group = PriceGroup::Code;
    std::vector<PriceListPreviewRow> rows;

    int count(PriceListAction action) const;
};

// The byte widths of the catalogue's text columns, in CP932.
inline constexpr int kPriceTextWidth = 50; // category, name, specification
inline constexpr int kPriceUnitWidth = 8;

// The preview of loading `rows` into `group`. A row is refused when its name is missing, a price
// or the labour factor is not a number, a text is wider than its column in CP932, or an earlier
// row of the list has the same category, name and specification. Raises DatabaseError.
PriceListPreview previewPriceList(Database& database, PriceGroup group, const std::string& category,
                                  const std::vector<PriceListFileRow>& rows);

// Writes the additions and updates of a preview to the catalogue of the database file in one
// transaction: all of them or, on any error, none (DatabaseError is raised). Added rows get the
// line kind 10 ("数量実数") and `today` as creation and change date; updated rows their new unit,
// prices and labour factor and `today` as change date.
void applyPriceList(const std::filesystem::path& databaseFile, const PriceListPreview& preview,
                    std::chrono::year_month_day today);

// Writes the rows of a group with the columns of kPriceListHeader, a header row first, in row
// order: CP932 with CR LF, to a temporary name renamed into place. Raises DatabaseError or
// FileError. Loading the file into the same group changes nothing.
void exportPriceList(Database& database, PriceGroup group, const std::filesystem::path& file);

} // namespace kerbina
