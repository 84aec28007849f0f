#include "document/backup_blocks.h"

#include "document/text_codec.h"
#include "document/work_store.h"

namespace kerbina {

void BackupBlocks::append(std::string& out, const ItemList& items,
                          const std::filesystem::path& workFolder,
                          const QuotationWriteOptions& options,
                          const std::vector<std::string>& unitCostBreakdowns) {
    if (options != options_ || unitCostBreakdowns != unitCostBreakdowns_) {
        blocks_.clear();
        options_ = options;
        unitCostBreakdowns_ = unitCostBreakdowns;
    }
    // Blocks of items that no longer exist go.
    blocks_.resize(std::max<std::size_t>(items.size(), 1));
    std::size_t size = out.size();
    for (std::size_t n = 1; n < items.size(); ++n) {
        size += current(static_cast<int>(n), items[n], workFolder).size();
    }
    out.reserve(size);
    for (std::size_t n = 1; n < items.size(); ++n) {
        out += blocks_[n]->cp932;
    }
}

void BackupBlocks::clear() {
    blocks_.clear();
}

const std::string& BackupBlocks::current(int number, const ItemRecord& item,
                                         const std::filesystem::path& workFolder) {
    const std::filesystem::path file = workFolder / sheetFileName(number);
    // Stamped before reading: a file replaced while it is read is read again next time.
    const std::optional<FileStamp> stamp = fileStamp(file);
    std::optional<Block>& block = blocks_[static_cast<std::size_t>(number)];
    if (!block || block->stamp != stamp || block->item != item) {
        const Sheet sheet = stamp ? readSheetFile(file) : Sheet{};
        block = Block{stamp, item,
                      toCp932(sheetBlockText(number, item, sheet, options_, unitCostBreakdowns_))};
    }
    return block->cp932;
}

} // namespace kerbina
