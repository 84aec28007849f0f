#include "printviewer/preview_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kerbina {
namespace {

// Preview pages are drawn at about 100 dpi: 0.1 mm painting units times this.
constexpr double kPreviewScale = 100.0 / 254.0;

QPixmap pageImage(const PageDocument& document, int index) {
    QImage image(static_cast<int>(document.pageWidth() * kPreviewScale),
                 static_cast<int>(document.pageHeight() * kPreviewScale), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setWindow(0, 0, document.pageWidth(), document.pageHeight());
    document.paint(painter, index);
    return QPixmap::fromImage(image);
}

} // namespace

PreviewWindow::PreviewWindow(std::unique_ptr<PageDocument> document, QWidget* parent)
    : QWidget(parent), document_(std::move(document)) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    auto* printButton = new QPushButton(QStringLiteral("印刷"), this);
    auto* pdfButton = new QPushButton(QStringLiteral("PDF保存"), this);
    auto* closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    connect(printButton, &QPushButton::clicked, this, &PreviewWindow::print);
    connect(pdfButton, &QPushButton::clicked, this, [this] { saveAsPdf(); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(printButton);
    buttons->addWidget(pdfButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto* sheetArea = new QWidget;
    auto* sheetLayout = new QVBoxLayout(sheetArea);
    sheetLayout->setSpacing(16);
    for (int page = 0; page < document_->pageCount(); ++page) {
        auto* label = new QLabel;
        label->setPixmap(pageImage(*document_, page));
        label->setFrameShape(QFrame::Box);
        sheetLayout->addWidget(label, 0, Qt::AlignHCenter);
    }
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(sheetArea);
    scroll->setAlignment(Qt::AlignHCenter);
    scroll->setBackgroundRole(QPalette::Dark);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(scroll);
    resize(static_cast<int>(document_->pageWidth() * kPreviewScale) + 120, 900);
}

void PreviewWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(document_->landscape() ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait);
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("印刷を開始できませんでした。"));
        return;
    }
    for (int page = 0; page < document_->pageCount(); ++page) {
        if (page > 0) {
            printer.newPage();
        }
        painter.setWindow(0, 0, document_->pageWidth(), document_->pageHeight());
        painter.setViewport(0, 0, printer.width(), printer.height());
        document_->paint(painter, page);
    }
    painter.end();
}

void PreviewWindow::saveAsPdf() {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("PDF保存"), QString(),
                                                      QStringLiteral("PDFファイル (*.pdf)"));
    if (!file.isEmpty()) {
        saveAsPdf(file);
    }
}

bool PreviewWindow::saveAsPdf(const QString& file) {
    if (writePdf(*document_, file)) {
        return true;
    }
    QMessageBox::warning(this, windowTitle(),
                         QStringLiteral("PDFファイルを書き込めませんでした: ") + file);
    return false;
}

} // namespace kerbina
