#include "cover/ui/cover_page.h"

#include "app/ui/fonts.h"
#include "money/rounding.h"

#include <QFormLayout>
#include <QLabel>

namespace kerbina {

CoverPage::CoverPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("表紙・合計"));
    auto* layout = new QFormLayout(this);
    const char* captions[] = {"見積金額(提出)", "見積金額(仕切)", "差額", "利益率", "労務費"};
    for (std::size_t index = 0; index < grandTotals_.size(); ++index) {
        auto* value = new QLabel(QStringLiteral("0"), this);
        value->setObjectName(QStringLiteral("grandTotal%1").arg(index));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setFont(quotationFont());
        layout->addRow(QString::fromUtf8(captions[index]), value);
        grandTotals_[index] = value;
    }
}

void CoverPage::showTotals(const TotalsPanel& totals) {
    const std::string values[] = {MoneyText(totals.all.submitted), MoneyText(totals.all.net),
                                  MoneyText(totals.all.difference), totals.all.margin,
                                  MoneyText(totals.allLabor)};
    for (std::size_t index = 0; index < grandTotals_.size(); ++index) {
        grandTotals_[index]->setText(QString::fromStdString(values[index]));
    }
}

} // namespace kerbina
