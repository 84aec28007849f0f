#include "base/file_io.h"
#include "document/quotation_file.h"
#include "output/print_data.h"
#include "printviewer/quotation_pages.h"
#include "printviewer/viewer_request.h"
#include "temp_folder.h"
#include "test_data.h"

#include <gtest/gtest.h>

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
    EXPECT_FALSE(parseViewerCommandLine({}));
    EXPECT_FALSE(parseViewerCommandLine({"--pdf"}));
    EXPECT_FALSE(parseViewerCommandLine({"--pdf", "out.pdf"}));
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

TEST(QuotationPages, LongSheetsRunOverPagesAndEveryQuotationHasItsCover) {
    QuotationData quotation = readQuotationFile(exampleQuotation(2));
    QuotationPages pages(PrintSettings{});
    pages.add(quotation);
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
    const int sheetOnePages = longer.pageCount() / 2 - 3;
    EXPECT_GE(sheetOnePages, 3); // 100 lines do not fit on two pages
    EXPECT_EQ(longer.pageCount() % 2, 0);
}

} // namespace
} // namespace kerbina
