#include "output/ui/print_subsystem.h"

#include "base/folders.h"
#include "base/user_prompt.h"
#include "grid/grid_cells.h"
#include "output/csv_export.h"
#include "output/csv_import.h"
#include "output/print_data.h"
#include "output/ui/csv_editor_dialog.h"
#include "records/document_state.h"
#include "storage/database_files.h"
#include "storage/quotation_numbering.h"
#include "widgets/command_set.h"
#include "widgets/message_box.h"
#include "widgets/print_start.h"

#include <QMenu>

namespace kerbina {

namespace {

constexpr const char* kNoUnitCostDataNotice = "代価データがありません。";

} // namespace

void PrintSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    if (place != menu_place::kFilePrint) {
        return;
    }
    commands.add(&menu, "ActionPrint1", QStringLiteral("表示中の明細を単独で印刷"), {},
                 CommandPage::Both, [this] { printOpenQuotation(false); });
    commands.add(&menu, "ActionPrint2", QStringLiteral("内訳付で印刷"), {QKeySequence::Print},
                 CommandPage::Both, [this] { printOpenQuotation(true); });
    commands.add(&menu, "ActionEXdaikaprint", QStringLiteral("代価表印刷"), {}, CommandPage::Both,
                 [this] { printUnitCostList(); });
    menu.addSeparator();
    commands.add(&menu, "ActionCsvOut", QStringLiteral("CSV出力"), {}, CommandPage::Both,
                 [this] { exportPageCsv(); });
    commands.add(&menu, "ActionCsvImport",
                 QStringLiteral("CSVデ一タの取込(ケルビナ専用CSVエディタ一起動)"), {},
                 CommandPage::Both, [this] { importCsvFromEditor(); });
}

bool PrintSubsystem::runNamed(std::string_view name) {
    if (name == "print") {
        printFromPage();
        return true;
    }
    if (name == "csv_out") {
        exportPageCsv();
        return true;
    }
    return false;
}

// "表示中の明細を単独で印刷" and "内訳付で印刷". The cover goes into the header first, so the
// number check sees a number or addressee just typed and the print shows the cover as it stands.
// A number issued for the print is written with the header files and shown on the cover, so the
// next print or save keeps it instead of asking for another.
void PrintSubsystem::printOpenQuotation(bool wholeQuotation) {
    host_.writeCover();
    const QuotationPrintSettings settings = printSettings(host_);
    const std::string numberBefore = host_.document().header.number;
    std::optional<PrintRequest> request;
    host_.changeQuotation([&](DocumentState& state, WorkStore& store) {
        const auto issueNumber = [this, &settings, &state] {
            SqliteFileDatabase addresses(
                databaseFilePath(host_.folders().databaseFolder, DatabaseFile::Address),
                host_.prompt());
            return issueQuotationNumber(
                       host_.quotationDatabase(), addresses,
                       NumberingMode{settings.automaticNumbering, settings.perCustomer},
                       state.header.id, host_.prompt())
                .value_or(std::string());
        };
        request =
            printQuotation(state, store, settings,
                           wholeQuotation ? PrintScope::WholeQuotation : PrintScope::CurrentSheet,
                           host_.displayOptions().listMode, host_.prompt(), issueNumber,
                           [this] { host_.openCoverNumberEntry(); });
    });
    if (host_.document().header.number != numberBefore) {
        host_.showQuotationNumber();
    }
    if (request) {
        startPrint(host_.dialogParent(), *request);
    }
}

// The tool page's "print": the open sheet alone on a sheet; on the breakdown list the viewer shows
// the quotation of the work folder, whose header file first gets the current grand totals.
void PrintSubsystem::printFromPage() {
    if (!host_.displayOptions().listMode) {
        printOpenQuotation(false);
        return;
    }
    host_.writeCover();
    std::optional<PrintRequest> request;
    host_.changeQuotation([&](DocumentState& state, WorkStore& store) {
        request = printFromBreakdownList(state, store, printSettings(host_));
    });
    startPrint(host_.dialogParent(), *request);
}

// "代価表印刷". An empty list would start the printer for nothing: the user is told instead.
void PrintSubsystem::printUnitCostList() {
    const DocumentState& state = host_.document();
    if (state.unitCostBreakdowns.empty()) {
        MessageBox::notify(host_.dialogParent(), QString::fromUtf8(kNoUnitCostDataNotice));
        return;
    }
    startPrint(host_.dialogParent(),
               printUnitCostBreakdowns(printSettings(host_), state.unitCostBreakdowns));
}

// "CSV出力": the open sheet, or on the breakdown list the list as it shows it (a sum line's amount,
// for one, is computed for the grid and not kept in its item).
void PrintSubsystem::exportPageCsv() {
    const DocumentState& state = host_.document();
    const DisplayOptions& display = host_.displayOptions();
    const std::filesystem::path suggested =
        suggestedCsvPath(state, host_.ownFile(), host_.folders().quotationFolder);
    if (display.listMode) {
        std::vector<std::vector<std::string>> grid;
        for (int row = 0; row <= state.itemMax(); ++row) {
            auto& texts = grid.emplace_back();
            for (int column = 0; column < columnCount(state, display); ++column) {
                texts.push_back(cellText(state, display, row, column));
            }
        }
        exportCsv(host_.prompt(), CsvExport::Sheet, suggested, itemListCsvLines(grid));
    } else {
        exportCsv(host_.prompt(), CsvExport::Sheet, suggested, sheetCsvLines(state.sheet));
    }
}

// "CSVデ一タの取込": the editor writes the import file into the work folder; its lines come in at
// the selection as one change.
void PrintSubsystem::importCsvFromEditor() {
    host_.runGridCommand([this](GridContext& context, Selection selection) {
        const std::filesystem::path file = csvImportFile(context.workFolder);
        return importCsvLines(context, selection, host_.displayOptions().listMode,
                              [this, &file] { return runCsvEditor(host_.dialogParent(), file); });
    });
}

} // namespace kerbina
