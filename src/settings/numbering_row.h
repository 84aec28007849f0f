#pragma once

#include <optional>
#include <string>

namespace kerbina {

class Database;
struct EnvironmentSettings;

// The quotation numbering row of the krbconf table (conf 'KERBINA') as column texts: the number
// prefix, the total width, the counter, and the notes that carry the price button names, the
// piping group names and the three numbering options as settings lines.
struct NumberingRow {
    std::string header;
    std::string keta;
    std::string number;
    std::string notes;

    friend bool operator==(const NumberingRow&, const NumberingRow&) = default;
};

// Where the numbering row is kept. The settings read and write it through this interface only.
class NumberingRowStore {
public:
    virtual ~NumberingRowStore() = default;
    // The row, or nothing when there is none. A failing query raises DatabaseError.
    virtual std::optional<NumberingRow> read() = 0;
    // Updates the row's header, keta and notes, and its counter only when `withNumber` is set.
    // A missing row is inserted whole, counter included, so the settings are never lost to an
    // update that matched nothing. False when the write failed; the failure has then been
    // reported to the user.
    virtual bool write(const NumberingRow& row, bool withNumber) = 0;
};

// The numbering row in the quotation database. Failed updates are reported through the
// database's executeOrReport ("ERROR" box).
class DatabaseNumberingRowStore final : public NumberingRowStore {
public:
    explicit DatabaseNumberingRowStore(Database& quotationDatabase)
        : database_(quotationDatabase) {}

    std::optional<NumberingRow> read() override;
    bool write(const NumberingRow& row, bool withNumber) override;

private:
    Database& database_;
};

// The fifteen notes lines, each ended by CR LF: [tankaBtnName1..6], [EXGROUP1..6], then
// [EDIT_OPT1], [NUMBER_OPT4] and [NUMBER_OPT5] as TRUE or FALSE.
std::string numberingNotes(const EnvironmentSettings& settings);
// The row as writeEnvironmentSettings writes it: keta and number as the digits the boxes show.
NumberingRow numberingRow(const EnvironmentSettings& settings);
// Sets the numbering controls from the row. The notes also set the price button names, the piping
// group names and units 1 to 8 when they carry such lines; other lines are skipped. keta and
// number read as decimal numbers (the empty text as 0); a text that is no number leaves its box
// as it was.
void applyNumberingRow(EnvironmentSettings& settings, const NumberingRow& row);
// Takes only the counter from the row (the empty text as 0); a text that is no number changes
// nothing.
void applyNumberingCounter(EnvironmentSettings& settings, const NumberingRow& row);
// A row as a new database brings it: never written by the settings (no notes) and no number
// issued from it yet. Only such a row receives the initial values at the first start.
bool isFreshNumberingRow(const NumberingRow& row);

} // namespace kerbina
