// The print viewer over large quotations: laying out the pages and writing the PDF.
#include "printviewer/quotation_pages.h"
#include "quotation_fixture.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace kerbina::bench {
namespace {

void BM_PdfOfQuotation(benchmark::State& benchState) {
    const QuotationData quotation = mixedQuotation(100, static_cast<int>(benchState.range(0)));
    const ScratchFolder folder;
    const QString file = QString::fromStdString((folder.path() / "out.pdf").string());
    int pages = 0;
    for (auto _ : benchState) {
        QuotationPages layout(PrintSettings{});
        layout.add(quotation);
        pages = layout.pageCount();
        benchmark::DoNotOptimize(writePdf(layout, file));
    }
    benchState.counters["pages"] = pages;
}
// 100 sheets of 50 and of 500 lines.
BENCHMARK(BM_PdfOfQuotation)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(1);

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
