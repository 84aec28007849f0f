#include "base/file_io.h"
#include "document/quotation_file.h"
#include "printviewer/quotation_pages.h"
#include "temp_folder.h"
#include "test_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

QuotationPages examplePages() {
    QuotationPages pages(PrintSettings{});
    pages.add(readQuotationFile(exampleQuotation(2)));
    return pages;
}

// The message of the FileError that `write` raises; empty when it raises none.
template <typename Write> std::string failureOf(Write write) {
    try {
        write();
    } catch (const FileError& error) {
        return error.what();
    }
    return {};
}

TEST(PdfFile, WrittenWholeOrNotAtAll) {
    TempFolder folder;
    const fs::path pdf = folder.path() / "見積 A.pdf";
    QuotationPages pages = examplePages();
    writePdf(pages, pdf, {});
    const std::string good = readFileBytes(pdf);
    ASSERT_TRUE(good.starts_with("%PDF-"));
    EXPECT_NE(good.find("%%EOF"), std::string::npos);

    // A disk that fills up at any step of the write: an error, the good PDF kept, nothing left
    // beside it.
    for (int call = 1;; ++call) {
        failNthFileCall(call);
        const std::string failure = failureOf([&] { writePdf(pages, pdf, {}); });
        const int calls = countedFileCalls();
        failNthFileCall(0);
        if (calls < call) {
            EXPECT_TRUE(failure.empty()) << failure;
            break;
        }
        EXPECT_FALSE(failure.empty()) << "call " << call;
        EXPECT_EQ(readFileBytes(pdf), good) << "call " << call;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
            << "call " << call;
    }
}

TEST(PdfFile, RefusesWhatIsNotARegularFileAndTheInputs) {
    TempFolder folder;
    const fs::path input = folder.path() / "A.krb2";
    fs::copy_file(exampleQuotation(2), input);
    const fs::path fifo = folder.path() / "pipe.pdf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const fs::path link = folder.path() / "link.pdf";
    fs::create_symlink(input, link);
    const struct {
        fs::path output;
        const char* message;
    } cases[] = {
        {folder.path(), "通常のファイルではないため書き込めません"},
        {fifo, "通常のファイルではないため書き込めません"},
        {"/dev/null", "通常のファイルではないため書き込めません"},
        {input, "印刷するファイルと同じファイルには書き込めません"},
        {link, "印刷するファイルと同じファイルには書き込めません"},
    };
    const std::string quotation = readFileBytes(input);
    for (const auto& row : cases) {
        QuotationPages pages = examplePages();
        const std::string failure = failureOf([&] { writePdf(pages, row.output, {input}); });
        EXPECT_NE(failure.find(row.message), std::string::npos) << row.output << ": " << failure;
    }
    EXPECT_EQ(readFileBytes(input), quotation);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

} // namespace
} // namespace kerbina
