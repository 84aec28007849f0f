#include "costs/ui/expense_dialog.h"

#include "base/user_error.h"
#include "costs/ui/expense_pattern_editor.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"
#include "widgets/typed_number_fields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

namespace kerbina {

namespace {

// A button that tells a right click apart and remembers the keys held with the click.
class ExpenseButton : public QPushButton {
public:
    using QPushButton::QPushButton;

    std::function<void()> rightClicked;
    Qt::KeyboardModifiers heldKeys() const { return heldKeys_; }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::RightButton && rightClicked) {
            rightClicked();
            return;
        }
        heldKeys_ = event->modifiers();
        QPushButton::mousePressEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        heldKeys_ = event->modifiers();
        QPushButton::keyPressEvent(event);
    }

private:
    Qt::KeyboardModifiers heldKeys_;
};

QLineEdit* rateField(const QString& objectName, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setValidator(new TypedNumberValidator(
        QRegularExpression(QStringLiteral("[-+]?[0-9]*[.]?[0-9]*")), field));
    return field;
}

QStringList captionsOf(const auto& captions) {
    QStringList list;
    for (const char* caption : captions) {
        list << QString::fromUtf8(caption);
    }
    return list;
}

} // namespace

ExpenseDialog::ExpenseDialog(std::filesystem::path dataRoot, QWidget* parent)
    : QDialog(parent), dataRoot_(std::move(dataRoot)) {
    setObjectName(QStringLiteral("TFKEIHI_Dlg"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    auto* entryTab = new QWidget(tabs_);
    buildEntryTab(entryTab);
    tabs_->addTab(entryTab, QStringLiteral("経費類入力"));
    patternTab_ = new QWidget(tabs_);
    buildPatternTab(patternTab_);
    tabs_->addTab(patternTab_, QStringLiteral("経費類連続入力"));
    layout->addWidget(tabs_);

    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void ExpenseDialog::buildEntryTab(QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);

    auto* names = new QGridLayout();
    for (int n = 0; n < kExpenseNameButtons; ++n) {
        auto* button = new ExpenseButton(tab);
        button->setObjectName(QStringLiteral("kbutton_%1").arg(n + 1));
        button->setAutoDefault(false);
        button->rightClicked = [this, n] {
            renameButton(n);
        };
        connect(button, &QPushButton::clicked, this, [this, n] { nameButtonClicked(n); });
        nameButtons_[static_cast<std::size_t>(n)] = button;
        names->addWidget(button, n / 4, n % 4);
    }
    layout->addWidget(new QLabel(QStringLiteral("右クリックで名称の登録ができます。"), tab));
    layout->addLayout(names);

    auto* fields = new QGridLayout();
    netRate_ = rateField(QStringLiteral("NBOX"), tab);
    submittedRate_ = rateField(QStringLiteral("GBOX"), tab);
    unit_ = new QComboBox(tab);
    unit_->setObjectName(QStringLiteral("X_ci"));
    unit_->addItems({QStringLiteral("％"), QStringLiteral("式")});
    target_ = new QComboBox(tab);
    target_->setObjectName(QStringLiteral("Target"));
    target_->addItems(captionsOf(kExpenseTargetCaptions));
    rounding_ = new QComboBox(tab);
    rounding_->setObjectName(QStringLiteral("Cut"));
    rounding_->addItems(captionsOf(kLevelOptionCaptions));
    connect(target_, &QComboBox::currentIndexChanged, this, [this] { applyRoundingRule(); });
    fields->addWidget(new QLabel(QStringLiteral("原   価"), tab), 0, 0);
    fields->addWidget(netRate_, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("提  出"), tab), 1, 0);
    fields->addWidget(submittedRate_, 1, 1);
    fields->addWidget(unit_, 0, 2, 2, 1);
    fields->addWidget(new QLabel(QStringLiteral("計算対象"), tab), 2, 0);
    fields->addWidget(target_, 2, 1, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("計算後の有効桁"), tab), 3, 0);
    fields->addWidget(rounding_, 3, 1, 1, 2);
    layout->addLayout(fields);

    // Four columns of five: 1..5, 6..10, 11..25, 30..100.
    auto* rates = new QGridLayout();
    for (std::size_t n = 0; n < kExpenseRateButtons.size(); ++n) {
        const int percent = kExpenseRateButtons[n];
        auto* button = new QPushButton(QStringLiteral("%1%").arg(percent), tab);
        button->setObjectName(QStringLiteral("rateButton%1").arg(percent));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                [this, percent] { rateButtonClicked(percent); });
        rates->addWidget(button, static_cast<int>(n % 5), static_cast<int>(n / 5));
    }
    layout->addLayout(rates);

    auto* calculate = new QPushButton(QStringLiteral("計　算"), tab);
    calculate->setObjectName(QStringLiteral("calculateButton"));
    calculate->setAutoDefault(false);
    connect(calculate, &QPushButton::clicked, this, [this] { this->calculate(); });
    layout->addWidget(calculate);
}

void ExpenseDialog::buildPatternTab(QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);
    for (int j = 0; j < kExpensePatterns; ++j) {
        auto* button = new ExpenseButton(tab);
        button->setObjectName(QStringLiteral("rkburron_%1").arg(j + 1));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, button, j] {
            patternClicked(j + 1, button->heldKeys().testFlag(Qt::ShiftModifier));
        });
        patternButtons_[static_cast<std::size_t>(j)] = button;
        layout->addWidget(button);
    }
    layout->addWidget(new QLabel(QStringLiteral("登録はShift＋左クリック"), tab));
    layout->addStretch();
}

void ExpenseDialog::run(Mode mode, const QString& title, Writes writes) {
    prepare(mode, title, std::move(writes));
    exec();
}

void ExpenseDialog::prepare(Mode mode, const QString& title, Writes writes) {
    mode_ = mode;
    writes_ = std::move(writes);
    unit_->setCurrentIndex(1);
    setWindowTitle(title);
    readNameButtons();
    readPatternCaptions();
    tabs_->setTabVisible(tabs_->indexOf(patternTab_), mode == Mode::Sheet);
    tabs_->setCurrentIndex(0);
    applyRoundingRule();
}

ExpenseEntry ExpenseDialog::entry() const {
    return {expenseName_,
            s(netRate_->text()),
            s(submittedRate_->text()),
            unit_->currentIndex() == 0 ? ExpenseUnit::Percent : ExpenseUnit::Lump,
            target_->currentIndex(),
            rounding_->currentIndex()};
}

void ExpenseDialog::applyRoundingRule() {
    rounding_->setEnabled(roundingChoiceEnabled(target_->currentIndex()));
}

// A names file that cannot be read leaves the buttons as they were; the reason is shown.
void ExpenseDialog::readNameButtons() {
    try {
        names_ = readExpenseNames(dataRoot_);
    } catch (const UserError& error) {
        MessageBox::error(this, QString::fromUtf8(error.what()));
    }
    for (std::size_t n = 0; n < names_.size(); ++n) {
        nameButtons_[n]->setText(q(names_[n].caption));
    }
}

void ExpenseDialog::readPatternCaptions() {
    for (int j = 0; j < kExpensePatterns; ++j) {
        QString caption;
        try {
            caption = q(patternButtonCaption(readExpensePattern(dataRoot_, j + 1)));
        } catch (const UserError& error) {
            MessageBox::error(this, QString::fromUtf8(error.what()));
        }
        patternButtons_[static_cast<std::size_t>(j)]->setText(caption);
    }
}

void ExpenseDialog::nameButtonClicked(int index) {
    ExpenseEntry chosen = entry();
    chooseNameButton(chosen, names_[static_cast<std::size_t>(index)]);
    expenseName_ = chosen.name;
    target_->setCurrentIndex(chosen.targetIndex);
    applyRoundingRule();
    netRate_->setFocus();
}

void ExpenseDialog::renameButton(int index) {
    const auto caption = MessageBox::input(this, QStringLiteral("ケルビナVer2"),
                                           QStringLiteral("経費名称を入力してください"), false,
                                           q(names_[static_cast<std::size_t>(index)].caption));
    if (!caption) {
        return;
    }
    ExpenseNameButtons renamed = names_;
    if (const auto refusal =
            renameNameButton(renamed, index, s(*caption), target_->currentIndex())) {
        MessageBox::notify(this, q(*refusal));
        return;
    }
    try {
        writeExpenseNames(dataRoot_, renamed);
    } catch (const UserError& error) {
        MessageBox::error(this, QString::fromUtf8(error.what()));
        return;
    }
    names_ = renamed;
    nameButtons_[static_cast<std::size_t>(index)]->setText(*caption);
    MessageBox::notify(this, q(registrationNotice(target_->currentIndex())));
}

void ExpenseDialog::rateButtonClicked(int percent) {
    ExpenseEntry chosen = entry();
    chooseRate(chosen, percent);
    netRate_->setText(q(chosen.netRateText));
    submittedRate_->setText(q(chosen.submittedRateText));
}

// The write refuses an entry without usable rates, and on the breakdown list a row that may not
// take the expense, each time.
void ExpenseDialog::calculate() {
    if (writes_.entry) {
        writes_.entry(entry());
    }
}

void ExpenseDialog::patternClicked(int pattern, bool withShift) {
    if (withShift) {
        ExpensePatternEditor editor(dataRoot_, pattern, this);
        editor.edit();
        readPatternCaptions();
        return;
    }
    if (mode_ != Mode::Sheet) {
        return;
    }
    std::optional<std::vector<ExpensePatternLine>> lines;
    try {
        lines = readExpensePattern(dataRoot_, pattern);
    } catch (const UserError& error) {
        MessageBox::error(this, QString::fromUtf8(error.what()));
        return;
    }
    if (!lines) {
        return;
    }
    if (writes_.pattern) {
        writes_.pattern(lines);
    }
    accept();
}

} // namespace kerbina
