#include "printviewer/quotation_pages.h"

#include "base/conf_file.h"
#include "base/text.h"
#include "calc/cost_split.h"
#include "calc/totals.h"
#include "document/quotation_file.h"
#include "document/work_store.h"
#include "grid/grid_cells.h"
#include "money/rounding.h"
#include "output/print_data.h"
#include "records/kinds.h"
#include "settings/main_settings.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <optional>
#include <span>

namespace kerbina {
namespace {

// Layout in 0.1 mm.
constexpr int kMargin = 150;
constexpr int kContentWidth = QuotationPages::kPageWidth - 2 * kMargin;
constexpr int kTableTop = 380;
constexpr int kRowHeight = 62;
constexpr int kTableBottom = QuotationPages::kPageHeight - 200;
constexpr int kRowsPerPage = (kTableBottom - kTableTop) / kRowHeight - 1; // less the header row
constexpr int kCellPadding = 12;
constexpr int kTableTextSize = 30;

struct Column {
    const char* caption;
    int width;
    Qt::Alignment alignment;
};

constexpr Column kBreakdownColumns[] = {
    {"No", 80, Qt::AlignHCenter},      {"名　　称", 760, Qt::AlignLeft},
    {"金　　額", 300, Qt::AlignRight}, {"内訳金額", 300, Qt::AlignRight},
    {"備　　考", 360, Qt::AlignLeft},
};
// With the cost split the breakdown gives room to four more amount columns.
constexpr Column kSplitBreakdownColumns[] = {
    {"No", 70, Qt::AlignHCenter},        {"名　　称", 400, Qt::AlignLeft},
    {"金　　額", 220, Qt::AlignRight},   {"内訳金額", 180, Qt::AlignRight},
    {"材料費", 180, Qt::AlignRight},     {"労務費", 180, Qt::AlignRight},
    {"法定福利費", 180, Qt::AlignRight}, {"経費", 180, Qt::AlignRight},
    {"備　　考", 210, Qt::AlignLeft},
};
constexpr Column kDetailColumns[] = {
    {"名　　称", 420, Qt::AlignLeft}, {"仕　　様", 380, Qt::AlignLeft},
    {"数　量", 160, Qt::AlignRight},  {"単位", 90, Qt::AlignHCenter},
    {"単　価", 220, Qt::AlignRight},  {"金　　額", 260, Qt::AlignRight},
    {"備　　考", 270, Qt::AlignLeft},
};

struct TableRow {
    std::vector<std::string> cells;
    bool emphasis = false;
};

enum class PageKind { Cover, Breakdown, Detail };

struct Page {
    PageKind kind = PageKind::Cover;
    std::size_t quotation = 0;
    std::string subtitle;
    std::vector<TableRow> rows;
};

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

std::string moneyText(Currency value) {
    return "¥" + wholeYenText(value);
}

std::string dateText(const QuotationHeader& header, bool japaneseEra) {
    if (header.storedYear <= 0 || header.month <= 0 || header.day <= 0) {
        return {};
    }
    const int year = header.storedYear + 1988;
    if (japaneseEra) {
        return japaneseEraDateText(year, header.month, header.day);
    }
    return std::to_string(year) + "年" + std::to_string(header.month) + "月" +
           std::to_string(header.day) + "日";
}

// Titles and the lines that close a block of lines stand out.
bool isEmphasised(LineKind kind) {
    return kind == LineKind::Title || kind == LineKind::SmallSum || kind == LineKind::MidSum ||
           kind == LineKind::Tax || kind == LineKind::WelfareSum || isRangeTotal(kind);
}

// A split amount as the breakdown prints amounts: taken-off amounts with the reduction mark, no
// text for nothing.
std::string splitText(Currency value, const PrintSettings& settings) {
    if (value.isZero()) {
        return {};
    }
    return value < Currency() ? settings.reductionMark + wholeYenText(-value) : wholeYenText(value);
}

std::vector<TableRow> breakdownRows(const QuotationData& quotation, const PrintSettings& settings,
                                    const QuotationCostSplit* split) {
    DocumentState state;
    state.header = quotation.header;
    state.items = quotation.items;
    // The sum item shows the grand totals, which the header carries.
    state.allSubmittedTotal = quotation.header.submittedGrandTotal;
    state.allNetTotal = quotation.header.netGrandTotal;
    DisplayOptions options;
    options.listMode = true;
    options.reductionMark = settings.reductionMark;
    std::vector<TableRow> rows;
    for (int n = 1; n <= quotation.itemMax(); ++n) {
        std::string breakdown = cellText(state, options, n, 4);
        if (breakdown.find("～") != std::string::npos) {
            breakdown.clear(); // a range of rows, not an amount
        }
        TableRow row{{std::to_string(n), cellText(state, options, n, 2),
                      cellText(state, options, n, 3), breakdown}};
        if (split != nullptr) {
            const std::optional<CostSplit>& part = split->items[static_cast<std::size_t>(n)];
            if (part) {
                for (Currency value :
                     {part->material, part->labor, part->welfare, part->expenses}) {
                    row.cells.push_back(splitText(value, settings));
                }
            } else {
                row.cells.insert(row.cells.end(), 4, std::string());
            }
        }
        row.cells.push_back(cellText(state, options, n, 8));
        row.emphasis = !ownsSheet(quotation.items[static_cast<std::size_t>(n)].kind);
        rows.push_back(std::move(row));
    }
    return rows;
}

// The rows of one sheet. `state` holds the quotation's header and items; the sheet and its
// settings are put into it here, so that laying out every sheet copies the item list only once.
std::vector<TableRow> detailRows(DocumentState& state, const QuotationData& quotation, int item,
                                 const PrintSettings& settings) {
    state.sheet = quotation.sheets[static_cast<std::size_t>(item)];
    state.currentSheetNumber = item;
    loadSheetSettings(state, item);
    DisplayOptions options;
    options.reductionMark = settings.reductionMark;
    std::vector<TableRow> rows;
    for (std::size_t n = 1; n < state.sheet.size(); ++n) {
        const LineRecord& line = state.sheet[n];
        if (line.hiddenFlag == 1) {
            continue;
        }
        if (line.kind == LineKind::Empty) {
            rows.push_back(TableRow{{"", "", "", "", "", "", ""}});
            continue;
        }
        if (line.kind == LineKind::SumLine) {
            rows.push_back(TableRow{
                {"合　　計", "", "", "", "",
                 wholeYenText(quotation.items[static_cast<std::size_t>(item)].submittedTotal), ""},
                true});
            continue;
        }
        const LineCells cells = lineCells(state, options, line);
        TableRow row{{cells.name, cells.specification, cells.quantity, cells.unit, cells.price,
                      cells.amount, cells.note}};
        row.emphasis = isEmphasised(line.kind);
        rows.push_back(std::move(row));
    }
    while (!rows.empty() && std::all_of(rows.back().cells.begin(), rows.back().cells.end(),
                                        [](const std::string& cell) { return cell.empty(); })) {
        rows.pop_back();
    }
    return rows;
}

} // namespace

struct QuotationPages::Data {
    PrintSettings settings;
    std::vector<QuotationData> quotations;
    // By quotation, once its cover is laid out: what its grand total is made of, for the cover's
    // tax and welfare and, with the option, the breakdown's cost columns.
    std::vector<QuotationCostSplit> splits;
    std::vector<Page> pages;

    // Where the layout goes on: the quotation, and in it the cover (-1), the breakdown (0) or the
    // first item from which a sheet is still to come.
    std::size_t nextQuotation = 0;
    int nextPart = -1;
    // The header and items of the quotation being laid out, for the cells of its sheets.
    DocumentState sheetState;

    void addTable(PageKind kind, std::size_t quotation, const std::string& subtitle,
                  const std::vector<TableRow>& rows) {
        std::size_t first = 0;
        do {
            Page page{kind, quotation, subtitle, {}};
            const std::size_t end = std::min(rows.size(), first + kRowsPerPage);
            page.rows.assign(rows.begin() + static_cast<std::ptrdiff_t>(first),
                             rows.begin() + static_cast<std::ptrdiff_t>(end));
            pages.push_back(std::move(page));
            first = end;
        } while (first < rows.size());
    }

    bool layOutStep();
    void paintCover(QPainter& painter, std::size_t index) const;
    void paintTable(QPainter& painter, const Page& page, int number) const;
};

// One part of the layout: a cover, a breakdown or one sheet. Each costs time in proportion to the
// rows it lays out, so the whole layout is linear in the size of the quotations.
bool QuotationPages::Data::layOutStep() {
    if (nextQuotation >= quotations.size()) {
        return false;
    }
    const std::size_t index = nextQuotation;
    const QuotationData& quotation = quotations[index];
    if (nextPart < 0) {
        splits.push_back(quotationCostSplit(quotation, settings.calc));
        pages.push_back(Page{PageKind::Cover, index, {}, {}});
        nextPart = 0;
    } else if (nextPart == 0) {
        addTable(PageKind::Breakdown, index, {},
                 breakdownRows(quotation, settings, settings.costSplit ? &splits[index] : nullptr));
        sheetState = DocumentState{};
        sheetState.header = quotation.header;
        sheetState.items = quotation.items;
        nextPart = 1;
    } else {
        const auto hasSheet = [&quotation](int item) {
            const std::size_t slot = static_cast<std::size_t>(item);
            return ownsSheet(quotation.items[slot].kind) && slot < quotation.sheets.size() &&
                   quotation.sheets[slot].size() > 1;
        };
        while (nextPart <= quotation.itemMax() && !hasSheet(nextPart)) {
            ++nextPart;
        }
        if (nextPart <= quotation.itemMax()) {
            addTable(PageKind::Detail, index,
                     quotation.items[static_cast<std::size_t>(nextPart)].name,
                     detailRows(sheetState, quotation, nextPart, settings));
            ++nextPart;
        }
    }
    if (nextPart > quotation.itemMax()) {
        sheetState = DocumentState{};
        ++nextQuotation;
        nextPart = -1;
    }
    return nextQuotation < quotations.size();
}

QuotationPages::QuotationPages(PrintSettings settings) : data_(std::make_unique<Data>()) {
    data_->settings = std::move(settings);
}
QuotationPages::~QuotationPages() = default;
QuotationPages::QuotationPages(QuotationPages&&) noexcept = default;
QuotationPages& QuotationPages::operator=(QuotationPages&&) noexcept = default;

void QuotationPages::add(QuotationData quotation) {
    data_->quotations.push_back(std::move(quotation));
}

bool QuotationPages::layOutMore() {
    return data_->layOutStep();
}

bool QuotationPages::laidOut() const {
    return data_->nextQuotation >= data_->quotations.size();
}

QString QuotationPages::title() const {
    return QStringLiteral("御見積書");
}

int QuotationPages::pageCount() const {
    return static_cast<int>(data_->pages.size());
}

void QuotationPages::paint(QPainter& painter, int index) const {
    const Page& page = data_->pages.at(static_cast<std::size_t>(index));
    painter.save();
    painter.setPen(Qt::black);
    if (page.kind == PageKind::Cover) {
        data_->paintCover(painter, page.quotation);
    } else {
        data_->paintTable(painter, page, index + 1);
    }
    drawPageNumber(painter, *this, index);
    painter.restore();
}

void QuotationPages::Data::paintCover(QPainter& painter, std::size_t index) const {
    const QuotationData& quotation = quotations[index];
    const QuotationHeader& header = quotation.header;
    QPen thin(Qt::black, 3);
    QPen thick(Qt::black, 8);

    drawFitted(painter, QRectF(kMargin, 200, kContentWidth, 130), QStringLiteral("御　見　積　書"),
               Qt::AlignHCenter, 100, true);
    painter.setPen(thick);
    painter.drawLine(QPointF(650, 345), QPointF(1450, 345));
    painter.setPen(thin);
    painter.drawLine(QPointF(650, 362), QPointF(1450, 362));

    // Number and date, top right.
    drawFitted(painter, QRectF(1300, 430, 650, 50), qs("No. " + header.number), Qt::AlignRight, 32);
    drawFitted(painter, QRectF(1300, 485, 650, 50), qs(dateText(header, settings.japaneseEra)),
               Qt::AlignRight, 32);

    // Addressee with honorific.
    const QString addresseeLine =
        qs(header.addressee2.empty() ? header.addressee1 + "　" + header.honorific
                                     : header.addressee1);
    drawFitted(painter, QRectF(kMargin, 430, 1050, 80), addresseeLine, Qt::AlignLeft, 55, true);
    if (!header.addressee2.empty()) {
        drawFitted(painter, QRectF(kMargin, 510, 1050, 80),
                   qs(header.addressee2 + "　" + header.honorific), Qt::AlignLeft, 55, true);
    }
    painter.setPen(thin);
    painter.drawLine(QPointF(kMargin, 600), QPointF(1200, 600));

    drawFitted(painter, QRectF(kMargin, 680, kContentWidth, 60),
               QStringLiteral("下記の通り御見積申し上げます。"), Qt::AlignLeft, 34);

    // The amount box.
    const QRectF box(kMargin, 780, 1300, 150);
    painter.setPen(thick);
    painter.drawRect(box);
    drawFitted(painter, QRectF(box.left() + 30, box.top(), 330, box.height()),
               QStringLiteral("御見積金額"), Qt::AlignLeft, 46, true);
    drawFitted(painter, QRectF(box.left() + 360, box.top(), 780, box.height()),
               qs(moneyText(header.submittedGrandTotal) + "－"), Qt::AlignRight, 72, true);
    drawFitted(painter, QRectF(box.left() + 1150, box.top(), 140, box.height()),
               QStringLiteral("(税込)"), Qt::AlignLeft, 30);
    // The tax and the welfare of the breakdown list, as the breakdown page prints them and as far
    // as the grand total holds them.
    const QuotationCostSplit& split = splits[index];
    std::string breakdown = "（税抜金額 " + moneyText(header.submittedGrandTotal - split.tax) +
                            "　消費税額 " + moneyText(split.tax);
    if (!split.welfare.isZero()) {
        breakdown += "　うち法定福利費 " + moneyText(split.welfare);
    }
    breakdown += "）";
    drawFitted(painter, QRectF(kMargin, 950, kContentWidth, 60), qs(breakdown), Qt::AlignLeft, 32);
    if (settings.costSplit) {
        const CostSplit& total = split.total;
        const std::string costs = "（材料費 " + moneyText(total.material) + "　労務費 " +
                                  moneyText(total.labor) + "　法定福利費 " +
                                  moneyText(total.welfare) + "　経費 " + moneyText(total.expenses) +
                                  "）";
        drawFitted(painter, QRectF(kMargin, 1015, kContentWidth, 60), qs(costs), Qt::AlignLeft, 32);
    }

    // The quotation's terms.
    const std::pair<std::string, std::string> terms[] = {
        {settings.workTitle, header.workName},
        {settings.siteTitle, header.siteName1},
        {"", header.siteName2},
        {"納入期日", header.deliveryDate},
        {"取引条件", header.tradeTerms},
        {"見積有効期限", header.validity},
        {"御依頼者", header.requester},
        {"見積作成者", header.author},
    };
    double y = 1100;
    for (const auto& [caption, value] : terms) {
        if (caption.empty() && value.empty()) {
            continue;
        }
        drawFitted(painter, QRectF(kMargin + 20, y, 330, 90), qs(caption), Qt::AlignLeft, 36);
        drawFitted(painter, QRectF(kMargin + 380, y, 1400, 90), qs(value), Qt::AlignLeft, 36);
        painter.setPen(thin);
        painter.drawLine(QPointF(kMargin, y + 90), QPointF(kMargin + kContentWidth, y + 90));
        y += 100;
    }

    // The company's letterhead, bottom right.
    double line = 2080;
    for (std::size_t n = 0; n < settings.letterhead.size(); ++n) {
        const bool name = n == 0;
        drawFitted(painter, QRectF(1000, line, 950, name ? 80 : 55), qs(settings.letterhead[n]),
                   Qt::AlignLeft, name ? 48 : 30, name);
        line += name ? 90 : 55;
    }
}

void QuotationPages::Data::paintTable(QPainter& painter, const Page& page, int) const {
    const QuotationData& quotation = quotations[page.quotation];
    const bool detail = page.kind == PageKind::Detail;
    std::span<const Column> columns = kBreakdownColumns;
    if (detail) {
        columns = kDetailColumns;
    } else if (settings.costSplit) {
        columns = kSplitBreakdownColumns;
    }

    drawFitted(painter, QRectF(kMargin, 170, kContentWidth, 90),
               detail ? QStringLiteral("明　細　書") : QStringLiteral("内　訳　書"),
               Qt::AlignHCenter, 64, true);
    drawFitted(painter, QRectF(kMargin + 1300, 180, 500, 50), qs("No. " + quotation.header.number),
               Qt::AlignRight, 28);
    const std::string subtitle = detail ? page.subtitle : quotation.header.workName;
    drawFitted(painter, QRectF(kMargin, 280, 1300, 70), qs(subtitle), Qt::AlignLeft, 38, true);

    QPen thin(Qt::black, 2);
    QPen frame(Qt::black, 5);
    const int rows = static_cast<int>(page.rows.size()) + 1;
    const double bottom = kTableTop + rows * kRowHeight;
    // Header row shaded, then every row ruled.
    painter.fillRect(QRectF(kMargin, kTableTop, kContentWidth, kRowHeight), QColor(230, 232, 238));
    double x = kMargin;
    for (const Column& column : columns) {
        drawFitted(painter,
                   QRectF(x + kCellPadding, kTableTop, column.width - 2 * kCellPadding, kRowHeight),
                   QString::fromUtf8(column.caption), Qt::AlignHCenter, kTableTextSize, true);
        x += column.width;
    }
    for (int r = 0; r < static_cast<int>(page.rows.size()); ++r) {
        const TableRow& row = page.rows[static_cast<std::size_t>(r)];
        const double top = kTableTop + (r + 1) * kRowHeight;
        x = kMargin;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const QString text = c < row.cells.size() ? qs(row.cells[c]) : QString();
            painter.setPen(Qt::black);
            drawFitted(
                painter,
                QRectF(x + kCellPadding, top, columns[c].width - 2 * kCellPadding, kRowHeight),
                text, columns[c].alignment, kTableTextSize, row.emphasis);
            x += columns[c].width;
        }
    }
    painter.setPen(thin);
    for (int r = 1; r < rows; ++r) {
        const double y = kTableTop + r * kRowHeight;
        painter.drawLine(QPointF(kMargin, y), QPointF(kMargin + kContentWidth, y));
    }
    x = kMargin;
    for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
        x += columns[c].width;
        painter.drawLine(QPointF(x, kTableTop), QPointF(x, bottom));
    }
    painter.setPen(frame);
    painter.drawRect(QRectF(kMargin, kTableTop, kContentWidth, bottom - kTableTop));
}

std::vector<QuotationData> requestedQuotations(const ViewerRequest& request,
                                               const std::filesystem::path& dataRoot) {
    std::vector<QuotationData> quotations;
    if (request.quotationFile) {
        // Recomputed with this machine's settings as the program opens it, then laid out from
        // the print file the program would write of it.
        SettingsSources sources;
        sources.settingsLines = readSettingsFileLines(dataRoot);
        const MainSettings settings = readSettings(MainSettings{}, sources);
        QuotationData data = readQuotationFile(*request.quotationFile);
        recalculateQuotation(data, settings.calc, settings.itemNameLine);
        quotations.push_back(asPrintFile(data, settings.itemNameLine));
    } else if (request.handoff) {
        for (const std::filesystem::path& file : printBatchFiles(request.handoff->dataRoot)) {
            quotations.push_back(readQuotationFile(file));
        }
    } else {
        DocumentState state;
        const std::filesystem::path workFolder = dataRoot / "temp";
        readHeaderFile(state, workFolder, "WRK");
        quotations.push_back(collectQuotation(state, workFolder));
    }
    return quotations;
}

} // namespace kerbina
