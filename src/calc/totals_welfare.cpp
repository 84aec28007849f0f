#include "calc/totals_internal.h"
#include "money/rounding.h"

namespace kerbina {

namespace {

constexpr WideInt kMaxWide = static_cast<WideInt>(~static_cast<UnsignedWideInt>(0) >> 1);

WideInt magnitude(WideInt value) {
    return value < 0 ? -value : value;
}

// Four money values multiplied exactly can leave 128 bits only for absurd rates; that is an
// overflow like any other, never a silently wrong amount.
WideInt checkedProduct(WideInt a, WideInt b) {
    if (a != 0 && magnitude(b) > kMaxWide / magnitude(a)) {
        throw CurrencyOverflow("金額が大きすぎます。");
    }
    return a * b;
}

} // namespace

Currency welfareAmount(Currency base, Currency rate1, Currency rate2, Currency rate3) {
    // Each factor is a count of 1/10000 and each rate a further percent: the exact product is
    // over 10^4 × (10^6)^3 = 10^22 yen; the half is added at that scale before truncating.
    constexpr WideInt kYen = static_cast<WideInt>(10'000'000'000'000'000'000ULL) * 1000;
    WideInt exact = checkedProduct(base.raw(), rate1.raw());
    exact = checkedProduct(exact, rate2.raw());
    exact = checkedProduct(exact, rate3.raw());
    if (magnitude(exact) > kMaxWide - kYen) {
        throw CurrencyOverflow("金額が大きすぎます。");
    }
    return currencyFromWide((exact + kYen / 2) / kYen * Currency::kScale);
}

std::string welfareFormula(Currency base, Currency rate1, Currency rate2, Currency rate3) {
    std::string text = wholeYenText(base) + "×" + rate1.toString() + "%×" + rate2.toString() + "%";
    if (rate3 != Currency::fromWhole(100)) {
        text += "×" + rate3.toString() + "%";
    }
    return text;
}

} // namespace kerbina
