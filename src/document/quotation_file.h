#pragma once

#include "base/user_error.h"
#include "records/quotation_data.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// A quotation file that cannot be read. `line` is the 1-based line of the file where the problem
// was found (0 when it concerns the whole file); `detail` says what is wrong, in the system's own
// words, quoting at most about 80 characters of the file. Once the file is known, the text
// (`what`) names it and the line as well.
class QuotationFileError : public UserError {
public:
    QuotationFileError(int line, const std::string& detail);
    // The same error, found in `file`.
    QuotationFileError(const std::filesystem::path& file, const QuotationFileError& error);
    int line() const { return line_; }
    const std::string& detail() const { return detail_; }
    const std::filesystem::path& file() const { return file_; }

private:
    int line_;
    std::string detail_;
    std::filesystem::path file_;
};

// Something in a file that the reader can read past, but that means the file is not what it
// claims to be: cut short, or its parts disagree. What could be read may still be opened when the
// user agrees, never silently.
struct QuotationFileProblem {
    int line = 0; // 1-based
    std::string message;

    friend bool operator==(const QuotationFileProblem&, const QuotationFileProblem&) = default;
};

struct QuotationReading {
    QuotationData data;                         // everything that could be read
    std::vector<QuotationFileProblem> problems; // empty when the file is whole and consistent
    bool hasDate = false; // the title gives the quotation's date ([DY], [DM] and [DD])
};

// "見積ファイル PATH の N 行目: MESSAGE": a problem or error as the user sees it.
std::string problemText(const std::filesystem::path& file, int line, const std::string& message);

struct QuotationWriteOptions {
    bool itemNameLine = true; // [Items_Opt_1]: a title line before each named sheet
    int singleSheet = 0;      // 0: the whole quotation; n: item n and its sheet only
    // Unit-cost breakdown page references in line notes: set when the last piping aggregation
    // ran with its breakdown option.
    bool unitCostReferences = false;
    // Print data leaves out the lines marked 非掲載 (hiddenFlag 1): a combining line stands for
    // them on paper. Saved files and the backup keep them.
    bool omitUnlisted = false;

    friend bool operator==(const QuotationWriteOptions&, const QuotationWriteOptions&) = default;
};

// Text of a quotation file (UTF-8, CR LF line ends) from a quotation in memory, and back.
std::string writeQuotationText(const QuotationData& data, const QuotationWriteOptions& options);
// The text in its three parts, which writeQuotationText puts one after the other: the head (the
// title and item sections and the line opening the data section), one block of lines for each
// sheet written, and the tail (the line closing the data section and the sections after it).
// Every part ends with a line end, so the parts can also be encoded one by one and joined: the
// crash backup keeps the encoded blocks of the sheets that did not change. The head reads the
// sheets only for the welfare total of a single-sheet file; a sheet item's block depends only on
// what sheetBlockText is given.
std::string quotationHeadText(const QuotationData& data, const QuotationWriteOptions& options);
std::string sheetBlockText(int number, const ItemRecord& item, const Sheet& sheet,
                           const QuotationWriteOptions& options,
                           const std::vector<std::string>& unitCostBreakdowns);
std::string quotationTailText(const QuotationData& data);
// Parses and checks the whole text. What cannot be read past raises QuotationFileError; the
// problems it can read past (a file cut short: no "</EOF>" or a last line without its line end,
// which is left out; [ItemMax] and the item lines disagreeing; lines of sheets that have no item,
// which are left out) come back with what could be read.
QuotationReading readQuotationTextLeniently(std::string_view utf8);
// The same, but any problem raises QuotationFileError too: for readers that cannot ask.
QuotationData readQuotationText(std::string_view utf8);

// The same on CP932 files; writing is atomic (temporary name, then rename). Reading takes regular
// files only, up to kReadLimit, and refuses a file written in UTF-8 instead of CP932; every error
// names the file.
void writeQuotationFile(const std::filesystem::path& path, const QuotationData& data,
                        const QuotationWriteOptions& options);
QuotationReading readQuotationFileLeniently(const std::filesystem::path& path);
QuotationData readQuotationFile(const std::filesystem::path& path);

} // namespace kerbina
