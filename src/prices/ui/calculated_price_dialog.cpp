#include "prices/ui/calculated_price_dialog.h"

#include "money/typed_number.h"
#include "records/line_kinds.h"
#include "widgets/calendar.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"
#include "widgets/typed_number_fields.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kerbina {

namespace {

// Ranges reach at most this row.
constexpr int kLastRow = 99999;

QLineEdit* numberField(const char* objectName, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromUtf8(objectName));
    field->setAlignment(Qt::AlignRight);
    field->setValidator(new TypedNumberValidator(
        QRegularExpression(QStringLiteral("\\d{0,12}(\\.\\d{0,4})?")), field));
    return field;
}

QSpinBox* rowField(const char* objectName, QWidget* parent) {
    auto* field = new TypedNumberSpinBox(parent);
    field->setObjectName(QString::fromUtf8(objectName));
    field->setRange(1, kLastRow);
    return field;
}

QComboBox* choiceList(const char* objectName, auto captions, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromUtf8(objectName));
    for (const std::string_view caption : captions) {
        list->addItem(q(caption));
    }
    return list;
}

QPushButton* button(const char* objectName, const char* caption, QWidget* parent) {
    auto* made = new QPushButton(QString::fromUtf8(caption), parent);
    made->setObjectName(QString::fromUtf8(objectName));
    made->setAutoDefault(false);
    return made;
}

std::optional<Currency> numberIn(const QLineEdit* field) {
    try {
        return parseTypedNumber(s(field->text()));
    } catch (const NumberFormatError&) {
        return std::nullopt;
    }
}

QString numberText(Currency value) {
    return value.isZero() ? QString() : q(value.toString());
}

} // namespace

CalculatedPriceDialog::CalculatedPriceDialog(Database& database, UserPrompt& prompt,
                                             QWidget* parent)
    : QDialog(parent), database_(database), prompt_(prompt) {
    setObjectName(QStringLiteral("Tfcalctanka_Dlg"));
    auto* layout = new QHBoxLayout(this);
    auto* fields = new QWidget(this);
    buildFields(fields);
    layout->addWidget(fields);
    auto* catalogue = new QWidget(this);
    buildCatalogue(catalogue);
    layout->addWidget(catalogue, 1);
    resize(900, 520);
}

void CalculatedPriceDialog::buildFields(QWidget* parent) {
    auto* column = new QVBoxLayout(parent);
    heading_ = new QLabel(parent);
    heading_->setObjectName(QStringLiteral("heading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    column->addWidget(heading_);

    auto* grid = new QGridLayout();
    int row = 0;
    const auto addRow = [&](QLabel* caption, QWidget* field) {
        grid->addWidget(caption, row, 0);
        grid->addWidget(field, row++, 1);
    };
    name_ = new QLineEdit(parent);
    name_->setObjectName(QStringLiteral("X_Appellation"));
    addRow(new QLabel(QStringLiteral("名 称＆品 名"), parent), name_);
    specification_ = new QLineEdit(parent);
    specification_->setObjectName(QStringLiteral("X_Specificaion"));
    addRow(new QLabel(QStringLiteral("仕 様＆型 番"), parent), specification_);
    unit_ = choiceList("X_Ci", kDefaultUnits, parent);
    unit_->setEditable(true);
    unit_->setCurrentIndex(-1);
    addRow(new QLabel(QStringLiteral("単　　 位"), parent), unit_);
    netCaption_ = new QLabel(parent);
    netValue_ = numberField("netValue", parent);
    addRow(netCaption_, netValue_);
    submittedCaption_ = new QLabel(parent);
    submittedValue_ = numberField("submittedValue", parent);
    addRow(submittedCaption_, submittedValue_);
    note_ = new QLineEdit(parent);
    note_->setObjectName(QStringLiteral("COMMENTin"));
    addRow(new QLabel(QStringLiteral("備　　 考"), parent), note_);
    priceKind_ = choiceList("x_opt2", kPriceKindCaptions, parent);
    addRow(new QLabel(QStringLiteral("単価種別"), parent), priceKind_);
    column->addLayout(grid);

    calculationFrame_ = new QWidget(parent);
    auto* calculation = new QVBoxLayout(calculationFrame_);
    calculation->setContentsMargins(0, 0, 0, 0);
    auto* groupBox = new QGroupBox(QStringLiteral("計算対象グループ"), calculationFrame_);
    auto* groupGrid = new QGridLayout(groupBox);
    for (int index = 0; index < 6; ++index) {
        auto* choice = new QRadioButton(groupBox);
        choice->setObjectName(QStringLiteral("group%1").arg(index + 1));
        groups_[static_cast<std::size_t>(index)] = choice;
        groupGrid->addWidget(choice, index / 3, index % 3);
    }
    groups_[0]->setChecked(true);
    allGroups_ = new QCheckBox(q(kAllGroupsCaption), groupBox);
    allGroups_->setObjectName(QStringLiteral("allGroups"));
    groupGrid->addWidget(allGroups_, 2, 0, 1, 3);
    connect(allGroups_, &QCheckBox::toggled, this, [this](bool all) {
        for (QRadioButton* choice : groups_) {
            choice->setEnabled(!all);
        }
    });
    calculation->addWidget(groupBox);
    auto* range = new QHBoxLayout();
    range->addWidget(new QLabel(QStringLiteral("範囲"), calculationFrame_));
    rangeFirst_ = rowField("rangeFirst", calculationFrame_);
    range->addWidget(rangeFirst_);
    range->addWidget(new QLabel(QStringLiteral("～"), calculationFrame_));
    rangeLast_ = rowField("rangeLast", calculationFrame_);
    range->addWidget(rangeLast_);
    roundingLevel_ = choiceList("Br1", kRoundingLevelCaptions, calculationFrame_);
    range->addWidget(roundingLevel_);
    calculation->addLayout(range);
    column->addWidget(calculationFrame_);

    plainFrame_ = new QWidget(parent);
    auto* plain = new QGridLayout(plainFrame_);
    plain->setContentsMargins(0, 0, 0, 0);
    lineKind_ = choiceList("edata", kFlagChoiceCaptions, plainFrame_);
    plain->addWidget(lineKind_, 0, 0, 1, 2);
    plain->addWidget(new QLabel(QStringLiteral("原数量"), plainFrame_), 1, 0);
    netQuantity_ = numberField("netQuantity", plainFrame_);
    plain->addWidget(netQuantity_, 1, 1);
    plain->addWidget(new QLabel(QStringLiteral("提出数量"), plainFrame_), 2, 0);
    submittedQuantity_ = numberField("submittedQuantity", plainFrame_);
    plain->addWidget(submittedQuantity_, 2, 1);
    column->addWidget(plainFrame_);
    column->addStretch();

    auto* buttons = new QGridLayout();
    auto* transferButton = button("transferButton", "積算転記", parent);
    connect(transferButton, &QPushButton::clicked, this, &CalculatedPriceDialog::transfer);
    buttons->addWidget(transferButton, 0, 0);
    auto* cancelButton = button("cancelButton", "キャンセル", parent);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancelButton, 0, 1);
    auto* addButton = button("addButton", "新規追加", parent);
    connect(addButton, &QPushButton::clicked, this, &CalculatedPriceDialog::addPrice);
    buttons->addWidget(addButton, 1, 0);
    auto* updateButton = button("updateButton", "修正登録", parent);
    connect(updateButton, &QPushButton::clicked, this, &CalculatedPriceDialog::updatePrice);
    buttons->addWidget(updateButton, 1, 1);
    auto* deleteButton = button("deleteButton", "削除", parent);
    connect(deleteButton, &QPushButton::clicked, this, &CalculatedPriceDialog::deletePrice);
    buttons->addWidget(deleteButton, 1, 2);
    column->addLayout(buttons);
}

void CalculatedPriceDialog::buildCatalogue(QWidget* parent) {
    auto* column = new QVBoxLayout(parent);
    auto* top = new QHBoxLayout();
    categories_ = new QListWidget(parent);
    categories_->setObjectName(QStringLiteral("categoryList"));
    categories_->setMaximumHeight(120);
    categories_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* rename = new QAction(QStringLiteral("カテゴリー名を変更する"), categories_);
    rename->setObjectName(QStringLiteral("renameCategory"));
    connect(rename, &QAction::triggered, this, &CalculatedPriceDialog::renameCategory);
    categories_->addAction(rename);
    connect(categories_, &QListWidget::itemSelectionChanged, this,
            &CalculatedPriceDialog::refreshPrices);
    top->addWidget(categories_, 1);
    auto* searchColumn = new QVBoxLayout();
    search_ = new QLineEdit(parent);
    search_->setObjectName(QStringLiteral("searchText"));
    search_->setPlaceholderText(QStringLiteral("名称・仕様で検索"));
    connect(search_, &QLineEdit::returnPressed, this, &CalculatedPriceDialog::refreshPrices);
    searchColumn->addWidget(search_);
    auto* searchButton = button("searchButton", "検索", parent);
    connect(searchButton, &QPushButton::clicked, this, &CalculatedPriceDialog::refreshPrices);
    searchColumn->addWidget(searchButton);
    auto* clearButton = button("clearButton", "解　除", parent);
    connect(clearButton, &QPushButton::clicked, this, [this] {
        categories_->clearSelection();
        refreshPrices();
    });
    searchColumn->addWidget(clearButton);
    searchColumn->addStretch();
    top->addLayout(searchColumn);
    column->addLayout(top);

    prices_ = new QTableWidget(0, 5, parent);
    prices_->setObjectName(QStringLiteral("priceList"));
    prices_->setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("名       称"),
                                        QStringLiteral("仕　　   様"), QStringLiteral("単位"),
                                        QStringLiteral("仕切")});
    prices_->setSelectionBehavior(QAbstractItemView::SelectRows);
    prices_->setSelectionMode(QAbstractItemView::SingleSelection);
    prices_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    prices_->verticalHeader()->hide();
    prices_->horizontalHeader()->setStretchLastSection(true);
    connect(prices_, &QTableWidget::itemSelectionChanged, this,
            &CalculatedPriceDialog::showSelectedPrice);
    column->addWidget(prices_, 1);
}

std::optional<LineMessage>
CalculatedPriceDialog::ask(const CalculatedEntry& entry, bool editedLine,
                           const std::array<std::string, 6>& groupNames) {
    type_ = entry.type;
    for (std::size_t index = 0; index < groupNames.size(); ++index) {
        groups_[index]->setText(q(groupNames[index]));
    }
    if (editedLine) {
        showEntry(entry);
    } else {
        rangeFirst_->setValue(entry.range.first);
        rangeLast_->setValue(entry.range.last);
        allGroups_->setChecked(false);
    }
    showType();
    refreshCategories();
    refreshPrices();
    message_.reset();
    name_->setFocus();
    exec();
    return message_;
}

void CalculatedPriceDialog::showType() {
    const CalculationTypeTexts& texts = calculationTypeTexts(type_);
    setWindowTitle(q(texts.heading));
    heading_->setText(q(texts.heading));
    netCaption_->setText(q(texts.netCaption));
    submittedCaption_->setText(q(texts.submittedCaption));
    const bool plain = type_ == CalculationType::PlainLine;
    calculationFrame_->setVisible(!plain);
    plainFrame_->setVisible(plain);
}

void CalculatedPriceDialog::showEntry(const CalculatedEntry& entry) {
    name_->setText(q(entry.name));
    specification_->setText(q(entry.specification));
    unit_->setEditText(q(entry.unit));
    netValue_->setText(numberText(entry.netValue));
    submittedValue_->setText(numberText(entry.submittedValue));
    note_->setText(q(entry.note));
    priceKind_->setCurrentIndex(entry.priceKindChoice);
    allGroups_->setChecked(entry.group == 0);
    if (entry.group >= 1 && entry.group <= 6) {
        groups_[static_cast<std::size_t>(entry.group - 1)]->setChecked(true);
    }
    rangeFirst_->setValue(entry.range.first);
    rangeLast_->setValue(entry.range.last);
    roundingLevel_->setCurrentIndex(entry.roundingLevel);
}

std::optional<CalculatedEntry> CalculatedPriceDialog::entryShown() const {
    CalculatedEntry entry;
    entry.type = type_;
    const bool plain = type_ == CalculationType::PlainLine;
    std::array<std::pair<QLineEdit*, Currency*>, 4> numbers{
        std::pair{netValue_, &entry.netValue}, std::pair{submittedValue_, &entry.submittedValue},
        std::pair{netQuantity_, &entry.netQuantity},
        std::pair{submittedQuantity_, &entry.submittedQuantity}};
    for (const auto& [field, value] : numbers) {
        if (!plain && (field == netQuantity_ || field == submittedQuantity_)) {
            continue;
        }
        const auto number = numberIn(field);
        if (!number) {
            prompt_.notify("数値を正しく入力してください。");
            return std::nullopt;
        }
        *value = *number;
    }
    entry.name = s(name_->text());
    entry.specification = s(specification_->text());
    entry.unit = s(unit_->currentText());
    entry.note = s(note_->text());
    entry.priceKindChoice = priceKind_->currentIndex();
    entry.group = 0;
    if (!allGroups_->isChecked()) {
        for (std::size_t index = 0; index < groups_.size(); ++index) {
            if (groups_[index]->isChecked()) {
                entry.group = static_cast<int>(index) + 1;
            }
        }
    }
    entry.range = {rangeFirst_->value(), rangeLast_->value()};
    entry.roundingLevel = roundingLevel_->currentIndex();
    entry.kindChoice = lineKind_->currentIndex();
    return entry;
}

CalculatedPrice CalculatedPriceDialog::priceShown(const CalculatedEntry& entry) const {
    CalculatedPrice price;
    price.id = selectedPriceId().value_or(0);
    price.name = entry.name;
    price.specification = entry.specification;
    price.unit = entry.unit;
    price.netRate = entry.netValue;
    price.submittedRate = entry.submittedValue;
    price.priceKind = entry.priceKindChoice;
    price.note = entry.note;
    return price;
}

void CalculatedPriceDialog::transfer() {
    const auto entry = entryShown();
    if (!entry) {
        return;
    }
    const CalculatedOutcome outcome = calculatedLineMessage(*entry);
    if (!outcome.message) {
        prompt_.notify(outcome.refusal);
        return;
    }
    message_ = outcome.message;
    accept();
}

void CalculatedPriceDialog::addPrice() {
    const auto entry = entryShown();
    if (!entry) {
        return;
    }
    std::optional<std::int64_t> added;
    try {
        added =
            addCalculatedPrice(database_, prompt_, priceShown(*entry), proposedCategory(), today());
    } catch (const DatabaseError& error) {
        database_.report(error);
    }
    refreshCategories();
    refreshPrices();
    if (added) {
        selectPrice(*added);
    }
}

void CalculatedPriceDialog::updatePrice() {
    const auto entry = entryShown();
    const auto id = selectedPriceId();
    if (!entry || !id) {
        return;
    }
    updateCalculatedPrice(database_, prompt_, priceShown(*entry), proposedCategory());
    refreshCategories();
    refreshPrices();
    selectPrice(*id);
}

void CalculatedPriceDialog::deletePrice() {
    const auto id = selectedPriceId();
    if (!id) {
        return;
    }
    const int row = prices_->currentRow();
    deleteCalculatedPrice(database_, prompt_, *id);
    refreshPrices();
    if (prices_->rowCount() > 0) {
        prices_->selectRow(std::min(row, prices_->rowCount() - 1));
    }
}

void CalculatedPriceDialog::renameCategory() {
    const std::string category = selectedCategory();
    if (category.empty()) {
        return;
    }
    const auto renamed = renameCalculatedCategory(database_, prompt_, category);
    refreshCategories();
    if (renamed) {
        const auto found = categories_->findItems(q(*renamed), Qt::MatchExactly);
        if (!found.isEmpty()) {
            categories_->setCurrentItem(found.front());
        }
    }
    refreshPrices();
}

// The list is refilled keeping the selected category when it is still there.
void CalculatedPriceDialog::refreshCategories() {
    const QString previous = q(selectedCategory());
    const QSignalBlocker quiet(categories_);
    categories_->clear();
    try {
        for (const std::string& category : calculatedPriceCategories(database_)) {
            categories_->addItem(q(category));
        }
    } catch (const DatabaseError& error) {
        database_.report(error);
    }
    if (const auto found = categories_->findItems(previous, Qt::MatchExactly); !found.isEmpty()) {
        categories_->setCurrentItem(found.front());
    }
}

void CalculatedPriceDialog::refreshPrices() {
    const QSignalBlocker quiet(prices_);
    prices_->setRowCount(0);
    std::vector<CalculatedPrice> found;
    try {
        found = calculatedPrices(database_, selectedCategory(), s(search_->text()));
    } catch (const DatabaseError& error) {
        database_.report(error);
    }
    prices_->setRowCount(static_cast<int>(found.size()));
    for (int row = 0; row < prices_->rowCount(); ++row) {
        const CalculatedPrice& price = found[static_cast<std::size_t>(row)];
        const QString texts[] = {QString::number(price.id), q(price.name), q(price.specification),
                                 q(price.unit), q(price.netRate.toString())};
        for (int column = 0; column < 5; ++column) {
            prices_->setItem(row, column, new QTableWidgetItem(texts[column]));
        }
        prices_->item(row, 4)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

void CalculatedPriceDialog::showSelectedPrice() {
    const auto id = selectedPriceId();
    if (!id) {
        return;
    }
    std::optional<CalculatedPrice> price;
    try {
        price = calculatedPrice(database_, *id);
    } catch (const DatabaseError& error) {
        database_.report(error);
    }
    if (!price) {
        return;
    }
    name_->setText(q(price->name));
    specification_->setText(q(price->specification));
    unit_->setEditText(q(price->unit));
    netValue_->setText(numberText(price->netRate));
    submittedValue_->setText(numberText(price->submittedRate));
    priceKind_->setCurrentIndex(price->priceKind);
    note_->setText(q(price->note));
}

std::string CalculatedPriceDialog::selectedCategory() const {
    const auto selected = categories_->selectedItems();
    return selected.isEmpty() ? std::string() : s(selected.front()->text());
}

std::string CalculatedPriceDialog::proposedCategory() const {
    const std::string selected = selectedCategory();
    if (!selected.empty() || categories_->count() == 0) {
        return selected;
    }
    return s(categories_->item(0)->text());
}

std::optional<std::int64_t> CalculatedPriceDialog::selectedPriceId() const {
    const auto selected = prices_->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return prices_->item(selected.front()->row(), 0)->text().toLongLong();
}

void CalculatedPriceDialog::selectPrice(std::int64_t id) {
    for (int row = 0; row < prices_->rowCount(); ++row) {
        if (prices_->item(row, 0)->text().toLongLong() == id) {
            prices_->selectRow(row);
            return;
        }
    }
}

} // namespace kerbina
