#include "printviewer/preview_window.h"

#include "base/file_io.h"
#include "base/path_text.h"

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
#include <QRect>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace kerbina {
namespace {

// Preview pages are drawn at about 100 dpi: 0.1 mm painting units times this.
constexpr double kPreviewScale = 100.0 / 254.0;
// Room around the page for the buttons, the scroll bar and the margins; and for the window frame
// and title bar, which the free area of the screen must hold too.
constexpr int kControlsWidth = 60;
constexpr int kControlsHeight = 90;
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;

QSize previewPageSize(const PageDocument& document) {
    return {static_cast<int>(document.pageWidth() * kPreviewScale),
            static_cast<int>(document.pageHeight() * kPreviewScale)};
}

QPixmap pageImage(const PageDocument& document, int index) {
    QImage image(previewPageSize(document), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setWindow(0, 0, document.pageWidth(), document.pageHeight());
    document.paint(painter, index);
    return QPixmap::fromImage(image);
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QSize previewWindowSize(const PageDocument& document, const QRect& available) {
    const QSize page = previewPageSize(document);
    return {std::min(page.width() + kControlsWidth, available.width() - kFrameWidth),
            std::min(page.height() + kControlsHeight, available.height() - kFrameHeight)};
}

PreviewWindow::PreviewWindow(std::unique_ptr<PageDocument> document,
                             std::filesystem::path suggestedPdf,
                             std::vector<std::filesystem::path> inputs, QWidget* parent)
    : QWidget(parent), document_(std::move(document)), suggestedPdf_(std::move(suggestedPdf)),
      inputs_(std::move(inputs)) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    auto* printButton = new QPushButton(QStringLiteral("印刷"), this);
    auto* pdfButton = new QPushButton(QStringLiteral("PDF保存"), this);
    auto* closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    previous_ = new QPushButton(QStringLiteral("前のページ"), this);
    next_ = new QPushButton(QStringLiteral("次のページ"), this);
    pageNumber_ = new QSpinBox(this);
    pageNumber_->setObjectName(QStringLiteral("pageNumber"));
    pageCount_ = new QLabel(this);
    pageCount_->setObjectName(QStringLiteral("pageCount"));
    connect(printButton, &QPushButton::clicked, this, &PreviewWindow::print);
    connect(pdfButton, &QPushButton::clicked, this, [this] { saveAsPdf(); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(previous_, &QPushButton::clicked, this, [this] { showPage(current_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { showPage(current_ + 1); });
    connect(pageNumber_, &QSpinBox::valueChanged, this, [this](int number) {
        if (number - 1 != current_) {
            showPage(number - 1);
        }
    });
    connect(new QShortcut(QKeySequence(Qt::Key_PageUp), this), &QShortcut::activated, this,
            [this] { showPage(current_ - 1); });
    connect(new QShortcut(QKeySequence(Qt::Key_PageDown), this), &QShortcut::activated, this,
            [this] { showPage(current_ + 1); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(printButton);
    buttons->addWidget(pdfButton);
    buttons->addStretch();
    buttons->addWidget(previous_);
    buttons->addWidget(pageNumber_);
    buttons->addWidget(pageCount_);
    buttons->addWidget(next_);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    page_ = new QLabel;
    page_->setObjectName(QStringLiteral("page"));
    page_->setFrameShape(QFrame::Box);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(page_);
    scroll->setAlignment(Qt::AlignHCenter);
    scroll->setBackgroundRole(QPalette::Dark);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(scroll);

    const QRect available =
        screen() != nullptr ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    resize(previewWindowSize(*document_, available));

    // The first part of the layout (the first page), then the rest while the window answers.
    if (document_->layOutMore()) {
        QTimer::singleShot(0, this, &PreviewWindow::layOutMore);
    }
    showPage(0);
}

void PreviewWindow::layOutMore() {
    const bool more = document_->layOutMore();
    if (more) {
        QTimer::singleShot(0, this, &PreviewWindow::layOutMore);
        updatePageControls();
    } else {
        // The page shown now gets its number of pages.
        showPage(current_);
    }
}

void PreviewWindow::showPage(int index) {
    const int count = document_->pageCount();
    if (count == 0) {
        updatePageControls();
        return;
    }
    current_ = std::clamp(index, 0, count - 1);
    page_->setPixmap(pageImage(*document_, current_));
    page_->adjustSize();
    updatePageControls();
}

void PreviewWindow::updatePageControls() {
    const int count = document_->pageCount();
    const QSignalBlocker blocker(pageNumber_);
    pageNumber_->setRange(std::min(1, count), count);
    pageNumber_->setValue(current_ + 1);
    pageCount_->setText(QStringLiteral("/ ") + QString::number(count) +
                        (document_->laidOut() ? QString() : QStringLiteral(" …")));
    previous_->setEnabled(current_ > 0);
    next_->setEnabled(current_ + 1 < count);
}

void PreviewWindow::print() {
    document_->layOutAll();
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
    showPage(current_);
}

void PreviewWindow::saveAsPdf() {
    const QString file =
        QFileDialog::getSaveFileName(this, QStringLiteral("PDF保存"), qs(pathText(suggestedPdf_)),
                                     QStringLiteral("PDFファイル (*.pdf)"));
    if (!file.isEmpty()) {
        saveAsPdf(pathFromText(file.toStdString()));
    }
}

bool PreviewWindow::saveAsPdf(const std::filesystem::path& file) {
    try {
        writePdf(*document_, file, inputs_);
        showPage(current_);
        return true;
    } catch (const FileError& error) {
        QMessageBox::warning(this, windowTitle(), qs(error.what()));
        return false;
    }
}

} // namespace kerbina
