#include "money/currency.h"
#include "money/rounding.h"

#include <benchmark/benchmark.h>

namespace {

using kerbina::Currency;

void BM_CurrencyProduct(benchmark::State& state) {
    const Currency price = kerbina::parseNumber("12345.67");
    Currency quantity = kerbina::parseNumber("3.5");
    for (auto _ : state) {
        benchmark::DoNotOptimize(price * quantity);
    }
}
BENCHMARK(BM_CurrencyProduct);

void BM_ParseNumber(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(kerbina::parseNumber("-1234567.891"));
    }
}
BENCHMARK(BM_ParseNumber);

void BM_CurrencyText(benchmark::State& state) {
    const Currency value = kerbina::parseNumber("-1234567.891");
    for (auto _ : state) {
        benchmark::DoNotOptimize(value.toString());
    }
}
BENCHMARK(BM_CurrencyText);

// The primitives the totals pass calls for every line of a sheet.
void BM_LineAmount(benchmark::State& state) {
    const Currency price = kerbina::parseNumber("12345.67");
    const Currency quantity = kerbina::parseNumber("3.5");
    const Currency offset = kerbina::parseNumber("0.5");
    for (auto _ : state) {
        benchmark::DoNotOptimize(kerbina::lineAmount(price, quantity, offset));
    }
}
BENCHMARK(BM_LineAmount);

void BM_PercentOf(benchmark::State& state) {
    const Currency base = kerbina::parseNumber("123456789");
    const Currency rate = kerbina::parseNumber("12.5");
    const Currency offset = kerbina::parseNumber("0.9");
    for (auto _ : state) {
        benchmark::DoNotOptimize(kerbina::percentOf(base, rate, offset));
    }
}
BENCHMARK(BM_PercentOf);

// Arg 1000: a unit level; arg 8: significant digits, which measure the value's text.
void BM_RoundToSetting(benchmark::State& state) {
    const Currency value = kerbina::parseNumber("-1234567.891");
    const Currency level = Currency::fromWhole(state.range(0));
    const Currency offset = kerbina::parseNumber("0.5");
    for (auto _ : state) {
        benchmark::DoNotOptimize(kerbina::roundToSetting(value, level, offset));
    }
}
BENCHMARK(BM_RoundToSetting)->Arg(1000)->Arg(8);

void BM_TruncateQuantity(benchmark::State& state) {
    const Currency quantity = kerbina::parseNumber("2.5678");
    const Currency decimals = Currency::fromWhole(100);
    for (auto _ : state) {
        benchmark::DoNotOptimize(kerbina::truncateToQuantityDecimals(quantity, decimals));
    }
}
BENCHMARK(BM_TruncateQuantity);

void BM_MoneyText(benchmark::State& state) {
    const Currency value = kerbina::parseNumber("-1234567890.5");
    for (auto _ : state) {
        benchmark::DoNotOptimize(kerbina::wholeYenText(value));
    }
}
BENCHMARK(BM_MoneyText);

void BM_QuantityText(benchmark::State& state) {
    const Currency quantity = kerbina::parseNumber("1234.5675");
    const Currency decimals = Currency::fromWhole(1000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(kerbina::fixedQuantityText(quantity, decimals));
    }
}
BENCHMARK(BM_QuantityText);

} // namespace
