#pragma once

#include "storage/quotation_copy.h"

#include <QDialog>
#include <array>
#include <filesystem>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QSpinBox;

namespace kerbina {

// The copy dialog "見積複製": how the copies of the marked quotations are numbered and which
// values they get. "実行" accepts, "キャンセル" rejects; either way each non-empty text moves to
// the top of its history list (temp/copy1.lst to copy4.lst), which is saved.
class QuotationCopyDialog : public QDialog {
    Q_OBJECT

public:
    QuotationCopyDialog(const CopyCounter& counter, std::filesystem::path tempFolder,
                        std::chrono::year_month_day today, QWidget* parent = nullptr);

    // The choices as they stand.
    CopyRequest request() const;

    void done(int result) override;

private:
    std::filesystem::path tempFolder_;
    QLineEdit* header_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* start_ = nullptr;
    QButtonGroup* numbering_ = nullptr;
    // The added text, 納入期日, 見積有効期限, タグ: each with its history list.
    std::array<QComboBox*, 4> texts_{};
    std::array<QCheckBox*, 4> rewrites_{}; // 納入期日, 見積有効期限, タグ, 日付
    QDateEdit* date_ = nullptr;
};

} // namespace kerbina
