#pragma once

#include "base/user_error.h"
#include "money/wide_int.h"

#include <cstdint>
#include <iosfwd>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kerbina {

// Raised when a text that should hold a number does not (a damaged file, a hand-edited setting).
class NumberFormatError : public UserError {
public:
    using UserError::UserError;
};

// Raised when a money value leaves the range of a signed 64-bit count of 1/10000.
class CurrencyOverflow : public UserError {
public:
    using UserError::UserError;
};

// Every quantity, price, amount, rate and calculation setting of a quotation: a signed 64-bit
// count of 1/10000. Sums are exact; products and quotients are formed exactly with 128-bit
// integers and brought back to 1/10000 by rounding half to even. No floating point anywhere.
class Currency {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;

    static constexpr Currency fromRaw(std::int64_t raw) {
        Currency value;
        value.raw_ = raw;
        return value;
    }
    static Currency fromWhole(std::int64_t whole);
    // Exact for the constants of the rules (0.5, 0.9, 12.25); only use with at most four decimals.
    static Currency fromText(std::string_view text);

    constexpr std::int64_t raw() const { return raw_; }
    // The whole part, truncated toward zero.
    constexpr std::int64_t wholePart() const { return raw_ / kScale; }
    // The whole part held to the range of int: an item range or line range read from a damaged
    // file may be any amount.
    constexpr int clampedWhole() const {
        const std::int64_t whole = wholePart();
        if (whole < std::numeric_limits<int>::min()) {
            return std::numeric_limits<int>::min();
        }
        if (whole > std::numeric_limits<int>::max()) {
            return std::numeric_limits<int>::max();
        }
        return static_cast<int>(whole);
    }
    constexpr bool isZero() const { return raw_ == 0; }
    constexpr bool isWhole() const { return raw_ % kScale == 0; }

    // Truncation toward zero to a whole number ("Int" of the rounding rules).
    constexpr Currency truncated() const { return fromRaw(raw_ / kScale * kScale); }

    // Shortest decimal text: no grouping, "." as separator, no trailing zeros, "-" for
    // negatives, "0" for zero (1500, 0.5, 12.25, -300).
    std::string toString() const;

    // Written out rather than defaulted through <=>: the window code's meta-object compiler
    // cannot read <compare>, and this header reaches it through the window headers.
    friend constexpr bool operator==(Currency a, Currency b) { return a.raw_ == b.raw_; }
    friend constexpr bool operator!=(Currency a, Currency b) { return a.raw_ != b.raw_; }
    friend constexpr bool operator<(Currency a, Currency b) { return a.raw_ < b.raw_; }
    friend constexpr bool operator<=(Currency a, Currency b) { return a.raw_ <= b.raw_; }
    friend constexpr bool operator>(Currency a, Currency b) { return a.raw_ > b.raw_; }
    friend constexpr bool operator>=(Currency a, Currency b) { return a.raw_ >= b.raw_; }

    friend Currency operator+(Currency a, Currency b);
    friend Currency operator-(Currency a, Currency b);
    friend Currency operator-(Currency a);
    Currency& operator+=(Currency other) { return *this = *this + other; }
    Currency& operator-=(Currency other) { return *this = *this - other; }

    // Exact product brought back to 1/10000, ties to even.
    friend Currency operator*(Currency a, Currency b);
    // Exact quotient brought back to 1/10000, ties to even. Division by zero raises
    // std::domain_error.
    friend Currency operator/(Currency a, Currency b);

    // The text of toString(), so that test failures and diagnostics show the value.
    friend std::ostream& operator<<(std::ostream& out, Currency value);

private:
    std::int64_t raw_ = 0;
};

// Reads a number from text: the empty text and the two characters "" read as 0; otherwise an
// optional sign, digits and at most one ".", with blanks allowed around it. Digits beyond the
// fourth decimal are rounded half to even. Anything else raises NumberFormatError naming the text.
Currency parseNumber(std::string_view text);
// The same, with a text that is no number read as 0: for fields of files and messages that other
// programs write, where a damaged field must not stop the rest from being read.
Currency parseNumberOrZero(std::string_view text);

// Rounds an exact fraction numerator/denominator (denominator > 0) half to even.
std::int64_t roundHalfEven(WideInt numerator, WideInt denominator);
// Narrows an exact 128-bit count of 1/10000 back to Currency or raises CurrencyOverflow.
Currency currencyFromWide(WideInt raw);

} // namespace kerbina
