#include "app/instance_lock.h"

#include "base/file_io.h"
#include "base/path_text.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kerbina {

namespace {

// The reason in the user's words: the operating system's own text is English.
std::string reasonText(std::error_code error) {
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
        return "書き込みが許可されていません。フォルダーのアクセス権限を確かめてください。";
    }
    if (error == std::errc::read_only_file_system) {
        return "読み取り専用のドライブには書き込めません。";
    }
    if (error == std::errc::no_space_on_device) {
        return "ディスクの空き容量が不足しています。";
    }
    if (error == std::errc::not_a_directory || error == std::errc::file_exists) {
        return "フォルダーの名前にファイルがあります。";
    }
    if (error == std::errc::no_such_file_or_directory) {
        return "フォルダーがありません。";
    }
    return "システムのエラー (" + std::to_string(error.value()) + ") のため開けません。";
}

[[noreturn]] void raiseLockError(const std::filesystem::path& file, std::error_code reason) {
    throw FileError("起動確認用のファイルを開けません。\r\n" + pathText(file) + "\r\n" +
                    reasonText(reason));
}

std::error_code lastError(int reason) {
    return std::error_code(reason, std::generic_category());
}

} // namespace

std::optional<InstanceLock> InstanceLock::tryAcquire(const std::filesystem::path& dataRoot) {
    const std::filesystem::path file = dataRoot / kInstanceLockFileName;
    std::error_code error;
    std::filesystem::create_directories(dataRoot, error);
    if (error) {
        raiseLockError(file, error);
    }
    const int handle = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (handle < 0) {
        raiseLockError(file, lastError(errno));
    }
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        ::close(handle);
        if (reason == EWOULDBLOCK) {
            return std::nullopt;
        }
        raiseLockError(file, lastError(reason));
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
