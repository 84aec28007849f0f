#include "prices/ui/parts_page.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>

namespace kerbina {

namespace {

// What the part list puts on a drag, so that only parts dragged from it are taken.
const QString kDraggedRows = QStringLiteral("application/x-kerbina-parts");

} // namespace

// The part list drags its rows under a form of its own.
class PartList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    QStringList mimeTypes() const override { return {kDraggedRows}; }
};

// The folder tree takes parts dragged from the part list and names the folder they were dropped
// on. The drop is a copy as far as the drag goes: the parts subsystem moves the files and fills
// the list again, so the list must not remove the dragged rows itself afterwards.
class FolderTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

    std::function<void(const QString&)> dropped;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->mimeData()->hasFormat(kDraggedRows)) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        if (event->mimeData()->hasFormat(kDraggedRows) &&
            itemAt(event->position().toPoint()) != nullptr) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }
    void dropEvent(QDropEvent* event) override {
        QTreeWidgetItem* target = itemAt(event->position().toPoint());
        if (target == nullptr || !event->mimeData()->hasFormat(kDraggedRows)) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        if (dropped) {
            dropped(target->text(0));
        }
    }
};

PartsPage::PartsPage(QWidget* parent)
    : QWidget(parent), folders_(new FolderTree(this)), parts_(new PartList(this)),
      newFolder_(new QPushButton(QStringLiteral("新規フォルダー"), this)) {
    setObjectName(QStringLiteral("partsPage"));
    folders_->setObjectName(QStringLiteral("TreeView1"));
    folders_->setHeaderHidden(true);
    folders_->setRootIsDecorated(false);
    folders_->setAcceptDrops(true);
    folders_->setDragDropMode(QAbstractItemView::DropOnly);
    folders_->dropped = [this](const QString& target) {
        emit partsDropped(target);
    };

    parts_->setObjectName(QStringLiteral("ListView1"));
    parts_->setColumnCount(2);
    parts_->setHeaderLabels({QStringLiteral("パーツファイル"), QStringLiteral("フォルダー")});
    parts_->setRootIsDecorated(false);
    parts_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    parts_->setDragEnabled(true);
    parts_->setDragDropMode(QAbstractItemView::DragOnly);
    parts_->setContextMenuPolicy(Qt::ActionsContextMenu);
    parts_->header()->setStretchLastSection(true);

    newFolder_->setObjectName(QStringLiteral("Button8"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(folders_, 1);
    layout->addWidget(newFolder_);
    layout->addWidget(parts_, 2);

    connect(folders_, &QTreeWidget::currentItemChanged, this, [this] { emit folderChosen(); });
    connect(parts_, &QTreeWidget::itemDoubleClicked, this, [this] { emit partActivated(); });
    connect(newFolder_, &QPushButton::clicked, this, [this] { emit newFolderClicked(); });
}

void PartsPage::showFolders(const QStringList& folders, const QString& chosen) {
    const QString keep = chosen.isEmpty() ? folder() : chosen;
    const QSignalBlocker quiet(folders_);
    folders_->clear();
    for (const QString& name : folders) {
        auto* node = new QTreeWidgetItem(folders_, {name});
        if (name == keep) {
            folders_->setCurrentItem(node);
        }
    }
}

void PartsPage::showParts(const QStringList& parts) {
    parts_->clear();
    const QString shownFolder = folder();
    for (const QString& name : parts) {
        new QTreeWidgetItem(parts_, {name, shownFolder});
    }
}

QString PartsPage::folder() const {
    const QTreeWidgetItem* node = folders_->currentItem();
    return node != nullptr ? node->text(0) : QString();
}

// The part last clicked while it is selected, else the first selected one.
QString PartsPage::part() const {
    const QTreeWidgetItem* item = parts_->currentItem();
    if (item != nullptr && item->isSelected()) {
        return item->text(0);
    }
    const QStringList selected = selectedParts();
    return selected.isEmpty() ? QString() : selected.front();
}

QStringList PartsPage::selectedParts() const {
    QStringList names;
    for (int row = 0; row < parts_->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = parts_->topLevelItem(row);
        if (item->isSelected()) {
            names.push_back(item->text(0));
        }
    }
    return names;
}

} // namespace kerbina
