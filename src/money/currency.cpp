#include "money/currency.h"

#include <algorithm>
#include <limits>
#include <ostream>

namespace kerbina {

namespace {

constexpr WideInt kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr WideInt kInt64Max = std::numeric_limits<std::int64_t>::max();

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

Currency currencyFromWide(WideInt raw) {
    if (raw < kInt64Min || raw > kInt64Max) {
        throw CurrencyOverflow("金額が大きすぎます。");
    }
    return Currency::fromRaw(static_cast<std::int64_t>(raw));
}

std::int64_t roundHalfEven(WideInt numerator, WideInt denominator) {
    WideInt quotient = numerator / denominator;
    WideInt remainder = numerator % denominator;
    if (remainder != 0) {
        const WideInt twice = (remainder < 0 ? -remainder : remainder) * 2;
        const bool negative = (numerator < 0);
        if (twice > denominator || (twice == denominator && quotient % 2 != 0)) {
            quotient += negative ? -1 : 1;
        }
    }
    return currencyFromWide(quotient).raw();
}

Currency Currency::fromWhole(std::int64_t whole) {
    return currencyFromWide(static_cast<WideInt>(whole) * kScale);
}

Currency Currency::fromText(std::string_view text) {
    return parseNumber(text);
}

std::string Currency::toString() const {
    const bool negative = raw_ < 0;
    // Work on the unsigned magnitude so that the smallest value has a text too.
    UnsignedWideInt magnitude = negative ? -static_cast<WideInt>(raw_) : raw_;
    const auto whole = static_cast<std::uint64_t>(magnitude / kScale);
    auto fraction = static_cast<std::uint32_t>(magnitude % kScale);
    std::string text = negative ? "-" : "";
    text += std::to_string(whole);
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        while (digits.back() == '0') {
            digits.pop_back();
        }
        text += '.';
        text += digits;
    }
    return text;
}

Currency operator+(Currency a, Currency b) {
    return currencyFromWide(static_cast<WideInt>(a.raw_) + b.raw_);
}

Currency operator-(Currency a, Currency b) {
    return currencyFromWide(static_cast<WideInt>(a.raw_) - b.raw_);
}

Currency operator-(Currency a) {
    return currencyFromWide(-static_cast<WideInt>(a.raw_));
}

Currency operator*(Currency a, Currency b) {
    return Currency::fromRaw(
        roundHalfEven(static_cast<WideInt>(a.raw_) * b.raw_, Currency::kScale));
}

Currency operator/(Currency a, Currency b) {
    if (b.raw_ == 0) {
        throw std::domain_error("0 で割ることはできません。");
    }
    WideInt numerator = static_cast<WideInt>(a.raw_) * Currency::kScale;
    WideInt denominator = b.raw_;
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    return Currency::fromRaw(roundHalfEven(numerator, denominator));
}

std::ostream& operator<<(std::ostream& out, Currency value) {
    return out << value.toString();
}

Currency parseNumber(std::string_view text) {
    const auto fail = [&]() -> Currency {
        throw NumberFormatError("数値ではありません: \"" + std::string(text) + "\"");
    };
    std::string_view body = text;
    while (!body.empty() && isBlank(body.front())) {
        body.remove_prefix(1);
    }
    while (!body.empty() && isBlank(body.back())) {
        body.remove_suffix(1);
    }
    if (body.empty() || body == "\"\"") {
        return Currency();
    }
    bool negative = false;
    if (body.front() == '+' || body.front() == '-') {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    WideInt digits = 0;
    WideInt denominator = 1;
    bool seenPoint = false;
    bool seenDigit = false;
    constexpr WideInt kLimit = static_cast<WideInt>(1) << 100;
    for (char c : body) {
        if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            seenDigit = true;
            if (digits > kLimit || denominator > kLimit) {
                // Far beyond the range: overflow if a whole digit, otherwise ignore the tail.
                if (!seenPoint) {
                    throw CurrencyOverflow("数値が大きすぎます: \"" + std::string(text) + "\"");
                }
                continue;
            }
            digits = digits * 10 + (c - '0');
            if (seenPoint) {
                denominator *= 10;
            }
        } else {
            return fail();
        }
    }
    if (!seenDigit) {
        return fail();
    }
    if (denominator <= Currency::kScale) {
        // At most four decimals, as every file writes them: exact, no rounding to do.
        const WideInt raw = digits * (Currency::kScale / denominator);
        return currencyFromWide(negative ? -raw : raw);
    }
    WideInt numerator = digits * Currency::kScale;
    if (negative) {
        numerator = -numerator;
    }
    return Currency::fromRaw(roundHalfEven(numerator, denominator));
}

Currency parseNumberOrZero(std::string_view text) {
    try {
        return parseNumber(text);
    } catch (const NumberFormatError&) {
        return Currency();
    }
}

} // namespace kerbina
