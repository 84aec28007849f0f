#include "base/file_io.h"

#include "base/file_posix.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <system_error>
#include <utility>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

// `reason`: what the system said, when it says something the user can act on.
[[noreturn]] void failToWrite(const fs::path& path, std::error_code reason = {}) {
    std::string message = "ファイルに書き込めませんでした: " + pathText(path);
    if (reason == std::errc::no_space_on_device) {
        message += "\nディスクの空き容量が不足しています。空きを作ってから、もう一度操作してくださ"
                   "い。";
    }
    throw FileError(message);
}

std::error_code lastSystemError() {
    return {errno, std::generic_category()};
}

// The test seam: the call number that fails (0: none), how, and the calls counted since it was
// armed.
int faultAt = 0;
FileFault faultKind = FileFault::Refused;
int fileCalls = 0;

void fileStep(const fs::path& path) {
    if (faultAt != 0 && ++fileCalls == faultAt) {
        failToWrite(path, faultKind == FileFault::DiskFull
                              ? std::make_error_code(std::errc::no_space_on_device)
                              : std::error_code());
    }
}

// "<name>.<six digits>.tmp" beside `target`, for a temporary or a kept version. The digits come
// from a generator seeded once: a random device is costly to open for every file.
fs::path numberedTemporary(const fs::path& target) {
    static std::minstd_rand numbers{std::random_device{}()};
    fs::path path = target;
    path += "." + std::to_string(numbers() % 1000000) + ".tmp";
    return path;
}

// What the open transactions have noted: for each path, how it was before its first change
// within each transaction (an inner transaction notes a path again, so that it can put back its
// own changes alone).
struct Journal {
    // KeptFile: the version before lives under `kept`. MovedAway: it was renamed to `kept`, which
    // holds it unchanged (no second name needed); any change of `kept` first gives it one.
    enum class Before { KeptFile, MovedAway, NoFile, NoFolder };
    struct Entry {
        fs::path path;
        Before before;
        fs::path kept;
    };
    std::vector<Entry> entries;
    std::map<fs::path, std::size_t> newest;    // path → index of its newest entry
    std::map<fs::path, std::size_t> movedInto; // a MovedAway entry's `kept` → index of the entry
    std::size_t level = 0;                     // the first entry of the innermost transaction

    bool isNoted(const fs::path& path) const {
        const auto it = newest.find(path.lexically_normal());
        return it != newest.end() && it->second >= level;
    }
    void add(const fs::path& path, Before before, fs::path kept = {}) {
        newest[path.lexically_normal()] = entries.size();
        if (before == Before::MovedAway) {
            movedInto[kept.lexically_normal()] = entries.size();
        }
        entries.push_back(Entry{path, before, std::move(kept)});
    }
    // Before `path` changes: when it holds a version that was moved there, that version gets a
    // name of its own first.
    void secureMovedVersion(const fs::path& path);
    // Puts back every path noted from `mark` on, newest change first (so that a created folder
    // is empty again when its turn comes), and forgets those entries.
    void rollBackTo(std::size_t mark) noexcept {
        for (std::size_t i = entries.size(); i > mark; --i) {
            const Entry& entry = entries[i - 1];
            std::error_code error;
            switch (entry.before) {
            case Before::KeptFile:
            case Before::MovedAway:
                fs::rename(entry.kept, entry.path, error);
                break;
            case Before::NoFile:
                if (fs::is_regular_file(fs::symlink_status(entry.path, error))) {
                    fs::remove(entry.path, error);
                }
                break;
            case Before::NoFolder:
                fs::remove(entry.path, error); // only when empty
                break;
            }
        }
        entries.resize(mark);
        newest.clear();
        movedInto.clear();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            newest[entries[i].path.lexically_normal()] = i;
            if (entries[i].before == Before::MovedAway) {
                movedInto[entries[i].kept.lexically_normal()] = i;
            }
        }
    }
};

std::unique_ptr<Journal> openJournal;

// A second name for the file as it is now: a hard link, or a copy where there are no links.
fs::path keepVersion(const fs::path& file) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path kept = numberedTemporary(file);
        std::error_code error;
        fs::create_hard_link(file, kept, error);
        if (!error) {
            return kept;
        }
        if (error == std::errc::file_exists) {
            continue;
        }
        if (fs::copy_file(file, kept, error) && !error) {
            return kept;
        }
        if (error != std::errc::file_exists) {
            break;
        }
    }
    failToWrite(file);
}

void Journal::secureMovedVersion(const fs::path& path) {
    const auto moved = movedInto.find(path.lexically_normal());
    if (moved == movedInto.end()) {
        return;
    }
    Entry& entry = entries[moved->second];
    entry.kept = keepVersion(path);
    entry.before = Before::KeptFile;
    movedInto.erase(moved);
}

// Closes the temporary file and removes it unless it was renamed into place, so a failed write
// leaves neither a half-written target nor a stray temporary behind.
class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& target) {
        // A random suffix keeps a leftover from a crashed run from blocking the next write.
        for (int attempt = 0; attempt < 16 && file_ == nullptr; ++attempt) {
            path_ = numberedTemporary(target);
            bool exists = false;
            file_ = createNewFile(path_, exists);
            if (file_ == nullptr && !exists) {
                break;
            }
        }
        if (file_ == nullptr) {
            failToWrite(target, lastSystemError());
        }
    }
    ~TemporaryFile() {
        close();
        if (!renamed_) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Writes and flushes the bytes; durable bytes are forced to the disk too, so the rename never
    // publishes a file whose contents a power cut could still lose.
    bool write(std::span<const std::string_view> pieces, Durability durability) {
        bool written = true;
        for (const std::string_view bytes : pieces) {
            written = written && std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
        }
        written = written && std::fflush(file_) == 0 &&
                  (durability == Durability::Scratch || flushToDisk(file_));
        if (!written) {
            failure_ = lastSystemError();
        }
        const bool closed = close();
        if (written && !closed) {
            failure_ = lastSystemError();
        }
        return closed && written;
    }

    // Why the write failed, as the system said.
    std::error_code failure() const { return failure_; }

    bool renameTo(const fs::path& target) {
        std::error_code error;
        fs::rename(path_, target, error);
        renamed_ = !error;
        return renamed_;
    }

private:
    bool close() {
        if (file_ == nullptr) {
            return true;
        }
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        return closed;
    }

    fs::path path_;
    std::FILE* file_ = nullptr;
    bool renamed_ = false;
    std::error_code failure_;
};

} // namespace

std::string readFileBytes(const fs::path& path) {
    fileStep(path);
    return readRegularFile(path);
}

bool mayReplaceFile(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    // A name that cannot be examined is left to the write, which then reports its own failure.
    return error || !fs::exists(status) || fs::is_regular_file(status);
}

FileError notARegularFileToWrite(const fs::path& path) {
    return FileError("通常のファイルではないため書き込めません: " + pathText(path));
}

void writeFileAtomically(const fs::path& path, std::string_view bytes, Durability durability) {
    writePiecesAtomically(path, std::span(&bytes, 1), durability);
}

void writePiecesAtomically(const fs::path& path, std::span<const std::string_view> pieces,
                           Durability durability) {
    fileStep(path);
    if (!mayReplaceFile(path)) {
        throw notARegularFileToWrite(path);
    }
    TemporaryFile temporary(path);
    if (!temporary.write(pieces, durability)) {
        failToWrite(path, temporary.failure());
    }
    FileTransaction::noteFile(path);
    if (!temporary.renameTo(path)) {
        failToWrite(path);
    }
}

std::string readFileHead(const fs::path& path, std::size_t count) {
    fileStep(path);
    return readRegularFileHead(path, count);
}

void removeFile(const fs::path& path) {
    fileStep(path);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error))) {
        return;
    }
    if (!FileTransaction::keepInsteadOfRemoving(path)) {
        fs::remove(path, error);
        if (error) {
            throw FileError(pathText(path) + " を削除できませんでした。");
        }
    }
}

void renameFile(const fs::path& from, const fs::path& to) {
    fileStep(from);
    FileTransaction::noteRename(from, to);
    std::error_code error;
    fs::rename(from, to, error);
    if (error) {
        throw FileError(pathText(from) + " を " + pathText(to) + " に移動できませんでした。");
    }
}

void createFolders(const fs::path& folder) {
    fileStep(folder);
    FileTransaction::noteFolder(folder);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        throw FileError(pathText(folder) + " を作成できませんでした。");
    }
}

bool tryRemoveFile(const fs::path& path) {
    try {
        if (FileTransaction::keepInsteadOfRemoving(path)) {
            return true;
        }
    } catch (const FileError&) {
        return false;
    }
    std::error_code error;
    return fs::remove(path, error) && !error;
}

bool tryRenameFile(const fs::path& from, const fs::path& to) {
    try {
        FileTransaction::noteRename(from, to);
    } catch (const FileError&) {
        return false;
    }
    std::error_code error;
    fs::rename(from, to, error);
    return !error;
}

bool copyFileIfAbsent(const fs::path& source, const fs::path& target) {
    const fs::path temporary = numberedTemporary(target);
    std::error_code error;
    if (!fs::copy_file(source, temporary, error) || error) {
        fs::remove(temporary, error);
        return false;
    }
    fs::create_hard_link(temporary, target, error);
    std::error_code ignored;
    if (error && error != std::errc::file_exists && !fs::exists(target, ignored)) {
        // A file system without hard links: the rename is the nearest to an exclusive move.
        fs::rename(temporary, target, error);
    }
    const bool placed = !error;
    fs::remove(temporary, error);
    return placed;
}

bool isLeftoverTemporary(const fs::path& file) {
    const std::string name = file.filename().string();
    constexpr std::string_view suffix = ".tmp";
    if (name.size() <= suffix.size() || !name.ends_with(suffix)) {
        return false;
    }
    const std::string_view stem = std::string_view(name).substr(0, name.size() - suffix.size());
    const std::size_t dot = stem.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == stem.size()) {
        return false;
    }
    return std::all_of(stem.begin() + static_cast<std::ptrdiff_t>(dot) + 1, stem.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

fs::path fileInAnyCase(const fs::path& folder, std::string_view name) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (equalsIgnoringAsciiCase(entry->path().filename().string(), name)) {
            return entry->path();
        }
    }
    return folder / fs::path(name);
}

void removeLeftoverTemporaries(const fs::path& folder) {
    std::vector<fs::path> leftovers;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && isLeftoverTemporary(it->path())) {
            leftovers.push_back(it->path());
        }
    }
    for (const fs::path& file : leftovers) {
        std::error_code removeError;
        fs::remove(file, removeError);
    }
}

FileTransaction::FileTransaction() : outer_(openJournal == nullptr) {
    if (outer_) {
        openJournal = std::make_unique<Journal>();
    }
    mark_ = openJournal->entries.size();
    enclosingLevel_ = std::exchange(openJournal->level, mark_);
}

FileTransaction::~FileTransaction() {
    if (!committed_) {
        openJournal->rollBackTo(mark_);
    }
    openJournal->level = enclosingLevel_;
    if (outer_) {
        openJournal.reset();
    }
}

void FileTransaction::commit() {
    if (committed_) {
        return;
    }
    committed_ = true;
    if (!outer_) {
        return; // the enclosing transaction keeps or undoes these changes with its own
    }
    for (const Journal::Entry& entry : openJournal->entries) {
        if (entry.before == Journal::Before::KeptFile) {
            std::error_code error;
            fs::remove(entry.kept, error); // one left behind goes at the next start
        }
    }
}

void FileTransaction::noteFile(const fs::path& path) {
    if (openJournal == nullptr) {
        return;
    }
    openJournal->secureMovedVersion(path);
    if (openJournal->isNoted(path)) {
        return;
    }
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (!fs::exists(status)) {
        openJournal->add(path, Journal::Before::NoFile);
    } else if (fs::is_regular_file(status)) {
        openJournal->add(path, Journal::Before::KeptFile, keepVersion(path));
    }
}

bool FileTransaction::keepInsteadOfRemoving(const fs::path& path) {
    if (openJournal == nullptr) {
        return false;
    }
    openJournal->secureMovedVersion(path);
    if (openJournal->isNoted(path)) {
        // Its version from before this transaction is kept already; this one can just go.
        std::error_code error;
        fs::remove(path, error);
        if (error) {
            throw FileError(pathText(path) + " を削除できませんでした。");
        }
        return true;
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path kept = numberedTemporary(path);
        std::error_code error;
        if (fs::exists(fs::symlink_status(kept, error))) {
            continue;
        }
        fs::rename(path, kept, error);
        if (error) {
            break;
        }
        openJournal->add(path, Journal::Before::KeptFile, kept);
        return true;
    }
    throw FileError(pathText(path) + " を削除できませんでした。");
}

void FileTransaction::noteRename(const fs::path& from, const fs::path& to) {
    if (openJournal == nullptr) {
        return;
    }
    noteFile(to);
    openJournal->secureMovedVersion(from);
    std::error_code error;
    if (openJournal->isNoted(from) || !fs::is_regular_file(fs::symlink_status(from, error))) {
        noteFile(from);
        return;
    }
    // The file itself is the version to keep: after the rename it is `to`, unchanged.
    openJournal->add(from, Journal::Before::MovedAway, to);
}

void FileTransaction::noteFolder(const fs::path& folder) {
    if (openJournal == nullptr) {
        return;
    }
    // The folders that do not exist yet, outermost first, so that rolling back (newest first)
    // removes the innermost first.
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path at = folder; !at.empty() && !fs::exists(at, error); at = at.parent_path()) {
        missing.push_back(at);
        if (at == at.parent_path()) {
            break;
        }
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!openJournal->isNoted(*it)) {
            openJournal->add(*it, Journal::Before::NoFolder);
        }
    }
}

void failNthFileCall(int n, FileFault kind) {
    faultAt = n;
    faultKind = kind;
    fileCalls = 0;
}

int countedFileCalls() {
    return fileCalls;
}

std::vector<std::string_view> splitTextLineViews(std::string_view utf8) {
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<std::size_t>(std::count(utf8.begin(), utf8.end(), '\n')) + 1);
    while (!utf8.empty()) {
        const std::size_t end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        utf8.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string> splitTextLines(std::string_view utf8) {
    const std::vector<std::string_view> views = splitTextLineViews(utf8);
    return {views.begin(), views.end()};
}

std::vector<std::string> readTextLines(const fs::path& path) {
    std::error_code error;
    if (!fs::exists(path, error) && !error) {
        return {};
    }
    fileStep(path);
    return splitTextLines(fromCp932(readRegularFile(path, kTextReadLimit)));
}

void writeTextLines(const fs::path& path, const std::vector<std::string>& lines,
                    Durability durability) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += toCp932(line);
        bytes += "\r\n";
    }
    writeFileAtomically(path, bytes, durability);
}

} // namespace kerbina
