// The backup list reads every backup of the backup folder cheaply: the grand total from the head,
// the closing line from the end. A backup may be cut short by a crash or damaged on the disk, so
// any bytes must give a row of the list; and a backup the program wrote whole must be listed with
// the grand total of its quotation, never as damaged.
#include "base/text_codec.h"
#include "document/quotation_file.h"
#include "document/work_folder.h"
#include "fuzz_support.h"

#include <cstdint>
#include <string>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        kerbina::fuzz::fault("fuzz_backup_summary", what);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::filesystem::path& folder = kerbina::fuzz::scratchFolder();
    const std::string_view input = kerbina::fuzz::bytesOf(bytes, size);
    const std::filesystem::path file =
        folder / (size % 2 == 0 ? "backup.krb2" : "backup_20261210_130301_crash.krb2");
    std::filesystem::remove(folder / "backup.krb2");
    std::filesystem::remove(folder / "backup_20261210_130301_crash.krb2");

    kerbina::fuzz::putFile(file, input);
    for (const kerbina::BackupSummary& backup : kerbina::listBackups(folder)) {
        kerbina::backupRowText(backup);
    }

    kerbina::QuotationData data;
    try {
        data = kerbina::readQuotationTextLeniently(kerbina::fromCp932(input)).data;
    } catch (const kerbina::QuotationFileError&) {
        return 0;
    }
    kerbina::fuzz::putFile(file, kerbina::toCp932(kerbina::writeQuotationText(data, {})));
    const kerbina::BackupSummary whole = kerbina::summarizeBackup(file);
    check(!whole.damaged, "a whole backup is listed as damaged");
    check(whole.grandTotal == data.header.submittedGrandTotal,
          "a backup is listed with another total");
    kerbina::backupRowText(whole);
    return 0;
}
