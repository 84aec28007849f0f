#include "prices/ui/price_lookup_page.h"

#include "prices/price_editor.h"
#include "storage/database.h"
#include "widgets/qt_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kerbina {

namespace {

// Keeps the chosen text of a list chosen after it was filled again; the first entry otherwise.
void chooseText(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    list->setCurrentRow(found.isEmpty() ? 0 : list->row(found.front()));
}

} // namespace

PriceLookupPage::PriceLookupPage(PriceGroup group, std::function<Database&()> database,
                                 QWidget* parent)
    : QWidget(parent), group_(group), database_(std::move(database)) {
    setObjectName(group == PriceGroup::Tree ? QStringLiteral("treePricePage")
                                            : QStringLiteral("codePricePage"));
    buildWidgets();
}

void PriceLookupPage::buildWidgets() {
    const bool tree = group_ == PriceGroup::Tree;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    editorButton_ = new QPushButton(this);
    editorButton_->setObjectName(QStringLiteral("editorButton"));
    connect(editorButton_, &QPushButton::clicked, this, &PriceLookupPage::editorAsked);
    layout->addWidget(editorButton_);

    auto* searchRow = new QHBoxLayout();
    search_ = new QLineEdit(this);
    search_->setObjectName(tree ? QStringLiteral("treeSearchItem") : QStringLiteral("searchText"));
    search_->setPlaceholderText(tree ? QStringLiteral("名称") : QString());
    // The tree tab's two search boxes stand one above the other: the side panel is narrow.
    if (tree) {
        layout->addWidget(search_);
        specificationSearch_ = new QLineEdit(this);
        specificationSearch_->setObjectName(QStringLiteral("treeSearchSize"));
        specificationSearch_->setPlaceholderText(QStringLiteral("仕様"));
        searchRow->addWidget(specificationSearch_, 1);
        connect(specificationSearch_, &QLineEdit::returnPressed, this,
                &PriceLookupPage::searchAsked);
    } else {
        searchRow->addWidget(search_, 1);
    }
    auto* searchButton = new QPushButton(QStringLiteral("検索"), this);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    connect(searchButton, &QPushButton::clicked, this, &PriceLookupPage::searchAsked);
    connect(search_, &QLineEdit::returnPressed, this, &PriceLookupPage::searchAsked);
    searchRow->addWidget(searchButton);
    layout->addLayout(searchRow);

    if (tree) {
        categoryChoice_ = new QComboBox(this);
        categoryChoice_->setObjectName(QStringLiteral("ComboBoxTree"));
        connect(categoryChoice_, &QComboBox::activated, this, [this] {
            nameList_->clear();
            fillNames();
        });
        layout->addWidget(categoryChoice_);
        nameList_ = new QListWidget(this);
        nameList_->setObjectName(QStringLiteral("ListBoxTreeGr"));
        connect(nameList_, &QListWidget::itemClicked, this, [this] { fillRows(); });
        layout->addWidget(nameList_, 1);
    } else {
        categoryList_ = new QListWidget(this);
        categoryList_->setObjectName(QStringLiteral("ListBoxCodeGr"));
        connect(categoryList_, &QListWidget::itemClicked, this, [this] { fillRows(); });
        layout->addWidget(categoryList_, 1);
    }

    auto* gridRow = new QHBoxLayout();
    grid_ = new QTableWidget(0, 2, this);
    grid_->setObjectName(tree ? QStringLiteral("Treeitem") : QStringLiteral("Codeitem"));
    grid_->setColumnHidden(0, true);
    grid_->horizontalHeader()->setVisible(false);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->setVisible(false);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(grid_, &QTableWidget::cellDoubleClicked, this,
            [this] { chooseQuantity(kDoubleClickQuantity); });
    gridRow->addWidget(grid_, 1);
    auto* quantities = new QVBoxLayout();
    quantities->setSpacing(1);
    for (const int quantity : {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}) {
        auto* button = new QPushButton(QString::number(quantity), this);
        button->setObjectName(QStringLiteral("quantity%1").arg(quantity));
        button->setFixedWidth(28);
        connect(button, &QPushButton::clicked, this,
                [this, quantity] { chooseQuantity(quantity); });
        quantities->addWidget(button);
    }
    quantities->addStretch();
    gridRow->addLayout(quantities);
    layout->addLayout(gridRow, 3);

    if (!tree) {
        companionButtons_ = new QWidget(this);
        auto* companions = new QGridLayout(companionButtons_);
        companions->setContentsMargins(0, 0, 0, 0);
        const std::pair<const char*, int> buttons[] = {
            {"標準単価登録", -1}, {"管材単価登録", -1}, {"付属単価登録", 0}, {"VHS単価登録", 18}};
        int index = 0;
        for (const auto& [caption, tag] : buttons) {
            auto* button = new QPushButton(QString::fromUtf8(caption), companionButtons_);
            button->setObjectName(QStringLiteral("companion%1").arg(index));
            connect(button, &QPushButton::clicked, this, [this, tag] { emit companionAsked(tag); });
            companions->addWidget(button, index / 2, index % 2);
            ++index;
        }
        companionButtons_->setVisible(false);
        layout->addWidget(companionButtons_);
    }
}

void PriceLookupPage::setEditorCaption(const QString& caption) {
    editorButton_->setText(caption);
}

void PriceLookupPage::showCompanionButtons(bool shown) {
    if (companionButtons_ != nullptr) {
        companionButtons_->setVisible(shown);
    }
}

QString PriceLookupPage::chosenCategory() const {
    if (categoryChoice_ != nullptr) {
        return categoryChoice_->currentText();
    }
    const QListWidgetItem* item = categoryList_->currentItem();
    return item == nullptr ? QString() : item->text();
}

// An empty category list leaves the grid as it was; a category is always chosen once there is one.
void PriceLookupPage::fill() {
    const QString chosen = chosenCategory();
    const QStringList categories = [this] {
        QStringList texts;
        for (const std::string& category : priceCategories(database_(), group_)) {
            texts << q(category);
        }
        return texts;
    }();
    if (categoryChoice_ != nullptr) {
        categoryChoice_->clear();
        categoryChoice_->addItems(categories);
        categoryChoice_->setCurrentIndex(
            std::max<int>(0, static_cast<int>(categories.indexOf(chosen))));
        fillNames();
        return;
    }
    categoryList_->clear();
    categoryList_->addItems(categories);
    if (!categories.isEmpty()) {
        chooseText(categoryList_, chosen);
        fillRows();
    }
}

void PriceLookupPage::fillNames() {
    const QListWidgetItem* current = nameList_->currentItem();
    const QString chosen = current == nullptr ? QString() : current->text();
    nameList_->clear();
    if (categoryChoice_->count() == 0) {
        return;
    }
    for (const std::string& name : priceNames(database_(), group_, s(chosenCategory()))) {
        nameList_->addItem(q(name));
    }
    if (nameList_->count() > 0) {
        chooseText(nameList_, chosen);
        fillRows();
    }
}

void PriceLookupPage::fillRows() {
    std::vector<PriceListEntry> entries;
    if (nameList_ != nullptr) {
        const QListWidgetItem* name = nameList_->currentItem();
        if (name == nullptr) {
            return;
        }
        entries = pricesOfName(database_(), group_, s(chosenCategory()), s(name->text()));
    } else {
        if (categoryList_->count() == 0) {
            return;
        }
        entries = pricesInCategory(database_(), group_, s(chosenCategory()));
    }
    grid_->setRowCount(static_cast<int>(entries.size()));
    int row = 0;
    for (const PriceListEntry& entry : entries) {
        grid_->setItem(row, 0, new QTableWidgetItem(QString::number(entry.id)));
        grid_->setItem(
            row, 1,
            new QTableWidgetItem(
                q(nameList_ != nullptr ? entry.specification : entry.name + entry.specification)));
        ++row;
    }
}

std::optional<std::int64_t> PriceLookupPage::selectedId() const {
    const int row = grid_->currentRow();
    if (row < 0 || grid_->item(row, 0) == nullptr) {
        return std::nullopt;
    }
    return grid_->item(row, 0)->text().toLongLong();
}

QString PriceLookupPage::searchText() const {
    return search_->text();
}

QString PriceLookupPage::specificationSearchText() const {
    return specificationSearch_ == nullptr ? QString() : specificationSearch_->text();
}

void PriceLookupPage::chooseQuantity(int quantity) {
    if (const auto id = selectedId()) {
        emit priceChosen(*id, quantity);
    }
}

// The grid is filled again each time the tab comes to the front: an editor or another workstation
// may have changed the catalogue meanwhile.
void PriceLookupPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    try {
        fillRows();
    } catch (const DatabaseError& error) {
        database_().report(error);
    }
}

} // namespace kerbina
