#pragma once

#include <filesystem>
#include <optional>

namespace kerbina {

// The lock file in the data root that marks a running instance.
inline constexpr const char* kInstanceLockFileName = "KERBINA.lock";

// Keeps a second instance from working on the same data root: an exclusive lock on
// dataRoot/KERBINA.lock held for as long as the object lives. The system drops the lock when the
// process ends, also after a crash, so a stale file never blocks a start.
class InstanceLock {
public:
    // The lock when no other holder has it, nothing when one has. Creates the data root and the
    // lock file when they are missing; raises FileError when that or the lock call fails for any
    // other reason (so that a broken folder is not mistaken for a running instance).
    static std::optional<InstanceLock> tryAcquire(const std::filesystem::path& dataRoot);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

private:
    explicit InstanceLock(int handle) : handle_(handle) {}
    void release();

    int handle_ = -1;
};

} // namespace kerbina
