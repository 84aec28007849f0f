#include "../../app/ui/main_window_fixture.h"
#include "base/file_io.h"
#include "cover/ui/cover_page.h"
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
    EXPECT_EQ(headerFile(work("HEAD.WRK")).atesaki1, "株式会社北辰設備");
    EXPECT_TRUE(window->document().modified);

    // Other fields and the history lists follow with the next write of the sheet.
    trade->setEditText(QStringLiteral("月末締め翌月払い"));
    EXPECT_EQ(headerFile(work("HEAD.WRK")).trade, "");
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    const QuotationHeader header = headerFile(work("HEAD.WRK"));
    EXPECT_EQ(header.trade, "月末締め翌月払い");
    EXPECT_EQ(header.status, 0);
    EXPECT_EQ(readTextLines(work("TRADEEDIT.lst")), std::vector<std::string>{"月末締め翌月払い"});
    EXPECT_EQ(readTextLines(work("atesaki_1.lst")), std::vector<std::string>{"株式会社北辰設備"});
    EXPECT_EQ(trade->count(), 1);
    screenshot(*window, "cover_in_window");
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina
