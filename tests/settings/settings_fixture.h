#pragma once

#include "base/file_io.h"
#include "settings/environment_settings.h"
#include "settings/numbering_row.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace kerbina {

// The numbering row kept in memory; a missing row is inserted whole, as in the database.
struct MemoryNumberingStore : NumberingRowStore {
    std::optional<NumberingRow> row;
    bool failWrites = false;
    std::vector<bool> writesWithNumber;

    std::optional<NumberingRow> read() override { return row; }
    bool write(const NumberingRow& written, bool withNumber) override {
        writesWithNumber.push_back(withNumber);
        if (failWrites) {
            return false;
        }
        const std::string number = row && !withNumber ? row->number : written.number;
        row = written;
        row->number = number;
        return true;
    }
};

// A fresh data root with its conf folder per test, removed afterwards.
class SettingsTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() /
                ("kerbina-settings-" + std::string(info->name()) + "-" +
                 std::to_string(std::random_device{}()));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "conf");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path conf(const char* name) const { return root_ / "conf" / name; }
    std::vector<std::string> lines(const char* name) const { return readTextLines(conf(name)); }

private:
    std::filesystem::path root_;
};

} // namespace kerbina
