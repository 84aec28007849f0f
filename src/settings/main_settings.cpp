#include "settings/main_settings.h"

#include "base/conf_file.h"
#include "base/file_io.h"
#include "base/folders.h"
#include "records/document_state.h"
#include "settings/value_forms.h"

#include <string_view>
#include <system_error>

namespace kerbina {

namespace {

// Option lines are compared whole ("[CALC_OPT2]=1"): the value must be exactly one listed index,
// so a blank, a second digit or lower-case key leaves the setting alone.
std::optional<int> optionIndex(std::string_view value) {
    if (value.size() != 1 || value[0] < '0' || value[0] > '9') {
        return std::nullopt;
    }
    return value[0] - '0';
}

std::optional<Currency> taxOffsetFromText(std::string_view value) {
    for (const char* offset : {"0.5", "0.9", "0"}) {
        if (value == offset) {
            return Currency::fromText(offset);
        }
    }
    return std::nullopt;
}

template <typename Value, typename Convert>
void setWhenListed(Value& target, std::optional<int> index, Convert convert) {
    if (!index) {
        return;
    }
    if (auto value = convert(*index)) {
        target = *value;
    }
}

// One line of the settings file; a line that is none of the listed ones changes nothing.
void applySettingsLine(std::string_view line, MainSettings& settings, bool& oneColumn) {
    const auto key = confKey(line);
    if (!key) {
        return;
    }
    const std::string_view value = confValue(line);
    const std::optional<int> index = optionIndex(value);
    CalcSettings& calc = settings.calc;
    if (*key == "[CALC_OPT1]") {
        setWhenListed(calc.quantityDecimals, index, quantityDecimalsFromOptionIndex);
    } else if (*key == "[CALC_OPT2]") {
        setWhenListed(calc.amountOffset, index, offsetFromOptionIndex);
    } else if (*key == "[CALC_OPT4]") {
        setWhenListed(calc.expenseOffset, index, offsetFromOptionIndex);
    } else if (*key == "[CALC_OPT3]") {
        setWhenListed(calc.totalLevel, index, levelFromOptionIndex);
    } else if (*key == "[CALC_OPT6]") {
        setWhenListed(calc.laborOffset, index, offsetFromOptionIndex);
    } else if (*key == "[CALC_OPT7]") {
        setWhenListed(calc.totalOffset, index, offsetFromOptionIndex);
    } else if (*key == "[ACALC_OPT3]") {
        setWhenListed(calc.grandTotalLevel, index, levelFromOptionIndex);
    } else if (*key == "[ACALC_OPT4]") {
        setWhenListed(calc.grandTotalExpenseOffset, index, offsetFromOptionIndex);
    } else if (*key == "[ACALC_OPT7]") {
        setWhenListed(calc.grandTotalOffset, index, offsetFromOptionIndex);
    } else if (*key == "[Tax_Opt1]") {
        if (auto offset = taxOffsetFromText(value)) {
            calc.taxOffset = *offset;
        }
    } else if (*key == "[EDIT_OPT2]") {
        if (value == "1" || value == "0") {
            oneColumn = (value == "1");
        }
    } else if (*key == "[Items_Opt_1]") {
        settings.itemNameLine = checkFromText(value).value_or(settings.itemNameLine);
    } else if (*key == "[status_bar]") {
        settings.statusBarVisible = checkFromText(value).value_or(settings.statusBarVisible);
    } else if (*key == "[GENGAKU]") {
        settings.reductionMark = std::string(value);
    }
}

// One line of the numbering row's notes.
void applyNumberingLine(std::string_view line, MainSettings& settings) {
    const auto key = confKey(line);
    if (!key) {
        return;
    }
    const std::optional<bool> flag = checkFromText(confValue(line));
    if (*key == "[EDIT_OPT1]") {
        settings.autoNumbering = flag.value_or(settings.autoNumbering);
    } else if (*key == "[NUMBER_OPT4]") {
        settings.perCustomerNumbering = flag.value_or(settings.perCustomerNumbering);
    } else if (*key == "[NUMBER_OPT5]") {
        settings.offerNumberAfterCustomerPick =
            flag.value_or(settings.offerNumberAfterCustomerPick);
    }
    for (std::size_t group = 0; group < settings.groupCaptions.size(); ++group) {
        if (*key == numberedKey("[EXGROUP", group + 1)) {
            settings.groupCaptions[group] = std::string(confValue(line));
        }
    }
}

} // namespace

MainSettings readSettings(const MainSettings& previous, const SettingsSources& sources) {
    MainSettings settings = previous;
    const CalcSettings startValues;
    settings.calc.quantityDecimals = startValues.quantityDecimals;
    settings.calc.amountOffset = startValues.amountOffset;
    settings.calc.expenseOffset = startValues.expenseOffset;
    settings.calc.totalLevel = startValues.totalLevel;
    settings.calc.laborOffset = startValues.laborOffset;
    settings.calc.totalOffset = startValues.totalOffset;
    settings.itemNameLine = true;

    bool oneColumn = false;
    for (const std::string& line : sources.settingsLines) {
        applySettingsLine(line, settings, oneColumn);
    }

    if (settings.printStylePath.empty() && sources.bundledPrintStyle) {
        settings.printStylePath = *sources.bundledPrintStyle;
    }
    settings.headerKeta = static_cast<std::int32_t>(settings.calc.grandTotalLevel.wholePart());
    settings.headerCutLevel = settings.calc.grandTotalOffset;
    settings.separateNameSpec = !oneColumn;
    settings.gridColumnCount = oneColumn ? 9 : 10;

    if (!sources.numberingRow) {
        return settings;
    }
    for (const std::string& line : splitTextLines(*sources.numberingRow)) {
        applyNumberingLine(line, settings);
    }
    settings.quotationNumberCaption = settings.autoNumbering ? "自動見積番号" : "見積番号";
    for (std::size_t button = 0; button < settings.accessoryRegisterCaptions.size(); ++button) {
        settings.accessoryRegisterCaptions[button] = settings.groupCaptions[button + 1] + "登録";
    }
    settings.coverCaptions = CoverCaptions{
        .siteName1 = sources.coverTitle1 + "1",
        .siteName2 = sources.coverTitle1 + "2",
        .workName = sources.coverTitle2,
        .siteNameHint = sources.coverTitle1,
        .workNameHint = sources.coverTitle2,
    };
    return settings;
}

std::optional<std::string> bundledPrintStyle(const std::filesystem::path& dataRoot) {
    const std::filesystem::path style = dataRoot / "style" / u8"A4縦STYLE01blue.sle";
    std::error_code error;
    if (!std::filesystem::is_regular_file(style, error)) {
        return std::nullopt;
    }
    return pathText(style);
}

void applyToDocument(const MainSettings& settings, DocumentState& document) {
    document.settings = settings.calc;
    document.itemNameLine = settings.itemNameLine;
    document.separateNameSpec = settings.separateNameSpec;
    document.header.keta = settings.headerKeta;
    document.header.cutLevel = settings.headerCutLevel;
}

} // namespace kerbina
