#include "printviewer/page_document.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace kerbina {
namespace {

// Texts shrink to this part of their size before they wrap onto more lines.
constexpr double kSmallestShrink = 0.7;
constexpr double kSmallestWrapped = 8;

} // namespace

QStringList japaneseFontFamilies() {
    return {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("IPAGothic"), QStringLiteral("Meiryo")};
}

QFont fontOfSize(double size, bool bold) {
    QFont font;
    font.setFamilies(japaneseFontFamilies());
    font.setPixelSize(std::max(1, static_cast<int>(size)));
    font.setBold(bold);
    return font;
}

void drawFitted(QPainter& painter, const QRectF& rect, const QString& text, Qt::Alignment alignment,
                double size, bool bold) {
    if (text.isEmpty()) {
        return;
    }
    const Qt::Alignment placed = alignment | Qt::AlignVCenter;
    for (double trying = size; trying >= size * kSmallestShrink; trying -= 1) {
        const QFont font = fontOfSize(trying, bold);
        if (QFontMetricsF(font).horizontalAdvance(text) <= rect.width()) {
            painter.setFont(font);
            painter.drawText(rect, static_cast<int>(placed), text);
            return;
        }
    }
    // Wrapped: as small as the row needs for every line to show.
    const int wrapped = static_cast<int>(placed | Qt::TextWrapAnywhere);
    for (double trying = size * kSmallestShrink;; trying -= 1) {
        const QFont font = fontOfSize(trying, bold);
        if (trying <= kSmallestWrapped ||
            QFontMetricsF(font).boundingRect(rect, wrapped, text).height() <= rect.height()) {
            painter.setFont(font);
            painter.drawText(rect, wrapped, text);
            return;
        }
    }
}

void drawPageNumber(QPainter& painter, const PageDocument& document, int index) {
    drawFitted(painter, QRectF(0, document.pageHeight() - 140, document.pageWidth(), 60),
               QString::number(index + 1) + QStringLiteral(" / ") +
                   QString::number(document.pageCount()),
               Qt::AlignHCenter, 28);
}

bool writePdf(const PageDocument& document, const QString& file) {
    QPdfWriter writer(file);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4),
                    document.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                    QMarginsF(0, 0, 0, 0)));
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("Kerbina printviewer"));
    writer.setTitle(document.title());
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    for (int page = 0; page < document.pageCount(); ++page) {
        if (page > 0) {
            writer.newPage();
        }
        painter.setWindow(0, 0, document.pageWidth(), document.pageHeight());
        painter.setViewport(0, 0, writer.width(), writer.height());
        document.paint(painter, page);
    }
    return painter.end();
}

} // namespace kerbina
