#include "base/conf_file.h"
#include "quotation_database_fixture.h"
#include "storage/quotation_rows.h"
#include "storage/ui/save_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <functional>

namespace kerbina {
namespace {

struct HeaderSource : QuotationSaveSource {
    QuotationHeader current;
    QuotationHeader header() override { return current; }
    void storeQuotationNumber(const std::string& number) override { current.number = number; }
    RenderedQuotation render() override { return {current, "[NUMBER]=" + current.number + "\r\n"}; }
};

class SaveDialogTest : public QuotationDatabaseTest {
protected:
    void SetUp() override {
        QuotationDatabaseTest::SetUp();
        std::filesystem::create_directories(folder() / "conf");
        source.current.storedYear = 38;
        source.current.month = 2;
        source.current.day = 31;
        source.current.addressee1 = "大和設備";
        source.current.addressee2 = "御中";
        source.current.siteName1 = "中央ビル";
        source.current.siteName2 = "改修";
        source.current.workName = "空調設備工事";
        source.current.deliveryDate = "別途協議";
        source.current.tradeTerms = "現金";
        source.current.author = "山田";
        source.current.requester = "佐藤";
        source.current.validity = "3ヶ月";
        source.current.opt1Str = "至急";
    }

    // Runs the dialog modally; `steps` run inside it, then a dialog still open is cancelled.
    std::string run(SaveDialog& dialog, NumberingMode mode, const std::function<void()>& steps) {
        SaveContext context{*quotations, *addresses, mode, source, prompt};
        QTimer::singleShot(0, &dialog, [&] {
            steps();
            stillOpen = dialog.isVisible();
            if (stillOpen) {
                dialog.cancelButton()->click();
            }
        });
        return dialog.run(context);
    }
    SqlRows stored() { return rowsOf("SELECT krbnumber,data FROM kerbina"); }

    HeaderSource source;
    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    bool stillOpen = false;
};

TEST_F(SaveDialogTest, ShowsTheQuotationReadOnlyUnderTheConfiguredCaptions) {
    SaveDialog dialog(folder(), QStringLiteral("物件名"), QString());
    source.current.number = "NF00042";
    EXPECT_EQ(run(dialog, {.automatic = true}, [] {}), "");
    const std::pair<const char*, const char*> shown[] = {
        {"見積番号", "NF00042"},
        {"日付", "令和8年2月31日"},
        {"宛先名称", "大和設備 御中"},
        {"現場名称", "中央ビル 改修"},
        {"工事名称", "空調設備工事"},
        {"納入期日", "別途協議"},
        {"取引条件", "現金"},
        {"見積作成者", "山田"},
        {"御依頼者", "佐藤"},
        {"見積有効期限", "3ヶ月"},
        {"タグ", "至急"},
    };
    for (const auto& [caption, text] : shown) {
        EXPECT_EQ(dialog.fieldText(QString::fromUtf8(caption)), QString::fromUtf8(text)) << caption;
    }
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels << label->text();
    }
    EXPECT_TRUE(labels.contains(QStringLiteral("物件名")));
    EXPECT_FALSE(labels.contains(QStringLiteral("現場名称")));
    EXPECT_TRUE(labels.contains(QStringLiteral("工事名称")));
    EXPECT_TRUE(labels.contains(QStringLiteral("データ保存ダイアログ")));
    EXPECT_TRUE(stored().empty());
    EXPECT_TRUE(std::filesystem::exists(windowPositionPath(folder(), "Save_Dlg")));
    if (const char* pictures = std::getenv("KERBINA_SCREENSHOT_DIR")) {
        dialog.grab().save(QString::fromUtf8(pictures) + QStringLiteral("/save_dialog.png"));
    }
}

TEST_F(SaveDialogTest, ANewNumberIsTakenOncePerShowingAndTheSaveCompletes) {
    SaveDialog dialog(folder(), {}, {});
    const std::string completion = run(dialog, {.automatic = true}, [&] {
        dialog.issueButton()->click();
        EXPECT_EQ(dialog.fieldText(QStringLiteral("見積番号")), QStringLiteral("NF00001"));
        EXPECT_FALSE(dialog.issueButton()->isEnabled());
        dialog.saveButton()->click();
    });
    EXPECT_EQ(completion, kSaveCompletionText);
    EXPECT_EQ(dialog.completionText(), kSaveCompletionText);
    EXPECT_FALSE(stillOpen);
    ASSERT_EQ(stored().size(), 1u);
    EXPECT_EQ(stored()[0].field(2), "[NUMBER]=NF00001\r\n");

    // The next showing offers a new number again.
    source.current.number.clear();
    run(dialog, {.automatic = true}, [&] { EXPECT_TRUE(dialog.issueButton()->isEnabled()); });
}

TEST_F(SaveDialogTest, NoToOverwritingKeepsTheDialogOpenAndTheRowAsItWas) {
    QuotationHeader other;
    other.number = "NF00042";
    ASSERT_EQ(writeQuotationRow(*quotations, other, "前の見積\r\n", RowWrite::InsertOnly,
                                std::chrono::system_clock::now(), prompt),
              RowWriteResult::Written);
    source.current.number = "NF00042";
    prompt.answers = {false};
    SaveDialog dialog(folder(), {}, {});
    EXPECT_EQ(run(dialog, {.automatic = true}, [&] { dialog.saveButton()->click(); }), "");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(prompt.shown,
              std::vector<std::string>{"NF00042\r\n" + std::string(kOverwriteQuestion)});
    EXPECT_EQ(stored()[0].field(2), "前の見積\r\n");
}

TEST_F(SaveDialogTest, AFailedSaveClosesWithoutCompletion) {
    source.current.number = "NF00042";
    ASSERT_TRUE(quotations->executeOrReport("DROP TABLE kerbina"));
    SaveDialog dialog(folder(), {}, {});
    EXPECT_EQ(run(dialog, {.automatic = true}, [&] { dialog.saveButton()->click(); }), "");
    EXPECT_FALSE(stillOpen);
    EXPECT_EQ(prompt.reports.size(), 1u);
}

TEST_F(SaveDialogTest, CancellingTheNumberEntryKeepsTheNumber) {
    source.current.number = "NF00042";
    prompt.texts = {std::nullopt, std::string("手入力-001")};
    SaveDialog dialog(folder(), {}, {});
    run(dialog, {.automatic = false}, [&] {
        dialog.enterButton()->click();
        EXPECT_EQ(dialog.fieldText(QStringLiteral("見積番号")), QStringLiteral("NF00042"));
        dialog.enterButton()->click();
        EXPECT_EQ(dialog.fieldText(QStringLiteral("見積番号")), QStringLiteral("手入力-001"));
    });
    EXPECT_EQ(source.current.number, "手入力-001");
}

TEST_F(SaveDialogTest, ACompanionProgramsCloseCancelsTheSave) {
    source.current.number = "NF00042";
    SaveDialog dialog(folder(), {}, {});
    EXPECT_EQ(run(dialog, {.automatic = true},
                  [&] {
                      dialog.restoreFromLink();
                      dialog.closeFromLink();
                  }),
              "");
    EXPECT_FALSE(stillOpen);
    EXPECT_TRUE(stored().empty());
}

} // namespace
} // namespace kerbina
