#pragma once

#include "base/user_error.h"
#include "records/records.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The take-off entries of one sheet in list order, the entries of all ten systems interleaved.
// Entry 0 is the scratch entry (never shown, never written); entries are 1..count. The grid shows
// one system at a time: its row r (1-based) shows the r-th entry of that system in list order,
// and every command below addresses rows of the system shown, never entries of hidden systems.
struct TakeoffList {
    std::vector<TakeoffRecord> entries{TakeoffRecord{}};
    // The origin given to inserted blank entries: that of the last piping entry loaded.
    std::int32_t blankOrigin = 1;

    int count() const { return static_cast<int>(entries.size()) - 1; }
};

inline constexpr int kSystemCount = 10;
// The sort code of an inserted blank entry and its kind.
inline constexpr int kBlankSortCode = 30001;
inline constexpr int kBlankKind = 113;

// The list as the take-off view opens it from the stored entries: entries whose kind is above 900
// (discarded) are dropped, and the last entry with origin 1 or 2 sets the blank origin.
TakeoffList takeoffListFromStored(const std::vector<TakeoffRecord>& stored);
// The entries to store: 1..count in list order.
std::vector<TakeoffRecord> storedEntries(const TakeoffList& list);

// The list positions of the entries of `system` in list order: row r shows positions[r − 1].
std::vector<int> positionsOfSystem(const TakeoffList& list, int system);

// "複合単価:" and the integer part of the sort code in seven digits ("0000000").
std::string compositePriceCode(Currency sortCode);

// Rows top..bottom of the system shown; rows past its last entry are empty rows.
struct TakeoffRows {
    int top = 1;
    int bottom = 1;
};

// コピー: the copy file lines ("[Version]=2.00", then the text form of each entry of the rows,
// in list order). Empty rows end the range.
std::vector<std::string> copyTakeoffEntries(const TakeoffList& list, int system, TakeoffRows rows);

class TakeoffPasteError : public UserError {
public:
    using UserError::UserError;
};

// 貼付 and loading a take-off part: the lines of a copy file become entries of `system`, inserted
// before the entry of `selectedRow` (appended when that row is empty). Each entry gets the sheet
// number and the system shown; on a detail sheet its sort code keeps its integer part and takes
// the system as its first decimal. A file not starting with "[Version]=2.00" adds nothing (0); a
// line with text in a number field raises TakeoffPasteError and the list stays as it was.
// Returns the number of entries added.
int pasteTakeoffEntries(TakeoffList& list, const std::vector<std::string>& fileLines, int system,
                        int sheet, bool onDetailSheet, int selectedRow);

// 割込: one blank entry per selected row, inserted before the entry of the top row (appended when
// it is empty).
void insertBlankTakeoffEntries(TakeoffList& list, int system, TakeoffRows rows);
// 削除: the entries of the selected rows are removed.
void deleteTakeoffEntries(TakeoffList& list, int system, TakeoffRows rows);
// 上移動 / 下移動: the entry of `row` swaps places with the entry of the row above (-1) or below
// (+1). Returns the row the entry is now shown in, or nullopt when refused (row 1 upward, the
// last entry downward, an empty row).
std::optional<int> moveTakeoffEntry(TakeoffList& list, int system, int row, int direction);
// 基礎工費変更: the base costs of the entries of the selected rows.
void setTakeoffBaseCosts(TakeoffList& list, int system, TakeoffRows rows, Currency net,
                         Currency submitted);

class TakeoffPayloadError : public UserError {
public:
    using UserError::UserError;
};

// A take-off entry received from a companion input program (WM_DATAWRITE on the take-off page),
// with the unit-cost breakdown text it brings for the quotation's list, if any.
struct ReceivedTakeoff {
    TakeoffRecord entry;
    std::optional<std::string> unitCostBreakdown;
};

// Reads a received payload: ";"-separated fields, field 1 the message name. The whole payload is
// checked before anything is used: fewer than the 42 entry fields, a number field holding text or
// a system outside 0..9 raise TakeoffPayloadError. Number fields read "" and `""` as 0. A payload
// whose breakdown fields (50..91) are all empty brings no breakdown.
ReceivedTakeoff readReceivedTakeoff(std::string_view payload);

// Where a received entry went: the system to show and the row to select.
struct ReceivedPlacement {
    int system = 0;
    int selectedRow = 1;
};

// Puts a received entry into the list: over the entry of `selectedRow` of the system shown when
// that row shows one, else appended. When the entry belongs to the system shown the selection
// moves one row down; otherwise its system is to be shown with its last entry selected.
ReceivedPlacement placeReceivedTakeoff(TakeoffList& list, const TakeoffRecord& entry,
                                       int shownSystem, int selectedRow);

} // namespace kerbina
