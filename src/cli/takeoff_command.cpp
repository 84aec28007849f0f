// kerbina-cli takeoff: measured quantities from other tools into a quotation's take-off entries.
#include "cli/takeoff_command.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "document/quotation_file.h"
#include "takeoff/takeoff_import.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace kerbina::cli {
namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct TakeoffArguments {
    std::filesystem::path quotation;
    std::filesystem::path payloads;
    int sheet = 0;
    std::filesystem::path output;
    std::optional<std::filesystem::path> dataRoot;
};

std::optional<TakeoffArguments> parseTakeoffArguments(const std::vector<std::string_view>& words) {
    if (words.empty() || words[0] != "import") {
        return std::nullopt;
    }
    TakeoffArguments arguments;
    std::vector<std::string_view> files;
    std::optional<int> sheet;
    std::optional<std::filesystem::path> output;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string_view word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "--sheet" && hasValue && !sheet) {
            sheet = parseInteger32(words[++i], IntegerText::Exact);
            if (!sheet) {
                return std::nullopt;
            }
        } else if (word == "-o" && hasValue && !output) {
            output = std::filesystem::path(words[++i]);
        } else if (word == "--data-root" && hasValue && !arguments.dataRoot) {
            arguments.dataRoot = std::filesystem::path(words[++i]);
        } else if (!word.starts_with("-") && files.size() < 2) {
            files.push_back(word);
        } else {
            return std::nullopt;
        }
    }
    if (files.size() != 2 || !sheet || !output) {
        return std::nullopt;
    }
    arguments.quotation = files[0];
    arguments.payloads = files[1];
    arguments.sheet = *sheet;
    arguments.output = *output;
    return arguments;
}

} // namespace

int runTakeoff(const std::vector<std::string_view>& words, const ToolServices& services) {
    const auto arguments = parseTakeoffArguments(words);
    if (!arguments) {
        std::cerr << "kerbina-cli: wrong arguments for takeoff\n\n" << services.usage;
        return kUsageError;
    }
    const auto settings = services.settings(arguments->dataRoot);
    if (!settings || !outputMayBeWritten(arguments->output)) {
        return kFailed;
    }
    std::string payloads;
    try {
        payloads = readRegularFile(arguments->payloads, kTextReadLimit);
    } catch (const FileError& error) {
        std::cerr << "kerbina-cli: " << error.what() << '\n';
        return kFailed;
    }
    auto data = services.recomputed(arguments->quotation, *settings);
    if (!data) {
        return kFailed;
    }
    try {
        const int added = importTakeoffPayloads(*data, arguments->sheet, payloads);
        QuotationWriteOptions options;
        options.itemNameLine = settings->itemNameLine;
        writeQuotationFile(arguments->output, *data, options);
        std::cout << added << '\n';
    } catch (const TakeoffImportError& error) {
        std::cerr << "kerbina-cli: " << pathText(arguments->payloads) << ": " << error.what()
                  << '\n';
        return kFailed;
    } catch (const FileError& error) {
        std::cerr << "kerbina-cli: " << error.what() << '\n';
        return kFailed;
    }
    return 0;
}

} // namespace kerbina::cli
