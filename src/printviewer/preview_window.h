#pragma once

#include "printviewer/page_document.h"

#include <QSize>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QRect;
class QSpinBox;

namespace kerbina {

// "印刷プレビュー": one page at a time, with the page number to go to, "印刷" (the system's print
// dialog) and "PDF保存" (a PDF file chosen in a save dialog). Only the page shown is painted, so a
// batch of thousands of pages opens as fast as one. The document is laid out a part at a time
// while the window already shows the first page and answers the user.
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    // `suggestedPdf`: the file the save dialog offers. `inputs`: the files the pages were made
    // from, which a PDF must never replace.
    PreviewWindow(std::unique_ptr<PageDocument> document, std::filesystem::path suggestedPdf,
                  std::vector<std::filesystem::path> inputs, QWidget* parent = nullptr);

    void print();
    // "PDF保存": asks for the file, then saves it; the second form saves to `file` (false and a
    // box when it cannot be written).
    void saveAsPdf();
    bool saveAsPdf(const std::filesystem::path& file);
    // Shows page `index` (0-based), as far as it is laid out.
    void showPage(int index);
    int currentPage() const { return current_; }
    const PageDocument& document() const { return *document_; }
    const std::filesystem::path& suggestedPdfFile() const { return suggestedPdf_; }

private:
    void layOutMore();
    void updatePageControls();

    std::unique_ptr<PageDocument> document_;
    std::filesystem::path suggestedPdf_;
    std::vector<std::filesystem::path> inputs_;
    int current_ = 0;
    QLabel* page_ = nullptr;
    QSpinBox* pageNumber_ = nullptr;
    QLabel* pageCount_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
};

// The preview's size: the page at its preview scale with the window's controls around it, no
// larger than the screen's free area `available`, so that the window fits a 1280 × 800 screen.
QSize previewWindowSize(const PageDocument& document, const QRect& available);

} // namespace kerbina
