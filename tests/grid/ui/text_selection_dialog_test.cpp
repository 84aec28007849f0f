#include "grid/ui/text_selection_dialog.h"
#include "storage/schema.h"
#include "temp_folder.h"
#include "widgets/message_box.h"

#include <QComboBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

// The dialog over a quotation database of its own, holding one registered text of each group.
class TextSelectionDialogTest : public testing::Test {
protected:
    void SetUp() override {
        MessageBox::setScripted(true);
        std::filesystem::create_directories(root / "conf");
        ASSERT_TRUE(createDatabaseTables(database, databaseFileDef(DatabaseFile::Quotation)));
        ASSERT_TRUE(addRegisteredText(database, kCommentTextGroup, "夜間作業を含む", "2026/12/10"));
        ASSERT_TRUE(addRegisteredText(database, kItemNameTextGroup, "給水設備工事", "2026/12/10"));
    }
    void TearDown() override { MessageBox::takeShownTexts(); }

    // Runs `steps` once the modal dialog is showing, then closes it.
    static void whileShowing(TextSelectionDialog& dialog, const std::function<void()>& steps) {
        QTimer::singleShot(0, [&dialog, steps] {
            steps();
            dialog.reject();
        });
    }

    TempFolder folder;
    std::filesystem::path root = folder.path();
    QuietPrompt reporter;
    SqliteFileDatabase database{root / "kerbinaXe5.db3", reporter};
};

std::vector<std::string> names(const std::vector<RegisteredText>& texts) {
    std::vector<std::string> result;
    for (const RegisteredText& text : texts) {
        result.push_back(text.name);
    }
    return result;
}

// Item-name mode lists only the names, puts the chosen prefix in front, applies each reply at
// once and shows the item the next reply renames; new names go into the names' group.
TEST_F(TextSelectionDialogTest, ItemNameModeRepliesWithThePrefixedNameAndStaysOpen) {
    TextSelectionDialog dialog(database, root);
    std::vector<LineMessage> replies;
    int nextItem = 3;
    whileShowing(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("内訳名選択"));
        EXPECT_TRUE(dialog.prefixChoice()->isVisible());
        EXPECT_FALSE(dialog.quantityChoice()->isVisible());
        EXPECT_FALSE(dialog.unitChoice()->isVisible());
        EXPECT_FALSE(dialog.amountTextChoice()->isVisible());
        EXPECT_EQ(dialog.height(), 530);
        EXPECT_EQ(dialog.statusText(3), QStringLiteral("30"));
        EXPECT_EQ(dialog.statusText(4), QStringLiteral("WM_KEITO"));
        EXPECT_EQ(dialog.statusText(5), QStringLiteral("工事2"));
        EXPECT_EQ(dialog.prefixChoice()->currentText(), QString());

        MessageBox::setNextInput(QStringLiteral("排水設備工事"));
        dialog.addText();
        EXPECT_EQ(names(dialog.texts()),
                  (std::vector<std::string>{"給水設備工事", "排水設備工事"}));
        dialog.prefixChoice()->setCurrentIndex(dialog.prefixChoice()->findText("C."));
        dialog.selectRow(1);
        dialog.chooseSelected();
        EXPECT_EQ(dialog.statusText(5), QStringLiteral("工事3"));
        MessageBox::takeShownTexts();
        dialog.prefixChoice()->setEditText(QStringLiteral("D;")); // refused: the separator
        dialog.chooseSelected();
        EXPECT_EQ(MessageBox::takeShownTexts(),
                  QStringList{QStringLiteral("名称、仕様に\";\"は使用できません。")});
        dialog.prefixChoice()->setCurrentIndex(0);
        MessageBox::setNextInput(QStringLiteral("衛生器具設備工事"));
        dialog.findChild<QPushButton*>(QStringLiteral("ownTextButton"))->click();
        EXPECT_EQ(dialog.statusText(5), QStringLiteral("工事4"));
        // KERBINA_SCREENSHOT_DIR=folder keeps a picture of the dialog.
        if (const char* folder = std::getenv("KERBINA_SCREENSHOT_DIR")) {
            dialog.grab().save(QString::fromUtf8(folder) + QStringLiteral("/item_name_select.png"));
        }
    });
    dialog.selectItemName("工事2", [&](const LineMessage& reply) {
        replies.push_back(reply);
        return "工事" + std::to_string(nextItem++);
    });
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].messageName, "WM_KEITO");
    EXPECT_EQ(replies[0].name, "C.排水設備工事");
    EXPECT_EQ(replies[1].name, "衛生器具設備工事");
    EXPECT_EQ(names(registeredTexts(database, kCommentTextGroup)),
              std::vector<std::string>{"夜間作業を含む"});
}

// The dialog is made once and reused: after the names, comment mode shows the comments with its
// own fields and no prefix, and its replies are comment lines.
TEST_F(TextSelectionDialogTest, CommentModeAfterItemNameModeShowsTheCommentsAgain) {
    TextSelectionDialog dialog(database, root);
    whileShowing(dialog, [] {});
    dialog.selectItemName("工事1", [](const LineMessage&) { return std::string(); });

    std::vector<LineMessage> written;
    whileShowing(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("特記事項選択"));
        EXPECT_FALSE(dialog.prefixChoice()->isVisible());
        EXPECT_TRUE(dialog.quantityChoice()->isVisible());
        EXPECT_EQ(dialog.statusText(3), QStringLiteral("40"));
        EXPECT_EQ(dialog.statusText(4), QStringLiteral("WM_ITEMNOTE"));
        EXPECT_EQ(names(dialog.texts()), std::vector<std::string>{"夜間作業を含む"});
        dialog.selectRow(0);
        dialog.unitChoice()->setEditText(QStringLiteral("m;")); // refused: the separator
        dialog.chooseSelected();
        dialog.unitChoice()->setEditText(QStringLiteral("式"));
        dialog.chooseSelected();
    });
    dialog.selectComments([&](const LineMessage& message) { written.push_back(message); });
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].messageName, "WM_ITEMNOTE");
    EXPECT_EQ(written[0].name, "夜間作業を含む");
    EXPECT_EQ(written[0].kind, 15);
    EXPECT_EQ(written[0].unit, "式");
}

} // namespace
} // namespace kerbina
