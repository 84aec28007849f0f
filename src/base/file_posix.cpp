#include "base/file_posix.h"

#include "base/file_io.h"
#include "base/path_text.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kerbina {

namespace fs = std::filesystem;

namespace {

FileError readFailure(const fs::path& path) {
    return FileError("ファイルを読み込めませんでした: " + pathText(path));
}

// The one way the program reads a file. The open never waits, so that a FIFO cannot block before
// its type is seen (for a regular file the flag changes nothing); then anything but a regular file
// is refused. At most `limit` bytes are read: `head` takes the first `limit` bytes of a longer
// file, otherwise a longer file is refused whole instead of filling the memory.
std::string readRegularFileUpTo(const fs::path& path, std::uintmax_t limit, bool head) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        throw readFailure(path);
    }
    struct Closer {
        int descriptor;
        ~Closer() { ::close(descriptor); }
    } closer{descriptor};
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        throw readFailure(path);
    }
    if (!S_ISREG(status.st_mode)) {
        throw FileError("通常のファイルではないため読み込めません: " + pathText(path));
    }
    const auto tooLarge = [&path, limit] {
        return FileError("ファイルが大きすぎるため読み込めません（上限 " +
                         std::to_string(limit / (1024 * 1024)) + " MB）: " + pathText(path));
    };
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    if (size > limit && !head) {
        throw tooLarge();
    }
    // The size it has now; a file that grows meanwhile is read on, up to the limit (one byte
    // beyond it tells a whole read that the file is too large).
    const std::uintmax_t most = head ? limit : limit + 1;
    std::string bytes(static_cast<std::size_t>(std::min(size, most)), '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() >= most) {
                break;
            }
            bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(
                most, bytes.size() + std::max<std::size_t>(bytes.size(), 4096))));
        }
        const ::ssize_t count = ::read(descriptor, bytes.data() + filled, bytes.size() - filled);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw readFailure(path);
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    if (filled > limit) {
        throw tooLarge();
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace

std::FILE* createNewFile(const fs::path& path, bool& exists) {
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    exists = file == nullptr && errno == EEXIST;
    return file;
}

bool flushToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0;
}

std::string readRegularFile(const fs::path& path, std::uintmax_t limit) {
    return readRegularFileUpTo(path, limit, false);
}

std::string readRegularFileHead(const fs::path& path, std::size_t count) {
    return readRegularFileUpTo(path, count, true);
}

std::optional<FileStamp> fileStamp(const fs::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    const auto nanoseconds = [](const timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    return FileStamp{static_cast<std::uintmax_t>(status.st_size), nanoseconds(status.st_mtim),
                     nanoseconds(status.st_ctim), static_cast<std::uint64_t>(status.st_dev),
                     static_cast<std::uint64_t>(status.st_ino)};
}

} // namespace kerbina
