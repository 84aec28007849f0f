#pragma once

#include "costs/expenses.h"

#include <QDialog>
#include <array>
#include <filesystem>

class QComboBox;
class QLineEdit;

namespace kerbina {

// "経費類パターン設定" (object name "Tkeihiplan"): the ten rows of one expense pattern file.
// "登　録" writes all ten rows and closes; "キャンセル" closes without writing.
class ExpensePatternEditor : public QDialog {
    Q_OBJECT

public:
    ExpensePatternEditor(std::filesystem::path dataRoot, int pattern, QWidget* parent = nullptr);

    // Shows the pattern's rows and runs the editor; true when the rows were registered.
    bool edit();
    // The rows cleared, then filled from the pattern file (done when the editor is made).
    void load();
    // "登　録": the rows written to the file; false (after telling why) when a row may not be
    // written or the file could not be.
    bool registerRows();

private:
    struct Row {
        QLineEdit* name;
        QLineEdit* shortName;
        QComboBox* unit;
        QLineEdit* netRate;
        QLineEdit* submittedRate;
        QComboBox* target;
    };
    void showRow(const Row& row, const PatternRowEntry& entry);

    std::filesystem::path dataRoot_;
    int pattern_;
    std::array<Row, kExpensePatternRows> rows_{};
};

} // namespace kerbina
