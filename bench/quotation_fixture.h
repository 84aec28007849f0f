#pragma once

#include "document/document_events.h"
#include "records/document_state.h"
#include "records/quotation_data.h"

#include <filesystem>
#include <string>

namespace kerbina::bench {

// A sheet of `lines` lines as estimators build them: priced lines in whole and decimal
// quantities, labour lines, reductions, comments, a subtotal every 40 lines, range sums and
// calculated ranges, then expenses, welfare, a sum line and the tax line at the end.
Sheet mixedSheet(int lines);

// A quotation of `sheets` items of kind 10, each owning a mixed sheet of `lines` lines.
QuotationData mixedQuotation(int sheets, int lines);

// A fresh folder under the system's temporary folder, removed by the destructor.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace kerbina::bench
