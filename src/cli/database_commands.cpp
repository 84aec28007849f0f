// kerbina-cli save and export: quotation files into the quotation database and back.
#include "cli/database_commands.h"

#include "base/conf_file.h"
#include "base/file_io.h"
#include "base/folders.h"
#include "base/path_text.h"
#include "base/platform_paths.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "document/quotation_file.h"
#include "settings/environment_settings.h"
#include "settings/numbering_row.h"
#include "storage/database_files.h"
#include "storage/database_health.h"
#include "storage/quotation_rows.h"
#include "storage/save_flow.h"

#include <chrono>
#include <iostream>
#include <string>

namespace kerbina::cli {
namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct DatabaseArguments {
    std::vector<std::string_view> operands;
    std::optional<std::filesystem::path> output;
    std::optional<std::filesystem::path> dataRoot;
};

std::optional<DatabaseArguments> parse(const std::vector<std::string_view>& words,
                                       bool allowOutput) {
    DatabaseArguments arguments;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "-o" && allowOutput && hasValue && !arguments.output) {
            arguments.output = std::filesystem::path(words[++i]);
        } else if (word == "--data-root" && hasValue && !arguments.dataRoot) {
            arguments.dataRoot = std::filesystem::path(words[++i]);
        } else if (!word.starts_with("-")) {
            arguments.operands.push_back(word);
        } else {
            return std::nullopt;
        }
    }
    return arguments;
}

// The quotation being saved: a file read into memory, given its new number before it is rendered.
class MemorySource final : public QuotationSaveSource {
public:
    MemorySource(QuotationData& data, bool itemNameLine)
        : data_(data), itemNameLine_(itemNameLine) {}

    QuotationHeader header() override { return data_.header; }
    void storeQuotationNumber(const std::string& number) override { data_.header.number = number; }
    RenderedQuotation render() override {
        QuotationWriteOptions options;
        options.itemNameLine = itemNameLine_;
        return {data_.header, writeQuotationText(data_, options)};
    }

private:
    QuotationData& data_;
    bool itemNameLine_;
};

int runSave(const DatabaseArguments& arguments, const ToolServices& tool) {
    if (!checkedDataRoot(arguments.dataRoot)) {
        return kFailed;
    }
    const auto settings = tool.settings(arguments.dataRoot);
    if (!settings) {
        return kFailed;
    }
    ConsolePrompt prompt;
    const auto existing = existingDatabaseFolder(arguments.dataRoot);
    if (!existing) {
        return kFailed;
    }
    const std::filesystem::path& folder = *existing;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::cerr << "kerbina-cli: " << pathText(folder)
                  << ": データベースフォルダーを作成できません。\n";
        return kFailed;
    }
    prepareDatabaseFiles(folder, installFolder(), ModulePresence{}, prompt);
    const std::filesystem::path quotationFile = databaseFilePath(folder, DatabaseFile::Quotation);
    if (const DatabaseCheck check =
            checkDatabaseFile(quotationFile, CheckDepth::Quick, kStartCheckLimit);
        check.unusable()) {
        prompt.reportError(kSqlErrorText, damagedDatabaseMessage(quotationFile, check));
        return kFailed;
    }
    SqliteFileDatabase quotations(quotationFile, prompt);
    SqliteFileDatabase addresses(databaseFilePath(folder, DatabaseFile::Address), prompt);
    // Another process may have created the files a moment ago and still be creating their
    // tables: the creation is finished here too (each statement is one step and changes nothing
    // that exists), so no save meets a database without its tables.
    if (!createDatabaseTables(quotations, databaseFileDef(DatabaseFile::Quotation)) ||
        !createDatabaseTables(addresses, databaseFileDef(DatabaseFile::Address))) {
        return kFailed;
    }

    // The tool always issues numbers; whether per customer is the office's setting.
    NumberingMode numbering{.automatic = true, .perCustomer = false};
    DatabaseNumberingRowStore rowStore(quotations);
    if (const auto row = rowStore.read()) {
        EnvironmentSettings environment;
        applyNumberingRow(environment, *row);
        numbering.perCustomer = environment.numberingPerCustomer;
    }

    int status = 0;
    for (const std::string_view operand : arguments.operands) {
        const std::filesystem::path file(operand);
        auto data = tool.recomputed(file, *settings);
        if (!data) {
            status = kFailed;
            continue;
        }
        MemorySource source(*data, settings->itemNameLine);
        SaveContext context{quotations, addresses, numbering, source, prompt};
        const auto number = saveAsNewQuotation(context, std::chrono::system_clock::now());
        if (!number) {
            std::cerr << "kerbina-cli: " << pathText(file) << ": 保存できませんでした。\n";
            status = kFailed;
            continue;
        }
        std::cout << *number << '\t' << pathText(file) << '\n' << std::flush;
    }
    return status;
}

int runExport(const DatabaseArguments& arguments) {
    const std::string number(arguments.operands.front());
    const std::filesystem::path& output = *arguments.output;
    if (!checkedDataRoot(arguments.dataRoot)) {
        return kFailed;
    }
    if (!outputMayBeWritten(output)) {
        return kFailed;
    }
    const auto file = existingQuotationDatabase(arguments.dataRoot);
    if (!file) {
        return kFailed;
    }
    ConsolePrompt prompt;
    SqliteFileDatabase quotations(*file, prompt);
    std::optional<std::string> text;
    try {
        text = storedQuotationText(quotations, number);
    } catch (const DatabaseError& failure) {
        prompt.reportError(kSqlErrorText, databaseFaultMessage(failure));
        return kFailed;
    }
    if (!text) {
        std::cerr << "kerbina-cli: 見積番号 " << number << " の見積はデータベースにありません。\n";
        return kFailed;
    }
    try {
        writeFileAtomically(output, toCp932(*text));
    } catch (const FileError& failure) {
        std::cerr << "kerbina-cli: " << failure.what() << '\n';
        return kFailed;
    }
    return 0;
}

} // namespace

void ConsolePrompt::notify(const std::string& text) {
    std::cerr << "kerbina-cli: " << onOneLine(text) << '\n';
}

void ConsolePrompt::reportError(std::string_view, std::string_view detail) {
    std::cerr << "kerbina-cli: " << onOneLine(detail) << '\n';
}

// Only the default database folder is made when missing (by the commands that write).
std::optional<std::filesystem::path>
existingDatabaseFolder(const std::optional<std::filesystem::path>& given) {
    const std::filesystem::path root = given ? *given : dataRoot();
    const std::filesystem::path folder = databaseFolder(root);
    std::error_code error;
    if (!readNetworkFolder(root).empty() && !std::filesystem::is_directory(folder, error)) {
        std::cerr << "kerbina-cli: " << pathText(folder)
                  << ": データベースフォルダーが見つかりません。\n";
        return std::nullopt;
    }
    return folder;
}

std::optional<std::filesystem::path>
existingQuotationDatabase(const std::optional<std::filesystem::path>& given) {
    const auto folder = existingDatabaseFolder(given);
    if (!folder) {
        return std::nullopt;
    }
    const std::filesystem::path file = databaseFilePath(*folder, DatabaseFile::Quotation);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        std::cerr << "kerbina-cli: " << pathText(file) << ": データベースファイルがありません。\n";
        return std::nullopt;
    }
    return file;
}

bool outputMayBeWritten(const std::filesystem::path& output) {
    if (mayReplaceFile(output)) {
        return true;
    }
    std::cerr << "kerbina-cli: " << pathText(output)
              << ": 通常のファイルではないため書き込めません。\n";
    return false;
}

std::optional<std::filesystem::path>
checkedDataRoot(const std::optional<std::filesystem::path>& given) {
    std::error_code error;
    if (given && !std::filesystem::is_directory(*given, error)) {
        std::cerr << "kerbina-cli: " << pathText(*given) << ": データフォルダーがありません。\n";
        return std::nullopt;
    }
    return given ? *given : dataRoot();
}

std::optional<int> runDatabaseCommand(std::string_view command,
                                      const std::vector<std::string_view>& words,
                                      const ToolServices& tool) {
    if (command != "save" && command != "export") {
        return std::nullopt;
    }
    const bool isExport = command == "export";
    const auto arguments = parse(words, isExport);
    if (!arguments || arguments->operands.empty() ||
        (isExport && (arguments->operands.size() != 1 || !arguments->output))) {
        std::cerr << "kerbina-cli: wrong arguments for " << command << "\n\n" << tool.usage;
        return kUsageError;
    }
    return isExport ? runExport(*arguments) : runSave(*arguments, tool);
}

} // namespace kerbina::cli
