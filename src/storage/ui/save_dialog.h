#pragma once

#include "storage/database_health.h"
#include "storage/save_flow.h"

#include <QDialog>
#include <QMap>
#include <QString>
#include <filesystem>
#include <string>

class QLineEdit;
class QProgressDialog;
class QPushButton;

namespace kerbina {

// "データ保存ダイアログ": shows the header of the quotation being saved, read-only, and offers
// "新規見積番号取得", "任意の見積番号を設定", "保　存" and "キャンセル". Every decision is the
// core's (save_flow.h); every question and message goes through the context's prompt (the window).
// Its position and width are kept in the window-position file "Save_Dlg".
class SaveDialog : public QDialog {
    Q_OBJECT

public:
    // `siteCaption` and `workCaption` replace "現場名称" and "工事名称" ([TITLE1], [TITLE2] of the
    // settings); empty keeps the default.
    SaveDialog(std::filesystem::path dataRoot, const QString& siteCaption,
               const QString& workCaption, QWidget* parent = nullptr);

    // Shows the quotation of `context` and runs the dialog modally. The completion text:
    // "WM_SAVECOMP;" after a successful save, empty when cancelled or when the save failed.
    std::string run(SaveContext& context);
    const std::string& completionText() const { return completion_; }

    // A companion program's "WM_CLOSE": closes the dialog as "キャンセル" does.
    void closeFromLink();
    // A companion program's "WM_Restore": a beep, and the dialog (with the program) in front.
    void restoreFromLink();

    // The text shown in a field, by the field's own caption (見積番号, 日付, 宛先名称, 現場名称,
    // 工事名称, 納入期日, 取引条件, 見積作成者, 御依頼者, 見積有効期限, タグ).
    QString fieldText(const QString& caption) const;
    QPushButton* issueButton() const { return issueButton_; }
    QPushButton* enterButton() const { return enterButton_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

protected:
    void done(int result) override;

private:
    void showHeader();
    void issueNumber();
    void enterNumber();
    void save();
    // Runs one button's work; an error of the header files is reported, the dialog stays.
    template <typename Work> void guarded(Work&& work);

    std::filesystem::path dataRoot_;
    SaveContext* context_ = nullptr;
    std::string completion_;
    // The read-only fields by their own caption (also when the settings rename the label).
    QMap<QString, QLineEdit*> fields_;
    QPushButton* issueButton_ = nullptr;
    QPushButton* enterButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// The box a save shows while another program holds the quotation database: how much of the
// wait has passed, and "中止". It appears at the first look, blocks the window's input, and lets
// the window repaint and answer meanwhile. A child of the window it is made for.
class LockWaitBox final : public QObject, public LockWaitObserver {
    Q_OBJECT

public:
    explicit LockWaitBox(QWidget* window);

    bool keepWaiting(std::chrono::milliseconds waited, std::chrono::milliseconds limit) override;
    void waitEnded() override;

    // The box while a wait lasts; nullptr otherwise.
    QProgressDialog* box() const { return box_; }

private:
    QWidget* window_;
    QProgressDialog* box_ = nullptr;
};

} // namespace kerbina
