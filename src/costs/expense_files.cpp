#include "costs/expense_files.h"

#include "base/file_io.h"
#include "base/text.h"

namespace fs = std::filesystem;

namespace kerbina {

namespace {

constexpr std::string_view kNamesFileName = "keihi_name.dat";
constexpr std::string_view kSeparatorRefusal = "「;」は入力できません。";

fs::path dataFolder(const fs::path& dataRoot) {
    return dataRoot / "data";
}

LineKind kindOrFirst(std::string_view text) {
    const std::optional<std::int32_t> kind = parseInteger32(text, IntegerText::Lenient);
    return kind && isExpense(LineKind(*kind)) ? LineKind(*kind) : LineKind::ExpenseOnTotal;
}

std::string_view fieldOr(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
}

void writeLines(const fs::path& file, const std::vector<std::string>& lines) {
    createFolders(file.parent_path());
    writeTextLines(file, lines);
}

} // namespace

fs::path expenseNamesFile(const fs::path& dataRoot) {
    return fileInAnyCase(dataFolder(dataRoot), kNamesFileName);
}

fs::path expensePatternFile(const fs::path& dataRoot, int pattern) {
    return fileInAnyCase(dataFolder(dataRoot), "keihi_0" + std::to_string(pattern) + ".dat");
}

ExpenseNameButtons defaultExpenseNames() {
    ExpenseNameButtons buttons;
    const char* const named[] = {"消耗品雑材料", "運搬交通費", "現場管理費", "現場調査費"};
    for (int n = 0; n < kExpenseNameButtons; ++n) {
        buttons[static_cast<std::size_t>(n)] = {n < 4 ? named[n] : "諸 経 費", n};
    }
    return buttons;
}

ExpenseNameButtons readExpenseNames(const fs::path& dataRoot) {
    ExpenseNameButtons buttons = defaultExpenseNames();
    const std::vector<std::string> lines = readTextLines(expenseNamesFile(dataRoot));
    for (std::size_t n = 0; n < lines.size() && n < buttons.size(); ++n) {
        const std::vector<std::string_view> fields = splitFields(lines[n], ';');
        buttons[n].caption = std::string(fieldOr(fields, 0));
        buttons[n].storedTarget =
            parseInteger32(fieldOr(fields, 1), IntegerText::Lenient).value_or(0);
    }
    return buttons;
}

void writeExpenseNames(const fs::path& dataRoot, const ExpenseNameButtons& buttons) {
    std::vector<std::string> lines;
    for (const ExpenseNameButton& button : buttons) {
        lines.push_back(button.caption + ";" + std::to_string(button.storedTarget) + ";");
    }
    writeLines(expenseNamesFile(dataRoot), lines);
}

std::optional<std::vector<ExpensePatternLine>> readExpensePattern(const fs::path& dataRoot,
                                                                  int pattern) {
    const fs::path file = expensePatternFile(dataRoot, pattern);
    std::error_code error;
    if (!fs::exists(file, error)) {
        return std::nullopt;
    }
    std::vector<ExpensePatternLine> lines;
    for (const std::string& text : readTextLines(file)) {
        const std::vector<std::string_view> fields = splitFields(text, ';');
        lines.push_back({std::string(fieldOr(fields, 0)), std::string(fieldOr(fields, 1)),
                         std::string(fieldOr(fields, 2)), parseNumberOrZero(fieldOr(fields, 3)),
                         parseNumberOrZero(fieldOr(fields, 4)), kindOrFirst(fieldOr(fields, 5))});
    }
    return lines;
}

void writeExpensePattern(const fs::path& dataRoot, int pattern,
                         const std::vector<ExpensePatternLine>& rows) {
    std::vector<std::string> lines;
    for (const ExpensePatternLine& row : rows) {
        lines.push_back(row.name + ";" + row.shortName + ";" + row.unit + ";" +
                        patternRateText(row.netRate) + ";" + patternRateText(row.submittedRate) +
                        ";" + std::to_string(row.kind.code()) + ";");
    }
    writeLines(expensePatternFile(dataRoot, pattern), lines);
}

std::string patternRateText(Currency rate) {
    return rate.isZero() ? std::string() : rate.toString();
}

ExpensePatternLine emptyPatternRow() {
    return {};
}

std::string patternButtonCaption(const std::optional<std::vector<ExpensePatternLine>>& lines) {
    std::string caption;
    if (!lines) {
        return caption;
    }
    for (const ExpensePatternLine& line : *lines) {
        if (!line.shortName.empty()) {
            caption += line.shortName + "(" + patternRateText(line.submittedRate) + "%) ";
        }
    }
    return caption;
}

std::optional<std::string> separatorRefusal(std::string_view text) {
    if (text.find(';') == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(kSeparatorRefusal);
}

} // namespace kerbina
