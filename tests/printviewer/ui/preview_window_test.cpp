#include "document/quotation_file.h"
#include "printviewer/preview_window.h"
#include "printviewer/quotation_pages.h"
#include "temp_folder.h"
#include "test_data.h"

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

TEST(PreviewWindow, ShowsEveryPageAndSavesThePdf) {
    QuotationPages pages(PrintSettings{});
    pages.add(readQuotationFile(exampleQuotation(2)));
    PreviewWindow window(std::make_unique<QuotationPages>(std::move(pages)));
    window.show();
    int shown = 0;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            ++shown;
        }
    }
    EXPECT_EQ(shown, 4);
    if (const char* folder = std::getenv("KERBINA_SCREENSHOT_DIR")) {
        window.grab().save(QDir(QString::fromUtf8(folder)).filePath("printviewer_preview.png"));
    }
    TempFolder out;
    const QString file = QString::fromStdString((out.path() / "out.pdf").string());
    EXPECT_TRUE(window.saveAsPdf(file));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5) == "%PDF-");
}

} // namespace
} // namespace kerbina
