#include "calc/currency.h"

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

} // namespace
