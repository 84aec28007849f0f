#include "settings/environment_settings.h"

#include "money/calc_settings.h"

namespace kerbina {

Currency EnvironmentSettings::taxOffset() const {
    return offsetFromOptionIndex(tax_opt_1).value_or(Currency::fromText("0.5"));
}

NumberingOptions EnvironmentSettings::numberingOptions() const {
    return NumberingOptions{
        .automatic = EDIT_OPT1,
        .perCustomer = NUMBER_OPT4,
        .offerAfterCustomerPick = NUMBER_OPT5,
    };
}

DisplayStyle displayStyle(const EnvironmentSettings& settings) {
    return DisplayStyle{
        .horizontalGridLines = !settings.alternateRowShading(),
        .priceButtonCaptions = settings.tankabtnName,
        .registerAsCodePriceCaption =
            "カーソル行のデータを" + settings.tankabtnName[0] + "として登録",
        .registerAsTreePriceCaption =
            "カーソル行のデータを" + settings.tankabtnName[1] + "として登録",
        .coverCaptions =
            CoverCaptions{
                .siteName1 = settings.title1 + "1",
                .siteName2 = settings.title1 + "2",
                .workName = settings.title2,
                .siteNameHint = settings.title1,
                .workNameHint = settings.title2,
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
