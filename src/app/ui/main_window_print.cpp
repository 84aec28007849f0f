// The main window's print and CSV commands: the quotation and the unit-cost breakdown list handed
// to the print programs, the CSV file of the page in front, and lines taken in from the CSV
// editor.
#include "app/ui/main_window.h"
#include "app/ui/main_window_support.h"
#include "app/ui/message_box.h"
#include "cover/ui/cover_page.h"
#include "grid/grid_cells.h"
#include "output/csv_export.h"
#include "output/csv_import.h"
#include "output/print_data.h"
#include "output/ui/csv_editor_dialog.h"
#include "output/ui/print_launch.h"
#include "storage/database_files.h"
#include "storage/quotation_numbering.h"

#include <QMenu>

namespace kerbina {

namespace {

constexpr const char* kNoUnitCostDataNotice = "代価データがありません。";

} // namespace

void TFKERBINA::buildPrintMenu(QMenu* menu) {
    addCommand(menu, "ActionPrint1", QStringLiteral("表示中の明細を単独で印刷"), {},
               [this] { printOpenQuotation(false); });
    addCommand(menu, "ActionPrint2", QStringLiteral("内訳付で印刷"), QKeySequence::Print,
               [this] { printOpenQuotation(true); });
    addCommand(menu, "ActionEXdaikaprint", QStringLiteral("代価表印刷"), {},
               &TFKERBINA::printUnitCostList);
    menu->addSeparator();
    addCommand(menu, "ActionCsvOut", QStringLiteral("CSV出力"), {}, &TFKERBINA::exportPageCsv);
    addCommand(menu, "ActionCsvImport",
               QStringLiteral("CSVデ一タの取込(ケルビナ専用CSVエディタ一起動)"), {},
               &TFKERBINA::importCsvFromEditor);
}

void TFKERBINA::startPrint(const PrintRequest& request) {
    if (!startPrintProgram(request.program, request.argument)) {
        MessageBox::error(this, q(printProgramFailedMessage(request.program)));
    }
}

// The print style is the settings dialog's, so a style chosen there is the next print's.
QuotationPrintSettings TFKERBINA::printSettings() const {
    const MainSettings& settings = session_.settings();
    return QuotationPrintSettings{folders_.dataRoot,      folders_.installFolder,
                                  settings.reductionMark, environment_.printStyle(),
                                  settings.autoNumbering, settings.perCustomerNumbering};
}

// "表示中の明細を単独で印刷" and "内訳付で印刷". The cover goes into the header first, so the
// number check sees a number or addressee just typed and the print shows the cover as it stands.
// A number issued for the print is written with the header files and shown on the cover, so the
// next print or save keeps it instead of asking for another.
void TFKERBINA::printOpenQuotation(bool wholeQuotation) {
    apply(session_.writeCover());
    const QuotationPrintSettings settings = printSettings();
    const std::string numberBefore = state_.header.number;
    const auto issueNumber = [this, &settings] {
        SqliteFileDatabase addresses(
            databaseFilePath(folders_.databaseFolder, DatabaseFile::Address), *this);
        return issueQuotationNumber(
                   session_.quotationDatabase(), addresses,
                   NumberingMode{settings.automaticNumbering, settings.perCustomer},
                   state_.header.id, *this)
            .value_or(std::string());
    };
    const auto request = printQuotation(
        state_, session_.store(), settings,
        wholeQuotation ? PrintScope::WholeQuotation : PrintScope::CurrentSheet, display_.listMode,
        *this, issueNumber, [this] { coverPage_->pressNumberButton(); });
    if (state_.header.number != numberBefore) {
        // The cover shows the number before it is taken into the header again: a cover edited
        // before the print would otherwise put its empty number back.
        apply({{DocumentChange::Kind::HeaderWritten, 0, state_.header.number}});
        apply(session_.writeCover());
    }
    updateTotalsPanel();
    if (request) {
        startPrint(*request);
    }
}

// The tool page's "print": the open sheet alone on a sheet; on the breakdown list the viewer shows
// the quotation of the work folder, whose header file first gets the current grand totals.
void TFKERBINA::printFromPage() {
    if (!display_.listMode) {
        printOpenQuotation(false);
        return;
    }
    apply(session_.writeCover());
    startPrint(printFromBreakdownList(state_, session_.store(), printSettings()));
}

// "代価表印刷". An empty list would start the printer for nothing: the user is told instead.
void TFKERBINA::printUnitCostList() {
    if (state_.unitCostBreakdowns.empty()) {
        MessageBox::notify(this, QString::fromUtf8(kNoUnitCostDataNotice));
        return;
    }
    startPrint(printUnitCostBreakdowns(printSettings(), state_.unitCostBreakdowns));
}

// "CSV出力": the open sheet, or on the breakdown list the list as it shows it (a sum line's amount,
// for one, is computed for the grid and not kept in its item).
void TFKERBINA::exportPageCsv() {
    const std::filesystem::path suggested =
        suggestedCsvPath(state_, session_.ownFile(), folders_.quotationFolder);
    if (display_.listMode) {
        std::vector<std::vector<std::string>> grid;
        for (int row = 0; row <= state_.itemMax(); ++row) {
            auto& texts = grid.emplace_back();
            for (int column = 0; column < columnCount(state_, display_); ++column) {
                texts.push_back(cellText(state_, display_, row, column));
            }
        }
        exportCsv(*this, CsvExport::Sheet, suggested, itemListCsvLines(grid));
    } else {
        exportCsv(*this, CsvExport::Sheet, suggested, sheetCsvLines(state_.sheet));
    }
}

// "CSVデ一タの取込": the editor writes the import file into the work folder; its lines come in at
// the selection as one change.
void TFKERBINA::importCsvFromEditor() {
    runGridCommand([this](GridContext& context, Selection selection) {
        const std::filesystem::path file = csvImportFile(context.workFolder);
        return importCsvLines(context, selection, display_.listMode,
                              [this, &file] { return runCsvEditor(this, file); });
    });
}

} // namespace kerbina
