#pragma once

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
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a whole file as bytes.
std::string readFileBytes(const std::filesystem::path& path);
// The most a reader of quotations and their companions takes: far above any real quotation, and
// low enough that a wrong file (a disk image, a device) cannot fill the memory.
inline constexpr std::uintmax_t kReadLimit = std::uintmax_t{256} * 1024 * 1024;
// Reads a whole regular file as bytes, at most `limit` of them. Anything else (a folder, a FIFO,
// a device) and a larger file raise FileError naming the file; a FIFO never blocks the reader.
std::string readRegularFile(const std::filesystem::path& path, std::uintmax_t limit = kReadLimit);
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

// Writes bytes to a temporary name in the same folder, flushes, and renames it over `path`, so a
// failed write never leaves a half-written file behind. Raises FileError on any failure.
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

// Text files shared with users and companion programs: CP932 on disk, UTF-8 lines in memory.
// Lines end in CR LF when written; LF alone and CR LF are both accepted when read (a trailing CR
// is stripped). A missing file reads as no lines.
std::vector<std::string> splitTextLines(std::string_view utf8);
std::vector<std::string> readTextLines(const std::filesystem::path& path);
void writeTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                    Durability durability = Durability::Durable);

} // namespace kerbina
