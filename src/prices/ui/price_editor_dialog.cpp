#include "prices/ui/price_editor_dialog.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "money/typed_number.h"
#include "prices/price_list.h"
#include "records/line_kinds.h"
#include "settings/environment_settings.h"
#include "storage/database.h"
#include "widgets/application_title.h"
#include "widgets/calendar.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"
#include "widgets/window_position.h"

#include <QComboBox>
#include <QDialogButtonBox>
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

constexpr std::array<const char*, 6> kNumberCaptions = {"仕切(原価)",   "定    価",     "提出単価",
                                                        "付帯単価仕切", "付帯単価提出", "歩    掛"};
enum NumberField { Net, List, Submitted, NetAdditional, SubmittedAdditional, Labor };

void setChoices(QComboBox* box, const std::vector<std::string>& texts) {
    const QString typed = box->currentText();
    box->clear();
    for (const std::string& text : texts) {
        box->addItem(q(text));
    }
    box->setCurrentText(typed);
}

QString chosenText(const QListWidget* list) {
    const QListWidgetItem* item = list == nullptr ? nullptr : list->currentItem();
    return item == nullptr ? QString() : item->text();
}

// Fills a list again, keeping its chosen text chosen when it is still there.
void refill(QListWidget* list, const std::vector<std::string>& texts) {
    const QString chosen = chosenText(list);
    list->clear();
    for (const std::string& text : texts) {
        list->addItem(q(text));
    }
    const auto found = list->findItems(chosen, Qt::MatchExactly);
    if (!chosen.isEmpty() && !found.isEmpty()) {
        list->setCurrentItem(found.front());
    }
}

QString actionCaption(PriceListAction action) {
    switch (action) {
    case PriceListAction::Add:
        return QStringLiteral("追加");
    case PriceListAction::Update:
        return QStringLiteral("更新");
    case PriceListAction::Unchanged:
        return QStringLiteral("変更なし");
    case PriceListAction::Refuse:
        return QStringLiteral("取込不可");
    }
    return {};
}

// The preview of a price list: every row with what loading it does; OK loads it.
bool previewAccepted(QWidget* parent, const PriceListPreview& preview) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("priceListPreview"));
    dialog.setWindowTitle(QStringLiteral("単価取込"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(
        new QLabel(QStringLiteral("追加 %1件、更新 %2件、変更なし %3件、取込不可 %4件")
                       .arg(preview.count(PriceListAction::Add))
                       .arg(preview.count(PriceListAction::Update))
                       .arg(preview.count(PriceListAction::Unchanged))
                       .arg(preview.count(PriceListAction::Refuse)),
                   &dialog));
    auto* table = new QTableWidget(static_cast<int>(preview.rows.size()), 6, &dialog);
    table->setHorizontalHeaderLabels({QStringLiteral("行"), QStringLiteral("処理"),
                                      QStringLiteral("カテゴリー"), QStringLiteral("名称"),
                                      QStringLiteral("仕様"), QStringLiteral("理由")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    int row = 0;
    for (const PriceListPreviewRow& previewRow : preview.rows) {
        const QString cells[] = {
            QString::number(previewRow.line),  actionCaption(previewRow.action),
            q(previewRow.price.category),      q(previewRow.price.name),
            q(previewRow.price.specification), q(previewRow.reason)};
        for (int column = 0; column < 6; ++column) {
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
        ++row;
    }
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(760, 480);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

PriceEditorDialog::PriceEditorDialog(const PriceEditorTable& table,
                                     const std::filesystem::path& dataRoot,
                                     std::function<Database&()> database,
                                     std::function<std::filesystem::path()> databaseFile,
                                     LineWriter writeLine, QWidget* parent)
    : QDialog(parent), table_(table), dataRoot_(dataRoot), database_(std::move(database)),
      databaseFile_(std::move(databaseFile)), writeLine_(std::move(writeLine)),
      histories_(readPriceEditorHistories(dataRoot, table)) {
    setObjectName(table.choosesName ? QStringLiteral("Tftreetanka_dlg")
                                    : QStringLiteral("Tfcodetanka_Dlg"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    buildWidgets();
    resize(980, 640);
    if (const auto stored = storedWindowPosition(dataRoot_, table_.windowKey)) {
        setGeometry(*stored);
    }
    const std::vector<int> widths = readPriceListColumnWidths(dataRoot_);
    for (std::size_t column = 0; column < widths.size() && column < 6; ++column) {
        if (widths[column] >= 0) {
            priceList_->setColumnWidth(static_cast<int>(column), widths[column]);
        }
    }
}

PriceEditorDialog::~PriceEditorDialog() = default;

void PriceEditorDialog::buildWidgets() {
    auto* layout = new QHBoxLayout(this);

    auto* lists = new QVBoxLayout();
    auto* searchRow = new QHBoxLayout();
    search_ = new QLineEdit(this);
    search_->setObjectName(table_.choosesName ? QStringLiteral("SearchItem")
                                              : QStringLiteral("searchText"));
    connect(search_, &QLineEdit::returnPressed, this, &PriceEditorDialog::refresh);
    searchRow->addWidget(search_);
    if (table_.choosesName) {
        specificationSearch_ = new QLineEdit(this);
        specificationSearch_->setObjectName(QStringLiteral("SearchSize"));
        connect(specificationSearch_, &QLineEdit::returnPressed, this, &PriceEditorDialog::refresh);
        searchRow->addWidget(specificationSearch_);
    }
    auto* searchButton = new QPushButton(QStringLiteral("検索"), this);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    connect(searchButton, &QPushButton::clicked, this, &PriceEditorDialog::refresh);
    searchRow->addWidget(searchButton);
    auto* clearButton = new QPushButton(QStringLiteral("解　除"), this);
    clearButton->setObjectName(QStringLiteral("clearButton"));
    connect(clearButton, &QPushButton::clicked, this, [this] {
        categoryList_->setCurrentRow(-1);
        if (nameList_ != nullptr) {
            nameList_->setCurrentRow(-1);
        }
        refresh();
    });
    searchRow->addWidget(clearButton);
    lists->addLayout(searchRow);

    auto* choices = new QHBoxLayout();
    categoryList_ = new QListWidget(this);
    categoryList_->setObjectName(QStringLiteral("categoryList"));
    connect(categoryList_, &QListWidget::itemClicked, this, [this] {
        if (nameList_ != nullptr) {
            nameList_->setCurrentRow(-1);
        }
        refresh();
    });
    choices->addWidget(categoryList_);
    if (table_.choosesName) {
        nameList_ = new QListWidget(this);
        nameList_->setObjectName(QStringLiteral("nameList"));
        connect(nameList_, &QListWidget::itemClicked, this, &PriceEditorDialog::refresh);
        choices->addWidget(nameList_);
    }
    lists->addLayout(choices, 1);

    priceList_ = new QTableWidget(0, 6, this);
    priceList_->setObjectName(QStringLiteral("priceList"));
    QStringList headings;
    for (const std::string_view heading : table_.headings) {
        headings << q(heading);
    }
    priceList_->setHorizontalHeaderLabels(headings);
    int column = 0;
    for (const int width : {44, 150, 130, 48, 84, 84}) {
        priceList_->setColumnWidth(column++, width);
    }
    priceList_->verticalHeader()->setVisible(false);
    priceList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    priceList_->setSelectionMode(QAbstractItemView::SingleSelection);
    priceList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(priceList_, &QTableWidget::currentCellChanged, this,
            [this](int row) { choosePrice(row); });
    connect(priceList_, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        choosePrice(row);
        if (currentId_ != 0) {
            chosen_ = priceRecord(database_(), table_.group, currentId_);
            if (chosen_) {
                accept();
            }
        }
    });
    lists->addWidget(priceList_, 2);
    layout->addLayout(lists, 3);

    auto* form = new QGridLayout();
    int formRow = 0;
    const auto addRow = [&](const char* caption, QWidget* field) {
        form->addWidget(new QLabel(QString::fromUtf8(caption), this), formRow, 0);
        form->addWidget(field, formRow, 1, 1, 3);
        ++formRow;
    };
    const auto historyBox = [this](const char* objectName) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromUtf8(objectName));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        return box;
    };
    name_ = historyBox("ITEMNAME");
    addRow("名称＆品名", name_);
    specification_ = historyBox("ITEMSIZE");
    addRow("仕様＆型番", specification_);
    unit_ = historyBox("CI");
    addRow("単　　 位", unit_);
    auto* unitButtons = new QGridLayout();
    for (std::size_t index = 0; index < unitButtons_.size(); ++index) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("unitButton%1").arg(index + 1));
        connect(button, &QPushButton::clicked, this,
                [this, button] { unit_->setCurrentText(button->text()); });
        unitButtons->addWidget(button, static_cast<int>(index / 5), static_cast<int>(index % 5));
        unitButtons_[index] = button;
    }
    form->addLayout(unitButtons, formRow++, 1, 1, 3);
    category_ = historyBox("CATEGORY");
    addRow("カテゴリー", category_);
    const auto* decimal = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[-－]?[0-9０-９,]*[.．]?[0-9０-９]{0,4}")), this);
    const char* const numberNames[] = {"NET_Price",        "Fixed_Price",           "Price1",
                                       "Net_Construction", "Present_Construction1", "Construction"};
    for (std::size_t index = 0; index < numbers_.size(); ++index) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromUtf8(numberNames[index]));
        edit->setValidator(decimal);
        edit->setAlignment(Qt::AlignRight);
        numbers_[index] = edit;
        addRow(kNumberCaptions[index], edit);
    }
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("FLAG"));
    for (const std::string_view caption : kFlagChoiceCaptions) {
        kind_->addItem(q(caption));
    }
    addRow("データ種別", kind_);
    amountText_ = historyBox("OPT3");
    addRow("金額欄摘要", amountText_);

    auto* editButtons = new QHBoxLayout();
    const auto addButton = [this](QBoxLayout* row, const char* caption, const char* objectName,
                                  void (PriceEditorDialog::*step)()) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromUtf8(objectName));
        connect(button, &QPushButton::clicked, this, step);
        row->addWidget(button);
        return button;
    };
    addButton(editButtons, "新規追加", "addButton", &PriceEditorDialog::addPrice);
    addButton(editButtons, "修正登録", "updateButton", &PriceEditorDialog::updatePrice);
    addButton(editButtons, "削除", "deleteButton", &PriceEditorDialog::deletePrice);
    if (!table_.choosesName) {
        addButton(editButtons, "単価取込", "importButton", &PriceEditorDialog::importPriceList);
    }
    form->addLayout(editButtons, formRow++, 0, 1, 4);

    form->addWidget(new QLabel(QStringLiteral("数量選択"), this), formRow, 0);
    auto* quantityButtons = new QGridLayout();
    for (int quantity = 1; quantity <= 10; ++quantity) {
        auto* button = new QPushButton(QString::number(quantity), this);
        button->setObjectName(QStringLiteral("quantity%1").arg(quantity));
        connect(button, &QPushButton::clicked, this,
                [this, quantity] { writeWithQuantity(quantity); });
        quantityButtons->addWidget(button, (quantity - 1) / 5, (quantity - 1) % 5);
    }
    form->addLayout(quantityButtons, formRow++, 1, 1, 3);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    form->addWidget(status_, formRow++, 0, 1, 4);
    auto* closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    form->addWidget(closeButton, formRow++, 3);
    form->setRowStretch(formRow, 1);
    layout->addLayout(form, 2);
}

void PriceEditorDialog::applySettings(const EnvironmentSettings& settings) {
    for (std::size_t index = 0; index < unitButtons_.size(); ++index) {
        unitButtons_[index]->setText(q(settings.unitList[index]));
    }
    settingTexts_ = settings.amountTexts;
}

std::optional<PriceRecord> PriceEditorDialog::run(const QString& search,
                                                  const QString& specificationSearch, int row) {
    chosen_.reset();
    row_ = std::max(row, 1);
    search_->setText(search);
    if (specificationSearch_ != nullptr) {
        specificationSearch_->setText(specificationSearch);
    }
    offerHistories();
    refresh();
    exec();
    return chosen_;
}

void PriceEditorDialog::offerHistories() {
    setChoices(name_, histories_.names);
    setChoices(specification_, histories_.specifications);
    setChoices(category_, histories_.categories);
    setChoices(unit_, readUnitList(dataRoot_));
    setChoices(amountText_, amountTextChoices(settingTexts_, readAmountTextHistory(dataRoot_)));
}

PriceEditorFilter PriceEditorDialog::filter() const {
    return PriceEditorFilter{
        .category = s(chosenText(categoryList_)),
        .name = s(chosenText(nameList_)),
        .search = s(search_->text()),
        .searchSpecification =
            specificationSearch_ == nullptr ? std::string() : s(specificationSearch_->text()),
    };
}

// A database error is shown ("ERROR") and the lists show what could be read.
void PriceEditorDialog::refresh() {
    try {
        fillLists();
    } catch (const DatabaseError& error) {
        database_().report(error);
    }
}

void PriceEditorDialog::fillLists() {
    const PriceEditorFilter chosen = filter();
    refill(categoryList_, editorCategories(database_(), table_, chosen));
    if (nameList_ != nullptr) {
        refill(nameList_, editorNames(database_(), table_, filter()));
    }
    const std::vector<PriceEditorRow> rows = editorPrices(database_(), table_, filter());
    const QSignalBlocker blocker(priceList_);
    priceList_->setRowCount(static_cast<int>(rows.size()));
    int row = 0;
    for (const PriceEditorRow& price : rows) {
        const QString cells[] = {QString::number(price.id),
                                 q(price.name),
                                 q(price.specification),
                                 q(price.unit),
                                 q(price.submittedPrice.toString()),
                                 q(price.netPrice.toString())};
        for (int column = 0; column < 6; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column >= 4) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            priceList_->setItem(row, column, item);
        }
        ++row;
    }
    status_->setText(QStringLiteral("%1件").arg(rows.size()));
}

void PriceEditorDialog::choosePrice(int listRow) {
    if (listRow < 0 || listRow >= priceList_->rowCount()) {
        return;
    }
    if (priceList_->currentRow() != listRow) {
        const QSignalBlocker blocker(priceList_);
        priceList_->selectRow(listRow);
    }
    currentId_ = priceList_->item(listRow, 0)->text().toLongLong();
    try {
        if (const auto price = priceRecord(database_(), table_.group, currentId_)) {
            showPrice(*price);
        }
    } catch (const DatabaseError& error) {
        database_().report(error);
    }
}

void PriceEditorDialog::showPrice(const PriceRecord& price) {
    name_->setCurrentText(q(price.name));
    specification_->setCurrentText(q(price.specification));
    unit_->setCurrentText(q(price.unit));
    category_->setCurrentText(q(price.category));
    const Currency values[] = {price.netPrice,
                               price.listPrice,
                               price.submittedPrice,
                               price.netAdditionalPrice,
                               price.submittedAdditionalPrice,
                               price.laborFactor};
    for (std::size_t index = 0; index < numbers_.size(); ++index) {
        numbers_[index]->setText(q(values[index].toString()));
    }
    kind_->setCurrentIndex(kindToFlagChoice(price.kind));
    amountText_->setCurrentText(q(price.amountText));
}

std::optional<PriceRecord> PriceEditorDialog::fieldsAsPrice() {
    std::array<Currency, 6> values{};
    for (std::size_t index = 0; index < numbers_.size(); ++index) {
        try {
            values[index] = parseTypedNumber(s(numbers_[index]->text()));
        } catch (const NumberFormatError&) {
            MessageBox::notify(this,
                               QStringLiteral("「%1」には数値を入力してください。")
                                   .arg(QString::fromUtf8(kNumberCaptions[index]).simplified()));
            numbers_[index]->setFocus();
            return std::nullopt;
        }
    }
    PriceRecord price;
    price.group = static_cast<int>(table_.group);
    price.name = s(name_->currentText());
    price.specification = s(specification_->currentText());
    price.unit = s(unit_->currentText());
    price.category = s(category_->currentText());
    price.netPrice = values[Net];
    price.listPrice = values[List];
    price.submittedPrice = values[Submitted];
    price.netAdditionalPrice = values[NetAdditional];
    price.submittedAdditionalPrice = values[SubmittedAdditional];
    price.laborFactor = values[Labor];
    price.kind = flagChoiceToKind(kind_->currentIndex()).code();
    price.amountText = s(amountText_->currentText());
    return price;
}

void PriceEditorDialog::addPrice() {
    const auto price = fieldsAsPrice();
    if (!price) {
        return;
    }
    if (addCataloguePrice(database_(), table_.group, *price, today())) {
        rememberTexts(*price);
    }
    refresh();
}

void PriceEditorDialog::updatePrice() {
    if (currentId_ == 0) {
        return;
    }
    const auto price = fieldsAsPrice();
    if (!price) {
        return;
    }
    if (updateCataloguePrice(database_(), table_.group, currentId_, *price, today())) {
        rememberTexts(*price);
    }
    refresh();
}

void PriceEditorDialog::deletePrice() {
    if (currentId_ == 0 || MessageBox::ask(this, QStringLiteral("削除していいですか"),
                                           MessageBox::Buttons::YesNo) != MessageBox::Answer::Yes) {
        return;
    }
    const int listRow = priceList_->currentRow();
    deleteCataloguePrice(database_(), table_.group, currentId_);
    currentId_ = 0;
    refresh();
    choosePrice(std::min(listRow, priceList_->rowCount() - 1));
}

void PriceEditorDialog::writeWithQuantity(int quantity) {
    if (currentId_ == 0) {
        return;
    }
    try {
        const auto price = priceRecord(database_(), table_.group, currentId_);
        if (price && writeLine_(*price, Currency::fromWhole(quantity), row_)) {
            ++row_;
        }
    } catch (const DatabaseError& error) {
        database_().report(error);
    }
}

// Histories are conveniences: a conf folder that cannot be written loses them only.
void PriceEditorDialog::rememberTexts(const PriceRecord& price) {
    rememberPriceTexts(histories_, price);
    try {
        rememberAmountTextInHistory(dataRoot_, price.amountText, settingTexts_);
    } catch (const FileError&) {
    }
    if (!table_.historiesOnClose) {
        saveHistories();
    }
    offerHistories();
}

void PriceEditorDialog::saveHistories() {
    try {
        writePriceEditorHistories(dataRoot_, table_, histories_);
    } catch (const FileError&) {
    }
}

// "単価取込": a supplier's price list (CSV or .xlsx) into the editor's group, the category field
// standing for rows without a category of their own; the preview first, then one transaction.
void PriceEditorDialog::importPriceList() {
    const QString file =
        MessageBox::openFileName(this, QStringLiteral("単価取込"), QString(),
                                 QStringLiteral("価格表 (*.csv *.CSV *.xlsx *.XLSX)"));
    if (file.isEmpty()) {
        return;
    }
    try {
        const std::vector<PriceListFileRow> rows = readPriceListFile(pathFromText(s(file)));
        const PriceListPreview preview =
            previewPriceList(database_(), table_.group, s(category_->currentText()), rows);
        if (!previewAccepted(this, preview)) {
            return;
        }
        applyPriceList(databaseFile_(), preview, today());
        MessageBox::notify(this, QStringLiteral("取り込みました。"));
    } catch (const DatabaseError& error) {
        MessageBox::error(this, q(databaseFaultMessage(error)));
    } catch (const UserError& error) {
        MessageBox::error(this, q(error.what()));
    }
    refresh();
}

void PriceEditorDialog::done(int result) {
    if (table_.historiesOnClose) {
        saveHistories();
    }
    try {
        std::vector<int> widths;
        for (int column = 0; column < priceList_->columnCount(); ++column) {
            widths.push_back(priceList_->columnWidth(column));
        }
        writePriceListColumnWidths(dataRoot_, widths);
        storeWindowPosition(dataRoot_, table_.windowKey, *this);
    } catch (const FileError&) {
    }
    QDialog::done(result);
}

} // namespace kerbina
