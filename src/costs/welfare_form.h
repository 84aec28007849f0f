#pragma once

#include "money/currency.h"
#include "records/document_state.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace kerbina {

// The statutory welfare cost (法定福利費) is the submitted total × the labour rate (労務費率) ×
// the employer's insurance rate (法定福利費事業主負担, the sum of five insurance rates) × the
// applied worker rate (適用労働者率). The welfare dialog edits a WelfareForm; everything it
// decides is here, the dialog only shows the fields and hands them back.

inline constexpr int kInsuranceCount = 5;

// The dialog's fields as their boxes show them. One form lives for the whole run: it keeps what
// was typed between showings, and the configuration file is read into it at every showing.
struct WelfareForm {
    std::string name = "【法定福利費相当額】";
    std::array<std::string, kInsuranceCount> insuranceNames{"健康保険", "厚生年金保険 ", "介護保険",
                                                            "雇用保険", "厚生年金基金"};
    std::array<std::string, kInsuranceCount> insuranceRates{"0", "0", "0", "0", "0"};
    std::string sumName = "法定福利費事業主負担";
    // The employer's rate r2: the sum of the insurance rates, recomputed whenever one changes; it
    // shows "10" until the first change.
    std::string employerRate = "10";
    std::string workerRateName = "適用労働者率";
    std::string workerRate = "100"; // r3
    std::string labourRate;         // r1; empty until typed or computed
    // Ticked: the totals pass writes the formula into the line's specification, else its note.
    bool formulaInSpecification = false;

    friend bool operator==(const WelfareForm&, const WelfareForm&) = default;
};

// The employer's rate label for these insurance rates (their sum as a plain number text), or
// nothing while one of them is not a number (the label then stays as it was).
std::optional<std::string> employerRateText(const std::array<std::string, kInsuranceCount>& rates);

// dataRoot/conf/houteifukuri.conf
std::filesystem::path welfareConfPath(const std::filesystem::path& dataRoot);
// Reads the configuration file into the form when it exists, then recomputes the employer's
// rate. The name ([NAMAE]) is not read back: it starts as the default at every program start.
// Only "[NAME_OPT1]=TRUE" ticks the box; nothing in the file unticks it.
void readWelfareConf(const std::filesystem::path& dataRoot, WelfareForm& form);
// Writes the whole file: [NAMAE], [ITEMNAME1]..[ITEMNAME6] (the five insurances, then the worker
// rate's name), [SUMNAME], [NAVR], [ITEMVALUE1]..[ITEMVALUE6] (the five rates, then r3) and
// [NAME_OPT1]. Rates that are numbers are written as plain number texts.
void writeWelfareConf(const std::filesystem::path& dataRoot, const WelfareForm& form);

// The amounts the welfare is based on: the quotation's on the breakdown list (the list pass's
// labour total of all items, submitted grand total and list tax), else the open sheet's.
struct WelfareBase {
    Currency labour;
    Currency submittedTotal; // with the tax
    Currency tax;
};
WelfareBase welfareBase(const DocumentState& state, bool listMode);

// The status bar's three panels: "労務費:", "税抜計:" (total less tax) and "消費税:".
std::array<std::string, 3> welfareStatusTexts(const WelfareBase& base);

// "比率取得": the labour rate Trunc(L ÷ (T − X) × 10000 + 0.5) ÷ 100, computed exactly. A labour
// total of 0 gives the empty field. When the total less tax is 0 (and the labour total is not) the
// ratio cannot be formed: the refusal says so and the field keeps its text.
struct LabourRateOutcome {
    std::optional<std::string> fieldText; // the new text of the labour rate field
    std::string refusal;                  // set when fieldText is nothing
};
LabourRateOutcome labourRateFrom(const WelfareBase& base);

} // namespace kerbina
