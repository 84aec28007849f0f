#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace kerbina {

// A fresh empty folder for one test, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("kerbina_app_" + std::to_string(std::random_device{}()) + "_" +
                 std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace kerbina
