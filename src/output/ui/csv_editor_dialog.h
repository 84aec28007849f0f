#pragma once

#include <QDialog>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QTableWidget;

namespace kerbina {

// "CSVエディタ": a table of the import file's twelve fields in which lines are typed or pasted
// from a spreadsheet (Ctrl+V, tab-separated). "取込" writes the filled rows as the import file
// and closes; "キャンセル" closes without writing, so nothing is imported.
class CsvEditorDialog : public QDialog {
    Q_OBJECT

public:
    explicit CsvEditorDialog(std::filesystem::path importFile, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    // Pastes tab-separated lines at the current cell, adding rows as needed.
    void pasteText(const QString& text);
    // "取込": writes the import file and accepts. A row the import could not read is named in a
    // box and made current, and a failed write is told; in both cases the dialog stays open with
    // every row as typed.
    void importRows();

    // ---- test hook ----
    // While message boxes are scripted (MessageBox::setScripted), runCsvEditor shows no dialog:
    // it saves the next scripted rows as the import file, or, with none left (or nothing
    // scripted), closes as the user's cancel would.
    static void setNextRows(std::optional<std::vector<std::vector<std::string>>> rows);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::filesystem::path importFile_;
    QTableWidget* table_ = nullptr;
};

// The CSV editor behind the launch-and-wait interface of the import: shows the editor modally and
// returns when it is closed. The editor is part of the program, so it is always there (true).
bool runCsvEditor(QWidget* parent, const std::filesystem::path& importFile);

} // namespace kerbina
