#pragma once

#include "money/currency.h"
#include "settings/environment_settings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

class NumberingRowStore;

// The confirmation shown after the settings were registered, and the line added to it when a
// registered change waits for the next start.
inline constexpr std::string_view kSettingsRegisteredMessage = "環境設定を登録しました。";
inline constexpr std::string_view kRestartNeededLine =
    "設定を反映するにはソフトウェアを再起動してください。";

// Whether `registered` changes a setting the running program took from the settings files when it
// started or began the open quotation (calculation and column options, cover texts, the network
// folder, ...). The settings in effect at once after "登　録" do not count: the numbering, the
// tax rounding, the display style, the values other windows read from the dialog (print style,
// unit texts, group names, sum-line texts, amount texts), the printed options, the company data
// and the start-up password, which only the next start asks for anyway.
bool restartNeeded(const EnvironmentSettings& inForce, const EnvironmentSettings& registered);

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
// The confirmation asks for a restart only when a change needs one against `inForce`, the
// settings the running program works with. A file that cannot be written raises FileError and
// stops the registration there; the stores written before it stay written, and nothing is to be
// applied.
RegisterOutcome registerSettings(EnvironmentSettings& settings,
                                 const std::filesystem::path& dataRoot,
                                 NumberingRowStore& numbering, const EnvironmentSettings& inForce);

} // namespace kerbina
