#include "prices/price_list_file.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"

#include <algorithm>
#include <array>
#include <expat.h>
#include <memory>
#include <minizip/unzip.h>
#include <optional>

namespace kerbina {

namespace {

// A row of cells as read, before the header gives them their meaning.
struct CellRow {
    int line = 0;
    std::vector<std::string> cells;
};

bool isEmptyRow(const CellRow& row) {
    return std::all_of(row.cells.begin(), row.cells.end(), [](const std::string& cell) {
        return trimBlanksAndFullWidthSpaces(cell).empty();
    });
}

// The fields of PriceListFileRow in the order of kPriceListHeader.
constexpr std::array<std::string PriceListFileRow::*, 8> kFields = {
    &PriceListFileRow::name,        &PriceListFileRow::specification,  &PriceListFileRow::unit,
    &PriceListFileRow::netPrice,    &PriceListFileRow::submittedPrice, &PriceListFileRow::listPrice,
    &PriceListFileRow::laborFactor, &PriceListFileRow::category};

std::vector<PriceListFileRow> rowsUnderHeader(const std::vector<CellRow>& cellRows) {
    auto header = std::find_if(cellRows.begin(), cellRows.end(),
                               [](const CellRow& row) { return !isEmptyRow(row); });
    if (header == cellRows.end()) {
        throw PriceListFileError("見出し行がありません。");
    }
    // For each column of the file, the field it fills (none for a column of another name).
    std::vector<std::optional<std::size_t>> fieldOfColumn;
    bool hasName = false;
    for (const std::string& cell : header->cells) {
        const std::string_view caption = trimBlanksAndFullWidthSpaces(cell);
        std::optional<std::size_t> field;
        for (std::size_t i = 0; i < std::size(kPriceListHeader); ++i) {
            if (caption == kPriceListHeader[i]) {
                field = i;
                hasName = hasName || i == 0;
            }
        }
        fieldOfColumn.push_back(field);
    }
    if (!hasName) {
        throw PriceListFileError("見出し行に「名称」の列がありません。");
    }
    std::vector<PriceListFileRow> rows;
    for (auto row = std::next(header); row != cellRows.end(); ++row) {
        if (isEmptyRow(*row)) {
            continue;
        }
        PriceListFileRow priceRow;
        priceRow.line = row->line;
        for (std::size_t column = 0; column < row->cells.size() && column < fieldOfColumn.size();
             ++column) {
            if (fieldOfColumn[column]) {
                priceRow.*kFields[*fieldOfColumn[column]] =
                    std::string(trimBlanksAndFullWidthSpaces(row->cells[column]));
            }
        }
        rows.push_back(std::move(priceRow));
    }
    return rows;
}

// CSV: fields separated by ",", a field in double quotes may hold ",", line breaks and doubled
// quotes. Lines end with CR LF or LF.
std::vector<CellRow> csvRows(std::string_view text) {
    std::vector<CellRow> rows;
    CellRow row{1, {}};
    std::string cell;
    int line = 1;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                line += c == '\n' ? 1 : 0;
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.cells.push_back(std::move(cell));
            cell.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            row.cells.push_back(std::move(cell));
            cell.clear();
            rows.push_back(std::move(row));
            ++line;
            row = CellRow{line, {}};
        } else {
            cell += c;
        }
    }
    if (!cell.empty() || !row.cells.empty()) {
        row.cells.push_back(std::move(cell));
        rows.push_back(std::move(row));
    }
    return rows;
}

// ---- .xlsx: a zip archive of XML parts, read with minizip and expat ----

struct ZipCloser {
    void operator()(void* zip) const { unzClose(zip); }
};
using ZipArchive = std::unique_ptr<void, ZipCloser>;

PriceListFileError damagedWorkbook() {
    return PriceListFileError("Excelファイルを読み取れません。ファイルが壊れているか、.xlsx "
                              "形式ではありません。");
}

// A part of the archive, or nothing when it is not there. A part larger than a text file may be
// counts as damage, so that a crafted archive cannot fill the memory.
std::optional<std::string> zipPart(void* zip, const char* name) {
    if (unzLocateFile(zip, name, 0) != UNZ_OK) {
        return std::nullopt;
    }
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        info.uncompressed_size > kTextReadLimit || unzOpenCurrentFile(zip) != UNZ_OK) {
        throw damagedWorkbook();
    }
    std::string bytes;
    std::array<char, 65536> buffer{};
    int read = 0;
    while ((read = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()))) >
           0) {
        bytes.append(buffer.data(), static_cast<std::size_t>(read));
        if (bytes.size() > kTextReadLimit) {
            read = -1;
            break;
        }
    }
    if (unzCloseCurrentFile(zip) != UNZ_OK || read < 0) {
        throw damagedWorkbook();
    }
    return bytes;
}

// Runs expat over one XML part. Element names reach the handler without their namespace.
class XmlReader {
public:
    virtual ~XmlReader() = default;

    void parse(std::string_view xml) {
        std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
            XML_ParserCreateNS("UTF-8", '|'), &XML_ParserFree);
        if (!parser) {
            throw damagedWorkbook();
        }
        XML_SetUserData(parser.get(), this);
        XML_SetElementHandler(parser.get(), &XmlReader::onStart, &XmlReader::onEnd);
        XML_SetCharacterDataHandler(parser.get(), &XmlReader::onText);
        if (XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()), XML_TRUE) !=
            XML_STATUS_OK) {
            throw damagedWorkbook();
        }
    }

protected:
    virtual void start(std::string_view name, const XML_Char** attributes) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view) {}

    static std::string_view attribute(const XML_Char** attributes, std::string_view name) {
        for (const XML_Char** a = attributes; *a; a += 2) {
            if (localName(*a) == name) {
                return a[1];
            }
        }
        return {};
    }

private:
    static std::string_view localName(std::string_view name) {
        const std::size_t bar = name.rfind('|');
        return bar == std::string_view::npos ? name : name.substr(bar + 1);
    }
    static void onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
        static_cast<XmlReader*>(self)->start(localName(name), attributes);
    }
    static void onEnd(void* self, const XML_Char* name) {
        static_cast<XmlReader*>(self)->end(localName(name));
    }
    static void onText(void* self, const XML_Char* text, int length) {
        static_cast<XmlReader*>(self)->text(
            std::string_view(text, static_cast<std::size_t>(length)));
    }
};

// The relationship id of the first sheet (xl/workbook.xml).
class FirstSheetReader : public XmlReader {
public:
    std::string relationship;

protected:
    void start(std::string_view name, const XML_Char** attributes) override {
        if (name == "sheet" && relationship.empty()) {
            relationship = attribute(attributes, "id");
        }
    }
    void end(std::string_view) override {}
};

// The target of one relationship (xl/_rels/workbook.xml.rels).
class RelationshipReader : public XmlReader {
public:
    explicit RelationshipReader(std::string id) : id_(std::move(id)) {}
    std::string target;

protected:
    void start(std::string_view name, const XML_Char** attributes) override {
        if (name == "Relationship" && attribute(attributes, "Id") == id_) {
            target = attribute(attributes, "Target");
        }
    }
    void end(std::string_view) override {}

private:
    std::string id_;
};

// The shared strings (xl/sharedStrings.xml): the text runs of each item, without the phonetic
// readings (rPh) a Japanese workbook keeps beside its texts.
class SharedStringsReader : public XmlReader {
public:
    std::vector<std::string> strings;

protected:
    void start(std::string_view name, const XML_Char**) override {
        if (name == "si") {
            strings.emplace_back();
        } else if (name == "rPh") {
            ++phonetic_;
        } else if (name == "t" && !phonetic_ && !strings.empty()) {
            inText_ = true;
        }
    }
    void end(std::string_view name) override {
        if (name == "rPh") {
            --phonetic_;
        } else if (name == "t") {
            inText_ = false;
        }
    }
    void text(std::string_view text) override {
        if (inText_) {
            strings.back() += text;
        }
    }

private:
    int phonetic_ = 0;
    bool inText_ = false;
};

// The column index (from 0) of a cell reference ("C12" -> 2); nothing for a reference without
// letters.
std::optional<std::size_t> columnOf(std::string_view reference) {
    std::size_t column = 0;
    std::size_t letters = 0;
    for (const char c : reference) {
        if (c < 'A' || c > 'Z') {
            break;
        }
        column = column * 26 + static_cast<std::size_t>(c - 'A' + 1);
        if (++letters > 3) {
            return std::nullopt;
        }
    }
    return letters == 0 ? std::nullopt : std::optional<std::size_t>(column - 1);
}

// A number cell's text as a plain decimal: workbooks write 1.5E-3 and 1E+20 for very small and
// large values, which the money parser does not read. The digits are moved, never computed.
std::string plainDecimal(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    if (e == std::string_view::npos) {
        return std::string(number);
    }
    std::string_view exponentText = number.substr(e + 1);
    if (exponentText.starts_with('+')) {
        exponentText.remove_prefix(1);
    }
    const std::optional<std::int64_t> exponent = parseInteger(exponentText);
    std::string_view mantissa = number.substr(0, e);
    if (!exponent || *exponent > 30 || *exponent < -30) {
        return std::string(number);
    }
    std::string sign;
    if (!mantissa.empty() && (mantissa.front() == '-' || mantissa.front() == '+')) {
        sign = mantissa.front() == '-' ? "-" : "";
        mantissa.remove_prefix(1);
    }
    const std::size_t dot = mantissa.find('.');
    std::string digits(mantissa.substr(0, dot));
    std::int64_t point = static_cast<std::int64_t>(digits.size()) + *exponent;
    if (dot != std::string_view::npos) {
        digits += mantissa.substr(dot + 1);
    }
    if (point <= 0) {
        return sign + "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    }
    if (point >= static_cast<std::int64_t>(digits.size())) {
        return sign + digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    }
    return sign + digits.substr(0, static_cast<std::size_t>(point)) + "." +
           digits.substr(static_cast<std::size_t>(point));
}

// The cells of a worksheet: shared strings ("s"), inline strings ("inlineStr"), formula strings
// ("str") and numbers; a boolean reads as its digit.
class SheetReader : public XmlReader {
public:
    explicit SheetReader(const std::vector<std::string>& shared) : shared_(shared) {}
    std::vector<CellRow> rows;
    // A cell named a shared string that is not there. Kept rather than thrown: the handlers run
    // inside the XML library, which is C.
    bool damaged = false;

protected:
    void start(std::string_view name, const XML_Char** attributes) override {
        if (name == "row") {
            const std::optional<std::int64_t> number = parseInteger(attribute(attributes, "r"));
            const int line =
                number ? static_cast<int>(*number) : (rows.empty() ? 1 : rows.back().line + 1);
            rows.push_back(CellRow{line, {}});
            nextColumn_ = 0;
        } else if (name == "c" && !rows.empty()) {
            type_ = attribute(attributes, "t");
            column_ = columnOf(attribute(attributes, "r")).value_or(nextColumn_);
            value_.clear();
        } else if (name == "rPh") {
            ++phonetic_;
        } else if ((name == "v" || (name == "t" && !phonetic_)) && !rows.empty()) {
            inValue_ = true;
        }
    }
    void end(std::string_view name) override {
        if (name == "v" || name == "t") {
            inValue_ = false;
        } else if (name == "rPh") {
            --phonetic_;
        } else if (name == "c" && !rows.empty()) {
            std::vector<std::string>& cells = rows.back().cells;
            if (column_ >= kMaxColumns) {
                return;
            }
            if (cells.size() <= column_) {
                cells.resize(column_ + 1);
            }
            cells[column_] = cellText();
            nextColumn_ = column_ + 1;
        }
    }
    void text(std::string_view text) override {
        if (inValue_) {
            value_ += text;
        }
    }

private:
    static constexpr std::size_t kMaxColumns = 1000;

    std::string cellText() {
        if (type_ == "s") {
            const std::optional<std::int64_t> index = parseInteger(value_);
            if (!index || *index < 0 || static_cast<std::size_t>(*index) >= shared_.size()) {
                damaged = true;
                return {};
            }
            return shared_[static_cast<std::size_t>(*index)];
        }
        if (type_ == "inlineStr" || type_ == "str" || type_ == "e") {
            return value_;
        }
        return plainDecimal(value_);
    }

    const std::vector<std::string>& shared_;
    std::string type_;
    std::string value_;
    std::size_t column_ = 0;
    std::size_t nextColumn_ = 0;
    int phonetic_ = 0;
    bool inValue_ = false;
};

// The path of a relationship target inside the archive: "worksheets/sheet1.xml" is under "xl/",
// "/xl/worksheets/sheet1.xml" is from the root.
std::string partPath(std::string_view target) {
    if (target.starts_with('/')) {
        return std::string(target.substr(1));
    }
    return "xl/" + std::string(target);
}

std::vector<CellRow> workbookRows(const std::filesystem::path& file) {
    ZipArchive zip(unzOpen64(pathText(file).c_str()));
    if (!zip) {
        if (!std::filesystem::is_regular_file(file)) {
            throw PriceListFileError(pathText(file) + " を読み取れません。");
        }
        throw damagedWorkbook();
    }
    const std::optional<std::string> workbook = zipPart(zip.get(), "xl/workbook.xml");
    const std::optional<std::string> relationships =
        zipPart(zip.get(), "xl/_rels/workbook.xml.rels");
    if (!workbook || !relationships) {
        throw damagedWorkbook();
    }
    FirstSheetReader firstSheet;
    firstSheet.parse(*workbook);
    RelationshipReader sheetTarget(firstSheet.relationship);
    sheetTarget.parse(*relationships);
    const std::optional<std::string> sheet =
        zipPart(zip.get(), partPath(sheetTarget.target).c_str());
    if (firstSheet.relationship.empty() || !sheet) {
        throw damagedWorkbook();
    }
    SharedStringsReader shared;
    if (const std::optional<std::string> strings = zipPart(zip.get(), "xl/sharedStrings.xml")) {
        shared.parse(*strings);
    }
    SheetReader cells(shared.strings);
    cells.parse(*sheet);
    if (cells.damaged) {
        throw damagedWorkbook();
    }
    return std::move(cells.rows);
}

} // namespace

std::vector<PriceListFileRow> readPriceListCsv(std::string_view bytes) {
    return rowsUnderHeader(csvRows(fromCp932OrUtf8(bytes)));
}

std::vector<PriceListFileRow> readPriceListFile(const std::filesystem::path& file) {
    if (equalsIgnoringAsciiCase(pathText(file.extension()), ".xlsx")) {
        return rowsUnderHeader(workbookRows(file));
    }
    std::string bytes;
    try {
        bytes = readRegularFile(file, kTextReadLimit);
    } catch (const FileError& error) {
        throw PriceListFileError(error.what());
    }
    return readPriceListCsv(bytes);
}

} // namespace kerbina
