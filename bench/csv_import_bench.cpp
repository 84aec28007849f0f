// "CSVデ一タの取込" of 100,000 lines into a sheet of a large quotation: the whole command as the
// window runs it (undo snapshot, reading and checking the lines, the insert, both totals passes,
// the work files), so that a large import never freezes the window for long.
#include "base/file_io.h"
#include "calc/totals.h"
#include "document/direct_read.h"
#include "document/quotation_file.h"
#include "document/work_store.h"
#include "grid/work_folder_cycle.h"
#include "output/csv_import.h"
#include "quotation_fixture.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kerbina;
using namespace kerbina::bench;

// The settings of a quotation opened without settings files.
const ApplySettings kWithoutSettingsFiles = [](DocumentState&) {
};

constexpr std::chrono::year_month_day kToday{std::chrono::year{2026}, std::chrono::month{12},
                                             std::chrono::day{10}};

void BM_CsvImport100000Lines(benchmark::State& benchState) {
    ScratchFolder folder;
    WorkStore store;
    store.workFolder = folder.path() / "temp";
    store.backupFolder = folder.path() / "backup";
    std::filesystem::create_directories(store.workFolder);
    std::filesystem::create_directories(store.backupFolder);
    const std::filesystem::path file = folder.path() / "large.krb2";
    QuotationData data = mixedQuotation(10, 500);
    recalculateQuotation(data, CalcSettings{}, true);
    writeQuotationFile(file, data, QuotationWriteOptions{});
    DocumentState state;
    QuietDocumentEvents host;
    loadQuotationFile(state, store, host, kWithoutSettingsFiles, file, std::nullopt, kToday);
    openSheet(state, store, host, 1);
    const Sheet original = state.sheet;

    std::vector<std::string> texts;
    for (int n = 0; n < 100000; ++n) {
        texts.push_back("配管" + std::to_string(n) +
                        ";SGP 25A;ｍ;0.05;10;12.5;800;1000;;30;20;注記");
    }
    WorkFolderEditCycle cycle(state, store, host);
    QuietPrompt prompt;
    GridSession session;
    GridContext context{state, cycle, prompt, session, store.workFolder};
    for (auto _ : benchState) {
        benchState.PauseTiming();
        state.sheet = original;
        benchState.ResumeTiming();
        runAsOneChange(state, store, [&] {
            importCsvLines(context, Selection{100, 100}, false, [&] {
                writeTextLines(csvImportFile(store.workFolder), texts);
                return true;
            });
        });
    }
}
BENCHMARK(BM_CsvImport100000Lines)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
