#pragma once

#include "calc/totals.h"

#include <QWidget>
#include <array>

class QLabel;

namespace kerbina {

// The side panel's tab "表紙・合計": the quotation's grand totals; the cover fields, their history
// lists and the template join them here.
class CoverPage : public QWidget {
    Q_OBJECT

public:
    explicit CoverPage(QWidget* parent = nullptr);

    void showTotals(const TotalsPanel& totals);

private:
    std::array<QLabel*, 5> grandTotals_{}; // submitted, net, difference, margin, labour
};

} // namespace kerbina
