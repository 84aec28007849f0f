#include "app/instance_lock.h"
#include "base/file_io.h"
#include "base/path_text.h"
#include "temp_folder.h"

#include <algorithm>
#include <cctype>
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
    const std::filesystem::path root = folder.path() / "file" / "root";
    try {
        InstanceLock::tryAcquire(root);
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        // Japanese throughout: apart from the path, no word of the operating system's English.
        std::string message = error.what();
        const std::string path = pathText(root / kInstanceLockFileName);
        ASSERT_NE(message.find(path), std::string::npos) << message;
        message.erase(message.find(path), path.size());
        EXPECT_TRUE(std::ranges::none_of(message, [](unsigned char c) {
            return std::isalpha(c) != 0;
        })) << message;
        EXPECT_NE(message.find("フォルダーの名前にファイルがあります。"), std::string::npos)
            << message;
    }
}

} // namespace
} // namespace kerbina
