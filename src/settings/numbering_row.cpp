#include "settings/numbering_row.h"

#include "base/conf_file.h"
#include "base/file_io.h"
#include "settings/environment_settings.h"
#include "settings/value_forms.h"
#include "storage/database.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace kerbina {

namespace {

// A notes line whose whole text is one of the three check-box lines sets that box.
void applyNotesCheckLine(std::string_view line, EnvironmentSettings& settings) {
    const auto key = confKey(line);
    if (!key) {
        return;
    }
    const std::optional<bool> ticked = checkFromText(confValue(line));
    if (!ticked) {
        return;
    }
    if (*key == "[EDIT_OPT1]") {
        settings.automaticNumbering = *ticked;
    } else if (*key == "[NUMBER_OPT4]") {
        settings.numberingPerCustomer = *ticked;
    } else if (*key == "[NUMBER_OPT5]") {
        settings.offerNumberAfterCustomerPick = *ticked;
    }
}

void applyNotesTextLine(std::string_view line, EnvironmentSettings& settings) {
    const auto key = confKey(line);
    if (!key) {
        return;
    }
    const std::string value(confValue(line));
    for (std::size_t i = 0; i < settings.pipingGroupNames.size(); ++i) {
        if (*key == numberedKey("[EXGROUP", i + 1)) {
            settings.pipingGroupNames[i] = value;
        }
    }
    for (std::size_t i = 0; i < settings.priceButtonNames.size(); ++i) {
        if (*key == numberedKey("[tankaBtnName", i + 1)) {
            settings.priceButtonNames[i] = value;
        }
    }
    // Rows written by earlier versions may carry units 1 to 8; the ninth unit only ever lives in
    // the settings file.
    for (std::size_t i = 0; i < 8; ++i) {
        if (*key == numberedKey("[CI_", i + 1)) {
            settings.unitList[i] = value;
        }
    }
}

} // namespace

std::optional<NumberingRow> DatabaseNumberingRowStore::read() {
    const SqlRows rows = database_.queryRows(
        "SELECT header,keta,number,notes FROM krbconf where conf=?;", {"KERBINA"});
    if (rows.empty()) {
        return std::nullopt;
    }
    const SqlRow& row = rows.front();
    return NumberingRow{row.field(1), row.field(2), row.field(3), row.field(4)};
}

bool DatabaseNumberingRowStore::write(const NumberingRow& row, bool withNumber) {
    const bool updated =
        withNumber
            ? database_.executeOrReport(
                  "UPDATE krbconf SET header=?,keta=?,number=?,notes=? WHERE conf=?;",
                  {row.header, row.keta, row.number, row.notes, "KERBINA"})
            : database_.executeOrReport("UPDATE krbconf SET header=?,keta=?,notes=? WHERE conf=?;",
                                        {row.header, row.keta, row.notes, "KERBINA"});
    if (!updated) {
        return false;
    }
    // Inserts only when the update found no row; the form is portable to server databases.
    return database_.executeOrReport(
        "INSERT INTO krbconf (conf,header,keta,number,notes) SELECT ?,?,?,?,? "
        "WHERE NOT EXISTS (SELECT 1 FROM krbconf WHERE conf=?);",
        {"KERBINA", row.header, row.keta, row.number, row.notes, "KERBINA"});
}

std::string numberingNotes(const EnvironmentSettings& settings) {
    std::string notes;
    const auto addLine = [&notes](std::string_view key, std::string_view value) {
        notes += confLine(key, value);
        notes += "\r\n";
    };
    for (std::size_t i = 0; i < settings.priceButtonNames.size(); ++i) {
        addLine(numberedKey("[tankaBtnName", i + 1), settings.priceButtonNames[i]);
    }
    for (std::size_t i = 0; i < settings.pipingGroupNames.size(); ++i) {
        addLine(numberedKey("[EXGROUP", i + 1), settings.pipingGroupNames[i]);
    }
    addLine("[EDIT_OPT1]", checkText(settings.automaticNumbering));
    addLine("[NUMBER_OPT4]", checkText(settings.numberingPerCustomer));
    addLine("[NUMBER_OPT5]", checkText(settings.offerNumberAfterCustomerPick));
    return notes;
}

NumberingRow numberingRow(const EnvironmentSettings& settings) {
    return NumberingRow{
        .header = settings.numberPrefix,
        .keta = std::to_string(settings.numberWidth),
        .number = std::to_string(settings.numberCounter),
        .notes = numberingNotes(settings),
    };
}

void applyNumberingRow(EnvironmentSettings& settings, const NumberingRow& row) {
    for (const std::string& line : splitTextLines(row.notes)) {
        applyNotesCheckLine(line, settings);
        applyNotesTextLine(line, settings);
    }
    settings.numberPrefix = row.header;
    if (const auto keta = wholeNumberFromText(row.keta)) {
        settings.numberWidth = *keta;
    }
    applyNumberingCounter(settings, row);
}

void applyNumberingCounter(EnvironmentSettings& settings, const NumberingRow& row) {
    if (const auto number = wholeNumberFromText(row.number)) {
        settings.numberCounter = *number;
        settings.numberAsLoaded = *number;
    }
}

bool isFreshNumberingRow(const NumberingRow& row) {
    const std::vector<std::string> lines = splitTextLines(row.notes);
    const bool noSettingsLines = std::ranges::none_of(
        lines, [](const std::string& line) { return confKey(line).has_value(); });
    return noSettingsLines && wholeNumberFromText(row.number).value_or(1) == 0;
}

} // namespace kerbina
