#include "costs/welfare_writes.h"

#include "base/text_codec.h"
#include "costs/list_entry.h"
#include "document/work_store.h"
#include "money/typed_number.h"
#include "records/item_settings.h"
#include "records/kinds.h"
#include "records/sheet_rows.h"

#include <algorithm>

namespace kerbina {

namespace {

constexpr std::string_view kNoRate = "掛け率が入力されていません。";
constexpr std::string_view kRateNotANumber = "率は数値で入力して下さい。";
const Currency kWelfareGroupCode = Currency::fromWhole(99999);

std::optional<Currency> typedRate(std::string_view text) {
    try {
        return parseTypedNumber(text);
    } catch (const NumberFormatError&) {
        return std::nullopt;
    }
}

// The comments of the formula layout after the welfare line; the sheet's lead comment ends with
// "。", the list's does not.
std::string formulaLead(bool listMode) {
    return listMode ? "上記の金額には以下の法定福利費相当額を含んでいます"
                    : "上記の金額には以下の法定福利費相当額を含んでいます。";
}

std::vector<std::string> formulaExplanation(const WelfareEntry& entry) {
    const bool workerRateApplies = entry.workerRate != Currency::fromWhole(100);
    std::vector<std::string> comments{
        workerRateApplies ? "Ａ(法定福利費)=Ｙ×Ｕ×Ｚ×Ｒ" : "Ａ(法定福利費)=Ｙ×Ｕ×Ｚ", "Ｙ：合計",
        "Ｕ：労務比率(" + entry.labourRate.toString() + "%)",
        "Ｚ：法定福利費事業主負担率(" + entry.employerRateText + "%)"};
    if (workerRateApplies) {
        comments.push_back("Ｒ：適用労働者率(" + entry.workerRate.toString() + "%)");
    }
    return comments;
}

std::string flagText(const WelfareEntry& entry) {
    return entry.formulaInSpecification ? "True" : "False";
}

LineMessage welfareLine(const WelfareEntry& entry, const std::string& name, Currency rate) {
    LineMessage line;
    line.name = name;
    line.unit = "式";
    line.netQuantity = entry.labourRate;
    line.submittedQuantity = rate;
    line.submittedAdditionalPrice = entry.workerRate;
    line.kind = LineKind::Welfare;
    line.groupCode = kWelfareGroupCode;
    line.amountText = flagText(entry);
    return line;
}

LineMessage welfareSumLine(const WelfareEntry& entry) {
    LineMessage line;
    line.name = entry.sumName;
    line.unit = "式";
    line.kind = LineKind::WelfareSum;
    line.groupCode = kWelfareGroupCode;
    line.amountText = flagText(entry);
    return line;
}

LineMessage commentLine(const std::string& text) {
    LineMessage line;
    line.name = text;
    line.kind = LineKind::Comment;
    line.groupCode = kWelfareGroupCode;
    return line;
}

ItemRecord welfareItem(const WelfareEntry& entry, const std::string& name, Currency rate) {
    ItemRecord item;
    item.kind = ItemKind::Welfare;
    item.name = fitToWidth(name, kItemNameWidth);
    setWelfareRates(item, WelfareRates{entry.labourRate, rate, entry.workerRate});
    setShowsFormulaWithName(item, entry.formulaInSpecification);
    return item;
}

ItemRecord welfareSumItem(const WelfareEntry& entry, int first, int last) {
    ItemRecord item;
    item.kind = ItemKind::WelfareSum;
    item.name = fitToWidth(entry.sumName, kItemNameWidth);
    setItemRange(item, first, last);
    setShowsFormulaWithName(item, entry.formulaInSpecification);
    return item;
}

// The formula's comment items carry r3 where a welfare item keeps it, and the flag as their
// placement code.
ItemRecord commentItem(const WelfareEntry& entry, const std::string& text) {
    ItemRecord item;
    item.kind = ItemKind::Comment;
    item.name = fitToWidth(text, kItemNameWidth);
    setWelfareRates(item, WelfareRates{Currency(), Currency(), entry.workerRate});
    setCommentPlacement(item, Currency::fromWhole(entry.formulaInSpecification ? 1 : 0));
    return item;
}

CommandResult writeSheetLines(GridContext& context, int first,
                              const std::vector<LineMessage>& lines) {
    DocumentState& state = context.state;
    context.cycle.takeSheetSnapshot();
    int row = first;
    for (const LineMessage& message : lines) {
        if (row > state.lineCount()) {
            while (state.lineCount() < row) {
                state.sheet.push_back(emptyLine());
            }
            applyLineMessage(state.sheet.back(), message, true);
        } else {
            applyLineMessage(state.sheet[static_cast<std::size_t>(row)], message, false);
        }
        ++row;
    }
    return finishChange(context, Selection{row, row});
}

CommandResult writeListItems(GridContext& context, int first, const WelfareEntry& entry,
                             WelfareLayout layout) {
    DocumentState& state = context.state;
    const std::vector<ItemRecord> items = welfareItems(entry, layout, first);
    const int last = first + static_cast<int>(items.size()) - 1;
    for (int row = first; row <= last; ++row) {
        if (const auto refusal = listWelfareRefusal(state, context.workFolder, row)) {
            context.host.notify(*refusal);
            return nothingChanged(Selection{first, first});
        }
    }
    context.cycle.takeListSnapshot();
    if (layout == WelfareLayout::Single) {
        ItemMessage message;
        message.kind = ItemKind::Welfare;
        message.name = entry.name;
        message.note = "0";
        message.setting144 = entry.labourRate;
        message.setting152 = entry.employerRate;
        CommandResult result =
            writeItemFromMessage(context, first, message, [&entry](ItemRecord& item) {
                setShowsFormulaWithName(item, entry.formulaInSpecification);
                setWelfareRates(
                    item, WelfareRates{entry.labourRate, entry.employerRate, entry.workerRate});
            });
        result.selection = Selection{first + 1, first + 1};
        return result;
    }
    itemCreatedAt(state, last);
    std::ranges::copy(items, state.items.begin() + first);
    return finishListChange(context, Selection{last + 1, last + 1});
}

} // namespace

std::variant<WelfareEntry, std::string> checkedWelfareEntry(const WelfareForm& form) {
    const auto labourRate = typedRate(form.labourRate);
    const auto employerRate = typedRate(form.employerRate);
    if (form.labourRate.empty() || (employerRate && employerRate->isZero())) {
        return std::string(kNoRate);
    }
    const auto workerRate = typedRate(form.workerRate);
    if (!labourRate || !employerRate || !workerRate) {
        return std::string(kRateNotANumber);
    }
    WelfareEntry entry;
    for (int k = 0; k < kInsuranceCount; ++k) {
        const auto rate = typedRate(form.insuranceRates[static_cast<std::size_t>(k)]);
        if (!rate) {
            return std::string(kRateNotANumber);
        }
        entry.insuranceRates[static_cast<std::size_t>(k)] = *rate;
    }
    entry.name = form.name;
    entry.insuranceNames = form.insuranceNames;
    entry.sumName = form.sumName;
    entry.labourRate = *labourRate;
    entry.employerRate = *employerRate;
    entry.employerRateText = form.employerRate;
    entry.workerRate = *workerRate;
    entry.formulaInSpecification = form.formulaInSpecification;
    return entry;
}

std::vector<LineMessage> welfareLines(const WelfareEntry& entry, WelfareLayout layout) {
    std::vector<LineMessage> lines;
    switch (layout) {
    case WelfareLayout::Single:
        lines.push_back(welfareLine(entry, entry.name, entry.employerRate));
        break;
    case WelfareLayout::Expanded:
        // Only the insurances that are charged; their sum always follows.
        for (int k = 0; k < kInsuranceCount; ++k) {
            const auto index = static_cast<std::size_t>(k);
            if (entry.insuranceRates[index] > Currency()) {
                lines.push_back(
                    welfareLine(entry, entry.insuranceNames[index], entry.insuranceRates[index]));
            }
        }
        lines.push_back(welfareSumLine(entry));
        break;
    case WelfareLayout::Formula:
        lines.push_back(commentLine(formulaLead(false)));
        lines.push_back(welfareLine(entry, entry.name + "(A)", entry.employerRate));
        for (const std::string& comment : formulaExplanation(entry)) {
            lines.push_back(commentLine(comment));
        }
        break;
    }
    return lines;
}

std::vector<ItemRecord> welfareItems(const WelfareEntry& entry, WelfareLayout layout, int first) {
    std::vector<ItemRecord> items;
    switch (layout) {
    case WelfareLayout::Single:
        items.push_back(welfareItem(entry, entry.name, entry.employerRate));
        break;
    case WelfareLayout::Expanded:
        // Every insurance, charged or not, so that the sum's rows are always the same six.
        for (int k = 0; k < kInsuranceCount; ++k) {
            const auto index = static_cast<std::size_t>(k);
            items.push_back(
                welfareItem(entry, entry.insuranceNames[index], entry.insuranceRates[index]));
        }
        items.push_back(welfareSumItem(entry, first, first + kInsuranceCount));
        break;
    case WelfareLayout::Formula:
        items.push_back(commentItem(entry, formulaLead(true)));
        items.push_back(welfareItem(entry, entry.name + "(A)", entry.employerRate));
        for (const std::string& comment : formulaExplanation(entry)) {
            items.push_back(commentItem(entry, comment));
        }
        break;
    }
    return items;
}

std::optional<std::string> sheetWelfareRefusal(const DocumentState& state) {
    if (std::any_of(state.sheet.begin() + 1, state.sheet.end(),
                    [](const LineRecord& line) { return line.kind == LineKind::Welfare; })) {
        return "すでに法定福利費が入力されています";
    }
    return std::nullopt;
}

std::optional<std::string> listWelfareRefusal(const DocumentState& state,
                                              const std::filesystem::path& workFolder, int row) {
    return listCostEntryRefusal(state, workFolder, row,
                                "先頭行に法定福利費を入れる事はできません。");
}

CommandResult writeWelfare(GridContext& context, Selection selection, const WelfareEntry& entry,
                           WelfareLayout layout, bool listMode) {
    const int first = std::max(selection.bottom, 1);
    if (listMode) {
        return writeListItems(context, first, entry, layout);
    }
    return writeSheetLines(context, first, welfareLines(entry, layout));
}

std::optional<Selection> welfareLineRows(const DocumentState& state) {
    std::optional<Selection> rows;
    for (int row = 1; row <= state.lineCount(); ++row) {
        if (isWelfare(state.sheet[static_cast<std::size_t>(row)].kind)) {
            rows = Selection{rows ? rows->top : row, row};
        }
    }
    return rows;
}

} // namespace kerbina
