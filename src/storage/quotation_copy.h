#pragma once

#include "base/user_prompt.h"
#include "storage/database.h"
#include "storage/quotation_numbering.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kerbina {

class SearchIndex;

// The copy dialog "見積複製": marked quotations are stored again under new numbers.

// The four ways a copy gets its number.
enum class CopyNumbering {
    Automatic, // "環境設定で使用されている自動見積番号を使用する"
    Prefix,    // "見積番号の前に指定文字を追加する": text + number
    Suffix,    // "見積番号の後ろに指定文字を追加する": number + text
    Sequence,  // "連番で新番号を発行": "ヘッダー" + zeros + counter
};

// The counter row of copies ("KRBCOPY" in krbconf): "ヘッダー", "桁数", "初期値".
struct CopyCounter {
    std::string header = "MA";
    int width = 7;
    long long next = 1;
};

// Reads the copy counter row, inserting the default one ("MA", 7, 1) when it is missing.
// Raises DatabaseError.
CopyCounter readCopyCounter(Database& quotations);

struct CopyRequest {
    CopyNumbering numbering = CopyNumbering::Automatic;
    std::string addedText{};                   // for Prefix and Suffix
    CopyCounter sequence{};                    // for Sequence; stored back whatever the numbering
    std::optional<std::string> deliveryDate{}; // "納入期日(請求月)を書き換える": ULIMIT
    std::optional<std::string> validity{}; // "見積有効期限(支払期限)を書き換える": MLIMIT
    std::optional<std::string> tag{};                  // "タグを書き換える": tag1str
    std::optional<std::chrono::year_month_day> date{}; // "日付を書き換える": created
};

// The time of the copy: today's date for `created` when the date is not rewritten, and the
// stamp for `modified` ("yyyy-mm-dd hh:nn:ss").
struct CopyClock {
    std::chrono::year_month_day today;
    std::string now;
};

// Issues a new number for a copy of `sourceNumber`; nothing when no number can be issued.
using CopyNumberIssuer = std::function<std::optional<std::string>(const std::string& sourceNumber)>;

struct CopyOutcome {
    std::vector<std::pair<std::string, std::string>> copied; // source, new number
    std::vector<std::string> problems;                       // one message per quotation not copied
};

// Copies each source quotation. Every new number is decided and checked first: a copy that gets
// no number, a number over 12 CP932 bytes, or a number already stored (or given to an earlier
// copy of the same run) is skipped, and the skipped ones are shown through `prompt` before
// anything is written. The copy's text gets the new number and the chosen values in its header
// lines only. The counter row "KRBCOPY" is stored with the sequence's next counter.
CopyOutcome copyQuotations(Database& quotations, const std::vector<std::string>& sources,
                           const CopyRequest& request, const CopyClock& clock,
                           const CopyNumberIssuer& issueNumber, UserPrompt& prompt,
                           SearchIndex* index = nullptr);

// Replaces the value of each header line (inside <TITLE> … </TITLE>) whose key is exactly one of
// `values` ("NUMBER" matches "[NUMBER]=…", never "[NUMBER_ID]=…" nor a data line that happens to
// contain "[NUMBER]"). Line ends are kept.
std::string rewriteHeaderLines(std::string_view text,
                               const std::vector<std::pair<std::string, std::string>>& values);

// ---- The history lists of the copy dialog's four text boxes ----

// "copy1.lst" to "copy4.lst" in the temp folder of the data root: the added text, 納入期日,
// 見積有効期限, タグ.
std::filesystem::path copyHistoryFile(const std::filesystem::path& tempFolder, int box);
// Puts `text` at the top of `history` (moved there when present); at most 30 entries.
void rememberCopyText(std::vector<std::string>& history, const std::string& text);

} // namespace kerbina
