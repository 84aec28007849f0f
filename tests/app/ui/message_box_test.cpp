#include "app/ui/message_box.h"

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
    MessageBox::setNextFileName(QStringLiteral("/tmp/a.krb2"));
    EXPECT_EQ(MessageBox::input(nullptr, "c", "p", true), QStringLiteral("secret"));
    EXPECT_EQ(MessageBox::saveFileName(nullptr, "c", "/tmp", "*.krb2", "krb2"),
              QStringLiteral("/tmp/a.krb2"));
}

} // namespace
} // namespace kerbina
