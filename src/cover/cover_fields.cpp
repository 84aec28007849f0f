#include "cover/cover_fields.h"

#include "base/file_io.h"
#include "base/text.h"
#include "base/text_codec.h"

#include <algorithm>

namespace kerbina {
namespace {

using H = QuotationHeader;

constexpr CoverTextField kFields[] = {
    {CoverText::Addressee1, "[ATESAKI_1]", &H::addressee1, 50, "atesaki_1", "atesaki_1.lst"},
    {CoverText::Addressee2, "[ATESAKI_2]", &H::addressee2, 50, "atesaki_2", "atesaki_2.lst"},
    {CoverText::Honorific, "[KEISYO]", &H::honorific, 12, "keisyo", ""},
    {CoverText::Site1, "[CONSTRACT_1]", &H::siteName1, 50, "CONSTEDIT_1", "CONSTEDIT_1.lst"},
    {CoverText::Site2, "[CONSTRACT_2]", &H::siteName2, 50, "CONSTEDIT_2", "CONSTEDIT_2.lst"},
    {CoverText::WorkName, "[WHERE]", &H::workName, 50, "where", "WHERE.lst"},
    {CoverText::Delivery, "[ULIMIT]", &H::deliveryDate, 40, "ULIMITEDIT", "ULIMITEDIT.lst"},
    {CoverText::Trade, "[TRADE]", &H::tradeTerms, 40, "TRADEEDIT", "TRADEEDIT.lst"},
    {CoverText::Validity, "[MLIMIT]", &H::validity, 40, "MLIMITEDIT", "MLIMITEDIT.lst"},
    {CoverText::Requester, "[OUTTANTO]", &H::requester, 20, "OUTTANTOEDIT", "OUTTANTOEDIT.lst"},
    {CoverText::Author, "[INTANTO]", &H::author, 20, "INTANTOEDIT", "INTANTOEDIT.lst"},
    {CoverText::Number, "[NUMBER]", &H::number, 12, "number", ""},
    {CoverText::Tag, "[Opt1Str]", &H::opt1Str, 80, "tag1", "tag1.lst"},
};
static_assert(std::size(kFields) == kCoverTextCount);

constexpr CoverPick kPicks[] = {
    {CoverText::Addressee1, "宛先", "宛先名称"},
    {CoverText::Addressee2, "宛先", "宛先名称"},
    {CoverText::Site1, "1", ""},
    {CoverText::Site2, "1", ""},
    {CoverText::WorkName, "2", ""},
    {CoverText::Delivery, "3", "納入期日"},
    {CoverText::Trade, "4", "取引条件"},
    {CoverText::Validity, "5", "見積有効期限"},
    {CoverText::Requester, "6", "御依頼者"},
    {CoverText::Author, "7", "見積作成者"},
};

constexpr int kCustomerIdWidth = 12;
constexpr int kHighestStatus = 6;
constexpr std::uintmax_t kTemplateReadLimit = 1024 * 1024;

} // namespace

std::span<const CoverTextField> coverTextFields() {
    return kFields;
}

const CoverTextField& coverTextField(CoverText text) {
    return kFields[static_cast<std::size_t>(text)];
}

CoverValues newCover(std::chrono::year_month_day today) {
    CoverValues cover;
    cover.storedYear = static_cast<int>(today.year()) - kStoredYearOffset;
    cover.month = static_cast<int>(static_cast<unsigned>(today.month()));
    cover.day = static_cast<int>(static_cast<unsigned>(today.day()));
    return cover;
}

EraYear coverEraYear(const CoverValues& cover) {
    return eraYearOf(cover.storedYear + kStoredYearOffset, cover.month, cover.day)
        .value_or(EraYear{0, 1});
}

int storedYearOf(const EraYear& eraYear) {
    return westernYearOf(eraYear) - kStoredYearOffset;
}

CoverValues coverOfHeader(const QuotationHeader& header) {
    CoverValues cover;
    for (const CoverTextField& field : kFields) {
        cover[field.text] = header.*field.member;
    }
    cover.storedYear = header.storedYear;
    cover.month = header.month;
    cover.day = header.day;
    if (header.status >= 0 && header.status <= kHighestStatus) {
        cover.status = header.status;
    }
    cover.customerId = header.id;
    return cover;
}

void writeCover(const CoverValues& cover, QuotationHeader& header) {
    for (const CoverTextField& field : kFields) {
        header.*field.member = fitToWidth(cover[field.text], field.width);
    }
    header.storedYear = cover.storedYear;
    header.month = cover.month;
    header.day = cover.day;
    header.status = std::clamp(cover.status.value_or(0), 0, kHighestStatus);
    header.id = fitToWidth(cover.customerId, kCustomerIdWidth);
    header.dataLevel = 0;
}

NumberButtonStep numberButtonStep(bool automaticNumbering, std::string_view currentNumber) {
    if (!automaticNumbering) {
        return NumberButtonStep::AskForNumber;
    }
    return currentNumber.empty() ? NumberButtonStep::IssueNumber : NumberButtonStep::Nothing;
}

std::string numberButtonCaption(bool automaticNumbering) {
    return automaticNumbering ? "自動見積番号" : "見積番号";
}

std::string typedQuotationNumber(std::string_view typed) {
    return fitToWidth(trimBlanks(typed), coverTextField(CoverText::Number).width);
}

bool offersNumberAfterCustomerPick(const NumberingOptions& numbering,
                                   std::string_view currentNumber) {
    return numbering.automatic && numbering.offerAfterCustomerPick && currentNumber.empty();
}

std::span<const CoverPick> coverPicks() {
    return kPicks;
}

std::string pickHeading(const CoverPick& pick, const CoverCaptions& captions) {
    if (!pick.heading.empty()) {
        return std::string(pick.heading);
    }
    return pick.text == CoverText::WorkName ? captions.workNameHint : captions.siteNameHint;
}

std::filesystem::path coverTemplateFile(const std::filesystem::path& dataRoot) {
    return dataRoot / "conf" / "titlest0.dat";
}

void writeCoverTemplate(const std::filesystem::path& file, const CoverValues& cover) {
    std::vector<std::string> lines;
    for (const CoverText text : kTemplateTexts) {
        const CoverTextField& field = coverTextField(text);
        lines.push_back(std::string(field.key) + "=" +
                        withoutLineBreaks(fitToWidth(cover[text], field.width)));
    }
    lines.emplace_back("[TANKALEVEL]=0");
    writeTextLines(file, lines);
}

bool readCoverTemplate(const std::filesystem::path& file, CoverValues& cover) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return false;
    }
    // A template is a few lines; anything larger, a folder or a FIFO is refused, not read.
    const std::string bytes = readRegularFile(file, kTemplateReadLimit);
    for (const std::string& line : splitTextLines(fromCp932(bytes))) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string_view key = std::string_view(line).substr(0, equals + 1);
        for (const CoverText text : kTemplateTexts) {
            if (std::string(coverTextField(text).key) + "=" == key) {
                cover[text] = line.substr(equals + 1);
            }
        }
    }
    return true;
}

} // namespace kerbina
