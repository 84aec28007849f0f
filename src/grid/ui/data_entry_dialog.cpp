#include "grid/ui/data_entry_dialog.h"

#include "base/conf_file.h"
#include "base/file_io.h"
#include "grid/dialog_lists.h"
#include "money/rounding.h"
#include "money/typed_number.h"
#include "records/line_kinds.h"
#include "settings/environment_settings.h"
#include "widgets/application_title.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"
#include "widgets/window_position.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

namespace kerbina {

namespace {

constexpr const char* kPositionName = "FDataedit_Dlg";

// An empty field is 0; anything else must be a decimal number (full-width digits as well).
std::optional<Currency> numberIn(const QLineEdit* edit) {
    try {
        return parseTypedNumber(edit->text().toStdString());
    } catch (const NumberFormatError&) {
        return std::nullopt;
    }
}

QString numberText(Currency value) {
    return value.isZero() ? QString() : q(value.toString());
}

} // namespace

DataEntryDialog::DataEntryDialog(const std::filesystem::path& dataRoot, QWidget* parent)
    : QDialog(parent), dataRoot_(dataRoot) {
    setObjectName(QStringLiteral("TFDataedit_Dlg"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    units_ = readUnitList(dataRoot_);
    if (units_.empty()) {
        units_.assign(kDefaultUnits.begin(), kDefaultUnits.end());
    }
    amountTexts_ = readAmountTextHistory(dataRoot_);
    buildWidgets();
    if (const auto stored = storedWindowPosition(dataRoot_, kPositionName)) {
        setGeometry(*stored);
    }
}

// The unit and amount-text lists are kept for the next run; the four amount texts of the
// settings are not part of the user's list.
DataEntryDialog::~DataEntryDialog() {
    saveLists();
}

void DataEntryDialog::saveLists() const {
    try {
        if (!units_.empty()) {
            writeTextLines(dataRoot_ / "conf" / "cilist.lst", units_);
        }
        storeWindowPosition(dataRoot_, kPositionName, *this);
    } catch (const std::exception&) {
        // Lists and positions are conveniences; a folder that cannot be written loses them only.
    }
}

void DataEntryDialog::buildWidgets() {
    auto* layout = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("heading"));
    layout->addWidget(heading_);

    auto* grid = new QGridLayout();
    const auto* decimal = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[-－]?[0-9０-９]*[.．]?[0-9０-９]{0,4}")), this);
    const auto addEdit = [&](int tag, const char* objectName) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromUtf8(objectName));
        edit->installEventFilter(this);
        fields_[static_cast<std::size_t>(tag)] = edit;
        auto* stop = new QCheckBox(this);
        stop->setObjectName(QStringLiteral("SB%1").arg(tag));
        stop->setToolTip(QStringLiteral(
            "チェックボックスにチェックを入れると、連続入力時にカ－ソルがその場所へ移動します"));
        stops_[static_cast<std::size_t>(tag)] = stop;
        return edit;
    };
    const auto row = [&](int gridRow, const char* caption, int tag, QWidget* editor) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), this), gridRow, 0);
        grid->addWidget(editor, gridRow, 1, 1, 3);
        grid->addWidget(stops_[static_cast<std::size_t>(tag)], gridRow, 4);
    };
    row(0, "名 称＆品 名", Name, addEdit(Name, "X_Appellation"));
    row(1, "仕 様＆型 番", Specification, addEdit(Specification, "X_Specificaion"));
    unitList_ = new QComboBox(this);
    unitList_->setObjectName(QStringLiteral("X_Ci"));
    unitList_->setEditable(true);
    fields_[Unit] = unitList_->lineEdit();
    // An editable list takes its keys before its line edit sees them: Enter is watched on both.
    unitList_->installEventFilter(this);
    fields_[Unit]->installEventFilter(this);
    stops_[Unit] = new QCheckBox(this);
    stops_[Unit]->setObjectName(QStringLiteral("SB3"));
    row(2, "単　　 位", Unit, unitList_);

    grid->addWidget(new QLabel(QStringLiteral("原   価"), this), 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("提   出"), this), 3, 2);
    quantityCaption_ = new QLabel(this);
    priceCaption_ = new QLabel(this);
    auto* additionalCaption = new QLabel(QStringLiteral("付帯単価"), this);
    auto* amountCaption = new QLabel(QStringLiteral("金　　額"), this);
    const struct {
        QLabel* caption;
        int net;
        const char* netName;
        int submitted;
        const char* submittedName;
    } pairs[] = {
        {quantityCaption_, NetQuantity, "X_Net_Quantity", SubmittedQuantity, "X_Present_Quantity"},
        {priceCaption_, NetPrice, "X_Net_Price", SubmittedPrice, "X_Present_Price"},
        {additionalCaption, NetAdditional, "X_Net_Additional", SubmittedAdditional,
         "X_Present_Additional"},
    };
    int gridRow = 4;
    for (const auto& pair : pairs) {
        QLineEdit* net = addEdit(pair.net, pair.netName);
        QLineEdit* submitted = addEdit(pair.submitted, pair.submittedName);
        for (QLineEdit* edit : {net, submitted}) {
            edit->setValidator(decimal);
            edit->setAlignment(Qt::AlignRight);
            connect(edit, &QLineEdit::textChanged, this, &DataEntryDialog::showAmounts);
        }
        grid->addWidget(pair.caption, gridRow, 0);
        grid->addWidget(net, gridRow, 1);
        grid->addWidget(submitted, gridRow, 2);
        auto* stops = new QHBoxLayout();
        stops->addWidget(stops_[static_cast<std::size_t>(pair.net)]);
        stops->addWidget(stops_[static_cast<std::size_t>(pair.submitted)]);
        grid->addLayout(stops, gridRow, 4);
        ++gridRow;
    }
    netAmount_ = new QLabel(this);
    netAmount_->setObjectName(QStringLiteral("netPrice"));
    submittedAmount_ = new QLabel(this);
    submittedAmount_->setObjectName(QStringLiteral("grossPrice"));
    for (QLabel* amount : {netAmount_, submittedAmount_}) {
        amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    grid->addWidget(amountCaption, gridRow, 0);
    grid->addWidget(netAmount_, gridRow, 1);
    grid->addWidget(submittedAmount_, gridRow, 2);
    ++gridRow;
    QLineEdit* labor = addEdit(LaborFactor, "X_Construction");
    labor->setValidator(decimal);
    labor->setAlignment(Qt::AlignRight);
    row(gridRow++, "歩  掛", LaborFactor, labor);
    row(gridRow++, "備　　 考", Note, addEdit(Note, "X_Note"));

    flag_ = new QComboBox(this);
    flag_->setObjectName(QStringLiteral("edata"));
    for (const std::string_view caption : kFlagChoiceCaptions) {
        flag_->addItem(q(caption));
    }
    grid->addWidget(new QLabel(QStringLiteral("FLAG"), this), gridRow, 0);
    grid->addWidget(flag_, gridRow++, 1, 1, 3);
    priceKind_ = new QComboBox(this);
    priceKind_->setObjectName(QStringLiteral("x_opt2"));
    priceKind_->addItems({QStringLiteral("通常"), QStringLiteral("労務費")});
    grid->addWidget(new QLabel(QStringLiteral("単価種別"), this), gridRow, 0);
    grid->addWidget(priceKind_, gridRow++, 1, 1, 3);
    amountText_ = new QComboBox(this);
    amountText_->setObjectName(QStringLiteral("x_opt3"));
    amountText_->setEditable(true);
    amountText_->installEventFilter(this);
    amountText_->lineEdit()->installEventFilter(this);
    grid->addWidget(new QLabel(QStringLiteral("金額欄摘要文字列"), this), gridRow, 0);
    grid->addWidget(amountText_, gridRow++, 1, 1, 3);
    layout->addLayout(grid);

    auto* unitRow = new QHBoxLayout();
    for (std::size_t i = 0; i < unitButtons_.size(); ++i) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("ci%1").arg(i + 1));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this,
                [this, button] { unitList_->setEditText(button->text()); });
        unitButtons_[i] = button;
        unitRow->addWidget(button);
    }
    layout->addLayout(unitRow);

    groupFrame_ = new QGroupBox(QStringLiteral("データグループを指定して転記"), this);
    auto* groups = new QHBoxLayout(groupFrame_);
    for (std::size_t i = 0; i < groupButtons_.size(); ++i) {
        auto* button = new QPushButton(groupFrame_);
        button->setObjectName(QStringLiteral("kb%1").arg(i + 1));
        connect(button, &QPushButton::clicked, this,
                [this, i] { writeLine(static_cast<int>(i) + 1); });
        groupButtons_[i] = button;
        groups->addWidget(button);
    }
    layout->addWidget(groupFrame_);

    auto* buttons = new QHBoxLayout();
    continuous_ = new QCheckBox(QStringLiteral("連続入力"), this);
    continuous_->setChecked(true);
    buttons->addWidget(continuous_);
    buttons->addStretch();
    const auto button = [&](const char* caption, const char* objectName) {
        auto* pushButton = new QPushButton(QString::fromUtf8(caption), this);
        pushButton->setObjectName(QString::fromUtf8(objectName));
        pushButton->setAutoDefault(false);
        buttons->addWidget(pushButton);
        return pushButton;
    };
    connect(button("←", "previousRow"), &QPushButton::clicked, this, [this] {
        if (row_ > 1) {
            loadRow(row_ - 1);
            host_->showRow(row_);
        }
    });
    connect(button("→", "nextRow"), &QPushButton::clicked, this, [this] {
        loadRow(row_ + 1);
        host_->showRow(row_);
    });
    connect(button("前のDATAを取得", "previousData"), &QPushButton::clicked, this, [this] {
        if (row_ > 1) {
            if (const auto above = host_->lineAt(row_ - 1)) {
                fill(entryFromLine(*above));
            }
        }
    });
    connect(button("積算転記", "writeButton"), &QPushButton::clicked, this,
            [this] { writeLine(1); });
    connect(button("キャンセル", "cancelButton"), &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons);
    status_ = new QStatusBar(this);
    layout->addWidget(status_);
}

void DataEntryDialog::applySettings(const EnvironmentSettings& settings) {
    for (std::size_t i = 0; i < unitButtons_.size(); ++i) {
        unitButtons_[i]->setText(q(settings.unitTexts()[i]));
    }
    for (std::size_t i = 0; i < groupButtons_.size(); ++i) {
        groupNames_[i] = q(settings.groupNames()[i]);
        groupButtons_[i]->setText(groupNames_[i]);
    }
    settingTexts_ = settings.amountTexts;
}

void DataEntryDialog::editFrom(LineEditorHost& host, int row) {
    host_ = &host;
    unitList_->clear();
    for (const std::string& unit : units_) {
        unitList_->addItem(q(unit));
    }
    loadRow(std::max(row, 1));
    enterPressed(0);
    exec();
    host_ = nullptr;
}

QLineEdit* DataEntryDialog::field(Tag tag) const {
    return fields_[static_cast<std::size_t>(tag)];
}

QCheckBox* DataEntryDialog::stopHere(Tag tag) const {
    return stops_[static_cast<std::size_t>(tag)];
}

QWidget* DataEntryDialog::tagged(int tag) const {
    return fields_[static_cast<std::size_t>(tag)];
}

void DataEntryDialog::clearFields() {
    for (int tag = Name; tag <= Note; ++tag) {
        fields_[static_cast<std::size_t>(tag)]->clear();
    }
    flag_->setCurrentIndex(0);
    priceKind_->setCurrentIndex(0);
    amountText_->setEditText(QString());
}

void DataEntryDialog::enableAll() {
    quantityCaption_->setText(QStringLiteral("数　　 量"));
    priceCaption_->setText(QStringLiteral("単　　 価"));
    for (int tag = NetPrice; tag <= LaborFactor; ++tag) {
        fields_[static_cast<std::size_t>(tag)]->setEnabled(true);
    }
    for (QWidget* widget : std::initializer_list<QWidget*>{flag_, amountText_, groupFrame_}) {
        widget->setEnabled(true);
    }
    heading_->clear();
}

void DataEntryDialog::adaptToKind(LineKind kind, Currency sortCode) {
    const auto disable = [this](std::initializer_list<int> tags) {
        for (int tag : tags) {
            fields_[static_cast<std::size_t>(tag)]->setEnabled(false);
        }
    };
    const bool rateRange = isRangeAmountTimesRate(kind) || isRangeAdditionalTimesRate(kind);
    if (isCalculatedRangeKind(kind)) {
        quantityCaption_->setText(QStringLiteral("範　囲"));
        priceCaption_->setText(rateRange ? QStringLiteral("掛  率(%)")
                                         : QStringLiteral("単　価(¥)"));
        disable({NetAdditional, SubmittedAdditional, LaborFactor});
        flag_->setEnabled(false);
        amountText_->setEnabled(false);
    } else if (kind == LineKind::Tax) {
        quantityCaption_->setText(QStringLiteral("消費税率"));
        priceCaption_->clear();
        disable({NetPrice, SubmittedPrice, NetAdditional, SubmittedAdditional, LaborFactor});
        flag_->setEnabled(false);
        amountText_->setEnabled(false);
        groupFrame_->setEnabled(false);
    }
    const char* heading = nullptr;
    if (isRangeAmountTimesRate(kind)) {
        heading = "単価掛率";
    } else if (isRangeLaborTimesPrice(kind)) {
        heading = "歩掛掛率";
    } else if (isRangeAdditionalTimesRate(kind)) {
        heading = "付帯掛率";
    } else if (isExpense(kind)) {
        heading = "経費関係";
    } else if (kind == LineKind::Tax) {
        heading = "消費税";
    } else if (kind == LineKind::SumLine) {
        heading = "合計線";
    }
    heading_->setText(heading != nullptr ? QString::fromUtf8(heading) : QString());
    if (sortCode <= Currency::fromWhole(27000)) {
        groupFrame_->setTitle(QStringLiteral("データグループ指定[") +
                              groupNames_[static_cast<std::size_t>(dataGroupOf(sortCode) - 1)] +
                              QStringLiteral("]"));
    }
}

void DataEntryDialog::fill(const LineEntry& entry) {
    fields_[Name]->setText(q(entry.name));
    fields_[Specification]->setText(q(entry.specification));
    unitList_->setEditText(q(entry.unit));
    fields_[NetQuantity]->setText(numberText(entry.netQuantity));
    fields_[NetPrice]->setText(numberText(entry.netPrice));
    fields_[NetAdditional]->setText(numberText(entry.netAdditionalPrice));
    fields_[SubmittedQuantity]->setText(numberText(entry.submittedQuantity));
    fields_[SubmittedPrice]->setText(numberText(entry.submittedPrice));
    fields_[SubmittedAdditional]->setText(numberText(entry.submittedAdditionalPrice));
    fields_[LaborFactor]->setText(numberText(entry.laborFactor));
    fields_[Note]->setText(q(entry.note));
    flag_->setCurrentIndex(std::clamp(entry.flagChoice, 0, flag_->count() - 1));
    priceKind_->setCurrentIndex(entry.priceKindChoice == 0 ? 0 : 1);
    amountText_->setEditText(q(entry.amountText));
}

void DataEntryDialog::loadRow(int row) {
    row_ = std::max(row, 1);
    enableAll();
    clearFields();
    // The amount-text list: the four texts of the settings first, then the user's own.
    amountText_->clear();
    for (const std::string& text : settingTexts_) {
        amountText_->addItem(q(text));
    }
    for (const std::string& text : amountTexts_) {
        amountText_->addItem(q(text));
    }
    amountText_->setEditText(QString());
    loaded_.reset();
    if (priceRecord_) {
        fill(*priceRecord_);
        priceRecord_.reset();
    } else if (host_ != nullptr) {
        if (const auto line = host_->lineAt(row_)) {
            loaded_ = entryFromLine(*line);
            fill(*loaded_);
            adaptToKind(line->kind, line->sortCode);
        }
    }
    if (host_ != nullptr) {
        status_->showMessage(QStringLiteral("内訳 %1　行 %2").arg(host_->sheetNumber()).arg(row_));
    }
    showAmounts();
    fields_[Name]->setFocus();
}

void DataEntryDialog::takePriceRecord(const QString& record) {
    priceRecord_ = entryFromPriceRecord(record.toStdString());
}

LineEntry DataEntryDialog::entry() const {
    LineEntry entry = loaded_.value_or(LineEntry{});
    entry.name = fields_[Name]->text().toStdString();
    entry.specification = fields_[Specification]->text().toStdString();
    entry.unit = unitList_->currentText().trimmed().toStdString();
    const auto number = [this](int tag) {
        return numberIn(fields_[static_cast<std::size_t>(tag)]).value_or(Currency());
    };
    entry.netQuantity = number(NetQuantity);
    entry.netPrice = number(NetPrice);
    entry.netAdditionalPrice = number(NetAdditional);
    entry.submittedQuantity = number(SubmittedQuantity);
    entry.submittedPrice = number(SubmittedPrice);
    entry.submittedAdditionalPrice = number(SubmittedAdditional);
    entry.laborFactor = number(LaborFactor);
    entry.note = fields_[Note]->text().toStdString();
    entry.flagChoice = flag_->currentIndex();
    entry.priceKindChoice = priceKind_->currentIndex();
    entry.amountText = amountText_->currentText().toStdString();
    return entry;
}

// Net quantity × net price and submitted quantity × submitted price, as typed.
void DataEntryDialog::showAmounts() {
    const auto product = [this](int quantity, int price) {
        const auto q = numberIn(fields_[static_cast<std::size_t>(quantity)]);
        const auto p = numberIn(fields_[static_cast<std::size_t>(price)]);
        if (!q || !p) {
            return QString();
        }
        try {
            return QString::fromStdString(wholeYenText(*q * *p));
        } catch (const std::exception&) {
            return QStringLiteral("########");
        }
    };
    netAmount_->setText(product(NetQuantity, NetPrice));
    submittedAmount_->setText(product(SubmittedQuantity, SubmittedPrice));
}

void DataEntryDialog::writeLine(int group) {
    if (host_ == nullptr) {
        return;
    }
    for (int tag = NetQuantity; tag <= LaborFactor; ++tag) {
        if (!numberIn(fields_[static_cast<std::size_t>(tag)])) {
            MessageBox::notify(this, QStringLiteral("数値を正しく入力してください。"));
            fields_[static_cast<std::size_t>(tag)]->setFocus();
            return;
        }
    }
    const LineEntry typed = entry();
    const EntryOutcome outcome =
        lineMessageFromEntry(typed, groupCodeOfButton(group), host_->sheetNumber());
    if (!outcome.message) {
        MessageBox::notify(this, q(outcome.refusal));
        return;
    }
    if (!host_->writeLine(*outcome.message, row_)) {
        return;
    }
    rememberAtTop(units_, outcome.message->unit);
    try {
        amountTexts_ =
            rememberAmountTextInHistory(dataRoot_, outcome.message->amountText, settingTexts_);
    } catch (const FileError&) {
        // The history is a convenience: the line is written all the same.
    }
    if (!continuous_->isChecked()) {
        accept();
        return;
    }
    unitList_->clear();
    for (const std::string& unit : units_) {
        unitList_->addItem(q(unit));
    }
    loadRow(row_ + 1);
    host_->showRow(row_);
    enterPressed(0);
}

// Enter in the field of tag `tag` (0: on showing): the next field whose check box is ticked gets
// the focus; else a ticked field writes the line; else the next field; the last field writes.
void DataEntryDialog::enterPressed(int tag) {
    const auto usable = [this](int t) {
        QWidget* widget = tagged(t);
        return widget->isEnabled() && (widget->isVisible() || !isVisible());
    };
    for (int next = tag + 1; next <= Note; ++next) {
        if (stops_[static_cast<std::size_t>(next)]->isChecked() && usable(next)) {
            tagged(next)->setFocus();
            return;
        }
    }
    if (tag >= Name && stops_[static_cast<std::size_t>(tag)]->isChecked()) {
        writeLine(1);
        return;
    }
    for (int next = tag + 1; next <= Note; ++next) {
        if (usable(next)) {
            tagged(next)->setFocus();
            return;
        }
    }
    if (tag >= Name) {
        writeLine(1);
    }
}

bool DataEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // The amount-text list counts as position 3.
            int tag = watched == amountText_ || watched == amountText_->lineEdit() ? 3
                      : watched == unitList_                                       ? Unit
                                                                                   : 0;
            for (int t = Name; t <= Note && tag == 0; ++t) {
                if (watched == fields_[static_cast<std::size_t>(t)]) {
                    tag = t;
                }
            }
            if (tag != 0) {
                enterPressed(tag);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kerbina
