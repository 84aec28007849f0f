#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kerbina {

// Paths and the UTF-8 texts that settings files hold and messages show. Every message that names
// a file goes through pathText, so a Windows build (where a path is wide text) changes only here.

// A path from a UTF-8 text held in a settings file or typed by the user.
std::filesystem::path pathFromText(std::string_view utf8);
// The UTF-8 text of a path, as settings files and messages hold it.
std::string pathText(const std::filesystem::path& path);

} // namespace kerbina
