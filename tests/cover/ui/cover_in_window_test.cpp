#include "base/file_io.h"
#include "cover/ui/cover_page.h"
#include "main_window_fixture.h"
#include "records/record_io.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTabBar>

namespace kerbina {
namespace {

QuotationHeader headerFile(const fs::path& file) {
    const std::string bytes = readFileBytes(file);
    std::array<std::uint8_t, kHeaderRecordSize> image{};
    std::copy_n(bytes.begin(), image.size(), image.begin());
    return decodeHeader(image);
}

class CoverInWindowTest : public MainWindowTest {};

TEST_F(CoverInWindowTest, TheCoverReachesTheHeaderFileAndItsHistoryWithTheNextWrite) {
    const auto window = start();
    auto* cover = window->findChild<CoverPage*>();
    ASSERT_NE(cover, nullptr);
    auto* addressee = cover->findChild<QComboBox*>(QStringLiteral("atesaki_1"));
    auto* trade = cover->findChild<QComboBox*>(QStringLiteral("TRADEEDIT"));
    ASSERT_FALSE(window->document().modified);

    // A new addressee is written at once.
    addressee->setEditText(QStringLiteral("株式会社北辰設備"));
    emit addressee->lineEdit()->editingFinished();
    EXPECT_EQ(headerFile(work("HEAD.WRK")).addressee1, "株式会社北辰設備");
    EXPECT_TRUE(window->document().modified);

    // Other fields and the history lists follow with the next write of the sheet.
    trade->setEditText(QStringLiteral("月末締め翌月払い"));
    EXPECT_EQ(headerFile(work("HEAD.WRK")).tradeTerms, "");
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    const QuotationHeader header = headerFile(work("HEAD.WRK"));
    EXPECT_EQ(header.tradeTerms, "月末締め翌月払い");
    EXPECT_EQ(header.status, 0);
    EXPECT_EQ(readTextLines(work("TRADEEDIT.lst")), std::vector<std::string>{"月末締め翌月払い"});
    EXPECT_EQ(readTextLines(work("atesaki_1.lst")), std::vector<std::string>{"株式会社北辰設備"});
    EXPECT_EQ(trade->count(), 1);
    screenshot(*window, "cover_in_window");
    MessageBox::takeShownTexts();
}

// Opening a file replaces the header while the page still shows the previous quotation's cover,
// edited or not: the opened quotation keeps its own cover.
TEST_F(CoverInWindowTest, AnOpenedQuotationKeepsItsOwnCover) {
    const auto window = start();
    auto* cover = window->findChild<CoverPage*>();
    auto* addressee = cover->findChild<QComboBox*>(QStringLiteral("atesaki_1"));
    addressee->setEditText(QStringLiteral("株式会社北辰設備"));
    emit addressee->lineEdit()->editingFinished();
    cover->findChild<QComboBox*>(QStringLiteral("TRADEEDIT"))
        ->setEditText(QStringLiteral("現金払い"));

    const fs::path file = root.path() / "one_sheet.krb2";
    writeTextLines(file, {"<TITLE>", "[ATESAKI_1]=山田建設株式会社", "[STATUS]=1", "[ItemMax]=1",
                          "</TITLE>", "<ITEM>", "10;配管工事;24000;18000;0.5;0.5;10;1;0.5;0;0;;0;0",
                          "</ITEM>", "<DATA>",
                          "1;鋼管;SGP 25A;0;11999;ｍ;10;12;12;1500;2000;0;0;0;18000;24000;0;0;0;;;",
                          "</DATA>", "</EOF>"});
    MessageBox::setNextAnswer(MessageBox::Answer::No); // do not save the edited quotation
    MessageBox::setNextFileName(QString::fromStdString(file.string()));
    window->action("openFile")->trigger();
    MessageBox::takeShownTexts();

    QuotationHeader header = headerFile(work("HEAD.WRK"));
    EXPECT_EQ(header.addressee1, "山田建設株式会社");
    EXPECT_EQ(header.tradeTerms, "");
    EXPECT_EQ(header.status, 1);
    EXPECT_EQ(addressee->currentText().toStdString(), "山田建設株式会社");
    EXPECT_FALSE(window->document().modified);

    QGuiApplication::clipboard()->setText(QStringLiteral("二行目"));
    window->action("pasteClipboard")->trigger();
    header = headerFile(work("HEAD.WRK"));
    EXPECT_EQ(header.addressee1, "山田建設株式会社");
    EXPECT_EQ(header.tradeTerms, "");
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina
