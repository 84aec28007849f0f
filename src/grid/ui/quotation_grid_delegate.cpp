#include "grid/ui/quotation_grid_delegate.h"

#include "grid/grid_cells.h"
#include "grid/ui/quotation_grid_model.h"

#include <QPainter>
#include <exception>

namespace kerbina {

namespace {

constexpr int kTextMargin = 3;
constexpr int kFillLeftOverhang = 4;

} // namespace

QuotationGridDelegate::QuotationGridDelegate(const QuotationGridModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

void QuotationGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const int row = index.row() + 1;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const CellStyle style =
        cellStyle(model_.state(), model_.options(), row, index.column(), selected);
    painter->save();
    if (style.background) {
        QRect fill = option.rect;
        if (index.column() > 0) {
            fill.setLeft(fill.left() - kFillLeftOverhang);
        }
        painter->fillRect(
            fill, QColor(style.background->red, style.background->green, style.background->blue));
    }
    if (model_.options().alternateRowShading) {
        // Without the view's grid, shaded rows keep their vertical lines only.
        painter->setPen(QColor(208, 208, 208));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        QFont font = option.font;
        font.setBold(style.bold);
        painter->setFont(font);
        painter->setPen(
            QColor(style.foreground.red, style.foreground.green, style.foreground.blue));
        const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        painter->drawText(option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0),
                          int(alignment) | Qt::TextSingleLine, text);
    }
    // The rows are selected whole; the frame shows the cell that typing goes to.
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        painter->setPen(
            QColor(style.foreground.red, style.foreground.green, style.foreground.blue));
        painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
    }
    painter->restore();
}

} // namespace kerbina
