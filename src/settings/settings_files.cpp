#include "settings/settings_files.h"

#include "base/conf_file.h"
#include "base/file_io.h"
#include "base/folders.h"
#include "base/text.h"
#include "settings/environment_settings.h"
#include "settings/numbering_row.h"
#include "settings/value_forms.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <system_error>
#include <unordered_set>
#include <utility>

namespace kerbina {

namespace {

namespace fs = std::filesystem;

// Every key of Kerbina.conf with its control and form, in the order the file is written. Writing
// and reading both walk this one list, so a key can never be written under one spelling and read
// under another. `Settings` is const when writing.
template <typename Settings, typename Visitor> void forEachSettingsKey(Settings& s, Visitor& v) {
    v.text("[TITLE1]", s.siteNameTitle);
    v.text("[TITLE2]", s.workNameTitle);
    for (std::size_t i = 0; i < s.amountTexts.size(); ++i) {
        v.text(numberedKey("[KINGAKU_NAME", i + 1), s.amountTexts[i]);
    }
    v.taxRate("[Tax_Value]", s.taxRate);
    v.check("[FILE_OPT1]", s.numberAsFileName);
    v.option("[CALC_OPT1]", s.quantityDecimalsChoice, kQuantityDecimalChoices);
    v.option("[CALC_OPT2]", s.amountRoundingChoice, kRoundingChoices);
    v.option("[CALC_OPT3]", s.sheetTotalLevelChoice, kLevelChoices);
    v.option("[CALC_OPT4]", s.expenseRoundingChoice, kRoundingChoices);
    v.option("[CALC_OPT6]", s.laborRoundingChoice, kRoundingChoices);
    v.option("[CALC_OPT7]", s.sheetTotalRoundingChoice, kRoundingChoices);
    v.option("[ACALC_OPT3]", s.grandTotalLevelChoice, kLevelChoices);
    v.option("[ACALC_OPT4]", s.grandTotalExpenseRoundingChoice, kRoundingChoices);
    v.option("[ACALC_OPT7]", s.grandTotalRoundingChoice, kRoundingChoices);
    v.taxOffset("[Tax_Opt1]", s.taxRoundingChoice);
    v.check("[CALC_OPT5]", s.reductionReducesCost);
    v.text("[GENGAKU]", s.reductionMark);
    v.option("[EDIT_OPT2]", s.nameSpecColumnsChoice, kTwoWayChoices);
    v.option("[FILE_OPT2]", s.listAddresseeChoice, kTwoWayChoices);
    v.option("[EDIT_OPT10]", s.rowShadingChoice, kTwoWayChoices);
    v.text("[Print_Dir]", s.printStyleFile);
    v.check("[EDIT_OPT4]", s.askPasswordAtStart);
    v.text("[EDIT_OPT5]", s.startupPassword);
    v.check("[EDIT_OPT6]", s.entryShowsLabor);
    v.check("[EDIT_OPT7]", s.entryShowsAccessoryPrices);
    v.check("[EDIT_OPT8]", s.entryShowsCost);
    v.check("[EDIT_OPT9]", s.entryShowsGroupPrices);
    v.check("[status_bar]", s.statusBarShown);
    v.check("[Items_Opt_1]", s.itemNameAsFirstLine);
    v.option("[Print_Space]", s.spaceBeforeHonorific, kSpaceChoices);
    for (std::size_t i = 0; i < s.groupNameList.size(); ++i) {
        v.text(numberedKey("[GROUP_NAME", i + 1), s.groupNameList[i]);
    }
    for (std::size_t i = 0; i < s.unitList.size(); ++i) {
        v.text(numberedKey("[CI_", i + 1), s.unitList[i]);
    }
    v.text("[SmallSumName]", s.smallSumName);
    v.text("[MidSumName]", s.midSumName);
    v.text("[AllSumName]", s.sumName);
}

struct LineWriter {
    std::vector<std::string> lines;

    void text(std::string_view key, const std::string& value) {
        lines.push_back(confLine(key, value));
    }
    void check(std::string_view key, bool value) {
        lines.push_back(confLine(key, checkText(value)));
    }
    void option(std::string_view key, int index, int) {
        lines.push_back(confLine(key, std::to_string(index)));
    }
    void taxRate(std::string_view key, Currency rate) {
        lines.push_back(confLine(key, taxRateText(rate)));
    }
    void taxOffset(std::string_view key, int index) {
        lines.push_back(confLine(key, taxOffsetText(index)));
    }
};

// Applies one line: only the visit whose key matches the line's key changes its control.
struct LineReader {
    std::string_view key;
    std::string_view value;

    void text(std::string_view name, std::string& target) {
        if (name == key) {
            target = std::string(value);
        }
    }
    void check(std::string_view name, bool& target) {
        if (name == key) {
            target = checkFromText(value).value_or(target);
        }
    }
    void option(std::string_view name, int& target, int choices) {
        if (name == key) {
            target = optionFromText(value, choices).value_or(target);
        }
    }
    void taxRate(std::string_view name, Currency& target) {
        if (name == key) {
            target = taxRateFromText(value).value_or(target);
        }
    }
    void taxOffset(std::string_view name, int& target) {
        if (name == key) {
            target = taxOffsetIndexFromText(value).value_or(target);
        }
    }
};

struct KeyCollector {
    std::unordered_set<std::string> keys;

    void text(std::string_view key, const std::string&) { keys.emplace(key); }
    void check(std::string_view key, bool) { keys.emplace(key); }
    void option(std::string_view key, int, int) { keys.emplace(key); }
    void taxRate(std::string_view key, Currency) { keys.emplace(key); }
    void taxOffset(std::string_view key, int) { keys.emplace(key); }
};

constexpr std::array<std::string_view, 10> kCompanyDataKeys = {
    "[OFFICE_NAME1]", "[OFFICE_NAME2]", "[SERVICE]", "[ZIPCODE]", "[ADDRESS1]",
    "[ADDRESS2]",     "[TEL]",          "[FAX]",     "[URL]",     "[EMAIL]",
};

// Written in front of the box texts when USER_DATA.conf is first made, so the user sees which
// line holds what.
constexpr std::array<std::string_view, 10> kCompanyDataSamples = {
    "サンプル設備工業株式会社",
    "",
    "給排水衛生・空調設備工事",
    "555-5555",
    "サンプル県サンプル市中央一丁目",
    "二番三号 サンプルビル四階",
    "066-6666-6666",
    "077-7777-7777",
    "https://www.example.com/",
    "info@example.com",
};

// Missing, as opposed to present or unreachable: a folder that cannot be searched is not taken
// for a first start (that would overwrite the user's files); reading it reports the failure.
bool fileMissing(const fs::path& path) {
    std::error_code error;
    return !fs::exists(path, error) && !error;
}

// The conf folder comes with the seeded data root; should it be gone, it is made again rather than
// failing every save. A folder that cannot be made shows up as the write's own failure.
void writeConfFile(const fs::path& path, const std::vector<std::string>& lines) {
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    writeTextLines(path, lines);
}

enum class NetworkFile { Write, KeepExisting };

SettingsWritten writeSettingsStores(EnvironmentSettings& settings, const fs::path& dataRoot,
                                    NumberingRowStore& numbering, NetworkFile networkFile) {
    SettingsWritten written;
    const bool withNumber = settings.numberCounter != settings.numberAsLoaded;
    written.numberingRowWritten = numbering.write(numberingRow(settings), withNumber);
    if (written.numberingRowWritten && withNumber) {
        settings.numberAsLoaded = settings.numberCounter;
    }
    written.taxOffset = settings.taxOffset();

    const fs::path settingsFile = settingsFilePath(dataRoot);
    KeyCollector ownKeys;
    forEachSettingsKey(std::as_const(settings), ownKeys);
    std::vector<std::string> lines = settingsFileLines(settings);
    const auto isPrintOption = [](std::string_view key) {
        return key == kCostSplitPrintKey || key == kJapaneseEraPrintKey;
    };
    for (const std::string& line : readSettingsFileLines(dataRoot)) {
        const auto key = confKey(line);
        if (key && !ownKeys.keys.contains(std::string(*key)) && !isPrintOption(*key)) {
            lines.push_back(line);
        }
    }
    writeConfFile(settingsFile, lines);

    const fs::path networkPath = networkFilePath(dataRoot);
    if (networkFile == NetworkFile::Write || fileMissing(networkPath)) {
        writeConfFile(networkPath, {confLine("[Network_Dir]", settings.networkFolder)});
    }
    return written;
}

} // namespace

fs::path companyDataFilePath(const fs::path& dataRoot) {
    return dataRoot / "conf" / "USER_DATA.conf";
}

std::vector<std::string> settingsFileLines(const EnvironmentSettings& settings) {
    LineWriter writer;
    forEachSettingsKey(settings, writer);
    // The print options follow the file's own lines only while they are on, so the file stays
    // exactly those lines for everyone who never turns them on.
    if (settings.printCostSplit) {
        writer.lines.push_back(confLine(kCostSplitPrintKey, checkText(true)));
    }
    if (settings.printJapaneseEra) {
        writer.lines.push_back(confLine(kJapaneseEraPrintKey, checkText(true)));
    }
    return std::move(writer.lines);
}

void applySettingsFileLines(EnvironmentSettings& settings, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const auto key = confKey(line);
        if (!key) {
            continue;
        }
        LineReader reader{*key, confValue(line)};
        forEachSettingsKey(settings, reader);
        reader.check(kCostSplitPrintKey, settings.printCostSplit);
        reader.check(kJapaneseEraPrintKey, settings.printJapaneseEra);
    }
}

std::vector<std::string> companyDataLines(const EnvironmentSettings& settings) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < kCompanyDataKeys.size(); ++i) {
        lines.push_back(confLine(kCompanyDataKeys[i], settings.companyData[i]));
    }
    return lines;
}

void applyCompanyDataLines(EnvironmentSettings& settings, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const auto key = confKey(line);
        if (!key) {
            continue;
        }
        const auto found = std::find(kCompanyDataKeys.begin(), kCompanyDataKeys.end(), *key);
        if (found == kCompanyDataKeys.end()) {
            continue;
        }
        const auto index = static_cast<std::size_t>(found - kCompanyDataKeys.begin());
        const std::string_view value = confValue(line);
        settings.companyData[index] = std::string(index == 0 ? value : trimBlanks(value));
    }
}

void readUserSettings(EnvironmentSettings& settings, const fs::path& dataRoot) {
    const fs::path file = companyDataFilePath(dataRoot);
    if (fileMissing(file)) {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < kCompanyDataKeys.size(); ++i) {
            std::string value(kCompanyDataSamples[i]);
            value += settings.companyData[i];
            lines.push_back(confLine(kCompanyDataKeys[i], value));
        }
        writeConfFile(file, lines);
    }
    applyCompanyDataLines(settings, readTextLines(file));
}

void readForShow(EnvironmentSettings& settings, const fs::path& dataRoot,
                 const fs::path& databaseFolderInUse, NumberingRowStore& numbering) {
    readUserSettings(settings, dataRoot);
    if (settings.networkFolder.empty()) {
        settings.networkFolder = pathText(databaseFolderInUse);
    }
    if (const std::optional<NumberingRow> row = numbering.read()) {
        applyNumberingCounter(settings, *row);
    }
}

void readEnvironmentSettings(EnvironmentSettings& settings, const fs::path& dataRoot,
                             NumberingRowStore& numbering) {
    const fs::path file = settingsFilePath(dataRoot);
    if (fileMissing(file)) {
        const std::optional<NumberingRow> row = numbering.read();
        if (row && !isFreshNumberingRow(*row)) {
            applyNumberingRow(settings, *row);
        }
        settings.siteNameTitle = "受渡場所";
        settings.workNameTitle = "物件名称";
        writeSettingsStores(settings, dataRoot, numbering, NetworkFile::KeepExisting);
        return;
    }
    applySettingsFileLines(settings, readSettingsFileLines(dataRoot));
    if (const std::optional<NumberingRow> row = numbering.read()) {
        applyNumberingRow(settings, *row);
    }
}

SettingsWritten writeEnvironmentSettings(EnvironmentSettings& settings, const fs::path& dataRoot,
                                         NumberingRowStore& numbering) {
    return writeSettingsStores(settings, dataRoot, numbering, NetworkFile::Write);
}

void writeCompanyData(const EnvironmentSettings& settings, const fs::path& dataRoot) {
    writeConfFile(companyDataFilePath(dataRoot), companyDataLines(settings));
}

} // namespace kerbina
