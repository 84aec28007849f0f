#pragma once

// What the fuzz targets share: the way a target stops on a fault it found, and a scratch data root
// for the readers that take a file rather than its text.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace kerbina::fuzz {

// Stops the run so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void fault(const char* target, const char* what) {
    std::fprintf(stderr, "%s: %s\n", target, what);
    std::abort();
}

// A folder of its own under the temporary folder ($TMPDIR; a memory file system keeps the runs
// fast), removed when the program ends.
class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("kerbina-fuzz-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The scratch folder of this run.
inline const std::filesystem::path& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path();
}

// Puts the input under `file` as it stands, with a plain write: the target fuzzes the reader, not
// the atomic writer.
inline void putFile(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        fault("fuzz", "the scratch file could not be written");
    }
}

inline std::string_view bytesOf(const std::uint8_t* bytes, std::size_t size) {
    return {reinterpret_cast<const char*>(bytes), size};
}

} // namespace kerbina::fuzz
