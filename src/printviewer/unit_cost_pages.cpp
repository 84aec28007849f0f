#include "printviewer/unit_cost_pages.h"

#include "base/text.h"

#include <QPainter>
#include <algorithm>

namespace kerbina {
namespace {

constexpr int kMargin = 100;
constexpr int kTableTop = 300;
constexpr int kRowHeight = 100;
constexpr int kTextSize = 22;

struct Column {
    const char* caption;
    int width;
    Qt::Alignment alignment;
};

// "No", then the 27 fields the list shows (fields 2 to 28); the printed field 29 goes with the
// note.
constexpr Column kColumns[] = {
    {"No", 60, Qt::AlignHCenter},       {"名  称", 200, Qt::AlignLeft},
    {"用　途", 110, Qt::AlignLeft},     {"種　別", 110, Qt::AlignLeft},
    {"摘　要", 140, Qt::AlignLeft},     {"規　格", 140, Qt::AlignLeft},
    {"単位", 55, Qt::AlignHCenter},     {"採用単価", 100, Qt::AlignRight},
    {"単価", 100, Qt::AlignRight},      {"補給数量(%)", 70, Qt::AlignRight},
    {"補給数量", 85, Qt::AlignRight},   {"管継手(%)", 70, Qt::AlignRight},
    {"管継手", 85, Qt::AlignRight},     {"接合材(%)", 70, Qt::AlignRight},
    {"接合材", 85, Qt::AlignRight},     {"支持材", 85, Qt::AlignRight},
    {"支持材(%)", 70, Qt::AlignRight},  {"材料費", 100, Qt::AlignRight},
    {"工数", 70, Qt::AlignRight},       {"基礎工費", 95, Qt::AlignRight},
    {"金額", 100, Qt::AlignRight},      {"はつり補修(%)", 70, Qt::AlignRight},
    {"はつり補修", 85, Qt::AlignRight}, {"労務費", 100, Qt::AlignRight},
    {"その他(%)", 70, Qt::AlignRight},  {"その他", 85, Qt::AlignRight},
    {"複合単価", 110, Qt::AlignRight},  {"備　考", 250, Qt::AlignLeft},
};
constexpr std::size_t kNoteColumn = std::size(kColumns) - 1;

} // namespace

UnitCostPages::UnitCostPages(std::vector<std::string> lines) {
    for (const std::string& line : lines) {
        if (trimBlanks(line).empty()) {
            continue;
        }
        std::vector<std::string> cells;
        for (const std::string_view field : splitFields(line, ';')) {
            cells.emplace_back(trimBlanks(field));
        }
        cells.resize(std::max(cells.size(), kNoteColumn + 2));
        // Field 29 is printed with the note.
        std::string& note = cells[kNoteColumn];
        const std::string& extra = cells[kNoteColumn + 1];
        if (!extra.empty()) {
            note += note.empty() ? extra : "　" + extra;
        }
        cells.resize(kNoteColumn + 1);
        entries_.push_back(std::move(cells));
    }
}

int UnitCostPages::pageCount() const {
    return std::max(1, static_cast<int>((entries_.size() + kEntriesPerPage - 1) / kEntriesPerPage));
}

QString UnitCostPages::title() const {
    return QStringLiteral("代価表");
}

void UnitCostPages::paint(QPainter& painter, int index) const {
    painter.save();
    painter.setPen(Qt::black);
    const int width = pageWidth() - 2 * kMargin;
    drawFitted(painter, QRectF(kMargin, 130, width, 100), QStringLiteral("代　価　表"),
               Qt::AlignHCenter, 64, true);
    drawFitted(painter, QRectF(kMargin + width - 400, 150, 400, 70),
               QStringLiteral("P-") + QString::number(index + 1), Qt::AlignRight, 40, true);

    const std::size_t first = static_cast<std::size_t>(index) * kEntriesPerPage;
    const std::size_t last = std::min(entries_.size(), first + kEntriesPerPage);
    const int rows = static_cast<int>(last - std::min(first, last)) + 1;
    painter.fillRect(QRectF(kMargin, kTableTop, width, kRowHeight), QColor(230, 232, 238));
    double x = kMargin;
    for (const Column& column : kColumns) {
        drawFitted(painter, QRectF(x + 6, kTableTop, column.width - 12, kRowHeight),
                   QString::fromUtf8(column.caption), Qt::AlignHCenter, kTextSize, true);
        x += column.width;
    }
    for (std::size_t entry = first; entry < last; ++entry) {
        const double top = kTableTop + static_cast<double>(entry - first + 1) * kRowHeight;
        x = kMargin;
        for (std::size_t c = 0; c < std::size(kColumns); ++c) {
            const std::string& text = entries_[entry][c];
            drawFitted(painter, QRectF(x + 6, top, kColumns[c].width - 12, kRowHeight),
                       QString::fromStdString(text), kColumns[c].alignment, kTextSize);
            x += kColumns[c].width;
        }
    }
    const double bottom = kTableTop + rows * kRowHeight;
    painter.setPen(QPen(Qt::black, 2));
    for (int r = 1; r < rows; ++r) {
        const double y = kTableTop + r * kRowHeight;
        painter.drawLine(QPointF(kMargin, y), QPointF(kMargin + width, y));
    }
    x = kMargin;
    for (std::size_t c = 0; c + 1 < std::size(kColumns); ++c) {
        x += kColumns[c].width;
        painter.drawLine(QPointF(x, kTableTop), QPointF(x, bottom));
    }
    painter.setPen(QPen(Qt::black, 5));
    painter.drawRect(QRectF(kMargin, kTableTop, width, bottom - kTableTop));
    drawPageNumber(painter, *this, index);
    painter.restore();
}

} // namespace kerbina
