#include "storage/ui/save_dialog.h"

#include "base/conf_file.h"
#include "base/text.h"
#include "base/user_error.h"
#include "widgets/qt_text.h"
#include "widgets/window_position.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace kerbina {
namespace {

constexpr const char* kPositionName = "Save_Dlg";

QString joined(const std::string& first, const std::string& second) {
    return q(first + " " + second);
}

} // namespace

SaveDialog::SaveDialog(std::filesystem::path dataRoot, const QString& siteCaption,
                       const QString& workCaption, QWidget* parent)
    : QDialog(parent), dataRoot_(std::move(dataRoot)) {
    setObjectName(QStringLiteral("Tfsave_Dlg"));
    setWindowTitle(QApplication::applicationName());
    setModal(true);
    setMinimumWidth(440);

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("データ保存ダイアログ"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    layout->addWidget(heading);

    auto* form = new QFormLayout;
    const auto addField = [&](const QString& caption, const QString& shown) {
        auto* field = new QLineEdit(this);
        field->setReadOnly(true);
        field->setObjectName(caption);
        form->addRow(shown.isEmpty() ? caption : shown, field);
        fields_.insert(caption, field);
    };
    addField(QStringLiteral("見積番号"), {});
    addField(QStringLiteral("日付"), {});
    addField(QStringLiteral("宛先名称"), {});
    addField(QStringLiteral("現場名称"), siteCaption);
    addField(QStringLiteral("工事名称"), workCaption);
    addField(QStringLiteral("納入期日"), {});
    addField(QStringLiteral("取引条件"), {});
    addField(QStringLiteral("見積作成者"), {});
    addField(QStringLiteral("御依頼者"), {});
    addField(QStringLiteral("見積有効期限"), {});
    addField(QStringLiteral("タグ"), {});
    layout->addLayout(form);

    auto* numberButtons = new QHBoxLayout;
    issueButton_ = new QPushButton(QStringLiteral("新規見積番号取得"), this);
    enterButton_ = new QPushButton(QStringLiteral("任意の見積番号を設定"), this);
    numberButtons->addWidget(issueButton_);
    numberButtons->addWidget(enterButton_);
    numberButtons->addStretch();
    layout->addLayout(numberButtons);

    auto* buttons = new QHBoxLayout;
    saveButton_ = new QPushButton(QStringLiteral("保　存"), this);
    cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
    buttons->addStretch();
    buttons->addWidget(saveButton_);
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);

    for (QPushButton* button : {issueButton_, enterButton_, saveButton_, cancelButton_}) {
        button->setAutoDefault(false);
    }
    connect(issueButton_, &QPushButton::clicked, this, [this] { issueNumber(); });
    connect(enterButton_, &QPushButton::clicked, this, [this] { enterNumber(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { reject(); });

    if (const auto stored = storedWindowPosition(dataRoot_, kPositionName)) {
        // The stored height is kept in the file but not applied: the fields decide it.
        move(stored->topLeft());
        resize(stored->width(), sizeHint().height());
    }
}

std::string SaveDialog::run(SaveContext& context) {
    context_ = &context;
    completion_.clear();
    issueButton_->setEnabled(true);
    showHeader();
    exec();
    context_ = nullptr;
    return completion_;
}

void SaveDialog::closeFromLink() {
    if (isVisible()) {
        reject();
    }
}

void SaveDialog::restoreFromLink() {
    QApplication::beep();
    if (isVisible()) {
        showNormal();
        raise();
        activateWindow();
    }
}

QString SaveDialog::fieldText(const QString& caption) const {
    const QLineEdit* field = fields_.value(caption);
    return field != nullptr ? field->text() : QString();
}

void SaveDialog::done(int result) {
    try {
        storeWindowPosition(dataRoot_, kPositionName, *this);
    } catch (const UserError&) {
        // A position that cannot be written is not worth a message on every close: the next
        // showing simply opens where Qt places it.
    }
    QDialog::done(result);
}

void SaveDialog::showHeader() {
    const QuotationHeader header = context_->source.header();
    fields_[QStringLiteral("見積番号")]->setText(q(header.number));
    fields_[QStringLiteral("日付")]->setText(
        q(japaneseEraDateText(header.storedYear + 1988, header.month, header.day)));
    fields_[QStringLiteral("宛先名称")]->setText(joined(header.addressee1, header.addressee2));
    fields_[QStringLiteral("現場名称")]->setText(joined(header.siteName1, header.siteName2));
    fields_[QStringLiteral("工事名称")]->setText(q(header.workName));
    fields_[QStringLiteral("納入期日")]->setText(q(header.deliveryDate));
    fields_[QStringLiteral("取引条件")]->setText(q(header.tradeTerms));
    fields_[QStringLiteral("見積作成者")]->setText(q(header.author));
    fields_[QStringLiteral("御依頼者")]->setText(q(header.requester));
    fields_[QStringLiteral("見積有効期限")]->setText(q(header.validity));
    fields_[QStringLiteral("タグ")]->setText(q(header.opt1Str));
}

template <typename Work> void SaveDialog::guarded(Work&& work) {
    if (context_ == nullptr) {
        return;
    }
    try {
        work();
    } catch (const UserError& error) {
        context_->prompt.reportError(kSqlErrorText, error.what());
    }
    showHeader();
}

void SaveDialog::issueNumber() {
    guarded([this] {
        if (issueNumberForSave(*context_)) {
            issueButton_->setEnabled(false);
        }
    });
}

void SaveDialog::enterNumber() {
    guarded([this] { enterNumberForSave(*context_); });
}

void SaveDialog::save() {
    guarded([this] {
        const SavePressOutcome outcome = pressSave(*context_, std::chrono::system_clock::now());
        if (outcome.issuedNumber) {
            issueButton_->setEnabled(false);
        }
        switch (outcome.step) {
        case SaveStep::Saved:
            completion_ = kSaveCompletionText;
            accept();
            break;
        case SaveStep::Failed:
            reject();
            break;
        case SaveStep::StayOpen:
            break;
        }
    });
}

LockWaitBox::LockWaitBox(QWidget* window) : QObject(window), window_(window) {}

bool LockWaitBox::keepWaiting(std::chrono::milliseconds waited, std::chrono::milliseconds limit) {
    if (box_ == nullptr) {
        box_ = new QProgressDialog(
            QStringLiteral("データベースは他のプログラムが使用中です。空くのを待っています。"),
            QStringLiteral("中止"), 0, static_cast<int>(limit.count()), window_);
        box_->setObjectName(QStringLiteral("LockWaitBox"));
        box_->setWindowTitle(QApplication::applicationName());
        box_->setWindowModality(Qt::WindowModal);
        box_->setAutoClose(false);
        box_->setAutoReset(false);
        box_->setMinimumDuration(0);
        box_->show();
    }
    box_->setValue(static_cast<int>(std::min(waited, limit).count()));
    QApplication::processEvents();
    return !box_->wasCanceled();
}

void LockWaitBox::waitEnded() {
    delete box_;
    box_ = nullptr;
}

} // namespace kerbina
