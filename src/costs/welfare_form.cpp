#include "costs/welfare_form.h"

#include "base/conf_file.h"
#include "base/file_io.h"
#include "calc/totals.h"
#include "money/typed_number.h"
#include "money/wide_int.h"

#include <vector>

namespace kerbina {

namespace {

constexpr std::string_view kNameKey = "[NAMAE]";
constexpr std::string_view kItemNameStem = "[ITEMNAME";
constexpr std::string_view kSumNameKey = "[SUMNAME]";
constexpr std::string_view kLabourRateKey = "[NAVR]";
constexpr std::string_view kItemValueStem = "[ITEMVALUE";
constexpr std::string_view kFormulaTicked = "[NAME_OPT1]=TRUE";
constexpr std::string_view kFormulaUnticked = "[NAME_OPT1]=FALSE";

std::optional<Currency> typedRate(std::string_view text) {
    try {
        return parseTypedNumber(text);
    } catch (const NumberFormatError&) {
        return std::nullopt;
    }
}

// A rate as the file holds it: a number as its plain text, anything else as typed.
std::string rateInFile(const std::string& text) {
    const auto rate = typedRate(text);
    return rate && !text.empty() ? rate->toString() : text;
}

// The six numbered names and values of the file, counted from 1: the five insurances, then the
// worker rate.
template <typename Form> auto& nameField(Form& form, std::size_t number) {
    return number <= kInsuranceCount ? form.insuranceNames[number - 1] : form.workerRateName;
}
template <typename Form> auto& valueField(Form& form, std::size_t number) {
    return number <= kInsuranceCount ? form.insuranceRates[number - 1] : form.workerRate;
}

} // namespace

std::optional<std::string> employerRateText(const std::array<std::string, kInsuranceCount>& rates) {
    Currency sum;
    for (const std::string& text : rates) {
        const auto rate = typedRate(text);
        if (!rate) {
            return std::nullopt;
        }
        sum += *rate;
    }
    return sum.toString();
}

std::filesystem::path welfareConfPath(const std::filesystem::path& dataRoot) {
    return dataRoot / "conf" / "houteifukuri.conf";
}

void readWelfareConf(const std::filesystem::path& dataRoot, WelfareForm& form) {
    const std::filesystem::path file = welfareConfPath(dataRoot);
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return;
    }
    for (const std::string& line : readTextLines(file)) {
        if (line == kFormulaTicked) {
            form.formulaInSpecification = true;
            continue;
        }
        const auto key = confKey(line);
        if (!key) {
            continue;
        }
        const std::string value(confValue(line));
        for (std::size_t n = 1; n <= kInsuranceCount + 1; ++n) {
            if (*key == numberedKey(kItemNameStem, n)) {
                nameField(form, n) = value;
            } else if (*key == numberedKey(kItemValueStem, n)) {
                valueField(form, n) = value;
            }
        }
        if (*key == kSumNameKey) {
            form.sumName = value;
        } else if (*key == kLabourRateKey) {
            form.labourRate = value;
        }
    }
    if (const auto employerRate = employerRateText(form.insuranceRates)) {
        form.employerRate = *employerRate;
    }
}

void writeWelfareConf(const std::filesystem::path& dataRoot, const WelfareForm& form) {
    std::vector<std::string> lines{confLine(kNameKey, form.name)};
    for (std::size_t n = 1; n <= kInsuranceCount + 1; ++n) {
        lines.push_back(confLine(numberedKey(kItemNameStem, n), nameField(form, n)));
    }
    lines.push_back(confLine(kSumNameKey, form.sumName));
    lines.push_back(confLine(kLabourRateKey, rateInFile(form.labourRate)));
    for (std::size_t n = 1; n <= kInsuranceCount + 1; ++n) {
        lines.push_back(confLine(numberedKey(kItemValueStem, n), rateInFile(valueField(form, n))));
    }
    lines.emplace_back(form.formulaInSpecification ? kFormulaTicked : kFormulaUnticked);
    createFolders(welfareConfPath(dataRoot).parent_path());
    writeTextLines(welfareConfPath(dataRoot), lines);
}

WelfareBase welfareBase(const DocumentState& state, bool listMode) {
    if (listMode) {
        DocumentState quotation = state;
        const ListPassResult list = recalculateItemList(quotation);
        return WelfareBase{list.allLabor, quotation.allSubmittedTotal, quotation.listSubmittedTax};
    }
    if (state.currentSheetNumber < 1 || state.currentSheetNumber > state.itemMax()) {
        return WelfareBase{Currency(), Currency(), state.sheetSubmittedTax};
    }
    const ItemRecord& item = state.items[static_cast<std::size_t>(state.currentSheetNumber)];
    return WelfareBase{item.laborTotal, item.submittedTotal, state.sheetSubmittedTax};
}

std::array<std::string, 3> welfareStatusTexts(const WelfareBase& base) {
    return {"労務費:" + base.labour.toString(),
            "税抜計:" + (base.submittedTotal - base.tax).toString(),
            "消費税:" + base.tax.toString()};
}

LabourRateOutcome labourRateFrom(const WelfareBase& base) {
    if (base.labour.isZero()) {
        return LabourRateOutcome{std::string(), {}};
    }
    const WideInt lessTax = WideInt(base.submittedTotal.raw()) - WideInt(base.tax.raw());
    if (lessTax == 0) {
        return LabourRateOutcome{std::nullopt, "税抜計が0のため労務費率を計算できません。"};
    }
    // L ÷ (T − X) × 10000 + 0.5 = (2 × L × 10000 + (T − X)) ÷ (2 × (T − X)), truncated toward
    // zero; both amounts are counts of 1/10000, so their quotient needs no scaling.
    WideInt numerator = 2 * WideInt(base.labour.raw()) * 10000 + lessTax;
    WideInt denominator = 2 * lessTax;
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const WideInt hundredths = numerator / denominator;
    // The rate in hundredths of a percent, as a count of 1/10000: × 100.
    return LabourRateOutcome{currencyFromWide(hundredths * 100).toString(), {}};
}

} // namespace kerbina
