#include "storage/quotation_actions.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "storage/search_index.h"

#include <array>

namespace kerbina {

void QuotationMarks::toggle(const std::string& number) {
    set(number, !isMarked(number));
}

void QuotationMarks::set(const std::string& number, bool marked) {
    if (marked) {
        numbers_.insert(number);
    } else {
        numbers_.erase(number);
    }
}

std::string deleteQuestion(std::size_t count) {
    return std::to_string(count) + "件、削除していいですか？";
}

RowActionResult deleteQuotations(Database& quotations, const std::vector<std::string>& numbers,
                                 SearchIndex* index) {
    RowActionResult result;
    for (const std::string& number : numbers) {
        const std::string stamp = index != nullptr ? index->stampBeforeWrite() : std::string();
        if (quotations.executeOrReport("DELETE FROM kerbina where krbnumber=?", {number})) {
            ++result.done;
            if (index != nullptr) {
                index->noteDeleted(number, stamp);
            }
        } else {
            ++result.failed;
        }
    }
    return result;
}

RowActionResult changeQuotationStatus(Database& quotations, const std::vector<std::string>& numbers,
                                      int code, SearchIndex* index) {
    RowActionResult result;
    if (code < 0 || code > 6) {
        return result;
    }
    for (const std::string& number : numbers) {
        const std::string stamp = index != nullptr ? index->stampBeforeWrite() : std::string();
        if (quotations.executeOrReport("update kerbina SET status=? where krbnumber=?",
                                       {std::to_string(code), number})) {
            ++result.done;
            if (index != nullptr) {
                index->noteChanged(number, stamp);
            }
        } else {
            ++result.failed;
        }
    }
    return result;
}

std::optional<std::filesystem::path> printDataFile(const std::filesystem::path& printFolder,
                                                   std::string_view number) {
    if (number.empty() || number == "." || number == ".." || number.back() == '.' ||
        number.back() == ' ') {
        return std::nullopt;
    }
    for (const char c : number) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return std::nullopt;
        }
    }
    // Device names stay devices on Windows whatever their extension ("CON.dat").
    static constexpr std::array<std::string_view, 22> kDevices = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    const std::string_view stem = number.substr(0, number.find('.'));
    for (const std::string_view device : kDevices) {
        if (equalsIgnoringAsciiCase(stem, device)) {
            return std::nullopt;
        }
    }
    return printFolder / pathFromText(std::string(number) + ".dat");
}

PrintDataResult writePrintDataFiles(Database& quotations, const std::vector<std::string>& numbers,
                                    const std::filesystem::path& printFolder) {
    PrintDataResult result;
    for (const std::string& number : numbers) {
        const auto file = printDataFile(printFolder, number);
        if (!file) {
            result.problems.push_back("見積番号 " + number +
                                      " は印刷用のファイル名に使えない文字を含んでいます。");
            continue;
        }
        const SqlRows rows =
            quotations.queryRows("SELECT data FROM kerbina where krbnumber=?", {number});
        if (rows.empty()) {
            result.problems.push_back("見積番号 " + number + " のデータが見つかりません。");
            continue;
        }
        try {
            createFolders(printFolder);
            writeFileAtomically(*file, toCp932(rows.front().field(1)));
            result.written.push_back(*file);
        } catch (const FileError& error) {
            result.problems.push_back(error.what());
        }
    }
    return result;
}

} // namespace kerbina
