#include "costs/ui/expense_pattern_editor.h"

#include "base/user_error.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"
#include "widgets/typed_number_fields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <utility>
#include <variant>

namespace kerbina {

namespace {

QLineEdit* rateField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setValidator(new TypedNumberValidator(
        QRegularExpression(QStringLiteral("[-+]?[0-9]*[.]?[0-9]*")), field));
    return field;
}

} // namespace

ExpensePatternEditor::ExpensePatternEditor(std::filesystem::path dataRoot, int pattern,
                                           QWidget* parent)
    : QDialog(parent), dataRoot_(std::move(dataRoot)), pattern_(pattern) {
    setObjectName(QStringLiteral("Tkeihiplan"));
    setWindowTitle(QStringLiteral("ケルビナ-経費類パターン設定-"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("経費類パターン設定"), this));

    auto* grid = new QGridLayout();
    const char* const headings[] = {"名      称", "短縮名",     "単  位",
                                    "原   価(%)", "提   出(%)", "計算対象"};
    for (int column = 0; column < 6; ++column) {
        grid->addWidget(new QLabel(QString::fromUtf8(headings[column]), this), 0, column);
    }
    for (int n = 0; n < kExpensePatternRows; ++n) {
        Row row{new QLineEdit(this), new QLineEdit(this), new QComboBox(this),
                rateField(this),     rateField(this),     new QComboBox(this)};
        row.unit->setEditable(true);
        row.unit->addItems({QStringLiteral("式"), QStringLiteral("％")});
        for (const char* caption : kExpenseTargetCaptions) {
            row.target->addItem(QString::fromUtf8(caption));
        }
        const QList<QWidget*> cells = {row.name,    row.shortName,     row.unit,
                                       row.netRate, row.submittedRate, row.target};
        for (int column = 0; column < cells.size(); ++column) {
            cells[column]->setObjectName(QStringLiteral("row%1_%2").arg(n + 1).arg(column + 1));
            grid->addWidget(cells[column], n + 1, column);
        }
        rows_[static_cast<std::size_t>(n)] = row;
    }
    layout->addLayout(grid);

    auto* registration = new QPushButton(QStringLiteral("登　録"), this);
    registration->setObjectName(QStringLiteral("registerButton"));
    connect(registration, &QPushButton::clicked, this, [this] {
        if (registerRows()) {
            accept();
        }
    });
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(registration);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    load();
}

bool ExpensePatternEditor::edit() {
    load();
    return exec() == QDialog::Accepted;
}

void ExpensePatternEditor::load() {
    for (const Row& row : rows_) {
        showRow(row, patternRowEntry(emptyPatternRow()));
    }
    std::optional<std::vector<ExpensePatternLine>> lines;
    try {
        lines = readExpensePattern(dataRoot_, pattern_);
    } catch (const UserError& error) {
        MessageBox::error(this, QString::fromUtf8(error.what()));
    }
    if (!lines) {
        return;
    }
    for (std::size_t n = 0; n < lines->size() && n < rows_.size(); ++n) {
        showRow(rows_[n], patternRowEntry((*lines)[n]));
    }
}

void ExpensePatternEditor::showRow(const Row& row, const PatternRowEntry& entry) {
    row.name->setText(q(entry.name));
    row.shortName->setText(q(entry.shortName));
    row.unit->setCurrentText(q(entry.unit));
    row.netRate->setText(q(entry.netRateText));
    row.submittedRate->setText(q(entry.submittedRateText));
    row.target->setCurrentIndex(entry.targetIndex);
}

bool ExpensePatternEditor::registerRows() {
    std::vector<PatternRowEntry> entries;
    for (const Row& row : rows_) {
        entries.push_back({s(row.name->text()), s(row.shortName->text()),
                           s(row.unit->currentText()), s(row.netRate->text()),
                           s(row.submittedRate->text()), row.target->currentIndex()});
    }
    const auto lines = patternLinesOf(entries);
    if (const auto* refusal = std::get_if<std::string>(&lines)) {
        MessageBox::notify(this, q(*refusal));
        return false;
    }
    try {
        writeExpensePattern(dataRoot_, pattern_, std::get<std::vector<ExpensePatternLine>>(lines));
    } catch (const UserError& error) {
        MessageBox::error(this, QString::fromUtf8(error.what()));
        return false;
    }
    return true;
}

} // namespace kerbina
