#pragma once

#include "money/currency.h"
#include "settings/environment_settings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

class NumberingRowStore;

// The confirmation shown after the settings were registered.
inline constexpr std::string_view kSettingsRegisteredMessage =
    "環境設定を登録しました。\r\n設定を反映するにはソフトウェアを再起動してください。";

// What the settings window applies after "登　録"; the rest takes effect when the settings files
// are next read.
struct RegisterOutcome {
    // The confirmation to show; nothing when the numbering row could not be written, which has
    // been reported already and must not be followed by a message saying all was registered.
    std::optional<std::string> message;
    // The tax rounding offset of the open quotation.
    Currency taxOffset;
    NumberingOptions numbering;
    DisplayStyle displayStyle;
};

// "登　録": writes USER_DATA.conf, then the numbering row, Kerbina.conf and Network_conf.conf.
// A file that cannot be written raises FileError and stops the registration there; the stores
// written before it stay written, and nothing is to be applied.
RegisterOutcome registerSettings(EnvironmentSettings& settings,
                                 const std::filesystem::path& dataRoot,
                                 NumberingRowStore& numbering);

} // namespace kerbina
