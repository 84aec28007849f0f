// The main window's file commands: new, open, save, import, the crash backups.
#include "app/app_title.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_support.h"
#include "app/ui/message_box.h"
#include "document/quotation_file_name.h"
#include "document/ui/backup_list_dialog.h"
#include "grid/ui/quotation_view.h"
#include "money/rounding.h"

#include <QDesktopServices>
#include <QTableView>
#include <QUrl>

namespace kerbina {

bool TFKERBINA::offerCrashBackup() {
    const std::optional<BackupSummary> backup = session_.crashBackup();
    if (!backup) {
        return false;
    }
    const std::string total = backup->damaged ? "壊れているか途中までのファイルです"
                                              : "総合計 " + MoneyText(backup->grandTotal);
    const std::string question = "前回は正常に終了しませんでした。\n最後のバックアップ（" +
                                 localTimeText(backup->written) + "、" + total + "）を開きますか？";
    if (MessageBox::ask(this, q(question), MessageBox::Buttons::YesNoDefaultNo) !=
        MessageBox::Answer::Yes) {
        return false;
    }
    runCommand([this, &backup] { openQuotation(backup->file, FileRole::Source); });
    return true;
}

// Asks where to save (the quotation's own file, or a name made from it in the quotation folder)
// and writes the quotation there. False when the user cancelled; a failed write raises.
bool TFKERBINA::saveToChosenFile() {
    const QString path = MessageBox::saveFileName(
        this, QStringLiteral("ファイルに保存"),
        q(pathText(suggestedSavePath(state_, ownFile_, folders_.quotationFolder))),
        QStringLiteral("ケルビナデータファイル (*.krb2)"), QStringLiteral("krb2"));
    if (path.isEmpty()) {
        return false;
    }
    apply(session_.saveQuotationFile(pathFromText(s(path))));
    setOwnFile(pathFromText(s(path)));
    return true;
}

// The file the quotation was opened from or last saved to: offered by the next save, shown in the
// status bar and the title.
void TFKERBINA::setOwnFile(const std::filesystem::path& file) {
    ownFile_ = file;
    setStatusPanel(5, file.empty() ? std::string() : pathText(file));
    const QString title = QString::fromUtf8(applicationTitle(modules_));
    setWindowTitle(file.empty() ? title
                                : q(pathText(file.filename())) + QStringLiteral(" - ") + title);
}

bool TFKERBINA::askToKeepModifiedQuotation() {
    if (!state_.modified) {
        return true;
    }
    switch (MessageBox::ask(this, QStringLiteral("編集中のデータを保存しますか？"),
                            MessageBox::Buttons::YesNo)) {
    case MessageBox::Answer::Yes:
        return saveToDatabase();
    default:
        return true;
    }
}

void TFKERBINA::newQuotation() {
    const SessionOutcome outcome = session_.newQuotation(today());
    apply(outcome.changes);
    if (outcome.done) {
        setOwnFile({});
    }
}

void TFKERBINA::openQuotationFile() {
    if (!askToKeepModifiedQuotation()) {
        return;
    }
    const QString path = MessageBox::openFileName(
        this, QStringLiteral("直接ファイルを開く"), q(pathText(folders_.quotationFolder)),
        QStringLiteral("ケルビナファイル(krb2) (*.krb2)"));
    if (!path.isEmpty()) {
        openQuotation(pathFromText(s(path)), FileRole::OwnFile);
    }
}

void TFKERBINA::importVersion1File() {
    if (state_.modified &&
        MessageBox::ask(this, QStringLiteral("編集中のデータが失われますが、よろしいですか？"),
                        MessageBox::Buttons::YesNo) != MessageBox::Answer::Yes) {
        return;
    }
    const QString path = MessageBox::openFileName(
        this, QStringLiteral("Version1のファイルを開く"), q(pathText(folders_.quotationFolder)),
        QStringLiteral("ケルビナVersion1(krb) (*.krb *.KRB)"));
    if (!path.isEmpty()) {
        openQuotation(pathFromText(s(path)), FileRole::Source);
    }
}

void TFKERBINA::saveQuotationFile() {
    if (saveToChosenFile()) {
        MessageBox::notify(this, QStringLiteral("データを保存しました。"));
    }
}

void TFKERBINA::loadBackupFile() {
    if (state_.modified) {
        switch (MessageBox::ask(this, QStringLiteral("編集中のデータを保存しますか？"),
                                MessageBox::Buttons::YesNoCancel)) {
        case MessageBox::Answer::Yes:
            if (!saveToDatabase()) {
                return;
            }
            break;
        case MessageBox::Answer::No:
            break;
        default:
            return;
        }
    }
    const std::vector<BackupSummary> backups = listBackups(session_.store().backupFolder);
    if (backups.empty()) {
        MessageBox::notify(this, QStringLiteral("バックアップファイルがありません。"));
        return;
    }
    if (const auto chosen = BackupListDialog::choose(this, backups)) {
        openQuotation(backups[*chosen].file, FileRole::Source);
    }
}

void TFKERBINA::openWorkFolder() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(q(pathText(folders_.dataRoot))));
}

void TFKERBINA::closeProgram() {
    close();
}

void TFKERBINA::openQuotation(const std::filesystem::path& path, FileRole role) {
    const SessionOutcome outcome = session_.openQuotationFile(path, today());
    if (!outcome.done) {
        return;
    }
    // An old .krb file (also when named on the command line) is converted, never written back.
    const bool quotationFile = QString::fromStdString(pathText(path.extension()))
                                   .compare(QStringLiteral(".krb2"), Qt::CaseInsensitive) == 0;
    apply(outcome.changes);
    setOwnFile(role == FileRole::OwnFile && quotationFile ? path : std::filesystem::path());
    view_->grid()->scrollToTop();
    selectRows(1, 1);
}

} // namespace kerbina
