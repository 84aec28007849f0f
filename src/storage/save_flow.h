#pragma once

#include "base/user_prompt.h"
#include "records/records.h"
#include "storage/database.h"
#include "storage/quotation_numbering.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

// Saving the open quotation as a row of the kerbina table, with the decisions of the save dialog:
// when a number is issued, asked for or refused, when an existing row is overwritten. The dialog
// only shows the header and calls these; the command-line tool saves through the same functions.

// The quotation as it is saved: the quotation file text and the header it was rendered from,
// which the row's columns repeat, taken together so that they always agree.
struct RenderedQuotation {
    QuotationHeader header;
    std::string text; // UTF-8, CR LF line ends
};

// What saving needs of the quotation being saved.
class QuotationSaveSource {
public:
    virtual ~QuotationSaveSource() = default;
    // The header as it stands now (the work folder's header for the open quotation).
    virtual QuotationHeader header() = 0;
    // Stores a new quotation number in the header (and, for the open quotation, rewrites the
    // header files). Raises UserError when that fails.
    virtual void storeQuotationNumber(const std::string& number) = 0;
    // The whole quotation as the quotation file writer renders it now. Raises UserError when it
    // cannot be read.
    virtual RenderedQuotation render() = 0;
};

// Everything a save works with. The prompt is the window's (or the tool's): every question and
// message goes through it.
struct SaveContext {
    Database& quotations;
    Database& addresses;
    NumberingMode numbering;
    QuotationSaveSource& source;
    UserPrompt& prompt;
};

// The save dialog's result after a successful save; the empty text otherwise.
inline constexpr std::string_view kSaveCompletionText = "WM_SAVECOMP;";

inline constexpr std::string_view kEnterNumberQuestion = "見積番号を入力してください";
inline constexpr std::string_view kNumberNeededNoCustomerText =
    "保存には見積番号が必要です。\r\n得意先が選択されていません。";
inline constexpr std::string_view kIssueNumberQuestion =
    "保存には見積番号が必要です。見積番号を取得しますか？";
inline constexpr std::string_view kNumberNeededManualText =
    "保存には見積番号が必要です。見積番号を入力してください。";
inline constexpr std::string_view kOverwriteQuestion =
    "データは既に存在します。上書き保存しますか？";
inline constexpr std::string_view kSavedText = "データを保存しました。";

// "新規見積番号取得": issues a number with the header's customer id and stores it in the header.
// The number, or nothing when none was issued (the user has been told why).
std::optional<std::string> issueNumberForSave(SaveContext& context);

// "任意の見積番号を設定": asks for a number (empty default) and stores the text entered, fitted
// to 12 bytes. Cancelling keeps the number as it was and gives nothing.
std::optional<std::string> enterNumberForSave(SaveContext& context);

enum class SaveStep {
    Saved,    // the row was written: the dialog closes with "WM_SAVECOMP;"
    StayOpen, // nothing saved by this press (a number was issued, refused, or No to overwrite)
    Failed,   // the save could not be done (reported): the dialog closes with the empty text
};

struct SavePressOutcome {
    SaveStep step = SaveStep::StayOpen;
    // The press issued a number (automatic numbering, number empty, Yes): one per showing.
    std::optional<std::string> issuedNumber;
};

// "保　存". Without a number nothing is saved: with automatic numbering the user may take a new
// number (the next press saves), otherwise the save is refused. An existing row of the number is
// overwritten only after Yes to "<number>\r\nデータは既に存在します。上書き保存しますか？"; a row
// another workstation inserted after that check is not overwritten unasked either.
SavePressOutcome pressSave(SaveContext& context, std::chrono::system_clock::time_point now);

// Saves the quotation as a new row under a newly issued number (the command-line tool's save):
// a number whose row already exists (typed by hand earlier) is skipped for the next one, so no
// stored quotation is ever overwritten. The number, or nothing when none could be issued or the
// write failed (reported).
std::optional<std::string> saveAsNewQuotation(SaveContext& context,
                                              std::chrono::system_clock::time_point now);

} // namespace kerbina
