#include "base/file_io.h"
#include "document/quotation_file.h"
#include "document/work_store.h"
#include "output/print_data.h"
#include "printviewer/quotation_pages.h"
#include "printviewer/unit_cost_pages.h"
#include "printviewer/viewer_request.h"
#include "records/kinds.h"
#include "session_fixture.h"
#include "temp_folder.h"
#include "test_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

TEST(ViewerArgument, ReadWithOrWithoutQuotes) {
    const struct {
        std::string argument;
        std::string mark;
        std::string root;
        std::string style;
        std::string version;
    } cases[] = {
        {viewerArgument("△", "/data/kerbina_xe5", "/s/A4.sle", "Release Version 0.1.0"), "△",
         "/data/kerbina_xe5", "/s/A4.sle", "Release Version 0.1.0"},
        {"\"" + viewerArgument("▲", "/a;b", "", "V") + "\"", "▲", "/a;b", "", "V"},
        {"△;/data;/data;/s.sle;V 1;", "△", "/data", "/s.sle", "V 1"},
        {"  ;\"/d\";\"/d\";\"\";\"\";  ", "", "/d", "", ""},
        // Every path and text comes back exactly, whatever it holds.
        {viewerArgument("△", "/home/u/a \"b\" c;d/見積 データ\"", "/s/\"x\";y.sle", "V \"1\""), "△",
         "/home/u/a \"b\" c;d/見積 データ\"", "/s/\"x\";y.sle", "V \"1\""},
        {viewerArgument("\";", "/\"", "", ""), "\";", "/\"", "", ""},
        {viewerArgument("▲", "/\"\";\"\"", "", "V"), "▲", "/\"\";\"\"", "", "V"},
    };
    for (const auto& row : cases) {
        const auto handoff = parseViewerArgument(row.argument);
        ASSERT_TRUE(handoff) << row.argument;
        EXPECT_EQ(handoff->reductionMark, row.mark) << row.argument;
        EXPECT_EQ(handoff->dataRoot, fs::path(row.root)) << row.argument;
        EXPECT_EQ(handoff->printStyle, row.style) << row.argument;
        EXPECT_EQ(handoff->version, row.version) << row.argument;
    }
    EXPECT_FALSE(parseViewerArgument(""));
    EXPECT_FALSE(parseViewerArgument("△;"));
}

TEST(ViewerCommandLine, FileOrHandOff) {
    const fs::path example = exampleQuotation(2);
    const auto direct = parseViewerCommandLine({"--pdf", "out.pdf", example.string()});
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct->pdfFile, fs::path("out.pdf"));
    EXPECT_EQ(direct->quotationFile, example);
    const auto handoff = parseViewerCommandLine({"△;\"/d\";\"/d\";\"\";\"V\";"});
    ASSERT_TRUE(handoff);
    EXPECT_FALSE(handoff->pdfFile);
    EXPECT_EQ(handoff->handoff->dataRoot, fs::path("/d"));
    const auto bare = parseViewerCommandLine({});
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->openQuotation);
    EXPECT_FALSE(bare->pdfFile);
    EXPECT_FALSE(parseViewerCommandLine({"--pdf"}));
    EXPECT_FALSE(parseViewerCommandLine({"--pdf", "out.pdf"}));
    EXPECT_TRUE(parseViewerCommandLine({"--help"})->help);
    EXPECT_FALSE(parseViewerCommandLine({"--help", "x"}));
}

TEST(ViewerCommandLine, AnythingOnTheDiskIsAQuotationFileAndOnlyARegularOneIsRead) {
    TempFolder folder;
    const fs::path fifo = folder.path() / "pipe.krb2";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& path : {folder.path(), fifo}) {
        const auto request = parseViewerCommandLine({"--pdf", "out.pdf", path.string()});
        ASSERT_TRUE(request) << path;
        EXPECT_EQ(request->quotationFile, path);
        try {
            requestedQuotations(*request, folder.path());
            ADD_FAILURE() << path << " was read";
        } catch (const FileError& error) {
            EXPECT_NE(std::string(error.what()).find("通常のファイルではない"), std::string::npos)
                << error.what();
        }
    }
}

TEST(ViewerArgument, PathsWithQuotesSpacesAndSemicolonsReachTheBatch) {
    TempFolder folder;
    const fs::path root = folder.path() / "見積 \"データ\";root";
    fs::create_directories(printFolder(root));
    fs::copy_file(exampleQuotation(2), printFolder(root) / "A.dat");
    const auto request =
        parseViewerCommandLine({viewerArgument("△", root, "", releaseVersionText())});
    ASSERT_TRUE(request && request->handoff);
    EXPECT_EQ(request->handoff->dataRoot, root);
    EXPECT_EQ(requestedQuotations(*request, root).size(), 1u);
    EXPECT_EQ(requestInputs(*request), (std::vector<fs::path>{printFolder(root) / "A.dat"}));
    // The unit-cost printer's argument carries the data root as well.
    EXPECT_EQ(parseUnitCostPrinterArgument(unitCostPrinterArgument(root)), root);
}

TEST(ViewerPdfName, TheQuotationNumberInTheQuotationFolder) {
    TempFolder root;
    const fs::path folder = root.path() / "kerbina_data";
    EXPECT_EQ(suggestedPdfFile(root.path(), "A-2026/001", "御見積書.pdf"),
              folder / "A-2026_001.pdf");
    EXPECT_EQ(suggestedPdfFile(root.path(), " ", "御見積書.pdf"), folder / "御見積書.pdf");
    fs::create_directories(root.path() / "conf");
    writeTextLines(root.path() / "conf/Kerbina.conf", {"[Data_Dir]=/srv/見積"});
    EXPECT_EQ(suggestedPdfFile(root.path(), "B-1", ""), fs::path("/srv/見積/B-1.pdf"));
}

TEST(ViewerBatch, ThePrintFilesOfTheFolderByName) {
    TempFolder root;
    const fs::path folder = printFolder(root.path());
    fs::create_directories(folder);
    for (const char* name : {"B-2.dat", "A-1.DAT", "print_Data.dat", "Print.conf"}) {
        writeFileAtomically(folder / name, "x");
    }
    EXPECT_EQ(printBatchFiles(root.path()),
              (std::vector<fs::path>{folder / "A-1.DAT", folder / "B-2.dat"}));
}

TEST(ViewerSettings, CaptionsAndLetterheadFromTheDataRoot) {
    TempFolder root;
    const PrintSettings defaults = readPrintSettings(root.path());
    EXPECT_EQ(defaults.siteTitle, "現場名称");
    EXPECT_EQ(defaults.workTitle, "工事名称");
    EXPECT_TRUE(defaults.letterhead.empty());

    fs::create_directories(root.path() / "conf");
    writeTextLines(root.path() / "conf/Kerbina.conf",
                   {"[TITLE1]=受渡場所", "[TITLE2]=工事件名", "[CALC_OPT2]=2", "[CALC_OPT6]=0"});
    writeTextLines(root.path() / "conf/USER_DATA.conf",
                   {"[OFFICE_NAME1]=ケルビナ設備株式会社", "[OFFICE_NAME2]=", "[SERVICE]= 管工事 ",
                    "[ZIPCODE]=100-0001", "[ADDRESS1]=東京都千代田区1-1",
                    "[ADDRESS2]=", "[TEL]=03-0000-0000", "[FAX]=", "[URL]=", "[EMAIL]="});
    const PrintSettings settings = readPrintSettings(root.path());
    EXPECT_EQ(settings.siteTitle, "受渡場所");
    EXPECT_EQ(settings.workTitle, "工事件名");
    // The cover's cost split is computed with the calculation settings the window uses.
    EXPECT_EQ(defaults.calc, CalcSettings{});
    CalcSettings calc;
    calc.amountOffset = *offsetFromOptionIndex(2);
    calc.laborOffset = *offsetFromOptionIndex(0);
    EXPECT_EQ(settings.calc, calc);
    EXPECT_EQ(settings.letterhead,
              (std::vector<std::string>{"ケルビナ設備株式会社", "管工事",
                                        "〒100-0001　東京都千代田区1-1", "TEL 03-0000-0000"}));
}

TEST(ViewerQuotations, FromTheWorkFolderTheBatchOrAFile) {
    TempFolder root;
    const QuotationData example = readQuotationFile(exampleQuotation(2));
    fs::create_directories(root.path() / "temp");
    writeWorkFolder(example, root.path() / "temp");
    ViewerRequest bare;
    bare.openQuotation = true;
    const auto open = requestedQuotations(bare, root.path());
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].header.workName, example.header.workName);
    EXPECT_EQ(open[0].sheets[9], example.sheets[9]);

    fs::create_directories(printFolder(root.path()));
    fs::copy_file(exampleQuotation(2), printFolder(root.path()) / "A.dat");
    fs::copy_file(exampleQuotation(5), printFolder(root.path()) / "B.dat");
    ViewerRequest handoff;
    handoff.handoff = ViewerHandoff{"△", root.path(), "", ""};
    EXPECT_EQ(requestedQuotations(handoff, root.path()).size(), 2u);

    ViewerRequest file;
    file.quotationFile = exampleQuotation(2);
    const auto recomputed = requestedQuotations(file, root.path());
    ASSERT_EQ(recomputed.size(), 1u);
    EXPECT_EQ(recomputed[0].header.submittedGrandTotal.toString(), "5447455");
}

// The same quotation prints the same from its file and from the program: recomputed with the data
// root's settings and laid out from the print file the program writes. With [Items_Opt_1]=FALSE
// (the settings dialog's default) the program's sheets have no title line, so neither may the
// file's; with TRUE both have one.
TEST(ViewerQuotations, AFileIsLaidOutFromThePrintFileTheProgramWritesOfIt) {
    // A quotation whose sheets hold no title line of their own.
    TempFolder folder;
    const fs::path file = folder.path() / "plain.krb2";
    QuotationData plain = readQuotationFile(exampleQuotation(2));
    for (std::size_t n = 1; n < plain.sheets.size(); ++n) {
        std::erase_if(plain.sheets[n],
                      [](const LineRecord& line) { return line.kind == LineKind::Title; });
        if (plain.items[n].name.empty()) {
            plain.items[n].name = "工事項目" + std::to_string(n);
        }
    }
    // The rows each sheet prints: their kinds and texts.
    const auto printedRows = [](const QuotationData& data) {
        std::vector<std::pair<int, std::string>> rows;
        for (const Sheet& sheet : data.sheets) {
            for (std::size_t n = 1; n < sheet.size(); ++n) {
                rows.emplace_back(sheet[n].kind.code(), sheet[n].nameSpec);
            }
        }
        return rows;
    };
    writeQuotationFile(file, plain, QuotationWriteOptions{false});
    for (const bool titleLines : {false, true}) {
        QuietPrompt prompt;
        StartedSession started{prompt};
        QuotationSession& session = *started.session;
        const fs::path root = started.folders.dataRoot;
        writeTextLines(root / "conf/Kerbina.conf",
                       {std::string("[Items_Opt_1]=") + (titleLines ? "TRUE" : "FALSE")});
        session.readSettingsFiles();
        session.readSettings();
        session.startNewQuotation(StartedSession::kToday);
        ASSERT_TRUE(
            session.openQuotationFile(file, FileRole::OwnFile, StartedSession::kToday).done);
        session.document().header.number = "P-1";
        fs::path printed;
        ASSERT_TRUE(session
                        .run([&] {
                            printed = printOpenQuotation(session.document(), session.store(), root,
                                                         PrintScope::WholeQuotation, false);
                        })
                        .succeeded);
        const QuotationData program = readQuotationFile(printed);

        ViewerRequest request;
        request.quotationFile = file;
        const std::vector<QuotationData> viewed = requestedQuotations(request, root);
        ASSERT_EQ(viewed.size(), 1u);
        EXPECT_EQ(printedRows(viewed[0]), printedRows(program)) << titleLines;
        EXPECT_TRUE(viewed[0].sheets == program.sheets && viewed[0].items == program.items)
            << titleLines;
        EXPECT_EQ(viewed[0].sheets[1][1].kind == LineKind::Title, titleLines);
    }
}

TEST(UnitCostPrinter, ArgumentAndPages) {
    EXPECT_EQ(parseUnitCostPrinterArgument(unitCostPrinterArgument("/data root")),
              fs::path("/data root"));
    EXPECT_EQ(parseUnitCostPrinterArgument("\"/d\";"), fs::path("/d"));
    // Blanks, control characters and quotes at either end of the root come through as well.
    for (const char* root : {" /d", "/d ", "\x1b/d", "\"/d", "/d\"", "\"/d\"", "/d;", "/d\";"}) {
        EXPECT_EQ(parseUnitCostPrinterArgument(unitCostPrinterArgument(root)), fs::path(root))
            << unitCostPrinterArgument(root);
    }
    EXPECT_FALSE(parseUnitCostPrinterArgument(";"));
    const struct {
        int entries;
        int pages;
    } cases[] = {{0, 1}, {1, 1}, {15, 1}, {16, 2}, {45, 3}, {46, 4}};
    for (const auto& row : cases) {
        std::vector<std::string> breakdowns;
        for (int n = 0; n < row.entries; ++n) {
            breakdowns.push_back("複合単価:" + std::to_string(1000000 + n) + ";名称;");
        }
        EXPECT_EQ(UnitCostPages(unitCostPrintLines(breakdowns)).pageCount(), row.pages)
            << row.entries;
    }
}

TEST(QuotationPages, LongSheetsRunOverPagesAndEveryQuotationHasItsCover) {
    QuotationData quotation = readQuotationFile(exampleQuotation(2));
    QuotationPages pages(PrintSettings{});
    pages.add(quotation);
    pages.layOutAll();
    EXPECT_EQ(pages.pageCount(), 4); // cover, breakdown, sheets 1 and 9

    Sheet& sheet = quotation.sheets[1];
    const LineRecord line = sheet[1];
    sheet.resize(1);
    for (int n = 0; n < 100; ++n) {
        sheet.push_back(line);
    }
    QuotationPages longer(PrintSettings{});
    longer.add(quotation);
    longer.add(quotation);
    longer.layOutAll();
    const int sheetOnePages = longer.pageCount() / 2 - 3;
    EXPECT_GE(sheetOnePages, 3); // 100 lines do not fit on two pages
    EXPECT_EQ(longer.pageCount() % 2, 0);
}

} // namespace
} // namespace kerbina
