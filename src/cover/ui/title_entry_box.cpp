#include "cover/ui/title_entry_box.h"

#include "cover/cover_fields.h"
#include "widgets/application_title.h"
#include "widgets/qt_text.h"
#include "widgets/typed_number_fields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace kerbina {
namespace {} // namespace

TitleEntryBox::TitleEntryBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFMTBOX"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    auto* layout = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("heading"));
    layout->addWidget(heading_);

    auto* form = new QFormLayout();
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("data1"));
    form->addRow(QStringLiteral("名　称"), name_);
    group_ = new QComboBox(this);
    group_->setObjectName(QStringLiteral("group"));
    group_->setEditable(true);
    group_->setInsertPolicy(QComboBox::NoInsert);
    form->addRow(QStringLiteral("分　類"), group_);
    honorific_ = new QComboBox(this);
    honorific_->setObjectName(QStringLiteral("keisyo"));
    honorific_->setEditable(true);
    honorific_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string_view choice : kHonorifics) {
        honorific_->addItem(
            QString::fromUtf8(choice.data(), static_cast<qsizetype>(choice.size())));
    }
    form->addRow(QStringLiteral("敬　称"), honorific_);
    layout->addLayout(form);

    numbering_ = new QWidget(this);
    numbering_->setObjectName(QStringLiteral("numberingFields"));
    auto* numberingForm = new QFormLayout(numbering_);
    numberingForm->setContentsMargins(0, 0, 0, 0);
    prefix_ = new QLineEdit(numbering_);
    prefix_->setObjectName(QStringLiteral("header"));
    numberingForm->addRow(QStringLiteral("ヘッダー"), prefix_);
    width_ = new TypedNumberSpinBox(numbering_);
    width_->setObjectName(QStringLiteral("keta"));
    width_->setRange(0, kMaxNumberWidth);
    numberingForm->addRow(QStringLiteral("見積番号桁"), width_);
    counter_ = new TypedNumberSpinBox(numbering_);
    counter_->setObjectName(QStringLiteral("number"));
    counter_->setRange(0, kMaxNumberCounter);
    numberingForm->addRow(QStringLiteral("初期番号"), counter_);
    layout->addWidget(numbering_);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    auto* store = new QPushButton(QStringLiteral("登　録"), this);
    store->setObjectName(QStringLiteral("storeButton"));
    connect(store, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(store);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

void TitleEntryBox::load(const TitleEntry& entry, const std::string& heading, bool numberingShown,
                         const std::vector<std::string>& groups) {
    loaded_ = entry;
    numberingShown_ = numberingShown;
    heading_->setText(q(heading));
    name_->setText(q(entry.name));
    group_->clear();
    for (const std::string& group : groups) {
        group_->addItem(q(group));
    }
    group_->setCurrentIndex(-1);
    group_->setEditText(q(entry.group));
    honorific_->setEditText(q(entry.honorific));
    prefix_->setText(q(entry.prefix));
    width_->setValue(static_cast<int>(std::clamp<std::int64_t>(entry.width, 0, kMaxNumberWidth)));
    counter_->setValue(
        static_cast<int>(std::clamp<std::int64_t>(entry.counter, 0, kMaxNumberCounter)));
    numbering_->setVisible(numberingShown);
    name_->setFocus();
}

TitleEntry TitleEntryBox::entered() const {
    TitleEntry entry = loaded_;
    entry.name = name_->text().toStdString();
    entry.group = group_->currentText().toStdString();
    entry.honorific = honorific_->currentText().toStdString();
    if (numberingShown_) {
        entry.prefix = prefix_->text().toStdString();
        // A stored value beyond the box's range shows clamped; unless the user set another
        // value it is kept, so a counter is never lowered (that would issue numbers again).
        if (width_->value() != std::clamp<std::int64_t>(loaded_.width, 0, kMaxNumberWidth)) {
            entry.width = width_->value();
        }
        if (counter_->value() != std::clamp<std::int64_t>(loaded_.counter, 0, kMaxNumberCounter)) {
            entry.counter = counter_->value();
        }
    }
    return entry;
}

} // namespace kerbina
