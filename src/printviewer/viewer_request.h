#pragma once

#include "money/calc_settings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The one argument the program starts the viewer with: R;"D";"D";"P";"V"; (the reduction mark,
// the data root twice, the print style file, the version text). The double quotes may be missing
// (a shell or a shortcut may have eaten them); a quoted field may hold ";".
struct ViewerHandoff {
    std::string reductionMark;
    std::filesystem::path dataRoot;
    std::string printStyle;
    std::string version;
};
std::optional<ViewerHandoff> parseViewerArgument(std::string_view argument);

// The command line: [--pdf OUT.pdf] (ARGUMENT | FILE.krb2), --help, or nothing at all. A last
// argument that names anything on the disk is a quotation file; anything else is the hand-off
// argument. Started without arguments (the breakdown list's print) the viewer shows the quotation
// open in the program, from the work folder of the data root.
struct ViewerRequest {
    bool help = false;
    bool openQuotation = false;
    std::optional<std::filesystem::path> pdfFile;
    std::optional<std::filesystem::path> quotationFile;
    std::optional<ViewerHandoff> handoff;
};
// Nothing when the command line cannot be understood.
std::optional<ViewerRequest> parseViewerCommandLine(const std::vector<std::string>& arguments);

// The quotation print files of a batch, by name: "*.dat" of the print folder but print_Data.dat.
std::vector<std::filesystem::path> printBatchFiles(const std::filesystem::path& dataRoot);
// The files a request prints from: the quotation file, or the print files of the batch. A PDF
// never replaces one of them.
std::vector<std::filesystem::path> requestInputs(const ViewerRequest& request);

// The file "PDF保存" offers: the quotation number as its name, in the quotation folder of the data
// root; `fallbackName` where there is no number.
std::filesystem::path suggestedPdfFile(const std::filesystem::path& dataRoot,
                                       std::string_view quotationNumber,
                                       std::string_view fallbackName);

// What the viewer takes from the program besides the quotations: the reduction mark, the cover
// captions that the settings name and the company's letterhead.
struct PrintSettings {
    std::string reductionMark = "△";
    std::string siteTitle = "現場名称"; // [TITLE1]
    std::string workTitle = "工事名称"; // [TITLE2]
    // The company's own name and address for the cover, from the company data file, one line
    // each, empty lines left out; the first is the company name.
    std::vector<std::string> letterhead;
    // The cost split (材料費, 労務費, 法定福利費, 経費): four more columns on the breakdown and
    // their totals on the cover. The settings file's print option.
    bool costSplit = false;
    // The cover's date in the Japanese era (令和8年12月10日) instead of the Western calendar.
    bool japaneseEra = false;
    // The calculation settings of the data root, as the window computes the quotation with them:
    // the cover's cost split is computed with them too.
    CalcSettings calc;
};
// The captions of the settings file and the company data of a data root; the defaults where the
// files or the keys are missing.
PrintSettings readPrintSettings(const std::filesystem::path& dataRoot);

// The unit-cost breakdown printer's argument: the data root followed by ";" (quotes around it are
// accepted). Nothing when it names no folder.
std::optional<std::filesystem::path> parseUnitCostPrinterArgument(std::string_view argument);
// The lines of print_Data.dat in the data root's print folder (none when it is missing).
std::vector<std::string> readUnitCostPrintData(const std::filesystem::path& dataRoot);

inline constexpr std::string_view kViewerUsage =
    "使い方: printviewer [--pdf 出力.pdf] (引数 | 見積ファイル.krb2)\n"
    "  見積ファイル.krb2   見積ファイルを御見積書として印刷プレビューに表示します\n"
    "  引数                本体から渡される印刷の引数 "
    "R;\"データフォルダ\";\"データフォルダ\";\"様式\";\"版\";\n"
    "  --pdf 出力.pdf      画面に表示せず PDF ファイルに書き出します\n"
    "  引数なし            本体で編集中の見積を表示します\n"
    "  --help              この説明を表示します";

} // namespace kerbina

namespace kerbina {
inline constexpr std::string_view kUnitCostPrinterUsage =
    "使い方: dataprint [--pdf 出力.pdf] データフォルダ;\n"
    "  データフォルダの printdata/print_Data.dat の代価表を印刷プレビューに表示します\n"
    "  --pdf 出力.pdf      画面に表示せず PDF ファイルに書き出します\n"
    "  --help              この説明を表示します";
} // namespace kerbina
