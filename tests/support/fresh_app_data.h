#pragma once

#include <filesystem>

namespace kerbina {

// Gives the test process a fresh, empty common application data folder: a new folder in the
// system's temporary folder becomes KERBINA_APPDATA for the life of the object, and is removed with
// everything in it afterwards. Every test program's main holds one, so a test never sees the data
// of another run, whether ctest or a developer starts it.
class FreshAppData {
public:
    FreshAppData();
    ~FreshAppData();
    FreshAppData(const FreshAppData&) = delete;
    FreshAppData& operator=(const FreshAppData&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace kerbina
