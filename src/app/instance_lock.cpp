#include "app/instance_lock.h"

#include "base/file_io.h"
#include "base/path_text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kerbina {

namespace {

[[noreturn]] void raiseLockError(const std::filesystem::path& file, const std::string& reason) {
    throw FileError("起動確認用のファイルを開けません。\r\n" + pathText(file) + "\r\n" + reason);
}

} // namespace

std::optional<InstanceLock> InstanceLock::tryAcquire(const std::filesystem::path& dataRoot) {
    const std::filesystem::path file = dataRoot / kInstanceLockFileName;
    std::error_code error;
    std::filesystem::create_directories(dataRoot, error);
    if (error) {
        raiseLockError(file, error.message());
    }
    const int handle = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (handle < 0) {
        raiseLockError(file, std::strerror(errno));
    }
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        ::close(handle);
        if (reason == EWOULDBLOCK) {
            return std::nullopt;
        }
        raiseLockError(file, std::strerror(reason));
    }
    return InstanceLock(handle);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
    if (this != &other) {
        release();
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

InstanceLock::~InstanceLock() {
    release();
}

void InstanceLock::release() {
    if (handle_ >= 0) {
        // Closing the descriptor releases the lock; the file stays for the next start.
        ::close(handle_);
        handle_ = -1;
    }
}

} // namespace kerbina
