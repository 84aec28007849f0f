#include "output/print_data.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "calc/totals.h"
#include "document/quotation_file.h"
#include "document/work_store.h"

#include <algorithm>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kUnitCostPrintFields = 28;
constexpr int kQuotationNumberWidth = 12; // [NUMBER] Str[12]

bool isRefusedInFileName(unsigned char c) {
    return c < 0x20 || c == 0x7f ||
           std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

// A field of the viewer's argument in double quotes, a double quote inside it doubled, so that no
// path can end its field early or add one.
std::string inQuotes(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\";";
}

} // namespace

fs::path printFolder(const fs::path& dataRoot) {
    return dataRoot / std::string(kPrintFolderName);
}

std::string fileNameOfNumber(std::string_view quotationNumber) {
    std::string name;
    for (const char c : quotationNumber) {
        name += isRefusedInFileName(static_cast<unsigned char>(c)) ? '_' : c;
    }
    return name;
}

std::string printFileName(std::string_view quotationNumber) {
    return fileNameOfNumber(quotationNumber) + ".dat";
}

void startPrintBatch(const fs::path& dataRoot) {
    const fs::path folder = printFolder(dataRoot);
    createFolders(folder);
    std::vector<fs::path> old;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = pathText(entry.path().filename());
        if (entry.is_regular_file() && hasExtension(entry.path(), ".dat") &&
            !equalsIgnoringAsciiCase(name, kUnitCostPrintFileName)) {
            old.push_back(entry.path());
        }
    }
    for (const fs::path& file : old) {
        removeFile(file);
    }
}

QuotationWriteOptions printWriteOptions(bool itemNameLine, bool unitCostReferences) {
    QuotationWriteOptions options;
    options.itemNameLine = itemNameLine;
    options.unitCostReferences = unitCostReferences;
    options.omitUnlisted = true;
    return options;
}

QuotationData asPrintFile(const QuotationData& data, bool itemNameLine) {
    return readQuotationText(writeQuotationText(data, printWriteOptions(itemNameLine, false)));
}

fs::path printOpenQuotation(DocumentState& state, WorkStore& store, const fs::path& dataRoot,
                            PrintScope scope, bool listMode) {
    if (scope == PrintScope::WholeQuotation) {
        recalculateTotals(state, listMode, 0);
    }
    writeSheetFile(store.workFolder / sheetFileName(state.currentSheetNumber), state.sheet,
                   state.currentSheetNumber);
    saveItemList(state, store, ListMode::Wrk);

    QuotationWriteOptions options = printWriteOptions(state.itemNameLine, state.unitCostReferences);
    if (scope == PrintScope::CurrentSheet) {
        options.singleSheet = state.currentSheetNumber;
    }
    QuotationData data = collectQuotation(state, store.workFolder);
    // A quotation never given a status (-1) prints as 下書き, the status its cover is saved with.
    data.header.status = std::max(data.header.status, 0);
    startPrintBatch(dataRoot);
    const fs::path file = printFolder(dataRoot) / printFileName(state.header.number);
    writeQuotationFile(file, data, options);
    return file;
}

std::vector<fs::path>
writeStoredPrintFiles(const fs::path& dataRoot,
                      const std::vector<std::pair<std::string, std::string>>& quotations) {
    startPrintBatch(dataRoot);
    std::vector<fs::path> files;
    for (const auto& [number, text] : quotations) {
        const fs::path file = printFolder(dataRoot) / printFileName(number);
        writeFileAtomically(file, toCp932(text));
        files.push_back(file);
    }
    return files;
}

NumberCheckResult checkQuotationNumber(const NumberCheckFacts& facts, UserPrompt& prompt) {
    if (facts.hasNumber) {
        return NumberCheckResult::Print;
    }
    if (facts.automaticNumbering) {
        if (!prompt.askYesNo(std::string(kAskIssueNumber))) {
            return NumberCheckResult::Stop;
        }
        if (facts.perCustomer && !facts.hasAddressee) {
            prompt.notify(std::string(kNoAddresseeNotice));
            return NumberCheckResult::Stop;
        }
        return NumberCheckResult::IssueNumber;
    }
    return prompt.askYesNo(std::string(kAskEnterNumber)) ? NumberCheckResult::OpenNumberEntry
                                                         : NumberCheckResult::Stop;
}

std::string releaseVersionText() {
    return std::string("Release Version ") + KERBINA_VERSION;
}

std::string viewerArgument(std::string_view reductionMark, const fs::path& dataRoot,
                           std::string_view printStyle, std::string_view version) {
    const std::string root = pathText(dataRoot);
    // The mark stands bare, as the viewer has always read it, unless it would end its field early.
    const bool plainMark = reductionMark.find_first_of(";\"") == std::string_view::npos;
    const std::string mark = plainMark ? std::string(reductionMark) + ";" : inQuotes(reductionMark);
    return mark + inQuotes(root) + inQuotes(root) + inQuotes(printStyle) + inQuotes(version);
}

std::string unitCostPrinterArgument(const fs::path& dataRoot) {
    const std::string root = pathText(dataRoot);
    // The printer trims blanks around its argument and takes a quote at either end of the root as
    // quoting, so a root with either at an end goes in quotes; any other root goes as it is.
    const bool quoted = root.empty() || trimBlanks(root).size() != root.size() ||
                        root.front() == '"' || root.back() == '"';
    return quoted ? "\"" + root + "\";" : root + ";";
}

fs::path printProgramPath(const fs::path& installFolder, std::string_view baseName) {
    const fs::path plain = installFolder / std::string(baseName);
    const fs::path windows = installFolder / (std::string(baseName) + ".exe");
    if (!fs::exists(plain) && fs::exists(windows)) {
        return windows;
    }
    return plain;
}

std::string printProgramFailedMessage(const fs::path& program) {
    return "印刷プログラムを起動できませんでした: " + pathText(program);
}

std::optional<PrintRequest> printQuotation(DocumentState& state, WorkStore& store,
                                           const QuotationPrintSettings& settings, PrintScope scope,
                                           bool listMode, UserPrompt& prompt,
                                           const std::function<std::string()>& issueNumber,
                                           const std::function<void()>& openNumberEntry) {
    const NumberCheckFacts facts{!state.header.number.empty(), settings.automaticNumbering,
                                 settings.perCustomer, !state.header.id.empty()};
    switch (checkQuotationNumber(facts, prompt)) {
    case NumberCheckResult::Stop:
        return std::nullopt;
    case NumberCheckResult::OpenNumberEntry:
        openNumberEntry();
        return std::nullopt;
    case NumberCheckResult::IssueNumber:
        state.header.number = fitToWidth(issueNumber(), kQuotationNumberWidth);
        if (state.header.number.empty()) {
            return std::nullopt;
        }
        break;
    case NumberCheckResult::Print:
        break;
    }
    printOpenQuotation(state, store, settings.dataRoot, scope, listMode);
    return PrintRequest{printProgramPath(settings.installFolder, kViewerProgramName),
                        viewerArgument(settings.reductionMark, settings.dataRoot,
                                       settings.printStyle, releaseVersionText())};
}

std::optional<PrintRequest>
printStoredQuotations(const QuotationPrintSettings& settings,
                      const std::vector<std::pair<std::string, std::string>>& marked,
                      UserPrompt& prompt) {
    if (marked.empty()) {
        prompt.notify(std::string(kNothingMarkedNotice));
        return std::nullopt;
    }
    writeStoredPrintFiles(settings.dataRoot, marked);
    return PrintRequest{printProgramPath(settings.installFolder, kViewerProgramName),
                        viewerArgument(settings.reductionMark, settings.dataRoot,
                                       settings.printStyle, releaseVersionText())};
}

PrintRequest printFromBreakdownList(DocumentState& state, WorkStore& store,
                                    const QuotationPrintSettings& settings) {
    saveItemList(state, store, ListMode::Wrk);
    return PrintRequest{printProgramPath(settings.installFolder, kViewerProgramName), std::nullopt};
}

PrintRequest printUnitCostBreakdowns(const QuotationPrintSettings& settings,
                                     const std::vector<std::string>& breakdowns) {
    writeUnitCostPrintFiles(settings.dataRoot, settings.installFolder, breakdowns);
    return PrintRequest{printProgramPath(settings.installFolder, kUnitCostPrinterProgramName),
                        unitCostPrinterArgument(settings.dataRoot)};
}

std::vector<std::string> unitCostPrintConfLines(const fs::path& dataRoot,
                                                const fs::path& installFolder,
                                                std::string_view version) {
    return {"[Version]=" + std::string(version), "[Application_Title]=代価表印刷",
            "[STYLE_FILE]=" + pathText(dataRoot / "style" / "ex_data" / "A4横_代価表.dkp"),
            "[Icon_File]=" + pathText(installFolder / "Application.ico"), "[File_Mask]=dkp"};
}

std::vector<std::string> unitCostPrintLines(const std::vector<std::string>& breakdowns) {
    std::vector<std::string> lines;
    for (std::size_t n = 0; n < breakdowns.size(); ++n) {
        const std::vector<std::string_view> fields = splitFields(breakdowns[n], ';');
        std::string line = std::to_string(n + 1) + ";";
        for (std::size_t field = 1; field <= kUnitCostPrintFields; ++field) {
            if (field < fields.size()) {
                line += fields[field];
            }
            line += ';';
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void writeUnitCostPrintFiles(const fs::path& dataRoot, const fs::path& installFolder,
                             const std::vector<std::string>& breakdowns) {
    const fs::path folder = printFolder(dataRoot);
    createFolders(folder);
    writeTextLines(folder / std::string(kUnitCostPrintConfName),
                   unitCostPrintConfLines(dataRoot, installFolder, releaseVersionText()));
    writeTextLines(folder / std::string(kUnitCostPrintFileName), unitCostPrintLines(breakdowns));
}

} // namespace kerbina
