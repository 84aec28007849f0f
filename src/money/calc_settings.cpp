#include "money/calc_settings.h"

#include <array>

namespace kerbina {

const std::array<const char*, kLevelOptions> kLevelOptionCaptions = {
    "1", "10", "100", "1000", "10000", "100000", "1000000", "有効2桁", "有効3桁", "有効4桁"};

namespace {

constexpr Currency whole(std::int64_t value) {
    return Currency::fromRaw(value * Currency::kScale);
}

// The option lists in the order the settings file numbers them and the dialog shows them.
constexpr std::array kOffsets = {Currency::fromRaw(5000), Currency::fromRaw(9000), Currency()};
constexpr std::array kQuantityDecimals = {whole(10), whole(100), whole(1000)};
constexpr std::array kLevels = {whole(1),     whole(10),     whole(100),     whole(1000),
                                whole(10000), whole(100000), whole(1000000), whole(7),
                                whole(8),     whole(9)};

template <std::size_t N>
std::optional<Currency> atIndex(const std::array<Currency, N>& options, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) {
        return std::nullopt;
    }
    return options[static_cast<std::size_t>(index)];
}

template <std::size_t N>
std::optional<int> indexOf(const std::array<Currency, N>& options, Currency value) {
    for (std::size_t i = 0; i < N; ++i) {
        if (options[i] == value) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Currency> offsetFromOptionIndex(int index) {
    return atIndex(kOffsets, index);
}

std::optional<Currency> quantityDecimalsFromOptionIndex(int index) {
    return atIndex(kQuantityDecimals, index);
}

std::optional<Currency> levelFromOptionIndex(int index) {
    return atIndex(kLevels, index);
}

std::optional<int> optionIndexOfOffset(Currency offset) {
    return indexOf(kOffsets, offset);
}

std::optional<int> optionIndexOfQuantityDecimals(Currency decimals) {
    return indexOf(kQuantityDecimals, decimals);
}

std::optional<int> optionIndexOfLevel(Currency level) {
    // A level of 0 is computed as 1 (the grand-total level starts out as 0), so it selects "1"
    // rather than leaving whatever the dialog showed for the previous quotation.
    if (level.isZero()) {
        return 0;
    }
    return indexOf(kLevels, level);
}

} // namespace kerbina
