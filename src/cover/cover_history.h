#pragma once

#include "cover/cover_fields.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kerbina {

// The history lists of the cover's text controls: earlier entries, newest first, at most
// kCoverHistoryLength, each list kept in its file in the work folder (one entry a line, CP932).
inline constexpr std::size_t kCoverHistoryLength = 30;

struct CoverHistories {
    // Indexed by CoverText; the texts without a history file keep an empty list.
    std::array<std::vector<std::string>, kCoverTextCount> lists;

    std::vector<std::string>& operator[](CoverText text) {
        return lists[static_cast<std::size_t>(text)];
    }
    const std::vector<std::string>& operator[](CoverText text) const {
        return lists[static_cast<std::size_t>(text)];
    }
};

// Reads every history list from the work folder. A list whose file is missing, or cannot be
// read, is empty: the lists are a convenience and never stop a quotation from opening.
CoverHistories loadCoverHistories(const std::filesystem::path& workFolder);

// Puts an entry at the top of a list: an entry already listed moves up instead of appearing
// twice, and the entry beyond the limit drops out. An empty text changes nothing.
void rememberCoverEntry(std::vector<std::string>& list, const std::string& text);

// The history update before the open sheet is written: every non-empty text of a control with a
// history list goes to the top of its list, then each list with entries is written to its file
// (only the lists whose entries changed are written again). Raises FileError.
void updateCoverHistories(const std::filesystem::path& workFolder, CoverHistories& histories,
                          const CoverValues& cover);

} // namespace kerbina
