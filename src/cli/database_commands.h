#pragma once

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

// "save FILE… [--data-root DIR]" and "export NUMBER -o FILE [--data-root DIR]". The exit status,
// or nothing when `command` is neither.
std::optional<int> runDatabaseCommand(std::string_view command,
                                      const std::vector<std::string_view>& words,
                                      const ToolServices& tool);

} // namespace kerbina::cli
