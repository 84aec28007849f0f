#include "money/rounding.h"

#include <array>
#include <optional>

namespace kerbina {

namespace {

constexpr WideInt kScale = Currency::kScale;

constexpr WideInt magnitude(WideInt value) {
    return value < 0 ? -value : value;
}

// Int(numerator ÷ denominator) as whole units: C++ division already truncates toward zero, which
// is what the rules ask for on negative values too. The result is checked on its way back.
Currency wholeUnits(WideInt numerator, WideInt denominator) {
    return currencyFromWide(numerator / denominator * kScale);
}

// Int(value ÷ unit + offset) × unit, with the whole unit given as a plain integer. Scaling the
// offset by the unit keeps the sum exact: (value.raw + offset.raw × unit) ÷ (unit × 10000).
Currency roundToUnit(Currency value, WideInt unit, Currency offset) {
    const WideInt units =
        (static_cast<WideInt>(value.raw()) + static_cast<WideInt>(offset.raw()) * unit) /
        (unit * kScale);
    return currencyFromWide(units * unit * kScale);
}

constexpr std::optional<WideInt> wholePowerOfTenUnit(Currency level) {
    constexpr std::array<std::int64_t, 7> kUnits = {1, 10, 100, 1000, 10000, 100000, 1000000};
    for (const std::int64_t unit : kUnits) {
        if (level.raw() == unit * Currency::kScale) {
            return unit;
        }
    }
    return std::nullopt;
}

// Levels 7, 8 and 9 keep 2, 3 and 4 significant digits, counted on the value's text: the unit is
// 10^k with k = length − (level − 5). The decimals and the point count towards the length, as they
// always have; the minus sign does not, otherwise a negative value would be cut one digit too far
// (−123456 to two digits would give −100000, or 0 once an offset is added).
Currency roundToSignificantDigits(Currency value, int level, Currency offset) {
    const std::string text = value.toString();
    const int length = static_cast<int>(text.size()) - (value.raw() < 0 ? 1 : 0);
    const int k = length - (level - 5);
    if (k <= 0) {
        return value;
    }
    WideInt unit = 1;
    for (int i = 0; i < k; ++i) {
        unit *= 10;
    }
    return roundToUnit(value, unit, offset);
}

std::optional<int> significantDigitLevel(Currency level) {
    for (const int candidate : {7, 8, 9}) {
        if (level.raw() == candidate * Currency::kScale) {
            return candidate;
        }
    }
    return std::nullopt;
}

// Digits of a non-negative whole number with "," between groups of three.
std::string groupedDigits(UnsignedWideInt whole) {
    std::string digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits.insert(digits.begin(), ',');
            inGroup = 0;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(whole % 10)));
        whole /= 10;
        ++inGroup;
    } while (whole != 0);
    return digits;
}

} // namespace

Currency lineAmount(Currency price, Currency quantity, Currency offset) {
    // price × quantity carries 8 decimals; the offset is lifted to the same scale.
    const WideInt exact = static_cast<WideInt>(price.raw()) * quantity.raw() +
                          static_cast<WideInt>(offset.raw()) * kScale;
    return wholeUnits(exact, kScale * kScale);
}

Currency percentOf(Currency base, Currency ratePercent, Currency offset) {
    if (ratePercent.isZero()) {
        return Currency();
    }
    // base × rate ÷ 100 carries 8 decimals over a further 100.
    const WideInt exact = static_cast<WideInt>(base.raw()) * ratePercent.raw() +
                          static_cast<WideInt>(offset.raw()) * kScale * 100;
    return wholeUnits(exact, kScale * kScale * 100);
}

Currency roundToLevel(Currency value, Currency levelCode, Currency offset) {
    if (levelCode.isWhole() && levelCode.raw() >= 0 && levelCode.raw() <= 6 * Currency::kScale) {
        WideInt unit = 1;
        for (std::int64_t code = levelCode.wholePart(); code > 0; --code) {
            unit *= 10;
        }
        return roundToUnit(value, unit, offset);
    }
    if (const auto level = significantDigitLevel(levelCode)) {
        return roundToSignificantDigits(value, *level, offset);
    }
    // Codes 10 .. 1000000 name their unit directly; code 1 is already taken by tens.
    if (const auto unit = wholePowerOfTenUnit(levelCode); unit && *unit >= 10) {
        return roundToUnit(value, *unit, offset);
    }
    return value;
}

Currency roundToSetting(Currency value, Currency level, Currency offset) {
    if (level.isZero()) {
        level = Currency::fromWhole(1);
    }
    if (const auto digits = significantDigitLevel(level)) {
        return roundToSignificantDigits(value, *digits, offset);
    }
    if (const auto unit = wholePowerOfTenUnit(level)) {
        return roundToUnit(value, *unit, offset);
    }
    return value;
}

Currency truncateToQuantityDecimals(Currency quantity, Currency quantityDecimals) {
    // Int(quantity × decimals) ÷ decimals keeps 1, 2 or 3 of the four stored decimals. Any other
    // decimals value is repaired by the totals pass before it gets here; until then the quantity
    // is left as it is.
    std::int64_t step = 0;
    if (quantityDecimals == Currency::fromWhole(10)) {
        step = 1000;
    } else if (quantityDecimals == Currency::fromWhole(100)) {
        step = 100;
    } else if (quantityDecimals == Currency::fromWhole(1000)) {
        step = 10;
    } else {
        return quantity;
    }
    return Currency::fromRaw(quantity.raw() / step * step);
}

Currency truncateLaborFactor(Currency factor) {
    return Currency::fromRaw(factor.raw() / 10 * 10);
}

std::string wholeYenText(Currency value) {
    // Whole yen, halves away from zero, as a "#,##0" format shows it.
    const WideInt raw = value.raw();
    const auto whole = static_cast<UnsignedWideInt>((magnitude(raw) + kScale / 2) / kScale);
    std::string text = groupedDigits(whole);
    if (raw < 0 && whole != 0) {
        text.insert(text.begin(), '-');
    }
    return text;
}

namespace {

// The digits the fixed format of a quantity decimals setting shows: 1, 2 or 3; none for any other
// setting.
std::optional<int> shownQuantityDecimals(Currency quantityDecimals) {
    for (const int decimals : {1, 2, 3}) {
        WideInt setting = 1;
        for (int i = 0; i < decimals; ++i) {
            setting *= 10;
        }
        if (quantityDecimals.raw() == setting * kScale) {
            return decimals;
        }
    }
    return std::nullopt;
}

// 10^(4 − decimals): the stored decimals the format does not show.
WideInt hiddenQuantityStep(int decimals) {
    WideInt step = 1;
    for (int i = decimals; i < 4; ++i) {
        step *= 10;
    }
    return step;
}

// The magnitude in shown units, halves away from zero on the exact decimal value, like the
// fixed format of the display.
WideInt shownQuantityUnits(Currency quantity, WideInt step) {
    return (magnitude(quantity.raw()) + step / 2) / step;
}

} // namespace

Currency roundQuantityAsShown(Currency quantity, Currency quantityDecimals) {
    const auto decimals = shownQuantityDecimals(quantityDecimals);
    if (!decimals) {
        return quantity;
    }
    const WideInt step = hiddenQuantityStep(*decimals);
    const WideInt rounded = shownQuantityUnits(quantity, step) * step;
    return currencyFromWide(quantity.raw() < 0 ? -rounded : rounded);
}

std::string fixedQuantityText(Currency quantity, Currency quantityDecimals) {
    const auto decimals = shownQuantityDecimals(quantityDecimals);
    if (!decimals) {
        return {};
    }
    const std::size_t width = 8 - static_cast<std::size_t>(*decimals);
    const WideInt step = hiddenQuantityStep(*decimals);
    const WideInt shownScale = kScale / step;
    const WideInt shown = shownQuantityUnits(quantity, step);
    std::string fraction = std::to_string(static_cast<int>(shown % shownScale));
    fraction.insert(0, static_cast<std::size_t>(*decimals) - fraction.size(), '0');
    std::string text = std::to_string(static_cast<std::uint64_t>(shown / shownScale));
    text += '.';
    text += fraction;
    if (quantity.raw() < 0 && shown != 0) {
        text.insert(text.begin(), '-');
    }
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}

} // namespace kerbina
