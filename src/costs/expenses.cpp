#include "costs/expenses.h"

#include "base/text_codec.h"
#include "costs/list_entry.h"
#include "grid/structure_commands.h"
#include "money/typed_number.h"
#include "records/item_settings.h"

#include <algorithm>

namespace kerbina {

const std::array<const char*, kExpenseTargets> kExpenseTargetCaptions = {
    "経費対象内(端数処理無)", "経費対象外(端数処理無)", "経費全て含(端数処理有)",
    "経費外抜(端数処理有)"};

const std::array<int, 20> kExpenseRateButtons = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                                 11, 12, 15, 20, 25, 30, 40, 50, 75, 100};

namespace {

constexpr int kExpenseNameWidth = 40;
constexpr std::string_view kNoRate = "掛け率が入力されていません。";
constexpr std::string_view kRateNotNumber = "掛け率は数値で入力して下さい。";
constexpr std::string_view kPatternSumName = "【合　　計】";
constexpr int kFirstTargetGroupCode = 99993;
constexpr int kPatternGroupCode = 99994;

std::optional<Currency> rateOf(const std::string& text) {
    try {
        return parseTypedNumber(text);
    } catch (const NumberFormatError&) {
        return std::nullopt;
    }
}

int clampedTarget(int targetIndex) {
    return std::clamp(targetIndex, 0, kExpenseTargets - 1);
}

} // namespace

bool roundingChoiceEnabled(int targetIndex) {
    return targetIndex == 0 || targetIndex == 1;
}

int targetIndexOfStored(int storedTarget) {
    return clampedTarget(storedTarget);
}

void chooseNameButton(ExpenseEntry& entry, const ExpenseNameButton& button) {
    entry.name = fitToWidth(button.caption, kExpenseNameWidth);
    entry.targetIndex = targetIndexOfStored(button.storedTarget);
}

void chooseRate(ExpenseEntry& entry, int percent) {
    entry.netRateText = std::to_string(percent);
    entry.submittedRateText = entry.netRateText;
}

std::optional<std::string> renameNameButton(ExpenseNameButtons& buttons, int index,
                                            const std::string& caption, int targetIndex) {
    if (auto refusal = separatorRefusal(caption)) {
        return refusal;
    }
    ExpenseNameButton& button = buttons.at(static_cast<std::size_t>(index));
    button.caption = caption;
    button.storedTarget = clampedTarget(targetIndex);
    return std::nullopt;
}

std::string registrationNotice(int targetIndex) {
    return std::string("計算対象:") +
           kExpenseTargetCaptions[static_cast<std::size_t>(clampedTarget(targetIndex))] +
           "\nとして登録しました。";
}

std::optional<std::string> expenseEntryRefusal(const ExpenseEntry& entry) {
    if (entry.netRateText.empty() || entry.submittedRateText.empty()) {
        return std::string(kNoRate);
    }
    if (!rateOf(entry.netRateText) || !rateOf(entry.submittedRateText)) {
        return std::string(kRateNotNumber);
    }
    return std::nullopt;
}

LineMessage expenseLineMessage(const ExpenseEntry& entry) {
    const int target = clampedTarget(entry.targetIndex);
    LineMessage message;
    message.messageName = "WM_DATAWRITE";
    message.name = entry.name;
    message.unit = entry.unit == ExpenseUnit::Percent ? "％" : "式";
    message.netQuantity = rateOf(entry.netRateText).value_or(Currency());
    message.submittedQuantity = rateOf(entry.submittedRateText).value_or(Currency());
    message.kind = expenseLineKind(target);
    message.groupCode = Currency::fromWhole(kFirstTargetGroupCode + target);
    message.hiddenFlag = entry.roundingIndex;
    return message;
}

ItemMessage expenseItemMessage(const ExpenseEntry& entry) {
    ItemMessage message;
    message.kind = expenseItemKind(clampedTarget(entry.targetIndex));
    message.name = entry.name;
    message.setting144 = rateOf(entry.netRateText).value_or(Currency());
    message.setting152 = rateOf(entry.submittedRateText).value_or(Currency());
    message.setting160 = Currency::fromWhole(entry.roundingIndex);
    message.setting168 = Currency::fromWhole(entry.unit == ExpenseUnit::Percent ? 1 : 2);
    return message;
}

CommandResult writeExpenseLine(GridContext& context, Selection selection,
                               const ExpenseEntry& entry) {
    if (const auto refusal = expenseEntryRefusal(entry)) {
        context.host.notify(*refusal);
        return nothingChanged(selection);
    }
    if (!sheetExpensesAllowed(context, selection)) {
        return nothingChanged(selection);
    }
    return writeLineFromMessage(context, selection, expenseLineMessage(entry),
                                LineWriteMode::Overwrite, AfterWrite::Save, false);
}

std::optional<std::string> listExpenseRefusal(const DocumentState& state,
                                              const std::filesystem::path& workFolder, int row) {
    return listCostEntryRefusal(state, workFolder, row, "先頭行に諸経費を入れる事はできません。");
}

CommandResult writeExpenseItem(GridContext& context, Selection selection,
                               const ExpenseEntry& entry) {
    const int row = selection.bottom;
    std::optional<std::string> refusal = expenseEntryRefusal(entry);
    if (!refusal) {
        refusal = listExpenseRefusal(context.state, context.workFolder, row);
    }
    if (refusal) {
        context.host.notify(*refusal);
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    CommandResult result =
        writeItemFromMessage(context, row, expenseItemMessage(entry), [](ItemRecord& item) {
            ExpenseRates rates = expenseRates(item);
            rates.roundingOffset = rates.roundingLevel;
            setExpenseRates(item, rates);
        });
    result.selection = Selection{row + 1, row + 1};
    return result;
}

std::vector<LineMessage> patternLineMessages(const std::vector<ExpensePatternLine>& lines) {
    std::vector<LineMessage> messages;
    for (const ExpensePatternLine& line : lines) {
        if (line.submittedRate.isZero()) {
            continue;
        }
        LineMessage message;
        message.messageName = "WM_MULTIWRITE";
        message.name = line.name;
        message.unit = line.unit;
        message.netQuantity = line.netRate;
        message.submittedQuantity = line.submittedRate;
        message.kind = line.kind;
        message.groupCode = Currency::fromWhole(kPatternGroupCode);
        messages.push_back(message);
    }
    LineMessage sum;
    sum.messageName = "WM_DATAWRITE";
    sum.name = std::string(kPatternSumName);
    sum.kind = LineKind::SumLine;
    sum.groupCode = Currency::fromWhole(kFirstTargetGroupCode);
    messages.push_back(sum);
    return messages;
}

CommandResult
writeExpensePatternLines(GridContext& context, Selection selection,
                         const std::optional<std::vector<ExpensePatternLine>>& lines) {
    if (!lines) {
        return nothingChanged(selection);
    }
    const std::vector<LineMessage> messages = patternLineMessages(*lines);
    const int first = std::max(selection.bottom, 1);
    for (int row = first; row < first + static_cast<int>(messages.size()); ++row) {
        if (!checkNotInHiddenRange(context, row)) {
            return nothingChanged(selection);
        }
    }
    CommandResult result = nothingChanged(selection);
    for (const LineMessage& message : messages) {
        result = writeLineFromMessage(context, result.selection, message, LineWriteMode::Overwrite,
                                      AfterWrite::Save, false);
    }
    return result;
}

PatternRowEntry patternRowEntry(const ExpensePatternLine& line) {
    return {line.name,
            line.shortName,
            line.unit,
            patternRateText(line.netRate),
            patternRateText(line.submittedRate),
            expenseTarget(line.kind)};
}

std::variant<std::vector<ExpensePatternLine>, std::string>
patternLinesOf(const std::vector<PatternRowEntry>& rows) {
    std::vector<ExpensePatternLine> lines;
    for (const PatternRowEntry& row : rows) {
        for (const std::string* text : {&row.name, &row.shortName, &row.unit}) {
            if (auto refusal = separatorRefusal(*text)) {
                return *refusal;
            }
        }
        const auto rate = [](const std::string& text) {
            return text.empty() ? std::optional<Currency>(Currency()) : rateOf(text);
        };
        const std::optional<Currency> net = rate(row.netRateText);
        const std::optional<Currency> submitted = rate(row.submittedRateText);
        if (!net || !submitted) {
            return std::string(kRateNotNumber);
        }
        lines.push_back({row.name, row.shortName, row.unit, *net, *submitted,
                         expenseLineKind(clampedTarget(row.targetIndex))});
    }
    return lines;
}

bool sheetExpensesAllowed(GridContext& context, Selection selection) {
    return checkNotInHiddenRange(context, selection.bottom);
}

} // namespace kerbina
