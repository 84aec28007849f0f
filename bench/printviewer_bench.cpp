// The print viewer over large quotations: laying out the pages and writing the PDF.
#include "printviewer/quotation_pages.h"
#include "quotation_fixture.h"
#include "records/line_kinds.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace kerbina::bench {
namespace {

void BM_PdfOfQuotation(benchmark::State& benchState) {
    const QuotationData quotation = mixedQuotation(100, static_cast<int>(benchState.range(0)));
    const ScratchFolder folder;
    int pages = 0;
    for (auto _ : benchState) {
        QuotationPages layout(PrintSettings{});
        layout.add(quotation);
        writePdf(layout, folder.path() / "out.pdf", {});
        pages = layout.pageCount();
    }
    benchState.counters["pages"] = pages;
}
// 100 sheets of 50 and of 500 lines.
BENCHMARK(BM_PdfOfQuotation)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(1);

// A breakdown list of `items` items, each with its amounts: the list pages of a large quotation.
QuotationData quotationOfItems(int items) {
    QuotationData data = mixedQuotation(0, 0);
    data.sheets.assign(static_cast<std::size_t>(items) + 1, Sheet{LineRecord{}});
    for (int n = 1; n <= items; ++n) {
        ItemRecord item = newSheetItem();
        item.name = "工事項目" + std::to_string(n);
        item.submittedTotal = Currency::fromWhole(1000 + n % 997 * 13);
        item.netTotal = Currency::fromWhole(800 + n % 991 * 11);
        item.note = n % 5 == 0 ? "別途" : "";
        data.items.push_back(item);
    }
    return data;
}

// The layout alone and the whole PDF of a quotation of many items (the goal: 20,000 items in at
// most 2 s).
void BM_LayoutOfItems(benchmark::State& benchState) {
    const QuotationData quotation = quotationOfItems(static_cast<int>(benchState.range(0)));
    for (auto _ : benchState) {
        QuotationPages layout(PrintSettings{});
        layout.add(quotation);
        layout.layOutAll();
        benchmark::DoNotOptimize(layout.pageCount());
    }
}
BENCHMARK(BM_LayoutOfItems)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PdfOfItems(benchmark::State& benchState) {
    const QuotationData quotation = quotationOfItems(static_cast<int>(benchState.range(0)));
    const ScratchFolder folder;
    int pages = 0;
    for (auto _ : benchState) {
        QuotationPages layout(PrintSettings{});
        layout.add(quotation);
        writePdf(layout, folder.path() / "out.pdf", {});
        pages = layout.pageCount();
    }
    benchState.counters["pages"] = pages;
}
BENCHMARK(BM_PdfOfItems)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace kerbina::bench

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
