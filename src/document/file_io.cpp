#include "document/file_io.h"

#include "document/text_codec.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void failToRead(const fs::path& path) {
    throw FileError("ファイルを読み込めませんでした: " + path.string());
}

[[noreturn]] void failToWrite(const fs::path& path) {
    throw FileError("ファイルに書き込めませんでした: " + path.string());
}

// Closes the temporary file and removes it unless it was renamed into place, so a failed write
// leaves neither a half-written target nor a stray temporary behind.
class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& target) {
        // A random suffix keeps a leftover from a crashed run from blocking the next write.
        std::random_device random;
        for (int attempt = 0; attempt < 16 && file_ == nullptr; ++attempt) {
            path_ = target;
            path_ += "." + std::to_string(random() % 1000000) + ".tmp";
            file_ = std::fopen(path_.c_str(), "wbx");
            if (file_ == nullptr && errno != EEXIST) {
                break;
            }
        }
        if (file_ == nullptr) {
            failToWrite(target);
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
                  (durability == Durability::Scratch || ::fsync(::fileno(file_)) == 0);
        return close() && written;
    }

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
};

} // namespace

std::string readFileBytes(const fs::path& path) {
    std::error_code error;
    std::ifstream in(path, std::ios::binary);
    if (!in || fs::is_directory(path, error)) {
        failToRead(path);
    }
    // One read of the size the file has now; the loop also takes whatever another program
    // appended in the meantime, and a file that shrank just reads shorter.
    const std::uintmax_t expected = fs::file_size(path, error);
    std::string bytes(error ? std::size_t{0} : static_cast<std::size_t>(expected), '\0');
    std::size_t filled = 0;
    for (;;) {
        in.read(bytes.data() + filled, static_cast<std::streamsize>(bytes.size() - filled));
        filled += static_cast<std::size_t>(in.gcount());
        if (filled < bytes.size() || in.peek() == std::ifstream::traits_type::eof()) {
            break;
        }
        bytes.resize(bytes.size() + std::max<std::size_t>(bytes.size(), 4096));
    }
    if (in.bad()) {
        failToRead(path);
    }
    bytes.resize(filled);
    return bytes;
}

std::string readRegularFile(const fs::path& path, std::uintmax_t limit) {
    // Opened without waiting, so that a FIFO cannot block before its type is seen; for a
    // regular file the flag changes nothing.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        failToRead(path);
    }
    struct Closer {
        int descriptor;
        ~Closer() { ::close(descriptor); }
    } closer{descriptor};
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        failToRead(path);
    }
    if (!S_ISREG(status.st_mode)) {
        throw FileError("通常のファイルではないため読み込めません: " + path.string());
    }
    const auto tooLarge = [&path, limit] {
        return FileError("ファイルが大きすぎるため読み込めません（上限 " +
                         std::to_string(limit / (1024 * 1024)) + " MB）: " + path.string());
    };
    if (static_cast<std::uintmax_t>(status.st_size) > limit) {
        throw tooLarge();
    }
    // The size it has now; a file that grows meanwhile is read on, up to the limit.
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > limit) {
                throw tooLarge();
            }
            bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(
                limit + 1, bytes.size() + std::max<std::size_t>(bytes.size(), 4096))));
        }
        const ::ssize_t count = ::read(descriptor, bytes.data() + filled, bytes.size() - filled);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            failToRead(path);
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    bytes.resize(filled);
    return bytes;
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

void writeFileAtomically(const fs::path& path, std::string_view bytes, Durability durability) {
    writePiecesAtomically(path, std::span(&bytes, 1), durability);
}

void writePiecesAtomically(const fs::path& path, std::span<const std::string_view> pieces,
                           Durability durability) {
    TemporaryFile temporary(path);
    if (!temporary.write(pieces, durability) || !temporary.renameTo(path)) {
        failToWrite(path);
    }
}

std::vector<std::string> splitTextLines(std::string_view utf8) {
    std::vector<std::string> lines;
    while (!utf8.empty()) {
        const std::size_t end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        utf8.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string> readTextLines(const fs::path& path) {
    std::error_code error;
    if (!fs::exists(path, error) && !error) {
        return {};
    }
    return splitTextLines(fromCp932(readFileBytes(path)));
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
