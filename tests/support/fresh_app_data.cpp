#include "fresh_app_data.h"

#include <cstdlib>
#include <random>
#include <string>

namespace kerbina {

namespace {

void setEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

} // namespace

FreshAppData::FreshAppData()
    : path_(std::filesystem::temp_directory_path() /
            ("kerbina_appdata_" + std::to_string(std::random_device{}()) + "_" +
             std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path_);
    setEnvironment("KERBINA_APPDATA", path_.string());
}

FreshAppData::~FreshAppData() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace kerbina
