#include "document/quotation_file.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "records/item_settings.h"
#include "records/line_kinds.h"
#include "records/line_text.h"
#include "records/takeoff_text.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>

namespace kerbina {

QuotationFileError::QuotationFileError(int line, const std::string& detail)
    : UserError(detail), line_(line), detail_(detail) {}

QuotationFileError::QuotationFileError(const std::filesystem::path& file,
                                       const QuotationFileError& error)
    : UserError(problemText(file, error.line(), error.detail())), line_(error.line()),
      detail_(error.detail()), file_(file) {}

std::string problemText(const std::filesystem::path& file, int line, const std::string& message) {
    std::string text = pathText(file);
    if (line > 0) {
        text += " の " + std::to_string(line) + " 行目";
    }
    return text + ": " + message;
}

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Number fields of the title and item sections: the empty text and "" read as 0.
bool isEmptyNumber(std::string_view text) {
    text = trimBlanks(text);
    return text.empty() || text == "\"\"";
}

class TextWriter {
public:
    void line(std::string_view text) {
        text_ += text;
        text_ += kCrLf;
    }
    void entry(std::string_view key, std::string_view value) {
        text_ += key;
        text_ += withoutLineBreaks(value);
        text_ += kCrLf;
    }
    void entry(std::string_view key, Currency value) { entry(key, value.toString()); }
    void entry(std::string_view key, std::int32_t value) { entry(key, std::to_string(value)); }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

// The Currency text form of a sum that may leave the Currency range: the welfare sums are written
// for the print viewer only, and no sum of stored amounts may stop a save.
std::string wideMoneyText(WideInt raw) {
    if (raw >= std::numeric_limits<std::int64_t>::min() &&
        raw <= std::numeric_limits<std::int64_t>::max()) {
        return Currency::fromRaw(static_cast<std::int64_t>(raw)).toString();
    }
    const bool negative = raw < 0;
    auto magnitude = static_cast<UnsignedWideInt>(negative ? -raw : raw);
    const auto fraction = static_cast<int>(magnitude % Currency::kScale);
    magnitude /= Currency::kScale;
    std::string whole;
    do {
        whole.insert(whole.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    std::string text = (negative ? "-" : "") + whole;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        text += "." + digits.substr(0, digits.find_last_not_of('0') + 1);
    }
    return text;
}

int lineOfFirstNonAscii(std::string_view bytes) {
    const auto beyond = std::find_if(bytes.begin(), bytes.end(),
                                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return static_cast<int>(std::count(bytes.begin(), beyond, '\n')) + 1;
}

const Sheet* sheetOf(const QuotationData& data, int number) {
    if (number < 0 || static_cast<std::size_t>(number) >= data.sheets.size()) {
        return nullptr;
    }
    return &data.sheets[number];
}

int lineCountOf(const Sheet* sheet) {
    return sheet == nullptr || sheet->empty() ? 0 : static_cast<int>(sheet->size()) - 1;
}

void writeTitle(TextWriter& out, const QuotationData& data, const QuotationWriteOptions& options) {
    const QuotationHeader& header = data.header;
    out.entry("[NUMBER_ID]=", header.id);
    out.entry("[id]=", header.id);
    out.entry("[ATESAKI_1]=", header.addressee1);
    out.entry("[ATESAKI_2]=", header.addressee2);
    out.entry("[CONSTRACT_1]=", header.siteName1);
    out.entry("[CONSTRACT_2]=", header.siteName2);
    if (options.singleSheet > 0) {
        const ItemRecord& item = data.items[options.singleSheet];
        out.entry("[ALLGTOTAL]=", item.submittedTotal);
        out.entry("[ALLNTOTAL]=", item.netTotal);
        out.entry("[TAXGTOTAL]=", item.submittedTax);
        out.entry("[TAXNTOTAL]=", item.laborTotal);
        WideInt welfare = 0;
        if (const Sheet* sheet = sheetOf(data, options.singleSheet)) {
            for (int row = 1; row <= lineCountOf(sheet); ++row) {
                if ((*sheet)[row].kind == LineKind::Welfare) {
                    welfare += (*sheet)[row].submittedAmount.raw();
                }
            }
        }
        out.entry("[GHOTEITOTAL]=", wideMoneyText(welfare));
    } else {
        out.entry("[ALLGTOTAL]=", header.submittedGrandTotal);
        out.entry("[ALLNTOTAL]=", header.netGrandTotal);
        out.entry("[TAXGTOTAL]=", header.submittedTaxTotal);
        out.entry("[TAXNTOTAL]=", header.netTaxTotal);
        WideInt welfareNet = 0;
        WideInt welfareSubmitted = 0;
        for (int n = 1; n <= data.itemMax(); ++n) {
            if (data.items[n].kind == ItemKind::Welfare) {
                welfareNet += data.items[n].netTotal.raw();
                welfareSubmitted += data.items[n].submittedTotal.raw();
            }
        }
        out.entry("[NHOTEITOTAL]=", wideMoneyText(welfareNet));
        out.entry("[GHOTEITOTAL]=", wideMoneyText(welfareSubmitted));
    }
    out.entry("[WHERE]=", header.workName);
    out.entry("[MLIMIT]=", header.validity);
    out.entry("[ULIMIT]=", header.deliveryDate);
    out.entry("[TRADE]=", header.tradeTerms);
    out.entry("[NUMBER]=", header.number);
    out.entry("[KEISYO]=", header.honorific);
    out.entry("[DY]=", header.storedYear);
    out.entry("[DM]=", header.month);
    out.entry("[DD]=", header.day);
    out.entry("[INTANTO]=", header.author);
    out.entry("[OUTTANTO]=", header.requester);
    out.entry("[DATALEVEL]=", header.dataLevel);
    out.entry("[KEYCODE]=", header.keyCode);
    out.entry("[Opt1Str]=", header.opt1Str);
    out.entry("[Opt2Str]=", header.opt2Str);
    out.entry("[Opt3Str]=", header.opt3Str);
    out.entry("[Opt1Int]=", header.opt1Int);
    out.entry("[Opt2Int]=", header.opt2Int);
    out.entry("[Opt3Int]=", header.opt3Int);
    out.entry("[KETA]=", header.keta);
    out.entry("[CUTLEVEL]=", header.cutLevel);
    out.entry("[STATUS]=", header.status);
    out.entry("[ItemMax]=", options.singleSheet > 0 ? 1 : std::max(data.itemMax(), 0));
    out.entry("[Tax_opt_1]=", data.taxOffset.value_or(Currency()));
}

std::string itemLine(const ItemRecord& item) {
    std::string text = std::to_string(item.kind.code());
    const auto add = [&text](std::string_view field) {
        text += ';';
        text += field;
    };
    add(asSeparatedField(item.name));
    add(item.submittedTotal.toString());
    add(item.netTotal.toString());
    add(item.setAmountRounding.toString());
    add(item.setExpenseRounding.toString());
    add(item.setQuantityDecimals.toString());
    add(item.setTotalLevel.toString());
    add(item.setLaborRounding.toString());
    add(std::to_string(item.subKind.raw()));
    add(item.setTotalRounding.toString());
    add(asSeparatedField(item.note));
    add(item.submittedTax.toString());
    add(item.laborTotal.toString());
    return text;
}

// The page reference of a line priced from a unit-cost breakdown sheet: fifteen sheets a page.
std::optional<std::string> unitCostReference(const std::vector<std::string>& entries,
                                             const std::string& priceCode) {
    const std::string key = priceCode + ";";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].find(key) != std::string::npos) {
            return "代価表 P-" + std::to_string(i / 15 + 1) + " No." + std::to_string(i + 1);
        }
    }
    return std::nullopt;
}

void writeSheet(TextWriter& out, int number, const ItemRecord& item, const Sheet& sheet,
                const QuotationWriteOptions& options,
                const std::vector<std::string>& unitCostBreakdowns) {
    // An empty list (not even the scratch slot) stands for a sheet without a work file.
    if (skipsDataSection(item.kind) || sheet.empty()) {
        return;
    }
    const int count = lineCountOf(&sheet);
    const Currency decimals = sheetQuantityDecimals(item);
    const auto isTitle = [&](int row) {
        return row <= count && sheet[row].kind == LineKind::Title;
    };
    // The title line goes in front only where the sheet pass would put it: a line in front of a
    // sheet that holds its title further down would move every row, and every range would then
    // cover other lines once the file is read back. The reader drops the first of two leading
    // title lines (the one older writers always added), so a sheet that itself starts with two
    // gets one more in front to come back whole.
    const bool titleWanted =
        options.itemNameLine && !item.name.empty() && !hasReachableTitleLine(sheet);
    if (titleWanted || (isTitle(1) && isTitle(2))) {
        LineRecord title;
        title.nameSpec = asSeparatedField(item.name);
        title.kind = LineKind::Title;
        out.line(lineToText(number, title, decimals));
    }
    for (int row = 1; row <= count; ++row) {
        const LineRecord& source = sheet[row];
        if (options.omitUnlisted && source.hiddenFlag == 1) {
            continue;
        }
        LineRecord line = source;
        if (line.kind == LineKind::SumLine) {
            line.netAmount = item.netTotal;
            line.submittedAmount = item.submittedTotal;
        }
        if (options.unitCostReferences && !line.priceCode.empty()) {
            if (auto reference = unitCostReference(unitCostBreakdowns, source.priceCode)) {
                line.note = std::move(*reference);
            }
        }
        out.line(lineToText(number, line, decimals));
    }
}

void writeTakeoffEntries(TextWriter& out,
                         const std::map<int, std::vector<TakeoffRecord>>& entriesBySheet) {
    for (const auto& [number, entries] : entriesBySheet) {
        for (TakeoffRecord entry : entries) {
            entry.sheet = number;
            out.line(takeoffToText(entry));
        }
    }
}

void writeSheetTexts(TextWriter& out, const std::map<int, std::vector<std::string>>& sections) {
    for (const auto& [number, lines] : sections) {
        for (const std::string& text : lines) {
            out.line(std::to_string(number) + ";" + withoutLineBreaks(text));
        }
    }
}

std::string unitCostBlock(const std::vector<std::string>& entries) {
    std::string block;
    for (const std::string& entry : entries) {
        if (!block.empty()) {
            block += kCrLf;
        }
        block += withoutLineBreaks(entry);
    }
    return std::string(trimBlanks(block));
}

// The items (and sheets) a file holds: all of them, or the one of a single-sheet file.
std::pair<int, int> sheetsWritten(const QuotationData& data, const QuotationWriteOptions& options) {
    if (options.singleSheet > 0) {
        return {options.singleSheet, options.singleSheet};
    }
    return {1, data.itemMax()};
}

// Reads a whole quotation file into memory, section by section, and stops at the first thing it
// cannot accept; nothing outside the reader sees a quotation until all of it has been read.
class QuotationReader {
public:
    explicit QuotationReader(std::string_view utf8) : lines_(splitTextLineViews(utf8)) {
        // A file cut short ends inside a line: that half line is no line of the file. Only the
        // end marker itself may go without its line end.
        if (!utf8.empty() && utf8.back() != '\n' && !isMarker(lines_.back(), "</EOF>")) {
            problem(static_cast<int>(lines_.size()),
                    "ファイルが途中で切れています（最後の行に改行がありません）: " +
                        excerpt(lines_.back()));
            lines_.pop_back();
        }
    }

    QuotationReading read() {
        readTitle();
        readItems();
        readSheets();
        readTakeoffEntries();
        readAggregationSettings();
        readUnitCosts();
        if (problems_.empty() &&
            std::none_of(lines_.begin(), lines_.end(),
                         [](std::string_view line) { return isMarker(line, "</EOF>"); })) {
            problem(static_cast<int>(lines_.size()),
                    "ファイルが途中で切れています（</EOF>がありません）。");
        }
        return QuotationReading{std::move(data_), std::move(problems_), datePartsRead_ == 3};
    }

private:
    [[noreturn]] void fail(int line, const std::string& message) const {
        throw QuotationFileError(line, message);
    }

    void problem(int line, std::string message) {
        problems_.push_back(QuotationFileProblem{line, std::move(message)});
    }

    // The current line's number (1-based) once `next` has returned it.
    int lineNumber() const { return static_cast<int>(position_); }

    const std::string_view* next() {
        if (position_ >= lines_.size()) {
            return nullptr;
        }
        return &lines_[position_++];
    }

    static bool isMarker(std::string_view line, std::string_view marker) {
        return trimBlanks(line) == marker;
    }

    // Moves past `marker`. A missing section leaves the position alone, so the sections after
    // it are still found.
    bool skipTo(std::string_view marker) {
        const std::size_t start = position_;
        while (const std::string_view* line = next()) {
            if (isMarker(*line, marker)) {
                return true;
            }
        }
        position_ = start;
        return false;
    }

    // Sheet numbers count from 1. Take-off and aggregation lines are kept by number whatever it
    // is; the lines of a sheet only when an item owns them (see readSheets).
    int checkedSheetNumber(std::int64_t number) const {
        if (number < 1 || number > std::numeric_limits<std::int32_t>::max()) {
            fail(lineNumber(), "シート番号が正しくありません: " + std::to_string(number));
        }
        return static_cast<int>(number);
    }

    [[noreturn]] void failNumber() const {
        fail(lineNumber(), "数値が正しくありません: " + excerpt(lines_[position_ - 1]));
    }

    Currency money(std::string_view text) const {
        try {
            return parseNumber(text);
        } catch (const NumberFormatError&) {
        } catch (const CurrencyOverflow&) {
        }
        failNumber();
    }

    std::int32_t integer(std::string_view text) const {
        if (isEmptyNumber(text)) {
            return 0;
        }
        if (auto value = parseInteger32(text, IntegerText::Lenient)) {
            return *value;
        }
        failNumber();
    }

    void readTitle() {
        const std::string_view* first = next();
        while (first != nullptr && trimBlanks(*first).empty()) {
            first = next();
        }
        if (first == nullptr || !isMarker(*first, "<TITLE>")) {
            fail(first == nullptr ? 0 : lineNumber(), "見積ファイルではありません。");
        }
        QuotationHeader& header = data_.header;
        header.keta = 0;
        header.cutLevel = Currency::fromRaw(5000);
        for (;;) {
            const std::string_view* line = next();
            if (line == nullptr) {
                fail(0, "見積ファイルではありません。</TITLE>がありません。");
            }
            if (isMarker(*line, "</TITLE>")) {
                break;
            }
            const std::size_t equals = line->find('=');
            if (equals != std::string::npos) {
                readTitleEntry(std::string_view(*line).substr(0, equals),
                               std::string_view(*line).substr(equals + 1));
            }
        }
        if (!itemMax_) {
            fail(lineNumber(), "[ItemMax]がありません。");
        }
        if (header.cutLevel > Currency::fromWhole(1)) {
            header.cutLevel = Currency::fromRaw(5000);
        }
        header.dataLevel = std::max(header.dataLevel, 0);
        if (header.keyCode < 1 || header.keyCode > 5) {
            header.keyCode = 0;
        }
        if (header.honorific.empty()) {
            header.honorific = takeHonorific(header.addressee1);
        }
        if (header.honorific.empty()) {
            header.honorific = takeHonorific(header.addressee2);
        }
    }

    void readTitleEntry(std::string_view key, std::string_view value) {
        QuotationHeader& header = data_.header;
        if (key == "[DY]" || key == "[DM]" || key == "[DD]") {
            ++datePartsRead_;
        }
        const struct {
            std::string_view key;
            std::string* text;
            int width;
        } texts[] = {
            {"[id]", &header.id, 12},
            {"[ATESAKI_1]", &header.addressee1, 50},
            {"[ATESAKI_2]", &header.addressee2, 50},
            {"[CONSTRACT_1]", &header.siteName1, 50},
            {"[CONSTRACT_2]", &header.siteName2, 50},
            {"[WHERE]", &header.workName, 50},
            {"[MLIMIT]", &header.validity, 40},
            {"[ULIMIT]", &header.deliveryDate, 40},
            {"[TRADE]", &header.tradeTerms, 40},
            {"[NUMBER]", &header.number, 12},
            {"[KEISYO]", &header.honorific, 12},
            {"[INTANTO]", &header.author, 20},
            {"[OUTTANTO]", &header.requester, 20},
            {"[Opt1Str]", &header.opt1Str, 80},
            {"[Opt2Str]", &header.opt2Str, 80},
            {"[Opt3Str]", &header.opt3Str, 80},
        };
        for (const auto& field : texts) {
            if (key == field.key) {
                const bool trimmed = key == "[ATESAKI_1]" || key == "[ATESAKI_2]";
                *field.text = fitToWidth(trimmed ? trimBlanks(value) : value, field.width);
                return;
            }
        }
        const struct {
            std::string_view key;
            std::int32_t* value;
        } integers[] = {
            {"[DY]", &header.storedYear},   {"[DM]", &header.month},
            {"[DD]", &header.day},          {"[DATALEVEL]", &header.dataLevel},
            {"[KEYCODE]", &header.keyCode}, {"[Opt1Int]", &header.opt1Int},
            {"[Opt2Int]", &header.opt2Int}, {"[Opt3Int]", &header.opt3Int},
            {"[KETA]", &header.keta},
        };
        for (const auto& field : integers) {
            if (key == field.key) {
                *field.value = integer(value);
                return;
            }
        }
        const struct {
            std::string_view key;
            Currency* value;
        } amounts[] = {
            {"[ALLGTOTAL]", &header.submittedGrandTotal},
            {"[ALLTOTAL]", &header.submittedGrandTotal},
            {"[ALLNTOTAL]", &header.netGrandTotal},
            {"[TAXGTOTAL]", &header.submittedTaxTotal},
            {"[TAXNTOTAL]", &header.netTaxTotal},
            {"[CUTLEVEL]", &header.cutLevel},
        };
        for (const auto& field : amounts) {
            if (key == field.key) {
                *field.value = money(value);
                return;
            }
        }
        if (key == "[STATUS]") {
            header.status = parseInteger32(value, IntegerText::Lenient).value_or(0);
        } else if (key == "[ItemMax]") {
            itemMax_ = integer(value);
        } else if (key == "[Tax_opt_1]") {
            data_.taxOffset = money(value);
        }
    }

    // The honorific typed at the end of an addressee when the file has none of its own: only a
    // trailing "御中", "様", "係" or "行" counts, and only that suffix is removed, so that a space
    // inside a person's name stays. A trailing "行" after "銀" ends a bank's name, not an
    // honorific.
    static std::string takeHonorific(std::string& addressee) {
        const std::string_view body = trimTrailingBlanksAndFullWidthSpaces(addressee);
        for (std::string_view honorific : {"御中", "様", "係", "行"}) {
            if (body.size() <= honorific.size() || !body.ends_with(honorific)) {
                continue;
            }
            const std::string_view name = body.substr(0, body.size() - honorific.size());
            if (honorific == "行" && name.ends_with("銀")) {
                break;
            }
            addressee = std::string(trimTrailingBlanksAndFullWidthSpaces(name));
            return std::string(honorific);
        }
        return std::string();
    }

    void readItems() {
        if (!skipTo("<ITEM>")) {
            fail(0, "見積ファイルではありません。<ITEM>がありません。");
        }
        const std::int32_t count = *itemMax_;
        data_.items.assign(1, ItemRecord{});
        for (;;) {
            const std::string_view* line = next();
            if (line == nullptr) {
                fail(0, "見積ファイルではありません。</ITEM>がありません。");
            }
            if (isMarker(*line, "</ITEM>")) {
                break;
            }
            data_.items.push_back(readItem(*line));
        }
        // Every item line is kept: dropping the ones beyond [ItemMax] would drop their sheets.
        if (data_.itemMax() != std::max(count, 0)) {
            problem(lineNumber(), "[ItemMax]=" + std::to_string(count) + " と内訳の行数 " +
                                      std::to_string(data_.itemMax()) + " が一致しません。");
        }
        if (data_.itemMax() < 1) {
            data_.items.push_back(newSheetItem());
        }
    }

    ItemRecord readItem(std::string_view line) const {
        std::vector<std::string_view> fields = splitFields(line, ';');
        fields.resize(std::max<std::size_t>(fields.size(), 14));
        ItemRecord item;
        item.kind = parseInteger32(fields[0], IntegerText::Lenient).value_or(1);
        item.name = fitToWidth(fields[1], kItemNameWidth);
        item.submittedTotal = money(fields[2]);
        item.netTotal = money(fields[3]);
        item.setAmountRounding = money(fields[4]);
        item.setExpenseRounding = money(fields[5]);
        item.setQuantityDecimals = money(fields[6]);
        item.setTotalLevel = money(fields[7]);
        item.setLaborRounding = money(fields[8]);
        item.subKind = Currency::fromRaw(parseInteger(fields[9], IntegerText::Lenient).value_or(0));
        item.setTotalRounding = money(fields[10]);
        item.note = fitToWidth(fields[11], kItemNoteWidth);
        item.submittedTax = money(fields[12]);
        item.laborTotal = money(fields[13]);
        return item;
    }

    Sheet& sheet(int number) {
        if (static_cast<std::size_t>(number) >= data_.sheets.size()) {
            data_.sheets.resize(number + 1);
        }
        Sheet& lines = data_.sheets[number];
        if (lines.empty()) {
            lines.emplace_back();
        }
        return lines;
    }

    // Lines of a sheet whose item does not exist, or has no sheet in a file, would be dropped by
    // the next save: they are reported (once per sheet) and left out.
    bool ownedByAnItem(int number) {
        const bool owned = number <= data_.itemMax() &&
                           !skipsDataSection(data_.items[static_cast<std::size_t>(number)].kind);
        if (!owned && unownedSheets_.insert(number).second) {
            problem(lineNumber(),
                    number > data_.itemMax()
                        ? "シート " + std::to_string(number) + " の内訳がありません。" +
                              "このシートの行は読み込めません: " + excerpt(lines_[position_ - 1])
                        : "内訳 " + std::to_string(number) + " は明細を持たない種類です。" +
                              "このシートの行は読み込めません: " + excerpt(lines_[position_ - 1]));
        }
        return owned;
    }

    // A sheet number of -1 ends the lines as "</DATA>" does. Lines between the two would be
    // dropped without a word: they are reported.
    void reportLinesAfterEnd() {
        int dropped = 0;
        for (std::size_t at = position_; at < lines_.size() && !isMarker(lines_[at], "</DATA>");
             ++at) {
            if (!trimBlanks(lines_[at]).empty()) {
                ++dropped;
            }
        }
        if (dropped > 0) {
            problem(lineNumber(), "シート番号 -1 で明細が終わっています。この後の " +
                                      std::to_string(dropped) + " 行は読み込めません。");
        }
    }

    void readSheets() {
        // Sheet 1 always exists; any other sheet only when the file has lines for it.
        data_.sheets.assign(data_.items.size(), Sheet{});
        data_.sheets[1].emplace_back();
        if (skipTo("<DATA>")) {
            while (const std::string_view* line = next()) {
                const std::string_view first = std::string_view(*line).substr(0, line->find(';'));
                const auto number = parseInteger(first, IntegerText::Lenient);
                // The end marker, or a sheet number of -1, closes the section.
                if (!number) {
                    break;
                }
                if (*number == -1) {
                    reportLinesAfterEnd();
                    break;
                }
                const int owner = checkedSheetNumber(*number);
                if (!ownedByAnItem(owner)) {
                    continue;
                }
                Sheet& lines = sheet(owner);
                try {
                    lines.push_back(lineFromText(*line).line);
                } catch (const NumberFormatError&) {
                    failNumber();
                } catch (const CurrencyOverflow&) {
                    failNumber();
                }
            }
        }
        // Writers that always put the item name first left a second title line in front of the
        // one the sheet already had; keeping both would shift every row of the sheet.
        for (Sheet& lines : data_.sheets) {
            if (lines.size() >= 3 && lines[1].kind == LineKind::Title &&
                lines[2].kind == LineKind::Title) {
                lines.erase(lines.begin() + 1);
            }
        }
    }

    // A section whose lines start with a sheet number: `take(sheet, line)` for each line.
    template <typename Take>
    void readSheetSection(std::string_view open, std::string_view close, const std::string& what,
                          const Take& take) {
        if (!skipTo(open)) {
            return;
        }
        while (const std::string_view* line = next()) {
            if (isMarker(*line, close)) {
                return;
            }
            if (trimBlanks(*line).empty()) {
                continue;
            }
            const std::string_view first = std::string_view(*line).substr(0, line->find(';'));
            const auto number = parseInteger(first, IntegerText::Lenient);
            if (!number) {
                fail(lineNumber(), what + "の先頭がシート番号ではありません: " + excerpt(first));
            }
            take(checkedSheetNumber(*number), *line);
        }
    }

    void readTakeoffEntries() {
        readSheetSection("<PICKUP>", "</PICKUP>", "拾出データ",
                         [this](int sheet, std::string_view line) {
                             TakeoffRecord entry;
                             try {
                                 entry = takeoffFromText(line);
                             } catch (const NumberFormatError&) {
                                 failNumber();
                             } catch (const CurrencyOverflow&) {
                                 failNumber();
                             }
                             entry.sheet = sheet;
                             data_.takeoffEntries[sheet].push_back(std::move(entry));
                         });
    }

    void readAggregationSettings() {
        readSheetSection(
            "<CONFIG>", "</CONFIG>", "集計設定", [this](int sheet, std::string_view line) {
                const std::size_t separator = line.find(';');
                data_.configLines[sheet].emplace_back(separator == std::string_view::npos
                                                          ? std::string_view()
                                                          : line.substr(separator + 1));
            });
    }

    void readUnitCosts() {
        if (!skipTo("<DAIKA>")) {
            return;
        }
        auto& entries = data_.unitCostBreakdowns;
        while (const std::string_view* line = next()) {
            if (isMarker(*line, "</DAIKA>")) {
                break;
            }
            // The writer trims the block as a whole; trimming every entry keeps an entry with
            // blanks around it from sorting differently once it has been first or last.
            if (const std::string_view entry = trimBlanks(*line); !entry.empty()) {
                entries.emplace_back(entry);
            }
        }
        std::sort(entries.begin(), entries.end());
        entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    }

    std::vector<std::string_view> lines_; // views into the text being read
    std::size_t position_ = 0;
    std::optional<std::int32_t> itemMax_;
    QuotationData data_;
    std::vector<QuotationFileProblem> problems_;
    int datePartsRead_ = 0;
    std::set<int> unownedSheets_;
};

} // namespace

std::string quotationHeadText(const QuotationData& data, const QuotationWriteOptions& options) {
    if (options.singleSheet != 0 &&
        (options.singleSheet < 0 || options.singleSheet > data.itemMax())) {
        throw std::out_of_range("writeQuotationText: no item " +
                                std::to_string(options.singleSheet));
    }
    TextWriter out;
    out.line("<TITLE>");
    writeTitle(out, data, options);
    out.line("</TITLE>");

    const auto [first, last] = sheetsWritten(data, options);
    out.line("<ITEM>");
    for (int n = first; n <= last; ++n) {
        out.line(itemLine(data.items[n]));
    }
    out.line("</ITEM>");
    out.line("<DATA>");
    return out.take();
}

std::string sheetBlockText(int number, const ItemRecord& item, const Sheet& sheet,
                           const QuotationWriteOptions& options,
                           const std::vector<std::string>& unitCostBreakdowns) {
    TextWriter out;
    writeSheet(out, number, item, sheet, options, unitCostBreakdowns);
    return out.take();
}

std::string quotationTailText(const QuotationData& data) {
    TextWriter out;
    out.line("</DATA>");
    out.line("<PICKUP>");
    writeTakeoffEntries(out, data.takeoffEntries);
    out.line("</PICKUP>");
    out.line("<CONFIG>");
    writeSheetTexts(out, data.configLines);
    out.line("</CONFIG>");

    out.line("<DAIKA>");
    if (const std::string block = unitCostBlock(data.unitCostBreakdowns); !block.empty()) {
        out.line(block);
    }
    out.line("</DAIKA>");
    out.line("</EOF>");
    return out.take();
}

std::string writeQuotationText(const QuotationData& data, const QuotationWriteOptions& options) {
    std::string text = quotationHeadText(data, options);
    const auto [first, last] = sheetsWritten(data, options);
    const Sheet noSheet;
    for (int n = first; n <= last; ++n) {
        const Sheet* sheet = sheetOf(data, n);
        text += sheetBlockText(n, data.items[n], sheet != nullptr ? *sheet : noSheet, options,
                               data.unitCostBreakdowns);
    }
    text += quotationTailText(data);
    return text;
}

QuotationReading readQuotationTextLeniently(std::string_view utf8) {
    return QuotationReader(utf8).read();
}

QuotationData readQuotationText(std::string_view utf8) {
    QuotationReading reading = readQuotationTextLeniently(utf8);
    if (!reading.problems.empty()) {
        const QuotationFileProblem& first = reading.problems.front();
        throw QuotationFileError(first.line, first.message);
    }
    return std::move(reading.data);
}

void writeQuotationFile(const std::filesystem::path& path, const QuotationData& data,
                        const QuotationWriteOptions& options) {
    writeFileAtomically(path, toCp932(writeQuotationText(data, options)));
}

QuotationReading readQuotationFileLeniently(const std::filesystem::path& path) {
    const std::string bytes = readRegularFile(path);
    std::optional<std::string> text = fromCp932Exactly(bytes);
    try {
        if (!text) {
            if (isUtf8Text(bytes)) {
                throw QuotationFileError(lineOfFirstNonAscii(bytes),
                                         "文字コードが UTF-8 のファイルです。CP932（Shift_JIS）"
                                         "で保存し直してから開いてください。");
            }
            // Stray bytes in a CP932 file: each becomes "〓", as in every other file.
            text = fromCp932(bytes);
        }
        return readQuotationTextLeniently(*text);
    } catch (const QuotationFileError& error) {
        throw QuotationFileError(path, error);
    }
}

QuotationData readQuotationFile(const std::filesystem::path& path) {
    QuotationReading reading = readQuotationFileLeniently(path);
    if (!reading.problems.empty()) {
        const QuotationFileProblem& first = reading.problems.front();
        throw QuotationFileError(path, QuotationFileError(first.line, first.message));
    }
    return std::move(reading.data);
}

} // namespace kerbina
