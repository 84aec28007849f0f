#include "settings/register_settings.h"

#include "settings/settings_files.h"

namespace kerbina {

bool restartNeeded(const EnvironmentSettings& inForce, const EnvironmentSettings& registered) {
    EnvironmentSettings waiting = registered;
    waiting.EDIT_OPT5 = inForce.EDIT_OPT5;
    waiting.EDIT_OPT4 = inForce.EDIT_OPT4;
    waiting.print_dir = inForce.print_dir;
    waiting.NUMBER_OPT1 = inForce.NUMBER_OPT1;
    waiting.NUMBER_OPT2 = inForce.NUMBER_OPT2;
    waiting.NUMBER_OPT3 = inForce.NUMBER_OPT3;
    waiting.numberAsLoaded = inForce.numberAsLoaded;
    waiting.EDIT_OPT1 = inForce.EDIT_OPT1;
    waiting.NUMBER_OPT4 = inForce.NUMBER_OPT4;
    waiting.NUMBER_OPT5 = inForce.NUMBER_OPT5;
    waiting.title1 = inForce.title1;
    waiting.title2 = inForce.title2;
    waiting.printCostSplit = inForce.printCostSplit;
    waiting.printJapaneseEra = inForce.printJapaneseEra;
    waiting.KINGAKU_NAME = inForce.KINGAKU_NAME;
    waiting.GROUP_NAME = inForce.GROUP_NAME;
    waiting.tankabtnName = inForce.tankabtnName;
    waiting.ci = inForce.ci;
    waiting.smallSumName = inForce.smallSumName;
    waiting.midSumName = inForce.midSumName;
    waiting.AllSumName = inForce.AllSumName;
    waiting.tax_opt_1 = inForce.tax_opt_1;
    waiting.EDIT_OPT10 = inForce.EDIT_OPT10;
    waiting.EDATA = inForce.EDATA;
    return waiting != inForce;
}

RegisterOutcome registerSettings(EnvironmentSettings& settings,
                                 const std::filesystem::path& dataRoot,
                                 NumberingRowStore& numbering, const EnvironmentSettings& inForce) {
    writeCompanyData(settings, dataRoot);
    const SettingsWritten written = writeEnvironmentSettings(settings, dataRoot, numbering);
    RegisterOutcome outcome;
    if (written.numberingRowWritten) {
        outcome.message = std::string(kSettingsRegisteredMessage);
        if (restartNeeded(inForce, settings)) {
            *outcome.message += "\r\n";
            *outcome.message += kRestartNeededLine;
        }
    }
    outcome.taxOffset = written.taxOffset;
    outcome.numbering = settings.numberingOptions();
    outcome.displayStyle = displayStyle(settings);
    return outcome;
}

} // namespace kerbina
