#include "grid/dialog_lists.h"

#include "base/file_io.h"
#include "base/text.h"

#include <algorithm>

namespace kerbina {
namespace {

std::filesystem::path amountTextFile(const std::filesystem::path& dataRoot) {
    return dataRoot / "conf" / "comment.DAT";
}

} // namespace

std::vector<std::string> readListFile(const std::filesystem::path& file) {
    try {
        std::vector<std::string> lines = readTextLines(file);
        std::erase(lines, std::string());
        return lines;
    } catch (const FileError&) {
        return {};
    }
}

std::vector<std::string> readUnitList(const std::filesystem::path& dataRoot) {
    return readListFile(dataRoot / "conf" / "cilist.lst");
}

void rememberNewAtTop(std::vector<std::string>& history, const std::string& text,
                      std::size_t limit) {
    if (text.empty() || std::ranges::find(history, text) != history.end()) {
        return;
    }
    history.insert(history.begin(), text);
    if (history.size() > limit) {
        history.resize(limit);
    }
}

std::vector<std::string> readAmountTextHistory(const std::filesystem::path& dataRoot) {
    return readListFile(amountTextFile(dataRoot));
}

std::vector<std::string> rememberAmountTextInHistory(const std::filesystem::path& dataRoot,
                                                     const std::string& text,
                                                     const AmountSettingTexts& settingTexts) {
    std::vector<std::string> stored = readAmountTextHistory(dataRoot);
    const std::string cleaned = withoutLineBreaks(text);
    if (cleaned.empty() || std::ranges::find(settingTexts, cleaned) != settingTexts.end() ||
        std::ranges::find(stored, cleaned) != stored.end()) {
        return stored;
    }
    rememberNewAtTop(stored, cleaned, kAmountTextHistoryLength);
    writeTextLines(amountTextFile(dataRoot), stored);
    return stored;
}

} // namespace kerbina
