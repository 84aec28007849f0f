#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

struct AppFolders;

// The companion programs beside the executable: a program is named by its base name, without
// ".exe"; a file of that name, or else one with ".exe" appended, in the installation folder is
// the program. Nothing when neither is there.
std::optional<std::filesystem::path> companionProgram(const std::filesystem::path& installFolder,
                                                      std::string_view baseName);
// What the user is told when a companion program is not installed.
std::string companionMissingText(std::string_view baseName);

// The price registration programs of the piping module.
inline constexpr std::string_view kStandardPriceProgram = "fgtankak";  // 標準単価, 管材単価
inline constexpr std::string_view kAccessoryPriceProgram = "fgtankaf"; // 付属単価, VHS単価

// The one-line argument of the standard price program: the data folder, the quotation folder,
// the quotation database file, "0" and the database folder, each followed by ";".
std::string standardPriceArgument(const AppFolders& folders,
                                  const std::filesystem::path& databaseFile);
// The argument of the accessory price program for the button's tag: tag ";1;0;0;", then the
// folder of the quotation database file with a closing separator, and ";".
std::string accessoryPriceArgument(int tag, const std::filesystem::path& databaseFile);

} // namespace kerbina
