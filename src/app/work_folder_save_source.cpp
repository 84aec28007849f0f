#include "app/work_folder_save_source.h"

#include "document/quotation_file.h"

namespace kerbina {

void WorkFolderSaveSource::storeQuotationNumber(const std::string& number) {
    runAsOneChange(state_, store_, [&] {
        state_.header.number = number;
        writeHeaderFiles(state_, store_.workFolder, events_);
        writeBackup(state_, store_);
    });
}

RenderedQuotation WorkFolderSaveSource::render() {
    QuotationWriteOptions options;
    options.itemNameLine = state_.itemNameLine;
    options.unitCostReferences = state_.unitCostReferences;
    const QuotationData data = collectQuotation(state_, store_.workFolder);
    return {data.header, writeQuotationText(data, options)};
}

} // namespace kerbina
