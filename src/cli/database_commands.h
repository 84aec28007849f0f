#pragma once

#include "base/user_prompt.h"
#include "records/quotation_data.h"
#include "settings/main_settings.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace kerbina::cli {

// What the database commands borrow from the rest of the tool, so that a file is read and
// recomputed exactly as `totals` and `recalc` do it.
struct ToolServices {
    // The tool's help text, shown after "wrong arguments".
    std::string_view usage;
    // The settings in effect for the data root (or a fresh installation's); nothing, reported,
    // when they cannot be read.
    std::function<std::optional<MainSettings>(const std::optional<std::filesystem::path>&)>
        settings;
    // The quotation of a file, read and recomputed; nothing, reported, when it cannot be.
    std::function<std::optional<QuotationData>(const std::filesystem::path&, const MainSettings&)>
        recomputed;
};

// Messages of the core go to the error output, one line each; questions are answered No.
class ConsolePrompt final : public QuietPrompt {
public:
    void notify(const std::string& text) override;
    void reportError(std::string_view, std::string_view detail) override;
};

// The data root the tool works on: the one given, or this machine's. Nothing, reported, when the
// given one is no folder.
std::optional<std::filesystem::path>
checkedDataRoot(const std::optional<std::filesystem::path>& given);

// The database folder of the data root. A folder that "[Network_Dir]" names must be there: a
// share that is not mounted or an unplugged drive must not get a new database of its own, whose
// numbers the real one already holds. Nothing, reported, when it is missing.
std::optional<std::filesystem::path>
existingDatabaseFolder(const std::optional<std::filesystem::path>& given);
// The quotation database file of the data root, for the commands that only read it. Nothing,
// reported, when its folder or the file is missing.
std::optional<std::filesystem::path>
existingQuotationDatabase(const std::optional<std::filesystem::path>& given);
// Whether `output` may be written: a regular file or a new name. Reported when not.
bool outputMayBeWritten(const std::filesystem::path& output);

// "save FILE… [--data-root DIR]" and "export NUMBER -o FILE [--data-root DIR]". The exit status,
// or nothing when `command` is neither.
std::optional<int> runDatabaseCommand(std::string_view command,
                                      const std::vector<std::string_view>& words,
                                      const ToolServices& tool);

} // namespace kerbina::cli
