#include "cover/cover_history.h"

#include "base/file_io.h"

#include <algorithm>

namespace kerbina {

CoverHistories loadCoverHistories(const std::filesystem::path& workFolder) {
    CoverHistories histories;
    for (const CoverTextField& field : coverTextFields()) {
        if (field.historyFile.empty()) {
            continue;
        }
        std::vector<std::string>& list = histories[field.text];
        try {
            list = readTextLines(workFolder / field.historyFile);
        } catch (const FileError&) {
            list.clear();
        }
        std::erase(list, std::string());
        if (list.size() > kCoverHistoryLength) {
            list.resize(kCoverHistoryLength);
        }
    }
    return histories;
}

void rememberCoverEntry(std::vector<std::string>& list, const std::string& text) {
    if (text.empty()) {
        return;
    }
    std::erase(list, text);
    list.insert(list.begin(), text);
    if (list.size() > kCoverHistoryLength) {
        list.resize(kCoverHistoryLength);
    }
}

void updateCoverHistories(const std::filesystem::path& workFolder, CoverHistories& histories,
                          const CoverValues& cover) {
    for (const CoverTextField& field : coverTextFields()) {
        if (field.historyFile.empty()) {
            continue;
        }
        std::vector<std::string>& list = histories[field.text];
        const std::vector<std::string> before = list;
        rememberCoverEntry(list, cover[field.text]);
        const std::filesystem::path file = workFolder / field.historyFile;
        std::error_code error;
        if (!list.empty() && (list != before || !std::filesystem::exists(file, error))) {
            // The lists live in the work folder beside the other scratch files; losing the newest
            // entries to a power cut costs nothing a user relies on.
            writeTextLines(file, list, Durability::Scratch);
        }
    }
}

} // namespace kerbina
