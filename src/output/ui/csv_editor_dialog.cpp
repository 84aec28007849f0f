#include "output/ui/csv_editor_dialog.h"

#include "base/file_io.h"
#include "output/csv_import.h"
#include "widgets/application_title.h"
#include "widgets/message_box.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kerbina {
namespace {

constexpr int kInitialRows = 30;

std::deque<std::optional<std::vector<std::vector<std::string>>>>& scriptedRows() {
    static std::deque<std::optional<std::vector<std::vector<std::string>>>> rows;
    return rows;
}

void writeImportFile(const std::filesystem::path& file,
                     const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::string> lines;
    for (const std::vector<std::string>& fields : rows) {
        if (!isBlankCsvImportRow(fields)) {
            lines.push_back(csvImportText(fields));
        }
    }
    writeTextLines(file, lines);
}

} // namespace

CsvEditorDialog::CsvEditorDialog(std::filesystem::path importFile, QWidget* parent)
    : QDialog(parent), importFile_(std::move(importFile)) {
    setObjectName(QStringLiteral("CsvEditorDialog"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle) + QStringLiteral(" - CSVエディタ"));
    const std::vector<std::string>& captions = csvImportFieldCaptions();
    table_ = new QTableWidget(kInitialRows, static_cast<int>(captions.size()), this);
    QStringList headers;
    for (const std::string& caption : captions) {
        headers << QString::fromStdString(caption);
    }
    table_->setHorizontalHeaderLabels(headers);
    // Name, specification and note are wide, the unit narrow, the numbers in between.
    const int widths[] = {200, 160, 50, 70, 70, 70, 80, 80, 60, 80, 80, 160};
    for (int column = 0; column < table_->columnCount(); ++column) {
        table_->setColumnWidth(column, widths[column]);
    }

    auto* addRow = new QPushButton(QStringLiteral("行追加"), this);
    auto* removeRow = new QPushButton(QStringLiteral("行削除"), this);
    connect(addRow, &QPushButton::clicked, this,
            [this] { table_->insertRow(std::max(table_->currentRow(), 0)); });
    connect(removeRow, &QPushButton::clicked, this, [this] {
        if (table_->currentRow() >= 0) {
            table_->removeRow(table_->currentRow());
        }
    });
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* import = buttons->addButton(QStringLiteral("取込"), QDialogButtonBox::AcceptRole);
    import->setObjectName(QStringLiteral("importButton"));
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CsvEditorDialog::importRows);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(addRow);
    rowButtons->addWidget(removeRow);
    rowButtons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rowButtons);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(1240, 520);
}

void CsvEditorDialog::pasteText(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().trimmed().isEmpty()) {
        lines.removeLast();
    }
    const int top = std::max(table_->currentRow(), 0);
    const int left = std::max(table_->currentColumn(), 0);
    for (int n = 0; n < lines.size(); ++n) {
        const int row = top + n;
        if (row >= table_->rowCount()) {
            table_->setRowCount(row + 1);
        }
        QString line = lines[n];
        line.remove(QLatin1Char('\r'));
        const QStringList cells = line.split(QLatin1Char('\t'));
        for (int k = 0; k < cells.size() && left + k < table_->columnCount(); ++k) {
            table_->setItem(row, left + k, new QTableWidgetItem(cells[k]));
        }
    }
}

void CsvEditorDialog::importRows() {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < table_->rowCount(); ++row) {
        std::vector<std::string> fields;
        for (int column = 0; column < table_->columnCount(); ++column) {
            const QTableWidgetItem* item = table_->item(row, column);
            fields.push_back(item != nullptr ? item->text().toStdString() : std::string{});
        }
        rows.push_back(std::move(fields));
    }
    if (const auto problem = firstUnreadableCsvEditorRow(rows)) {
        const int row = static_cast<int>(problem->row);
        table_->setCurrentCell(row, 0);
        MessageBox::error(this, QString::fromStdString(problem->text));
        return;
    }
    try {
        writeImportFile(importFile_, rows);
    } catch (const FileError& error) {
        MessageBox::error(this, QString::fromUtf8(error.what()));
        return;
    }
    accept();
}

void CsvEditorDialog::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteText(QApplication::clipboard()->text());
        return;
    }
    QDialog::keyPressEvent(event);
}

void CsvEditorDialog::setNextRows(std::optional<std::vector<std::vector<std::string>>> rows) {
    scriptedRows().push_back(std::move(rows));
}

bool runCsvEditor(QWidget* parent, const std::filesystem::path& importFile) {
    if (MessageBox::isScripted()) {
        if (!scriptedRows().empty()) {
            const auto rows = scriptedRows().front();
            scriptedRows().pop_front();
            if (rows) {
                writeImportFile(importFile, *rows);
            }
        }
        return true;
    }
    CsvEditorDialog dialog(importFile, parent);
    dialog.exec();
    return true;
}

} // namespace kerbina
