#pragma once

#include "document/quotation_data.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kerbina {

// A quotation file that cannot be read. `line` is the 1-based line of the file where the problem
// was found (0 when it concerns the whole file); the message is in the system's own words.
class QuotationFileError : public std::runtime_error {
public:
    QuotationFileError(int line, const std::string& message);
    int line() const { return line_; }

private:
    int line_;
};

struct QuotationWriteOptions {
    bool itemNameLine = true; // [Items_Opt_1]: a title line before each named sheet
    int singleSheet = 0;      // 0: the whole quotation; n: item n and its sheet only
    // Unit-cost breakdown page references in line notes: set when the last piping aggregation
    // ran with its breakdown option.
    bool unitCostReferences = false;
    // Print data leaves out the lines marked 非掲載 (hiddenFlag 1): a combining line stands for
    // them on paper. Saved files and the backup keep them.
    bool omitUnlisted = false;
};

// Text of a quotation file (UTF-8, CR LF line ends) from a quotation in memory, and back.
std::string writeQuotationText(const QuotationData& data, const QuotationWriteOptions& options);
// Parses and checks the whole text; raises QuotationFileError and returns nothing on failure.
QuotationData readQuotationText(std::string_view utf8);

// The same on CP932 files; writing is atomic (temporary name, then rename).
void writeQuotationFile(const std::filesystem::path& path, const QuotationData& data,
                        const QuotationWriteOptions& options);
QuotationData readQuotationFile(const std::filesystem::path& path);

} // namespace kerbina
