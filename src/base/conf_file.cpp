#include "base/conf_file.h"

#include "base/file_io.h"
#include "base/text.h"

namespace kerbina {

namespace {

constexpr std::string_view kScreenTop = "[Screen_Top]";
constexpr std::string_view kScreenLeft = "[Screen_Left]";
constexpr std::string_view kScreenWidth = "[Screen_Width]";
constexpr std::string_view kScreenHeight = "[Screen_Height]";

// A decimal whole number filling the whole text, or 0 (a hand-edited or damaged value).
std::int32_t wholeNumberOrZero(std::string_view text) {
    return parseInteger32(text).value_or(0);
}

} // namespace

std::optional<std::string_view> confKey(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return line.substr(0, equals);
}

std::string_view confValue(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return line.substr(equals + 1);
}

std::string confLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    return line;
}

std::string numberedKey(std::string_view stem, std::size_t number) {
    std::string key(stem);
    key += std::to_string(number);
    key += ']';
    return key;
}

std::string firstConfValue(const std::vector<std::string>& lines, std::string_view key) {
    for (const std::string& line : lines) {
        if (confKey(line) == key) {
            return std::string(confValue(line));
        }
    }
    return {};
}

std::optional<std::string> lastConfValue(const std::vector<std::string>& lines,
                                         std::string_view key) {
    std::optional<std::string> value;
    for (const std::string& line : lines) {
        if (confKey(line) == key) {
            value = std::string(confValue(line));
        }
    }
    return value;
}

std::filesystem::path settingsFilePath(const std::filesystem::path& dataRoot) {
    return dataRoot / "conf" / "Kerbina.conf";
}

std::filesystem::path networkFilePath(const std::filesystem::path& dataRoot) {
    return dataRoot / "conf" / "Network_conf.conf";
}

std::vector<std::string> readSettingsFileLines(const std::filesystem::path& dataRoot) {
    return readTextLines(settingsFilePath(dataRoot));
}

std::string readConfValue(const std::filesystem::path& dataRoot, std::string_view key) {
    return firstConfValue(readSettingsFileLines(dataRoot), key);
}

std::string readNetworkFolder(const std::filesystem::path& dataRoot) {
    return lastConfValue(readTextLines(networkFilePath(dataRoot)), "[Network_Dir]")
        .value_or(std::string());
}

std::filesystem::path windowPositionPath(const std::filesystem::path& dataRoot,
                                         std::string_view name) {
    std::string file(name);
    file += ".ini";
    return dataRoot / "conf" / file;
}

WindowPosition readWindowPosition(const std::filesystem::path& dataRoot, std::string_view name) {
    WindowPosition position;
    for (const std::string& line : readTextLines(windowPositionPath(dataRoot, name))) {
        const auto key = confKey(line);
        const std::int32_t value = wholeNumberOrZero(confValue(line));
        if (key == kScreenTop) {
            position.top = value;
        } else if (key == kScreenLeft) {
            position.left = value;
        } else if (key == kScreenWidth) {
            position.width = value;
        } else if (key == kScreenHeight) {
            position.height = value;
        }
    }
    return position;
}

void writeWindowPosition(const std::filesystem::path& dataRoot, std::string_view name,
                         const WindowPosition& position) {
    writeTextLines(windowPositionPath(dataRoot, name),
                   {
                       confLine(kScreenTop, std::to_string(position.top)),
                       confLine(kScreenLeft, std::to_string(position.left)),
                       confLine(kScreenWidth, std::to_string(position.width)),
                       confLine(kScreenHeight, std::to_string(position.height)),
                   });
}

} // namespace kerbina
