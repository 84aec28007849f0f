#include "document/document_events.h"

#include <algorithm>
#include <cstddef>

namespace kerbina {

namespace {

template <typename Rows>
void appendChangesBetween(const Rows& before, const Rows& after, int sheet,
                          DocumentChanges& changes) {
    std::size_t first = 1;
    while (first < before.size() && first < after.size() && before[first] == after[first]) {
        ++first;
    }
    std::size_t endBefore = std::max(before.size(), first);
    std::size_t endAfter = std::max(after.size(), first);
    while (endBefore > first && endAfter > first && before[endBefore - 1] == after[endAfter - 1]) {
        --endBefore;
        --endAfter;
    }
    const std::size_t changed = std::min(endBefore, endAfter) - first;
    const auto row = [](std::size_t index) {
        return static_cast<int>(index);
    };
    if (changed > 0) {
        changes.emplace_back(DocumentChange::Kind::RowsChanged, sheet, row(first),
                             row(first + changed - 1));
    }
    if (endAfter > endBefore) {
        changes.emplace_back(DocumentChange::Kind::RowsInserted, sheet, row(first + changed),
                             row(endAfter - 1));
    } else if (endBefore > endAfter) {
        changes.emplace_back(DocumentChange::Kind::RowsRemoved, sheet, row(first + changed),
                             row(endBefore - 1));
    }
}

} // namespace

void appendRowChanges(const Sheet& before, const Sheet& after, int sheet,
                      DocumentChanges& changes) {
    appendChangesBetween(before, after, sheet, changes);
}

void appendRowChanges(const ItemList& before, const ItemList& after, DocumentChanges& changes) {
    appendChangesBetween(before, after, 0, changes);
}

} // namespace kerbina
