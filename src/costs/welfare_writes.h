#pragma once

#include "costs/welfare_form.h"
#include "grid/grid_commands.h"
#include "grid/line_message.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kerbina {

// The three write buttons of the welfare dialog: "積算転記" one welfare line or item,
// "福利費を展開して転記" one per insurance and their sum, "式形式で転記" one welfare line or item
// framed by comments that spell out the formula.
enum class WelfareLayout { Single, Expanded, Formula };

// What a write takes from the form, checked.
struct WelfareEntry {
    std::string name;
    std::array<std::string, kInsuranceCount> insuranceNames;
    std::array<Currency, kInsuranceCount> insuranceRates;
    std::string sumName;
    Currency labourRate;          // r1
    Currency employerRate;        // r2
    std::string employerRateText; // r2 as its label shows it
    Currency workerRate;          // r3
    bool formulaInSpecification = false;
};

// The form's values for a write, or why nothing is written: an empty labour rate or an employer's
// rate of 0 ("掛け率が入力されていません。"), a rate that is not a number.
std::variant<WelfareEntry, std::string> checkedWelfareEntry(const WelfareForm& form);

// The lines a sheet write puts from its row on, in order.
std::vector<LineMessage> welfareLines(const WelfareEntry& entry, WelfareLayout layout);
// The items a list write puts from row `first` on, in order (a welfare sum covers its group's
// rows, itself included).
std::vector<ItemRecord> welfareItems(const WelfareEntry& entry, WelfareLayout layout, int first);

// The sheet's "法定福利費": refused when the sheet already has a welfare line.
std::optional<std::string> sheetWelfareRefusal(const DocumentState& state);

// Why breakdown row `row` cannot take a welfare item, or nothing: never the first row; not an
// item holding data (totals other than a reduction's or an expense item's, or a sheet with lines).
std::optional<std::string> listWelfareRefusal(const DocumentState& state,
                                              const std::filesystem::path& workFolder, int row);

// Writes the welfare at the selection's last row. On a sheet: one sheet snapshot, every line over
// its row (appended past the last line), the totals and the sheet written. On the breakdown list:
// every row the write covers is checked first (a refusal is said and nothing changes), then the
// item snapshot, the items (created up to the last row), the list pass and the list written. The
// selection ends one row below the last row written.
CommandResult writeWelfare(GridContext& context, Selection selection, const WelfareEntry& entry,
                           WelfareLayout layout, bool listMode);

// The rows from the first welfare line to the last (kinds 97 and 98); nothing when the sheet has
// none.
std::optional<Selection> welfareLineRows(const DocumentState& state);

} // namespace kerbina
