#include "grid/ui/quotation_grid_model.h"
#include "records/line_kinds.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <limits>

namespace kerbina {
namespace {

TEST(QuotationGridModel, ShowsTheDocumentAndMarksValuesTooLargeToShow) {
    DocumentState state;
    DisplayOptions options;
    LineRecord line = newLine();
    line.nameSpec = "鋼管;SGP 25A";
    line.submittedQuantity = Currency::fromWhole(12);
    line.submittedPrice = Currency::fromWhole(2000);
    line.submittedAmount = Currency::fromWhole(24000);
    state.sheet.push_back(line);
    LineRecord huge = line;
    huge.submittedQuantity = Currency::fromRaw(std::numeric_limits<std::int64_t>::max());
    huge.submittedAdditionalPrice = Currency::fromWhole(1000);
    state.sheet.push_back(huge);

    QuotationGridModel model(state, options);
    EXPECT_EQ(model.columnCount(), 10);
    EXPECT_EQ(model.rowCount(), 101);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("名  称＆品　名"));
    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("鋼管"));
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("SGP 25A"));
    EXPECT_EQ(model.index(0, 8).data().toString(), QStringLiteral("24,000"));
    EXPECT_EQ(model.index(0, 8).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);

    // The additional-price view multiplies quantity and additional price: beyond the money range
    // the cell is marked instead of the paint throwing.
    options.additionalView = true;
    model.refresh();
    EXPECT_EQ(model.index(1, 8).data().toString(), QStringLiteral("########"));
}

// Rows a command changed are repainted alone; rows inserted or removed move the rows below them, as
// far as the grid goes, and the grid keeps the number of rows it shows.
TEST(QuotationGridModel, RepaintsMovesAndKeepsRowsWithoutAReset) {
    DocumentState state;
    DisplayOptions options;
    QuotationGridModel model(state, options);
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

    model.rowsChanged(3, 4);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 2);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 3);
    EXPECT_EQ(changed[0][1].toModelIndex().column(), model.columnCount() - 1);

    model.rowsInserted(2, 3);
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 1);
    EXPECT_EQ(inserted[0][2].toInt(), 2);
    // The two rows that dropped off at the bottom.
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 101);
    EXPECT_EQ(model.rowCount(), 101);

    model.rowsRemoved(5, 5);
    ASSERT_EQ(removed.size(), 2);
    EXPECT_EQ(removed[1][1].toInt(), 4);
    EXPECT_EQ(model.rowCount(), 101);
    EXPECT_EQ(inserted.size(), 2); // the row that fills up at the bottom

    // Past the rows shown nothing is told.
    model.rowsChanged(150, 160);
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(resets.size(), 0);
}

} // namespace
} // namespace kerbina
