#include "base/file_io.h"
#include "base/text_codec.h"
#include "cover/ui/cover_page.h"
#include "cover_fixture.h"
#include "money_literal.h"
#include "temp_folder.h"
#include "widgets/message_box.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

// The cover of every field filled, on a date the date boxes can show.
QuotationHeader filledHeader() {
    QuotationHeader header = filledCoverHeader();
    header.day = 28;
    return header;
}

class CoverPageTest : public testing::Test {
protected:
    TempFolder root;
    CoverPage page;
    std::vector<std::string> issuedFor; // customer ids the number issuer was asked for
    std::optional<std::string> nextNumber = "NF00043";

    void SetUp() override {
        std::filesystem::create_directories(root.path() / "temp");
        std::filesystem::create_directories(root.path() / "conf");
        page.setDataRoot(root.path());
        page.setNumberIssuer([this](const std::string& customer) {
            issuedFor.push_back(customer);
            return nextNumber;
        });
        MessageBox::takeShownTexts();
    }

    template <typename T> T* control(const char* name) {
        T* found = page.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    std::string textOf(const char* name) {
        return control<QComboBox>(name)->currentText().toStdString();
    }
    void type(const char* name, const std::string& text) {
        control<QComboBox>(name)->setEditText(QString::fromStdString(text));
    }
    QuotationHeader written() {
        QuotationHeader header;
        page.writeCover(header);
        return header;
    }
};

TEST_F(CoverPageTest, ShowsTheHeaderAndWritesTheSameCoverBack) {
    writeTextLines(root.path() / "temp" / "TRADEEDIT.lst", {"従来通り", "現金払い"});
    const QuotationHeader header = filledHeader();
    page.readCover(&header);
    EXPECT_EQ(textOf("atesaki_1"), "株式会社北辰設備");
    EXPECT_EQ(textOf("keisyo"), "御中");
    EXPECT_EQ(control<QLabel>("number")->text().toStdString(), "NF00042");
    EXPECT_EQ(textOf("era"), "令和");
    EXPECT_EQ(control<QSpinBox>("yedit")->value(), 8);
    EXPECT_EQ(control<QComboBox>("status")->currentText().toStdString(), "成約");
    QComboBox* trade = control<QComboBox>("TRADEEDIT");
    ASSERT_EQ(trade->count(), 2);
    EXPECT_EQ(trade->itemText(1).toStdString(), "現金払い");
    EXPECT_EQ(trade->currentText().toStdString(), "従来通り");

    // Once the tab is edited, the whole cover goes into the header; the rest of it stays.
    type("tag1", "見積依頼済");
    QuotationHeader target;
    target.submittedGrandTotal = c("1000");
    page.writeCover(target);
    QuotationHeader expected = header;
    expected.submittedGrandTotal = c("1000");
    expected.opt1Str = "見積依頼済";
    EXPECT_EQ(target, expected);
}

TEST_F(CoverPageTest, AnUntouchedCoverLeavesTheHeaderExactlyAsLoaded) {
    QuotationHeader header = filledHeader();
    header.month = 0;      // no month a spin box shows
    header.status = -1;    // never given one
    header.dataLevel = 15; // as older files have it
    header.addressee2 = std::string(50, 'x');
    page.readCover(&header);
    QuotationHeader target = header;
    page.writeCover(target);
    EXPECT_EQ(target, header);

    type("atesaki_2", std::string(60, 'y'));
    page.writeCover(target);
    EXPECT_EQ(target.addressee2, std::string(50, 'y'));
    EXPECT_EQ(target.status, 0);
    EXPECT_EQ(target.dataLevel, 0);
    EXPECT_EQ(target.month, 1);
}

// The date shows in the era in force on it; a date set in the tab goes into the header as the
// stored year, whichever era it was typed in.
TEST_F(CoverPageTest, TheDateShowsInItsEraAndIsStoredAsTheStoredYear) {
    const struct {
        int storedYear, month, day;
        const char* era;
        int eraYear;
    } shown[] = {
        {38, 12, 10, "令和", 8},   {31, 5, 1, "令和", 1},    {31, 4, 30, "平成", 31},
        {1, 1, 8, "平成", 1},      {1, 1, 7, "昭和", 64},    {-62, 12, 25, "昭和", 1},
        {-62, 12, 24, "大正", 15}, {-76, 7, 29, "明治", 45},
    };
    QuotationHeader header = filledHeader();
    for (const auto& date : shown) {
        header.storedYear = date.storedYear;
        header.month = date.month;
        header.day = date.day;
        page.readCover(&header);
        EXPECT_EQ(textOf("era"), date.era) << date.storedYear << "/" << date.month;
        EXPECT_EQ(control<QSpinBox>("yedit")->value(), date.eraYear) << date.storedYear;
        EXPECT_EQ(page.values().storedYear, date.storedYear);
    }

    control<QComboBox>("era")->setCurrentIndex(3); // 平成
    control<QSpinBox>("yedit")->setValue(30);
    EXPECT_EQ(written().storedYear, 30);
    control<QComboBox>("era")->setCurrentIndex(4); // 令和
    control<QSpinBox>("yedit")->setValue(8);
    EXPECT_EQ(written().storedYear, 38);
}

TEST_F(CoverPageTest, WithoutAHeaderTodaysDateAndEmptyFieldsAreShownAndWrittenAsDraft) {
    const QuotationHeader header = filledHeader();
    page.readCover(&header);
    page.readCover(nullptr);
    const CoverValues shown = page.values();
    const auto today = std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
    CoverValues expected = newCover(today);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(control<QComboBox>("status")->currentIndex(), -1);
    type("where", "空調設備工事");
    EXPECT_EQ(written().status, 0);
}

TEST_F(CoverPageTest, AnAddresseeTypedOrTakenFromItsHistoryChangesTheCoverOnce) {
    writeTextLines(root.path() / "temp" / "atesaki_1.lst", {"北辰設備", "南部工業"});
    page.readCover(nullptr);
    QSignalSpy changed(&page, &CoverPage::coverChanged);
    QComboBox* addressee = control<QComboBox>("atesaki_1");
    emit addressee->lineEdit()->editingFinished(); // leaving the field unchanged
    EXPECT_EQ(changed.count(), 0);
    type("atesaki_1", "西川商店");
    emit addressee->lineEdit()->editingFinished();
    emit addressee->lineEdit()->editingFinished();
    EXPECT_EQ(changed.count(), 1);
    addressee->setCurrentIndex(1);
    emit addressee->activated(1);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(written().addressee1, "南部工業");
}

TEST_F(CoverPageTest, TheHistoryUpdateRemembersTypedTextsAndKeepsThemInTheFields) {
    page.readCover(nullptr);
    type("TRADEEDIT", "月末締め翌月払い");
    type("atesaki_1", "南部工業");
    page.updateHistories();
    type("TRADEEDIT", "現金払い");
    page.updateHistories();
    QComboBox* trade = control<QComboBox>("TRADEEDIT");
    ASSERT_EQ(trade->count(), 2);
    EXPECT_EQ(trade->itemText(0).toStdString(), "現金払い");
    EXPECT_EQ(trade->currentText().toStdString(), "現金払い");
    EXPECT_EQ(textOf("atesaki_1"), "南部工業");
    EXPECT_EQ(readTextLines(root.path() / "temp" / "TRADEEDIT.lst"),
              (std::vector<std::string>{"現金払い", "月末締め翌月払い"}));
    EXPECT_EQ(readTextLines(root.path() / "temp" / "atesaki_1.lst"),
              std::vector<std::string>{"南部工業"});
}

TEST_F(CoverPageTest, SavingTheTemplateAlwaysWritesAndReadingItAlwaysReads) {
    const QuotationHeader header = filledHeader();
    page.readCover(&header);
    const std::filesystem::path file = coverTemplateFile(root.path());

    page.readTemplate(); // no template yet: nothing changes, nothing is written
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(page.values(), coverOfHeader(header));

    page.saveTemplate();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("設定状態を登録しました。")});
    const std::string saved = readFileBytes(file);
    EXPECT_NE(saved.find(toCp932("[WHERE]=給排水衛生設備工事\r\n")), std::string::npos);

    type("where", "空調設備工事");
    type("INTANTOEDIT", "");
    type("TRADEEDIT", "");
    control<QLabel>("number")->setText(QStringLiteral("NF9"));
    page.readTemplate();
    EXPECT_EQ(readFileBytes(file), saved); // reading never writes the template
    EXPECT_EQ(textOf("where"), "給排水衛生設備工事");
    EXPECT_EQ(textOf("INTANTOEDIT"), "山田");
    EXPECT_EQ(textOf("TRADEEDIT"), "従来通り");
    EXPECT_EQ(control<QLabel>("number")->text().toStdString(), "NF9");
    EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty());

    type("where", "衛生設備工事");
    page.saveTemplate(); // saving always writes, over the file that is there
    EXPECT_NE(readFileBytes(file).find(toCp932("[WHERE]=衛生設備工事\r\n")), std::string::npos);
}

TEST_F(CoverPageTest, ATemplateThatCannotBeWrittenIsReportedNotAnnouncedAsSaved) {
    std::filesystem::create_directories(coverTemplateFile(root.path()));
    page.readCover(nullptr);
    page.saveTemplate();
    const QStringList shown = MessageBox::takeShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_FALSE(shown[0].contains(QStringLiteral("設定状態を登録しました。")));
}

TEST_F(CoverPageTest, PickingTheAddresseeSetsNameHonorificAndCustomerAndOffersANumber) {
    page.readCover(nullptr);
    page.setNumbering(NumberingOptions{true, true, true});
    std::vector<std::string> asked;
    page.setPicker([&](const std::string& kind, const std::string& heading,
                       const std::string& current) -> std::optional<TitleEntry> {
        asked.push_back(kind + "|" + heading + "|" + current);
        return TitleEntry{17, "北辰設備", "様", "A-", 6, 0, "東京", 0};
    });
    type("atesaki_1", "旧宛先");
    QSignalSpy changed(&page, &CoverPage::coverChanged);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    control<QPushButton>("title13")->click();

    EXPECT_EQ(asked, std::vector<std::string>{"宛先|宛先名称|旧宛先"});
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("新規見積番号を取得しますか？")});
    EXPECT_EQ(issuedFor, std::vector<std::string>{"17"});
    EXPECT_EQ(changed.count(), 1);
    const QuotationHeader header = written();
    EXPECT_EQ(header.addressee1, "北辰設備");
    EXPECT_EQ(header.honorific, "様");
    EXPECT_EQ(header.id, "17");
    EXPECT_EQ(header.number, "NF00043");

    // With a number already there nothing is offered.
    control<QPushButton>("title13")->click();
    EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty());
    EXPECT_EQ(issuedFor.size(), 1u);
}

TEST_F(CoverPageTest, ACancelledPickChangesNothingAndOtherPicksSetOnlyTheirField) {
    const QuotationHeader header = filledHeader();
    page.readCover(&header);
    std::optional<TitleEntry> answer;
    std::string heading;
    page.setPicker([&](const std::string&, const std::string& shownHeading, const std::string&) {
        heading = shownHeading;
        return answer;
    });
    QSignalSpy changed(&page, &CoverPage::coverChanged);
    const CoverValues before = page.values();
    for (const char* button : {"title13", "title14", "title3", "GradBtn10", "GradBtn2"}) {
        control<QPushButton>(button)->click();
    }
    EXPECT_EQ(page.values(), before);
    EXPECT_EQ(changed.count(), 0);

    answer = TitleEntry{5, "月末締め翌月払い", "様", "", 0, 0, "", 0};
    control<QPushButton>("GradBtn10")->click();
    EXPECT_EQ(heading, "取引条件");
    CoverValues expected = before;
    expected[CoverText::Trade] = "月末締め翌月払い";
    EXPECT_EQ(page.values(), expected);

    CoverCaptions captions;
    captions.siteName1 = "工事場所1";
    captions.siteNameHint = "工事場所";
    page.setCaptions(captions, "自動見積番号");
    EXPECT_EQ(control<QPushButton>("title3")->text().toStdString(), "工事場所1");
    EXPECT_EQ(control<QPushButton>("title3")->toolTip().toStdString(), "工事場所");
    EXPECT_EQ(control<QPushButton>("Button10")->text().toStdString(), "自動見積番号");
    control<QPushButton>("title3")->click();
    EXPECT_EQ(heading, "工事場所");
    EXPECT_EQ(written().siteName1, "月末締め翌月払い");
    EXPECT_EQ(written().id, "17");
}

TEST_F(CoverPageTest, TheNumberButtonIssuesOrAsksAndACancelKeepsTheNumber) {
    page.readCover(nullptr);
    QSignalSpy changed(&page, &CoverPage::coverChanged);
    QPushButton* button = control<QPushButton>("Button10");

    page.setNumbering(NumberingOptions{true, false, false});
    nextNumber.reset(); // the issuer refused (and said why)
    button->click();
    EXPECT_EQ(written().number, "");
    nextNumber = "NF00043";
    button->click();
    EXPECT_EQ(written().number, "NF00043");
    button->click(); // a number is there: automatic numbering issues no second one
    EXPECT_EQ(issuedFor.size(), 2u);
    EXPECT_EQ(changed.count(), 1);

    page.setNumbering(NumberingOptions{false, false, false});
    MessageBox::setNextInput(QStringLiteral("  見積第百二十三号  "));
    button->click();
    EXPECT_EQ(MessageBox::takeShownTexts().last(), QStringLiteral("見積番号を入力してください"));
    EXPECT_EQ(written().number, "見積第百二十");
    MessageBox::setNextInput(std::nullopt);
    button->click();
    EXPECT_EQ(written().number, "見積第百二十");
    EXPECT_EQ(changed.count(), 2);
}

// In the side panel of a 1280 x 800 window (a page of about 252 x 730) the cover is seen whole:
// nothing scrolls, and no button or date box is narrower than its contents.
TEST_F(CoverPageTest, TheCoverIsSeenWholeInTheSidePanelOfA1280By800Window) {
    const QuotationHeader header = filledHeader();
    page.readCover(&header);
    page.resize(252, 730);
    page.show();
    QCoreApplication::processEvents();
    auto* scroll = control<QScrollArea>("coverPanel");
    EXPECT_LE(scroll->widget()->minimumSizeHint().width(), scroll->viewport()->width());
    EXPECT_LE(scroll->widget()->minimumSizeHint().height(), scroll->viewport()->height());
    for (const QPushButton* button : page.findChildren<QPushButton*>()) {
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    }
    for (const QSpinBox* box : page.findChildren<QSpinBox*>()) {
        EXPECT_GE(box->width(), box->minimumSizeHint().width()) << box->objectName().toStdString();
    }
}

TEST_F(CoverPageTest, GrandTotalsAreShownAboveTheCover) {
    TotalsPanel totals;
    totals.all.submitted = c("1234567");
    totals.allLabor = c("1000");
    page.showTotals(totals);
    EXPECT_EQ(control<QLabel>("grandTotal0")->text().toStdString(), "1,234,567");
    EXPECT_EQ(control<QLabel>("grandTotal4")->text().toStdString(), "1,000");
    page.showCostSplit(CostSplit{c("1000000"), c("200000"), c("33000"), c("-1500")});
    EXPECT_EQ(control<QLabel>("costSplit0")->text().toStdString(), "1,000,000");
    EXPECT_EQ(control<QLabel>("costSplit1")->text().toStdString(), "200,000");
    EXPECT_EQ(control<QLabel>("costSplit2")->text().toStdString(), "33,000");
    EXPECT_EQ(control<QLabel>("costSplit3")->text().toStdString(), "-1,500");

    const QuotationHeader header = filledHeader();
    page.readCover(&header);
    if (const char* folder = std::getenv("KERBINA_SCREENSHOT_DIR")) {
        page.resize(300, 760);
        page.grab().save(QString::fromUtf8(folder) + "/cover_page.png");
    }
}

} // namespace
} // namespace kerbina
