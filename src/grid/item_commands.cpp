#include "grid/item_commands.h"

#include "base/file_io.h"
#include "base/text_codec.h"
#include "records/item_settings.h"
#include "records/line_kinds.h"

#include <array>
#include <cstdint>
#include <span>

namespace fs = std::filesystem;

namespace kerbina {
namespace {

constexpr std::size_t kPickupRecordSize = 440;

std::span<ItemRecord> realItems(DocumentState& state) {
    return std::span(state.items).subspan(1);
}

std::string firstNamePart(const std::string& name) {
    return name.substr(0, name.find(';'));
}

std::optional<std::string> readIfPresent(const fs::path& file) {
    std::error_code error;
    if (!fs::exists(file, error)) {
        return std::nullopt;
    }
    return readFileBytes(file);
}

// The three files of an item, as functions of the item number.
using ItemFileName = fs::path (*)(const fs::path&, int);
constexpr std::array<ItemFileName, 3> kItemFiles = {itemSheetFile, itemPickupFile,
                                                    itemAggregationFile};

void deleteItemFiles(const fs::path& workFolder, int item) {
    for (const ItemFileName file : kItemFiles) {
        removeFile(file(workFolder, item));
    }
}

// The files of item `from` become those of item `to`; whatever item `to` had is gone first, so
// that a file `from` lacks does not survive from the item that was there before.
void moveItemFiles(const fs::path& workFolder, int from, int to) {
    for (const ItemFileName file : kItemFiles) {
        const fs::path source = file(workFolder, from);
        const fs::path target = file(workFolder, to);
        removeFile(target);
        std::error_code error;
        if (fs::exists(source, error)) {
            renameFile(source, target);
        }
    }
}

// Writes a captured record file for item `item`: every record's first field is its sheet number.
// A file that is not a whole number of records is not in the record format and is copied as it
// is.
void writeRecordFile(const fs::path& file, const std::optional<std::string>& bytes,
                     std::size_t recordSize, int item) {
    if (!bytes) {
        removeFile(file);
        return;
    }
    std::string records = *bytes;
    const auto number = static_cast<std::uint32_t>(item);
    const std::size_t whole = records.size() % recordSize == 0 ? records.size() : 0;
    for (std::size_t offset = 0; offset + recordSize <= whole; offset += recordSize) {
        for (std::size_t i = 0; i < 4; ++i) {
            records[offset + i] = static_cast<char>((number >> (8 * i)) & 0xFF);
        }
    }
    writeFileAtomically(file, records);
}

void writeClipboardFiles(const fs::path& workFolder, const ItemClipboard& clipboard, int item) {
    writeRecordFile(itemSheetFile(workFolder, item), clipboard.sheetFile, kLineRecordSize, item);
    writeRecordFile(itemPickupFile(workFolder, item), clipboard.pickupFile, kPickupRecordSize,
                    item);
    if (clipboard.aggregationFile) {
        writeFileAtomically(itemAggregationFile(workFolder, item), *clipboard.aggregationFile);
    } else {
        removeFile(itemAggregationFile(workFolder, item));
    }
}

ItemClipboard captureItem(const GridContext& context, int item) {
    ItemClipboard clipboard;
    clipboard.item = context.state.items[static_cast<std::size_t>(item)];
    clipboard.sheetFile = readIfPresent(itemSheetFile(context.workFolder, item));
    clipboard.pickupFile = readIfPresent(itemPickupFile(context.workFolder, item));
    clipboard.aggregationFile = readIfPresent(itemAggregationFile(context.workFolder, item));
    return clipboard;
}

// The texts of Copy and Cut: nothing at the row, a hierarchy parent, and the confirmation's ending.
struct RememberTexts {
    const char* nothingHere;
    const char* hierarchyParent;
    const char* remembered;
};

// Remembers the item of the selection with its files as they are now, or says why it cannot;
// true when the item was remembered.
bool rememberItem(GridContext& context, Selection selection, const RememberTexts& texts) {
    const int row = selection.top;
    if (row < 1 || row > context.state.itemMax()) {
        context.host.notify(texts.nothingHere);
        return false;
    }
    const ItemRecord& item = context.state.items[static_cast<std::size_t>(row)];
    if (item.kind == ItemKind::HierarchyParentFirst) {
        context.host.notify(texts.hierarchyParent);
        return false;
    }
    context.session.itemClipboard = captureItem(context, row);
    context.host.notify("工 種 :" + item.name + texts.remembered);
    return true;
}

} // namespace

CommandResult copyItem(GridContext& context, Selection selection) {
    rememberItem(
        context, selection,
        {"ここには複写するデータがありません。", "階層元はコピーできません", "を複写しました。"});
    return nothingChanged(selection);
}

CommandResult cutItem(GridContext& context, Selection selection) {
    if (!rememberItem(context, selection,
                      {"ここには切り取るデータがありません。", "階層元は切り取りできません",
                       "を切り取りました。"})) {
        return nothingChanged(selection);
    }
    return deleteItem(context, selection);
}

CommandResult pasteItem(GridContext& context, Selection selection) {
    DocumentState& state = context.state;
    const int target = selection.top;
    if (!context.session.itemClipboard || target < 1) {
        return nothingChanged(selection);
    }
    const bool existing = target <= state.itemMax();
    if (existing &&
        state.items[static_cast<std::size_t>(target)].kind == ItemKind::HierarchyParentFirst) {
        context.host.notify("階層元に貼り付ける事はできません");
        return nothingChanged(selection);
    }
    // Held by value: the question and the file writes must not see a later copy.
    const ItemClipboard source = *context.session.itemClipboard;
    const std::string where =
        existing ? state.items[static_cast<std::size_t>(target)].name : std::to_string(target);
    if (!context.host.askYesNo(source.item.name + " を" + where + ":に貼付ますか？")) {
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    if (!existing) {
        const int appended = target - state.itemMax();
        for (ItemRecord& item : realItems(state)) {
            const auto [first, last] = itemRangeNumbers(item);
            if (hasItemRange(item.kind) && last + appended == target) {
                setItemRange(item, first, target);
            }
        }
        while (state.itemMax() < target) {
            state.items.push_back(newSheetItem());
        }
    }
    state.items[static_cast<std::size_t>(target)] = source.item;
    writeClipboardFiles(context.workFolder, source, target);
    if (target == state.currentSheetNumber) {
        context.cycle.reloadSheet();
    }
    return finishListChange(context, selection);
}

CommandResult insertItem(GridContext& context, Selection selection) {
    DocumentState& state = context.state;
    const int row = selection.top;
    if (row < 1 || row > state.itemMax()) {
        context.host.notify("ここに割込することはできません。");
        return nothingChanged(selection);
    }
    if (!context.host.askYesNo(firstNamePart(state.items[static_cast<std::size_t>(row)].name) +
                               "以降１つずらしますか？")) {
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    insertEmptyItem(context, row);
    return finishListChange(context, selection);
}

void insertEmptyItem(GridContext& context, int row) {
    DocumentState& state = context.state;
    for (int item = state.itemMax(); item >= row; --item) {
        moveItemFiles(context.workFolder, item, item + 1);
    }
    deleteItemFiles(context.workFolder, row);
    for (ItemRecord& item : realItems(state)) {
        if (!hasItemRange(item.kind)) {
            continue;
        }
        const auto [first, last] = itemRangeNumbers(item);
        if (first > row) {
            setItemRange(item, first + 1, last + 1);
        } else if (last >= row) {
            setItemRange(item, first, last + 1);
        }
    }
    state.items.insert(state.items.begin() + row, newSheetItem());
    // The open sheet's item moved with its file.
    if (state.currentSheetNumber >= row) {
        ++state.currentSheetNumber;
    }
}

CommandResult renameItem(GridContext& context, Selection selection, int item,
                         const std::string& name, bool listMode) {
    DocumentState& state = context.state;
    if (item < 1) {
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    while (state.itemMax() < item) {
        state.items.push_back(newSheetItem());
    }
    state.items[static_cast<std::size_t>(item)].name = fitToWidth(name, kItemNameWidth);
    context.cycle.recalculate(listMode);
    context.cycle.writeList();
    if (!listMode) {
        context.cycle.writeSheet();
    }
    CommandResult result;
    result.changed = true;
    result.selection = selection;
    return result;
}

CommandResult deleteItem(GridContext& context, Selection selection) {
    DocumentState& state = context.state;
    const int row = selection.top;
    if (row < 1 || row > state.itemMax()) {
        context.host.notify("ここには削除する工種がありません。");
        return nothingChanged(selection);
    }
    if (!context.host.askYesNo(state.items[static_cast<std::size_t>(row)].name +
                               " を削除しますか？")) {
        return nothingChanged(selection);
    }
    context.cycle.takeListSnapshot();
    if (state.itemMax() == 1) {
        state.items.push_back(newSheetItem());
    }
    const ItemRecord removed = state.items[static_cast<std::size_t>(row)];
    if (isHierarchyParent(removed.kind)) {
        const auto [first, last] = itemRangeNumbers(removed);
        for (int item = std::max(first, 1); item <= std::min(last, state.itemMax()); ++item) {
            if (item != row) {
                ItemRecord& member = state.items[static_cast<std::size_t>(item)];
                member.kind = oneLevelUp(member.kind);
            }
        }
    }
    const int lastItem = state.itemMax();
    for (int item = row; item < lastItem; ++item) {
        moveItemFiles(context.workFolder, item + 1, item);
    }
    deleteItemFiles(context.workFolder, lastItem);
    state.items.erase(state.items.begin() + row);
    for (ItemRecord& item : realItems(state)) {
        if (!hasItemRange(item.kind)) {
            continue;
        }
        const auto [first, last] = itemRangeNumbers(item);
        if (first > row) {
            setItemRange(item, first - 1, last - 1);
        } else if (last >= row) {
            setItemRange(item, first, last - 1);
        }
    }
    // The open sheet's item moved with its file; when it was the removed one, the sheet now at
    // its number (clamped to the list) is loaded in its place.
    const bool openSheetRemoved = state.currentSheetNumber == row;
    if (state.currentSheetNumber > row) {
        --state.currentSheetNumber;
    }
    const bool clamped = state.currentSheetNumber > state.itemMax();
    state.currentSheetNumber = std::min(state.currentSheetNumber, state.itemMax());
    if (openSheetRemoved || clamped) {
        context.cycle.reloadSheet();
    }
    return finishListChange(context, selection);
}

} // namespace kerbina
