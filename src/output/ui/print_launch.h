#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kerbina {

// Starts a print program without waiting for it: `argument`, when given, is its single
// command-line argument, passed as it stands (no shell). False when the program did not start
// (missing, not executable); the caller tells the user with printProgramFailedMessage.
bool startPrintProgram(const std::filesystem::path& program,
                       const std::optional<std::string>& argument);

} // namespace kerbina
