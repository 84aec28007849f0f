#pragma once

#include <filesystem>
#include <optional>
#include <string>

class QWidget;

namespace kerbina {

class SubsystemHost;
struct PrintRequest;
struct QuotationPrintSettings;

// Starts a print program without waiting for it: `argument`, when given, is its single
// command-line argument, passed as it stands (no shell). False when the program did not start
// (missing, not executable); the caller tells the user with printProgramFailedMessage.
bool startPrintProgram(const std::filesystem::path& program,
                       const std::optional<std::string>& argument);

// Starts the print program of `request`; one that does not start is reported over `parent`.
void startPrint(QWidget* parent, const PrintRequest& request);

// The print settings in force. The print style is the settings dialog's, so a style chosen there
// is the next print's.
QuotationPrintSettings printSettings(const SubsystemHost& host);

} // namespace kerbina
