#include "document/quotation_open.h"

#include "calc/totals.h"
#include "document/file_io.h"
#include "document/krb_import.h"
#include "document/quotation_file.h"
#include "document/undo.h"
#include "document/work_store.h"

#include <string>

namespace kerbina {

namespace {

// Items without a sheet of their own are not opened first.
bool opensFirst(int itemKind) {
    return !((itemKind >= 20 && itemKind <= 29) || (itemKind >= 81 && itemKind <= 84) ||
             itemKind == 91 || itemKind == 93 || itemKind == 95 || itemKind == 96 ||
             itemKind == 101);
}

std::string failureText(const std::filesystem::path& path, int line, const std::string& message) {
    std::string text = "ファイルを読み込めませんでした。\r\n" + path.string() + "\r\n";
    if (line > 0) {
        text += std::to_string(line) + "行目: ";
    }
    return text + message;
}

} // namespace

bool Direct_read(DocumentState& state, WorkStore& store, DocumentHost& host,
                 const std::filesystem::path& path, std::optional<int> status,
                 std::chrono::year_month_day today) {
    // The tax offset in effect once the new quotation has read the settings, found without
    // touching the open quotation.
    DocumentState probe = state;
    host.readSettings(probe);
    const Currency taxOffset = probe.settings.taxOffset;

    QuotationData data;
    try {
        if (isVersion1Path(path)) {
            data = importVersion1File(path);
            data.taxOffset = taxOffset;
        } else {
            data = readQuotationFile(path, taxOffset);
        }
    } catch (const QuotationFileError& error) {
        host.inform(failureText(path, error.line(), error.what()));
        return false;
    } catch (const FileError& error) {
        host.inform(failureText(path, 0, error.what()));
        return false;
    }

    try {
        startNewQuotation(state, store, host, today);
        writeWorkFolder(data, store.workFolder);
        resetUndo(state, store.workFolder);
        state.settings.taxOffset = data.taxOffset;
        state.unitCostBreakdowns = data.unitCostBreakdowns;

        readHeaderFile(state, store.workFolder, "WRK");
        if (status) {
            state.header.status = *status;
        }
        int first = 1;
        for (int n = 1; n <= state.itemMax(); ++n) {
            if (opensFirst(state.items[static_cast<std::size_t>(n)].kind)) {
                first = n;
                break;
            }
        }
        loadSheet(state, store.workFolder, first);
        host.showSheetTitle(state.items[static_cast<std::size_t>(first)].name);
        Saveitem(state, store, ListMode::Und);
        Saveitem(state, store, ListMode::Wrk);
        recalculateItemList(state);
        host.rebuildSheetTabs();
        host.loadCoverPage(state.header);

        if (state.itemMax() == 1) {
            host.selectTab(1);
            loadSheet(state, store.workFolder, 1);
            recalculateSheet(state);
            recalculateItemList(state);
            host.refresh(false);
            SAVERECORD(state, store, host, RecordMode::Wrk);
        } else {
            host.selectTab(0);
            host.refresh(true);
        }
    } catch (const FileError& error) {
        host.inform(failureText(path, 0, error.what()));
        return false;
    }
    state.modified = false;
    return true;
}

} // namespace kerbina
