// kerbina-cli prices: a supplier's price list into the unit price catalogue, and a group of the
// catalogue out as a price list.
#include "cli/prices_command.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/platform_paths.h"
#include "cli/database_commands.h"
#include "prices/catalogue_indexes.h"
#include "prices/price_list.h"
#include "storage/database_files.h"
#include "storage/database_health.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace kerbina::cli {
namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct PricesArguments {
    std::string_view action;
    std::optional<std::filesystem::path> input;
    std::optional<PriceGroup> group;
    std::optional<std::string> category;
    std::optional<std::filesystem::path> output;
    std::optional<std::filesystem::path> dataRoot;
};

std::optional<PriceGroup> groupOf(std::string_view text) {
    if (text == "1") {
        return PriceGroup::Code;
    }
    if (text == "10") {
        return PriceGroup::Tree;
    }
    return std::nullopt;
}

// The arguments of "import" or "export"; nothing when the command line is not understood.
std::optional<PricesArguments> parse(const std::vector<std::string_view>& words) {
    if (words.empty() || (words.front() != "import" && words.front() != "export")) {
        return std::nullopt;
    }
    PricesArguments arguments;
    arguments.action = words.front();
    const bool isImport = arguments.action == "import";
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string_view word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "--group" && hasValue && !arguments.group) {
            arguments.group = groupOf(words[++i]);
            if (!arguments.group) {
                return std::nullopt;
            }
        } else if (word == "--category" && isImport && hasValue && !arguments.category) {
            arguments.category = std::string(words[++i]);
        } else if (word == "-o" && !isImport && hasValue && !arguments.output) {
            arguments.output = std::filesystem::path(words[++i]);
        } else if (word == "--data-root" && hasValue && !arguments.dataRoot) {
            arguments.dataRoot = std::filesystem::path(words[++i]);
        } else if (isImport && !arguments.input && !word.starts_with("-")) {
            arguments.input = std::filesystem::path(word);
        } else {
            return std::nullopt;
        }
    }
    const bool complete = arguments.group && (isImport ? arguments.input && arguments.category
                                                       : arguments.output.has_value());
    return complete ? std::optional(arguments) : std::nullopt;
}

std::chrono::year_month_day today() {
    return std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
}

void printPreview(const PriceListPreview& preview) {
    std::cout << "追加: " << preview.count(PriceListAction::Add) << "件\n"
              << "更新: " << preview.count(PriceListAction::Update) << "件\n"
              << "変更なし: " << preview.count(PriceListAction::Unchanged) << "件\n"
              << "取込不可: " << preview.count(PriceListAction::Refuse) << "件\n";
    for (const PriceListPreviewRow& row : preview.rows) {
        if (row.action == PriceListAction::Refuse) {
            std::cout << row.line << "行目: " << row.reason << '\n';
        }
    }
}

int runImport(const PricesArguments& arguments) {
    if (!checkedDataRoot(arguments.dataRoot)) {
        return kFailed;
    }
    std::vector<PriceListFileRow> rows;
    try {
        rows = readPriceListFile(*arguments.input);
    } catch (const PriceListFileError& failure) {
        std::cerr << "kerbina-cli: " << pathText(*arguments.input) << ": " << failure.what()
                  << '\n';
        return kFailed;
    }
    const auto folder = existingDatabaseFolder(arguments.dataRoot);
    if (!folder) {
        return kFailed;
    }
    std::error_code error;
    std::filesystem::create_directories(*folder, error);
    if (error) {
        std::cerr << "kerbina-cli: " << pathText(*folder)
                  << ": データベースフォルダーを作成できません。\n";
        return kFailed;
    }
    ConsolePrompt prompt;
    prepareDatabaseFiles(*folder, installFolder(), ModulePresence{}, prompt);
    const std::filesystem::path file = databaseFilePath(*folder, DatabaseFile::Quotation);
    if (const DatabaseCheck check = checkDatabaseFile(file, CheckDepth::Quick, kStartCheckLimit);
        check.unusable()) {
        prompt.reportError(kSqlErrorText, damagedDatabaseMessage(file, check));
        return kFailed;
    }
    ensureCatalogueIndexes(file);
    SqliteFileDatabase quotations(file, prompt);
    try {
        const PriceListPreview preview =
            previewPriceList(quotations, *arguments.group, *arguments.category, rows);
        printPreview(preview);
        applyPriceList(file, preview, today());
    } catch (const DatabaseError& failure) {
        prompt.reportError(kSqlErrorText, databaseFaultMessage(failure));
        return kFailed;
    }
    return 0;
}

int runExport(const PricesArguments& arguments) {
    if (!checkedDataRoot(arguments.dataRoot)) {
        return kFailed;
    }
    if (!outputMayBeWritten(*arguments.output)) {
        return kFailed;
    }
    const auto file = existingQuotationDatabase(arguments.dataRoot);
    if (!file) {
        return kFailed;
    }
    ConsolePrompt prompt;
    SqliteFileDatabase quotations(*file, prompt);
    try {
        exportPriceList(quotations, *arguments.group, *arguments.output);
    } catch (const DatabaseError& failure) {
        prompt.reportError(kSqlErrorText, databaseFaultMessage(failure));
        return kFailed;
    } catch (const FileError& failure) {
        std::cerr << "kerbina-cli: " << failure.what() << '\n';
        return kFailed;
    }
    return 0;
}

} // namespace

int runPrices(const std::vector<std::string_view>& words, std::string_view usage) {
    const auto arguments = parse(words);
    if (!arguments) {
        std::cerr << "kerbina-cli: wrong arguments for prices\n\n" << usage;
        return kUsageError;
    }
    return arguments->action == "import" ? runImport(*arguments) : runExport(*arguments);
}

} // namespace kerbina::cli
