#include "settings/register_settings.h"

#include "settings/settings_files.h"

namespace kerbina {

bool restartNeeded(const EnvironmentSettings& inForce, const EnvironmentSettings& registered) {
    EnvironmentSettings waiting = registered;
    waiting.startupPassword = inForce.startupPassword;
    waiting.askPasswordAtStart = inForce.askPasswordAtStart;
    waiting.printStyleFile = inForce.printStyleFile;
    waiting.numberPrefix = inForce.numberPrefix;
    waiting.numberWidth = inForce.numberWidth;
    waiting.numberCounter = inForce.numberCounter;
    waiting.numberAsLoaded = inForce.numberAsLoaded;
    waiting.automaticNumbering = inForce.automaticNumbering;
    waiting.numberingPerCustomer = inForce.numberingPerCustomer;
    waiting.offerNumberAfterCustomerPick = inForce.offerNumberAfterCustomerPick;
    waiting.siteNameTitle = inForce.siteNameTitle;
    waiting.workNameTitle = inForce.workNameTitle;
    waiting.printCostSplit = inForce.printCostSplit;
    waiting.printJapaneseEra = inForce.printJapaneseEra;
    waiting.amountTexts = inForce.amountTexts;
    waiting.groupNameList = inForce.groupNameList;
    waiting.priceButtonNames = inForce.priceButtonNames;
    waiting.unitList = inForce.unitList;
    waiting.smallSumName = inForce.smallSumName;
    waiting.midSumName = inForce.midSumName;
    waiting.sumName = inForce.sumName;
    waiting.taxRoundingChoice = inForce.taxRoundingChoice;
    waiting.rowShadingChoice = inForce.rowShadingChoice;
    waiting.companyData = inForce.companyData;
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
