#include "base/platform_paths.h"

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace kerbina {

namespace {

// An unset variable and an empty one mean the same: not configured.
std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::filesystem::path homeFolder() {
    std::string home = environmentValue("HOME");
    if (!home.empty()) {
        return home;
    }
    // A service account may run without HOME; the password database still knows the folder.
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return std::filesystem::current_path();
}

} // namespace

std::filesystem::path commonAppDataFolder() {
    std::string configured = environmentValue("KERBINA_APPDATA");
    if (!configured.empty()) {
        return configured;
    }
    // The XDG rules say a relative XDG_DATA_HOME is invalid and must be ignored.
    std::filesystem::path xdg = environmentValue("XDG_DATA_HOME");
    if (xdg.is_absolute()) {
        return xdg;
    }
    return homeFolder() / ".local" / "share";
}

std::filesystem::path installFolder() {
    std::string configured = environmentValue("KERBINA_INSTALL_DIR");
    if (!configured.empty()) {
        return configured;
    }
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path();
    }
    return executable.parent_path();
}

} // namespace kerbina
