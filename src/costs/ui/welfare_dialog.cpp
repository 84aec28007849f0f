#include "costs/ui/welfare_dialog.h"

#include "widgets/message_box.h"
#include "widgets/qt_text.h"
#include "widgets/typed_number_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace kerbina {

namespace {

QLabel* nameLabel(const QString& objectName, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setToolTip(QStringLiteral("ダブルクリックで名称を変更します"));
    return label;
}

QLineEdit* rateField(const QString& objectName, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setAlignment(Qt::AlignRight);
    field->setMaximumWidth(90);
    // Rates in percent, with the four decimals amounts keep.
    field->setValidator(new TypedNumberValidator(
        QRegularExpression(QStringLiteral("\\d{0,9}(\\.\\d{0,4})?")), field));
    return field;
}

QLabel* percent(QWidget* parent) {
    return new QLabel(QStringLiteral("%"), parent);
}

} // namespace

WelfareDialog::WelfareDialog(std::filesystem::path dataRoot, QWidget* parent)
    : QDialog(parent), dataRoot_(std::move(dataRoot)) {
    setObjectName(QStringLiteral("Tfhouteifukuri"));
    setWindowTitle(QStringLiteral("法定福利費"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QGridLayout();
    top->addWidget(new QLabel(QStringLiteral("労務費率"), this), 0, 0);
    labourRate_ = rateField(QStringLiteral("Fukuri1"), this);
    top->addWidget(labourRate_, 0, 1);
    top->addWidget(percent(this), 0, 2);
    auto* ratio = new QPushButton(QStringLiteral("比率取得"), this);
    ratio->setObjectName(QStringLiteral("ratioButton"));
    top->addWidget(ratio, 0, 3);
    top->addWidget(new QLabel(QStringLiteral("名　称"), this), 1, 0);
    name_ = new QComboBox(this);
    name_->setObjectName(QStringLiteral("ComboBox1"));
    name_->setEditable(true);
    name_->addItem(QStringLiteral("【法定福利費相当額】"));
    top->addWidget(name_, 1, 1, 1, 3);
    layout->addLayout(top);

    auto* group = new QGroupBox(QStringLiteral("法定福利費事業主負担"), this);
    auto* rates = new QGridLayout(group);
    for (int k = 0; k < kInsuranceCount; ++k) {
        const auto index = static_cast<std::size_t>(k);
        insuranceNames_[index] = nameLabel(QStringLiteral("Itemname%1").arg(k + 1), group);
        insuranceRates_[index] = rateField(QStringLiteral("ItemValue%1").arg(k + 1), group);
        rates->addWidget(insuranceNames_[index], k, 0);
        rates->addWidget(insuranceRates_[index], k, 1);
        rates->addWidget(percent(group), k, 2);
        connect(insuranceRates_[index], &QLineEdit::textEdited, this,
                [this] { showEmployerRate(); });
    }
    sumName_ = nameLabel(QStringLiteral("Sumname"), group);
    employerRate_ = new QLabel(group);
    employerRate_->setObjectName(QStringLiteral("Valuesum"));
    employerRate_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    rates->addWidget(sumName_, kInsuranceCount, 0);
    rates->addWidget(employerRate_, kInsuranceCount, 1);
    rates->addWidget(percent(group), kInsuranceCount, 2);
    workerRateName_ = nameLabel(QStringLiteral("Itemname6"), group);
    workerRate_ = rateField(QStringLiteral("ItemValue6"), group);
    rates->addWidget(workerRateName_, kInsuranceCount + 1, 0);
    rates->addWidget(workerRate_, kInsuranceCount + 1, 1);
    rates->addWidget(percent(group), kInsuranceCount + 1, 2);
    layout->addWidget(group);
    for (QLabel* label : {sumName_, workerRateName_}) {
        label->installEventFilter(this);
    }
    for (QLabel* label : insuranceNames_) {
        label->installEventFilter(this);
    }

    formulaInSpecification_ = new QCheckBox(QStringLiteral("計算式を仕様に記載"), this);
    formulaInSpecification_->setObjectName(QStringLiteral("CheckBox1"));
    layout->addWidget(formulaInSpecification_);

    auto* buttons = new QHBoxLayout();
    const struct {
        const char* caption;
        const char* objectName;
        WelfareLayout layout;
    } writes[] = {{"積算転記", "singleButton", WelfareLayout::Single},
                  {"福利費を展開して転記", "expandedButton", WelfareLayout::Expanded},
                  {"式形式で転記", "formulaButton", WelfareLayout::Formula}};
    for (const auto& each : writes) {
        auto* button = new QPushButton(QString::fromUtf8(each.caption), this);
        button->setObjectName(QString::fromUtf8(each.objectName));
        button->setAutoDefault(false);
        const WelfareLayout chosen = each.layout;
        connect(button, &QPushButton::clicked, this, [this, chosen] { write(chosen); });
        buttons->addWidget(button);
    }
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ratio, &QPushButton::clicked, this, [this] { takeLabourRatio(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    for (QLabel*& panel : status_) {
        panel = new QLabel(statusBar);
        statusBar->addWidget(panel, 1);
    }
    layout->addWidget(statusBar);
}

std::optional<WelfareDialog::Choice> WelfareDialog::ask(const WelfareBase& base) {
    readWelfareConf(dataRoot_, form_);
    base_ = base;
    const auto texts = welfareStatusTexts(base);
    for (std::size_t panel = 0; panel < status_.size(); ++panel) {
        status_[panel]->setText(q(texts[panel]));
    }
    showForm();
    choice_.reset();
    exec();
    // However the dialog closed, what it shows is kept for the next showing and written down.
    form_ = formShown();
    writeWelfareConf(dataRoot_, form_);
    return choice_;
}

void WelfareDialog::showForm() {
    labourRate_->setText(q(form_.labourRate));
    name_->setEditText(q(form_.name));
    for (std::size_t k = 0; k < kInsuranceCount; ++k) {
        insuranceNames_[k]->setText(q(form_.insuranceNames[k]));
        insuranceRates_[k]->setText(q(form_.insuranceRates[k]));
    }
    sumName_->setText(q(form_.sumName));
    employerRate_->setText(q(form_.employerRate));
    workerRateName_->setText(q(form_.workerRateName));
    workerRate_->setText(q(form_.workerRate));
    formulaInSpecification_->setChecked(form_.formulaInSpecification);
}

WelfareForm WelfareDialog::formShown() const {
    WelfareForm form;
    form.labourRate = s(labourRate_->text());
    form.name = s(name_->currentText());
    for (std::size_t k = 0; k < kInsuranceCount; ++k) {
        form.insuranceNames[k] = s(insuranceNames_[k]->text());
        form.insuranceRates[k] = s(insuranceRates_[k]->text());
    }
    form.sumName = s(sumName_->text());
    form.employerRate = s(employerRate_->text());
    form.workerRateName = s(workerRateName_->text());
    form.workerRate = s(workerRate_->text());
    form.formulaInSpecification = formulaInSpecification_->isChecked();
    return form;
}

void WelfareDialog::showEmployerRate() {
    std::array<std::string, kInsuranceCount> rates;
    for (std::size_t k = 0; k < kInsuranceCount; ++k) {
        rates[k] = s(insuranceRates_[k]->text());
    }
    if (const auto text = employerRateText(rates)) {
        employerRate_->setText(q(*text));
    }
}

void WelfareDialog::write(WelfareLayout layout) {
    const auto checked = checkedWelfareEntry(formShown());
    if (const auto* refusal = std::get_if<std::string>(&checked)) {
        MessageBox::notify(this, q(*refusal));
    } else {
        choice_ = Choice{layout, std::get<WelfareEntry>(checked)};
    }
    accept();
}

void WelfareDialog::takeLabourRatio() {
    const LabourRateOutcome outcome = labourRateFrom(base_);
    if (outcome.fieldText) {
        labourRate_->setText(q(*outcome.fieldText));
    } else {
        MessageBox::notify(this, q(outcome.refusal));
    }
}

void WelfareDialog::rename(QLabel* name) {
    if (const auto text = MessageBox::input(this, QStringLiteral("KERBINA"),
                                            QStringLiteral("名称設定"), false, name->text())) {
        name->setText(*text);
    }
}

QString WelfareDialog::statusText(int panel) const {
    return status_[static_cast<std::size_t>(panel)]->text();
}

bool WelfareDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto* name = qobject_cast<QLabel*>(watched)) {
            rename(name);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kerbina
