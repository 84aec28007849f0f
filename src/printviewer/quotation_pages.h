#pragma once

#include "printviewer/viewer_request.h"
#include "records/quotation_data.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace kerbina {

// The pages of a 見積書, A4 portrait: for each quotation the cover (表紙), the breakdown (内訳書)
// and one or more pages per sheet (明細書), numbered "n / N" over the whole batch. Page contents
// are fixed before painting, so the page count is known before the first page is drawn. Painting
// uses a coordinate system of 0.1 mm on the A4 page, whatever the device.
class QuotationPages {
public:
    explicit QuotationPages(PrintSettings settings);
    ~QuotationPages();
    QuotationPages(QuotationPages&&) noexcept;
    QuotationPages& operator=(QuotationPages&&) noexcept;

    void add(const QuotationData& quotation);
    int pageCount() const;
    // Paints page `index` (0-based) on a painter whose window is the A4 page (see pageWindow).
    void paint(QPainter& painter, int index) const;

    // The page in painting units: 2100 × 2970 (0.1 mm).
    static constexpr int kPageWidth = 2100;
    static constexpr int kPageHeight = 2970;

private:
    struct Data;
    std::unique_ptr<Data> data_;
};

// The quotations a request names: the quotation file (recomputed as the program opens it), the
// print batch of the hand-off's data root, or the quotation open in the work folder of
// `dataRoot`. Raises the reader's errors (FileError, QuotationFileError).
std::vector<QuotationData> requestedQuotations(const ViewerRequest& request,
                                               const std::filesystem::path& dataRoot);

// Writes the pages to a PDF file (fonts embedded). Returns false when the file cannot be written.
bool writePdf(const QuotationPages& pages, const QString& file);

// The family list for Japanese text: the first one installed is used.
QStringList japaneseFontFamilies();

} // namespace kerbina
