// The main window's side of the environment settings dialog: showing it and putting into effect at
// once what "登　録" changes for the open quotation and the windows.
#include "app/ui/main_window.h"
#include "cover/ui/cover_page.h"
#include "grid/ui/data_entry_dialog.h"
#include "grid/ui/quotation_view.h"
#include "settings/numbering_row.h"
#include "settings/ui/settings_dialog.h"
#include "storage/database_files.h"
#include "storage/database_health.h"

#include <QTableView>

namespace kerbina {

void TFKERBINA::environmentSettings() {
    if (environmentDialog_ == nullptr) {
        environmentDialog_ = new Tfconfig_Dlg(environment_, this);
        connect(environmentDialog_, &Tfconfig_Dlg::registered, this,
                &TFKERBINA::applyRegisteredSettings);
        environmentDialog_->setDatabaseCheck([this] {
            return databaseCheckReport(
                databaseFilePath(folders_.databaseFolder, DatabaseFile::Quotation),
                session_.checkQuotationDatabase());
        });
    }
    DatabaseNumberingRowStore numbering(session_.quotationDatabase());
    environmentDialog_->showModally(folders_, modules_.piping, numbering);
    // Values changed and not registered are in force for the run as well.
    dataEntryDialog_->applySettings(environment_);
}

void TFKERBINA::applyRegisteredSettings(const RegisterOutcome& outcome) {
    session_.applyRegisteredSettings(outcome);
    view_->grid()->setShowGrid(outcome.displayStyle.horizontalGridLines);
    view_->grid()->viewport()->update();
    dataEntryDialog_->applySettings(environment_);
    coverPage_->setCaptions(outcome.displayStyle.coverCaptions,
                            numberButtonCaption(outcome.numbering.automatic));
    coverPage_->setNumbering(outcome.numbering);
}

} // namespace kerbina
