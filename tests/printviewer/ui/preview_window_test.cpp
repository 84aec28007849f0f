#include "document/quotation_file.h"
#include "printviewer/preview_window.h"
#include "printviewer/quotation_pages.h"
#include "temp_folder.h"
#include "test_data.h"

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QSpinBox>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

TEST(PreviewWindow, PagesThroughEveryPageAndSavesThePdf) {
    auto pages = std::make_unique<QuotationPages>(PrintSettings{});
    pages->add(readQuotationFile(exampleQuotation(2)));
    PreviewWindow window(std::move(pages), "/q/A-0001.pdf", {});
    window.show();
    // The first page is there before the layout is done; the rest follow while the window runs.
    EXPECT_FALSE(window.findChild<QLabel*>("page")->pixmap().isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.document().laidOut(); }));
    const auto* count = window.findChild<QLabel*>("pageCount");
    EXPECT_EQ(count->text(), "/ 4");
    for (int page = 1; page < 4; ++page) {
        QTest::keyClick(&window, Qt::Key_PageDown);
        EXPECT_EQ(window.currentPage(), page);
    }
    QTest::keyClick(&window, Qt::Key_PageDown);
    EXPECT_EQ(window.currentPage(), 3);
    window.findChild<QSpinBox*>("pageNumber")->setValue(2);
    EXPECT_EQ(window.currentPage(), 1);
    if (const char* folder = std::getenv("KERBINA_SCREENSHOT_DIR")) {
        window.grab().save(QDir(QString::fromUtf8(folder)).filePath("printviewer_preview.png"));
    }
    TempFolder out;
    EXPECT_TRUE(window.saveAsPdf(out.path() / "out.pdf"));
    QFile written(QString::fromStdString((out.path() / "out.pdf").string()));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5) == "%PDF-");
}

TEST(PreviewWindow, FitsTheScreen) {
    QuotationPages pages(PrintSettings{});
    const struct {
        QRect available;
    } cases[] = {{QRect(0, 0, 1280, 800)}, {QRect(0, 0, 1280, 770)}, {QRect(0, 0, 1920, 1200)}};
    for (const auto& row : cases) {
        const QSize size = previewWindowSize(pages, row.available);
        // Room for the frame and the title bar as well.
        EXPECT_LE(size.width() + 16, row.available.width());
        EXPECT_LE(size.height() + 48, row.available.height());
        EXPECT_GE(size.width(), 800); // the whole width of the page shows
    }
}

} // namespace
} // namespace kerbina
