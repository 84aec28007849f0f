#pragma once

#include "scripted_prompt.h"
#include "storage/database.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kerbina {

inline void PrintTo(const SqlRow& row, std::ostream* out) {
    *out << testing::PrintToString(row.columns);
}

// Runs `take` on two threads at once, each keeping what it was given, and checks that together
// they were given 2 × `each` texts, none of them twice.
inline void
expectDistinctWhenTwoTakeAtOnce(std::size_t each,
                                const std::function<void(std::vector<std::string>&)>& take) {
    std::vector<std::string> first;
    std::vector<std::string> second;
    std::thread a(take, std::ref(first));
    std::thread b(take, std::ref(second));
    a.join();
    b.join();
    std::set<std::string> distinct(first.begin(), first.end());
    distinct.insert(second.begin(), second.end());
    EXPECT_EQ(first.size() + second.size(), 2u * each);
    EXPECT_EQ(distinct.size(), 2u * each);
}

// A fresh folder per test, removed afterwards.
class StorageTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("kerbina-storage-" + std::string(info->name()) + "-" +
                   std::to_string(std::random_device{}()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    const std::filesystem::path& folder() const { return folder_; }

    ScriptedPrompt reporter = ScriptedPrompt::answering(false);

private:
    std::filesystem::path folder_;
};

} // namespace kerbina
