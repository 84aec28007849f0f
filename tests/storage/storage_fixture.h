#pragma once

#include "storage/database.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace kerbina {

inline void PrintTo(const SqlRow& row, std::ostream* out) {
    *out << testing::PrintToString(row.columns);
}

// Records what the database layer reports instead of showing a box.
struct RecordingReporter : QuietPrompt {
    std::vector<std::pair<std::string, std::string>> reports; // box text, detail

    void reportError(std::string_view text, std::string_view detail) override {
        reports.emplace_back(text, detail);
    }
};

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

    RecordingReporter reporter;

private:
    std::filesystem::path folder_;
};

} // namespace kerbina
