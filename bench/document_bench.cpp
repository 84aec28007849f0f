// The three figures an estimator feels: the sheet pass after every keystroke, one whole edit
// cycle (change, both passes, every work file and the crash backup), and opening a large file.
#include "calc/totals.h"
#include "document/direct_read.h"
#include "document/quotation_file.h"
#include "document/work_store.h"
#include "grid/line_message.h"
#include "grid/work_folder_cycle.h"
#include "quotation_fixture.h"
#include "records/line_kinds.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kerbina;
using namespace kerbina::bench;

// The settings of a quotation opened without settings files.
const ApplySettings kWithoutSettingsFiles = [](DocumentState&) {
};

constexpr std::chrono::year_month_day kToday{std::chrono::year{2026}, std::chrono::month{12},
                                             std::chrono::day{10}};

void BM_SheetPass10000Lines(benchmark::State& benchState) {
    DocumentState state;
    state.items.push_back(newSheetItem());
    state.items[1].setQuantityDecimals = Currency::fromWhole(100);
    loadSheetSettings(state, 1);
    state.sheet = mixedSheet(10000);
    state.itemNameLine = false;
    for (auto _ : benchState) {
        benchmark::DoNotOptimize(recalculateSheet(state));
    }
}
BENCHMARK(BM_SheetPass10000Lines)->Unit(benchmark::kMillisecond);

// A quotation of 100 sheets × 500 lines opened in a work folder.
struct OpenQuotation {
    ScratchFolder folder;
    WorkStore store;
    DocumentState state;
    QuietDocumentEvents host;
    std::filesystem::path file;

    OpenQuotation() {
        store.workFolder = folder.path() / "temp";
        store.backupFolder = folder.path() / "backup";
        std::filesystem::create_directories(store.workFolder);
        std::filesystem::create_directories(store.backupFolder);
        file = folder.path() / "large.krb2";
        // As the program saves it: computed, so that the file holds the amounts of its lines.
        QuotationData data = mixedQuotation(100, 500);
        recalculateQuotation(data, CalcSettings{}, true);
        writeQuotationFile(file, data, QuotationWriteOptions{});
        loadQuotationFile(state, store, host, kWithoutSettingsFiles, file, std::nullopt, kToday);
    }
};

void BM_EditCycle100x500(benchmark::State& benchState) {
    OpenQuotation open;
    openSheet(open.state, open.store, open.host, 1);
    int step = 0;
    // The steps of the grid's edit cycle: the undo snapshot before the change, the change, both
    // totals passes, the write; as one unit of file changes, as the window runs every command.
    for (auto _ : benchState) {
        runAsOneChange(open.state, open.store, [&] {
            saveSheetRecords(open.state, open.store, open.host, RecordMode::Und);
            LineRecord& line = open.state.sheet[static_cast<std::size_t>(5)];
            line.submittedPrice = Currency::fromWhole(1000 + (++step % 100));
            runTotalsPasses(open.state, open.host, false);
            saveSheetRecords(open.state, open.store, open.host, RecordMode::Wrk);
        });
    }
}
BENCHMARK(BM_EditCycle100x500)->Unit(benchmark::kMillisecond);

// The same cycle as the data-entry dialog and typing in the grid drive it: one line message
// written over a line through writeLineFromMessage and the grid's edit cycle.
void BM_EditThroughLineMessage100x500(benchmark::State& benchState) {
    OpenQuotation open;
    openSheet(open.state, open.store, open.host, 1);
    WorkFolderEditCycle cycle(open.state, open.store, open.host);
    QuietPrompt host;
    GridSession session;
    GridContext context{open.state, cycle, host, session, open.store.workFolder};
    LineMessage message = parseLineMessage(
        "WM_DATAWRITE;鋼管;SGP 25A;ｍ;1000;1200;0;0;12;12;0;0;10;11999;;30000;0;1;0;0;;");
    int step = 0;
    for (auto _ : benchState) {
        message.submittedPrice = Currency::fromWhole(1000 + (++step % 100));
        runAsOneChange(open.state, open.store, [&] {
            writeLineFromMessage(context, Selection{5, 5}, message, LineWriteMode::Overwrite,
                                 AfterWrite::Save, false);
        });
    }
}
BENCHMARK(BM_EditThroughLineMessage100x500)->Unit(benchmark::kMillisecond);

void BM_OpenQuotation100x500(benchmark::State& benchState) {
    OpenQuotation open;
    // As one unit of file changes, as the window opens a file.
    for (auto _ : benchState) {
        runAsOneChange(open.state, open.store, [&] {
            loadQuotationFile(open.state, open.store, open.host, kWithoutSettingsFiles, open.file,
                              std::nullopt, kToday);
        });
    }
}
BENCHMARK(BM_OpenQuotation100x500)->Unit(benchmark::kMillisecond);

} // namespace
