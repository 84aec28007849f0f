#include "quotation_fixture.h"

#include "records/line_kinds.h"

#include <random>

namespace kerbina::bench {

namespace {

Currency whole(std::int64_t value) {
    return Currency::fromWhole(value);
}

LineRecord priced(int row) {
    LineRecord line = newLine();
    line.nameSpec = "配管用炭素鋼鋼管;SGP " + std::to_string(15 + row % 50) + "A";
    line.unit = "ｍ";
    line.kind = row % 7 == 0 ? LineKind::DecimalPriced
                             : (row % 11 == 0 ? LineKind::WholeReduction : LineKind::WholePriced);
    line.netQuantity = Currency::fromRaw(10000 * (1 + row % 30) +
                                         (line.kind == LineKind::DecimalPriced ? 2500 : 0));
    line.submittedQuantity = line.netQuantity;
    line.netPrice = whole(800 + row % 97 * 13);
    line.submittedPrice = whole(1000 + row % 97 * 17);
    line.laborFactor = Currency::fromRaw(1234);
    line.netAdditionalPrice = whole(40);
    line.submittedAdditionalPrice = whole(55);
    line.priceKind = row % 13 == 0 ? whole(1) : Currency();
    line.sortCode = sortCodeOfGroup(1 + row % 6);
    return line;
}

LineRecord special(LineKind kind, const char* name, Currency net, Currency submitted) {
    LineRecord line = newLine();
    line.kind = kind;
    line.nameSpec = name;
    line.netQuantity = net;
    line.submittedQuantity = submitted;
    return line;
}

} // namespace

Sheet mixedSheet(int lines) {
    Sheet sheet{LineRecord{}};
    const int body = lines - 6;
    int blockStart = 1;
    for (int row = 1; row <= body; ++row) {
        if (row % 40 == 0) {
            sheet.push_back(special(LineKind::SmallSum, "小計", Currency(), Currency()));
            blockStart = row + 1;
        } else if (row % 40 == 39) {
            LineRecord range = special(LineKind::RangeTotalShowingItems, "範囲計",
                                       whole(blockStart), whole(row - 1));
            sheet.push_back(range);
        } else if (row % 40 == 38) {
            LineRecord range =
                special(LineKind::RangeAmountTimesRate.code() + 1, "指定範囲内単価合計×掛率",
                        whole(blockStart), whole(row - 1));
            range.netPrice = whole(3);
            range.submittedPrice = whole(5);
            range.laborFactor = whole(2);
            sheet.push_back(range);
        } else if (row % 40 == 20) {
            sheet.push_back(special(LineKind::Comment, "コメント", Currency(), Currency()));
        } else {
            sheet.push_back(priced(row));
        }
    }
    sheet.push_back(special(LineKind::ExpenseOnTotal, "諸経費", whole(5), whole(8)));
    sheet.push_back(special(LineKind::ExpenseOnTotalRoundedOff, "現場管理費", whole(3), whole(4)));
    LineRecord welfare = special(LineKind::Welfare, "法定福利費", whole(15), whole(16));
    welfare.netPrice = whole(30);
    welfare.submittedPrice = whole(30);
    welfare.submittedAdditionalPrice = whole(100);
    sheet.push_back(welfare);
    sheet.push_back(special(LineKind::WelfareSum, "法定福利計", Currency(), Currency()));
    sheet.push_back(special(LineKind::SumLine, "合計", Currency(), Currency()));
    sheet.push_back(special(LineKind::Tax, "消費税", whole(10), whole(10)));
    return sheet;
}

QuotationData mixedQuotation(int sheets, int lines) {
    QuotationData data;
    data.header = newHeader(2026, 12, 10);
    data.header.addressee1 = "山田建設株式会社";
    data.items = ItemList{ItemRecord{}};
    data.sheets.resize(static_cast<std::size_t>(sheets) + 1);
    for (int n = 1; n <= sheets; ++n) {
        ItemRecord item = newSheetItem();
        item.name = "工事項目" + std::to_string(n);
        item.setQuantityDecimals = whole(100);
        data.items.push_back(item);
        data.sheets[static_cast<std::size_t>(n)] = mixedSheet(lines);
    }
    data.taxOffset = Currency();
    return data;
}

ScratchFolder::ScratchFolder()
    : path_(std::filesystem::temp_directory_path() /
            ("kerbina_bench_" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace kerbina::bench
