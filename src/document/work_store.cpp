#include "document/work_store.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "calc/totals.h"
#include "document/quotation_file.h"
#include "document/undo.h"
#include "records/line_kinds.h"
#include "records/record_io.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kerbina {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kItemCountSize = 4;

void appendBytes(std::string& out, std::span<const std::uint8_t> bytes) {
    out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void appendInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((bits >> shift) & 0xFFu));
    }
}

std::int32_t readInt32(std::string_view bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) {
        bits = (bits << 8) | static_cast<std::uint8_t>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return static_cast<std::int32_t>(bits);
}

template <std::size_t Size>
std::span<const std::uint8_t, Size> recordAt(std::string_view bytes, std::size_t offset) {
    return std::span<const std::uint8_t, Size>(
        reinterpret_cast<const std::uint8_t*>(bytes.data() + offset), Size);
}

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// True when `file` holds exactly `bytes`; a file that cannot be read holds nothing.
bool holds(const fs::path& file, std::string_view bytes) {
    std::error_code error;
    if (fs::file_size(file, error) != bytes.size() || error) {
        return false;
    }
    try {
        return readFileBytes(file) == bytes;
    } catch (const FileError&) {
        return false;
    }
}

// Every file of the work folder is a scratch mirror of the quotation in memory (see Durability).
// A file that already holds exactly these bytes is left as it is: the snapshot before a change
// (saveSheetRecords "UND") rewrites the header files, the sheet and its snapshot as the write after
// the previous change left them, and reading a file back costs far less than creating, writing and
// renaming a new one. True when the file was written.
bool writeWorkFile(const fs::path& file, std::string_view bytes) {
    if (holds(file, bytes)) {
        return false;
    }
    writeFileAtomically(file, bytes, Durability::Scratch);
    return true;
}

// Parts of the header record (which opens "HEAD.WRK") that a write changes without any change of
// the quotation: the grand totals and the tax ([ALLGTOTAL] .. [TAXNTOTAL]) follow the sheet or
// the list in front, each page writing its own tax there, and every real change moves an item or
// a line as well; [Opt2Str] is set to the same text by every writeHeaderFiles, so the first write
// after opening a file that lacks it would otherwise count as an edit.
struct HeaderSpan {
    std::size_t offset;
    std::size_t size;
};
constexpr HeaderSpan kNotAChange[] = {{224, 32}, {601, 81}};

// Writes "HEAD.WRK"; true when the quotation it holds changed.
bool writeHeaderFile(const fs::path& file, const std::string& bytes) {
    std::optional<std::string> before;
    if (isFile(file)) {
        try {
            before = readFileBytes(file);
        } catch (const FileError&) {
        }
    }
    if (before == bytes) {
        return false;
    }
    writeFileAtomically(file, bytes, Durability::Scratch);
    const auto quotationPart = [](std::string image) {
        for (const HeaderSpan span : kNotAChange) {
            if (image.size() >= span.offset + span.size) {
                image.replace(span.offset, span.size, span.size, '\0');
            }
        }
        return image;
    };
    return !before || quotationPart(*before) != quotationPart(bytes);
}

// "HEAD.WRK", "HEAD.UND": the header, the item count, the items 1..ItemMax.
std::string headerFileBytes(const QuotationHeader& header, const ItemList& items) {
    const int itemMax = std::max(0, static_cast<int>(items.size()) - 1);
    std::string out;
    out.reserve(kHeaderRecordSize + kItemCountSize +
                static_cast<std::size_t>(itemMax) * kItemRecordSize);
    appendBytes(out, encodeHeader(header));
    appendInt32(out, itemMax);
    for (int n = 1; n <= itemMax; ++n) {
        appendBytes(out, encodeItem(items[static_cast<std::size_t>(n)]));
    }
    return out;
}

std::string sheetFileBytes(const Sheet& sheet, int sheetNumber) {
    std::string out;
    out.reserve(sheet.empty() ? 0 : (sheet.size() - 1) * kLineRecordSize);
    for (std::size_t i = 1; i < sheet.size(); ++i) {
        LineRecord line = sheet[i];
        line.mark = sheetNumber;
        appendBytes(out, encodeLine(line));
    }
    return out;
}

void setHeaderTotals(QuotationHeader& header, const DocumentState& state, Currency submittedTax,
                     Currency netTax) {
    header.submittedGrandTotal = state.allSubmittedTotal;
    header.netGrandTotal = state.allNetTotal;
    header.submittedTaxTotal = submittedTax;
    header.netTaxTotal = netTax;
}

std::optional<QuotationHeader> readHeaderRecord(const fs::path& file) {
    if (!isFile(file)) {
        return std::nullopt;
    }
    const std::string bytes = readFileBytes(file);
    if (bytes.size() < kHeaderRecordSize) {
        return std::nullopt;
    }
    return decodeHeader(recordAt<kHeaderRecordSize>(bytes, 0));
}

// Writes one file per sheet of `bySheet` with `write(sheet, contents)`; sheet 1 always gets its
// file, empty when the map has nothing for it.
template <typename Contents, typename Write>
void writeForEachSheet(const std::map<int, Contents>& bySheet, const Write& write) {
    for (const auto& [sheet, contents] : bySheet) {
        if (sheet >= 1) {
            write(sheet, contents);
        }
    }
    if (!bySheet.contains(1)) {
        write(1, Contents{});
    }
}

// Everything of the open quotation but its sheets (left empty).
QuotationData collectAllButSheets(const DocumentState& state, const fs::path& workFolder) {
    QuotationData data;
    // "HEAD.WRK" holds the header as the cover page last wrote it, with the totals of the last
    // write; the grand total of the running totals pass is newer in memory.
    data.header = readHeaderRecord(workFolder / headerFileName("WRK")).value_or(state.header);
    data.header.submittedGrandTotal = state.header.submittedGrandTotal;
    data.items = state.items;
    data.sheets.resize(state.items.size());
    for (int n = 1; n <= state.itemMax(); ++n) {
        if (const fs::path file = workFolder / pickupFileName(n); isFile(file)) {
            if (auto entries = readTakeoffFile(file); !entries.empty()) {
                data.takeoffEntries[n] = std::move(entries);
            }
        }
        if (const fs::path file = workFolder / aggregationFileName(n); isFile(file)) {
            if (auto lines = readTextLines(file); !lines.empty()) {
                data.configLines[n] = std::move(lines);
            }
        }
    }
    data.unitCostBreakdowns = state.unitCostBreakdowns;
    data.taxOffset = state.settings.taxOffset;
    return data;
}

} // namespace

void runTotalsPasses(DocumentState& state, DocumentEvents& events, bool listMode) {
    events.recalculated(recalculateTotals(state, listMode, events.roomForEntries()), listMode);
}

Sheet readSheetFile(const fs::path& file) {
    const std::string bytes = readFileBytes(file);
    Sheet sheet{LineRecord{}};
    sheet.reserve(1 + bytes.size() / kLineRecordSize);
    for (std::size_t offset = 0; offset + kLineRecordSize <= bytes.size();
         offset += kLineRecordSize) {
        LineRecord line = decodeLine(recordAt<kLineRecordSize>(bytes, offset));
        line.mark = 0;
        sheet.push_back(std::move(line));
    }
    return sheet;
}

void writeSheetFile(const fs::path& file, const Sheet& sheet, int sheetNumber) {
    writeWorkFile(file, sheetFileBytes(sheet, sheetNumber));
}

std::vector<TakeoffRecord> readTakeoffFile(const fs::path& file) {
    const std::string bytes = readFileBytes(file);
    std::vector<TakeoffRecord> entries;
    entries.reserve(bytes.size() / kTakeoffRecordSize);
    for (std::size_t offset = 0; offset + kTakeoffRecordSize <= bytes.size();
         offset += kTakeoffRecordSize) {
        entries.push_back(decodeTakeoff(recordAt<kTakeoffRecordSize>(bytes, offset)));
    }
    return entries;
}

void writeTakeoffFile(const fs::path& file, const std::vector<TakeoffRecord>& entries,
                      int sheetNumber) {
    std::string out;
    out.reserve(entries.size() * kTakeoffRecordSize);
    for (TakeoffRecord entry : entries) {
        entry.sheet = sheetNumber;
        appendBytes(out, encodeTakeoff(entry));
    }
    writeWorkFile(file, out);
}

void readHeaderFile(DocumentState& state, const fs::path& workFolder, std::string_view extension) {
    const fs::path file = workFolder / headerFileName(extension);
    const std::string bytes = readFileBytes(file);
    if (bytes.size() < kHeaderRecordSize + kItemCountSize) {
        throw FileError("ファイルを読み込めませんでした: " + pathText(file));
    }
    // The stored count is trusted only as far as the file holds whole items.
    const std::int32_t storedCount = readInt32(bytes, kHeaderRecordSize);
    const std::size_t itemsInFile =
        (bytes.size() - kHeaderRecordSize - kItemCountSize) / kItemRecordSize;
    const std::size_t count =
        storedCount < 1 ? 0 : std::min(static_cast<std::size_t>(storedCount), itemsInFile);

    ItemList items{ItemRecord{}};
    items.reserve(1 + std::max<std::size_t>(count, 1));
    for (std::size_t i = 0; i < count; ++i) {
        items.push_back(decodeItem(recordAt<kItemRecordSize>(
            bytes, kHeaderRecordSize + kItemCountSize + i * kItemRecordSize)));
    }
    if (items.size() == 1) {
        items.push_back(newSheetItem());
    }
    state.header = decodeHeader(recordAt<kHeaderRecordSize>(bytes, 0));
    state.items = std::move(items);
    state.separateNameSpec = state.header.opt1Int == 1;
}

void loadSheet(DocumentState& state, const fs::path& workFolder, int sheet) {
    if (sheet < 1) {
        throw std::invalid_argument("sheet number below 1");
    }
    const auto index = static_cast<std::size_t>(sheet);
    if (sheet > state.itemMax()) {
        while (state.itemMax() < sheet) {
            state.items.push_back(newSheetItem());
        }
        state.sheet = Sheet{LineRecord{}};
    } else {
        const fs::path file = workFolder / sheetFileName(sheet);
        Sheet lines = isFile(file) ? readSheetFile(file) : Sheet{LineRecord{}};
        loadSheetSettings(state, sheet);
        state.sheet = std::move(lines);
    }
    state.currentSheetNumber = sheet;
    state.allNetTotal -= state.items[index].netTotal;
    state.allSubmittedTotal -= state.items[index].submittedTotal;
}

void writeHeaderFiles(DocumentState& state, const fs::path& workFolder, DocumentEvents& events) {
    const fs::path titleFile = workFolder / kHeaderTitleFileName;
    std::string image;
    appendBytes(image, encodeHeader(state.header));
    writeWorkFile(titleFile, image);
    // Reading the file back applies the header's rules ([KETA], [CUTLEVEL], [DATALEVEL],
    // [KEYCODE]) exactly as every other reader of the file sees them.
    if (const auto readBack = readHeaderRecord(titleFile)) {
        state.header = *readBack;
    }
    state.header.opt2Str = ",,,";
    state.header.opt1Int = state.separateNameSpec ? 1 : 0;
    state.header.dataLevel = std::max(0, state.header.dataLevel);

    // Only the item that owns the sheet in memory receives its settings; an item selected on the
    // breakdown list (a tax, reduction or expense item) keeps its own values. The sheet's totals
    // are already in that item: the sheet pass stores them there.
    storeSheetSettings(state);
    setHeaderTotals(state.header, state, state.sheetSubmittedTax, state.sheetNetTax);
    if (writeHeaderFile(workFolder / headerFileName("WRK"),
                        headerFileBytes(state.header, state.items))) {
        state.modified = true;
    }
    events.changed({DocumentChange::Kind::HeaderWritten, 0, state.header.number});
}

void saveSheetRecords(DocumentState& state, WorkStore& store, DocumentEvents& events,
                      RecordMode mode) {
    // `modified` is set by the writes that change what the quotation holds (the header file, the
    // sheet file), not by the write itself: leaving a page writes it too. A write that fails
    // leaves memory and files as they were (runAsOneChange), `modified` included.
    events.takeHeaderEdits(state.header);
    writeHeaderFiles(state, store.workFolder, events);
    if (mode == RecordMode::Wrk) {
        advanceUndoTape(state);
        events.changed({DocumentChange::Kind::UndoMoved, 0, undoCounterText(state)});
    }
    setHeaderTotals(state.header, state, state.sheetSubmittedTax, state.sheetNetTax);
    bool changed = writeHeaderFile(store.workFolder / headerFileName("WRK"),
                                   headerFileBytes(state.header, state.items));

    const int sheet = state.currentSheetNumber;
    const std::string lines = sheetFileBytes(state.sheet, sheet);
    changed = writeWorkFile(store.workFolder / sheetFileName(sheet), lines) || changed;
    if (changed) {
        state.modified = true;
    }
    writeWorkFile(store.workFolder / sheetSnapshotFileName(state.undoGeneration, sheet), lines);
    writeBackup(state, store);
}

void saveItemList(DocumentState& state, WorkStore& store, ListMode mode) {
    setHeaderTotals(state.header, state, state.listSubmittedTax, state.listNetTax);
    const std::string bytes = headerFileBytes(state.header, state.items);
    if (mode == ListMode::Und) {
        writeWorkFile(store.workFolder / headerFileName("UND"), bytes);
        return;
    }
    if (writeHeaderFile(store.workFolder / headerFileName("WRK"), bytes)) {
        state.modified = true;
    }
    writeBackup(state, store);
}

void openSheet(DocumentState& state, WorkStore& store, DocumentEvents& events, int sheet) {
    if (sheet < 1) {
        throw std::invalid_argument("sheet number below 1");
    }
    readHeaderFile(state, store.workFolder, "WRK");
    resetUndo(state, store.workFolder);
    loadSheet(state, store.workFolder, sheet);
    events.changed({DocumentChange::Kind::SheetOpened, sheet,
                    state.items[static_cast<std::size_t>(sheet)].name});
    events.changed({DocumentChange::Kind::ItemsChanged});
    runTotalsPasses(state, events, false);

    // Position 1 of the fresh tape is the sheet as opened, so the first edit after a tab switch
    // can be undone.
    state.undoGeneration = 0;
    state.undoCount = 0;
    advanceUndoTape(state);
    writeSheetFile(store.workFolder / sheetSnapshotFileName(state.undoGeneration, sheet),
                   state.sheet, sheet);
    events.changed({DocumentChange::Kind::UndoMoved, 0, undoCounterText(state)});
}

void newDocumentFiles(DocumentState& state, const fs::path& workFolder,
                      std::chrono::year_month_day today) {
    state.allSubmittedTotal = Currency();
    state.allNetTotal = Currency();
    state.sheetSubmittedTax = Currency();
    state.sheetNetTax = Currency();
    state.listSubmittedTax = Currency();
    state.listNetTax = Currency();

    keepWorkFilesAsBackups(workFolder);

    state.items = ItemList{ItemRecord{}, newSheetItem()};
    state.sheet = Sheet{LineRecord{}};
    state.currentSheetNumber = 1;
    storeSheetSettings(state);
    state.header = newHeader(static_cast<int>(today.year()),
                             static_cast<int>(static_cast<unsigned>(today.month())),
                             static_cast<int>(static_cast<unsigned>(today.day())));
    state.header.dataLevel = 15;
    state.header.keta = 1;
    state.header.cutLevel = Currency::fromRaw(5000);
}

void startNewQuotation(DocumentState& state, WorkStore& store, DocumentEvents& events,
                       const ApplySettings& applySettings, std::chrono::year_month_day today) {
    applySettings(state);
    resetUndo(state, store.workFolder);
    events.changed({DocumentChange::Kind::QuotationStarted});
    state.unitCostBreakdowns.clear();
    newDocumentFiles(state, store.workFolder, today);
    // The new header has the grand-total settings of a quotation without settings: those in force
    // replace them.
    applySettings(state);
    state.currentSheetNumber = 1;
    state.header.dataLevel = 0;
    state.header.status = -1;
    // Replaced before saveSheetRecords takes the header edits made outside the document: those
    // belong to the quotation that was open.
    events.changed({DocumentChange::Kind::HeaderReplaced});
    runTotalsPasses(state, events, false);

    state.undoGeneration = 0;
    state.undoCount = 0;
    saveSheetRecords(state, store, events, RecordMode::Wrk);
    events.changed({DocumentChange::Kind::SheetOpened, 1, state.items[1].name});
    saveItemList(state, store, ListMode::Und);
    saveItemList(state, store, ListMode::Wrk);
    events.changed({DocumentChange::Kind::ItemsChanged});
    state.modified = false;
}

QuotationData collectQuotation(const DocumentState& state, const fs::path& workFolder) {
    QuotationData data = collectAllButSheets(state, workFolder);
    for (int n = 1; n <= state.itemMax(); ++n) {
        if (const fs::path file = workFolder / sheetFileName(n); isFile(file)) {
            data.sheets[static_cast<std::size_t>(n)] = readSheetFile(file);
        }
    }
    return data;
}

void runAsOneChange(DocumentState& state, WorkStore& store, const std::function<void()>& command) {
    const DocumentState before = state;
    const bool previousBackupKept = store.previousBackupKept;
    const std::optional<fs::path> crashBackup = store.crashBackup;
    try {
        FileTransaction files;
        command();
        files.commit();
    } catch (...) {
        state = before;
        store.previousBackupKept = previousBackupKept;
        store.crashBackup = crashBackup;
        // The files came back as they were, but not as the backup writer last saw them.
        store.backupWriter.forget();
        throw;
    }
}

void writeWorkFolder(const QuotationData& data, const fs::path& workFolder) {
    clearWorkFolder(workFolder);
    writeWorkFile(workFolder / headerFileName("WRK"), headerFileBytes(data.header, data.items));
    for (std::size_t n = 1; n < data.sheets.size(); ++n) {
        if (!data.sheets[n].empty()) {
            writeSheetFile(workFolder / sheetFileName(static_cast<int>(n)), data.sheets[n],
                           static_cast<int>(n));
        }
    }
    if (!isFile(workFolder / sheetFileName(1))) {
        writeWorkFile(workFolder / sheetFileName(1), {});
    }
    writeForEachSheet(data.takeoffEntries,
                      [&](int sheet, const std::vector<TakeoffRecord>& entries) {
                          writeTakeoffFile(workFolder / pickupFileName(sheet), entries, sheet);
                      });
    writeForEachSheet(data.configLines, [&](int sheet, const std::vector<std::string>& lines) {
        writeTextLines(workFolder / aggregationFileName(sheet), lines, Durability::Scratch);
    });
}

void writeBackup(const DocumentState& state, WorkStore& store) {
    QuotationWriteOptions options;
    options.itemNameLine = state.itemNameLine;
    options.unitCostReferences = state.unitCostReferences;
    store.backupWriter.prepare(collectAllButSheets(state, store.workFolder), options,
                               store.workFolder);
    store.backupWriter.write(prepareBackupWrite(store));
}

} // namespace kerbina
