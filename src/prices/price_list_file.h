#pragma once

#include "base/user_error.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// A supplier's price list as read from its file: a CSV file (CP932 or UTF-8, told apart by its
// bytes) or an .xlsx workbook (its first sheet). The first row that holds anything is the header;
// it names the columns 名称, 仕様, 単位, 仕切単価, 提出単価, 定価, 歩掛 and カテゴリー in any order
// (名称 must be there; the others may be left out, and columns of other names are passed over).

// A file that cannot be read as a price list. The message is in the system's words.
class PriceListFileError : public UserError {
public:
    using UserError::UserError;
};

// One row below the header, by column: the cell texts as they stand (numbers of a workbook as
// plain decimals), and where the row is in the file (CSV: the line it starts on; workbook: the
// row number), for messages.
struct PriceListFileRow {
    int line = 0;
    std::string name;
    std::string specification;
    std::string unit;
    std::string netPrice;
    std::string submittedPrice;
    std::string listPrice;
    std::string laborFactor;
    std::string category;

    friend bool operator==(const PriceListFileRow&, const PriceListFileRow&) = default;
};

// The header row every price list of the program is written with.
inline constexpr std::string_view kPriceListHeader[] = {"名称",     "仕様", "単位", "仕切単価",
                                                        "提出単価", "定価", "歩掛", "カテゴリー"};

// The rows of a price list file: an .xlsx workbook by its extension (any case), a CSV file
// otherwise. Rows with no text at all are left out. Raises PriceListFileError (also for a file
// that cannot be read, a damaged workbook, or no 名称 in the header).
std::vector<PriceListFileRow> readPriceListFile(const std::filesystem::path& file);

// The same from the bytes of a CSV file.
std::vector<PriceListFileRow> readPriceListCsv(std::string_view bytes);

} // namespace kerbina
