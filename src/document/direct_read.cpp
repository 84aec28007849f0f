#include "document/direct_read.h"

#include "base/path_text.h"
#include "calc/totals.h"
#include "document/krb_import.h"
#include "document/quotation_file.h"
#include "document/undo.h"
#include "document/work_store.h"
#include "records/line_kinds.h"

namespace kerbina {

namespace {

int firstSheetItem(const DocumentState& state) {
    for (int item = 1; item <= state.itemMax(); ++item) {
        if (!isListOnlyKind(state.items[static_cast<std::size_t>(item)].kind)) {
            return item;
        }
    }
    return 1;
}

// The problems listed in the question; the rest are counted.
constexpr std::size_t kProblemsShown = 5;

} // namespace

std::string damagedFileQuestion(const std::filesystem::path& path,
                                const std::vector<QuotationFileProblem>& problems) {
    std::string text = "見積ファイルが完全ではありません。\n" + pathText(path) + "\n";
    for (std::size_t i = 0; i < problems.size() && i < kProblemsShown; ++i) {
        text += std::to_string(problems[i].line) + " 行目: " + problems[i].message + "\n";
    }
    if (problems.size() > kProblemsShown) {
        text += "ほか " + std::to_string(problems.size() - kProblemsShown) + " 件\n";
    }
    return text + "読み込めた部分だけを開きますか？";
}

OpenedView loadQuotationFile(DocumentState& state, WorkStore& store, DocumentEvents& events,
                             const ApplySettings& applySettings, const std::filesystem::path& path,
                             std::optional<int> status, std::chrono::year_month_day today) {
    const bool version1 = isVersion1Path(path);
    QuotationReading reading;
    if (version1) {
        reading.data = importVersion1File(path);
    } else {
        reading = readQuotationFileLeniently(path);
    }
    if (!reading.problems.empty() &&
        !events.askYesNoDefaultNo(damagedFileQuestion(path, reading.problems))) {
        return OpenedView::NotOpened;
    }
    QuotationData& data = reading.data;
    if (!version1 && !reading.hasDate) {
        // The file is read into a new quotation's header: without a date it keeps today's.
        const QuotationHeader fresh = newHeader(
            static_cast<int>(today.year()), static_cast<int>(static_cast<unsigned>(today.month())),
            static_cast<int>(static_cast<unsigned>(today.day())));
        data.header.storedYear = fresh.storedYear;
        data.header.month = fresh.month;
        data.header.day = fresh.day;
    }

    // The settings in force, as a new quotation takes them, put into a state of their own: the
    // recomputation below may still fail before anything of the open quotation is touched.
    DocumentState fresh;
    fresh.header.keta = 1; // a new quotation's grand-total setting where no settings are read
    fresh.header.cutLevel = Currency::fromRaw(5000);
    applySettings(fresh);
    if (version1) {
        // The old format has no grand-total settings: those of a new quotation apply.
        data.header.keta = fresh.header.keta;
        data.header.cutLevel = fresh.header.cutLevel;
    }
    recalculateQuotation(data, fresh.settings, fresh.itemNameLine);

    startNewQuotation(state, store, events, applySettings, today);
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

    const int current = firstSheetItem(state);
    state.currentSheetNumber = current;
    loadSheet(state, store.workFolder, current);
    events.changed({DocumentChange::Kind::SheetOpened, current,
                    state.items[static_cast<std::size_t>(current)].name});
    // The grand totals and the list's tax, from the recomputed items, before the header file and
    // the backup take them.
    recalculateItemList(state);
    saveItemList(state, store, ListMode::Und);
    saveItemList(state, store, ListMode::Wrk);
    events.changed({DocumentChange::Kind::ItemsChanged});
    events.changed({DocumentChange::Kind::HeaderReplaced});

    OpenedView view = OpenedView::ItemList;
    if (state.itemMax() == 1) {
        openSheet(state, store, events, current);
        saveSheetRecords(state, store, events, RecordMode::Wrk);
        view = OpenedView::Sheet;
    }
    state.modified = false;
    return view;
}

} // namespace kerbina
