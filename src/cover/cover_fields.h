#pragma once

#include "base/text.h"
#include "records/records.h"
#include "settings/environment_settings.h"
#include "settings/main_settings.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kerbina {

// The texts of the cover page, in the order of the controls on the tab.
enum class CoverText {
    Addressee1, // [ATESAKI_1], atesaki_1
    Addressee2, // [ATESAKI_2], atesaki_2
    Honorific,  // [KEISYO], keisyo
    Site1,      // [CONSTRACT_1], CONSTEDIT_1
    Site2,      // [CONSTRACT_2], CONSTEDIT_2
    WorkName,   // [WHERE], where
    Delivery,   // [ULIMIT], ULIMITEDIT
    Trade,      // [TRADE], TRADEEDIT
    Validity,   // [MLIMIT], MLIMITEDIT
    Requester,  // [OUTTANTO], OUTTANTOEDIT
    Author,     // [INTANTO], INTANTOEDIT
    Number,     // [NUMBER], the number label
    Tag,        // [Opt1Str], tag1
};
inline constexpr std::size_t kCoverTextCount = 13;

// One text of the cover: its key in the quotation file and the template, the header field that
// keeps it with that field's width in CP932 bytes, its control and, for the controls that remember
// what was typed, the history file in the work folder.
struct CoverTextField {
    CoverText text;
    std::string_view key;
    std::string QuotationHeader::*member;
    int width;
    std::string_view control;
    std::string_view historyFile; // empty: no history list
};
std::span<const CoverTextField> coverTextFields();
const CoverTextField& coverTextField(CoverText text);

// The honorifics offered after the addressee.
inline constexpr std::array<std::string_view, 4> kHonorifics = {"御中", "様", "係", "行"};

// The quotation's year as the header and the quotation file store it: Western year - 1988.
inline constexpr int kStoredYearOffset = 1988;

// What the cover page shows: the texts, the quotation date as stored year, month and day, the
// status (nothing while none is chosen) and the addressee-book id of the customer picked for the
// addressee.
struct CoverValues {
    std::array<std::string, kCoverTextCount> texts;
    int storedYear = 0;
    int month = 0;
    int day = 0;
    std::optional<int> status;
    std::string customerId;

    std::string& operator[](CoverText text) { return texts[static_cast<std::size_t>(text)]; }
    const std::string& operator[](CoverText text) const {
        return texts[static_cast<std::size_t>(text)];
    }

    friend bool operator==(const CoverValues&, const CoverValues&) = default;
};

// The cover of a quotation without a header: today's date and nothing else.
CoverValues newCover(std::chrono::year_month_day today);
// The cover a header holds. A status outside 0..6 (-1 for a quotation never given one) shows as
// none chosen.
CoverValues coverOfHeader(const QuotationHeader& header);
// Takes the cover into the header: every text cut to its field's width at a whole character, the
// status 0 (下書き) when none is chosen, the customer id, and [DATALEVEL] 0. The fields the cover
// does not edit (totals, settings, the other tags) stay as they are.
void writeCover(const CoverValues& cover, QuotationHeader& header);

// The cover's date as the tab shows it: the era in force on it and the year within that era;
// a date before the first era shows as its first year.
EraYear coverEraYear(const CoverValues& cover);
// The stored year of a year within an era.
int storedYearOf(const EraYear& eraYear);

// What the number button does: with automatic numbering and no number yet a number is issued,
// with numbering by hand the user types one, otherwise nothing happens.
enum class NumberButtonStep { IssueNumber, AskForNumber, Nothing };
NumberButtonStep numberButtonStep(bool automaticNumbering, std::string_view currentNumber);
// The caption of the number button: "自動見積番号" with automatic numbering, else "見積番号".
std::string numberButtonCaption(bool automaticNumbering);
// The number the user typed, without blanks at either end and cut to the 12 bytes of [NUMBER].
std::string typedQuotationNumber(std::string_view typed);

// After a customer is picked for the addressee, a new number is offered when numbering is
// automatic, the offer is switched on and the quotation has no number yet.
bool offersNumberAfterCustomerPick(const NumberingOptions& numbering,
                                   std::string_view currentNumber);

// The ten pick buttons: the control each fills, the kind of list it opens and the heading of the
// picker (empty: the button's hint, which the settings name).
struct CoverPick {
    CoverText text;
    std::string_view kind;
    std::string_view heading;
};
std::span<const CoverPick> coverPicks();
// The heading the picker shows for a pick button.
std::string pickHeading(const CoverPick& pick, const CoverCaptions& captions);
// The longest text handed to the picker or taken from it, in CP932 bytes.
inline constexpr int kPickTextWidth = 100;

// The cover template: conf/titlest0.dat under the data folder, lines "[KEY]=value".
std::filesystem::path coverTemplateFile(const std::filesystem::path& dataRoot);
// The texts the template keeps, in the order of its lines.
inline constexpr std::array<CoverText, 10> kTemplateTexts = {
    CoverText::Addressee1, CoverText::Addressee2, CoverText::Site1,    CoverText::Site2,
    CoverText::WorkName,   CoverText::Validity,   CoverText::Delivery, CoverText::Trade,
    CoverText::Author,     CoverText::Requester,
};
// Writes the template from the cover (its ten texts, then "[TANKALEVEL]=0"). Raises FileError.
void writeCoverTemplate(const std::filesystem::path& file, const CoverValues& cover);
// Puts the values of the template into the cover: each line is split at its first "=", a known
// key sets its text, other lines are ignored and texts the file does not name stay as they are.
// False when there is no template file. Raises FileError when the file cannot be read.
bool readCoverTemplate(const std::filesystem::path& file, CoverValues& cover);

} // namespace kerbina
