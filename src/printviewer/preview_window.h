#pragma once

#include "printviewer/page_document.h"

#include <QWidget>
#include <memory>

namespace kerbina {

// "印刷プレビュー": the pages one below the other, with "印刷" (the system's print dialog) and
// "PDF保存" (a PDF file chosen in a save dialog).
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    explicit PreviewWindow(std::unique_ptr<PageDocument> document, QWidget* parent = nullptr);

    void print();
    // "PDF保存": asks for the file, then saves it; the second form saves to `file` (false and a
    // box when it cannot be written).
    void saveAsPdf();
    bool saveAsPdf(const QString& file);
    const PageDocument& document() const { return *document_; }

private:
    std::unique_ptr<PageDocument> document_;
};

} // namespace kerbina
