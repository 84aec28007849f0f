#pragma once

#include "document/backup_writer.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kerbina {

// The folders the work-file store writes to, and what it remembers for the life of the program.
struct WorkStore {
    std::filesystem::path workFolder;   // dataRoot/temp: the open quotation as record files
    std::filesystem::path backupFolder; // dataRoot/backup: the crash backup quotation file
    // Set once this run has moved the previous run's backup aside; from then on every change just
    // rewrites backup.krb2.
    bool previousBackupKept = false;
    // What the last backup was made of, so that the next one encodes only what changed.
    BackupWriter backupWriter{};
};

// Names of the work files. n is an item (sheet) number and g an undo generation, both in decimal
// without leading zeros: item 12 is "WITEM12.WRK", its generation 3 snapshot "3WITEM12.UND".
inline constexpr const char* kHeaderTitleFileName = "HEAD_TITLE.WRK";
std::string headerFileName(std::string_view extension); // "HEAD." + extension
std::string sheetFileName(int sheet);
std::string sheetSnapshotFileName(int generation, int sheet);
std::string pickupFileName(int sheet);      // take-off records of the sheet
std::string aggregationFileName(int sheet); // aggregation settings text of the sheet

// The work folder's wildcards ("*.WRK", "*.bUP") match the extension without regard to case: the
// folder is shared with companion programs that do not agree on the spelling.
bool hasExtension(const std::filesystem::path& file, std::string_view extension);
// Deletes every file of the folder with one of the extensions (".UND"); a file that cannot be
// deleted is skipped, as is anything that is not a regular file.
void deleteFilesWithExtensions(const std::filesystem::path& folder,
                               std::initializer_list<std::string_view> extensions);

// Deletes "HEAD.WRK" and every "*.PUP" and "*.WRK" file, before a quotation file fills the folder.
void clearWorkFolder(const std::filesystem::path& workFolder);
// Keeps the work files of the quotation that was open as backups for recovery by hand: deletes the
// undo snapshots and the backups of the time before, then renames "HEAD.WRK" to "HEAD.bak", every
// "*.PUP" to "*.bup" and every "*.WRK" to "*.brk". Files that cannot be handled are skipped.
void keepWorkFilesAsBackups(const std::filesystem::path& workFolder);

// The crash backup: a full quotation file rewritten after every change. Before the first write of
// a run the file left by the previous run is renamed to "backup_prev.krb2", so that starting the
// program (which writes the new empty quotation) or "新規作成" never overwrites the last state
// before a crash. Returns the path to write; raises FileError when the old file cannot be kept.
std::filesystem::path prepareBackupWrite(WorkStore& store);
std::filesystem::path backupFilePath(const std::filesystem::path& backupFolder);
std::filesystem::path previousBackupFilePath(const std::filesystem::path& backupFolder);

} // namespace kerbina
