#include "grid/ui/quotation_grid_model.h"

#include "grid/cell_entry.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <exception>

namespace kerbina {

namespace {

QColor toColor(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

Qt::Alignment toAlignment(Alignment alignment) {
    switch (alignment) {
    case Alignment::Left:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case Alignment::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case Alignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

QuotationGridModel::QuotationGridModel(const DocumentState& state, const DisplayOptions& options,
                                       QObject* parent)
    : QAbstractTableModel(parent), state_(state), options_(options),
      columns_(kerbina::columnCount(state, options)) {}

int QuotationGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : gridRows_;
}

int QuotationGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant QuotationGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    // Painting must never throw into the event loop: a value too large to show (a damaged file)
    // is marked the way spreadsheets mark it.
    try {
        return cellData(index, role);
    } catch (const std::exception&) {
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("########")) : QVariant();
    }
}

QVariant QuotationGridModel::cellData(const QModelIndex& index, int role) const {
    const int row = index.row() + 1;
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(cellText(state_, options_, row, column));
    case Qt::EditRole:
        return QString::fromStdString(cellEditText(state_, options_, row, column));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            toAlignment(cellStyle(state_, options_, row, column, false).alignment));
    case Qt::ForegroundRole:
        return QBrush(toColor(cellStyle(state_, options_, row, column, false).foreground));
    case Qt::BackgroundRole:
        if (const auto background = cellStyle(state_, options_, row, column, false).background) {
            return QBrush(toColor(*background));
        }
        return {};
    default:
        return {};
    }
}

QVariant QuotationGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return QString::fromStdString(headerText(state_, options_, section));
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole) {
        return section + 1;
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags QuotationGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return isCellEditable(state_, options_, index.row() + 1, index.column())
               ? flags | Qt::ItemIsEditable
               : flags;
}

// The model holds no texts: a typed text goes to the window, which writes the line through the
// core, and comes back with the next refresh.
bool QuotationGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) {
        return false;
    }
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString()) {
        return false;
    }
    emit cellTyped(index.row() + 1, index.column(), text);
    return true;
}

void QuotationGridModel::setGridRows(int rows) {
    if (rows == gridRows_) {
        return;
    }
    if (rows > gridRows_) {
        beginInsertRows(QModelIndex(), gridRows_, rows - 1);
        gridRows_ = rows;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), rows, gridRows_ - 1);
        gridRows_ = rows;
        endRemoveRows();
    }
}

void QuotationGridModel::rowsChanged(int first, int last) {
    last = std::min(last, gridRows_);
    if (first < 1 || first > last) {
        return;
    }
    emit dataChanged(index(first - 1, 0), index(last - 1, std::max(columns_ - 1, 0)));
}

void QuotationGridModel::rowsInserted(int first, int last) {
    const int shown = gridRows_;
    if (first < 1 || first > last || first > shown + 1) {
        return;
    }
    beginInsertRows(QModelIndex(), first - 1, last - 1);
    gridRows_ += last - first + 1;
    endInsertRows();
    setGridRows(shown);
}

void QuotationGridModel::rowsRemoved(int first, int last) {
    const int shown = gridRows_;
    last = std::min(last, gridRows_);
    if (first < 1 || first > last) {
        return;
    }
    beginRemoveRows(QModelIndex(), first - 1, last - 1);
    gridRows_ -= last - first + 1;
    endRemoveRows();
    setGridRows(shown);
}

void QuotationGridModel::refresh() {
    beginResetModel();
    columns_ = kerbina::columnCount(state_, options_);
    endResetModel();
}

} // namespace kerbina
