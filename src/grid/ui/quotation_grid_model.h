#pragma once

#include "grid/grid_cells.h"

#include <QAbstractTableModel>

namespace kerbina {

// The only place that knows how the open quotation maps to grid rows: a view over the document
// that builds every cell text on demand. Grid row n (1..) is model row n - 1 and shows row n of
// the page in front (line n of the open sheet, item n of the breakdown list); row 0 of the grid is
// the horizontal header. The model holds no texts: the window tells it which rows a command
// changed, and calls refresh() when the whole page is shown anew.
class QuotationGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    QuotationGridModel(const DocumentState& state, const DisplayOptions& options,
                       QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Rows shown, never fewer than the lines (or items) of the page in front.
    int gridRows() const { return gridRows_; }
    void setGridRows(int rows);
    // Repaints everything: texts, headers, column count.
    void refresh();
    // Rows first..last of the page in front changed: they are repainted. Inserted: the rows from
    // `first` on moved down; removed: the rows below `last` moved up. The number of rows shown
    // stays: the rows below fill up or drop off at the bottom.
    void rowsChanged(int first, int last);
    void rowsInserted(int first, int last);
    void rowsRemoved(int first, int last);

    const DocumentState& state() const { return state_; }

signals:
    // Text typed into an editable cell (grid row from 1); the window writes the line.
    void cellTyped(int row, int column, const QString& text);

public:
    const DisplayOptions& options() const { return options_; }

private:
    QVariant cellData(const QModelIndex& index, int role) const;

    const DocumentState& state_;
    const DisplayOptions& options_;
    int gridRows_ = 101;
    int columns_ = 0;
};

} // namespace kerbina
