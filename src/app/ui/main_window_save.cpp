// The main window's save to the quotation database: "保  存", and the save that "新規作成", loading
// a backup and closing offer for a modified quotation.
#include "app/ui/main_window.h"
#include "storage/ui/save_dialog.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

namespace kerbina {

bool TFKERBINA::runSaveDialog(SaveContext& context) {
    if (saveDialog_ == nullptr) {
        saveDialog_ =
            new Tfsave_Dlg(folders_.dataRoot, q(environment_.title1), q(environment_.title2), this);
    }
    return saveDialog_->run(context) == kSaveCompletionText;
}

bool TFKERBINA::saveToDatabase() {
    const bool saved = session_.saveToDatabase();
    // A number issued in the dialog is shown on the cover and in the status bar.
    apply(session_.takeChanges());
    return saved;
}

bool TFKERBINA::offerToSave() {
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

void TFKERBINA::saveQuotation() {
    saveToDatabase();
}

} // namespace kerbina
