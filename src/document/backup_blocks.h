#pragma once

#include "document/file_io.h"
#include "document/quotation_file.h"
#include "document/records.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kerbina {

// The crash backup is a whole quotation file rewritten after every change, yet between two
// changes mostly the open sheet alone changes. The store keeps, for the life of the program, each
// sheet's block of the data section encoded as CP932, together with everything the block was made
// from: the stamp of the sheet's work file, the item (its kind, name, quantity decimals and
// totals go into the block), the writer options and the unit-cost breakdown list. A block is
// made again, by the one quotation file writer, only when one of these differs.
//
// Whatever replaces a sheet file while the file is there (an atomic write, an item moved onto its
// number) gives it a new stamp, so nobody has to tell the cache. Where the sheet files are all
// deleted and written again at once (opening a quotation, list undo), a new file could take an
// old one's file number, size and times within one tick of the file system clock, so those
// paths empty the cache.
class BackupBlocks {
public:
    // Appends the encoded blocks of the sheets of items 1..items.size()-1, each made from the
    // sheet file in `workFolder` (a missing file is a sheet without lines).
    void append(std::string& out, const ItemList& items, const std::filesystem::path& workFolder,
                const QuotationWriteOptions& options,
                const std::vector<std::string>& unitCostBreakdowns);
    void clear();

private:
    struct Block {
        std::optional<FileStamp> stamp;
        ItemRecord item;
        std::string cp932;
    };

    const std::string& current(int number, const ItemRecord& item,
                               const std::filesystem::path& workFolder);

    std::vector<std::optional<Block>> blocks_; // by sheet number
    QuotationWriteOptions options_;
    std::vector<std::string> unitCostBreakdowns_;
};

} // namespace kerbina
