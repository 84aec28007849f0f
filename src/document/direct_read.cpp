#include "document/direct_read.h"

#include "calc/totals.h"
#include "document/krb_import.h"
#include "document/line_kinds.h"
#include "document/quotation_file.h"
#include "document/undo.h"
#include "document/work_store.h"

namespace kerbina {

namespace {

// Items of these kinds never become the current sheet when a quotation is opened.
bool isListOnlyKind(int kind) {
    return (kind >= 20 && kind <= 29) || (kind >= 81 && kind <= 84) || kind == 91 || kind == 93 ||
           kind == 95 || kind == 96 || kind == 101;
}

int firstSheetItem(const DocumentState& state) {
    for (int item = 1; item <= state.itemMax(); ++item) {
        if (!isListOnlyKind(state.items[static_cast<std::size_t>(item)].kind)) {
            return item;
        }
    }
    return 1;
}

} // namespace

OpenedView Direct_read(DocumentState& state, WorkStore& store, DocumentHost& host,
                       const std::filesystem::path& path, std::optional<int> status,
                       std::chrono::year_month_day today) {
    const bool version1 = isVersion1Path(path);
    QuotationData data = version1 ? importVersion1File(path) : readQuotationFile(path);

    startNewQuotation(state, store, host, today);
    if (version1) {
        // The old format has no grand-total settings: those of the new quotation apply.
        data.header.keta = state.header.keta;
        data.header.cutLevel = state.header.cutLevel;
    }
    writeWorkFolder(data, store.workFolder);
    store.backupWriter.forget();
    if (data.taxOffset) {
        state.settings.taxOffset = *data.taxOffset;
    }
    state.unitCostBreakdowns = data.unitCostBreakdowns;
    readHeaderFile(state, store.workFolder, "WRK");
    if (status) {
        state.header.status = *status;
    }

    state.allNetTotal = Currency();
    state.allSubmittedTotal = Currency();
    for (int item = 1; item <= state.itemMax(); ++item) {
        state.allNetTotal += state.items[static_cast<std::size_t>(item)].netTotal;
        state.allSubmittedTotal += state.items[static_cast<std::size_t>(item)].submittedTotal;
    }
    const int current = firstSheetItem(state);
    state.currentSheetNumber = current;
    loadSheet(state, store.workFolder, current);
    host.showSheetTitle(state.items[static_cast<std::size_t>(current)].name);
    Saveitem(state, store, ListMode::Und);
    Saveitem(state, store, ListMode::Wrk);
    recalculateItemList(state);
    host.rebuildSheetTabs();
    host.loadCoverPage(state.header);

    OpenedView view = OpenedView::ItemList;
    if (state.itemMax() == 1) {
        openSheet(state, store, host, current);
        SAVERECORD(state, store, host, RecordMode::Wrk);
        view = OpenedView::Sheet;
    }
    state.modified = false;
    return view;
}

} // namespace kerbina
