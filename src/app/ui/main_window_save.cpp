// The main window's save to the quotation database: "保  存", and the save that "新規作成", loading
// a backup and closing offer for a modified quotation.
#include "app/ui/main_window.h"
#include "storage/ui/save_dialog.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

namespace kerbina {

bool MainWindow::runSaveDialog(SaveContext& context) {
    if (saveDialog_ == nullptr) {
        saveDialog_ = new SaveDialog(folders_.dataRoot, q(environment_.siteNameTitle),
                                     q(environment_.workNameTitle), this);
    }
    return saveDialog_->run(context) == kSaveCompletionText;
}

bool MainWindow::saveToDatabase() {
    const bool saved = session_.saveToDatabase();
    // A number issued in the dialog is shown on the cover and in the status bar.
    apply(session_.takeChanges());
    return saved;
}

bool MainWindow::offerToSave() {
    if (!state_.modified) {
        return true;
    }
    switch (MessageBox::ask(this, QStringLiteral("編集中のデータを保存しますか？"),
                            MessageBox::Buttons::YesNoCancel)) {
    case MessageBox::Answer::Yes:
        return saveToDatabase();
    case MessageBox::Answer::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::saveQuotation() {
    saveToDatabase();
}

} // namespace kerbina
