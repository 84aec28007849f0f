#include "cover/ui/title_data_dialog.h"

#include "cover/ui/title_entry_box.h"
#include "widgets/application_title.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kerbina {
namespace {

std::string now() {
    return QDateTime::currentDateTime()
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
        .toStdString();
}

// Runs a step that reads or writes the lists; a database fault is shown and the step ends.
template <typename Step> void guarded(QWidget* parent, Step step) {
    try {
        step();
    } catch (const DatabaseError& error) {
        MessageBox::error(parent, q(databaseFaultMessage(error)));
    }
}

} // namespace

TitleDataDialog::TitleDataDialog(Database& quotations, Database& addresses, QWidget* parent)
    : QDialog(parent), book_(quotations, addresses),
      editRunner_([](TitleEntryBox& box) { return box.exec() == QDialog::Accepted; }) {
    setObjectName(QStringLiteral("TFTITLEDATA"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    auto* layout = new QVBoxLayout(this);
    headingLabel_ = new QLabel(this);
    headingLabel_->setObjectName(QStringLiteral("heading"));
    layout->addWidget(headingLabel_);

    auto* lists = new QHBoxLayout();
    groups_ = new QListWidget(this);
    groups_->setObjectName(QStringLiteral("groupList"));
    groups_->setMaximumWidth(180);
    connect(groups_, &QListWidget::itemClicked, this,
            [this] { guarded(this, [this] { fillEntries(); }); });
    lists->addWidget(groups_);
    grid_ = new QTableWidget(0, 2, this);
    grid_->setObjectName(QStringLiteral("entryGrid"));
    grid_->verticalHeader()->setVisible(false);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { chooseSelected(); });
    connect(grid_, &QTableWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        connect(menu.addAction(QStringLiteral("選　択")), &QAction::triggered, this,
                &TitleDataDialog::chooseSelected);
        connect(menu.addAction(QStringLiteral("キャンセル")), &QAction::triggered, this,
                &QDialog::reject);
        connect(menu.addAction(QStringLiteral("登　録")), &QAction::triggered, this,
                &TitleDataDialog::editSelected);
        menu.exec(grid_->viewport()->mapToGlobal(at));
    });
    lists->addWidget(grid_, 1);
    layout->addLayout(lists, 1);

    auto* buttons = new QHBoxLayout();
    const auto button = [&](const char* caption, const char* name,
                            void (TitleDataDialog::*slot)()) {
        auto* pushButton = new QPushButton(QString::fromUtf8(caption), this);
        pushButton->setObjectName(QString::fromUtf8(name));
        pushButton->setAutoDefault(false);
        connect(pushButton, &QPushButton::clicked, this, slot);
        buttons->addWidget(pushButton);
    };
    button("選択入力", "chooseButton", &TitleDataDialog::chooseSelected);
    button("編　集", "editButton", &TitleDataDialog::editSelected);
    button("新規作成", "newButton", &TitleDataDialog::createEntry);
    buttons->addStretch(1);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(680, 480);
}

void TitleDataDialog::setNumbering(const NumberingOptions& numbering) {
    numbering_ = numbering;
}

void TitleDataDialog::setEditRunner(EditRunner runner) {
    editRunner_ = std::move(runner);
}

std::optional<TitleEntry> TitleDataDialog::pick(const std::string& kind, const std::string& heading,
                                                const std::string& currentText) {
    prepare(kind, heading, currentText);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return chosen_;
}

void TitleDataDialog::prepare(const std::string& kind, const std::string& heading,
                              const std::string& currentText) {
    kind_ = kind;
    heading_ = heading;
    chosen_.reset();
    headingLabel_->setText(q(heading));
    resize(isAddresseeKind(kind) ? 680 : 823, height());
    if (isAddresseeKind(kind)) {
        grid_->setColumnCount(5);
        grid_->setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("名       称"),
                                          QStringLiteral("記号"), QStringLiteral("桁数"),
                                          QStringLiteral("初期番号")});
    } else {
        grid_->setColumnCount(2);
        grid_->setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("名       称")});
    }
    // The name takes the width the short columns leave.
    grid_->horizontalHeader()->setStretchLastSection(false);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    guarded(this, [this] {
        fillGroups();
        fillEntries();
    });
    for (std::size_t row = 0; row < entries_.size(); ++row) {
        if (!currentText.empty() && entries_[row].name == currentText) {
            selectRow(static_cast<int>(row));
            break;
        }
    }
}

void TitleDataDialog::fillGroups() {
    const QListWidgetItem* current = groups_->currentItem();
    const QString previous = current != nullptr ? current->text() : QString();
    groupNames_ = book_.groups(kind_);
    groups_->clear();
    int selected = 0;
    for (std::size_t index = 0; index < groupNames_.size(); ++index) {
        groups_->addItem(q(groupNames_[index]));
        if (q(groupNames_[index]) == previous) {
            selected = static_cast<int>(index);
        }
    }
    groups_->setCurrentRow(selected);
}

void TitleDataDialog::fillEntries() {
    const QListWidgetItem* current = groups_->currentItem();
    const std::string group =
        current != nullptr ? current->text().toStdString() : std::string(kAllGroups);
    entries_ = book_.entries(kind_, group);
    const bool addressees = isAddresseeKind(kind_);
    grid_->clearContents();
    grid_->setRowCount(static_cast<int>(entries_.size()));
    for (int row = 0; row < static_cast<int>(entries_.size()); ++row) {
        const TitleEntry& entry = entries_[static_cast<std::size_t>(row)];
        std::vector<QString> cells{QString::number(entry.id), q(entry.name)};
        if (addressees) {
            cells.push_back(q(entry.prefix));
            cells.push_back(QString::number(entry.width));
            cells.push_back(QString::number(entry.counter));
        }
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            grid_->setItem(row, column,
                           new QTableWidgetItem(cells[static_cast<std::size_t>(column)]));
        }
    }
    grid_->clearSelection();
    grid_->setCurrentCell(-1, -1);
}

void TitleDataDialog::selectGroup(const std::string& group) {
    for (int row = 0; row < groups_->count(); ++row) {
        if (groups_->item(row)->text() == q(group)) {
            groups_->setCurrentRow(row);
            guarded(this, [this] { fillEntries(); });
            return;
        }
    }
}

void TitleDataDialog::selectRow(int row) {
    grid_->selectRow(row);
}

std::optional<std::int64_t> TitleDataDialog::selectedId() const {
    const QList<QTableWidgetSelectionRange> ranges = grid_->selectedRanges();
    if (ranges.isEmpty()) {
        return std::nullopt;
    }
    const int row = ranges.front().topRow();
    if (row < 0 || row >= static_cast<int>(entries_.size())) {
        return std::nullopt;
    }
    return entries_[static_cast<std::size_t>(row)].id;
}

void TitleDataDialog::chooseSelected() {
    const std::optional<std::int64_t> id = selectedId();
    if (!id) {
        return;
    }
    guarded(this, [this, id] {
        if (std::optional<TitleEntry> entry = book_.entry(kind_, *id)) {
            chosen_ = std::move(entry);
            accept();
            return;
        }
        // Removed meanwhile (another workstation): show the list as it now is.
        fillGroups();
        fillEntries();
    });
}

void TitleDataDialog::editSelected() {
    const std::optional<std::int64_t> id = selectedId();
    if (!id) {
        return;
    }
    guarded(this, [this, id] {
        if (const std::optional<TitleEntry> entry = book_.entry(kind_, *id)) {
            edit(*entry);
        }
    });
}

void TitleDataDialog::createEntry() {
    TitleEntry entry;
    const QListWidgetItem* current = groups_->currentItem();
    if (current != nullptr && current->text() != q(std::string(kAllGroups))) {
        entry.group = current->text().toStdString();
    }
    guarded(this, [this, &entry] { edit(entry); });
}

void TitleDataDialog::edit(const TitleEntry& entry) {
    TitleEntryBox box(this);
    std::vector<std::string> groups(groupNames_.begin() + (groupNames_.empty() ? 0 : 1),
                                    groupNames_.end());
    box.load(entry, editBoxHeading(kind_, numbering_, heading_),
             showsNumberingFields(kind_, numbering_), groups);
    if (!editRunner_(box)) {
        return;
    }
    if (book_.save(kind_, box.entered(), now())) {
        fillGroups();
        fillEntries();
    }
}

} // namespace kerbina
