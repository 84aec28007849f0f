#include "storage/quotation_copy.h"

#include "base/text.h"
#include "base/text_codec.h"
#include "storage/schema.h"
#include "storage/search_index.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace kerbina {
namespace {

long long integerOr(std::string_view text, long long fallback) {
    return parseInteger(trimBlanks(text)).value_or(fallback);
}

std::string twoDigits(long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%02lld", value);
    return text;
}

std::string dateText(const std::chrono::year_month_day& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u 00:00:00", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

const TableDef& quotationTable() {
    for (const TableDef& table : databaseFileDef(DatabaseFile::Quotation).tables) {
        if (table.name == "kerbina") {
            return table;
        }
    }
    throw std::logic_error("the quotation table is not declared");
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += text.empty() ? "" : "\r\n";
        text += line;
    }
    return text;
}

} // namespace

CopyCounter readCopyCounter(Database& quotations) {
    constexpr std::string_view kSelect =
        "SELECT header,keta,number FROM krbconf where conf='KRBCOPY'";
    SqlRows rows = quotations.queryRows(kSelect);
    if (rows.empty()) {
        quotations.execute("INSERT INTO krbconf(conf,header,keta,number,notes) "
                           "VALUES('KRBCOPY','MA','7','1','')");
        rows = quotations.queryRows(kSelect);
    }
    CopyCounter counter;
    if (!rows.empty()) {
        counter.header = rows.front().field(1);
        counter.width = static_cast<int>(integerOr(rows.front().field(2), 0));
        counter.next = integerOr(rows.front().field(3), 0);
    }
    return counter;
}

std::string rewriteHeaderLines(std::string_view text,
                               const std::vector<std::pair<std::string, std::string>>& values) {
    std::string out;
    out.reserve(text.size() + 64);
    bool inHeader = false;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(at, end - at);
        std::string_view content = line;
        while (!content.empty() && (content.back() == '\n' || content.back() == '\r')) {
            content.remove_suffix(1);
        }
        const std::string_view ending = line.substr(content.size());
        at = end;
        if (content == "<TITLE>") {
            inHeader = true;
        } else if (content == "</TITLE>") {
            inHeader = false;
        } else if (inHeader) {
            const auto match = std::find_if(values.begin(), values.end(), [&](const auto& value) {
                const std::string key = "[" + value.first + "]=";
                return content.starts_with(key);
            });
            if (match != values.end()) {
                out += "[" + match->first + "]=" + match->second;
                out += ending;
                continue;
            }
        }
        out += line;
    }
    return out;
}

CopyOutcome copyQuotations(Database& quotations, const std::vector<std::string>& sources,
                           const CopyRequest& request, const CopyClock& clock,
                           const CopyNumberIssuer& issueNumber, UserPrompt& prompt,
                           SearchIndex* index) {
    CopyOutcome outcome;
    if (sources.empty()) {
        return outcome;
    }
    // First every number, checked against the table and against each other.
    std::vector<std::pair<std::string, std::string>> planned;
    std::set<std::string> taken;
    long long counter = request.sequence.next;
    for (const std::string& source : sources) {
        std::optional<std::string> number;
        switch (request.numbering) {
        case CopyNumbering::Automatic:
            number = issueNumber(source);
            break;
        case CopyNumbering::Prefix:
            number = request.addedText + source;
            break;
        case CopyNumbering::Suffix:
            number = source + request.addedText;
            break;
        case CopyNumbering::Sequence:
            number =
                formatQuotationNumber(request.sequence.header, counter++, request.sequence.width);
            break;
        }
        if (!number || number->empty()) {
            outcome.problems.push_back("見積番号を取得できませんでした\r\n" + source);
        } else if (static_cast<int>(toCp932(*number).size()) > kQuotationNumberBytes) {
            outcome.problems.push_back("見積番号が12バイトを超えています\r\n" + *number);
        } else if (taken.contains(*number) ||
                   quotations.queryRows("SELECT count(*) FROM kerbina where krbnumber=?", {*number})
                           .front()
                           .field(1) != "0") {
            outcome.problems.push_back("番号が重複しています\r\n" + *number);
        } else {
            taken.insert(*number);
            planned.emplace_back(source, *number);
        }
    }
    if (!outcome.problems.empty()) {
        prompt.notify(joined(outcome.problems));
    }

    // The statement copies every column of the row, with the new values in their places.
    std::string columns;
    std::string values;
    std::vector<std::string> placed; // the columns given new values, in statement order
    for (const ColumnDef& column : quotationTable().columns) {
        const std::string_view name = column.name;
        const bool replaced =
            name == "krbnumber" || name == "NUMBER" || name == "created" || name == "modified" ||
            name == "data" || (name == "ULIMIT" && request.deliveryDate) ||
            (name == "MLIMIT" && request.validity) || (name == "tag1str" && request.tag);
        columns += columns.empty() ? "" : ",";
        columns += name;
        values += values.empty() ? "" : ",";
        values += replaced ? std::string("?") : std::string(name);
        if (replaced) {
            placed.emplace_back(name);
        }
    }
    const std::string insert =
        "INSERT INTO kerbina(" + columns + ") SELECT " + values + " FROM kerbina WHERE krbnumber=?";
    const std::chrono::year_month_day date = request.date.value_or(clock.today);
    IndexedWrites writes(quotations, index);

    for (const auto& [source, number] : planned) {
        const SqlRows rows =
            quotations.queryRows("SELECT data FROM kerbina where krbnumber=?", {source});
        if (rows.empty()) {
            outcome.problems.push_back("見積番号 " + source + " のデータが見つかりません。");
            continue;
        }
        std::vector<std::pair<std::string, std::string>> header = {{"NUMBER", number}};
        if (request.deliveryDate) {
            header.emplace_back("ULIMIT", *request.deliveryDate);
        }
        if (request.validity) {
            header.emplace_back("MLIMIT", *request.validity);
        }
        if (request.tag) {
            header.emplace_back("Opt1Str", *request.tag);
        }
        if (request.date) {
            header.emplace_back("DY", twoDigits(static_cast<int>(date.year()) - 1988));
            header.emplace_back("DM", twoDigits(static_cast<unsigned>(date.month())));
            header.emplace_back("DD", twoDigits(static_cast<unsigned>(date.day())));
        }
        SqlParams params;
        for (const std::string& name : placed) {
            if (name == "krbnumber" || name == "NUMBER") {
                params.emplace_back(number);
            } else if (name == "created") {
                params.emplace_back(dateText(date));
            } else if (name == "modified") {
                params.emplace_back(clock.now);
            } else if (name == "data") {
                params.emplace_back(rewriteHeaderLines(rows.front().field(1), header));
            } else if (name == "ULIMIT") {
                params.emplace_back(*request.deliveryDate);
            } else if (name == "MLIMIT") {
                params.emplace_back(*request.validity);
            } else {
                params.emplace_back(*request.tag);
            }
        }
        params.emplace_back(source);
        if (writes.write(number, insert, params)) {
            outcome.copied.emplace_back(source, number);
        }
    }

    const long long sequenceCopies =
        request.numbering == CopyNumbering::Sequence ? static_cast<long long>(sources.size()) : 0;
    quotations.executeOrReport(
        "UPDATE krbconf SET header=?,keta=?,number=?,notes='' WHERE conf='KRBCOPY'",
        {request.sequence.header, request.sequence.width, request.sequence.next + sequenceCopies});
    return outcome;
}

std::filesystem::path copyHistoryFile(const std::filesystem::path& tempFolder, int box) {
    return tempFolder / ("copy" + std::to_string(box) + ".lst");
}

void rememberCopyText(std::vector<std::string>& history, const std::string& text) {
    if (text.empty()) {
        return;
    }
    history.erase(std::remove(history.begin(), history.end(), text), history.end());
    history.insert(history.begin(), text);
    if (history.size() > 30) {
        history.resize(30);
    }
}

} // namespace kerbina
