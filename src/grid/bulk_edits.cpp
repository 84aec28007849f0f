#include "grid/bulk_edits.h"

#include "base/text.h"
#include "base/text_codec.h"
#include "money/rounding.h"
#include "records/line_kinds.h"
#include "records/records.h"

#include <algorithm>
#include <functional>

namespace kerbina {

namespace {

constexpr int kPartWidth = 80; // bytes per part in the split and blank-removal commands
constexpr std::string_view kFullWidthBlank = "\u3000";

// How a command ends: the totals pass before the write when amounts can change.
enum class Ending { Totals, Text };

// Runs `change` on each existing line of the selection as one change of the sheet.
CommandResult eachLine(GridContext& context, Selection selection, Ending ending,
                       const std::function<void(LineRecord&)>& change) {
    CommandResult result;
    result.selection = selection;
    const int first = std::max(selection.top, 1);
    const int last = std::min(selection.bottom, context.state.lineCount());
    if (first > last) {
        return result;
    }
    context.cycle.takeSheetSnapshot();
    for (int row = first; row <= last; ++row) {
        change(context.state.sheet[static_cast<std::size_t>(row)]);
    }
    if (ending == Ending::Totals) {
        context.cycle.recalculate(false);
    }
    context.cycle.writeSheet();
    result.changed = true;
    return result;
}

// Name and specification: the text before the first ";" and between the first and the second.
std::pair<std::string, std::string> nameAndSpecification(const std::string& nameSpec) {
    auto [name, rest] = splitNameSpec(nameSpec);
    return {name, rest.substr(0, rest.find(';'))};
}

void setNameSpec(LineRecord& line, const std::string& text) {
    line.nameSpec = fitToWidth(text, kNameSpecWidth);
}

std::string withoutAll(std::string text, const std::string& part) {
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
        text.erase(at, part.size());
    }
    return text;
}

// Int(value ÷ u + offset) × u for u = 10^k, exactly.
Currency roundToPowerOfTen(Currency value, int k, Currency offset) {
    WideInt unit = Currency::kScale;
    for (int i = 0; i < k; ++i) {
        unit *= 10;
    }
    const WideInt numerator = static_cast<WideInt>(value.raw()) * Currency::kScale +
                              static_cast<WideInt>(offset.raw()) * unit;
    const WideInt whole = numerator / (unit * Currency::kScale);
    return currencyFromWide(whole * unit);
}

} // namespace

std::string quantitySumReport(const DocumentState& state, Selection selection) {
    Currency net;
    Currency submitted;
    for (int row = std::max(selection.top, 1); row <= std::min(selection.bottom, state.lineCount());
         ++row) {
        net += state.sheet[static_cast<std::size_t>(row)].netQuantity;
        submitted += state.sheet[static_cast<std::size_t>(row)].submittedQuantity;
    }
    return "■数量集計結果\r\n仕切数量:" + net.toString() + "\r\n提出数量:" + submitted.toString();
}

CommandResult keepSignificantDigits(GridContext& context, Selection selection, int digits,
                                    Currency offset) {
    CommandResult result = eachLine(context, selection, Ending::Totals, [&](LineRecord& line) {
        if (!isOrdinaryLine(line.kind)) {
            return;
        }
        const int k = static_cast<int>(line.submittedPrice.toString().size()) - digits;
        if (k > 0) {
            line.submittedPrice = roundToPowerOfTen(line.submittedPrice, k, offset);
        }
    });
    result.selection = Selection{1, 1};
    return result;
}

CommandResult multiplyByFactor(GridContext& context, Selection selection, FactorTarget target,
                               Currency factor, Currency offset) {
    return eachLine(context, selection, Ending::Totals, [&](LineRecord& line) {
        if (!isOrdinaryLine(line.kind)) {
            return;
        }
        switch (target) {
        case FactorTarget::SubmittedPriceFromSubmitted:
            line.submittedPrice = lineAmount(line.submittedPrice, factor, offset);
            break;
        case FactorTarget::SubmittedPriceFromNet:
            line.submittedPrice = lineAmount(line.netPrice, factor, offset);
            break;
        case FactorTarget::SubmittedQuantityFromSubmitted:
            line.submittedQuantity = lineAmount(line.submittedQuantity, factor, offset);
            break;
        case FactorTarget::SubmittedQuantityFromNet:
            line.submittedQuantity = lineAmount(line.netQuantity, factor, offset);
            break;
        }
    });
}

CommandResult makeQuantitiesWhole(GridContext& context, Selection selection, Currency offset) {
    CommandResult result = eachLine(context, selection, Ending::Totals, [&](LineRecord& line) {
        // Decimal-quantity kinds and comments step down to their whole-quantity twin.
        if (isOrdinaryLine(line.kind) &&
            (isDecimalQuantity(line.kind) || line.kind == LineKind::Comment)) {
            const Currency one = Currency::fromWhole(1);
            line.netQuantity = lineAmount(line.netQuantity, one, offset);
            line.submittedQuantity = lineAmount(line.submittedQuantity, one, offset);
            line.kind = wholeQuantityTwin(line.kind);
        }
    });
    result.selection = Selection{1, 1};
    return result;
}

CommandResult splitAtFirstBlank(GridContext& context, Selection selection) {
    CommandResult result = eachLine(context, selection, Ending::Totals, [](LineRecord& line) {
        if (line.nameSpec.empty()) {
            return;
        }
        const bool separated = line.nameSpec.find(';') != std::string::npos;
        std::string working = line.nameSpec;
        if (separated) {
            const auto [name, specification] = nameAndSpecification(line.nameSpec);
            working = fitToWidth(name, kPartWidth) + fitToWidth(specification, kPartWidth);
        }
        std::size_t cut = working.find(kFullWidthBlank);
        if (cut != std::string::npos) {
            cut += kFullWidthBlank.size();
        } else if ((cut = working.find(' ')) != std::string::npos) {
            cut += 1;
        }
        if (cut == std::string::npos) {
            if (separated) {
                const auto [name, specification] = nameAndSpecification(line.nameSpec);
                setNameSpec(line, joinNameSpec(name, specification));
            }
            return;
        }
        setNameSpec(line, fitToWidth(working.substr(0, cut), kPartWidth) + ";" +
                              fitToWidth(working.substr(cut), kPartWidth));
    });
    result.selection = Selection{1, 1};
    return result;
}

CommandResult removeBlanksBeforeSpecification(GridContext& context, Selection selection) {
    CommandResult result = eachLine(context, selection, Ending::Totals, [](LineRecord& line) {
        const auto [name, specification] = nameAndSpecification(line.nameSpec);
        std::string spec;
        const std::string cut = fitToWidth(specification, kPartWidth);
        for (std::size_t i = 0; i < cut.size();) {
            if (std::string_view(cut).substr(i).starts_with(kFullWidthBlank)) {
                spec += "  ";
                i += kFullWidthBlank.size();
            } else {
                spec += cut[i++];
            }
        }
        spec.erase(0, spec.find_first_not_of(' ') == std::string::npos
                          ? spec.size()
                          : spec.find_first_not_of(' '));
        std::string joined;
        for (std::size_t i = 0; i < spec.size();) {
            if (spec.compare(i, 2, "  ") == 0) {
                joined += kFullWidthBlank;
                i += 2;
            } else {
                joined += spec[i++];
            }
        }
        setNameSpec(line, std::string(trimBlanks(fitToWidth(name, kPartWidth))) + ";" +
                              std::string(trimBlanks(joined)));
    });
    result.selection = Selection{1, 1};
    return result;
}

CommandResult removeTextFromNames(GridContext& context, Selection selection,
                                  const std::string& text) {
    if (text.empty()) {
        return nothingChanged(selection);
    }
    CommandResult result = eachLine(context, selection, Ending::Totals, [&](LineRecord& line) {
        setNameSpec(line, withoutAll(line.nameSpec, text));
    });
    result.selection = Selection{1, 1};
    return result;
}

CommandResult prefixNames(GridContext& context, Selection selection, const std::string& text) {
    return eachLine(context, selection, Ending::Text,
                    [&](LineRecord& line) { setNameSpec(line, text + line.nameSpec); });
}

CommandResult suffixSpecifications(GridContext& context, Selection selection,
                                   const std::string& text) {
    return eachLine(context, selection, Ending::Text, [&](LineRecord& line) {
        const std::size_t first = line.nameSpec.find(';');
        const std::size_t second =
            first == std::string::npos ? std::string::npos : line.nameSpec.find(';', first + 1);
        std::string nameSpec = line.nameSpec;
        nameSpec.insert(second == std::string::npos ? nameSpec.size() : second, text);
        setNameSpec(line, nameSpec);
    });
}

CommandResult setUnits(GridContext& context, Selection selection, const std::string& unit) {
    return eachLine(context, selection, Ending::Text,
                    [&](LineRecord& line) { line.unit = fitToWidth(unit, kUnitWidth); });
}

CommandResult moveNamesToSpecifications(GridContext& context, Selection selection) {
    CommandResult result = eachLine(context, selection, Ending::Text, [](LineRecord& line) {
        const auto [name, specification] = nameAndSpecification(line.nameSpec);
        setNameSpec(line, ";" + name + specification);
    });
    const int last = std::min(selection.bottom, context.state.lineCount());
    result.selection = Selection{last, last};
    return result;
}

CommandResult moveSpecificationsToNames(GridContext& context, Selection selection) {
    CommandResult result = eachLine(context, selection, Ending::Text, [](LineRecord& line) {
        const auto [name, specification] = nameAndSpecification(line.nameSpec);
        setNameSpec(line, name + specification);
    });
    const int last = std::min(selection.bottom, context.state.lineCount());
    result.selection = Selection{last, last};
    return result;
}

} // namespace kerbina
