#pragma once

#include "base/user_prompt.h"
#include "document/quotation_file.h"
#include "document/work_folder.h"
#include "records/document_state.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kerbina {

// Printing hands data to a separate print program through files in the data root's "printdata"
// folder, then starts that program without waiting for it:
//   <number>.dat      one quotation each, the quotation file text (leaving out 非掲載 lines),
//                     the whole quotation or one sheet
//   Print.conf        settings of the unit-cost breakdown printer
//   print_Data.dat    the unit-cost breakdown list, one entry a line
// A batch starts by removing the quotation print files of the last one, so the viewer, which
// prints whatever quotation files the folder holds, never prints an old quotation again.

inline constexpr std::string_view kPrintFolderName = "printdata";
inline constexpr std::string_view kUnitCostPrintFileName = "print_Data.dat";
inline constexpr std::string_view kUnitCostPrintConfName = "Print.conf";
inline constexpr std::string_view kViewerProgramName = "printviewer";
inline constexpr std::string_view kUnitCostPrinterProgramName = "dataprint";

std::filesystem::path printFolder(const std::filesystem::path& dataRoot);

// A quotation number as a file name without extension. A number is typed by the user, so
// characters that would name another folder or that file systems refuse ("/", "\", ":", "*", "?",
// '"', "<", ">", "|", control characters) become "_"; the file always lies in the folder given.
std::string fileNameOfNumber(std::string_view quotationNumber);
// The file name of a quotation's print file: fileNameOfNumber + ".dat".
std::string printFileName(std::string_view quotationNumber);

// Removes the quotation print files ("*.dat" without regard to case) of the folder, keeping
// print_Data.dat; a missing folder is created.
void startPrintBatch(const std::filesystem::path& dataRoot);

enum class PrintScope {
    CurrentSheet,   // the open sheet alone, under its item's totals, "[ItemMax]=1"
    WholeQuotation, // header, breakdown list and every sheet
};

// How a print file is written: 非掲載 lines left out, a title line before each named sheet when
// the settings ask for one ([Items_Opt_1]), unit-cost references in the notes after a piping
// aggregation that asked for them.
QuotationWriteOptions printWriteOptions(bool itemNameLine, bool unitCostReferences);
// A quotation as its whole-quotation print file holds it: written with printWriteOptions and read
// back. The viewer lays a quotation file out through this, so that it prints exactly what the
// program's print file of the same quotation prints.
QuotationData asPrintFile(const QuotationData& data, bool itemNameLine);

// Prints the open quotation: brings the work files up to date first (the whole quotation is
// recalculated and the breakdown list written for the whole scope; the open sheet is written in
// either scope), so the print file holds what the screen shows, then starts a batch and writes the
// print file. Returns its path. The quotation must have a number (see checkQuotationNumber).
std::filesystem::path printOpenQuotation(DocumentState& state, WorkStore& store,
                                         const std::filesystem::path& dataRoot, PrintScope scope,
                                         bool listMode);

// The list page's print: the stored text of each quotation (number, text as stored, UTF-8) is saved
// as its print file, in CP932 as every print file is, after the batch is started. Returns the
// files written.
std::vector<std::filesystem::path>
writeStoredPrintFiles(const std::filesystem::path& dataRoot,
                      const std::vector<std::pair<std::string, std::string>>& quotations);
inline constexpr std::string_view kNothingMarkedNotice = "印刷するデータが選択されていません。";

// ---- the quotation number a print needs ----

struct NumberCheckFacts {
    bool hasNumber = false;
    bool automaticNumbering = false; // [EDIT_OPT1]
    bool perCustomer = false;        // [NUMBER_OPT4]
    bool hasAddressee = false;       // the header carries an addressee-book id
};

enum class NumberCheckResult {
    Print,           // the quotation has a number
    IssueNumber,     // issue the next number, store it in the header, write it, then print
    OpenNumberEntry, // open the cover page's number entry; no print
    Stop,            // no print
};

inline constexpr std::string_view kAskIssueNumber =
    "印刷には見積番号が必要です。見積番号を取得しますか？";
inline constexpr std::string_view kNoAddresseeNotice = "宛先が選択されていません。";
inline constexpr std::string_view kAskEnterNumber =
    "印刷には見積番号が必要です。見積番号を入力してください。";

// Decides, asking through `prompt` where the user has a say, whether a print may go ahead.
NumberCheckResult checkQuotationNumber(const NumberCheckFacts& facts, UserPrompt& prompt);

// ---- starting the print programs ----

// "Release Version " + the program's version.
std::string releaseVersionText();
// The viewer's one argument: R;"D";"D";"P";"V"; — the reduction mark, the data root twice, the
// print style file and the version text. A double quote inside a quoted field is doubled; the mark
// is quoted too when it holds ";" or a double quote. The viewer reads every field back exactly.
std::string viewerArgument(std::string_view reductionMark, const std::filesystem::path& dataRoot,
                           std::string_view printStyle, std::string_view version);
// The unit-cost breakdown printer's argument: the data root followed by ";", the root in quotes
// when it begins or ends with a blank or a quote.
std::string unitCostPrinterArgument(const std::filesystem::path& dataRoot);
// A print program of the installation folder: the base name, or the base name + ".exe" when only
// that exists.
std::filesystem::path printProgramPath(const std::filesystem::path& installFolder,
                                       std::string_view baseName);
// The message when a print program did not start.
std::string printProgramFailedMessage(const std::filesystem::path& program);

// ---- the print commands ----

// A print program to start without waiting, and its argument (none: started without one).
struct PrintRequest {
    std::filesystem::path program;
    std::optional<std::string> argument;

    friend bool operator==(const PrintRequest&, const PrintRequest&) = default;
};

// What the print commands of the open quotation need besides the document.
struct QuotationPrintSettings {
    std::filesystem::path dataRoot;
    std::filesystem::path installFolder;
    std::string reductionMark;       // [GENGAKU]
    std::string printStyle;          // [Print_Dir]
    bool automaticNumbering = false; // [EDIT_OPT1]
    bool perCustomer = false;        // [NUMBER_OPT4]
};

// "表示中の明細を単独で印刷" (the open sheet) and "内訳付で印刷" (the whole quotation): the number
// check (a number the user agrees to is taken from `issueNumber`, cut to its 12 bytes; the manual
// entry is `openNumberEntry`, after which nothing is printed), then printOpenQuotation. Returns
// the viewer to start, or nothing when the print stopped. The cover fields must already be in
// the header.
std::optional<PrintRequest> printQuotation(DocumentState& state, WorkStore& store,
                                           const QuotationPrintSettings& settings, PrintScope scope,
                                           bool listMode, UserPrompt& prompt,
                                           const std::function<std::string()>& issueNumber,
                                           const std::function<void()>& openNumberEntry);
// "見積印刷" of the quotation list: the marked quotations (number, stored text) as one batch;
// nothing, after the box "印刷するデータが選択されていません。", when none is marked.
std::optional<PrintRequest>
printStoredQuotations(const QuotationPrintSettings& settings,
                      const std::vector<std::pair<std::string, std::string>>& marked,
                      UserPrompt& prompt);
// The breakdown list's "print": "HEAD.WRK" gets the current grand totals, and the viewer starts
// without an argument (it then shows the quotation of the work folder).
PrintRequest printFromBreakdownList(DocumentState& state, WorkStore& store,
                                    const QuotationPrintSettings& settings);
// "代価表印刷": writes Print.conf and print_Data.dat; the unit-cost breakdown printer to start.
PrintRequest printUnitCostBreakdowns(const QuotationPrintSettings& settings,
                                     const std::vector<std::string>& breakdowns);

// ---- the unit-cost breakdown print ----

// The five lines of Print.conf.
std::vector<std::string> unitCostPrintConfLines(const std::filesystem::path& dataRoot,
                                                const std::filesystem::path& installFolder,
                                                std::string_view version);
// The lines of print_Data.dat: for each entry its number from 1, then its fields 2 to 29 (the 28
// after the "複合単価:" key), each followed by ";". Missing fields are empty.
std::vector<std::string> unitCostPrintLines(const std::vector<std::string>& breakdowns);
// Writes both files, replacing them.
void writeUnitCostPrintFiles(const std::filesystem::path& dataRoot,
                             const std::filesystem::path& installFolder,
                             const std::vector<std::string>& breakdowns);

} // namespace kerbina
