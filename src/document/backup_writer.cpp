#include "document/backup_writer.h"

#include "base/text_codec.h"
#include "document/work_store.h"

#include <algorithm>
#include <utility>

namespace kerbina {

void BackupWriter::prepare(const QuotationData& data, const QuotationWriteOptions& options,
                           const std::filesystem::path& workFolder) {
    // Taken first: whatever fails below, the next backup is written whole.
    const std::optional<FileStamp> lastWrite = std::exchange(written_, std::nullopt);
    unchangedFile_.reset();
    if (options != options_ || data.unitCostBreakdowns != unitCostBreakdowns_) {
        blocks_.clear();
        options_ = options;
        unitCostBreakdowns_ = data.unitCostBreakdowns;
    }
    bool unchanged = blocks_.size() == std::max<std::size_t>(data.items.size(), 1);
    // Blocks of items that no longer exist go.
    blocks_.resize(std::max<std::size_t>(data.items.size(), 1));
    for (std::size_t n = 1; n < data.items.size(); ++n) {
        unchanged = refresh(static_cast<int>(n), data.items[n], workFolder) && unchanged;
    }
    std::string head = toCp932(quotationHeadText(data, options));
    std::string tail = toCp932(quotationTailText(data));
    unchanged = unchanged && head == head_ && tail == tail_;
    head_ = std::move(head);
    tail_ = std::move(tail);
    if (unchanged) {
        unchangedFile_ = lastWrite;
    }
}

void BackupWriter::write(const std::filesystem::path& file) {
    if (unchangedFile_ && fileStamp(file) == unchangedFile_) {
        written_ = unchangedFile_;
        return;
    }
    std::vector<std::string_view> pieces{head_};
    for (std::size_t n = 1; n < blocks_.size(); ++n) {
        pieces.emplace_back(blocks_[n]->cp932);
    }
    pieces.emplace_back(tail_);
    // The one work file forced to the disk: it is what brings the quotation back after a crash.
    writePiecesAtomically(file, pieces, Durability::Durable);
    written_ = fileStamp(file);
}

void BackupWriter::forget() {
    blocks_.clear();
    written_.reset();
    unchangedFile_.reset();
}

bool BackupWriter::refresh(int number, const ItemRecord& item,
                           const std::filesystem::path& workFolder) {
    const std::filesystem::path file = workFolder / sheetFileName(number);
    // Stamped before reading: a file replaced while it is read is read again next time.
    const std::optional<FileStamp> stamp = fileStamp(file);
    std::optional<Block>& block = blocks_[static_cast<std::size_t>(number)];
    if (block && block->stamp == stamp && block->item == item) {
        return true;
    }
    const Sheet sheet = stamp ? readSheetFile(file) : Sheet{};
    std::string cp932 = toCp932(sheetBlockText(number, item, sheet, options_, unitCostBreakdowns_));
    const bool unchanged = block && block->cp932 == cp932;
    block = Block{stamp, item, std::move(cp932)};
    return unchanged;
}

} // namespace kerbina
