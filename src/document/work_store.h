#pragma once

#include "document/document_events.h"
#include "document/work_folder.h"
#include "records/document_state.h"
#include "records/quotation_data.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string_view>

namespace kerbina {

// The work-file store. The open quotation is never held whole in memory: the header, the
// breakdown list and the current sheet are, and after every change they are mirrored into binary
// record files in the work folder, so that switching sheets, undo, printing, the companion
// programs and crash recovery all work from files.
//
//   "HEAD.WRK"        header (800 bytes), item count (Int32), items 1..ItemMax (248 bytes each)
//   "HEAD_TITLE.WRK"  the header alone
//   "WITEM" n ".WRK"  the lines of sheet n (312 bytes each, no scratch slot), `mark` holding n
//   "HEAD.UND"        the breakdown list before the last list change
//   g "WITEM" n ".UND" the undo tape of the open sheet (see document/undo.h)
//
// Every write goes to a temporary name and is renamed into place; a failed write raises
// FileError. A command run through runAsOneChange changes all its files or none.
//
// `modified` is set by a write that changes what the quotation holds ("HEAD.WRK" apart from the
// page-dependent totals, the open sheet's file), never by a write that only repeats it: switching
// pages writes the page that is left, and browsing is not editing.

// saveSheetRecords modes: "WRK" after a change appends a position to the undo tape; "UND" (before a
// change, and after an undo) and "REDO" (after a redo) rewrite the snapshot at the cursor.
enum class RecordMode { Wrk, Und, Redo };
// saveItemList modes: the file "HEAD." + mode it writes.
enum class ListMode { Und, Wrk };

// Writes the open quotation: the header files, the current sheet and its snapshot, then the
// backup quotation file. Sets `modified` when the header file or the sheet file changed.
void saveSheetRecords(DocumentState& state, WorkStore& store, DocumentEvents& events,
                      RecordMode mode);
// Writes the header and the breakdown list to "HEAD.UND" before a list change or "HEAD.WRK"
// after it; "WRK" also rewrites the backup, and sets `modified` when "HEAD.WRK" changed.
void saveItemList(DocumentState& state, WorkStore& store, ListMode mode);
// Writes the header to "HEAD_TITLE.WRK" and reads it back, then rewrites "HEAD.WRK" with the
// current calculation settings stored into the item that owns the open sheet; sets `modified` when
// that changed what "HEAD.WRK" holds.
void writeHeaderFiles(DocumentState& state, const std::filesystem::path& workFolder,
                      DocumentEvents& events);
// Reads "HEAD." + extension into the header and a fresh breakdown list. Raises FileError, and
// changes nothing, when the file is missing or too short for its header and count.
void readHeaderFile(DocumentState& state, const std::filesystem::path& workFolder,
                    std::string_view extension);
// Makes sheet n current: appends new sheet items up to n when it is beyond the list, else takes
// the item's calculation settings and reads "WITEM" n ".WRK" (a missing file is an empty sheet).
// The item's totals leave the all-sheet totals while its sheet is the live one.
void loadSheet(DocumentState& state, const std::filesystem::path& workFolder, int sheet);
// The sheet-tab switch: re-reads "HEAD.WRK", loads sheet n, recomputes and redisplays, and starts
// a fresh undo tape whose position 1 is the sheet as opened.
void openSheet(DocumentState& state, WorkStore& store, DocumentEvents& events, int sheet);

// Keeps the previous quotation's work files as backups and sets up an empty quotation in memory:
// one sheet item carrying the current calculation settings, a header dated `today`.
void newDocumentFiles(DocumentState& state, const std::filesystem::path& workFolder,
                      std::chrono::year_month_day today);
// Puts the settings in force (read by whoever drives the operation, beforehand) into a document
// state: its calculation settings and options and the header's grand-total settings.
using ApplySettings = std::function<void(DocumentState&)>;
// Replaces the open quotation by a new one (also the first step of opening a file), whatever it
// held: asking whether to save it first is for the caller. The new quotation takes the settings
// in force through `applySettings`.
void startNewQuotation(DocumentState& state, WorkStore& store, DocumentEvents& events,
                       const ApplySettings& applySettings, std::chrono::year_month_day today);

// The totals passes (the sheet pass unless in list mode, then the list pass), reported as
// TotalsChanged.
void runTotalsPasses(DocumentState& state, DocumentEvents& events, bool listMode);

// A sheet file holds lines 1.. of the sheet, without its scratch slot, with `mark` set to the
// sheet number in the file only. Reading gives a sheet with a scratch slot and every `mark` 0; a
// partial record at the end of a damaged file is ignored.
Sheet readSheetFile(const std::filesystem::path& file);
void writeSheetFile(const std::filesystem::path& file, const Sheet& sheet, int sheetNumber);

// A take-off file holds the take-off entries of a sheet as 440-byte records in list order, each
// with `sheet` set to the sheet number; a partial record at the end of a damaged file is ignored.
std::vector<TakeoffRecord> readTakeoffFile(const std::filesystem::path& file);
void writeTakeoffFile(const std::filesystem::path& file, const std::vector<TakeoffRecord>& entries,
                      int sheetNumber);

// The whole open quotation, as the quotation file writer wants it: the header from "HEAD.WRK"
// with the in-memory grand total, the items in memory, every sheet file, the take-off entries
// and the aggregation files as text lines. `sheets[n]` is empty (not even a scratch slot) when item
// n has no sheet file.
QuotationData collectQuotation(const DocumentState& state, const std::filesystem::path& workFolder);
// Rebuilds the work folder from a quotation read from a file: clears it, then writes "HEAD.WRK",
// the sheet files, the take-off files and the aggregation files. "WITEM1.WRK", "WITEM1.PUP" and
// "DATASORT1.WRK" always exist afterwards.
void writeWorkFolder(const QuotationData& data, const std::filesystem::path& workFolder);
// Rewrites the backup quotation file from the work folder: the file a full write of
// collectQuotation gives, byte for byte, though only the sheets that changed since the last
// backup are read and encoded again (see BackupWriter).
void writeBackup(const DocumentState& state, WorkStore& store);

// Runs one command as one unit: its file changes (work folder, list snapshot, backups) all stay,
// or, when it throws, none does and the document in memory goes back to what it was, `modified`
// included, since nothing stored changed. The exception is passed on for the window to show.
void runAsOneChange(DocumentState& state, WorkStore& store, const std::function<void()>& command);

} // namespace kerbina
