#include "grid/ui/text_selection_dialog.h"

#include "base/conf_file.h"
#include "base/file_io.h"
#include "grid/registered_text_replies.h"
#include "widgets/application_title.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"
#include "widgets/window_position.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kerbina {

namespace {

constexpr const char* kPositionName = "Data_Select";
constexpr int kItemNameHeight = 530;
constexpr int kFirstStatusPanel = 3;

std::string today() {
    return QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")).toStdString();
}

} // namespace

TextSelectionDialog::TextSelectionDialog(Database& database, const std::filesystem::path& dataRoot,
                                         QWidget* parent)
    : QDialog(parent), database_(database), dataRoot_(dataRoot) {
    setObjectName(QStringLiteral("TfDATASELECT_Dlg"));
    setWindowTitle(QStringLiteral("特記事項選択"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QTableWidget(0, 2, this);
    list_->setObjectName(QStringLiteral("textList"));
    list_->setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("名       称")});
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->setVisible(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this] { chooseSelected(); });
    auto* choose = new QAction(QStringLiteral("選　択"), list_);
    connect(choose, &QAction::triggered, this, [this] { chooseSelected(); });
    list_->addAction(choose);
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    layout->addWidget(list_, 1);

    prefixRow_ = new QWidget(this);
    auto* prefixForm = new QFormLayout(prefixRow_);
    prefixForm->setContentsMargins(0, 0, 0, 0);
    prefix_ = new QComboBox(prefixRow_);
    prefix_->setObjectName(QStringLiteral("numberPrefix"));
    prefix_->setEditable(true);
    prefix_->addItem(QString());
    for (const std::string& prefix : itemNumberPrefixes()) {
        prefix_->addItem(q(prefix));
    }
    prefixForm->addRow(QStringLiteral("内訳番号"), prefix_);
    layout->addWidget(prefixRow_);

    commentFields_ = new QWidget(this);
    auto* form = new QFormLayout(commentFields_);
    form->setContentsMargins(0, 0, 0, 0);
    quantity_ = new QComboBox(this);
    quantity_->addItems({QStringLiteral("数量1"), QStringLiteral("数量なし")});
    form->addRow(QStringLiteral("数量"), quantity_);
    unit_ = new QComboBox(this);
    unit_->setEditable(true);
    unit_->addItems({QStringLiteral("式"), QStringLiteral("ｍ"), QStringLiteral("ケ"),
                     QStringLiteral("本"), QStringLiteral("台")});
    form->addRow(QStringLiteral("単位"), unit_);
    amountText_ = new QComboBox(this);
    amountText_->setEditable(true);
    try {
        amountTexts_ = readTextLines(dataRoot_ / "conf" / "comment.lst");
        std::erase(amountTexts_, std::string());
    } catch (const std::exception&) {
        // No list of amount texts yet.
    }
    showAmountTexts(QString());
    form->addRow(QStringLiteral("金額欄摘要"), amountText_);
    layout->addWidget(commentFields_);

    auto* buttons = new QHBoxLayout();
    const auto button = [&](const char* caption, const char* name,
                            void (TextSelectionDialog::*slot)()) {
        auto* pushButton = new QPushButton(QString::fromUtf8(caption), this);
        pushButton->setObjectName(QString::fromUtf8(name));
        pushButton->setAutoDefault(false);
        connect(pushButton, &QPushButton::clicked, this, slot);
        buttons->addWidget(pushButton);
    };
    button("選択入力", "chooseButton", &TextSelectionDialog::chooseSelected);
    auto* own = new QPushButton(QStringLiteral("手入力"), this);
    own->setObjectName(QStringLiteral("ownTextButton"));
    connect(own, &QPushButton::clicked, this, [this] {
        const QString label =
            mode_ == Mode::ItemName ? QStringLiteral("内訳名") : QStringLiteral("特記事項");
        if (const auto text = MessageBox::input(this, QString::fromUtf8(kApplicationTitle), label,
                                                false, statusText(5))) {
            typeOwnText(*text);
        }
    });
    buttons->addWidget(own);
    button("新規追加", "addButton", &TextSelectionDialog::addText);
    button("修正登録", "renameButton", &TextSelectionDialog::renameText);
    button("削除", "deleteButton", &TextSelectionDialog::deleteText);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    for (int panel = kFirstStatusPanel; panel <= 5; ++panel) {
        auto* label = new QLabel(status);
        label->setObjectName(QStringLiteral("statusPanel%1").arg(panel));
        status->addWidget(label, panel == 5 ? 1 : 0);
        statusPanels_.push_back(label);
    }
    layout->addWidget(status);
    resize(560, 480);
    if (const auto stored = storedWindowPosition(dataRoot_, kPositionName)) {
        setGeometry(*stored);
    }
}

// The amount-text list and the window position are kept for the next run.
TextSelectionDialog::~TextSelectionDialog() {
    try {
        if (!amountTexts_.empty()) {
            writeTextLines(dataRoot_ / "conf" / "comment.lst", amountTexts_);
        }
        storeWindowPosition(dataRoot_, kPositionName, *this);
    } catch (const std::exception&) {
        // A folder that cannot be written loses only these conveniences.
    }
}

void TextSelectionDialog::selectComments(const std::function<void(const LineMessage&)>& write) {
    write_ = write;
    showMode(Mode::Comment, std::string());
    exec();
    write_ = nullptr;
}

void TextSelectionDialog::selectItemName(
    const std::string& currentName, const std::function<std::string(const LineMessage&)>& rename) {
    rename_ = rename;
    showMode(Mode::ItemName, currentName);
    exec();
    rename_ = nullptr;
}

// The dialog is reused for both modes: each opening shows the fields, the title and the texts of
// its own mode, and starts without a number prefix.
void TextSelectionDialog::showMode(Mode mode, const std::string& currentName) {
    mode_ = mode;
    const bool names = mode == Mode::ItemName;
    setWindowTitle(names ? QStringLiteral("内訳名選択") : QStringLiteral("特記事項選択"));
    prefixRow_->setVisible(names);
    prefix_->setCurrentIndex(0);
    prefix_->setEditText(QString());
    commentFields_->setVisible(!names);
    if (names) {
        resize(width(), kItemNameHeight);
    }
    statusPanels_[0]->setText(QString::number(group()));
    statusPanels_[1]->setText(QString::fromUtf8(names ? kItemNameReply : kItemNoteReply));
    statusPanels_[2]->setText(q(currentName));
    reload();
}

int TextSelectionDialog::group() const {
    return mode_ == Mode::ItemName ? kItemNameTextGroup : kCommentTextGroup;
}

QString TextSelectionDialog::statusText(int panel) const {
    const int index = panel - kFirstStatusPanel;
    return index >= 0 && index < static_cast<int>(statusPanels_.size())
               ? statusPanels_[static_cast<std::size_t>(index)]->text()
               : QString();
}

void TextSelectionDialog::reload() {
    try {
        texts_ = registeredTexts(database_, group());
    } catch (const DatabaseError& error) {
        texts_.clear();
        MessageBox::error(this, q(databaseFaultMessage(error)));
    }
    list_->setRowCount(static_cast<int>(texts_.size()));
    for (int row = 0; row < static_cast<int>(texts_.size()); ++row) {
        const RegisteredText& text = texts_[static_cast<std::size_t>(row)];
        list_->setItem(row, 0, new QTableWidgetItem(QString::number(text.id)));
        list_->setItem(row, 1, new QTableWidgetItem(q(text.name)));
    }
}

// The list: an empty choice, then the remembered texts, newest first.
void TextSelectionDialog::showAmountTexts(const QString& current) {
    amountText_->clear();
    amountText_->addItem(QString());
    for (const std::string& text : amountTexts_) {
        amountText_->addItem(q(text));
    }
    amountText_->setEditText(current);
}

int TextSelectionDialog::selectedRow() const {
    const int row = list_->currentRow();
    return row >= 0 && row < static_cast<int>(texts_.size()) ? row : -1;
}

void TextSelectionDialog::selectRow(int row) {
    list_->setCurrentCell(row, 1);
}

void TextSelectionDialog::chooseSelected() {
    if (const int row = selectedRow(); row >= 0) {
        reply(texts_[static_cast<std::size_t>(row)].name);
    }
}

void TextSelectionDialog::typeOwnText(const QString& text) {
    if (!text.isEmpty()) {
        reply(text.toStdString());
    }
}

// The reply is applied at once; a new amount text goes to the top of its list. A ";" in any of
// its texts (the name, the prefix, the unit, the amount text) is refused.
void TextSelectionDialog::reply(const std::string& text) {
    const QString amount = amountText_->currentText();
    const CommentQuantity quantity =
        quantity_->currentIndex() == 0 ? CommentQuantity::One : CommentQuantity::None;
    const LineMessage message =
        mode_ == Mode::ItemName ? itemNameLineMessage(prefix_->currentText().toStdString(), text)
                                : commentLineMessage(text, unit_->currentText().toStdString(),
                                                     quantity, amount.toStdString());
    if (holdsFieldSeparator(message)) {
        MessageBox::notify(this, QStringLiteral("名称、仕様に\";\"は使用できません。"));
        return;
    }
    if (mode_ == Mode::ItemName) {
        if (rename_) {
            statusPanels_[2]->setText(q(rename_(message)));
        }
        return;
    }
    rememberAtTop(amountTexts_, amount.toStdString());
    showAmountTexts(amount);
    if (write_) {
        write_(message);
    }
}

// A registered text becomes a line's name: it may not hold the field separator.
bool TextSelectionDialog::acceptable(const QString& name) {
    if (name.contains(QLatin1Char(';'))) {
        MessageBox::notify(this, QStringLiteral("名称、仕様に\";\"は使用できません。"));
        return false;
    }
    return !name.isEmpty();
}

void TextSelectionDialog::addText() {
    const auto name = MessageBox::input(this, QString::fromUtf8(kApplicationTitle),
                                        QStringLiteral("名称を入力してください。"));
    if (name && acceptable(*name) &&
        addRegisteredText(database_, group(), name->toStdString(), today())) {
        reload();
    }
}

void TextSelectionDialog::renameText() {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    const RegisteredText& text = texts_[static_cast<std::size_t>(row)];
    const auto name =
        MessageBox::input(this, QString::fromUtf8(kApplicationTitle),
                          QStringLiteral("名称を入力してください。"), false, q(text.name));
    if (name && acceptable(*name) &&
        renameRegisteredText(database_, text.id, name->toStdString(), today())) {
        reload();
    }
}

void TextSelectionDialog::deleteText() {
    const int row = selectedRow();
    if (row < 0 || MessageBox::ask(this, QStringLiteral("削除していいですか"),
                                   MessageBox::Buttons::YesNo) != MessageBox::Answer::Yes) {
        return;
    }
    if (deleteRegisteredText(database_, texts_[static_cast<std::size_t>(row)].id)) {
        reload();
    }
}

} // namespace kerbina
