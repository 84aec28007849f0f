#pragma once

#include "base/user_error.h"

// The file helpers: reading, writing, renaming and removing files. Two things live here besides
// the plain helpers.
//
// A command's file changes as one unit (FileTransaction). While a transaction is open, every
// helper below that changes a file first keeps the version it replaces: an existing file gets a
// second name beside it, "<name>.<digits>.tmp" (a hard link, so it costs no copy; a copy where
// the file system has no links), a file that is renamed is itself that version under its new
// name until something changes it there, a file that did not exist is noted as absent, a folder
// that did not exist as created. The change itself happens as always (a new file goes to a
// temporary name and is renamed over the old one, so every file is always whole). commit() drops
// the kept versions. Leaving the scope without commit() (the command threw) puts every noted file
// back, newest change first: a kept or moved version is renamed back, an absent file removed, a
// created folder removed. The folders are then byte for byte as before the command. There is no
// journal file replayed at the next start: the work folder is not reopened after a crash (the next
// start keeps it aside for recovery by hand) and the crash backup is replaced whole by one rename,
// so a killed command leaves at most kept versions and temporaries, which the next start removes
// (removeLeftoverTemporaries).
//
// A test seam (failNthFileCall) makes the n-th helper call fail as a full disk or a locked file
// would, so tests can break a command at each of its file steps.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// A file that could not be read or written. The message is in the system's own words and names
// the file; callers show it and change nothing.
class FileError : public UserError {
public:
    using UserError::UserError;
};

// Every read below ends in one reader: it takes regular files only, refusing a folder, a FIFO or
// a device with FileError before reading anything (a FIFO never blocks it), and refuses a file
// larger than its limit instead of filling the memory. Errors name the file.

// The most a reader of quotations and their companions takes: far above any real quotation, and
// low enough that a wrong file (a disk image, a device) cannot fill the memory.
inline constexpr std::uintmax_t kReadLimit = std::uintmax_t{256} * 1024 * 1024;
// The most a text file (settings, lists, print data, import files) may hold: a text file is held
// about three times over while its lines are made, and the largest real one is a few megabytes.
inline constexpr std::uintmax_t kTextReadLimit = std::uintmax_t{64} * 1024 * 1024;
// Reads a whole regular file as bytes, at most `limit` of them.
std::string readRegularFile(const std::filesystem::path& path, std::uintmax_t limit = kReadLimit);
// readRegularFile, counted by the test seam below.
std::string readFileBytes(const std::filesystem::path& path);
// How far the bytes of a write have gone when the rename puts the file in place.
enum class Durability {
    // Forced to the disk, so that not even a power cut can leave an empty or half-written file
    // under the name: quotation files, the crash backup, settings files.
    Durable,
    // Handed to the operating system. The rename alone keeps every reader from seeing half a
    // file, and a crash of the program loses nothing; a power cut can. For the work files: they
    // mirror the quotation in memory, which a power cut loses too, and the durable crash backup
    // is what brings the quotation back. Forcing each of them to the disk would cost every
    // keystroke several waits for the disk.
    Scratch,
};

// What a write may put a file in place of: a regular file (also through a link) or a free name.
// A FIFO, a device or a folder is never replaced, whoever chose the name: the writer would report
// a file written where none is, and a user's device node or pipe would be gone.
bool mayReplaceFile(const std::filesystem::path& path);
// The error for a target that rule refuses.
FileError notARegularFileToWrite(const std::filesystem::path& path);

// Writes bytes to a temporary name in the same folder, flushes, and renames it over `path`, so a
// failed write never leaves a half-written file behind. A target that mayReplaceFile refuses is
// left alone. Raises FileError on any failure.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         Durability durability = Durability::Durable);
// The same with the bytes in pieces, written one after the other, so that a large file need not
// be joined in memory first.
void writePiecesAtomically(const std::filesystem::path& path,
                           std::span<const std::string_view> pieces,
                           Durability durability = Durability::Durable);

// One version of a file as the file system describes it, without reading it: its size, the times
// of its last write and last status change (in nanoseconds), and which file on which device it
// is. Any atomic write puts a new file in place and a rename brings another file's identity, so a
// file replaced in any way gets a different stamp; the one exception would be a new file that
// reuses a just-deleted file's identity, size and both times to the tick of the file system clock.
struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t modified = 0;
    std::int64_t statusChanged = 0;
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// The stamp of a regular file; nothing for anything else or a file that cannot be examined.
std::optional<FileStamp> fileStamp(const std::filesystem::path& path);

// Removes a file; a file that is not there is no error. Raises FileError when it stays.
void removeFile(const std::filesystem::path& path);
// Renames a file, replacing `to`. Raises FileError naming both.
void renameFile(const std::filesystem::path& from, const std::filesystem::path& to);
// Creates a folder and its parents. Raises FileError.
void createFolders(const std::filesystem::path& folder);
// For wildcard deletions and renames that skip what they cannot handle: false instead of an
// error, and never a failure made by the test seam.
bool tryRemoveFile(const std::filesystem::path& path);
bool tryRenameFile(const std::filesystem::path& from, const std::filesystem::path& to);
// Copies `source` to `target` only while `target` does not exist, so that two programs starting at
// once can never replace a file the other has begun to use. The copy is made under a temporary
// name and then linked in, so `target` is whole or absent. False when `target` was there first or
// the copy failed; nothing is left behind either way.
bool copyFileIfAbsent(const std::filesystem::path& source, const std::filesystem::path& target);
// Up to `count` bytes from the start of a regular file, for a look at a large file's head.
std::string readFileHead(const std::filesystem::path& path, std::size_t count);

// `name` in `folder` in whatever letter case it has there (files copied from other systems keep
// theirs); folder / name when there is none.
std::filesystem::path fileInAnyCase(const std::filesystem::path& folder, std::string_view name);

// Whether a file name is that of a temporary of the atomic writer or a version kept by a
// transaction: "<name>.<digits>.tmp".
bool isLeftoverTemporary(const std::filesystem::path& file);
// Removes the leftover temporaries of a folder: a write or a command killed half-way leaves them.
// Other files, "copydata.tmp" among them, stay.
void removeLeftoverTemporaries(const std::filesystem::path& folder);

// One command's file changes as one unit (see the top of this file). Open one around a command.
// A transaction opened while another is open is a part of it: when it fails it puts back its own
// changes, when it commits they stay with the enclosing one, which keeps or undoes them with its
// own.
class FileTransaction {
public:
    FileTransaction();
    ~FileTransaction();
    FileTransaction(const FileTransaction&) = delete;
    FileTransaction& operator=(const FileTransaction&) = delete;

    // Keeps every change: the kept versions are removed.
    void commit();

    // Called by the helpers before they change `path`; nothing when no transaction is open.
    static void noteFile(const std::filesystem::path& path);
    // Removes `path` under the open transaction by keeping it; false when no transaction is open.
    static bool keepInsteadOfRemoving(const std::filesystem::path& path);
    // Before `from` is renamed to `to`: a file renamed within the transaction needs no second
    // name, as it stays whole under its new one until something changes that.
    static void noteRename(const std::filesystem::path& from, const std::filesystem::path& to);
    static void noteFolder(const std::filesystem::path& folder);

private:
    bool outer_;
    bool committed_ = false;
    std::size_t mark_ = 0;           // this transaction's first entry in the journal
    std::size_t enclosingLevel_ = 0; // where the enclosing transaction's entries begin
};

// Test seam: from now on, the n-th call of the file helpers that may fail (reads, writes,
// renames, removals, folder creations, keeping a version) raises FileError as a locked file or,
// with DiskFull, as a full disk would; 0 disarms it. Disarmed it costs one comparison per call.
enum class FileFault { Refused, DiskFull };
void failNthFileCall(int n, FileFault kind = FileFault::Refused);
// The calls counted since the seam was last armed: a command that made fewer than n calls never
// met the failure.
int countedFileCalls();

// Text files shared with users and companion programs: CP932 on disk, UTF-8 lines in memory.
// Lines end in CR LF when written; LF alone and CR LF are both accepted when read (a trailing CR
// is stripped). A missing file reads as no lines; anything the file reader refuses (see above, with
// the text limit) raises FileError.
std::vector<std::string> splitTextLines(std::string_view utf8);
// The same lines as views into the text, so a large file is not copied line by line before it is
// parsed.
std::vector<std::string_view> splitTextLineViews(std::string_view utf8);
std::vector<std::string> readTextLines(const std::filesystem::path& path);
void writeTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                    Durability durability = Durability::Durable);

} // namespace kerbina
