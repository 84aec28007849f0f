#include "printviewer/viewer_request.h"

#include "base/conf_file.h"
#include "base/file_io.h"
#include "base/folders.h"
#include "base/path_text.h"
#include "base/text.h"
#include "document/work_folder.h"
#include "output/print_data.h"
#include "settings/main_settings.h"

#include <algorithm>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

// The fields of the argument, each up to its ";", a quoted one up to its closing quote (a doubled
// quote inside it stands for one).
std::vector<std::string> argumentFields(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (at < text.size()) {
        std::string field;
        if (text[at] == '"') {
            ++at;
            while (at < text.size()) {
                if (text[at] != '"') {
                    field += text[at++];
                } else if (at + 1 < text.size() && text[at + 1] == '"') {
                    field += '"';
                    at += 2;
                } else {
                    ++at;
                    break;
                }
            }
            const std::size_t separator = text.find(';', std::min(at, text.size()));
            at = separator == std::string_view::npos ? text.size() : separator + 1;
        } else {
            const std::size_t separator = text.find(';', at);
            const std::size_t end = separator == std::string_view::npos ? text.size() : separator;
            field = std::string(text.substr(at, end - at));
            at = end + 1;
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

} // namespace

std::optional<ViewerHandoff> parseViewerArgument(std::string_view argument) {
    std::string_view text = trimBlanks(argument);
    // The argument ends with ";"; one that ends with a quote came wrapped in one more pair.
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    const std::vector<std::string> fields = argumentFields(text);
    if (fields.size() < 2 || fields[1].empty()) {
        return std::nullopt;
    }
    ViewerHandoff handoff;
    handoff.reductionMark = fields[0];
    handoff.dataRoot = pathFromText(fields[1]);
    if (fields.size() > 3) {
        handoff.printStyle = fields[3];
    }
    if (fields.size() > 4) {
        handoff.version = fields[4];
    }
    return handoff;
}

std::optional<ViewerRequest> parseViewerCommandLine(const std::vector<std::string>& arguments) {
    ViewerRequest request;
    if (arguments.empty()) {
        request.openQuotation = true;
        return request;
    }
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        request.help = true;
        return request;
    }
    std::size_t at = 0;
    if (at < arguments.size() && arguments[at] == "--pdf") {
        if (at + 1 >= arguments.size()) {
            return std::nullopt;
        }
        request.pdfFile = pathFromText(arguments[at + 1]);
        at += 2;
    }
    if (at + 1 != arguments.size()) {
        return std::nullopt;
    }
    // Whatever names something on the disk is a quotation file: a folder or a FIFO is then refused
    // as the file it is, not read as a mistyped hand-off argument.
    const fs::path asFile = pathFromText(arguments[at]);
    std::error_code error;
    if (fs::exists(fs::symlink_status(asFile, error))) {
        request.quotationFile = asFile;
        return request;
    }
    request.handoff = parseViewerArgument(arguments[at]);
    if (!request.handoff) {
        return std::nullopt;
    }
    return request;
}

PrintSettings readPrintSettings(const fs::path& dataRoot) {
    PrintSettings settings;
    const std::vector<std::string> conf = readSettingsFileLines(dataRoot);
    if (std::string title = firstConfValue(conf, "[TITLE1]"); !title.empty()) {
        settings.siteTitle = std::move(title);
    }
    if (std::string title = firstConfValue(conf, "[TITLE2]"); !title.empty()) {
        settings.workTitle = std::move(title);
    }
    settings.costSplit = lastConfValue(conf, kCostSplitPrintKey) == "TRUE";
    settings.japaneseEra = lastConfValue(conf, kJapaneseEraPrintKey) == "TRUE";
    SettingsSources sources;
    sources.settingsLines = conf;
    settings.calc = readSettings(MainSettings{}, sources).calc;
    const std::vector<std::string> company = readTextLines(dataRoot / "conf" / "USER_DATA.conf");
    const auto value = [&](std::string_view key) {
        return std::string(trimBlanks(lastConfValue(company, key).value_or("")));
    };
    const auto joined = [](const std::string& first, const std::string& second) {
        return first.empty() || second.empty() ? first + second : first + "　" + second;
    };
    const std::string zip = value("[ZIPCODE]");
    const std::string tel = value("[TEL]");
    const std::string fax = value("[FAX]");
    for (std::string line :
         {value("[OFFICE_NAME1]"), value("[OFFICE_NAME2]"), value("[SERVICE]"),
          joined(zip.empty() ? "" : "〒" + zip, value("[ADDRESS1]")), value("[ADDRESS2]"),
          joined(tel.empty() ? "" : "TEL " + tel, fax.empty() ? "" : "FAX " + fax),
          value("[EMAIL]")}) {
        if (!line.empty()) {
            settings.letterhead.push_back(std::move(line));
        }
    }
    return settings;
}

std::optional<fs::path> parseUnitCostPrinterArgument(std::string_view argument) {
    std::string_view text = trimBlanks(argument);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    if (!text.empty() && text.back() == ';') {
        text.remove_suffix(1);
    }
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    return pathFromText(text);
}

std::vector<std::string> readUnitCostPrintData(const fs::path& dataRoot) {
    return readTextLines(printFolder(dataRoot) / std::string(kUnitCostPrintFileName));
}

std::vector<fs::path> printBatchFiles(const fs::path& dataRoot) {
    std::vector<fs::path> files;
    const fs::path folder = printFolder(dataRoot);
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& file = it->path();
        if (it->is_regular_file() && hasExtension(file, ".dat") &&
            !equalsIgnoringAsciiCase(pathText(file.filename()), kUnitCostPrintFileName)) {
            files.push_back(file);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<fs::path> requestInputs(const ViewerRequest& request) {
    if (request.quotationFile) {
        return {*request.quotationFile};
    }
    if (request.handoff) {
        return printBatchFiles(request.handoff->dataRoot);
    }
    return {};
}

fs::path suggestedPdfFile(const fs::path& dataRoot, std::string_view quotationNumber,
                          std::string_view fallbackName) {
    const std::string_view number = trimBlanks(quotationNumber);
    const std::string name =
        number.empty() ? std::string(fallbackName) : fileNameOfNumber(number) + ".pdf";
    return quotationFolder(dataRoot) / pathFromText(name);
}

} // namespace kerbina
