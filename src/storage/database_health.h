#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

// Two things a save must know about the quotation database before it writes there: whether
// another program holds it, and whether its file is damaged.

// ---- Waiting for another program's lock ----

// Told while a save waits for another program to let go of the database. The window shows a box
// with "中止" and keeps answering meanwhile; without a window the wait is silent.
class LockWaitObserver {
public:
    virtual ~LockWaitObserver() = default;
    // Between two tries: how long the wait has lasted, of at most `limit`. False stops it (中止).
    virtual bool keepWaiting(std::chrono::milliseconds waited, std::chrono::milliseconds limit) = 0;
    // The wait is over, however it ended. Called only after keepWaiting was.
    virtual void waitEnded() = 0;
};

// How long a save waits for the database, and how often it looks again.
struct LockWaitPolicy {
    std::chrono::milliseconds limit{15000};
    std::chrono::milliseconds interval{50};
};

enum class WriteAccess {
    Free,      // nobody holds the write lock now (or the file cannot tell: the save's own
               // statements then meet and report the fault)
    InUse,     // another program held it for the whole wait
    Cancelled, // the user stopped the wait
};

// Waits until the database file could be written: takes its write lock and lets it go at once,
// again every `interval`, until that succeeds, `limit` has passed or the observer says stop.
WriteAccess waitForWriteAccess(const std::filesystem::path& file, LockWaitObserver& observer,
                               LockWaitPolicy policy = {});

// What the user is told when a save gave up on the lock: nothing was written.
std::string databaseInUseMessage(const std::filesystem::path& file);
inline constexpr std::string_view kSaveCancelledText =
    "保存を中止しました。データは保存されていません。";

// ---- Checking the file ----

enum class CheckDepth {
    Quick, // the page structure, without comparing the indexes to their tables
    Full,  // everything, the indexes included
};

struct DatabaseCheck {
    enum class Result {
        Sound,
        Damaged,      // a database with damaged pages: statements may still succeed on it
        NotADatabase, // every statement fails on it, and says so itself
        NotChecked,   // not there, locked, not finished within the time given: nothing is known
    };
    bool unusable() const { return result == Result::Damaged || result == Result::NotADatabase; }
    Result result = Result::NotChecked;
    // Damaged: the first faults the check found, one a line.
    std::string detail;
};

// Checks a database file, reading only. A check that runs longer than `limit` is stopped and
// tells nothing (the start is not held up by a huge database); nothing: no limit.
DatabaseCheck checkDatabaseFile(const std::filesystem::path& file, CheckDepth depth,
                                std::optional<std::chrono::milliseconds> limit);

// The time the check at start may take.
inline constexpr std::chrono::milliseconds kStartCheckLimit{5000};

// What the user is told about a damaged quotation database, with what to do.
std::string damagedDatabaseMessage(const std::filesystem::path& file, const DatabaseCheck& check);
// The answer to a check the user asked for: sound, damaged (as above) or not checked, and why.
std::string databaseCheckReport(const std::filesystem::path& file, const DatabaseCheck& check);

} // namespace kerbina
