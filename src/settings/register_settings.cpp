#include "settings/register_settings.h"

#include "settings/settings_files.h"

namespace kerbina {

RegisterOutcome registerSettings(EnvironmentSettings& settings,
                                 const std::filesystem::path& dataRoot,
                                 NumberingRowStore& numbering) {
    writeCompanyData(settings, dataRoot);
    const SettingsWritten written = writeEnvironmentSettings(settings, dataRoot, numbering);
    RegisterOutcome outcome;
    if (written.numberingRowWritten) {
        outcome.message = std::string(kSettingsRegisteredMessage);
    }
    outcome.taxOffset = written.taxOffset;
    outcome.numbering = settings.numberingOptions();
    outcome.displayStyle = displayStyle(settings);
    return outcome;
}

} // namespace kerbina
