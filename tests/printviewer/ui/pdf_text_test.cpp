#include "base/file_io.h"
#include "printviewer/page_document.h"
#include "temp_folder.h"

#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

// One page with the given texts, one a row, in the fonts of the printed pages.
class TextPage final : public PageDocument {
public:
    explicit TextPage(QStringList texts) : texts_(std::move(texts)) {}
    int pageCount() const override { return 1; }
    QString title() const override { return QStringLiteral("text"); }
    void paint(QPainter& painter, int) const override {
        for (int row = 0; row < texts_.size(); ++row) {
            drawFitted(painter, QRectF(150, 200 + row * 120, 1800, 100), texts_[row], Qt::AlignLeft,
                       40, row % 2 == 1);
        }
    }

private:
    QStringList texts_;
};

QString withoutBlanks(QString text) {
    text.remove(
        QRegularExpression(QStringLiteral("\\s"), QRegularExpression::UseUnicodePropertiesOption));
    return text;
}

// Text copied from the PDF, or searched in it, is the text drawn: kanji that a font draws with
// the glyph of their Kangxi radical come back as the kanji, Latin letters and digits as themselves.
TEST(PdfText, ExtractedTextIsTheTextDrawn) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    ASSERT_FALSE(pdftotext.isEmpty()) << "poppler-utils (scripts/install-deps) is missing";
    const QStringList texts = {
        QStringLiteral("御見積書　東西設備工業株式会社"),
        QStringLiteral("金額　日付　月末　一式　水道工事　見積有効期限"),
        QStringLiteral("配管用炭素鋼鋼管 SGP 20A　ｍ　¥1,234,567－"),
        QStringLiteral("長　門　高　走　面　風　食　首　香　馬　骨　鬼　麻　黄　黒　鼻　歯　龍"),
    };
    TempFolder folder;
    const std::filesystem::path pdf = folder.path() / "text.pdf";
    TextPage page(texts);
    writePdf(page, pdf, {});
    QProcess extract;
    extract.start(pdftotext, {QString::fromStdString(pdf.string()), QStringLiteral("-")});
    ASSERT_TRUE(extract.waitForFinished(30000));
    ASSERT_EQ(extract.exitCode(), 0);
    const QString extracted = QString::fromUtf8(extract.readAllStandardOutput());
    EXPECT_EQ(withoutBlanks(extracted), withoutBlanks(texts.join(QString())))
        << extracted.toStdString();
}

} // namespace
} // namespace kerbina
