#pragma once

#include "document/backup_writer.h"
#include "money/currency.h"

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The folders the work-file store writes to, and what it remembers for the life of the program.
struct WorkStore {
    std::filesystem::path workFolder;   // dataRoot/temp: the open quotation as record files
    std::filesystem::path backupFolder; // dataRoot/backup: the crash backup quotation file
    // Set once this run has moved the previous run's backup aside; from then on every change just
    // rewrites backup.krb2.
    bool previousBackupKept = false;
    // Set at the start of a run whose previous run did not end cleanly (beginRun); that run's
    // backup then goes into the rotation as a crash backup, and its name is kept here.
    bool previousRunUnclean = false;
    std::optional<std::filesystem::path> crashBackup{};
    // What the last backup was made of, so that the next one encodes only what changed.
    BackupWriter backupWriter{};
};

// Names of the work files. n is an item (sheet) number and g an undo generation, both in decimal
// without leading zeros: item 12 is "WITEM12.WRK", its generation 3 snapshot "3WITEM12.UND".
inline constexpr const char* kHeaderTitleFileName = "HEAD_TITLE.WRK";
std::string headerFileName(std::string_view extension); // "HEAD." + extension
std::string sheetFileName(int sheet);
std::string sheetSnapshotFileName(int generation, int sheet);
// The take-off tape: snapshot `generation` of the take-off entries of `sheet`.
std::string takeoffSnapshotFileName(int generation, int sheet);
std::string pickupFileName(int sheet);      // take-off records of the sheet
std::string aggregationFileName(int sheet); // aggregation settings text of the sheet

// The work folder's wildcards ("*.WRK", "*.bUP") match the extension without regard to case: the
// folder is shared with companion programs that do not agree on the spelling.
bool hasExtension(const std::filesystem::path& file, std::string_view extension);
// Deletes every file of the folder with one of the extensions (".UND"); a file that cannot be
// deleted is skipped, as is anything that is not a regular file.
void deleteFilesWithExtensions(const std::filesystem::path& folder,
                               std::initializer_list<std::string_view> extensions);

// The list snapshot's copies of the item files, beside "HEAD.UND" (see grid/work_folder_cycle.h).
inline constexpr const char* kListSnapshotFolderName = "LIST.UND";
// Deletes the list snapshot's folder with its copies, together with the other undo snapshots.
// Inside a file transaction the folder itself stays (empty) until the next time, since it holds
// the versions kept for a rollback until the transaction ends.
void removeListSnapshot(const std::filesystem::path& workFolder);

// Deletes "HEAD.WRK" and every "*.PUP" and "*.WRK" file, before a quotation file fills the folder.
void clearWorkFolder(const std::filesystem::path& workFolder);
// Keeps the work files of the quotation that was open as backups for recovery by hand: deletes the
// undo snapshots and the backups of the time before, then renames "HEAD.WRK" to "HEAD.bak", every
// "*.PUP" to "*.bup" and every "*.WRK" to "*.brk". Files that cannot be handled are skipped.
void keepWorkFilesAsBackups(const std::filesystem::path& workFolder);

// The crash backup: "backup.krb2", a full quotation file rewritten after every change. Before the
// first write of a run, the file the previous run left goes into a rotation of the backups of the
// last runs, "backup_YYYYMMDD_HHMMSS.krb2" named by the time of its last write ("_crash" added
// when that run did not end cleanly). A backup of a quotation nobody typed into, or one holding
// the same bytes as the newest in the rotation, is not kept again (after a clean end), so that
// starts without work do not push real work out. The rotation keeps the newest kKeptBackups
// files, and always the newest crash backup besides, so no sequence of starts and closes loses
// the last state before a crash. Returns the path to write; raises FileError when the old file
// cannot be kept.
inline constexpr int kKeptBackups = 10;
std::filesystem::path prepareBackupWrite(WorkStore& store);
std::filesystem::path backupFilePath(const std::filesystem::path& backupFolder);
// The name the run before the rotation existed kept its previous backup under; still listed.
std::filesystem::path previousBackupFilePath(const std::filesystem::path& backupFolder);

// One backup file as the backup list shows it, read cheaply (the head of the file for the grand
// total, its end for the closing line).
struct BackupSummary {
    std::filesystem::path file;
    std::chrono::system_clock::time_point written; // its last write
    Currency grandTotal;                           // [ALLGTOTAL]
    bool damaged = false;  // unreadable, not a quotation file, or cut short: no total
    bool crashRun = false; // the run that wrote it did not end cleanly
};
// Every backup of the backup folder ("backup.krb2", the rotation, "backup_prev.krb2"), newest
// first. A damaged file is listed as damaged, never an error.
std::vector<BackupSummary> listBackups(const std::filesystem::path& backupFolder);
BackupSummary summarizeBackup(const std::filesystem::path& file);
// The backup list's line for one backup: local time of its last write, its grand total (or why
// there is none), what run it comes from and its file name, e.g.
// "2026/12/10 13:03:01　総合計 1,234,567　（異常終了）　backup_20261210_130301_crash.krb2".
std::string backupRowText(const BackupSummary& backup);
// "2026/12/10 13:03:01" in local time.
std::string localTimeText(std::chrono::system_clock::time_point time);

// The start and the end of a run. beginRun removes what killed writes left (temporaries beside
// the work files, the list snapshot, the backups and the settings), tells whether the previous
// run ended without endRun (the marker "KERBINA.running" in the data root is still there), and
// puts the marker for this run. Call it at start-up before the first write. endRun removes the
// marker at a clean close.
bool beginRun(WorkStore& store, const std::filesystem::path& dataRoot);
void endRun(const std::filesystem::path& dataRoot);
std::filesystem::path runMarkerPath(const std::filesystem::path& dataRoot);
// After the first write of a run that followed an unclean end: the backup that run left, for the
// window to offer. Nothing when the previous run ended cleanly or left no work.
std::optional<BackupSummary> crashBackupToOffer(const WorkStore& store);

} // namespace kerbina
