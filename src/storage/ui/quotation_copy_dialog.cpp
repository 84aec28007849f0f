#include "storage/ui/quotation_copy_dialog.h"

#include "base/file_io.h"
#include "widgets/typed_number_fields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kerbina {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr std::array<const char*, 4> kChoices = {
    "環境設定で使用されている自動見積番号を使用する",
    "見積番号の前に指定文字を追加する",
    "見積番号の後ろに指定文字を追加する",
    "連番で新番号を発行",
};

constexpr std::array<const char*, 4> kRewrites = {
    "納入期日(請求月)を書き換える",
    "見積有効期限(支払期限)を書き換える",
    "タグを書き換える",
    "日付を書き換える",
};

} // namespace

QuotationCopyDialog::QuotationCopyDialog(const CopyCounter& counter,
                                         std::filesystem::path tempFolder,
                                         std::chrono::year_month_day today, QWidget* parent)
    : QDialog(parent), tempFolder_(std::move(tempFolder)) {
    setObjectName("Tfkrbcopy");
    setWindowTitle("見積複製");

    header_ = new QLineEdit(qt(counter.header));
    width_ = new TypedNumberSpinBox;
    width_->setRange(0, 12);
    width_->setValue(counter.width);
    start_ = new TypedNumberSpinBox;
    start_->setRange(0, 999999999);
    start_->setValue(static_cast<int>(std::clamp<long long>(counter.next, 0, 999999999)));
    auto* sequence = new QFormLayout;
    sequence->addRow("ヘッダー", header_);
    sequence->addRow("桁数", width_);
    sequence->addRow("初期値", start_);

    auto* choices = new QGroupBox("見積番号");
    auto* choiceBox = new QVBoxLayout(choices);
    numbering_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        auto* radio = new QRadioButton(kChoices[i]);
        numbering_->addButton(radio, static_cast<int>(i));
        choiceBox->addWidget(radio);
    }
    numbering_->button(0)->setChecked(true);

    for (std::size_t box = 0; box < texts_.size(); ++box) {
        texts_[box] = new QComboBox;
        texts_[box]->setEditable(true);
        std::vector<std::string> history;
        try {
            history = readTextLines(copyHistoryFile(tempFolder_, static_cast<int>(box) + 1));
        } catch (const FileError&) {
            history.clear(); // an unreadable list starts empty
        }
        for (const std::string& text : history) {
            texts_[box]->addItem(qt(text));
        }
        texts_[box]->setCurrentText(QString());
    }
    choiceBox->addWidget(new QLabel("指定文字"));
    choiceBox->addWidget(texts_[0]);

    auto* values = new QFormLayout;
    for (std::size_t i = 0; i < rewrites_.size(); ++i) {
        rewrites_[i] = new QCheckBox(kRewrites[i]);
    }
    date_ = new QDateEdit(QDate(static_cast<int>(today.year()),
                                static_cast<int>(static_cast<unsigned>(today.month())),
                                static_cast<int>(static_cast<unsigned>(today.day()))));
    date_->setCalendarPopup(true);
    date_->setDisplayFormat("yyyy/MM/dd");
    values->addRow(rewrites_[0], texts_[1]);
    values->addRow(rewrites_[1], texts_[2]);
    values->addRow(rewrites_[2], texts_[3]);
    values->addRow(rewrites_[3], date_);

    auto* run = new QPushButton("実行");
    auto* cancel = new QPushButton("キャンセル");
    connect(run, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(run);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sequence);
    layout->addWidget(choices);
    layout->addLayout(values);
    layout->addLayout(buttons);
}

CopyRequest QuotationCopyDialog::request() const {
    CopyRequest request;
    request.numbering = static_cast<CopyNumbering>(std::max(0, numbering_->checkedId()));
    request.addedText = texts_[0]->currentText().toStdString();
    request.sequence = {header_->text().toStdString(), width_->value(), start_->value()};
    if (rewrites_[0]->isChecked()) {
        request.deliveryDate = texts_[1]->currentText().toStdString();
    }
    if (rewrites_[1]->isChecked()) {
        request.validity = texts_[2]->currentText().toStdString();
    }
    if (rewrites_[2]->isChecked()) {
        request.tag = texts_[3]->currentText().toStdString();
    }
    if (rewrites_[3]->isChecked()) {
        const QDate date = date_->date();
        request.date = std::chrono::year{date.year()} /
                       std::chrono::month{static_cast<unsigned>(date.month())} /
                       std::chrono::day{static_cast<unsigned>(date.day())};
    }
    return request;
}

void QuotationCopyDialog::done(int result) {
    for (std::size_t box = 0; box < texts_.size(); ++box) {
        std::vector<std::string> history;
        for (int i = 0; i < texts_[box]->count(); ++i) {
            history.push_back(texts_[box]->itemText(i).toStdString());
        }
        rememberCopyText(history, texts_[box]->currentText().toStdString());
        if (history.empty()) {
            continue;
        }
        try {
            createFolders(tempFolder_);
            writeTextLines(copyHistoryFile(tempFolder_, static_cast<int>(box) + 1), history);
        } catch (const FileError&) {
            // A history list is a convenience: the copy goes on without it.
        }
    }
    QDialog::done(result);
}

} // namespace kerbina
