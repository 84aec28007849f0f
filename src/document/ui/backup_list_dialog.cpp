#include "document/ui/backup_list_dialog.h"

#include "widgets/message_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace kerbina {

std::deque<std::optional<std::size_t>> BackupListDialog::choices_;
QStringList BackupListDialog::shownRows_;

BackupListDialog::BackupListDialog(const std::vector<BackupSummary>& backups, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("BackupListDialog"));
    setWindowTitle(QStringLiteral("バックアップファイルを読み込む"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("読み込むバックアップを選んでください。"
                                                "上ほど新しいバックアップです。"),
                                 this));
    for (const BackupSummary& backup : backups) {
        list_->addItem(QString::fromStdString(backupRowText(backup)));
    }
    list_->setCurrentRow(0);
    list_->setMinimumWidth(list_->sizeHintForColumn(0) + 40);
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("開く"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QStringList BackupListDialog::rows() const {
    QStringList texts;
    for (int row = 0; row < list_->count(); ++row) {
        texts.append(list_->item(row)->text());
    }
    return texts;
}

std::optional<std::size_t> BackupListDialog::choose(QWidget* parent,
                                                    const std::vector<BackupSummary>& backups) {
    BackupListDialog dialog(backups, parent);
    if (MessageBox::isScripted()) {
        shownRows_.append(dialog.rows());
        if (choices_.empty()) {
            return std::nullopt;
        }
        const std::optional<std::size_t> choice = choices_.front();
        choices_.pop_front();
        return choice && *choice < backups.size() ? choice : std::nullopt;
    }
    if (dialog.exec() != QDialog::Accepted || dialog.list_->currentRow() < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(dialog.list_->currentRow());
}

void BackupListDialog::setNextChoice(std::optional<std::size_t> index) {
    choices_.push_back(index);
}

QStringList BackupListDialog::takeShownRows() {
    return std::exchange(shownRows_, {});
}

} // namespace kerbina
