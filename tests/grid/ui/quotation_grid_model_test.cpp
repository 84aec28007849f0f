#include "grid/ui/quotation_grid_model.h"
#include "records/line_kinds.h"

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

} // namespace
} // namespace kerbina
