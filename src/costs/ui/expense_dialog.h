#pragma once

#include "costs/expenses.h"

#include <QDialog>
#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kerbina {

// "諸経費" (object name "TFKEIHI_Dlg"): collects an expense entry and hands it to the window,
// which writes it as a sheet line or a breakdown item; on a sheet it also writes the stored
// expense patterns. One dialog lives for the whole run and keeps the name, rates, target and
// rounding the user left; the names and pattern captions are read again at every showing.
class ExpenseDialog : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Sheet, List };

    // Where the dialog's writes go; the window runs each as one change of the open quotation.
    struct Writes {
        std::function<void(const ExpenseEntry&)> entry; // "計　算"
        std::function<void(const std::optional<std::vector<ExpensePatternLine>>&)> pattern;
    };

    ExpenseDialog(std::filesystem::path dataRoot, QWidget* parent = nullptr);

    // Shows the dialog in `mode` with `title` as its caption and runs it until it is closed.
    void run(Mode mode, const QString& title, Writes writes);
    // The showing steps of run without waiting: the unit becomes "式", the names and pattern
    // captions are read, the pattern tab is there on a sheet only, the rounding follows the target.
    void prepare(Mode mode, const QString& title, Writes writes);

    // What "計　算" would write now.
    ExpenseEntry entry() const;

private:
    void buildEntryTab(QWidget* tab);
    void buildPatternTab(QWidget* tab);
    void applyRoundingRule();
    void readNameButtons();
    void readPatternCaptions();
    void nameButtonClicked(int index);
    void renameButton(int index);
    void rateButtonClicked(int percent);
    void calculate();
    void patternClicked(int pattern, bool withShift);

    std::filesystem::path dataRoot_;
    Mode mode_ = Mode::Sheet;
    Writes writes_;
    std::string expenseName_;
    ExpenseNameButtons names_ = defaultExpenseNames();

    QTabWidget* tabs_ = nullptr;
    QWidget* patternTab_ = nullptr;
    std::array<QPushButton*, kExpenseNameButtons> nameButtons_{};
    std::array<QPushButton*, kExpensePatterns> patternButtons_{};
    QLineEdit* netRate_ = nullptr;
    QLineEdit* submittedRate_ = nullptr;
    QComboBox* unit_ = nullptr;
    QComboBox* target_ = nullptr;
    QComboBox* rounding_ = nullptr;
};

} // namespace kerbina
