// The main window's file commands: new, open, save, import, the crash backup at start-up.
#include "app/ui/main_window.h"
#include "document/quotation_file_name.h"
#include "grid/ui/quotation_view.h"
#include "money/rounding.h"
#include "widgets/application_title.h"
#include "widgets/calendar.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTableView>
#include <QUrl>

namespace kerbina {

bool MainWindow::offerCrashBackup() {
    const std::optional<BackupSummary> backup = session_.crashBackup();
    if (!backup) {
        return false;
    }
    const std::string total = backup->damaged ? "壊れているか途中までのファイルです"
                                              : "総合計 " + wholeYenText(backup->grandTotal);
    const std::string question = "前回は正常に終了しませんでした。\n最後のバックアップ（" +
                                 localTimeText(backup->written) + "、" + total + "）を開きますか？";
    // Taking the backup loses nothing (the file it came from stays as it was), so Enter takes it.
    if (MessageBox::ask(this, q(question), MessageBox::Buttons::YesNo) != MessageBox::Answer::Yes) {
        return false;
    }
    runCommand([this, &backup] { openQuotation(backup->file, FileRole::Source); });
    return true;
}

// The file the quotation was opened from or last saved to: its name in the status bar (the whole
// path as the hint) and the title.
void MainWindow::showOwnFile() {
    const std::filesystem::path& file = session_.ownFile();
    setStatusPanel(5, file.empty() ? std::string() : pathText(file.filename()));
    statusPanels_[5]->setToolTip(q(pathText(file)));
    const QString title = QString::fromUtf8(applicationTitle(modules_));
    setWindowTitle(file.empty() ? title
                                : q(pathText(file.filename())) + QStringLiteral(" - ") + title);
}

void MainWindow::newQuotation() {
    apply(session_.newQuotation(today()).changes);
}

void MainWindow::openQuotationFile() {
    showOpenedQuotation(session_.openChosenQuotationFile(today()));
}

void MainWindow::importVersion1File() {
    showOpenedQuotation(session_.importChosenVersion1File(today()));
}

void MainWindow::saveQuotationFile() {
    const SessionOutcome saved = session_.saveChosenQuotationFile();
    apply(saved.changes);
    if (saved.done) {
        MessageBox::notify(this, QStringLiteral("データを保存しました。"));
    }
}

void MainWindow::openWorkFolder() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(q(pathText(folders_.dataRoot))));
}

void MainWindow::closeProgram() {
    close();
}

void MainWindow::openQuotation(const std::filesystem::path& path, FileRole role) {
    showOpenedQuotation(session_.openQuotationFile(path, role, today()));
}

void MainWindow::showOpenedQuotation(const SessionOutcome& opened) {
    apply(opened.changes);
    if (opened.done) {
        view_->grid()->scrollToTop();
        selectRows(1, 1);
    }
}

} // namespace kerbina
