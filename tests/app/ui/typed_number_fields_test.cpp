#include "widgets/typed_number_fields.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

// Text as an input method hands it over when a conversion is committed.
void commitTyped(QWidget& field, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(&field, &event);
}

// What an input method in full-width mode types reaches the field as the number it means.
TEST(TypedNumberFields, FullWidthDigitsTypedAreTheNumber) {
    QLineEdit rate;
    rate.setValidator(new TypedNumberValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}(\\.[0-9]{0,4})?")), &rate));
    commitTyped(rate, QStringLiteral("１０．５"));
    EXPECT_EQ(rate.text(), QStringLiteral("10.5"));
    commitTyped(rate, QStringLiteral("ａ"));
    EXPECT_EQ(rate.text(), QStringLiteral("10.5")); // what is no number is still refused

    TypedNumberSpinBox width;
    width.setRange(0, 999);
    width.selectAll();
    commitTyped(width, QStringLiteral("１２"));
    width.interpretText();
    EXPECT_EQ(width.value(), 12);
}

} // namespace
} // namespace kerbina
