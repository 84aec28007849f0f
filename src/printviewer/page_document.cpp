#include "printviewer/page_document.h"

#include "base/file_io.h"
#include "base/path_text.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

// Texts shrink to this part of their size before they wrap onto more lines.
constexpr double kSmallestShrink = 0.7;
constexpr double kSmallestWrapped = 8;

} // namespace

QStringList japaneseFontFamilies() {
    return {QStringLiteral("DejaVu Sans"), QStringLiteral("IPAGothic"), QStringLiteral("Meiryo"),
            QStringLiteral("Noto Sans CJK JP")};
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
    // While a preview is still laying pages out, their number is not known yet.
    const QString count =
        document.laidOut() ? QString::number(document.pageCount()) : QStringLiteral("…");
    drawFitted(painter, QRectF(0, document.pageHeight() - 140, document.pageWidth(), 60),
               QString::number(index + 1) + QStringLiteral(" / ") + count, Qt::AlignHCenter, 28);
}

void writePdf(PageDocument& document, const fs::path& file, const std::vector<fs::path>& inputs) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status)) {
            throw FileError("通常のファイルではないため書き込めません: " + pathText(file));
        }
        for (const fs::path& input : inputs) {
            if (fs::equivalent(file, input, error)) {
                throw FileError("印刷するファイルと同じファイルには書き込めません: " +
                                pathText(file));
            }
        }
    }
    document.layOutAll();
    // The PDF is made in memory: the atomic writer then puts it beside the target, checks every
    // write and the close, and renames it over the target only when it is whole.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4),
                    document.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                    QMarginsF(0, 0, 0, 0)));
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("Kerbina printviewer"));
    writer.setTitle(document.title());
    QPainter painter;
    if (!painter.begin(&writer)) {
        throw FileError("PDFを作成できませんでした: " + pathText(file));
    }
    for (int page = 0; page < document.pageCount(); ++page) {
        if (page > 0) {
            writer.newPage();
        }
        painter.setWindow(0, 0, document.pageWidth(), document.pageHeight());
        painter.setViewport(0, 0, writer.width(), writer.height());
        document.paint(painter, page);
    }
    if (!painter.end()) {
        throw FileError("PDFを作成できませんでした: " + pathText(file));
    }
    const QByteArray& bytes = pdf.data();
    writeFileAtomically(
        file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace kerbina
