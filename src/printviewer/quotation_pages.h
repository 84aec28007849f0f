#pragma once

#include "printviewer/page_document.h"
#include "printviewer/viewer_request.h"
#include "records/quotation_data.h"

#include <memory>
#include <string>
#include <vector>

namespace kerbina {

// The pages of a 見積書, A4 portrait: for each quotation the cover (表紙), the breakdown (内訳書)
// and one or more pages per sheet (明細書), numbered "n / N" over the whole batch.
class QuotationPages final : public PageDocument {
public:
    explicit QuotationPages(PrintSettings settings);
    ~QuotationPages() override;
    QuotationPages(QuotationPages&&) noexcept;
    QuotationPages& operator=(QuotationPages&&) noexcept;

    // Adds a quotation to be laid out after those added before.
    void add(QuotationData quotation);
    bool layOutMore() override;
    bool laidOut() const override;
    int pageCount() const override;
    void paint(QPainter& painter, int index) const override;
    QString title() const override;

    static constexpr int kPageWidth = kA4Short;
    static constexpr int kPageHeight = kA4Long;

private:
    struct Data;
    std::unique_ptr<Data> data_;
};

// The quotations a request names: the quotation file (recomputed as the program opens it), the
// print batch of the hand-off's data root, or the quotation open in the work folder of
// `dataRoot`. Raises the reader's errors (FileError, QuotationFileError).
std::vector<QuotationData> requestedQuotations(const ViewerRequest& request,
                                               const std::filesystem::path& dataRoot);

} // namespace kerbina
