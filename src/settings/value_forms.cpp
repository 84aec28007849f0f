#include "settings/value_forms.h"

#include "base/text.h"
#include "money/calc_settings.h"

#include <stdexcept>

namespace kerbina {

namespace {

// parseNumber's reading, with the texts it refuses (or that leave the money range) as nothing.
std::optional<Currency> numberFromText(std::string_view value) {
    try {
        return parseNumber(value);
    } catch (const NumberFormatError&) {
        return std::nullopt;
    } catch (const CurrencyOverflow&) {
        return std::nullopt;
    }
}

} // namespace

std::string_view checkText(bool ticked) {
    return ticked ? "TRUE" : "FALSE";
}

std::optional<bool> checkFromText(std::string_view value) {
    if (value == "TRUE") {
        return true;
    }
    if (value == "FALSE") {
        return false;
    }
    return std::nullopt;
}

std::optional<int> optionFromText(std::string_view value, int choices) {
    const std::int32_t index = parseInteger32(value).value_or(0);
    if (index < 0 || index >= choices) {
        return std::nullopt;
    }
    return index;
}

std::string taxRateText(Currency rate) {
    return rate.toString();
}

std::optional<Currency> taxRateFromText(std::string_view value) {
    return numberFromText(value);
}

std::string taxOffsetText(int index) {
    return offsetFromOptionIndex(index).value_or(Currency::fromText("0.5")).toString();
}

std::optional<int> taxOffsetIndexFromText(std::string_view value) {
    const std::optional<Currency> offset = numberFromText(value);
    if (!offset) {
        return std::nullopt;
    }
    return optionIndexOfOffset(*offset);
}

std::optional<std::int64_t> wholeNumberFromText(std::string_view value) {
    const std::optional<Currency> number = numberFromText(value);
    if (!number) {
        return std::nullopt;
    }
    return number->wholePart();
}

} // namespace kerbina
