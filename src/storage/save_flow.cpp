#include "storage/save_flow.h"

#include "base/text.h"
#include "base/user_error.h"
#include "storage/quotation_rows.h"

namespace kerbina {
namespace {

bool hasCustomer(const QuotationHeader& header) {
    return !trimBlanks(header.id).empty();
}

std::string overwriteQuestion(const std::string& number) {
    return number + "\r\n" + std::string(kOverwriteQuestion);
}

// The quotation rendered for saving; nothing, reported, when it cannot be read.
std::optional<RenderedQuotation> rendered(SaveContext& context) {
    try {
        return context.source.render();
    } catch (const UserError& error) {
        context.prompt.reportError(kSqlErrorText, error.what());
        return std::nullopt;
    }
}

// Renders the quotation and writes its row. `confirmed`: the user agreed to overwrite the row of
// the number.
SaveStep writeRow(SaveContext& context, bool confirmed, std::chrono::system_clock::time_point now) {
    const auto quotation = rendered(context);
    if (!quotation) {
        return SaveStep::Failed;
    }
    const QuotationHeader& header = quotation->header;
    RowWriteResult result = writeQuotationRow(
        context.quotations, header, quotation->text,
        confirmed ? RowWrite::InsertOrUpdate : RowWrite::InsertOnly, now, context.prompt);
    if (result == RowWriteResult::NumberTaken) {
        if (!context.prompt.askYesNo(overwriteQuestion(header.number))) {
            return SaveStep::StayOpen;
        }
        result = writeQuotationRow(context.quotations, header, quotation->text,
                                   RowWrite::InsertOrUpdate, now, context.prompt);
    }
    return result == RowWriteResult::Written ? SaveStep::Saved : SaveStep::Failed;
}

} // namespace

std::optional<std::string> issueNumberForSave(SaveContext& context) {
    const QuotationHeader header = context.source.header();
    auto number = issueQuotationNumber(context.quotations, context.addresses, context.numbering,
                                       header.id, context.prompt);
    if (number) {
        context.source.storeQuotationNumber(*number);
    }
    return number;
}

std::optional<std::string> enterNumberForSave(SaveContext& context) {
    std::string entered;
    if (!context.prompt.askText(std::string(kEnterNumberQuestion), entered)) {
        return std::nullopt;
    }
    std::string number = fitQuotationNumber(entered);
    context.source.storeQuotationNumber(number);
    return number;
}

SavePressOutcome pressSave(SaveContext& context, std::chrono::system_clock::time_point now) {
    const QuotationHeader header = context.source.header();
    if (header.number.empty()) {
        SavePressOutcome outcome;
        if (!context.numbering.automatic) {
            context.prompt.notify(std::string(kNumberNeededManualText));
        } else if (context.numbering.perCustomer && !hasCustomer(header)) {
            context.prompt.notify(std::string(kNumberNeededNoCustomerText));
        } else if (context.prompt.askYesNo(std::string(kIssueNumberQuestion))) {
            outcome.issuedNumber = issueNumberForSave(context);
        }
        return outcome;
    }
    bool exists = false;
    try {
        exists = quotationRowExists(context.quotations, header.number);
    } catch (const DatabaseError& error) {
        context.prompt.reportError(kSqlErrorText, databaseFaultMessage(error));
        return {SaveStep::Failed, std::nullopt};
    }
    if (exists && !context.prompt.askYesNo(overwriteQuestion(header.number))) {
        return {SaveStep::StayOpen, std::nullopt};
    }
    return {writeRow(context, exists, now), std::nullopt};
}

std::optional<std::string> saveAsNewQuotation(SaveContext& context,
                                              std::chrono::system_clock::time_point now) {
    // Numbers typed by hand may have taken a run of the counter's next values; each try advances
    // the counter, so the loop ends at the first free number.
    constexpr int kTries = 1000;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const auto number = issueNumberForSave(context);
        if (!number) {
            return std::nullopt;
        }
        const auto quotation = rendered(context);
        if (!quotation) {
            return std::nullopt;
        }
        switch (writeQuotationRow(context.quotations, quotation->header, quotation->text,
                                  RowWrite::InsertOnly, now, context.prompt)) {
        case RowWriteResult::Written:
            return number;
        case RowWriteResult::Failed:
            return std::nullopt;
        case RowWriteResult::NumberTaken:
            break;
        }
    }
    context.prompt.reportError(kSqlErrorText,
                               "空いている見積番号が見つかりませんでした。採番データを確かめてく"
                               "ださい。");
    return std::nullopt;
}

} // namespace kerbina
