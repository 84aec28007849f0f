#include "grid/work_folder_cycle.h"

#include "base/file_io.h"
#include "base/text.h"
#include "calc/totals.h"
#include "document/undo.h"
#include "document/work_store.h"

#include <algorithm>
#include <string>

namespace fs = std::filesystem;

namespace kerbina {
namespace {

constexpr const char* kSheetNumberFile = "SHEET";
constexpr const char* kListRedoFolderName = "LIST.RDO";
constexpr const char* kRedoHeaderExtension = "RDO"; // the list redo brings back
constexpr const char* kUndoneListFile = "UNDONE";   // "HEAD.WRK" as the undo left it

bool startsWithDigitsThen(std::string_view name, std::string_view prefix, std::string_view suffix) {
    if (name.size() <= prefix.size() + suffix.size()) {
        return false;
    }
    const std::string_view digits =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    return equalsIgnoringAsciiCase(name.substr(0, prefix.size()), prefix) &&
           equalsIgnoringAsciiCase(name.substr(name.size() - suffix.size()), suffix) &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The files that travel with breakdown items: sheets, take-off records, aggregation settings.
bool isItemFile(const fs::path& file) {
    const std::string name = file.filename().string();
    return startsWithDigitsThen(name, "WITEM", ".WRK") ||
           startsWithDigitsThen(name, "WITEM", ".PUP") ||
           startsWithDigitsThen(name, "DATASORT", ".WRK");
}

std::vector<fs::path> itemFilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && isItemFile(it->path())) {
            files.push_back(it->path());
        }
    }
    return files;
}

// The copies are scratch files like the work files they copy (see Durability).
void copyInto(const fs::path& file, const fs::path& folder) {
    writeFileAtomically(folder / file.filename(), readFileBytes(file), Durability::Scratch);
}

} // namespace

WorkFolderEditCycle::WorkFolderEditCycle(DocumentState& state, WorkStore& store,
                                         DocumentEvents& events)
    : state_(state), store_(store), events_(events) {}

void WorkFolderEditCycle::takeSheetSnapshot() {
    redoKept_ = false;
    saveSheetRecords(state_, store_, events_, RecordMode::Und);
}

void WorkFolderEditCycle::recalculate(bool listMode) {
    runTotalsPasses(state_, events_, listMode);
}

void WorkFolderEditCycle::writeSheet() {
    redoKept_ = false;
    saveSheetRecords(state_, store_, events_, RecordMode::Wrk);
}

void WorkFolderEditCycle::takeListSnapshot() {
    redoKept_ = false;
    saveItemList(state_, store_, ListMode::Und);
    const fs::path folder = store_.workFolder / kListSnapshotFolderName;
    createFolders(folder);
    // The header copy goes first: a snapshot cut short has none and is never restored. Then the
    // files of the last snapshot go, one by one, so that a failed command can bring them back.
    removeFile(folder / headerFileName("UND"));
    for (const fs::path& file : itemFilesIn(folder)) {
        removeFile(file);
    }
    for (const fs::path& file : itemFilesIn(store_.workFolder)) {
        copyInto(file, folder);
    }
    writeFileAtomically(folder / kSheetNumberFile, std::to_string(state_.currentSheetNumber),
                        Durability::Scratch);
    // Written last: a snapshot cut short has no header copy and is never restored.
    copyInto(store_.workFolder / headerFileName("UND"), folder);
}

void WorkFolderEditCycle::writeList() {
    redoKept_ = false;
    saveItemList(state_, store_, ListMode::Wrk);
}

void WorkFolderEditCycle::reloadSheet() {
    redoKept_ = false;
    loadSheet(state_, store_.workFolder, state_.currentSheetNumber);
}

bool WorkFolderEditCycle::restoreListFiles() {
    const fs::path folder = store_.workFolder / kListSnapshotFolderName;
    const fs::path header = store_.workFolder / headerFileName("UND");
    const fs::path headerCopy = folder / headerFileName("UND");
    std::error_code error;
    if (!fs::is_regular_file(header, error) || !fs::is_regular_file(headerCopy, error) ||
        readFileBytes(header) != readFileBytes(headerCopy)) {
        return false;
    }
    for (const fs::path& file : itemFilesIn(store_.workFolder)) {
        removeFile(file);
    }
    for (const fs::path& file : itemFilesIn(folder)) {
        copyInto(file, store_.workFolder);
    }
    // Deleted and written again at once, the files may come back with the sizes, times and even
    // the file numbers of the ones they replace; the backup makes its blocks anew.
    store_.backupWriter.forget();
    const std::string sheet = readFileBytes(folder / kSheetNumberFile);
    state_.currentSheetNumber =
        std::max(1, parseInteger32(sheet, IntegerText::Lenient).value_or(1));
    return true;
}

void WorkFolderEditCycle::keepListForRedo() {
    const fs::path folder = store_.workFolder / kListRedoFolderName;
    createFolders(folder);
    removeFile(folder / headerFileName(kRedoHeaderExtension));
    removeFile(folder / kUndoneListFile);
    for (const fs::path& file : itemFilesIn(folder)) {
        removeFile(file);
    }
    for (const fs::path& file : itemFilesIn(store_.workFolder)) {
        copyInto(file, folder);
    }
    writeFileAtomically(folder / kSheetNumberFile, std::to_string(state_.currentSheetNumber),
                        Durability::Scratch);
    writeFileAtomically(folder / headerFileName(kRedoHeaderExtension),
                        readFileBytes(store_.workFolder / headerFileName("WRK")),
                        Durability::Scratch);
}

bool WorkFolderEditCycle::redoKept() const {
    const fs::path folder = store_.workFolder / kListRedoFolderName;
    const fs::path undone = folder / kUndoneListFile;
    std::error_code error;
    return redoKept_ && fs::is_regular_file(folder / headerFileName(kRedoHeaderExtension), error) &&
           fs::is_regular_file(undone, error) &&
           readFileBytes(undone) == readFileBytes(store_.workFolder / headerFileName("WRK"));
}

bool WorkFolderEditCycle::redoList() {
    if (!redoKept()) {
        return false;
    }
    const fs::path folder = store_.workFolder / kListRedoFolderName;
    for (const fs::path& file : itemFilesIn(store_.workFolder)) {
        removeFile(file);
    }
    for (const fs::path& file : itemFilesIn(folder)) {
        copyInto(file, store_.workFolder);
    }
    store_.backupWriter.forget();
    readHeaderFile(state_, folder, kRedoHeaderExtension);
    const std::string sheet = readFileBytes(folder / kSheetNumberFile);
    state_.currentSheetNumber =
        std::clamp(parseInteger32(sheet, IntegerText::Lenient).value_or(1), 1, state_.itemMax());
    loadSheet(state_, store_.workFolder, state_.currentSheetNumber);
    runTotalsPasses(state_, events_, true);
    saveItemList(state_, store_, ListMode::Wrk);
    events_.changed({DocumentChange::Kind::ItemsChanged});
    redoKept_ = false;
    return true;
}

bool WorkFolderEditCycle::undo(bool listMode) {
    if (!listMode) {
        redoKept_ = false;
        return undoSheet(state_, store_, events_);
    }
    std::error_code error;
    if (!fs::is_regular_file(store_.workFolder / headerFileName("UND"), error)) {
        return false;
    }
    // Undo repeated restores the same list again; redo still brings back the change undone first.
    if (!redoKept()) {
        keepListForRedo();
    }
    const bool filesRestored = restoreListFiles();
    if (!undoList(state_, store_, events_)) {
        return false;
    }
    if (filesRestored) {
        state_.currentSheetNumber = std::min(state_.currentSheetNumber, state_.itemMax());
        loadSheet(state_, store_.workFolder, state_.currentSheetNumber);
        // Loading takes the open sheet's totals out of the grand totals; the list pass puts them
        // back as the list shows them.
        recalculateItemList(state_);
    }
    writeFileAtomically(store_.workFolder / kListRedoFolderName / kUndoneListFile,
                        readFileBytes(store_.workFolder / headerFileName("WRK")),
                        Durability::Scratch);
    redoKept_ = true;
    return true;
}

} // namespace kerbina
