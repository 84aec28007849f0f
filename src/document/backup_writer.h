#pragma once

#include "base/file_io.h"
#include "document/quotation_file.h"
#include "records/quotation_data.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kerbina {

// Writes the crash backup, a whole quotation file rewritten after every change, though between
// two changes mostly the open sheet alone changes. For the life of the program it keeps each
// sheet's block of the data section encoded as CP932, together with everything the block was
// made from: the stamp of the sheet's work file, the item (its kind, name, quantity decimals and
// totals go into the block), the writer options and the unit-cost breakdown list. A block is made
// again, by the one quotation file writer, only when one of these differs; and a backup file that
// already holds exactly the bytes of the next backup (the snapshot before a change follows the
// write after the last one) is left as it is.
//
// Whatever replaces a sheet file while the file is there (an atomic write, an item moved onto its
// number) gives it a new stamp, so nobody has to tell the writer. Where the sheet files are all
// deleted and written again at once (opening a quotation, list undo), a new file could take an
// old one's file number, size and times within one tick of the file system clock, so those
// paths call forget().
class BackupWriter {
public:
    // Makes the bytes of the next backup: the text of writeQuotationText for `data` and
    // `options`, encoded as CP932, with every sheet read from its work file in `workFolder` (a
    // missing file is a sheet without lines); the sheets in `data` are not looked at.
    void prepare(const QuotationData& data, const QuotationWriteOptions& options,
                 const std::filesystem::path& workFolder);
    // Puts the prepared bytes into `file` (durably, atomically) unless it holds them already.
    void write(const std::filesystem::path& file);
    // Makes every block anew and writes the file at the next backup.
    void forget();

private:
    struct Block {
        std::optional<FileStamp> stamp;
        ItemRecord item;
        std::string cp932;
    };

    // Brings sheet n's block up to date; true when its bytes are what they were.
    bool refresh(int number, const ItemRecord& item, const std::filesystem::path& workFolder);

    std::vector<std::optional<Block>> blocks_; // by sheet number
    QuotationWriteOptions options_;
    std::vector<std::string> unitCostBreakdowns_;
    std::string head_;
    std::string tail_;
    // The stamp of the backup file right after the last write, while the blocks, head and tail
    // are still what that write put in it.
    std::optional<FileStamp> written_;
    // Set by prepare when the bytes are those of the last write.
    std::optional<FileStamp> unchangedFile_;
};

} // namespace kerbina
