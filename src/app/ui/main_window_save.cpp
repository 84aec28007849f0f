// The main window's save to the quotation database: "保  存", and the save that "新規作成", loading
// a backup and closing offer for a modified quotation.
#include "app/ui/main_window.h"
#include "app/ui/main_window_support.h"
#include "app/ui/message_box.h"
#include "storage/search_index.h"
#include "storage/ui/save_dialog.h"

namespace kerbina {

bool TFKERBINA::saveToDatabase() {
    apply(session_.writeOpenSheet());
    if (saveDialog_ == nullptr) {
        saveDialog_ =
            new Tfsave_Dlg(folders_.dataRoot, q(environment_.title1), q(environment_.title2), this);
    }
    SaveContext context{session_.quotationDatabase(), session_.addressDatabase(),
                        session_.numbering(), session_.saveSource(), *this};
    SearchIndex* index = session_.searchIndex();
    const std::string stampBefore = index != nullptr ? index->stampBeforeWrite() : std::string();
    const bool saved = saveDialog_->run(context) == kSaveCompletionText;
    if (saved && index != nullptr) {
        // The list's search index takes the saved row at once instead of comparing the table
        // at its next read.
        index->noteChanged(session_.document().header.number, stampBefore);
    }
    // A number issued in the dialog is shown on the cover and in the status bar.
    apply(session_.takeViewChanges());
    if (!saved) {
        return false;
    }
    session_.markSaved();
    notify(std::string(kSavedText));
    return true;
}

void TFKERBINA::saveQuotation() {
    saveToDatabase();
}

} // namespace kerbina
