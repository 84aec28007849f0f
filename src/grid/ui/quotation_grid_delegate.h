#pragma once

#include <QStyledItemDelegate>

namespace kerbina {

class QuotationGridModel;

// Paints one grid cell as the document says: the background (alternate-row shade or selection,
// starting 4 pixels left of the cell), then the text on one line in its colour and alignment.
class QuotationGridDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    QuotationGridDelegate(const QuotationGridModel& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const QuotationGridModel& model_;
};

} // namespace kerbina
