// kerbina-cli: the quotation engine from the command line.
#include "base/conf_file.h"
#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "calc/totals.h"
#include "cli/database_commands.h"
#include "cli/list_command.h"
#include "cli/prices_command.h"
#include "cli/takeoff_command.h"
#include "document/krb_import.h"
#include "document/quotation_file.h"
#include "document/totals_report.h"
#include "settings/main_settings.h"

#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kUsage = R"(Usage: kerbina-cli COMMAND [OPTIONS]

Commands:
  totals FILE [--data-root DIR]
               recompute every sheet and the breakdown list of a quotation file (.krb2, or
               .krb of the old format) and print the totals as JSON
  recalc FILE -o OUT [--data-root DIR]
               the same recomputation, then write the whole quotation to OUT (.krb2)
  import-krb OLD.krb -o NEW.krb2
               convert a quotation of the old binary format into a quotation file
  save FILE... [--data-root DIR]
               read and recompute each quotation file as totals does and save it in the
               quotation database as a new quotation under a newly issued number; prints one
               line per file saved: the number, a tab, the file
  export NUMBER -o FILE.krb2 [--data-root DIR]
               write the quotation stored under NUMBER to a quotation file
  list [--search TEXT] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--min AMOUNT] [--max AMOUNT]
       [--addressee TEXT] [--status N] [--sort CODE] [--page N --per-page N] [--data-root DIR]
               print the saved quotations that match as JSON, in the list's order (sort code 0,
               newest number first, unless --sort gives another): their count, the page, and
               for each its number, status, addressee, site, work name, amount, requester and
               date; without --data-root the database is that of this machine's data folder
  prices import FILE --group 1|10 --category NAME [--data-root DIR]
               load a supplier's price list (CSV in CP932 or UTF-8, or .xlsx; a header row
               naming 名称, 仕様, 単位, 仕切単価, 提出単価, 定価, 歩掛, カテゴリー) into the
               unit price catalogue, group 1 (登録単価) or 10 (仕様単価): rows of the same
               category, name and specification are updated, others added (NAME is the category
               of rows whose カテゴリー is empty); prints the counts and each refused row with
               its line, then writes everything in one transaction
  prices export --group 1|10 -o FILE.csv [--data-root DIR]
               write a group of the catalogue as such a price list (CP932, CR LF)
  takeoff import FILE.krb2 --sheet N PAYLOADS.txt -o OUT.krb2 [--data-root DIR]
               read and recompute FILE as recalc does, add the take-off entries of PAYLOADS
               (one "WM_DATAWRITE;..." payload per line, CP932 or UTF-8) to sheet N as the
               take-off page receives them, each at the end of the list with its unit-cost
               breakdown, and write the quotation to OUT; prints the number of entries added.
               Every line is checked first: one that is not a take-off payload is reported with
               its line number and nothing is written
  --version    print the version and exit
  --help       print this help and exit

Without --data-root the calculation settings are those of a fresh installation; with it, the
settings file DIR/conf/Kerbina.conf is read as at start-up. The database folder is the one
DIR/conf/Network_conf.conf names, else the "database" folder beside DIR; without --data-root,
the program's own data root and database folder.

Exit status: 0 done; 1 the input could not be read (also a file cut short or whose parts
disagree), the output could not be written, or DIR does not exist; 2 wrong arguments; 3 (totals)
the totals were printed, but a sheet stopped at a range-sum error.
)";

constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr int kRangeSumError = 3;

struct Arguments {
    std::filesystem::path input;
    std::optional<std::filesystem::path> output;
    std::optional<std::filesystem::path> dataRoot;
};

// FILE plus the options a command allows; nothing when the command line is not understood.
std::optional<Arguments> parseArguments(const std::vector<std::string_view>& words,
                                        bool allowOutput, bool allowDataRoot) {
    Arguments arguments;
    bool haveInput = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "-o" && allowOutput && hasValue && !arguments.output) {
            arguments.output = std::filesystem::path(words[++i]);
        } else if (word == "--data-root" && allowDataRoot && hasValue && !arguments.dataRoot) {
            arguments.dataRoot = std::filesystem::path(words[++i]);
        } else if (!haveInput && !word.starts_with("-")) {
            arguments.input = std::filesystem::path(word);
            haveInput = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveInput || (allowOutput && !arguments.output)) {
        return std::nullopt;
    }
    return arguments;
}

void reportFailure(const std::filesystem::path& path, int line, std::string_view message) {
    std::cerr << "kerbina-cli: " << kerbina::pathText(path);
    if (line > 0) {
        std::cerr << ':' << line;
    }
    std::cerr << ": " << message << '\n';
}

// The settings in effect when a quotation is opened: those of a fresh installation, or those of
// the data root's settings file read as at start-up. Nothing, reported, when the data root is no
// folder or its settings file cannot be read.
std::optional<kerbina::MainSettings>
settingsFor(const std::optional<std::filesystem::path>& dataRoot) {
    kerbina::SettingsSources sources;
    if (dataRoot) {
        std::error_code error;
        if (!std::filesystem::is_directory(*dataRoot, error)) {
            reportFailure(*dataRoot, 0, "データフォルダーがありません。");
            return std::nullopt;
        }
        try {
            sources.settingsLines = kerbina::readSettingsFileLines(*dataRoot);
        } catch (const kerbina::FileError& failure) {
            reportFailure(kerbina::settingsFilePath(*dataRoot), 0, failure.what());
            return std::nullopt;
        }
    }
    return kerbina::readSettings(kerbina::MainSettings{}, sources);
}

// Reads a quotation the way opening it in the program does: the old format by its extension (or
// when asked for), the quotation file format otherwise. Reports the failure and returns nothing
// when the file cannot be read.
std::optional<kerbina::QuotationData> readQuotation(const std::filesystem::path& path,
                                                    const kerbina::MainSettings& settings,
                                                    bool version1) {
    try {
        if (!version1) {
            return kerbina::readQuotationFile(path);
        }
        // The old format has no grand-total settings: a new quotation's apply.
        kerbina::QuotationData data = kerbina::importVersion1File(path);
        data.header.keta = settings.headerKeta;
        data.header.cutLevel = settings.headerCutLevel;
        return data;
    } catch (const kerbina::QuotationFileError& error) {
        reportFailure(path, error.line(), error.detail());
    } catch (const kerbina::FileError& error) {
        reportFailure(path, 0, error.what());
    }
    return std::nullopt;
}

bool writeQuotation(const std::filesystem::path& path, const kerbina::QuotationData& data,
                    bool itemNameLine) {
    try {
        kerbina::QuotationWriteOptions options;
        options.itemNameLine = itemNameLine;
        kerbina::writeQuotationFile(path, data, options);
        return true;
    } catch (const kerbina::FileError& error) {
        reportFailure(path, 0, error.what());
    }
    return false;
}

// One line per sheet that stopped at a range-sum error; true when there was one.
bool reportSheetErrors(const std::filesystem::path& path,
                       const std::map<int, kerbina::SheetPassResult>& results) {
    bool stopped = false;
    for (const auto& [number, result] : results) {
        if (result.error) {
            std::cerr << "kerbina-cli: " << kerbina::pathText(path) << ": sheet " << number
                      << ", row " << result.error->row << ": "
                      << kerbina::onOneLine(result.error->message) << '\n';
            stopped = true;
        }
    }
    return stopped;
}

// Reads and recomputes the input; nothing, reported, when it cannot be read or a total overflows.
std::optional<std::pair<kerbina::QuotationData, std::map<int, kerbina::SheetPassResult>>>
recomputed(const Arguments& arguments, const kerbina::MainSettings& settings) {
    auto data = readQuotation(arguments.input, settings, kerbina::isVersion1Path(arguments.input));
    if (!data) {
        return std::nullopt;
    }
    try {
        auto results = kerbina::recalculateQuotation(*data, settings.calc, settings.itemNameLine);
        return std::pair{std::move(*data), std::move(results)};
    } catch (const kerbina::CurrencyOverflow& error) {
        reportFailure(arguments.input, 0, kerbina::onOneLine(error.what()));
    }
    return std::nullopt;
}

int runTotals(const Arguments& arguments) {
    const auto settings = settingsFor(arguments.dataRoot);
    if (!settings) {
        return kFailed;
    }
    const auto quotation = recomputed(arguments, *settings);
    if (!quotation) {
        return kFailed;
    }
    const auto& [data, results] = *quotation;
    std::cout << kerbina::totalsReportJson(data, results);
    return reportSheetErrors(arguments.input, results) ? kRangeSumError : 0;
}

int runRecalc(const Arguments& arguments) {
    const auto settings = settingsFor(arguments.dataRoot);
    if (!settings || !kerbina::cli::outputMayBeWritten(*arguments.output)) {
        return kFailed;
    }
    const auto quotation = recomputed(arguments, *settings);
    if (!quotation) {
        return kFailed;
    }
    const auto& [data, results] = *quotation;
    reportSheetErrors(arguments.input, results);
    return writeQuotation(*arguments.output, data, settings->itemNameLine) ? 0 : kFailed;
}

int runImport(const Arguments& arguments) {
    if (!kerbina::cli::outputMayBeWritten(*arguments.output)) {
        return kFailed;
    }
    const kerbina::MainSettings settings = *settingsFor(std::nullopt);
    const auto data = readQuotation(arguments.input, settings, true);
    if (!data) {
        return kFailed;
    }
    return writeQuotation(*arguments.output, *data, settings.itemNameLine) ? 0 : kFailed;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::cerr << kUsage;
        return kUsageError;
    }
    const std::string_view command = argv[1];
    if (command == "--version") {
        std::cout << "kerbina-cli " << KERBINA_VERSION << '\n';
        return 0;
    }
    if (command == "--help" || command == "-h") {
        std::cout << kUsage;
        return 0;
    }
    const std::vector<std::string_view> words(argv + 2, argv + argc);
    if (command == "list") {
        const int status = kerbina::cli::runList(words);
        if (status == kUsageError) {
            std::cerr << '\n' << kUsage;
        }
        return status;
    }
    if (command == "prices") {
        return kerbina::cli::runPrices(words, kUsage);
    }
    const kerbina::cli::ToolServices services{
        .usage = kUsage,
        .settings = settingsFor,
        .recomputed = [](const std::filesystem::path& file, const kerbina::MainSettings& settings)
            -> std::optional<kerbina::QuotationData> {
            auto quotation = recomputed(Arguments{file, std::nullopt, std::nullopt}, settings);
            if (!quotation) {
                return std::nullopt;
            }
            reportSheetErrors(file, quotation->second);
            return std::move(quotation->first);
        },
    };
    if (command == "takeoff") {
        try {
            return kerbina::cli::runTakeoff(words, services);
        } catch (const std::exception& error) {
            std::cerr << "kerbina-cli: " << error.what() << '\n';
            return kFailed;
        }
    }
    try {
        if (const auto status = kerbina::cli::runDatabaseCommand(command, words, services)) {
            return *status;
        }
    } catch (const std::exception& error) {
        std::cerr << "kerbina-cli: " << error.what() << '\n';
        return kFailed;
    }
    const struct {
        std::string_view name;
        bool output;
        bool dataRoot;
        int (*run)(const Arguments&);
    } commands[] = {
        {"totals", false, true, runTotals},
        {"recalc", true, true, runRecalc},
        {"import-krb", true, false, runImport},
    };
    for (const auto& entry : commands) {
        if (command != entry.name) {
            continue;
        }
        const auto arguments = parseArguments(words, entry.output, entry.dataRoot);
        if (!arguments) {
            std::cerr << "kerbina-cli: wrong arguments for " << command << "\n\n" << kUsage;
            return kUsageError;
        }
        try {
            return entry.run(*arguments);
        } catch (const std::exception& error) {
            std::cerr << "kerbina-cli: " << error.what() << '\n';
            return kFailed;
        }
    }
    std::cerr << "kerbina-cli: unknown command: " << command << "\n\n" << kUsage;
    return kUsageError;
}
