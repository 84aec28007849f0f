#include "widgets/japanese_translations.h"
#include "widgets/message_box.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

using Answer = MessageBox::Answer;
using Buttons = MessageBox::Buttons;

class MessageBoxTest : public testing::Test {
protected:
    void SetUp() override { MessageBox::setScripted(true); }
};

TEST_F(MessageBoxTest, ScriptedAnswersAreTakenInOrderAndTextsRecorded) {
    MessageBox::setNextAnswer(Answer::Yes);
    MessageBox::setNextAnswer(Answer::No);
    EXPECT_EQ(MessageBox::ask(nullptr, "一", Buttons::YesNoCancel), Answer::Yes);
    EXPECT_EQ(MessageBox::ask(nullptr, "二", Buttons::YesNo), Answer::No);
    EXPECT_EQ(MessageBox::takeShownTexts(), (QStringList{"一", "二"}));
    EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty());
}

TEST_F(MessageBoxTest, AnUnscriptedBoxCancelsInsteadOfBlocking) {
    EXPECT_EQ(MessageBox::ask(nullptr, "?", Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(MessageBox::ask(nullptr, "!", Buttons::Ok), Answer::Ok);
    EXPECT_EQ(MessageBox::input(nullptr, "caption", "prompt"), std::nullopt);
    EXPECT_TRUE(MessageBox::openFileName(nullptr, "caption", "/", "*").isEmpty());
}

TEST_F(MessageBoxTest, ScriptedInputsAndFileNames) {
    MessageBox::setNextInput(QStringLiteral("secret"));
    MessageBox::setNextFileName(QStringLiteral("/nonexistent/a.krb2"));
    EXPECT_EQ(MessageBox::input(nullptr, "c", "p", true), QStringLiteral("secret"));
    EXPECT_EQ(MessageBox::saveFileName(nullptr, "c", "/tmp", "*.krb2", "krb2"),
              QStringLiteral("/nonexistent/a.krb2"));
}

TEST_F(MessageBoxTest, SavingOntoAnExistingFileAsksInJapanese) {
    QTemporaryDir folder;
    const QString existing = folder.filePath(QStringLiteral("見積.krb2"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    MessageBox::setNextFileName(existing);
    MessageBox::setNextAnswer(Answer::No);
    EXPECT_TRUE(MessageBox::saveFileName(nullptr, "c", folder.path(), "*.krb2", "krb2").isEmpty());
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("「見積.krb2」は既に存在します。\n上書きしますか？")});
    MessageBox::setNextFileName(existing);
    MessageBox::setNextAnswer(Answer::Yes);
    EXPECT_EQ(MessageBox::saveFileName(nullptr, "c", folder.path(), "*.krb2", "krb2"), existing);
}

// Qt's own dialogs and buttons speak Japanese.
TEST(JapaneseTranslations, QtsOwnTextsAreJapanese) {
    ASSERT_TRUE(installJapaneseTranslations(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
              QStringLiteral("キャンセル"));
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
}

} // namespace
} // namespace kerbina
