#include "settings/environment_settings.h"

#include "money/calc_settings.h"

namespace kerbina {

Currency EnvironmentSettings::taxOffset() const {
    return offsetFromOptionIndex(taxRoundingChoice).value_or(Currency::fromText("0.5"));
}

NumberingOptions EnvironmentSettings::numberingOptions() const {
    return NumberingOptions{
        .automatic = automaticNumbering,
        .perCustomer = numberingPerCustomer,
        .offerAfterCustomerPick = offerNumberAfterCustomerPick,
    };
}

DisplayStyle displayStyle(const EnvironmentSettings& settings) {
    return DisplayStyle{
        .horizontalGridLines = !settings.alternateRowShading(),
        .priceButtonCaptions = settings.priceButtonNames,
        .registerAsCodePriceCaption =
            "カーソル行のデータを" + settings.priceButtonNames[0] + "として登録",
        .registerAsTreePriceCaption =
            "カーソル行のデータを" + settings.priceButtonNames[1] + "として登録",
        .coverCaptions =
            CoverCaptions{
                .siteName1 = settings.siteNameTitle + "1",
                .siteName2 = settings.siteNameTitle + "2",
                .workName = settings.workNameTitle,
                .siteNameHint = settings.siteNameTitle,
                .workNameHint = settings.workNameTitle,
            },
    };
}

std::string browsedFolderText(std::string_view chosen) {
    // A lone separator is the root folder itself and stays.
    if (chosen.size() > 1 && (chosen.back() == '\\' || chosen.back() == '/')) {
        chosen.remove_suffix(1);
    }
    return std::string(chosen);
}

} // namespace kerbina
