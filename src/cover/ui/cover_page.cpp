#include "cover/ui/cover_page.h"

#include "base/text_codec.h"
#include "base/user_error.h"
#include "money/rounding.h"
#include "storage/schema.h"
#include "widgets/application_title.h"
#include "widgets/calendar.h"
#include "widgets/fonts.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"
#include "widgets/typed_number_fields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <chrono>

namespace kerbina {
namespace {

// The pick buttons by their historic names, in the order of coverPicks().
constexpr const char* kPickButtonNames[] = {"title13",  "title14",  "title3",    "title4",
                                            "title5",   "GradBtn9", "GradBtn10", "v1",
                                            "GradBtn1", "GradBtn2"};
// Captions of the pick buttons whose caption the settings do not give.
constexpr const char* kPickButtonCaptions[] = {"宛先名称1", "宛先名称2", "",         "",
                                               "",          "納入期日",  "取引条件", "見積有効期限",
                                               "御依頼者",  "見積作成者"};

// The longest era so far, 昭和, lasted 64 years.
constexpr int kHighestEraYear = 99;

} // namespace

CoverPage::CoverPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("表紙・合計"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);

    auto* totals = new QWidget(this);
    totals->setObjectName(QStringLiteral("totalsPanel"));
    auto* layout = new QFormLayout(totals);
    layout->setContentsMargins(0, 0, 0, 0);
    const char* captions[] = {"見積金額(提出)", "見積金額(仕切)", "差額", "利益率", "労務費"};
    for (std::size_t index = 0; index < grandTotals_.size(); ++index) {
        auto* value = new QLabel(QStringLiteral("0"), totals);
        value->setObjectName(QStringLiteral("grandTotal%1").arg(index));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setFont(quotationFont());
        layout->addRow(QString::fromUtf8(captions[index]), value);
        grandTotals_[index] = value;
    }
    outer->addWidget(totals);

    auto* costs = new QGroupBox(QStringLiteral("材料費等(税抜)"), this);
    costs->setObjectName(QStringLiteral("costSplitPanel"));
    auto* costLayout = new QFormLayout(costs);
    costLayout->setContentsMargins(4, 2, 4, 2);
    const char* costCaptions[] = {"材料費", "労務費", "法定福利費", "経費"};
    for (std::size_t index = 0; index < costSplit_.size(); ++index) {
        auto* value = new QLabel(QStringLiteral("0"), costs);
        value->setObjectName(QStringLiteral("costSplit%1").arg(index));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setFont(quotationFont());
        costLayout->addRow(QString::fromUtf8(costCaptions[index]), value);
        costSplit_[index] = value;
    }
    outer->addWidget(costs);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("coverPanel"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // The fields are laid out to the side panel's width; only a low window scrolls them.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* panel = new QWidget(scroll);
    buildCoverFields(panel);
    scroll->setWidget(panel);
    outer->addWidget(scroll, 1);

    showValues(newCover(today()));
}

void CoverPage::buildCoverFields(QWidget* panel) {
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);
    int row = 0;
    const auto addTextControl = [&](CoverText text, QWidget* caption) {
        auto* control = new QComboBox(panel);
        control->setObjectName(q(coverTextField(text).control));
        control->setEditable(true);
        control->setInsertPolicy(QComboBox::NoInsert);
        control->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        control->setMinimumContentsLength(8);
        texts_[static_cast<std::size_t>(text)] = control;
        if (caption != nullptr) {
            grid->addWidget(caption, row, 0);
        }
        grid->addWidget(control, row, 1);
        ++row;
        return control;
    };

    for (std::size_t index = 0; index < coverPicks().size(); ++index) {
        const CoverText field = coverPicks()[index].text;
        auto* button = new QPushButton(QString::fromUtf8(kPickButtonCaptions[index]), panel);
        button->setObjectName(QString::fromUtf8(kPickButtonNames[index]));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, index] { pick(index); });
        pickButtons_[index] = button;
        addTextControl(field, button);
        if (field == CoverText::Addressee2) {
            auto* honorific = addTextControl(CoverText::Honorific, nullptr);
            for (const std::string_view choice : kHonorifics) {
                honorific->addItem(q(choice));
            }
        }
    }
    // A changed addressee, typed or taken from its history list, goes into the header at once.
    const auto addresseeChanged = [this] {
        if (text(CoverText::Addressee1) != committedAddressee_) {
            committedAddressee_ = text(CoverText::Addressee1);
            emit coverChanged();
        }
    };
    connect(textControl(CoverText::Addressee1)->lineEdit(), &QLineEdit::editingFinished, this,
            addresseeChanged);
    connect(textControl(CoverText::Addressee1), &QComboBox::activated, this, addresseeChanged);

    auto* date = new QHBoxLayout();
    date->setSpacing(2);
    const auto spin = [&](const char* name, int lowest, int highest, const char* unit) {
        auto* box = new TypedNumberSpinBox(panel);
        box->setObjectName(QString::fromUtf8(name));
        box->setRange(lowest, highest);
        date->addWidget(box);
        date->addWidget(new QLabel(QString::fromUtf8(unit), panel));
        return box;
    };
    era_ = new QComboBox(panel);
    era_->setObjectName(QStringLiteral("era"));
    for (const JapaneseEra& era : japaneseEras()) {
        era_->addItem(q(std::string(era.name)));
    }
    date->addWidget(era_);
    year_ = spin("yedit", 1, kHighestEraYear, "年");
    month_ = spin("MEDIT", 1, 12, "月");
    day_ = spin("DEDIT", 1, 31, "日");
    date->addStretch(1);
    grid->addLayout(date, row++, 0, 1, 2);

    numberButton_ = new QPushButton(QStringLiteral("見積番号"), panel);
    numberButton_->setObjectName(QStringLiteral("Button10"));
    numberButton_->setAutoDefault(false);
    connect(numberButton_, &QPushButton::clicked, this, &CoverPage::pressNumberButton);
    number_ = new QLabel(panel);
    number_->setObjectName(QStringLiteral("number"));
    number_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(numberButton_, row, 0);
    grid->addWidget(number_, row++, 1);

    addTextControl(CoverText::Tag, new QLabel(QStringLiteral("タ グ"), panel));

    status_ = new QComboBox(panel);
    status_->setObjectName(QStringLiteral("status"));
    for (const std::string_view status : kQuotationStatusTexts) {
        status_->addItem(q(status));
    }
    grid->addWidget(new QLabel(QStringLiteral("ステータス"), panel), row, 0);
    grid->addWidget(status_, row++, 1);

    auto* readTemplateButton = new QPushButton(QStringLiteral("表紙テンプレートを読み込む"), panel);
    readTemplateButton->setObjectName(QStringLiteral("ActionCoverTempREad"));
    readTemplateButton->setAutoDefault(false);
    connect(readTemplateButton, &QPushButton::clicked, this, &CoverPage::readTemplate);
    grid->addWidget(readTemplateButton, row++, 0, 1, 2);
    auto* saveTemplateButton = new QPushButton(QStringLiteral("表紙テンプレートとして保存"), panel);
    saveTemplateButton->setObjectName(QStringLiteral("ActionCoverTempSave"));
    saveTemplateButton->setAutoDefault(false);
    connect(saveTemplateButton, &QPushButton::clicked, this, &CoverPage::saveTemplate);
    grid->addWidget(saveTemplateButton, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);

    setCaptions(CoverCaptions{}, "見積番号");
}

void CoverPage::showTotals(const TotalsPanel& totals) {
    const std::string values[] = {wholeYenText(totals.all.submitted), wholeYenText(totals.all.net),
                                  wholeYenText(totals.all.difference), totals.all.margin,
                                  wholeYenText(totals.allLabor)};
    for (std::size_t index = 0; index < grandTotals_.size(); ++index) {
        grandTotals_[index]->setText(QString::fromStdString(values[index]));
    }
}

void CoverPage::showCostSplit(const CostSplit& split) {
    const Currency values[] = {split.material, split.labor, split.welfare, split.expenses};
    for (std::size_t index = 0; index < costSplit_.size(); ++index) {
        costSplit_[index]->setText(QString::fromStdString(wholeYenText(values[index])));
    }
}

void CoverPage::setDataRoot(const std::filesystem::path& dataRoot) {
    dataRoot_ = dataRoot;
}

void CoverPage::setCaptions(const CoverCaptions& captions, const std::string& numberCaption) {
    captions_ = captions;
    const std::pair<std::size_t, const std::string*> titled[] = {
        {2, &captions.siteName1}, {3, &captions.siteName2}, {4, &captions.workName}};
    for (const auto& [index, caption] : titled) {
        pickButtons_[index]->setText(q(*caption));
        pickButtons_[index]->setToolTip(q(pickHeading(coverPicks()[index], captions)));
    }
    numberButton_->setText(q(numberCaption));
}

void CoverPage::setNumbering(const NumberingOptions& numbering) {
    numbering_ = numbering;
}

void CoverPage::setPicker(Picker picker) {
    picker_ = std::move(picker);
}

void CoverPage::setNumberIssuer(NumberIssuer issuer) {
    numberIssuer_ = std::move(issuer);
}

void CoverPage::readCover(const QuotationHeader* header) {
    histories_ = dataRoot_.empty() ? CoverHistories{} : loadCoverHistories(dataRoot_ / "temp");
    showValues(header != nullptr ? coverOfHeader(*header) : newCover(today()));
    showHistories();
    // What the controls hold, not the header's values: a date a spin box cannot show (month 0)
    // is no change the user made.
    shownCover_ = values();
}

void CoverPage::writeCover(QuotationHeader& header) const {
    const CoverValues cover = values();
    if (cover != shownCover_) {
        kerbina::writeCover(cover, header);
    }
}

void CoverPage::updateHistories() {
    updateCoverHistories(dataRoot_ / "temp", histories_, values());
    showHistories();
}

void CoverPage::showNumber(const std::string& number) {
    number_->setText(q(number));
}

CoverValues CoverPage::values() const {
    CoverValues cover;
    for (const CoverTextField& field : coverTextFields()) {
        cover[field.text] = text(field.text);
    }
    cover.storedYear =
        storedYearOf(EraYear{static_cast<std::size_t>(era_->currentIndex()), year_->value()});
    cover.month = month_->value();
    cover.day = day_->value();
    if (status_->currentIndex() >= 0) {
        cover.status = status_->currentIndex();
    }
    cover.customerId = customerId_;
    return cover;
}

void CoverPage::showValues(const CoverValues& cover) {
    for (const CoverTextField& field : coverTextFields()) {
        setText(field.text, cover[field.text]);
    }
    const EraYear eraYear = coverEraYear(cover);
    era_->setCurrentIndex(static_cast<int>(eraYear.era));
    year_->setValue(eraYear.year);
    month_->setValue(cover.month);
    day_->setValue(cover.day);
    status_->setCurrentIndex(cover.status.value_or(-1));
    customerId_ = cover.customerId;
    committedAddressee_ = cover[CoverText::Addressee1];
}

void CoverPage::pressNumberButton() {
    const std::string current = text(CoverText::Number);
    switch (numberButtonStep(numbering_.automatic, current)) {
    case NumberButtonStep::IssueNumber:
        if (numberIssuer_) {
            if (const auto issued = numberIssuer_(customerId_)) {
                showNumber(fitToWidth(*issued, coverTextField(CoverText::Number).width));
                emit coverChanged();
            }
        }
        return;
    case NumberButtonStep::AskForNumber:
        if (const auto typed = MessageBox::input(this, QString::fromUtf8(kApplicationTitle),
                                                 QStringLiteral("見積番号を入力してください"),
                                                 false, q(current))) {
            showNumber(typedQuotationNumber(typed->toStdString()));
            emit coverChanged();
        }
        return;
    case NumberButtonStep::Nothing:
        return;
    }
}

void CoverPage::pick(std::size_t index) {
    if (!picker_ || index >= coverPicks().size()) {
        return;
    }
    const CoverPick& pick = coverPicks()[index];
    const std::optional<TitleEntry> chosen =
        picker_(std::string(pick.kind), pickHeading(pick, captions_),
                fitToWidth(text(pick.text), kPickTextWidth));
    if (!chosen) {
        return;
    }
    setText(pick.text, pickedText(*chosen));
    if (pick.text != CoverText::Addressee1) {
        return;
    }
    setText(CoverText::Honorific, chosen->honorific);
    customerId_ = std::to_string(chosen->id);
    committedAddressee_ = text(CoverText::Addressee1);
    if (numberIssuer_ && offersNumberAfterCustomerPick(numbering_, text(CoverText::Number)) &&
        MessageBox::ask(this, QStringLiteral("新規見積番号を取得しますか？"),
                        MessageBox::Buttons::YesNo) == MessageBox::Answer::Yes) {
        if (const auto issued = numberIssuer_(customerId_)) {
            showNumber(fitToWidth(*issued, coverTextField(CoverText::Number).width));
        }
    }
    emit coverChanged();
}

void CoverPage::readTemplate() {
    CoverValues cover = values();
    try {
        if (!readCoverTemplate(coverTemplateFile(dataRoot_), cover)) {
            return;
        }
    } catch (const UserError& error) {
        MessageBox::error(this, QString::fromUtf8(error.what()));
        return;
    }
    showValues(cover);
}

void CoverPage::saveTemplate() {
    try {
        writeCoverTemplate(coverTemplateFile(dataRoot_), values());
    } catch (const UserError& error) {
        MessageBox::error(this, QString::fromUtf8(error.what()));
        return;
    }
    MessageBox::notify(this, QStringLiteral("設定状態を登録しました。"));
}

void CoverPage::showHistories() {
    for (const CoverTextField& field : coverTextFields()) {
        QComboBox* control = textControl(field.text);
        if (control == nullptr || field.historyFile.empty()) {
            continue;
        }
        const std::vector<std::string>& list = histories_[field.text];
        bool same = control->count() == static_cast<int>(list.size());
        for (int item = 0; same && item < control->count(); ++item) {
            same = control->itemText(item).toStdString() == list[static_cast<std::size_t>(item)];
        }
        if (same) {
            continue;
        }
        const QString current = control->currentText();
        control->clear();
        for (const std::string& entry : list) {
            control->addItem(q(entry));
        }
        control->setCurrentIndex(-1);
        control->setEditText(current);
    }
}

QComboBox* CoverPage::textControl(CoverText text) const {
    return texts_[static_cast<std::size_t>(text)];
}

std::string CoverPage::text(CoverText text) const {
    if (text == CoverText::Number) {
        return number_->text().toStdString();
    }
    return textControl(text)->currentText().toStdString();
}

void CoverPage::setText(CoverText text, const std::string& value) {
    if (text == CoverText::Number) {
        showNumber(value);
        return;
    }
    textControl(text)->setEditText(q(value));
}

} // namespace kerbina
