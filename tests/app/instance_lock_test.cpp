#include "app/instance_lock.h"
#include "base/file_io.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

TEST(InstanceLock, OneHolderAtATime) {
    TempFolder folder;
    const auto root = folder.path() / "Norfell" / "kerbina_xe5";
    {
        auto first = InstanceLock::tryAcquire(root);
        ASSERT_TRUE(first);
        EXPECT_TRUE(std::filesystem::exists(root / kInstanceLockFileName));
        EXPECT_FALSE(InstanceLock::tryAcquire(root));

        // Moving the lock keeps it held.
        InstanceLock moved = std::move(*first);
        first.reset();
        EXPECT_FALSE(InstanceLock::tryAcquire(root));
    }
    // Released with its holder; the file left behind does not block the next start.
    EXPECT_TRUE(InstanceLock::tryAcquire(root));
}

TEST(InstanceLock, UnusableDataRootIsAnErrorNotARunningInstance) {
    TempFolder folder;
    writeFileAtomically(folder.path() / "file", "");
    EXPECT_THROW(InstanceLock::tryAcquire(folder.path() / "file" / "root"), FileError);
}

} // namespace
} // namespace kerbina
