#pragma once

#include "costs/welfare_form.h"
#include "costs/welfare_writes.h"

#include <QDialog>
#include <array>
#include <filesystem>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace kerbina {

// "法定福利費": collects the rates and the layout of a welfare write. The dialog lives for the
// whole run and keeps its fields between showings; the configuration file is read into them at
// every showing and written at every closing, however it closes. The write itself is the caller's.
class WelfareDialog : public QDialog {
public:
    WelfareDialog(std::filesystem::path dataRoot, QWidget* parent);

    struct Choice {
        WelfareLayout layout;
        WelfareEntry entry;
    };
    // Shows the dialog modally over the amounts of `base` (status bar and "比率取得"); the layout
    // of the write button pressed with the checked entry, or nothing (cancelled, or a button
    // pressed without the rates, which is said before the dialog closes).
    std::optional<Choice> ask(const WelfareBase& base);

    // The write buttons and "比率取得", as their clicks run them.
    void write(WelfareLayout layout);
    void takeLabourRatio();
    // The name at the field `objectName` asks for a new text, as a double-click on it does.
    void rename(QLabel* name);
    QString statusText(int panel) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showForm();
    WelfareForm formShown() const;
    void showEmployerRate();

    std::filesystem::path dataRoot_;
    WelfareForm form_;
    WelfareBase base_;
    std::optional<Choice> choice_;

    QLineEdit* labourRate_ = nullptr;
    QComboBox* name_ = nullptr;
    std::array<QLabel*, kInsuranceCount> insuranceNames_{};
    std::array<QLineEdit*, kInsuranceCount> insuranceRates_{};
    QLabel* sumName_ = nullptr;
    QLabel* employerRate_ = nullptr;
    QLabel* workerRateName_ = nullptr;
    QLineEdit* workerRate_ = nullptr;
    QCheckBox* formulaInSpecification_ = nullptr;
    std::array<QLabel*, 3> status_{};
};

} // namespace kerbina
