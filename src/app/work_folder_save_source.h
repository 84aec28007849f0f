#pragma once

#include "document/document_events.h"
#include "document/work_store.h"
#include "records/document_state.h"
#include "storage/save_flow.h"

namespace kerbina {

// The open quotation as the save sees it: the header in memory (the mirror of HEAD.WRK), a new
// number stored through the header files (reported as HeaderWritten), and the whole
// quotation rendered from memory and the work files at the moment of saving, exactly as the
// quotation file writer and the crash backup render it, with the header that rendering used. The
// window saves the current sheet to its work file before it shows the save dialog.
class WorkFolderSaveSource final : public QuotationSaveSource {
public:
    WorkFolderSaveSource(DocumentState& state, WorkStore& store, DocumentEvents& events)
        : state_(state), store_(store), events_(events) {}

    QuotationHeader header() override { return state_.header; }
    void storeQuotationNumber(const std::string& number) override;
    RenderedQuotation render() override;

private:
    DocumentState& state_;
    WorkStore& store_;
    DocumentEvents& events_;
};

} // namespace kerbina
